// Settings kept in memory only, readable as a whole.
#pragma once

#include "support/settingsstore.h"

#include <QHash>

namespace quirlanto {

class MemorySettingsStore final : public SettingsStore {
public:
    QVariant value(const QString &key, const QVariant &fallback) const override
    {
        return m_values.value(key, fallback);
    }
    void setValue(const QString &key, const QVariant &value) override { m_values.insert(key, value); }
    void remove(const QString &key) override { m_values.remove(key); }
    const QHash<QString, QVariant> &values() const { return m_values; }

private:
    QHash<QString, QVariant> m_values;
};

} // namespace quirlanto
