#include "hayessimulator.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

const QByteArray &syncMarker()
{
    static const QByteArray marker("\x02sync\x03");
    return marker;
}

} // namespace

HayesSimulator::HayesSimulator(Behaviour behaviour, QObject *parent)
    : QObject(parent)
    , m_behaviour(behaviour)
{
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    // Raw from the start, so no line discipline echoes or translates before the port is opened.
    termios raw{};
    tcgetattr(m_slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_slave, TCSANOW, &raw);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_path = QString::fromLocal8Bit(name);
    // The simulator keeps its own slave descriptor open: otherwise the master reports a hang-up
    // every time the program closes the port.
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &HayesSimulator::readFromProgram);
}

HayesSimulator::~HayesSimulator()
{
    disappear();
}

void HayesSimulator::send(const QByteArray &bytes)
{
    if (m_master >= 0 && !bytes.isEmpty())
        (void)::write(m_master, bytes.constData(), size_t(bytes.size()));
}

bool HayesSimulator::sync(int timeoutMs)
{
    QCoreApplication::processEvents(); // let writes the program still holds go out first
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    m_synced = false;
    const bool written = ::write(fd, syncMarker().constData(), size_t(syncMarker().size())) == syncMarker().size();
    ::close(fd);
    QDeadlineTimer deadline(timeoutMs);
    while (written && !m_synced && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return m_synced;
}

void HayesSimulator::disappear()
{
    if (m_notifier) {
        m_notifier->setEnabled(false);
        delete m_notifier;
        m_notifier = nullptr;
    }
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_master = m_slave = -1;
}

void HayesSimulator::readFromProgram()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        QByteArray chunk(buffer, qsizetype(n));
        if (chunk.contains(syncMarker())) {
            chunk.replace(syncMarker(), QByteArray());
            m_synced = true;
        }
        m_received += chunk;
        if (m_behaviour != Silent)
            send(chunk); // echo
    }
    emit bytesReceived();

    // Answer each complete dial line once.
    for (;;) {
        const qsizetype end = m_received.indexOf(";H\r", m_scanned);
        if (end < 0)
            break;
        m_scanned = end + 3;
        answerDialLine();
    }
}

void HayesSimulator::answerDialLine()
{
    switch (m_behaviour) {
    case EchoThenOk:
        send("\r\nOK\r\n");
        break;
    case OkInTwoReads:
        send("\r\nO");
        QTimer::singleShot(50, this, [this] { send("K\r\n"); });
        break;
    case LowerCaseOk:
        send("\r\nok\r\n");
        break;
    case ErrorAnswer:
        send("\r\nERROR\r\n");
        break;
    case Busy:
        send("\r\nBUSY\r\n");
        break;
    case Silent:
        break;
    }
}
