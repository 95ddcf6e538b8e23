#pragma once

#include <QByteArray>
#include <QStringList>

#include "dial/soundmodule.h"

#include <QPointer>

#include <functional>
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
    // Starts playing the files one after the other without gaps; `done` runs once when the last
    // one has been heard, with why nothing could be heard (German; empty when played), perhaps
    // before play() returns. Missing or unreadable files are skipped silently.
    virtual void play(const QStringList &paths, std::function<void(const QString &problem)> done) = 0;
    // Ends the sound at once; `done` does not run then.
    virtual void stop() = 0;
};

// One audio stream fed the samples of all files in order: separate players per file either
// cut short tones or leave long gaps between them.
// The audio output itself is loaded from moduleDirectory() on first use (see soundmodule.h).
class QtToneOutput final : public ToneOutput {
public:
    // programDirectory empty: the folder of the running program.
    explicit QtToneOutput(const QString &programDirectory = {});
    ~QtToneOutput() override;
    void play(const QStringList &paths, std::function<void(const QString &problem)> done) override;
    void stop() override;

private:
    QString m_programDirectory;
    sound::StartPcmFunction m_start = nullptr;
    QPointer<sound::PcmPlayback> m_player;
};

// The tone files of a modem command line ("ATDT0,123;H\r" plays 0, pause2000, 1, 2, 3) in the
// folder snd/ of the given program folder.
QStringList toneFiles(const QString &commandLine, const QString &programDirectory);

} // namespace quirlanto
