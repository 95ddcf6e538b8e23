#pragma once

#include "support/desktopopen.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace quirlanto {

class SettingsStore;

// The desktop's tel: handler (a softphone, a paired mobile phone) as a way to dial. The choice is
// kept in the per-user settings, so the register file keeps "Modem" or "Lautsprecher" for others.
class DesktopPhone {
public:
    explicit DesktopPhone(SettingsStore &store, int handOverMs = kDesktopHandOverMs);

    bool isChosen() const;
    void setChosen(bool chosen);

    // Hands "tel:+<number>" to xdg-open without waiting for the phone program. Returns a German
    // reason when nothing was handed over, else empty; `failed` gets the reason when the phone
    // program refuses the number afterwards.
    QString dial(const QString &internationalNumber, std::function<void(const QString &)> failed) const;

    // Launcher names under which the desktop knows this program.
    static QStringList ownLauncherIds();

private:
    SettingsStore &m_store;
    int m_handOverMs;
};

} // namespace quirlanto
