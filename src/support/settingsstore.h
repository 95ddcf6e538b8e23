#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

namespace quirlanto {

inline constexpr auto kSettingsOrganisation = "MOLTARA Software";
inline constexpr auto kSettingsApplication = "Quirlanto";

// The per-user settings store (window position, port devices).
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QVariant value(const QString &key, const QVariant &fallback = {}) const = 0;
    virtual void setValue(const QString &key, const QVariant &value) = 0;
    virtual void remove(const QString &key) = 0;
};

// $XDG_CONFIG_HOME/MOLTARA Software/Quirlanto.conf
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore()
        : m_settings(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(kSettingsOrganisation),
                     QString::fromLatin1(kSettingsApplication))
    {}
    // What another program (or the user's editor) changed in the file counts at once.
    QVariant value(const QString &key, const QVariant &fallback) const override
    {
        m_settings.sync();
        return m_settings.value(key, fallback);
    }
    void setValue(const QString &key, const QVariant &value) override
    {
        m_settings.setValue(key, value);
        m_settings.sync();
    }
    void remove(const QString &key) override
    {
        m_settings.remove(key);
        m_settings.sync();
    }

private:
    mutable QSettings m_settings;
};

} // namespace quirlanto
