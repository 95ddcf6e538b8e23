// Built as the module lib/quirlanto-sound.so; see soundmodule.h.
#include "dial/soundmodule.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QBuffer>
#include <QEventLoop>
#include <QMediaDevices>
#include <QTimer>

#include <type_traits>

namespace {

constexpr qint64 kServerLatencyMs = 20;
constexpr qint64 kStallAllowanceMs = 5000;

int playPcm(const char *samples, qint64 bytes, int sampleRate)
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return quirlanto::sound::NoOutputDevice;
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);

    const qint64 durationMs = bytes / 2 * 1000 / sampleRate;
    QByteArray pcm = QByteArray::fromRawData(samples, bytes);
    QBuffer source(&pcm);
    source.open(QIODevice::ReadOnly);
    QAudioSink sink(device, format);

    QEventLoop loop;
    QTimer drained;
    drained.setSingleShot(true);
    QObject::connect(&drained, &QTimer::timeout, &loop, &QEventLoop::quit);
    // Never hang: a stream that stalls (sound server gone, sink asleep) ends at the latest here.
    QTimer::singleShot(durationMs + kStallAllowanceMs, &loop, &QEventLoop::quit);

    QObject::connect(&sink, &QAudioSink::stateChanged, &loop, [&](QAudio::State state) {
        if (state == QAudio::IdleState && source.atEnd()) {
            // Idle means every sample has been handed over, not heard: the sink's buffer and
            // the server's latency are still ahead of the speaker.
            const qint64 bufferedMs = format.durationForBytes(sink.bufferSize()) / 1000;
            drained.start(int(qBound(qint64(0), bufferedMs + kServerLatencyMs, qint64(1000))));
        } else if (state == QAudio::ActiveState) {
            drained.stop();
        } else if (state == QAudio::StoppedState && sink.error() != QAudio::NoError) {
            loop.quit();
        }
    });

    sink.start(&source);
    if (sink.error() != QAudio::NoError || sink.state() == QAudio::StoppedState)
        return quirlanto::sound::OutputFailed;
    loop.exec();
    sink.stop();
    return quirlanto::sound::Played;
}

} // namespace

extern "C" Q_DECL_EXPORT int quirlantoPlayPcm(const char *samples, qint64 bytes, int sampleRate)
{
    if (!samples || bytes < 2 || sampleRate <= 0)
        return quirlanto::sound::Played;
    return playPcm(samples, bytes, sampleRate);
}

static_assert(std::is_same_v<decltype(&quirlantoPlayPcm), quirlanto::sound::PlayPcmFunction>);
