// Dialing through a stand-in router (boxstandin.py) over real HTTP with Digest, through the
// network module of the build folder. No session bus: the keyring cannot answer, so the password
// is asked for.
#include "../dial/dialfixture.h"
#include "dial/dialer.h"
#include "fakeclipboardsource.h"
#include "fixedclock.h"
#include "fritzbox/fritzboxdial.h"
#include "memorysettingsstore.h"
#include "support/messagebox.h"
#include "testsupportcore.h"

#include <QtTest>

using namespace quirlanto;

namespace {

// Runs the stand-in router; its log holds every authenticated action.
struct StandIn {
    QTemporaryDir dir;
    QProcess process;
    int port = 0;

    explicit StandIn(const QStringList &extra = {})
    {
        process.start("python3", QStringList{BOX_STANDIN, "--user", "quirl", "--password", "geheim", "--phones",
                                             "DECT: Mobilteil 1|FON1: Flur", "--current", "FON1: Flur", "--log",
                                             dir.filePath("log")}
                                     + extra);
        for (QDeadlineTimer deadline(10000); !process.canReadLine() && !deadline.hasExpired();)
            process.waitForReadyRead(int(deadline.remainingTime()));
        port = process.readLine().trimmed().split(' ').value(1).toInt();
    }
    ~StandIn() { test::stopProcess(process); }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(port); }
    QStringList log() const
    {
        const QString text = QString::fromUtf8(test::readFile(dir.filePath("log")));
        return text == "<missing>" ? QStringList() : text.split('\n', Qt::SkipEmptyParts);
    }
};

// "FRITZ!Box-Kennwort" answered from a list; an empty list is a cancel.
struct ScriptedPrompt final : BoxPasswordPrompt {
    QStringList answers;
    QList<bool> asked; // wrongBefore of each question
    void ask(bool wrongBefore, std::function<void(bool, const QString &)> answer) override
    {
        asked.append(wrongBefore);
        answers.isEmpty() ? answer(false, {}) : answer(true, answers.takeFirst());
    }
};

} // namespace

class TestFritzBoxDial : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { MessageBoxes::setAutoAnswer(true); }

    void nameClipboardAndRedialRingThePhone()
    {
        StandIn box;
        QVERIFY(box.port);
        MemorySettingsStore store;
        test::DialDocument doc;
        doc.book.setChoiceStore(&store);
        doc.book.setDialDevice(DialDevice::FritzBox);
        doc.book.setFritzBox({box.host(), "quirl", "DECT: Mobilteil 1"});
        doc.set([](Settings &s) { s.outsideLinePrefix = "0"; }); // the router is the line
        FritzBoxLink link(QUIRLANTO_PROGRAM_DIR);
        BoxPasswords passwords(QUIRLANTO_PROGRAM_DIR);
        ScriptedPrompt prompt;
        prompt.answers = {"falsch", "geheim"};
        passwords.setPrompt(&prompt);
        FritzBoxDial boxDial(
            link, passwords, [&doc] { return doc.book.fritzBox(); }, 1000);
        test::FakeDialView view;
        view.selected = PhoneEntry{"Muster", "4930123456", true};
        FakeClipboardSource clipboard;
        clipboard.setText("+33 1 23 45 67 89");
        FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(10, 0))};
        Dialer dialer(doc.book, view, clipboard, clock);
        dialer.setBackend(DialDevice::FritzBox, &boxDial);
        QSignalSpy progress(&boxDial, &DialBackend::progress);
        QSignalSpy listed(&dialer, &Dialer::dialed);

        // A wrong password first: asked again with the line that it was wrong. "Abbruch" hangs up.
        dialer.dial(DialMode::SelectedEntry);
        QCOMPARE(view.statusTexts.last(), QString("Wähle 030123456"));
        QTRY_COMPARE(progress.count(), 2);
        QCOMPARE(progress[0][0].toString(), "Verbindung zur FRITZ!Box …");
        QVERIFY2(progress[1][0].toString().contains("„DECT: Mobilteil 1“ klingelt"),
                 qPrintable(progress[1][0].toString()));
        QCOMPARE(prompt.asked, (QList<bool>{false, true}));
        dialer.cancel();
        QVERIFY(!dialer.isDialing());
        QCOMPARE(view.statusTexts.last(), QString("Anwahl abgebrochen."));
        QCOMPARE(listed.size(), 1); // the phone rang: a call, though cancelled
        QTRY_COMPARE(
            box.log(),
            (QStringList{"X_AVM-DE_DialGetConfig", "X_AVM-DE_DialSetConfig NewX_AVM-DE_PhoneName=DECT: Mobilteil 1",
                         "X_AVM-DE_DialNumber NewX_AVM-DE_PhoneNumber=030123456", "X_AVM-DE_DialHangup"}));

        // The password is kept for the run; the router's phone is right now. The dial ends by itself.
        for (const DialMode mode : {DialMode::Clipboard, DialMode::Redial}) {
            dialer.dial(mode);
            QCOMPARE(view.statusTexts.last(), QString("Wähle 0033123456789"));
            QTRY_VERIFY(!dialer.isDialing());
            QCOMPARE(
                box.log().mid(box.log().size() - 2),
                (QStringList{"X_AVM-DE_DialGetConfig", "X_AVM-DE_DialNumber NewX_AVM-DE_PhoneNumber=0033123456789"}));
        }
        QCOMPARE(prompt.asked.size(), 2);

        // The phone list and every check, as the set-up dialog sees them.
        const BoxAccess access{doc.book.fritzBox(), "geheim"};
        QStringList phones{"?"};
        link.listPhones(access, [&](const QStringList &list, const BoxProblem &) { phones = list; });
        QTRY_COMPARE(phones, (QStringList{"DECT: Mobilteil 1", "FON1: Flur"}));
        QList<BoxCheckLine> lines;
        std::optional<BoxProblem> checked;
        link.check(
            access, [&](const BoxCheckLine &line) { lines.append(line); },
            [&](const BoxProblem &problem) { checked = problem; });
        QTRY_VERIFY(checked);
        QVERIFY(checked->ok());
        QCOMPARE(lines.size(), 5);
        for (const BoxCheckLine &line : lines)
            QVERIFY2(line.ok, qPrintable(line.text));
    }

    void everyFailureNamesItsCause_data()
    {
        QTest::addColumn<QStringList>("standIn");
        QTest::addColumn<QString>("host"); // empty: the stand-in
        QTest::addColumn<QString>("phone");
        QTest::addColumn<QString>("cause");
        QTest::addColumn<int>("failingCheck"); // 0: every check passes
        const QString phone = "DECT: Mobilteil 1";
        QTest::newRow("name") << QStringList() << "nirgendwo.invalid" << phone << "lässt sich nicht auflösen" << 1;
        QTest::newRow("path") << QStringList() << "fritz.box/x?" << phone << "ist keine Adresse der FRITZ!Box" << 1;
        QTest::newRow("silent") << QStringList{"--silent"} << "" << phone << "keine Antwort innerhalb von 2 Sekunden"
                                << 1;
        QTest::newRow("refused") << QStringList() << "127.0.0.1:1" << phone << "„Zugriff für Anwendungen“" << 2;
        QTest::newRow("no X_VoIP") << QStringList{"--no-voip"} << "" << phone << "keinen Dienst X_VoIP" << 2;
        QTest::newRow("password") << QStringList{"--password", "anders"} << "" << phone
                                  << "„Sprachnachrichten, Faxnachrichten, FRITZ!App Fon und Anrufliste“" << 3;
        QTest::newRow("dialing help off")
            << QStringList{"--fault", "X_AVM-DE_DialGetConfig=501"} << "" << phone
            << "„Wählhilfe verwenden“, und wählen Sie dort ein Telefon. (UPnP-Fehler 501)" << 4;
        QTest::newRow("dial refused")
            << QStringList{"--fault", "X_AVM-DE_DialNumber=820"} << "" << phone
            << "Wählhilfe, „Wählhilfe verwenden“, und wählen Sie dort ein Telefon. (UPnP-Fehler 820)" << 0;
        QTest::newRow("no phone") << QStringList() << ""
                                  << ""
                                  << "unter „Einrichten …“" << 5;
        QTest::newRow("unknown phone") << QStringList() << ""
                                       << "Keller"
                                       << "„Keller“ steht nicht in der Liste der FRITZ!Box" << 5;
    }

    void everyFailureNamesItsCause()
    {
        QFETCH(QStringList, standIn);
        QFETCH(QString, host);
        QFETCH(QString, phone);
        QFETCH(QString, cause);
        QFETCH(int, failingCheck);
        StandIn box(standIn);
        QVERIFY(box.port);
        const FritzBoxSettings settings{host.isEmpty() ? box.host() : host, "quirl", phone};
        FritzBoxLink link(QUIRLANTO_PROGRAM_DIR);
        link.setTimeoutMs(2000);
        BoxPasswords passwords(QUIRLANTO_PROGRAM_DIR);
        ScriptedPrompt prompt;
        prompt.answers = {"geheim"};
        passwords.setPrompt(&prompt);
        FritzBoxDial dial(link, passwords, [&] { return settings; });
        std::optional<DialResult> result;
        connect(&dial, &DialBackend::finished, this, [&](const DialResult &r) { result = r; });
        QSignalSpy reached(&dial, &DialBackend::lineReached);
        dial.start({"Muster",
                    "4930123456",
                    {},
                    PreparedNumber{"30123456", "0049", DistanceClass::Abroad, "+4930123456"},
                    {},
                    1});
        QTRY_VERIFY_WITH_TIMEOUT(result, 15000);
        QCOMPARE(result->kind, DialResult::Kind::Failed);
        QVERIFY2(result->message.contains(cause), qPrintable(result->message));
        QCOMPARE(reached.size(), 0); // nothing for the call list

        // "Verbindung prüfen" stops at the first failing step with the same cause.
        QList<BoxCheckLine> lines;
        std::optional<BoxProblem> checked;
        link.check(
            {settings, "geheim"}, [&](const BoxCheckLine &line) { lines.append(line); },
            [&](const BoxProblem &problem) { checked = problem; });
        QTRY_VERIFY_WITH_TIMEOUT(checked, 15000);
        QCOMPARE(lines.size(), failingCheck ? failingCheck : 5);
        for (int i = 0; i + 1 < lines.size(); ++i)
            QVERIFY2(lines[i].ok, qPrintable(lines[i].text));
        QCOMPARE(lines.last().ok, failingCheck == 0);
        if (failingCheck)
            QVERIFY2(lines.last().text.contains(cause), qPrintable(lines.last().text));
    }
};

QTEST_MAIN(TestFritzBoxDial)
#include "tst_fritzboxdial.moc"
