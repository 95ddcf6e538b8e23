#include "dial/toneplayer.h"
#include "testsupportcore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>

using namespace quirlanto;
using namespace quirlanto::test;

namespace {

const QString kSnd = QStringLiteral(QUIRLANTO_PROGRAM_DIR "/snd/");
constexpr double kDtmfFrequencies[] = {697, 770, 852, 941, 1209, 1336, 1477, 1633};

QVector<double> samplesOf(const QByteArray &pcm)
{
    QVector<double> out(pcm.size() / 2);
    for (qsizetype i = 0; i < out.size(); ++i)
        out[i] = qint16(qFromLittleEndian<quint16>(pcm.constData() + 2 * i));
    return out;
}

// Amplitude of one frequency in the samples (Goertzel over the whole range).
double amplitudeAt(const QVector<double> &s, qsizetype from, qsizetype to, double frequency, int rate)
{
    const double w = 2 * M_PI * frequency / rate;
    double re = 0, im = 0;
    for (qsizetype i = from; i < to; ++i) {
        re += s[i] * std::cos(w * double(i));
        im -= s[i] * std::sin(w * double(i));
    }
    return 2 * std::hypot(re, im) / double(to - from);
}

// [first, last] sample above 1 % of full scale; {-1,-1} when silent.
std::pair<qsizetype, qsizetype> soundingSpan(const QVector<double> &s)
{
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (std::abs(s[i]) > 327) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    return {first, last};
}

QByteArray wav(quint16 format, quint16 channels, quint32 rate, quint16 bits, const QByteArray &data,
               const QByteArray &before = {})
{
    auto le16 = [](quint16 v) {
        QByteArray b(2, 0);
        qToLittleEndian(v, b.data());
        return b;
    };
    auto le32 = [](quint32 v) {
        QByteArray b(4, 0);
        qToLittleEndian(v, b.data());
        return b;
    };
    QByteArray fmt = le16(format) + le16(channels) + le32(rate) + le32(rate * channels * bits / 8)
                     + le16(quint16(channels * bits / 8)) + le16(bits);
    QByteArray body = "WAVE" + before + "fmt " + le32(16) + fmt + "data" + le32(quint32(data.size())) + data;
    return "RIFF" + le32(quint32(body.size())) + body;
}

QString writeTemp(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    writeFile(path, bytes);
    return path;
}

// Decodes 22050 Hz 16-bit mono raw samples with an independent decoder; null when it is missing.
QString decodeDtmf(const QString &rawPath)
{
    const QString decoder = QStandardPaths::findExecutable(QStringLiteral("multimon-ng"));
    if (decoder.isEmpty())
        return QString();
    QProcess p;
    p.start(decoder, {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("raw"), QStringLiteral("-a"),
                      QStringLiteral("DTMF"), rawPath});
    if (!p.waitForFinished(30000))
        return QStringLiteral("(decoder hung)");
    QString digits;
    for (const QByteArray &line : p.readAllStandardOutput().split('\n')) {
        if (line.startsWith("DTMF: "))
            digits += QLatin1Char(line.at(6));
    }
    return digits;
}

bool waitForFile(const QString &path, int ms)
{
    for (int waited = 0; waited < ms; waited += 20) {
        if (QFile::exists(path))
            return true;
        QTest::qWait(20);
    }
    return false;
}

} // namespace

class TestTones : public QObject {
    Q_OBJECT

private slots:
    void keyFiles_data();
    void keyFiles();
    void pauseFile();
    void readWavFile_data();
    void readWavFile();
    void resample();
    void commandLineToFiles();
    void returnsPromptlyWithoutSoundServer();
    void missingSoundModuleIsReported();
    void loudspeakerDialIsHeard();
};

void TestTones::keyFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");

    const char *keys = "123456789*0#";
    const double lows[] = {697, 770, 852, 941};
    const double highs[] = {1209, 1336, 1477};
    for (int i = 0; i < 12; ++i) {
        const QString key = QString(QLatin1Char(keys[i]));
        const QString name = key == QLatin1String("*") ? QStringLiteral("stern") : key;
        QTest::newRow(qPrintable(name)) << name << key << lows[i / 3] << highs[i % 3];
    }
}

void TestTones::keyFiles()
{
    QFETCH(QString, name);
    QFETCH(QString, key);
    QFETCH(double, low);
    QFETCH(double, high);

    const QString path = kSnd + name + QStringLiteral(".WAV");
    const QByteArray header = readFile(path);
    QVERIFY2(header.size() >= 44, qPrintable(path));
    QCOMPARE(qFromLittleEndian<quint16>(header.constData() + 20), quint16(1));  // PCM
    QCOMPARE(qFromLittleEndian<quint16>(header.constData() + 22), quint16(1));  // mono
    QCOMPARE(qFromLittleEndian<quint16>(header.constData() + 34), quint16(16)); // 16 bit

    const std::optional<PcmClip> clip = quirlanto::readWavFile(path);
    QVERIFY(clip);
    const int rate = clip->sampleRate;
    const QVector<double> s = samplesOf(clip->samples);
    QVERIFY(std::abs(clip->durationUs() - 200000) <= 5000);

    const auto [first, last] = soundingSpan(s);
    const double toneMs = double(last - first + 1) * 1000 / rate;
    const double tailMs = double(s.size() - 1 - last) * 1000 / rate;
    QVERIFY2(toneMs >= 90 && toneMs <= 110, qPrintable(QString::number(toneMs)));
    QVERIFY2(tailMs >= 90, qPrintable(QString::number(tailMs)));
    const double peak =
        *std::max_element(s.begin(), s.end(), [](double a, double b) { return std::abs(a) < std::abs(b); });
    QVERIFY2(std::abs(peak) < 32000, "clipped");

    // Both tones present, each within 1.5 % of its nominal frequency, nothing else of the keypad.
    const double lowAmp = amplitudeAt(s, first, last, low, rate);
    const double highAmp = amplitudeAt(s, first, last, high, rate);
    for (double f : kDtmfFrequencies) {
        if (f != low && f != high)
            QVERIFY2(amplitudeAt(s, first, last, f, rate) < lowAmp / 10, qPrintable(QString::number(f)));
    }
    for (double nominal : {low, high}) {
        double best = 0, bestAmp = 0;
        for (double f = nominal * 0.95; f <= nominal * 1.05; f += 1) {
            const double a = amplitudeAt(s, first, last, f, rate);
            if (a > bestAmp) {
                bestAmp = a;
                best = f;
            }
        }
        QVERIFY2(std::abs(best - nominal) <= nominal * 0.015, qPrintable(QString::number(best)));
    }
    const double twistDb = 20 * std::log10(highAmp / lowAmp);
    QVERIFY2(twistDb > 1.0 && twistDb < 3.0, qPrintable(QString::number(twistDb)));

    // An independent decoder hears the key.
    QTemporaryDir dir;
    QVERIFY(rate == 22050);
    const QString raw = writeTemp(dir, QStringLiteral("key.raw"), clip->samples + QByteArray(8820, 0));
    const QString decoded = decodeDtmf(raw);
    if (decoded.isNull())
        QSKIP("multimon-ng is not installed (apt-get install multimon-ng); decoder check skipped");
    QCOMPARE(decoded, key);
}

void TestTones::pauseFile()
{
    const std::optional<PcmClip> clip = quirlanto::readWavFile(kSnd + QStringLiteral("pause2000.WAV"));
    QVERIFY(clip);
    QVERIFY(std::abs(clip->durationUs() - 2000000) <= 5000);
    QCOMPARE(clip->samples.count('\0'), clip->samples.size());
}

void TestTones::readWavFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<int>("rate");
    QTest::addColumn<QList<int>>("samples");

    QByteArray mono16(6, 0);
    qToLittleEndian<qint16>(1000, mono16.data());
    qToLittleEndian<qint16>(-2000, mono16.data() + 2);
    qToLittleEndian<qint16>(32767, mono16.data() + 4);
    QTest::newRow("16-bit mono") << wav(1, 1, 8000, 16, mono16) << true << 8000 << QList<int>{1000, -2000, 32767};

    QByteArray stereo16(8, 0);
    qToLittleEndian<qint16>(1000, stereo16.data());
    qToLittleEndian<qint16>(3000, stereo16.data() + 2);
    qToLittleEndian<qint16>(-100, stereo16.data() + 4);
    qToLittleEndian<qint16>(100, stereo16.data() + 6);
    QTest::newRow("16-bit stereo mixed down") << wav(1, 2, 44100, 16, stereo16) << true << 44100 << QList<int>{2000, 0};
    QTest::newRow("8-bit unsigned") << wav(1, 1, 11025, 8, QByteArray("\x80\xff\x00", 3)) << true << 11025
                                    << QList<int>{0, 127 * 256, -128 * 256};
    QTest::newRow("odd chunk before fmt") << wav(1, 1, 8000, 16, mono16, QByteArray("LIST\x03\0\0\0abc\0", 12)) << true
                                          << 8000 << QList<int>{1000, -2000, 32767};
    QTest::newRow("data shorter than declared")
        << wav(1, 1, 8000, 16, mono16).chopped(2) << true << 8000 << QList<int>{1000, -2000};
    QTest::newRow("float samples") << wav(3, 1, 8000, 32, QByteArray(8, 0)) << false << 0 << QList<int>{};
    QTest::newRow("24-bit") << wav(1, 1, 8000, 24, QByteArray(6, 0)) << false << 0 << QList<int>{};
    QTest::newRow("not RIFF") << QByteArray("ID3\x03 some mp3 bytes") << false << 0 << QList<int>{};
    QTest::newRow("header only") << wav(1, 1, 8000, 16, {}).left(20) << false << 0 << QList<int>{};
    QTest::newRow("empty file") << QByteArray() << false << 0 << QList<int>{};
}

void TestTones::readWavFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    QFETCH(int, rate);
    QFETCH(QList<int>, samples);
    QTemporaryDir dir;
    const std::optional<PcmClip> clip = quirlanto::readWavFile(writeTemp(dir, QStringLiteral("t.WAV"), bytes));
    QCOMPARE(bool(clip), readable);
    if (!clip)
        return;
    QCOMPARE(clip->sampleRate, rate);
    QList<int> got;
    for (double v : samplesOf(clip->samples))
        got.append(int(v));
    QCOMPARE(got, samples);
}

void TestTones::resample()
{
    QByteArray ramp(2 * 100, 0);
    for (int i = 0; i < 100; ++i)
        qToLittleEndian<qint16>(qint16(i * 100), ramp.data() + 2 * i);
    const QVector<double> up = samplesOf(resampleMono16(ramp, 11025, 22050));
    QCOMPARE(up.size(), 200);
    QCOMPARE(up[0], 0.0);
    QCOMPARE(up[1], 50.0); // halfway between the first two samples
    QCOMPARE(up[2], 100.0);
    QCOMPARE(samplesOf(resampleMono16(ramp, 22050, 11025)).size(), 50);
    QCOMPARE(resampleMono16(ramp, 8000, 8000), ramp);
}

void TestTones::commandLineToFiles()
{
    QCOMPARE(toneFiles(QStringLiteral("ATM1DT0,01013#*;H\r"), QStringLiteral("/p/")),
             (QStringList{"/p/snd/1.WAV", "/p/snd/0.WAV", "/p/snd/pause2000.WAV", "/p/snd/0.WAV", "/p/snd/1.WAV",
                          "/p/snd/0.WAV", "/p/snd/1.WAV", "/p/snd/3.WAV", "/p/snd/#.WAV", "/p/snd/stern.WAV"}));
}

void TestTones::returnsPromptlyWithoutSoundServer()
{
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + runtime.filePath(QStringLiteral("none")));
    QProcess player;
    player.setProcessEnvironment(env);
    player.start(QStringLiteral(PLAYTONES_PATH), {kSnd.chopped(4), QStringLiteral("ATDT0,123456;H\\r")});
    QVERIFY(player.waitForStarted());
    // A hang would show here; the figure itself is printed, not judged.
    QVERIFY2(player.waitForFinished(15000), "the tone player hung without a sound server");
    QCOMPARE(player.exitCode(), 0);
    const QByteArray out = player.readAllStandardOutput().trimmed();
    qInfo("without sound server: %s", out.constData());
    QVERIFY(out.startsWith("wall_us="));
}

void TestTones::missingSoundModuleIsReported()
{
    QTemporaryDir folder; // a program folder without lib/
    QtToneOutput output(folder.path());
    QString problem;
    output.play({kSnd + QStringLiteral("1.WAV")}, [&](const QString &told) { problem = told; });
    QVERIFY2(problem.startsWith(QStringLiteral("Die Tonausgabe „")), qPrintable(problem));
    QVERIFY2(problem.contains(folder.filePath(QStringLiteral("lib/quirlanto-sound.so"))), qPrintable(problem));
    // Nothing readable to play: nothing is loaded and there is nothing to report.
    bool done = false;
    output.play({folder.filePath(QStringLiteral("fehlt.WAV"))}, [&](const QString &told) { done = told.isEmpty(); });
    QVERIFY(done);
}

void TestTones::loudspeakerDialIsHeard()
{
    const QString server = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    const QString recorder = QStandardPaths::findExecutable(QStringLiteral("parec"));
    if (server.isEmpty() || recorder.isEmpty())
        QSKIP("pulseaudio and pulseaudio-utils are not installed; recording check skipped");
    if (QStandardPaths::findExecutable(QStringLiteral("multimon-ng")).isEmpty())
        QSKIP("multimon-ng is not installed; recording check skipped");

    // A private sound server with a null sink, run as an ordinary user process.
    QTemporaryDir runtime;
    QVERIFY(QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("HOME"), runtime.path());
    env.remove(QStringLiteral("PULSE_SERVER"));
    QProcess pulse;
    pulse.setProcessEnvironment(env);
    pulse.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    pulse.start(server, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                         QStringLiteral("--use-pid-file=no"), QStringLiteral("--log-level=error"),
                         QStringLiteral("--load=module-null-sink sink_name=quirlanto_test"),
                         QStringLiteral("--load=module-native-protocol-unix")});
    QVERIFY(pulse.waitForStarted());
    auto stopServer = qScopeGuard([&] { stopProcess(pulse); });
    QVERIFY2(waitForFile(runtime.filePath(QStringLiteral("pulse/native")), 10000), "sound server did not start");

    const QString rawPath = runtime.filePath(QStringLiteral("heard.raw"));
    QProcess rec;
    rec.setProcessEnvironment(env);
    rec.setStandardOutputFile(rawPath);
    rec.start(recorder, {QStringLiteral("-d"), QStringLiteral("quirlanto_test.monitor"),
                         QStringLiteral("--latency-msec=20"), QStringLiteral("--format=s16le"),
                         QStringLiteral("--rate=22050"), QStringLiteral("--channels=1"), QStringLiteral("--raw")});
    QVERIFY(rec.waitForStarted());
    auto stopRecorder = qScopeGuard([&] { stopProcess(rec); });
    // Silence first: the null sink needs a moment to take up the recorder's short latency, and
    // the first few dozen milliseconds of a recording can be lost.
    QTest::qWait(2500);
    QVERIFY2(QFileInfo(rawPath).size() > 0, "recorder captures nothing");

    QProcess player;
    player.setProcessEnvironment(env);
    player.start(QStringLiteral(PLAYTONES_PATH), {kSnd.chopped(4), QStringLiteral("ATDT0,123456;H\\r")});
    QVERIFY(player.waitForFinished(20000));
    QCOMPARE(player.exitStatus(), QProcess::NormalExit);
    QCOMPARE(player.exitCode(), 0);
    qInfo("loudspeaker dial: %s", player.readAllStandardOutput().trimmed().constData());
    QTest::qWait(300);
    stopRecorder.dismiss();
    rec.terminate();
    QVERIFY(rec.waitForFinished(3000));

    QCOMPARE(decodeDtmf(rawPath), QStringLiteral("0123456"));

    // The pause between 0 and 1 is audible: about 2.1 s of silence (the pause and the silent
    // half of the key file) against about 0.1 s between the other keys.
    const QByteArray recorded = readFile(rawPath);
    QVERIFY(recorded != "<missing>");
    const QVector<double> s = samplesOf(recorded);
    const int frame = 220;             // 10 ms
    QList<std::pair<int, int>> bursts; // [start, end) in frames
    for (int f = 0; (f + 1) * frame <= s.size(); ++f) {
        double energy = 0;
        for (int i = f * frame; i < (f + 1) * frame; ++i)
            energy += s[i] * s[i];
        const bool loud = std::sqrt(energy / frame) > 1000;
        if (loud && (bursts.isEmpty() || bursts.last().second != f))
            bursts.append({f, f + 1});
        else if (loud)
            bursts.last().second = f + 1;
    }
    QCOMPARE(bursts.size(), 7);
    const int pauseMs = (bursts[1].first - bursts[0].second) * 10;
    QVERIFY2(pauseMs >= 2000 && pauseMs <= 2250, qPrintable(QString::number(pauseMs)));
    for (int i = 2; i < bursts.size(); ++i) {
        const int gapMs = (bursts[i].first - bursts[i - 1].second) * 10;
        QVERIFY2(gapMs >= 70 && gapMs <= 140, qPrintable(QString::number(gapMs)));
    }
}

QTEST_GUILESS_MAIN(TestTones)
#include "tst_tones.moc"
