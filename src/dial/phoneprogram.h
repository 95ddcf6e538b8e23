#pragma once

#include "dial/dialbackend.h"
#include "support/desktopopen.h"

#include <QPointer>

namespace quirlanto {

// The installed programs that take tel: links (a softphone, a paired mobile phone), this one
// left out. Reads the launcher folders: call when the list is needed, not at start-up.
QList<DesktopLauncher> installedPhonePrograms();

// Dials through the phone program the user chose: its launcher's command is started with
// "tel:+<number>", without a shell. The phone program dials from its own line: no outside line,
// prefixes or provider. The dial ends once the number is handed over.
class PhoneProgramDial final : public DialBackend {
    Q_OBJECT
public:
    explicit PhoneProgramDial(int handOverMs = kDesktopHandOverMs, QObject *parent = nullptr);
    void start(const DialRequest &request) override;
    void cancel() override;

private:
    void end(const DialResult &result);

    int m_handOverMs;
    quint64 m_dial = 0; // tells a late answer of an ended dial from the current one
    bool m_running = false;
};

} // namespace quirlanto
