#include "dial/dialer.h"
#include "dial/dialhost.h"
#include "dial/modemlink.h"
#include "dial/progresswindow.h"
#include "dial/toneplayer.h"
#include "fakeclipboardsource.h"
#include "fakedialhost.h"
#include "fixedclock.h"
#include "hayessimulator.h"
#include "memorysettingsstore.h"
#include "providers/providertable.h"
#include "register/phoneentry.h"
#include "support/messagebox.h"
#include "support/programdirectory.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace quirlanto;

namespace {

class RecordingToneOutput final : public ToneOutput {
public:
    QString playFiles(const QStringList &paths) override
    {
        played.append(paths);
        if (whilePlaying)
            whilePlaying();
        return problem;
    }
    QString problem;
    QList<QStringList> played;
    std::function<void()> whilePlaying;
};

// What the test saw of the window "Anwahl" while it was open.
struct WindowVisit {
    QString name;
    QString number;
    QString result;
    bool modal = false;
    bool visible = false;
    QStringList texts; // caption, heading, button
};

} // namespace

class TestDialer : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void commandLines_data();
    void commandLines();
    void okEndsTheDial();
    void failureWordShownUntilAbort_data();
    void failureWordShownUntilAbort();
    void missingDeviceThenRedial();
    void vanishedDeviceEndsTheDial();
    void clipboardRefusals_data();
    void clipboardRefusals();
    void clipboardNumbersAndRedial_data();
    void clipboardNumbersAndRedial();
    void requestsThatDialNothing();
    void secondRequestIsRefusedWhileDialing();
    void loudspeakerPlaysTheCommandLine();
    void dialGivenNumber();

private:
    void makeDialer();
    // Runs `action` inside the modal window once `ready` holds (or after 5 s, marking a timeout).
    void whileWindowOpen(std::function<bool(ProgressWindow *)> ready, std::function<void(ProgressWindow *)> action);

    test::FakeDialHost m_host;
    FakeClipboardSource m_clipboard;
    MemorySettingsStore m_ports;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 8), QTime(10, 0))};
    RecordingToneOutput m_tones;
    std::unique_ptr<HayesSimulator> m_modem;
    std::unique_ptr<ModemLink> m_link;
    std::unique_ptr<Dialer> m_dialer;
    QList<WindowVisit> m_visits;
    int m_beeps = 0;
    bool m_timedOut = false;
};

void TestDialer::init()
{
    m_host = test::FakeDialHost();
    m_clipboard.clear();
    m_ports = MemorySettingsStore();
    m_tones = RecordingToneOutput();
    m_visits.clear();
    m_beeps = 0;
    m_timedOut = false;
    MessageBoxes::setAutoAnswer(true);
    MessageBoxes::clearShown();
    setProgramDirectoryOverride(QStringLiteral("/opt/q/"));
    m_modem = std::make_unique<HayesSimulator>(HayesSimulator::EchoThenOk);
    QVERIFY(m_modem->isValid());
    m_ports.setValue(QStringLiteral("Ports/COM1"), m_modem->devicePath());
    makeDialer();
}

void TestDialer::cleanup()
{
    m_dialer.reset();
    m_link.reset();
    m_modem.reset();
    setProgramDirectoryOverride({});
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY2(!m_timedOut, "a dial did not end by itself");
}

void TestDialer::makeDialer()
{
    m_link = std::make_unique<ModemLink>(m_ports);
    m_dialer = std::make_unique<Dialer>(m_host, m_clipboard, *m_link, m_tones, m_clock);
    m_dialer->setBeep([this] { ++m_beeps; });
    connect(m_dialer.get(), &Dialer::progressWindowShown, this, [this](ProgressWindow *w) {
        const auto *heading = w->findChild<QLabel *>(QStringLiteral("headingLabel"));
        m_visits.append({w->nameText(),
                         w->numberText(),
                         w->resultText(),
                         false,
                         false,
                         {w->windowTitle(), heading ? heading->text() : QString(), w->abortButton()->text()}});
        QTimer::singleShot(0, w, [this, w] {
            m_visits.last().visible = w->isVisible();
            m_visits.last().modal = QApplication::activeModalWidget() == w;
        });
        // A dial the test failed to end must not hang the run.
        QTimer::singleShot(10000, w, [this, w] {
            m_timedOut = true;
            w->abortButton()->click();
        });
    });
}

void TestDialer::whileWindowOpen(std::function<bool(ProgressWindow *)> ready,
                                 std::function<void(ProgressWindow *)> action)
{
    connect(m_dialer.get(), &Dialer::progressWindowShown, this, [=, this](ProgressWindow *w) {
        auto *poll = new QTimer(w);
        auto *waited = new QElapsedTimer;
        waited->start();
        connect(poll, &QTimer::timeout, w, [=, this] {
            const bool timedOut = waited->elapsed() > 5000;
            if (!ready(w) && !timedOut)
                return;
            m_timedOut = m_timedOut || timedOut;
            poll->stop();
            delete waited;
            action(w);
        });
        poll->start(10);
    });
}

void TestDialer::commandLines_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("zeroFlag");
    QTest::addColumn<QString>("extra");
    QTest::addColumn<QString>("outside");
    QTest::addColumn<int>("pulse");
    QTest::addColumn<QString>("handover");
    QTest::addColumn<bool>("providers");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("display");

    QTest::newRow("long distance, outside line")
        << "4930123456" << 1 << ""
        << "0," << 0 << "" << false << QByteArray("ATDT0,030123456;H\r") << "Wähle 0,030123456"
        << "030123456";
    QTest::newRow("long distance, zero flag off")
        << "4930123456" << 0 << ""
        << "" << 0 << "" << false << QByteArray("ATDT30123456;H\r") << "Wähle 30123456"
        << "30123456";
    QTest::newRow("pulse drops the handover")
        << "4989123456" << 0 << ""
        << "" << 1 << "22" << false << QByteArray("ATDP123456;H\r") << "Wähle 123456"
        << "123456";
    QTest::newRow("tone with handover") << "4989123456" << 0 << ""
                                        << "" << 0 << "22" << false << QByteArray("ATDT123456,!,22;H\r")
                                        << "Wähle 123456,!,22"
                                        << "123456";
    QTest::newRow("digits of extra commands in the status")
        << "4989123456" << 0 << "M1L3"
        << "0," << 0 << "" << false << QByteArray("ATM1L3DT0,123456;H\r") << "Wähle 130,123456"
        << "123456";
    QTest::newRow("provider, abroad") << "12125550100" << 0 << ""
                                      << "" << 0 << "" << true << QByteArray("ATDT010130012125550100;H\r")
                                      << "Wähle 010130012125550100"
                                      << "+12125550100";
    QTest::newRow("number written with blanks") << "49 89 12-34" << 1 << ""
                                                << "" << 0 << "" << false << QByteArray("ATDT1234;H\r") << "Wähle 1234"
                                                << "1234";
}

void TestDialer::commandLines()
{
    QFETCH(QString, number);
    QFETCH(int, zeroFlag);
    QFETCH(QString, extra);
    QFETCH(QString, outside);
    QFETCH(int, pulse);
    QFETCH(QString, handover);
    QFETCH(bool, providers);
    QFETCH(QByteArray, line);
    QFETCH(QString, status);
    QFETCH(QString, display);

    m_host.options.extraModemCommands = extra;
    m_host.options.outsideLinePrefix = outside;
    m_host.options.pulseDialing = pulse;
    m_host.options.handoverEnabled = handover.isEmpty() ? 0 : 1;
    m_host.options.handoverNumber = handover;
    m_host.providers.providersEnabled = providers;
    m_host.providers.addProviderRow(QStringLiteral("Sparfon"), QStringLiteral("01013"), 1, 1, 0, 24, 1, 1, 1);
    m_host.selected = PhoneEntry{QStringLiteral("Erika Muster"), number, zeroFlag != 0};

    QSignalSpy redial(m_dialer.get(), &Dialer::redialAvailable);
    m_dialer->dial(SelectedEntry);

    QCOMPARE(m_modem->received(), line);
    QCOMPARE(m_host.statusTexts, QStringList{status});
    QCOMPARE(m_visits.size(), 1);
    QCOMPARE(m_visits[0].name, QStringLiteral("Erika Muster"));
    QCOMPARE(m_visits[0].number, display);
    QCOMPARE(redial.count(), 1);
    QCOMPARE(m_dialer->redialMemory().lastName, QStringLiteral("Erika Muster"));
    QCOMPARE(m_dialer->redialMemory().lastNumber, QString(number).remove(QLatin1Char(' ')).remove(QLatin1Char('-')));
    QCOMPARE(m_dialer->redialMemory().lastZeroFlag, zeroFlag == 1);
    QVERIFY(!m_link->isOpen());
    QVERIFY(MessageBoxes::shown().isEmpty());
}

void TestDialer::okEndsTheDial()
{
    m_host.selected = PhoneEntry{QStringLiteral("Amt"), QStringLiteral("4989123456"), false};

    m_dialer->dial(SelectedEntry);

    QCOMPARE(m_visits.size(), 1);
    QVERIFY(m_visits[0].modal);
    QVERIFY(m_visits[0].visible);
    QCOMPARE(m_visits[0].texts, (QStringList{"Anwahl", " Anwahl läuft ... ", "&Abbruch"}));
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(!m_dialer->isDialing());
    QVERIFY(!m_dialer->progressWindow());
    QVERIFY(!m_link->isOpen());
    QCOMPARE(m_modem->received(), QByteArray("ATDT123456;H\r"));
    QVERIFY(m_link->modemAnswer().endsWith(QLatin1String("OK\r\n")));
}

void TestDialer::failureWordShownUntilAbort_data()
{
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("escape");

    QTest::newRow("ERROR, button") << int(HayesSimulator::ErrorAnswer)
                                   << QStringLiteral("Das Modem meldet einen Fehler (ERROR)") << false;
    QTest::newRow("BUSY, Escape") << int(HayesSimulator::Busy) << QStringLiteral("Besetzt (BUSY)") << true;
    QTest::newRow("silence, button") << int(HayesSimulator::Silent) << QString() << false;
}

void TestDialer::failureWordShownUntilAbort()
{
    QFETCH(int, behaviour);
    QFETCH(QString, shown);
    QFETCH(bool, escape);
    m_modem->setBehaviour(HayesSimulator::Behaviour(behaviour));
    m_host.selected = PhoneEntry{QStringLiteral("Amt"), QStringLiteral("4989123456"), false};

    QString resultBeforeAbort;
    bool openBeforeAbort = false;
    whileWindowOpen(
        [&](ProgressWindow *w) {
            return m_modem->received().endsWith(";H\r") && (shown.isEmpty() || !w->resultText().isEmpty());
        },
        [&](ProgressWindow *w) {
            QTest::qWait(100); // the window does not close by itself on a failure word
            resultBeforeAbort = w->resultText();
            openBeforeAbort = w->isVisible() && m_link->isOpen();
            if (escape)
                QTest::keyClick(w, Qt::Key_Escape);
            else
                w->abortButton()->click();
        });

    m_dialer->dial(SelectedEntry);

    QVERIFY(!m_timedOut);
    QVERIFY(openBeforeAbort);
    QCOMPARE(resultBeforeAbort, shown);
    QTRY_COMPARE(m_modem->received(), QByteArray("ATDT123456;H\r\r"));
    QVERIFY(!m_link->isOpen());
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(MessageBoxes::shown().isEmpty());
}

void TestDialer::missingDeviceThenRedial()
{
    m_host.options.comPort = 3;
    m_ports.setValue(QStringLiteral("Ports/COM3"), QStringLiteral("/nonexistent/ttyQ3"));
    m_clipboard.setText(QStringLiteral("089/123456"));
    QSignalSpy redial(m_dialer.get(), &Dialer::redialAvailable);

    m_dialer->dial(Clipboard);

    QCOMPARE(MessageBoxes::shown().size(), 1);
    QCOMPARE(MessageBoxes::shown()[0].icon, MessageIcon::Critical);
    QCOMPARE(MessageBoxes::shown()[0].text, QStringLiteral("Der angegebene Anschluß COM3 ist nicht verfügbar.\n\n"
                                                           "Gerät /nonexistent/ttyQ3: Das Gerät gibt es nicht."));
    QCOMPARE(m_host.optionsCardShown, 1);
    QCOMPARE(m_visits.size(), 0);
    QCOMPARE(m_host.statusTexts, QStringList{QStringLiteral("Wähle 123456")});
    QCOMPARE(redial.count(), 1);
    QCOMPARE(m_dialer->redialMemory().lastNumber, QStringLiteral("4989123456"));
    QVERIFY(!m_dialer->isDialing());

    // The user corrects the port; redial goes through.
    m_ports.setValue(QStringLiteral("Ports/COM3"), m_modem->devicePath());
    m_clipboard.clear();
    m_dialer->dial(Redial);
    QCOMPARE(m_modem->received(), QByteArray("ATDT123456;H\r"));
    QCOMPARE(m_visits.size(), 1);
    QCOMPARE(m_visits[0].name, QString());
    QCOMPARE(m_visits[0].number, QStringLiteral("123456"));
    QCOMPARE(MessageBoxes::shown().size(), 1);
}

void TestDialer::vanishedDeviceEndsTheDial()
{
    m_modem->setBehaviour(HayesSimulator::Silent);
    m_host.selected = PhoneEntry{QStringLiteral("Amt"), QStringLiteral("4989123456"), false};
    whileWindowOpen([&](ProgressWindow *) { return m_modem->received().endsWith(";H\r"); },
                    [&](ProgressWindow *) { m_modem->disappear(); });

    m_dialer->dial(SelectedEntry);

    QVERIFY(!m_timedOut);
    QVERIFY(!m_link->isOpen());
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(MessageBoxes::shown().size(), 1);
    QCOMPARE(MessageBoxes::shown()[0].icon, MessageIcon::Warning);
    QCOMPARE(MessageBoxes::shown()[0].text, QStringLiteral("Die Verbindung zum Modem an COM1 wurde unterbrochen."));
}

void TestDialer::clipboardRefusals_data()
{
    QTest::addColumn<bool>("hasText");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    const QString noText = QStringLiteral("In der Zwischenablage befindet sich kein Text.");
    const QString noNumber = QStringLiteral("Der Text in der Zwischenablage enthält keine Telefonnummer.");
    QTest::newRow("no text") << false << QString() << noText;
    QTest::newRow("empty text") << true << QString() << noNumber;
    QTest::newRow("letters only") << true << QStringLiteral("Frau Muster anrufen") << noNumber;
    QTest::newRow("star and hash") << true << QStringLiteral("*#*#") << noNumber;
    // Longer than any number: never shown in the status line or "Anwahl", never dialed.
    QTest::newRow("65 digits") << true << QString(65, u'7')
                               << "Der Text in der Zwischenablage ist zu lang für eine Telefonnummer: Er enthält 65 "
                                  "Wählzeichen, eine Nummer hat höchstens 64.";
}

void TestDialer::clipboardRefusals()
{
    QFETCH(bool, hasText);
    QFETCH(QString, text);
    QFETCH(QString, message);
    if (hasText)
        m_clipboard.setText(text);
    m_host.selected = PhoneEntry{QStringLiteral("Amt"), QStringLiteral("4989123456"), false};
    m_dialer->dial(SelectedEntry); // something to remember
    QCOMPARE(m_visits.size(), 1);
    const RedialMemory before = m_dialer->redialMemory();
    QSignalSpy redial(m_dialer.get(), &Dialer::redialAvailable);
    m_host.statusTexts.clear();
    m_modem->clearReceived();

    m_dialer->dial(Clipboard);

    QCOMPARE(MessageBoxes::shown().size(), 1);
    QCOMPARE(MessageBoxes::shown()[0].icon, MessageIcon::Information);
    QCOMPARE(MessageBoxes::shown()[0].text, message);
    QCOMPARE(redial.count(), 0);
    QCOMPARE(m_dialer->redialMemory().lastNumber, before.lastNumber);
    QCOMPARE(m_dialer->redialMemory().lastName, before.lastName);
    QVERIFY(m_host.statusTexts.isEmpty());
    QCOMPARE(m_visits.size(), 1);
    QVERIFY(m_modem->sync());
    QCOMPARE(m_modem->received(), QByteArray());
}

void TestDialer::clipboardNumbersAndRedial_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("national") << "089/123456"
                              << "4989123456" << QByteArray("ATDT123456;H\r");
    QTest::newRow("00 and own country") << "0049 30 1234"
                                        << "49301234" << QByteArray("ATDT0301234;H\r");
    QTest::newRow("plus, abroad") << "+1 212 555 0100"
                                  << "12125550100" << QByteArray("ATDT0012125550100;H\r");
    QTest::newRow("written trunk zero") << "+49 (0)89 / 12 34-56"
                                        << "4989123456" << QByteArray("ATDT123456;H\r");
    // The comma is a dial character: it stays, as a pause.
    QTest::newRow("in a sentence") << "Tel. 030 / 555-12, ab 9 Uhr"
                                   << "493055512,9" << QByteArray("ATDT03055512,9;H\r");
}

void TestDialer::clipboardNumbersAndRedial()
{
    QFETCH(QString, text);
    QFETCH(QString, remembered);
    QFETCH(QByteArray, line);
    m_clipboard.setText(text);

    m_dialer->dial(Clipboard);
    QCOMPARE(m_modem->received(), line);
    QCOMPARE(m_dialer->redialMemory().lastNumber, remembered);
    QCOMPARE(m_dialer->redialMemory().lastName, QString());
    QVERIFY(m_dialer->redialMemory().lastZeroFlag);

    // Redial uses the stored number, not whatever the clipboard holds now.
    m_clipboard.setText(QStringLiteral("0301111"));
    m_modem->clearReceived();
    m_dialer->dial(Redial);
    QCOMPARE(m_modem->received(), line);
    QCOMPARE(m_visits.size(), 2);
    QCOMPARE(m_visits[1].name, QString());
    QCOMPARE(m_visits[1].number, m_visits[0].number);
    QVERIFY(MessageBoxes::shown().isEmpty());
}

void TestDialer::requestsThatDialNothing()
{
    QSignalSpy redial(m_dialer.get(), &Dialer::redialAvailable);
    m_host.selected.reset();
    m_dialer->dial(SelectedEntry); // nothing selected: refused silently
    m_dialer->dial(Redial);        // nothing remembered yet
    QCOMPARE(MessageBoxes::shown().size(), 0);

    m_dialer->dial(DialMode(7));
    QCOMPARE(MessageBoxes::shown().size(), 1);
    QCOMPARE(MessageBoxes::shown()[0].icon, MessageIcon::None);
    QCOMPARE(MessageBoxes::shown()[0].text, QStringLiteral("Unknown mode in DIAL()"));

    QCOMPARE(redial.count(), 0);
    QVERIFY(m_host.statusTexts.isEmpty());
    QVERIFY(m_visits.isEmpty());
    QTest::qWait(20);
    QCOMPARE(m_modem->received(), QByteArray());
    QCOMPARE(m_beeps, 0);
}

void TestDialer::secondRequestIsRefusedWhileDialing()
{
    // Modem: the window is open and the tray asks for another dial.
    m_modem->setBehaviour(HayesSimulator::Silent);
    m_host.selected = PhoneEntry{QStringLiteral("Amt"), QStringLiteral("4989123456"), false};
    m_clipboard.setText(QStringLiteral("0301111"));
    whileWindowOpen([&](ProgressWindow *) { return m_modem->received().endsWith(";H\r"); },
                    [&](ProgressWindow *w) {
                        m_dialer->dial(Clipboard);
                        m_dialer->dial(Redial);
                        m_dialer->dial(SelectedEntry);
                        QTest::qWait(50);
                        w->abortButton()->click();
                    });
    m_dialer->dial(SelectedEntry);
    QVERIFY(!m_timedOut);
    QCOMPARE(m_beeps, 3);
    QCOMPARE(m_visits.size(), 1);
    QTRY_COMPARE(m_modem->received(), QByteArray("ATDT123456;H\r\r"));
    QCOMPARE(m_dialer->redialMemory().lastName, QStringLiteral("Amt"));

    // Loudspeaker: a request arriving between tones.
    m_host.options.dialDevice = Loudspeaker;
    m_tones.whilePlaying = [this] {
        QVERIFY(m_dialer->isDialing());
        m_dialer->dial(Clipboard);
    };
    m_dialer->dial(Redial);
    QCOMPARE(m_beeps, 4);
    QCOMPARE(m_tones.played.size(), 1);
    QVERIFY(!m_dialer->isDialing());

    // Once the dial is over, the next request goes through.
    m_tones.whilePlaying = nullptr;
    m_dialer->dial(Clipboard);
    QCOMPARE(m_tones.played.size(), 2);
    QCOMPARE(m_beeps, 4);
}

void TestDialer::loudspeakerPlaysTheCommandLine()
{
    // A modem dial first, so there is an answer the loudspeaker must leave alone.
    m_host.selected = PhoneEntry{QStringLiteral("Amt"), QStringLiteral("4989123456"), false};
    m_dialer->dial(SelectedEntry);
    const QString answer = m_link->modemAnswer();
    QVERIFY(!answer.isEmpty());
    m_modem->clearReceived();

    m_host.options.dialDevice = Loudspeaker;
    m_host.options.outsideLinePrefix = QStringLiteral("0,");
    m_host.options.pulseDialing = 1; // plays tones all the same
    bool busyWhilePlaying = true;
    m_tones.whilePlaying = [&] { busyWhilePlaying = QApplication::activeModalWidget() != nullptr; };
    m_dialer->dial(SelectedEntry);

    const QString snd = QStringLiteral("/opt/q/snd/");
    const QStringList expected = {snd + "0.WAV", snd + "pause2000.WAV", snd + "1.WAV", snd + "2.WAV",
                                  snd + "3.WAV", snd + "4.WAV",         snd + "5.WAV", snd + "6.WAV"};
    QCOMPARE(m_tones.played, QList<QStringList>{expected});
    QVERIFY(!busyWhilePlaying);
    QCOMPARE(m_visits.size(), 1); // only the modem dial showed the window
    QCOMPARE(m_host.statusTexts.last(), QStringLiteral("Wähle 0,123456"));
    QCOMPARE(m_link->modemAnswer(), answer);
    QTest::qWait(20);
    QCOMPARE(m_modem->received(), QByteArray());
    QVERIFY(MessageBoxes::shown().isEmpty());

    // Tones that cannot be heard are said so, not passed over in silence.
    m_tones.problem = QStringLiteral("Es ist kein Gerät für die Tonausgabe verfügbar.");
    m_dialer->dial(SelectedEntry);
    QCOMPARE(m_tones.played.size(), 2);
    QCOMPARE(MessageBoxes::shown().size(), 1);
    QCOMPARE(MessageBoxes::shown()[0].icon, MessageIcon::Warning);
    QCOMPARE(MessageBoxes::shown()[0].text, QStringLiteral("Die Wähltöne können nicht abgespielt werden.\n\n"
                                                           "Es ist kein Gerät für die Tonausgabe verfügbar."));
    QVERIFY(m_dialer->redialMemory().stored);
}

void TestDialer::dialGivenNumber()
{
    QSignalSpy redial(m_dialer.get(), &Dialer::redialAvailable);
    m_dialer->dialNumber(QStringLiteral("4930123456"));
    QCOMPARE(m_modem->received(), QByteArray("ATDT030123456;H\r"));
    QCOMPARE(redial.count(), 1);
    QCOMPARE(m_dialer->redialMemory().lastName, QString());
    QVERIFY(m_dialer->redialMemory().lastZeroFlag);

    m_modem->clearReceived();
    m_dialer->dialNumber(QStringLiteral("keine Nummer"));
    QTest::qWait(20);
    QCOMPARE(m_modem->received(), QByteArray());
    QCOMPARE(redial.count(), 1);
}

QTEST_MAIN(TestDialer)
#include "tst_dialer.moc"
