#include "calls/callstore.h"

#include "register/nameorder.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace quirlanto {

namespace {

constexpr auto kPrivate = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

bool run(QSqlQuery &query, const QString &sql, QString *why)
{
    if (query.exec(sql))
        return true;
    *why = query.lastError().text();
    return false;
}

// SQLite keeps a changed file's newest pages beside it until they are written back.
const char *const kCompanions[] = {"-wal", "-shm"};

} // namespace

CallStore::CallStore(const QString &path, QObject *parent)
    : QObject(parent)
    , m_path(path)
    , m_connection(QStringLiteral("calls-%1").arg(quintptr(this), 0, 16))
{}

CallStore::~CallStore()
{
    closeFile();
}

QString CallStore::searchFold(const QString &name)
{
    return withoutCaseAndAccents(name).replace(u'ß', QStringLiteral("ss"));
}

bool CallStore::isOpen() const
{
    return m_opened;
}

QSqlDatabase CallStore::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

bool CallStore::openFile(QString *why)
{
    // Before SQLite makes the file, so that it is never readable by others; its companion
    // files take the file's mode.
    QFile file(m_path);
    if (!file.exists()) {
        if (!file.open(QIODevice::WriteOnly)) {
            *why = file.errorString();
            return false;
        }
        file.close();
    }
    file.setPermissions(kPrivate);

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_path);
    // Another program holding the file gets a moment, not the window.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=200"));
    if (!db.open()) {
        *why = db.lastError().text();
        return false;
    }
    QSqlQuery query(db);
    if (!run(query, QStringLiteral("PRAGMA quick_check"), why))
        return false;
    if (!query.next() || query.value(0).toString() != QLatin1String("ok")) {
        *why = query.value(0).toString();
        return false;
    }
    query.finish();
    return run(query, QStringLiteral("PRAGMA journal_mode=WAL"), why)
           && run(query, QStringLiteral("PRAGMA synchronous=NORMAL"), why)
           && run(query,
                  QStringLiteral("CREATE TABLE IF NOT EXISTS calls (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                                 "time INTEGER NOT NULL, kind INTEGER NOT NULL, number TEXT NOT NULL, "
                                 "name TEXT NOT NULL, device TEXT NOT NULL, seconds INTEGER NOT NULL, "
                                 "fold TEXT NOT NULL)"),
                  why)
           // The list is shown by time; files from before lack the index and get it here.
           && run(query, QStringLiteral("CREATE INDEX IF NOT EXISTS calls_by_time ON calls (time)"), why)
           && run(query,
                  QStringLiteral("SELECT id, time, kind, number, name, device, seconds, fold FROM calls LIMIT 0"), why);
}

void CallStore::closeFile()
{
    if (!QSqlDatabase::contains(m_connection))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_opened = false;
}

QString CallStore::setAside()
{
    closeFile();
    const QString aside =
        m_path + QStringLiteral(".defekt-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!QFile::rename(m_path, aside)) {
        QFile::remove(m_path);
        return {};
    }
    for (const char *companion : kCompanions)
        if (QFile::exists(m_path + QLatin1String(companion)))
            QFile::rename(m_path + QLatin1String(companion), aside + QLatin1String(companion));
    return aside;
}

bool CallStore::open()
{
    if (m_opened || m_unusable)
        return m_opened;
    QString why;
    if (openFile(&why)) {
        m_opened = true;
        return true;
    }
    const QString aside = QFile::exists(m_path) ? setAside() : QString();
    closeFile();
    QString again;
    m_opened = openFile(&again);
    if (!m_opened) {
        closeFile();
        m_unusable = true;
        emit problem(QStringLiteral("Die Anrufliste „%1“ kann nicht geführt werden:\n%2").arg(m_path, again));
        return false;
    }
    emit problem(aside.isEmpty()
                     ? QStringLiteral("Die Anrufliste „%1“ war beschädigt oder gesperrt (%2). "
                                      "Eine neue, leere Anrufliste wurde angelegt.")
                           .arg(m_path, why)
                     : QStringLiteral("Die Anrufliste „%1“ war beschädigt oder gesperrt (%2). Sie wurde als „%3“ "
                                      "aufbewahrt; eine neue, leere Anrufliste wurde angelegt.")
                           .arg(m_path, why, aside));
    emit changed();
    return true;
}

bool CallStore::write(const std::function<bool()> &work)
{
    if (!open())
        return false;
    QSqlDatabase db = database();
    m_queryError.clear();
    if (db.transaction() && work() && db.commit()) {
        emit changed();
        return true;
    }
    const QString why = m_queryError.isEmpty() ? db.lastError().text() : m_queryError;
    db.rollback();
    emit problem(QStringLiteral("Die Anrufliste „%1“ konnte nicht geschrieben werden:\n%2").arg(m_path, why));
    return false;
}

bool CallStore::exec(QSqlQuery &query)
{
    if (query.exec())
        return true;
    m_queryError = query.lastError().text();
    return false;
}

bool CallStore::add(const CallRecord &record)
{
    return write([&] {
        QSqlQuery query(database());
        query.prepare(QStringLiteral("INSERT INTO calls (time, kind, number, name, device, seconds, fold) "
                                     "VALUES (?, ?, ?, ?, ?, ?, ?)"));
        query.addBindValue(record.time.toMSecsSinceEpoch());
        query.addBindValue(int(record.kind));
        // A null text would be bound as NULL.
        const auto text = [](const QString &s) { return s.isNull() ? QStringLiteral("") : s; };
        query.addBindValue(text(record.number));
        query.addBindValue(text(record.name));
        query.addBindValue(text(record.device));
        query.addBindValue(record.seconds);
        query.addBindValue(text(searchFold(record.name)));
        if (!exec(query))
            return false;
        QSqlQuery trim(database());
        trim.prepare(QStringLiteral("DELETE FROM calls WHERE id <= (SELECT id FROM calls ORDER BY id DESC "
                                    "LIMIT 1 OFFSET ?)"));
        trim.addBindValue(kKeptCalls);
        return exec(trim);
    });
}

bool CallStore::remove(qint64 id)
{
    return write([&] {
        QSqlQuery query(database());
        query.prepare(QStringLiteral("DELETE FROM calls WHERE id = ?"));
        query.addBindValue(id);
        return exec(query);
    });
}

bool CallStore::clear()
{
    return write([&] {
        QSqlQuery query(database());
        query.prepare(QStringLiteral("DELETE FROM calls"));
        return exec(query);
    });
}

QList<CallRecord> CallStore::latest(int limit)
{
    QList<CallRecord> records;
    if (!open())
        return records;
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT id, time, kind, number, name, device, seconds FROM calls "
                                 "ORDER BY id DESC LIMIT ?"));
    query.addBindValue(limit);
    if (!query.exec())
        return records;
    while (query.next())
        records.append({query.value(0).toLongLong(), QDateTime::fromMSecsSinceEpoch(query.value(1).toLongLong()),
                        CallRecord::Kind(query.value(2).toInt()), query.value(3).toString(), query.value(4).toString(),
                        query.value(5).toString(), query.value(6).toInt()});
    return records;
}

} // namespace quirlanto
