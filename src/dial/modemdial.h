#pragma once

#include "dial/dialbackend.h"

namespace quirlanto {

class ModemLink;

// Dials through the modem: the window "Anwahl" stays until the modem answers "OK".
class ModemDial final : public DialBackend {
    Q_OBJECT
public:
    explicit ModemDial(ModemLink &modem, QObject *parent = nullptr);
    void start(const DialRequest &request) override;
    void cancel() override;
    bool showsProgress() const override { return true; }

private:
    void end(const DialResult &result);

    ModemLink &m_modem;
    int m_comPort = 0;
    bool m_running = false;
};

} // namespace quirlanto
