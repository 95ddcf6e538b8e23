#include "dial/modemdial.h"

#include "dial/modemlink.h"

namespace quirlanto {

ModemDial::ModemDial(ModemLink &modem, QObject *parent)
    : DialBackend(parent)
    , m_modem(modem)
{
    connect(&m_modem, &ModemLink::answeredOk, this, [this] { end({}); });
    connect(&m_modem, &ModemLink::resultWordReceived, this, [this](const QString &word) {
        if (m_running)
            emit progress(word);
    });
    connect(&m_modem, &ModemLink::deviceLost, this, [this] {
        end(DialResult::failed(QStringLiteral("Die Verbindung zum Modem an COM%1 wurde unterbrochen.").arg(m_comPort),
                               true));
    });
}

void ModemDial::start(const DialRequest &request)
{
    m_comPort = request.comPort;
    m_running = true;
    if (!m_modem.dial(request.commandLine, request.comPort)) {
        QString text = QStringLiteral("Der angegebene Anschluß COM%1 ist nicht verfügbar.").arg(request.comPort);
        if (!m_modem.failure().isEmpty())
            text += QStringLiteral("\n\n") + m_modem.failure();
        end(DialResult::failed(text, false, true));
    }
}

void ModemDial::cancel()
{
    m_modem.abort();
    end(DialResult::cancelled());
}

void ModemDial::end(const DialResult &result)
{
    if (!std::exchange(m_running, false))
        return;
    emit finished(result);
}

} // namespace quirlanto
