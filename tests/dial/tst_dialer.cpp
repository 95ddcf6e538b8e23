// The dial pipeline over a real modem link (a simulated modem on a pseudo-terminal) and a
// recording tone output: what is taken, prepared, shown, sent and remembered, and that nothing
// waits on the way.
#include "dial/clipboardsource.h"
#include "dial/dialer.h"
#include "dial/modemdial.h"
#include "dial/modemlink.h"
#include "dial/progresswindow.h"
#include "dial/tonedial.h"
#include "dial/toneplayer.h"
#include "dialfixture.h"
#include "fakeclipboardsource.h"
#include "fixedclock.h"
#include "hayessimulator.h"
#include "memorysettingsstore.h"
#include "shownanswer.h"
#include "support/clock.h"
#include "support/messagebox.h"
#include "support/settingsstore.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace quirlanto;

namespace {

// Plays nothing; a dial ends when the test says so, or on the next turn of the event loop.
class RecordingToneOutput final : public ToneOutput {
public:
    void play(const QStringList &paths, std::function<void(const QString &)> done) override
    {
        played.append(paths);
        m_done = std::move(done);
        if (!hold)
            QTimer::singleShot(0, [this] { finish(); });
    }
    void stop() override
    {
        ++stops;
        m_done = nullptr;
    }
    void finish()
    {
        if (const auto done = std::exchange(m_done, nullptr))
            done(problem);
    }
    QString problem;
    QList<QStringList> played;
    bool hold = false;
    int stops = 0;

private:
    std::function<void(const QString &)> m_done;
};

} // namespace

class TestDialer : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void commandLines_data();
    void commandLines();
    void windowStaysUntilOk();
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
    // Starts a dial and waits until it has ended.
    void dialAndWait(DialMode mode);
    ProgressWindow *window() const { return m_view->parent.findChild<ProgressWindow *>(); }
    QString label(const char *name) const { return window()->findChild<QLabel *>(QString::fromLatin1(name))->text(); }

    std::unique_ptr<test::DialDocument> m_doc;
    std::unique_ptr<test::FakeDialView> m_view;
    FakeClipboardSource m_clipboard;
    MemorySettingsStore m_ports;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 8), QTime(10, 0))};
    RecordingToneOutput m_tones;
    std::unique_ptr<HayesSimulator> m_modem;
    std::unique_ptr<ModemLink> m_link;
    std::unique_ptr<ModemDial> m_modemDial;
    std::unique_ptr<ToneDial> m_toneDial;
    std::unique_ptr<Dialer> m_dialer;
    // Name and number the window "Anwahl" showed, each time it opened.
    QList<QStringList> m_shown;
};

void TestDialer::init()
{
    m_doc = std::make_unique<test::DialDocument>();
    m_view = std::make_unique<test::FakeDialView>();
    m_clipboard.clear();
    m_ports = MemorySettingsStore();
    m_tones = RecordingToneOutput();
    m_shown.clear();
    MessageBoxes::setAutoAnswer(true);
    MessageBoxes::clearShown();
    m_modem = std::make_unique<HayesSimulator>(HayesSimulator::EchoThenOk);
    QVERIFY(m_modem->isValid());
    m_ports.setValue(QStringLiteral("Ports/COM1"), m_modem->devicePath());
    m_link = std::make_unique<ModemLink>(m_ports);
    m_modemDial = std::make_unique<ModemDial>(*m_link);
    m_toneDial = std::make_unique<ToneDial>(m_tones, QStringLiteral("/opt/q/"));
    m_dialer = std::make_unique<Dialer>(m_doc->book, *m_view, m_clipboard, m_clock);
    m_dialer->setBackend(DialDevice::Modem, m_modemDial.get());
    m_dialer->setBackend(DialDevice::Loudspeaker, m_toneDial.get());
}

void TestDialer::cleanup()
{
    m_dialer.reset();
    m_modemDial.reset();
    m_link.reset();
    m_modem.reset();
    QTRY_VERIFY(!QApplication::activeModalWidget());
}

void TestDialer::dialAndWait(DialMode mode)
{
    QSignalSpy ended(m_dialer.get(), &Dialer::dialEnded);
    m_dialer->dial(mode);
    if (window())
        m_shown.append({label("nameLabel"), label("numberLabel")});
    if (m_dialer->isDialing())
        QVERIFY(ended.wait(5000));
}

void TestDialer::commandLines_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("zeroFlag");
    QTest::addColumn<QString>("extra");
    QTest::addColumn<QString>("outside");
    QTest::addColumn<int>("pulse");
    QTest::addColumn<QString>("handover");
    QTest::addColumn<bool>("providers");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("display");

    QTest::newRow("long distance, outside line")
        << "4930123456" << true << ""
        << "0," << 0 << "" << false << QByteArray("ATDT0,030123456;H\r") << "Wähle 0,030123456"
        << "030123456";
    QTest::newRow("long distance, zero flag off")
        << "4930123456" << false << ""
        << "" << 0 << "" << false << QByteArray("ATDT30123456;H\r") << "Wähle 30123456"
        << "30123456";
    QTest::newRow("pulse drops the handover")
        << "4989123456" << false << ""
        << "" << 1 << "22" << false << QByteArray("ATDP123456;H\r") << "Wähle 123456"
        << "123456";
    QTest::newRow("tone with handover") << "4989123456" << false << ""
                                        << "" << 0 << "22" << false << QByteArray("ATDT123456,!,22;H\r")
                                        << "Wähle 123456,!,22"
                                        << "123456";
    QTest::newRow("digits of extra commands in the status")
        << "4989123456" << false << "M1L3"
        << "0," << 0 << "" << false << QByteArray("ATM1L3DT0,123456;H\r") << "Wähle 130,123456"
        << "123456";
    QTest::newRow("provider, abroad") << "12125550100" << false << ""
                                      << "" << 0 << "" << true << QByteArray("ATDT010130012125550100;H\r")
                                      << "Wähle 010130012125550100"
                                      << "+12125550100";
    QTest::newRow("number written with blanks") << "49 89 12-34" << true << ""
                                                << "" << 0 << "" << false << QByteArray("ATDT1234;H\r") << "Wähle 1234"
                                                << "1234";
}

void TestDialer::commandLines()
{
    QFETCH(QString, number);
    QFETCH(bool, zeroFlag);
    QFETCH(QString, extra);
    QFETCH(QString, outside);
    QFETCH(int, pulse);
    QFETCH(QString, handover);
    QFETCH(bool, providers);
    QFETCH(QByteArray, line);
    QFETCH(QString, status);
    QFETCH(QString, display);
    m_doc->set([&](Settings &s) {
        s.extraModemCommands = extra;
        s.outsideLinePrefix = outside;
        s.dialMethod = pulse ? DialMethod::Pulse : DialMethod::Tone;
        s.handoverEnabled = !handover.isEmpty();
        s.handoverNumber = handover;
    });
    ProviderTable table;
    table.providersEnabled = providers;
    table.addProviderRow(QStringLiteral("Sparfon"), QStringLiteral("01013"), 1, 1, 0, 24, 1, 1, 1);
    m_doc->book.setProviders(table);
    m_view->selected = PhoneEntry{QStringLiteral("Erika Muster"), number, zeroFlag};

    dialAndWait(DialMode::SelectedEntry);

    QCOMPARE(m_modem->received(), line);
    QCOMPARE(m_view->statusTexts, QStringList{status});
    QCOMPARE(m_shown, (QList<QStringList>{{QStringLiteral("Erika Muster"), display}}));
    QVERIFY(MessageBoxes::shown().isEmpty());
}

// dial() returns at once; the window "Anwahl" is modal to the main window until the modem says OK.
void TestDialer::windowStaysUntilOk()
{
    m_modem->setBehaviour(HayesSimulator::Silent);
    m_view->selected = PhoneEntry{QStringLiteral("Amt"), QStringLiteral("4989123456"), false};
    QSignalSpy ended(m_dialer.get(), &Dialer::dialEnded);
    m_dialer->dial(DialMode::SelectedEntry);

    QVERIFY(m_dialer->isDialing());
    ProgressWindow *w = window();
    QVERIFY(w);
    QCOMPARE(w->windowModality(), Qt::WindowModal);
    QCOMPARE(w->windowTitle(), QStringLiteral("Anwahl"));
    QCOMPARE(label("headingLabel"), QStringLiteral(" Anwahl läuft ... "));
    QCOMPARE(w->findChild<QPushButton *>(QStringLiteral("abortButton"))->text(), QStringLiteral("&Abbruch"));
    QTRY_COMPARE(m_modem->received(), QByteArray("ATDT123456;H\r"));
    QVERIFY(window()->isVisible());
    QCOMPARE(ended.size(), 0);

    m_modem->send("OK\r\n");
    QVERIFY(ended.wait(5000));
    QVERIFY(!m_dialer->isDialing());
    QTRY_VERIFY(!window());
    QVERIFY(!m_link->isOpen());
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
    m_view->selected = PhoneEntry{QStringLiteral("Amt"), QStringLiteral("4989123456"), false};
    QSignalSpy ended(m_dialer.get(), &Dialer::dialEnded);
    m_dialer->dial(DialMode::SelectedEntry);
    QTRY_COMPARE(m_modem->received(), QByteArray("ATDT123456;H\r"));
    QTRY_COMPARE(label("resultLabel"), shown);
    QVERIFY(m_link->isOpen()); // a failure word does not end the dial

    if (escape)
        QTest::keyClick(window(), Qt::Key_Escape);
    else
        window()->findChild<QPushButton *>(QStringLiteral("abortButton"))->click();
    QCOMPARE(ended.size(), 1); // at once, not when the modem gets round to it
    QVERIFY(!m_link->isOpen());
    QTRY_COMPARE(m_modem->received(), QByteArray("ATDT123456;H\r\r"));
    QTRY_VERIFY(!window());
    QVERIFY(MessageBoxes::shown().isEmpty());
    QCOMPARE(m_view->statusTexts.last(), QStringLiteral("Anwahl abgebrochen."));
}

void TestDialer::missingDeviceThenRedial()
{
    m_doc->set([](Settings &s) { s.comPort = 3; });
    m_ports.setValue(QStringLiteral("Ports/COM3"), QStringLiteral("/nonexistent/ttyQ3"));
    m_clipboard.setText(QStringLiteral("089/123456"));
    QSignalSpy redial(m_dialer.get(), &Dialer::redialAvailable);

    dialAndWait(DialMode::Clipboard);

    QCOMPARE(MessageBoxes::shown().size(), 1);
    QCOMPARE(MessageBoxes::shown()[0].icon, MessageIcon::Critical);
    QCOMPARE(MessageBoxes::shown()[0].text, QStringLiteral("Der angegebene Anschluß COM3 ist nicht verfügbar.\n\n"
                                                           "Gerät /nonexistent/ttyQ3: Das Gerät gibt es nicht."));
    QCOMPARE(m_view->optionsCardShown, 1);
    QVERIFY(m_shown.isEmpty());
    QCOMPARE(m_view->statusTexts.first(), QStringLiteral("Wähle 123456"));
    QCOMPARE(m_view->statusTexts.last(), "Anwahl fehlgeschlagen: Der angegebene Anschluß COM3 ist nicht verfügbar.");
    QCOMPARE(redial.count(), 1);
    QVERIFY(!m_dialer->isDialing());

    // The user corrects the port; redial goes through.
    m_ports.setValue(QStringLiteral("Ports/COM3"), m_modem->devicePath());
    m_clipboard.clear();
    dialAndWait(DialMode::Redial);
    QCOMPARE(m_modem->received(), QByteArray("ATDT123456;H\r"));
    QCOMPARE(m_shown, (QList<QStringList>{{QString(), QStringLiteral("123456")}}));
    QCOMPARE(MessageBoxes::shown().size(), 1);
}

void TestDialer::vanishedDeviceEndsTheDial()
{
    m_modem->setBehaviour(HayesSimulator::Silent);
    m_view->selected = PhoneEntry{QStringLiteral("Amt"), QStringLiteral("4989123456"), false};
    QSignalSpy ended(m_dialer.get(), &Dialer::dialEnded);
    m_dialer->dial(DialMode::SelectedEntry);
    QTRY_COMPARE(m_modem->received(), QByteArray("ATDT123456;H\r"));
    m_modem->disappear();

    QVERIFY(ended.wait(5000));
    QVERIFY(!m_link->isOpen());
    QTRY_VERIFY(!window());
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
    m_view->selected = PhoneEntry{QStringLiteral("Amt"), QStringLiteral("4989123456"), false};
    dialAndWait(DialMode::SelectedEntry); // something to remember
    QSignalSpy redial(m_dialer.get(), &Dialer::redialAvailable);
    m_view->statusTexts.clear();
    m_modem->clearReceived();

    dialAndWait(DialMode::Clipboard);

    QCOMPARE(MessageBoxes::shown().size(), 1);
    QCOMPARE(MessageBoxes::shown()[0].icon, MessageIcon::Information);
    QCOMPARE(MessageBoxes::shown()[0].text, message);
    QCOMPARE(redial.count(), 0);
    QVERIFY(m_view->statusTexts.isEmpty());
    QVERIFY(m_modem->sync());
    QCOMPARE(m_modem->received(), QByteArray());
    // The redial memory is what it was.
    dialAndWait(DialMode::Redial);
    QCOMPARE(m_shown.last(), (QStringList{QStringLiteral("Amt"), QStringLiteral("123456")}));
}

void TestDialer::clipboardNumbersAndRedial_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("national") << "089/123456" << QByteArray("ATDT123456;H\r");
    QTest::newRow("00 and own country") << "0049 30 1234" << QByteArray("ATDT0301234;H\r");
    QTest::newRow("plus, abroad") << "+1 212 555 0100" << QByteArray("ATDT0012125550100;H\r");
    QTest::newRow("written trunk zero") << "+49 (0)89 / 12 34-56" << QByteArray("ATDT123456;H\r");
    QTest::newRow("local, with words") << "Tel. 12 34 56" << QByteArray("ATDT123456;H\r");
    // The comma is a dial character: it stays, as a pause.
    QTest::newRow("in a sentence") << "Tel. 030 / 555-12, ab 9 Uhr" << QByteArray("ATDT03055512,9;H\r");
}

void TestDialer::clipboardNumbersAndRedial()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, line);
    m_clipboard.setText(text);

    dialAndWait(DialMode::Clipboard);
    QCOMPARE(m_modem->received(), line);

    // Redial uses the stored number, anonymous and with the zero flag on, not whatever the
    // clipboard holds now.
    m_clipboard.setText(QStringLiteral("0301111"));
    m_modem->clearReceived();
    dialAndWait(DialMode::Redial);
    QCOMPARE(m_modem->received(), line);
    QCOMPARE(m_shown.size(), 2);
    QCOMPARE(m_shown[1], m_shown[0]);
    QCOMPARE(m_shown[1].first(), QString());
    QVERIFY(MessageBoxes::shown().isEmpty());
}

void TestDialer::requestsThatDialNothing()
{
    QSignalSpy redial(m_dialer.get(), &Dialer::redialAvailable);
    m_view->selected.reset();
    m_dialer->dial(DialMode::SelectedEntry); // nothing selected: refused silently
    m_dialer->dial(DialMode::Redial);        // nothing remembered yet
    QCOMPARE(MessageBoxes::shown().size(), 0);
    QCOMPARE(m_view->statusTexts, QStringList{"Für die Wahlwiederholung wurde noch keine Nummer gewählt."});

    m_dialer->dial(DialMode(7));
    QCOMPARE(MessageBoxes::shown().size(), 1);
    QCOMPARE(MessageBoxes::shown()[0].icon, MessageIcon::None);
    QCOMPARE(MessageBoxes::shown()[0].text, QStringLiteral("Unknown mode in DIAL()"));
    QCOMPARE(redial.count(), 0);
    QCOMPARE(m_view->statusTexts.size(), 1);
    QVERIFY(!m_dialer->isDialing());
    QVERIFY(m_modem->sync());
    QCOMPARE(m_modem->received(), QByteArray());
}

void TestDialer::secondRequestIsRefusedWhileDialing()
{
    // Modem: the window is open and the tray asks for another dial.
    m_modem->setBehaviour(HayesSimulator::Silent);
    m_view->selected = PhoneEntry{QStringLiteral("Amt"), QStringLiteral("4989123456"), false};
    m_clipboard.setText(QStringLiteral("0301111"));
    m_dialer->dial(DialMode::SelectedEntry);
    QSignalSpy redial(m_dialer.get(), &Dialer::redialAvailable);
    m_dialer->dial(DialMode::Clipboard);
    m_dialer->dialNumber(QStringLiteral("4930222"));
    QCOMPARE(redial.count(), 0);
    QCOMPARE(m_view->parent.findChildren<ProgressWindow *>().size(), 1);
    m_dialer->cancel();
    QTRY_COMPARE(m_modem->received(), QByteArray("ATDT123456;H\r\r"));

    // Loudspeaker: a request while the tones play.
    m_doc->book.setDialDevice(DialDevice::Loudspeaker);
    m_tones.hold = true;
    m_dialer->dial(DialMode::Redial);
    m_dialer->dial(DialMode::Clipboard);
    QCOMPARE(m_tones.played.size(), 1);
    m_tones.finish();
    QVERIFY(!m_dialer->isDialing());
    // Once the dial is over, the next request goes through.
    m_dialer->dial(DialMode::Clipboard);
    QCOMPARE(m_tones.played.size(), 2);
}

void TestDialer::loudspeakerPlaysTheCommandLine()
{
    // A modem dial first, so there is an answer the loudspeaker must leave alone.
    m_view->selected = PhoneEntry{QStringLiteral("Amt"), QStringLiteral("4989123456"), false};
    dialAndWait(DialMode::SelectedEntry);
    const QString answer = test::shownAnswer(*m_link);
    QVERIFY(answer.endsWith(QLatin1String("OK\r\n")));
    MessageBoxes::clearShown();
    m_modem->clearReceived();

    m_doc->book.setDialDevice(DialDevice::Loudspeaker);
    m_doc->set([](Settings &s) {
        s.outsideLinePrefix = QStringLiteral("0,");
        s.dialMethod = DialMethod::Pulse; // plays tones all the same
        s.extraModemCommands = QStringLiteral("M1"); // the modem's: no tone
    });
    QSignalSpy listed(m_dialer.get(), &Dialer::dialed); // for the call list: only a dial that went out
    m_tones.hold = true;
    m_dialer->dial(DialMode::SelectedEntry);
    QVERIFY(m_dialer->isDialing());
    QVERIFY(!QApplication::activeModalWidget());
    m_tones.finish();
    QVERIFY(!m_dialer->isDialing());

    const QString snd = QStringLiteral("/opt/q/snd/");
    const QStringList expected = {snd + "0.WAV", snd + "pause2000.WAV", snd + "1.WAV", snd + "2.WAV",
                                  snd + "3.WAV", snd + "4.WAV",         snd + "5.WAV", snd + "6.WAV"};
    QCOMPARE(m_tones.played, QList<QStringList>{expected});
    QCOMPARE(m_shown.size(), 1); // only the modem dial showed the window
    QCOMPARE(m_view->statusTexts.last(), QStringLiteral("Wähle 0,123456"));
    QCOMPARE(test::shownAnswer(*m_link), answer);
    MessageBoxes::clearShown();
    QVERIFY(m_modem->sync());
    QCOMPARE(m_modem->received(), QByteArray());
    QVERIFY(MessageBoxes::shown().isEmpty());

    // Ending the program stops the tones at once.
    m_dialer->dial(DialMode::SelectedEntry);
    m_dialer->cancel();
    QCOMPARE(m_tones.stops, 1);
    QVERIFY(!m_dialer->isDialing());

    // Tones that cannot be heard are said so, not passed over in silence.
    m_tones.hold = false;
    m_tones.problem = QStringLiteral("Es ist kein Gerät für die Tonausgabe verfügbar.");
    dialAndWait(DialMode::SelectedEntry);
    QCOMPARE(MessageBoxes::shown().size(), 1);
    QCOMPARE(MessageBoxes::shown()[0].icon, MessageIcon::Warning);
    QCOMPARE(MessageBoxes::shown()[0].text, QStringLiteral("Die Wähltöne können nicht abgespielt werden.\n\n"
                                                           "Es ist kein Gerät für die Tonausgabe verfügbar."));
    QCOMPARE(listed.size(), 1); // the played one; not the cancelled, not the unheard
}

void TestDialer::dialGivenNumber()
{
    QSignalSpy redial(m_dialer.get(), &Dialer::redialAvailable);
    m_dialer->dialNumber(QStringLiteral("4930123456"));
    QTRY_COMPARE(m_modem->received(), QByteArray("ATDT030123456;H\r"));
    QTRY_VERIFY(!m_dialer->isDialing());
    QCOMPARE(redial.count(), 1);

    m_modem->clearReceived();
    m_dialer->dialNumber(QStringLiteral("keine Nummer"));
    QVERIFY(m_modem->sync());
    QCOMPARE(m_modem->received(), QByteArray());
    QCOMPARE(redial.count(), 1);
}

QTEST_MAIN(TestDialer)
#include "tst_dialer.moc"
