#include "calls/calllistmodel.h"

#include "numbers/internationalform.h"
#include "numbers/numberdisplay.h"
#include "numbers/writtennumber.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlQuery>
#include <QSqlRecord>

namespace quirlanto {

namespace {

// The query's columns.
enum Field { FId, FTime, FKind, FNumber, FName, FDevice, FSeconds };

QString likeEscaped(QString text)
{
    return text.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'%', QStringLiteral("\\%"))
        .replace(u'_', QStringLiteral("\\_"));
}

} // namespace

CallListModel::CallListModel(CallStore &store, std::function<Settings()> settings, QObject *parent)
    : QSqlQueryModel(parent)
    , m_store(store)
    , m_settings(std::move(settings))
{
    connect(&store, &CallStore::changed, this, &CallListModel::reload);
}

void CallListModel::setFilter(const QString &text)
{
    m_filter = text.trimmed();
    reload();
}

void CallListModel::reload()
{
    if (!m_store.open()) {
        clear();
        return;
    }
    QSqlQuery query(m_store.database());
    const QString select = QStringLiteral("SELECT id, time, kind, number, name, device, seconds FROM calls ");
    // By the time shown: a call from the router carries the router's clock.
    const QString order = QStringLiteral(" ORDER BY time DESC, id DESC");
    if (m_filter.isEmpty()) {
        query.prepare(select + order);
    } else {
        const QString digits = filterDialChars(m_filter).remove(u',').remove(u'!');
        const QString written = digits.isEmpty() ? QString() : internationalFromCaller(m_filter, m_settings());
        const QString folded = CallStore::searchFold(m_filter);
        const QStringList named = m_numbersNamed ? m_numbersNamed(folded) : QStringList();
        query.prepare(select
                      + QStringLiteral("WHERE fold LIKE ? ESCAPE '\\' OR (? <> '' AND (number LIKE ? OR number LIKE ?)) "
                                       "OR (name = '' AND number IN (SELECT value FROM json_each(?)))")
                      + order);
        query.addBindValue(u'%' + likeEscaped(folded) + u'%');
        query.addBindValue(digits);
        query.addBindValue(u'%' + digits + u'%');
        query.addBindValue(written + u'%');
        // One parameter however many names match: the register may hold more than SQLite's limit.
        query.addBindValue(QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(named)).toJson(QJsonDocument::Compact)));
    }
    query.exec();
    setQuery(std::move(query));
}

int CallListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

CallRecord CallListModel::record(int row) const
{
    const QSqlRecord r = QSqlQueryModel::record(row);
    CallRecord call{r.value(FId).toLongLong(),
                    QDateTime::fromMSecsSinceEpoch(r.value(FTime).toLongLong()),
                    CallRecord::Kind(r.value(FKind).toInt()),
                    r.value(FNumber).toString(),
                    r.value(FName).toString(),
                    r.value(FDevice).toString(),
                    r.value(FSeconds).toInt()};
    if (call.name.isEmpty() && !call.number.isEmpty() && m_nameOf)
        call.name = m_nameOf(call.number);
    return call;
}

void CallListModel::namesChanged()
{
    if (!m_filter.isEmpty())
        return reload(); // the names the search finds have changed too
    if (rowCount() > 0)
        emit dataChanged(index(0, Name), index(rowCount() - 1, Name), {Qt::DisplayRole});
}

QString CallListModel::kindText(CallRecord::Kind kind)
{
    switch (kind) {
    case CallRecord::Kind::Dialed:
        return QStringLiteral("Gewählt");
    case CallRecord::Kind::Answered:
        return QStringLiteral("Angenommen");
    case CallRecord::Kind::Missed:
        return QStringLiteral("Verpasst");
    }
    return {};
}

QString CallListModel::durationText(int seconds)
{
    return QStringLiteral("%1:%2 min").arg(seconds / 60).arg(seconds % 60, 2, 10, QChar(u'0'));
}

QVariant CallListModel::data(const QModelIndex &index, int role) const
{
    // record() reads the fields through here in the edit role.
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QSqlQueryModel::data(index, role);
    if (!index.isValid())
        return {};
    const auto field = [&](int f) { return QSqlQueryModel::data(createIndex(index.row(), f), Qt::EditRole); };
    const auto kind = CallRecord::Kind(field(FKind).toInt());
    switch (index.column()) {
    case Time:
        return QDateTime::fromMSecsSinceEpoch(field(FTime).toLongLong()).toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    case Name: {
        const QString name = field(FName).toString();
        const QString number = field(FNumber).toString();
        return name.isEmpty() && !number.isEmpty() && m_nameOf ? m_nameOf(number) : name;
    }
    case Number: {
        const QString number = field(FNumber).toString();
        return number.isEmpty() ? QStringLiteral("unterdrückt") : readableNumber(number, m_settings());
    }
    case Kind:
        return kindText(kind);
    case DeviceOrDuration:
        if (kind == CallRecord::Kind::Dialed)
            return field(FDevice);
        return kind == CallRecord::Kind::Answered ? durationText(field(FSeconds).toInt()) : QString();
    }
    return {};
}

QVariant CallListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const kCaptions[] = {"Zeit", "Name", "Nummer", "Art", "Gerät / Dauer"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(kCaptions[section]) : QVariant();
}

} // namespace quirlanto
