#pragma once

#include <QString>
#include <QStringList>

namespace quirlanto {

class SettingsStore;

// The desktop's tel: handler (a softphone, a paired mobile phone) as a way to dial. The choice is
// kept in the per-user settings, so the register file keeps "Modem" or "Lautsprecher" for others.
class DesktopPhone {
public:
    explicit DesktopPhone(SettingsStore &store);

    bool isChosen() const;
    void setChosen(bool chosen);

    // Hands "tel:+<number>" to xdg-open; a German reason when nothing was dialed, else empty.
    QString dial(const QString &internationalNumber) const;

    // Launcher names under which the desktop knows this program.
    static QStringList ownLauncherIds();

private:
    SettingsStore &m_store;
};

} // namespace quirlanto
