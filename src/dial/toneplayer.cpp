#include "dial/toneplayer.h"

#include "dial/modemcommand.h"

#include "dial/soundmodule.h"
#include "support/builtmodules.h"
#include "support/datadirectory.h"
#include "support/programdirectory.h"
#include "support/safefilereader.h"

#include <QDir>
#include <QtEndian>

#include <cstring>

namespace quirlanto {

namespace {

quint32 le32(const char *p)
{
    return qFromLittleEndian<quint32>(p);
}

quint16 le16(const char *p)
{
    return qFromLittleEndian<quint16>(p);
}

constexpr quint16 kFormatPcm = 1;
constexpr quint16 kFormatExtensible = 0xFFFE;
} // namespace

std::optional<PcmClip> readWavFile(const QString &path)
{
    // A named pipe or a device under a tone's name must not block or flood the dial.
    const DataFileRead file = readDataFile(path);
    if (!file.ok)
        return std::nullopt;
    const QByteArray &bytes = file.bytes;
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;

    quint16 format = 0;
    quint16 channels = 0;
    quint32 rate = 0;
    quint16 bits = 0;
    bool haveFormat = false;
    QByteArray data;
    bool haveData = false;

    qsizetype at = 12;
    while (at + 8 <= bytes.size() && !haveData) {
        const char *chunk = bytes.constData() + at;
        const quint32 declared = le32(chunk + 4);
        const qsizetype body = at + 8;
        const qsizetype size = qMin<qsizetype>(declared, bytes.size() - body);
        if (memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
            format = le16(bytes.constData() + body);
            channels = le16(bytes.constData() + body + 2);
            rate = le32(bytes.constData() + body + 4);
            bits = le16(bytes.constData() + body + 14);
            haveFormat = true;
        } else if (memcmp(chunk, "data", 4) == 0) {
            data = bytes.mid(body, size);
            haveData = true;
        }
        at = body + qsizetype(declared) + (declared & 1);
    }
    if (!haveFormat || !haveData || (format != kFormatPcm && format != kFormatExtensible))
        return std::nullopt;
    if ((bits != 8 && bits != 16) || (channels != 1 && channels != 2) || rate < 1000 || rate > 384000)
        return std::nullopt;

    const int frameBytes = channels * bits / 8;
    const qsizetype frames = data.size() / frameBytes;
    PcmClip clip;
    clip.sampleRate = int(rate);
    clip.samples.resize(frames * 2);
    auto *out = reinterpret_cast<uchar *>(clip.samples.data());
    const auto *in = reinterpret_cast<const uchar *>(data.constData());
    for (qsizetype f = 0; f < frames; ++f) {
        int sum = 0;
        for (int c = 0; c < channels; ++c) {
            const uchar *s = in + f * frameBytes + c * bits / 8;
            sum += bits == 8 ? (int(s[0]) - 128) * 256 : int(qint16(qFromLittleEndian<quint16>(s)));
        }
        qToLittleEndian<qint16>(qint16(sum / channels), out + f * 2);
    }
    return clip;
}

QByteArray resampleMono16(const QByteArray &samples, int fromRate, int toRate)
{
    if (fromRate == toRate || fromRate <= 0 || toRate <= 0)
        return samples;
    const qsizetype inCount = samples.size() / 2;
    if (inCount == 0)
        return {};
    const qsizetype outCount = qsizetype(qint64(inCount) * toRate / fromRate);
    QByteArray out(outCount * 2, Qt::Uninitialized);
    const auto *in = reinterpret_cast<const uchar *>(samples.constData());
    auto *o = reinterpret_cast<uchar *>(out.data());
    for (qsizetype i = 0; i < outCount; ++i) {
        const double pos = double(i) * fromRate / toRate;
        const qsizetype left = qsizetype(pos);
        const qsizetype right = qMin(left + 1, inCount - 1);
        const double frac = pos - double(left);
        const double a = qint16(qFromLittleEndian<quint16>(in + left * 2));
        const double b = qint16(qFromLittleEndian<quint16>(in + right * 2));
        qToLittleEndian<qint16>(qint16(qRound(a + (b - a) * frac)), o + i * 2);
    }
    return out;
}

QtToneOutput::QtToneOutput(const QString &programDirectory)
    : m_programDirectory(programDirectory)
{}

QtToneOutput::~QtToneOutput()
{
    stop();
}

void QtToneOutput::stop()
{
    if (sound::PcmPlayback *player = m_player.data()) {
        m_player = nullptr;
        player->stop();
        player->deleteLater();
    }
}

void QtToneOutput::play(const QStringList &paths, std::function<void(const QString &problem)> done)
{
    stop();
    QByteArray pcm;
    int rate = 0;
    for (const QString &path : paths) {
        std::optional<PcmClip> clip = readWavFile(path);
        if (!clip)
            continue;
        if (rate == 0)
            rate = clip->sampleRate;
        pcm += resampleMono16(clip->samples, clip->sampleRate, rate);
    }
    if (pcm.isEmpty()) {
        done({});
        return;
    }

    if (!m_start) {
        const QString path = m_programDirectory.isEmpty()
                                 ? moduleDirectory() + QLatin1String(sound::kModuleName)
                                 : withTrailingSlash(m_programDirectory) + QLatin1String(sound::kModuleFile);
        const ModuleLoad module = loadModule(path, builtSoundModule(), {sound::kStartPcmSymbol});
        if (module.functions.isEmpty()) {
            done(module.damaged ? module.problem
                                : QStringLiteral("Die Tonausgabe „%1“ kann nicht geladen werden:\n%2")
                                      .arg(QDir::toNativeSeparators(path), module.problem));
            return;
        }
        m_start = reinterpret_cast<sound::StartPcmFunction>(module.functions[0]);
    }
    sound::PlayResult result = sound::PlayResult::Played;
    m_player = m_start(
        pcm, rate,
        [this, done](sound::PlayResult) {
            // Heard, or stalled: either way the dial is over.
            stop();
            done({});
        },
        &result);
    if (m_player)
        return;
    done(result == sound::PlayResult::NoOutputDevice ? QStringLiteral("Es ist kein Gerät für die Tonausgabe verfügbar.")
                                                     : QStringLiteral("Die Tonausgabe lässt sich nicht starten."));
}

QStringList toneFiles(const QString &commandLine, const QString &programDirectory)
{
    QStringList paths;
    const QStringList plan = tonePlan(commandLine);
    paths.reserve(plan.size());
    for (const QString &tone : plan)
        paths.append(toneFilePath(programDirectory, tone));
    return paths;
}

} // namespace quirlanto
