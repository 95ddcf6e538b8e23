// Reading hostile vCard files: time and peak memory per shape, up to the 10 MB the reader takes.
// Each shape is read from a file and turned into the rows of "Kontakte importieren".
#include "register/contactimport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

using namespace quirlanto;

namespace {

// Lines of `unit` after `head` until the text holds about `size` bytes, then `tail`.
QByteArray shape(const QByteArray &head, const QByteArray &unit, const QByteArray &tail, qsizetype size)
{
    QByteArray text = head;
    text.reserve(size + unit.size() + tail.size());
    while (text.size() + unit.size() + tail.size() <= size)
        text += unit;
    return text + tail;
}

long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLong();
    return 0;
}

// In a process of its own, so that the peak resident size is this shape's alone.
void run(const QTemporaryDir &dir, const char *name, const std::function<QByteArray()> &make)
{
    std::fflush(stdout);
    const pid_t child = fork();
    if (child != 0) {
        int status = 0;
        waitpid(child, &status, 0);
        return;
    }
    const QString path = dir.filePath(QStringLiteral("form.vcf"));
    qsizetype size = 0;
    {
        const QByteArray text = make();
        size = text.size();
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != size)
            _exit(1);
    }
    const long before = statusKb("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    const VCardReadResult read = readVCardFile(path);
    const double readMs = double(timer.nsecsElapsed()) / 1e6;
    const long readPeak = statusKb("VmHWM:");
    timer.restart();
    const qsizetype rows = importCandidates(read.contacts, Settings{}).size();
    const double rowsMs = double(timer.nsecsElapsed()) / 1e6;
    std::printf("%-42s %5.2f MB  read %6.1f ms, peak %6.1f MB  rows %6.1f ms, peak %6.1f MB  (%lld contacts, "
                "%lld rows, %d damaged)\n",
                name, double(size) / 1e6, readMs, double(readPeak - before) / 1024, rowsMs,
                double(statusKb("VmHWM:") - before) / 1024, static_cast<long long>(read.contacts.size()),
                static_cast<long long>(rows), read.damaged);
    std::fflush(stdout);
    _exit(0);
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const qsizetype kMax = kMaxVCardFileSize;
    // A parameter head of 16 KB, then a quoted-printable value with a soft break every line.
    const QByteArray longHead =
        "BEGIN:VCARD\r\nVERSION:2.1\r\nN" + QByteArray(";X-A=b").repeated(2730) + ";ENCODING=QUOTED-PRINTABLE:";
    const QByteArray softLine = QByteArray("=4D=C3=BCller ").repeated(5) + "=\r\n";
    const QByteArray cardEnd = "M\r\nTEL:+49 89 1\r\nEND:VCARD\r\n";
    const QByteArray unclosed = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN;X=\"";
    const QByteArray tinyCard = "BEGIN:VCARD\r\nFN:A\r\nTEL:1\r\nEND:VCARD\r\n";
    const QByteArray hugeHead = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Zentrale\r\n";
    const std::vector<std::pair<const char *, std::function<QByteArray()>>> shapes = {
        {"QP soft breaks after a 16 KB head", [&] { return shape(longHead, softLine, cardEnd, 1300 * 1000); }},
        {"QP soft breaks after a 16 KB head", [&] { return shape(longHead, softLine, cardEnd, kMax); }},
        {"1,000,000 folds after an unclosed quote",
         [&] { return unclosed + QByteArray("\r\n x").repeated(1000 * 1000); }},
        {"folds after an unclosed quote", [&] { return shape(unclosed, "\r\n x", "", kMax); }},
        {"many tiny cards", [&] { return shape({}, tinyCard, {}, kMax); }},
        {"cards never ended", [&] { return shape({}, "BEGIN:VCARD\r\nFN:A\r\nTEL:1\r\n", {}, kMax); }},
        {"one card, a number a line",
         [&] { return shape(hugeHead, "TEL;TYPE=cell:+49 171 1234567\r\n", "END:VCARD\r\n", kMax); }},
        {"one card, a name of 10 MB",
         [&] { return shape(hugeHead + "N:", "Meier-", "\r\nTEL:1\r\nEND:VCARD\r\n", kMax); }},
    };
    std::printf("vCard reading (goal: 10 MB of any shape well under a second, linear in the size);\n"
                "peak: resident size above that before reading, each shape in a process of its own\n");
    for (const auto &[name, make] : shapes)
        run(dir, name, make);
    return 0;
}
