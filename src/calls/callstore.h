#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

class QSqlDatabase;
class QSqlQuery;

namespace quirlanto {

inline constexpr auto kCallListFileName = "Anrufliste.db";

// One line of the call list.
struct CallRecord {
    enum class Kind { Dialed = 0, Answered = 1, Missed = 2 };
    qint64 id = 0; // given by the store
    QDateTime time;
    Kind kind = Kind::Dialed;
    QString number; // international form; empty for a withheld number
    QString name;   // from the register, empty when unknown
    QString device; // how it was dialed ("Modem", …); empty for an incoming call
    int seconds = 0;
};

// The call list in an SQLite file beside the register (mode 0600), opened at its first use so
// that start-up does not load the database driver. Every change is one transaction: a killed
// program loses at most the call being written. A file that cannot be used is set aside as
// "<file>.defekt-<stamp>" and a new list begun; problem() says so in German.
class CallStore : public QObject {
    Q_OBJECT
public:
    static constexpr int kKeptCalls = 10000;

    explicit CallStore(const QString &path, QObject *parent = nullptr);
    ~CallStore() override;

    QString path() const { return m_path; }
    // False when no list can be kept at all (the folder is not writable); problem() was emitted.
    bool open();
    bool isOpen() const;
    QSqlDatabase database() const;

    // The oldest calls beyond kKeptCalls go with the new one.
    bool add(const CallRecord &record);
    bool remove(qint64 id);
    bool clear();
    // Newest first, at most `limit`.
    QList<CallRecord> latest(int limit);

    // The text the list's search looks at for a name: case and accents folded away.
    static QString searchFold(const QString &name);

signals:
    void problem(const QString &message);
    // Rows were added or removed.
    void changed();

private:
    bool openFile(QString *why);
    void closeFile();
    QString setAside();
    bool write(const std::function<bool()> &work);
    bool exec(QSqlQuery &query);

    QString m_path;
    QString m_connection;
    bool m_opened = false;
    bool m_unusable = false;
    QString m_queryError;
};

} // namespace quirlanto
