#pragma once

#include "calls/callstore.h"
#include "options/settings.h"

#include <QSqlQueryModel>

#include <functional>

namespace quirlanto {

// The call list's rows, newest first, fetched from the file as the view scrolls.
class CallListModel : public QSqlQueryModel {
    Q_OBJECT
public:
    enum Column { Time, Name, Number, Kind, DeviceOrDuration, ColumnCount };

    // `settings` reads the numbers the search is given and shows the stored ones.
    CallListModel(CallStore &store, std::function<Settings()> settings, QObject *parent = nullptr);

    // Names (case and accents ignored) and numbers (as written anywhere, "0301…" finds "49301…").
    void setFilter(const QString &text);
    QString filter() const { return m_filter; }
    void reload();

    CallRecord record(int row) const;
    // Names a number stored without one, so a caller put into the register later is named too.
    void setNameLookup(std::function<QString(const QString &international)> lookup) { m_nameOf = std::move(lookup); }
    // The numbers whose register name contains the search text (folded as CallStore::searchFold
    // does), so the search finds the rows named only through the lookup.
    void setNamedNumbers(std::function<QStringList(const QString &folded)> numbers) { m_numbersNamed = std::move(numbers); }
    // The register changed: names shown from the lookup may have changed.
    void namesChanged();

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    int columnCount(const QModelIndex &parent = {}) const override;

    static QString kindText(CallRecord::Kind kind);
    static QString durationText(int seconds);

private:
    CallStore &m_store;
    std::function<Settings()> m_settings;
    std::function<QString(const QString &)> m_nameOf;
    std::function<QStringList(const QString &)> m_numbersNamed;
    QString m_filter;
};

} // namespace quirlanto
