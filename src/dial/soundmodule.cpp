// Built as the module lib/quirlanto-sound.so; see soundmodule.h.
#include "dial/soundmodule.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QTimer>

#include <type_traits>

namespace {

constexpr qint64 kServerLatencyMs = 20;
constexpr qint64 kStallAllowanceMs = 5000;

using quirlanto::sound::PlayResult;

// One stream fed from memory; it tells once when the last sample has left the speaker.
class PcmPlayer final : public quirlanto::sound::PcmPlayback {
public:
    PcmPlayer(const QAudioDevice &device, const QAudioFormat &format, const QByteArray &samples,
              std::function<void(PlayResult)> done)
        : m_pcm(samples)
        , m_source(&m_pcm)
        , m_sink(device, format)
        , m_done(std::move(done))
    {
        m_source.open(QIODevice::ReadOnly);
        m_drained.setSingleShot(true);
        connect(&m_drained, &QTimer::timeout, this, [this] { end(PlayResult::Played); });
        // Never hang: a stream that stalls (sound server gone, sink asleep) ends at the latest here.
        m_deadline.setSingleShot(true);
        connect(&m_deadline, &QTimer::timeout, this, [this] { end(PlayResult::Played); });
        m_deadline.start(int(format.durationForBytes(qint32(samples.size())) / 1000 + kStallAllowanceMs));
        connect(&m_sink, &QAudioSink::stateChanged, this, [this, format](QAudio::State state) {
            if (state == QAudio::IdleState && m_source.atEnd()) {
                // Idle means every sample has been handed over, not heard: the sink's buffer and
                // the server's latency are still ahead of the speaker.
                const qint64 bufferedMs = format.durationForBytes(m_sink.bufferSize()) / 1000;
                m_drained.start(int(qBound(qint64(0), bufferedMs + kServerLatencyMs, qint64(1000))));
            } else if (state == QAudio::ActiveState) {
                m_drained.stop();
            } else if (state == QAudio::StoppedState && m_sink.error() != QAudio::NoError) {
                end(PlayResult::Played);
            }
        });
    }

    bool start()
    {
        m_sink.start(&m_source);
        return m_sink.error() == QAudio::NoError && m_sink.state() != QAudio::StoppedState;
    }

    void stop() override
    {
        m_done = nullptr;
        m_drained.stop();
        m_deadline.stop();
        m_sink.stop();
    }

private:
    void end(PlayResult result)
    {
        if (!m_done)
            return;
        m_drained.stop();
        m_deadline.stop();
        m_sink.stop();
        // The player may be deleted from within.
        const auto done = std::exchange(m_done, nullptr);
        done(result);
    }

    QByteArray m_pcm;
    QBuffer m_source;
    QAudioSink m_sink;
    QTimer m_drained;
    QTimer m_deadline;
    std::function<void(PlayResult)> m_done;
};

} // namespace

extern "C" Q_DECL_EXPORT quirlanto::sound::PcmPlayback *quirlantoStartPcm(const QByteArray &samples, int sampleRate,
                                                    std::function<void(PlayResult)> done, PlayResult *result)
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        *result = PlayResult::NoOutputDevice;
        return nullptr;
    }
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    auto *player = new PcmPlayer(device, format, samples, std::move(done));
    if (!player->start()) {
        delete player;
        *result = PlayResult::OutputFailed;
        return nullptr;
    }
    *result = PlayResult::Played;
    return player;
}

static_assert(std::is_same_v<decltype(&quirlantoStartPcm), quirlanto::sound::StartPcmFunction>);
