#pragma once

#include <QByteArray>
#include <QStringList>

#include "dial/soundmodule.h"

#include <optional>

namespace quirlanto {

// 16-bit signed little-endian mono samples.
struct PcmClip {
    QByteArray samples;
    int sampleRate = 0;

    qint64 durationUs() const { return sampleRate > 0 ? qint64(samples.size() / 2) * 1000000 / sampleRate : 0; }
};

// Reads a PCM WAV file (8 or 16 bit, mono or stereo) as 16-bit mono; nullopt when the file is
// missing, unreadable or not PCM.
std::optional<PcmClip> readWavFile(const QString &path);
// Linear resampling, good enough for touch tones.
QByteArray resampleMono16(const QByteArray &samples, int fromRate, int toRate);

// The sound output the loudspeaker dial plays through.
class ToneOutput {
public:
    virtual ~ToneOutput() = default;
    // Plays the files one after the other without gaps and returns when the last one has been
    // heard. Missing or unreadable files are skipped silently. Events are processed meanwhile.
    // Returns why nothing could be heard, in German; empty when played.
    virtual QString playFiles(const QStringList &paths) = 0;
};

// One audio stream fed the samples of all files in order: separate players per file either
// cut short tones or leave long gaps between them.
// The audio output itself is loaded from moduleDirectory() on first use (see soundmodule.h).
class QtToneOutput final : public ToneOutput {
public:
    // programDirectory empty: the folder of the running program.
    explicit QtToneOutput(const QString &programDirectory = {});
    QString playFiles(const QStringList &paths) override;

private:
    QString m_programDirectory;
    sound::PlayPcmFunction m_play = nullptr;
};

// Plays the tones of a modem command line ("ATDT0,123;H\r" plays 0, pause2000, 1, 2, 3) from
// the folder snd/ of the given program folder; returns what playFiles returns.
QString playCommandLine(const QString &commandLine, const QString &programDirectory, ToneOutput &output);

} // namespace quirlanto
