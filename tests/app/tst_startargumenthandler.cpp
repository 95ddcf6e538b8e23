#include "app/startargumenthandler.h"
#include "dial/handoffecho.h"
#include "register/registerdocument.h"

#include "support/messagebox.h"

#include <QtTest>

using namespace quirlanto;

class TestStartArgumentHandler : public QObject {
    Q_OBJECT
private slots:
    void init();
    void laterStart_data();
    void laterStart();
    void ownStart_data();
    void ownStart();
    void callListArgument();
    void linkTextIsNotMarkup();
    void ownHandOffComingBackIsNotAskedAbout();
    void waitsForModalWindow();

private:
    void setUpHandler(StartArgumentHandler &handler);
    QTemporaryDir m_folder;
    RegisterDocument m_book{DataPaths::inDirectory(m_folder.path() + u'/')};
    int m_shows = 0;
    QStringList m_dialed;
};

void TestStartArgumentHandler::init()
{
    if (m_book.entries(2).isEmpty()) // own country 49, own area 89
        m_book.importEntries({{2, {"Schmidt, Anna", "4930123456", true}}});
    m_shows = 0;
    m_dialed.clear();
    MessageBoxes::clearShown();
    MessageBoxes::setAutoAnswer(true); // the default button: Nein
}

void TestStartArgumentHandler::setUpHandler(StartArgumentHandler &handler)
{
    handler.setRegister(&m_book);
    connect(&handler, &StartArgumentHandler::showWindowRequested, this, [this] { ++m_shows; });
    connect(&handler, &StartArgumentHandler::dialNumberRequested, this,
            [this](const QString &number) { m_dialed.append(number); });
    connect(&handler, &StartArgumentHandler::dialRequested, this,
            [this](DialMode mode) { m_dialed.append(QVariant::fromValue(mode).toString()); });
}

void TestStartArgumentHandler::laterStart_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("answer"); // 0: the default (Nein)
    QTest::addColumn<int>("shows");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("dialed");

    const QString question = QStringLiteral("Soll die Nummer +49 89 123456 gewählt werden?");
    QTest::newRow("no argument shows the window") << QStringList() << 0 << 1 << "" << QStringList();
    QTest::newRow("autostart any case") << QStringList{" /autostart "} << 0 << 0 << "" << QStringList();
    QTest::newRow("anything else shows") << QStringList{"/AUTOSTART", "x"} << 0 << 1 << "" << QStringList();
    QTest::newRow("tel: yes dials") << QStringList{"tel:+49-89-123456"} << int(QMessageBox::Yes) << 1 << question
                                    << QStringList{"4989123456"};
    QTest::newRow("number in the register")
        << QStringList{"tel:+49-30-123456"} << 0 << 1 << "Soll die Nummer +49 30123456 (Schmidt, Anna) gewählt werden?"
        << QStringList();
    QTest::newRow("tel: default is no") << QStringList{"tel:+49-89-123456"} << 0 << 1 << question << QStringList();
    QTest::newRow("local number like the clipboard")
        << QStringList{"tel:089/123456;phone-context=+49"} << int(QMessageBox::Yes) << 1 << question
        << QStringList{"4989123456"};
    QTest::newRow("service code refused") << QStringList{"tel:*21*0891234%23"} << int(QMessageBox::Yes) << 1
                                          << "Die Nummer „*21*0891234#“ enthält Zeichen wie * oder #, die Quirlanto "
                                             "nicht wählen kann."
                                          << QStringList();
    QTest::newRow("no number") << QStringList{"tel:hallo"} << int(QMessageBox::Yes) << 1
                               << "Der Link „tel:hallo“ enthält keine Telefonnummer." << QStringList();
    QTest::newRow("more digits than a question shows")
        << QStringList{"tel:+" + QString(20000, u'1')} << int(QMessageBox::Yes) << 1
        << "Der Link ist zu lang und wird nicht gewählt: Eine Telefonnummer hat höchstens 64 Ziffern." << QStringList();
    QGuiApplication::clipboard()->setText(QStringLiteral("Tel. 030 / 123456")); // offscreen: not marked, says so
    QTest::newRow("marked text") << QStringList{"/markierung"} << int(QMessageBox::Yes) << 1
                                 << "Es gibt hier keine Markierung; die Nummer stammt aus der Zwischenablage.\nSoll "
                                    "die Nummer +49 30123456 (Schmidt, Anna) gewählt werden?"
                                 << QStringList{"4930123456"};
    QTest::newRow("clipboard as the tray")
        << QStringList{"/Zwischenablage"} << 0 << 0 << "" << QStringList{"Clipboard"};
    QTest::newRow("redial as the tray") << QStringList{"/WAHLWIEDERHOLUNG"} << 0 << 0 << "" << QStringList{"Redial"};
}

void TestStartArgumentHandler::laterStart()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, answer);
    QFETCH(int, shows);
    QFETCH(QString, message);
    QFETCH(QStringList, dialed);
    StartArgumentHandler handler;
    setUpHandler(handler);
    if (answer)
        MessageBoxes::queueAnswer(QMessageBox::StandardButton(answer));

    handler.handleLaterStart(arguments);

    QCOMPARE(m_shows, shows);
    QCOMPARE(MessageBoxes::shown().size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QCOMPARE(MessageBoxes::shown().first().text, message);
    QCOMPARE(m_dialed, dialed);
}

void TestStartArgumentHandler::ownStart_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("questions");
    QTest::newRow("no argument: the start-up shows the window") << QStringList() << 0;
    QTest::newRow("autostart") << QStringList{"/AUTOSTART"} << 0;
    QTest::newRow("tel link") << QStringList{"TEL:+1-212-555-0100"} << 1;
}

void TestStartArgumentHandler::ownStart()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, questions);
    StartArgumentHandler handler;
    setUpHandler(handler);
    MessageBoxes::queueAnswer(QMessageBox::Yes);
    handler.handleOwnStart(arguments);
    QCOMPARE(MessageBoxes::shown().size(), questions);
    QCOMPARE(m_dialed.size(), questions);
    if (questions) {
        QCOMPARE(MessageBoxes::shown().first().text, QStringLiteral("Soll die Nummer +1 2125550100 gewählt werden?"));
        QCOMPARE(m_dialed.first(), QStringLiteral("12125550100"));
    }
}

// "/ANRUFLISTE" opens the call list in the running copy, whichever start brings it.
void TestStartArgumentHandler::callListArgument()
{
    StartArgumentHandler handler;
    setUpHandler(handler);
    QSignalSpy callList(&handler, &StartArgumentHandler::callListRequested);
    handler.handleLaterStart({" /anrufliste "});
    handler.handleOwnStart({"/ANRUFLISTE"});
    handler.handleLaterStart({"/ANRUFLISTE", "x"});
    QCOMPARE(callList.size(), 2);
    QCOMPARE(m_shows, 1);
}

void TestStartArgumentHandler::linkTextIsNotMarkup()
{
    StartArgumentHandler handler;
    setUpHandler(handler);
    handler.offerTelLink(QStringLiteral("tel:<img src=x>") + QString(200, u'1') + u'x');
    QCOMPARE(MessageBoxes::shown().size(), 1);
    const QString text = MessageBoxes::shown().first().text;
    QVERIFY(!text.contains(u'<'));
    QVERIFY(!text.contains(u'>'));
    QVERIFY(text.size() < 150);
    QVERIFY(m_dialed.isEmpty());
}

void TestStartArgumentHandler::ownHandOffComingBackIsNotAskedAbout()
{
    StartArgumentHandler handler;
    setUpHandler(handler);
    HandOffEcho::shared().handedOver("4989123456");
    MessageBoxes::queueAnswer(QMessageBox::Yes);
    handler.handleLaterStart({"tel:+49-89-123456"});
    QCOMPARE(MessageBoxes::shown().size(), 1);
    QCOMPARE(MessageBoxes::shown().first().text,
             "Der Link kommt von Quirlanto selbst zurück: Das eingerichtete Telefon-Programm ist Quirlanto. Bitte "
             "richten Sie ein anderes Telefon-Programm ein.");
    QVERIFY(m_dialed.isEmpty());
}

void TestStartArgumentHandler::waitsForModalWindow()
{
    // "Eintrag löschen" or the entry editor stays bound to the card it was opened on.
    QTemporaryFile file(QDir::tempPath() + "/XXXXXX.vcf");
    QVERIFY(file.open());
    StartArgumentHandler handler;
    QSignalSpy imports(&handler, &StartArgumentHandler::vCardFileRequested);
    QDialog dialog;
    dialog.setModal(true);
    dialog.show();
    handler.handleLaterStart({file.fileName()});
    QTest::qWait(300);
    QCOMPARE(imports.size(), 0);
    dialog.accept();
    QTRY_COMPARE(imports.size(), 1);
}

QTEST_MAIN(TestStartArgumentHandler)
#include "tst_startargumenthandler.moc"
