// Time from process start to the first painted main window, and peak memory, for an empty
// register and for 10,000 entries, against a bare Qt widgets program as the floor. "settled" is
// when the work queued behind the first paint (tray icon, window icon) has run as well.
// Usage: bench_startup [runs]   (uses $DISPLAY when set, the offscreen platform otherwise)
#include <QByteArray>
#include <QCollator>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Sample {
    double ms = 0;
    double settledMs = 0;
    long peakKb = 0;
};

// The program keeps each card in name order and writes it so; `nameOrder` false gives a file
// from elsewhere (or from before), which is sorted at every start until the first change.
QByteArray registerFile(int entries, bool nameOrder)
{
    QByteArray bytes = "[QUIRLANTO VERSION 4]\r\n0,1,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n"
                       "\"B\xfcro 1\",\"B\xfcro 2\",\"Privat 1\",\"Privat 2\"\r\n";
    QList<std::pair<int, QByteArray>> lines;
    for (int i = 0; i < entries; ++i) {
        // Most entries on card 1, the one shown at start.
        const int card = i % 10 < 7 ? 1 : 2 + i % 3;
        lines.append({card, QByteArray::number(card) + ",\"Teilnehmer " + QByteArray::number(i) + ", Vorname\",\"4989"
                                + QByteArray::number(1000000 + i) + "\"," + QByteArray::number(i % 2) + "\r\n"});
    }
    if (nameOrder) {
        // Lines of one card differ first in the name, and no name is the start of another.
        QCollator collator(QLocale(QLocale::German, QLocale::Germany));
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::stable_sort(lines.begin(), lines.end(), [&](const auto &a, const auto &b) {
            return a.first != b.first
                       ? a.first < b.first
                       : collator.compare(QString::fromLatin1(a.second), QString::fromLatin1(b.second)) < 0;
        });
    }
    for (const auto &line : std::as_const(lines))
        bytes += line.second;
    return bytes;
}

// Runs the program until it prints "shown" and "settled"; returns the elapsed times and its
// peak resident size.
Sample runOnce(const QByteArray &program, const QList<QByteArray> &environment)
{
    int out[2];
    if (pipe(out) != 0) {
        std::perror("pipe");
        std::exit(2);
    }
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        std::vector<char *> env;
        for (const QByteArray &e : environment)
            env.push_back(const_cast<char *>(e.constData()));
        env.push_back(nullptr);
        char *argv[] = {const_cast<char *>(program.constData()), nullptr};
        if (!std::getenv("BENCH_SHOW_MESSAGES"))
            freopen("/dev/null", "w", stderr);
        execve(program.constData(), argv, env.data());
        _exit(127);
    }
    close(out[1]);
    Sample sample;
    QByteArray seen;
    char buffer[256];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0) {
        seen.append(buffer, n);
        if (sample.ms == 0 && seen.contains("shown\n"))
            sample.ms = timer.nsecsElapsed() / 1e6;
        if (seen.contains("settled\n")) {
            sample.settledMs = timer.nsecsElapsed() / 1e6;
            break;
        }
    }
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!seen.contains("settled\n") || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s did not show its window (status %d)\n", program.constData(), status);
        std::exit(1);
    }
    sample.peakKb = usage.ru_maxrss;
    return sample;
}

Sample median(std::vector<Sample> samples)
{
    Sample m;
    std::sort(samples.begin(), samples.end(), [](auto &a, auto &b) { return a.ms < b.ms; });
    m.ms = samples[samples.size() / 2].ms;
    std::sort(samples.begin(), samples.end(), [](auto &a, auto &b) { return a.settledMs < b.settledMs; });
    m.settledMs = samples[samples.size() / 2].settledMs;
    std::sort(samples.begin(), samples.end(), [](auto &a, auto &b) { return a.peakKb < b.peakKb; });
    m.peakKb = samples[samples.size() / 2].peakKb;
    return m;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;

    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("config"));
    QDir(root.path()).mkpath(QStringLiteral("run"));
    QFile::setPermissions(root.filePath(QStringLiteral("run")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QList<QByteArray> environment = {"PATH=/usr/bin:/bin",
                                     "LANG=C.UTF-8",
                                     "QUIRLANTO_STARTUP_PROBE=1",
                                     "HOME=" + root.path().toLocal8Bit(),
                                     "XDG_CONFIG_HOME=" + root.filePath(QStringLiteral("config")).toLocal8Bit(),
                                     "XDG_RUNTIME_DIR=" + root.filePath(QStringLiteral("run")).toLocal8Bit()};
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty())
        environment << "QT_QPA_PLATFORM=offscreen";
    else
        environment << "DISPLAY=" + display << "QT_QPA_PLATFORM=xcb";

    // The program keeps its files beside itself: each case gets a folder with its own copy.
    auto programFolder = [&](const char *name, int entries, bool nameOrder) {
        const QString folder = root.filePath(QString::fromLatin1(name));
        QDir().mkpath(folder);
        const QString program = folder + QStringLiteral("/quirlanto");
        QFile::copy(QStringLiteral(QUIRLANTO_PROGRAM), program);
        QFile file(folder + QStringLiteral("/Telefonregister.ini"));
        file.open(QIODevice::WriteOnly);
        file.write(registerFile(entries, nameOrder));
        return program.toLocal8Bit();
    };
    const QByteArray bare = QByteArray(BARE_WIDGETS_PROGRAM);
    const QByteArray empty = programFolder("empty", 0, true);
    const QByteArray large = programFolder("large", 10000, false);
    const QByteArray largeSorted = programFolder("large-sorted", 10000, true);

    struct Case {
        const char *name;
        QByteArray program;
        std::vector<Sample> samples;
    } cases[] = {{"bare Qt widgets (floor)", bare, {}},
                 {"bare + Network/Serial/Multimedia", QByteArray(BARE_WIDGETS_MODULES_PROGRAM), {}},
                 {"Quirlanto, empty register", empty, {}},
                 {"Quirlanto, 10,000 entries", large, {}},
                 {"... the same, file in name order", largeSorted, {}}};

    for (Case &c : cases)
        runOnce(c.program, environment); // warm the file cache
    for (int run = 0; run < runs; ++run) {
        for (Case &c : cases)
            c.samples.push_back(runOnce(c.program, environment));
    }

    std::printf("platform: %s, %d runs each, medians\n", display.isEmpty() ? "offscreen" : "xcb", runs);
    std::printf("%-34s %12s %8s %11s %14s %8s\n", "case", "first paint", "x floor", "settled", "peak RSS", "x floor");
    const Sample floor = median(cases[0].samples);
    for (Case &c : cases) {
        const Sample m = median(c.samples);
        std::printf("%-34s %9.1f ms %7.2fx %8.1f ms %11.1f MB %7.2fx\n", c.name, m.ms, m.ms / floor.ms, m.settledMs,
                    m.peakKb / 1024.0, double(m.peakKb) / double(floor.peakKb));
    }
    std::printf("goals: <= 1.25x the floor empty, <= 1.5x with 10,000 entries\n");
    return 0;
}
