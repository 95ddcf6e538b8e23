// Dialing figures: the loudspeaker dial's wall time against the length of its tone files, and the
// time from a dial request to the first byte of the command line on the (pseudo-)serial line.
// Starts its own sound server with a null sink (pulseaudio must be installed) for the first.

#include "benchsupport.h"
#include "dial/clipboardsource.h"
#include "dial/dialer.h"
#include "dial/modemcommand.h"
#include "dial/modemdial.h"
#include "dial/modemlink.h"
#include "dial/toneplayer.h"
#include "dialfixture.h"
#include "fakeclipboardsource.h"
#include "fixedclock.h"
#include "memorysettingsstore.h"
#include "providers/providertable.h"
#include "register/phoneentry.h"
#include "support/clock.h"
#include "support/messagebox.h"
#include "support/programdirectory.h"
#include "support/settingsstore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace quirlanto;
using SteadyClock = std::chrono::steady_clock;

namespace {

// A modem on a pseudo-terminal read by its own thread, so the arrival time of the first byte
// does not depend on the GUI thread's event loop.
class ThreadedModem {
public:
    ThreadedModem()
    {
        char name[256] = {};
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
            return;
        termios raw{};
        tcgetattr(m_slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(m_slave, TCSANOW, &raw);
        path = QString::fromLocal8Bit(name);
        m_thread = std::thread([this] { run(); });
    }
    ~ThreadedModem()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_slave);
        ::close(m_master);
    }
    void arm()
    {
        m_firstByte = SteadyClock::time_point();
        m_armed = true;
    }
    SteadyClock::time_point firstByte() const { return m_firstByte; }

    QString path;

private:
    void run()
    {
        std::string line;
        while (!m_stop) {
            pollfd p{m_master, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0)
                continue;
            char buf[512];
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n <= 0)
                continue;
            if (m_armed) {
                m_firstByte = SteadyClock::now();
                m_armed = false;
            }
            line.append(buf, size_t(n));
            if (line.find(";H\r") != std::string::npos) {
                line.clear();
                (void)::write(m_master, "\r\nOK\r\n", 6);
            }
        }
    }
    int m_master = -1;
    int m_slave = -1;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_armed{false};
    SteadyClock::time_point m_firstByte;
};

void benchFirstByte()
{
    ThreadedModem modem;
    if (modem.path.isEmpty()) {
        std::printf("first byte: no pseudo-terminal available\n");
        return;
    }
    MemorySettingsStore ports;
    ports.setValue(QStringLiteral("Ports/COM1"), modem.path);
    test::DialDocument doc;
    test::FakeDialView view;
    view.selected = PhoneEntry{QStringLiteral("Bench"), QStringLiteral("4930123456789"), true};
    FakeClipboardSource clipboard;
    ModemLink link(ports);
    ModemDial modemDial(link);
    SystemClock clock;
    Dialer dialer(doc.book, view, clipboard, clock);
    dialer.setBackend(DialDevice::Modem, &modemDial);
    QEventLoop ended;
    QObject::connect(&dialer, &Dialer::dialEnded, &ended, &QEventLoop::quit);

    std::vector<double> ms;
    for (int run = 0; run < 25; ++run) {
        modem.arm();
        const auto requested = SteadyClock::now();
        dialer.dial(DialMode::SelectedEntry);
        if (dialer.isDialing())
            ended.exec(); // until the simulated modem has answered OK
        const auto first = modem.firstByte();
        if (first == SteadyClock::time_point()) {
            std::printf("first byte: run %d sent nothing\n", run);
            return;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(first - requested).count());
    }
    std::printf("dial request -> first byte on the line: median %.2f ms, max %.2f ms over %zu dials (goal <= 20 ms)\n",
                quirlanto::bench::median(ms), *std::max_element(ms.begin(), ms.end()), ms.size());
}

void benchLoudspeaker(const QString &programDir)
{
    const QString server = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    const QString recorder = QStandardPaths::findExecutable(QStringLiteral("parec"));
    if (server.isEmpty() || recorder.isEmpty()) {
        std::printf("loudspeaker: pulseaudio/parec not installed, skipped\n");
        return;
    }
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Before the audio engine starts: it reads these once.
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    qputenv("HOME", runtime.path().toLocal8Bit());
    qunsetenv("PULSE_SERVER");
    QProcess pulse;
    pulse.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    pulse.start(server, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                         QStringLiteral("--use-pid-file=no"), QStringLiteral("--log-level=error"),
                         QStringLiteral("--load=module-null-sink sink_name=quirlanto_bench"),
                         QStringLiteral("--load=module-native-protocol-unix")});
    for (int i = 0; i < 500 && !QFile::exists(runtime.filePath(QStringLiteral("pulse/native"))); ++i)
        QThread::msleep(20);
    // A listener with a short latency keeps the null sink at the latency a sound card would have.
    QProcess rec;
    rec.setStandardOutputFile(QProcess::nullDevice());
    rec.start(recorder, {QStringLiteral("-d"), QStringLiteral("quirlanto_bench.monitor"),
                         QStringLiteral("--latency-msec=20"), QStringLiteral("--raw")});
    rec.waitForStarted();
    QThread::msleep(2500);

    const QString line = QStringLiteral("ATDT089123456789;H\r"); // 12 digits
    qint64 filesUs = 0;
    for (const QString &tone : tonePlan(line)) {
        if (auto clip = readWavFile(toneFilePath(programDir, tone)))
            filesUs += clip->durationUs();
    }
    QtToneOutput output(programDir);
    std::vector<double> ratios;
    QEventLoop played;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        output.play(toneFiles(line, programDir), [&](const QString &) { played.quit(); });
        played.exec();
        ratios.push_back(double(timer.nsecsElapsed() / 1000) / double(filesUs));
    }
    // "Abbruch" halfway through: how long until the sound is stopped.
    std::vector<double> stopMs;
    for (int run = 0; run < 5; ++run) {
        output.play(toneFiles(line, programDir), [](const QString &) {});
        QTimer::singleShot(1000, &played, &QEventLoop::quit);
        played.exec();
        QElapsedTimer timer;
        timer.start();
        output.stop();
        stopMs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("loudspeaker stopped mid-dial: median %.2f ms, max %.2f ms (goal <= 250 ms)\n",
                quirlanto::bench::median(stopMs), *std::max_element(stopMs.begin(), stopMs.end()));
    std::printf("loudspeaker dial of 12 digits: files %.3f s, wall/files median %.3f, max %.3f over %zu dials "
                "(goal <= 1.05)\n",
                double(filesUs) / 1e6, quirlanto::bench::median(ratios),
                *std::max_element(ratios.begin(), ratios.end()), ratios.size());
    rec.terminate();
    rec.waitForFinished(3000);
    pulse.terminate();
    pulse.waitForFinished(3000);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MessageBoxes::setAutoAnswer(true);
    const QString programDir = withTrailingSlash(QStringLiteral(QUIRLANTO_PROGRAM_DIR));

    benchFirstByte();
    benchLoudspeaker(programDir);
    std::fflush(stdout);
    // The audio engine's teardown at exit can trip over its own assertions; the figures are out.
    std::_Exit(0);
}
