#pragma once

#include "dial/dialbackend.h"
#include "support/desktopopen.h"

#include <QPointer>

namespace quirlanto {

// Dials through the desktop's tel: handler (a softphone, a paired mobile phone): "tel:+<number>"
// goes to xdg-open. The phone program dials from its own line: no outside line, prefixes or
// provider. The dial ends once the number is handed over.
class PhoneProgramDial final : public DialBackend {
    Q_OBJECT
public:
    explicit PhoneProgramDial(int handOverMs = kDesktopHandOverMs, QObject *parent = nullptr);
    void start(const DialRequest &request) override;
    void cancel() override;

private:
    void handOver(const QString &handler);
    void end(const DialResult &result);

    int m_handOverMs;
    QString m_digits;
    quint64 m_dial = 0; // tells a late answer of an ended dial from the current one
    bool m_running = false;
};

} // namespace quirlanto
