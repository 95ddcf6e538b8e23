#include "dial/tonedial.h"

#include "dial/toneplayer.h"

namespace quirlanto {

ToneDial::ToneDial(ToneOutput &output, QString toneDirectory, QObject *parent)
    : DialBackend(parent)
    , m_output(output)
    , m_toneDirectory(std::move(toneDirectory))
{}

void ToneDial::start(const DialRequest &request)
{
    const quint64 dial = ++m_dial;
    m_output.play(toneFiles(request.commandLine, m_toneDirectory), [this, dial](const QString &problem) {
        if (dial != m_dial)
            return;
        ++m_dial;
        if (problem.isEmpty())
            emit finished({});
        else
            emit finished(
                DialResult::failed(QStringLiteral("Die Wähltöne können nicht abgespielt werden.\n\n") + problem, true));
    });
}

void ToneDial::cancel()
{
    ++m_dial;
    m_output.stop();
    emit finished(DialResult::cancelled());
}

} // namespace quirlanto
