#include "dial/modemlink.h"
#include "dial/portdevicedialog.h"
#include "hayessimulator.h"
#include "memorysettingsstore.h"
#include "shownanswer.h"
#include "support/messagebox.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace quirlanto;

class TestModemLink : public QObject {
    Q_OBJECT

private slots:
    void init();

    void portChangeTakesEffectAtNextDial();
    void deviceDialogAssignsThePort();
    void portDevice_data();
    void portDevice();
    void portListToolTips();

    void sendsLineInOneWriteAndEndsOnOk_data();
    void sendsLineInOneWriteAndEndsOnOk();
    void resultWordsAreReported_data();
    void resultWordsAreReported();
    void answerIsBoundedOnANoisyLine();
    void abortSendsOneCarriageReturnAndCloses();
    void nothingIsReadAfterTheDialEnded();
    void missingDeviceFailsWithoutOpening();
    void nextDialClearsTheAnswerAndReopens();
    void vanishedDeviceClosesThePort();
    void showModemAnswer();
    void longAnswerScrollsWithinTheScreen();

private:
    MemorySettingsStore m_store;
};

void TestModemLink::init()
{
    m_store = MemorySettingsStore();
    MessageBoxes::setAutoAnswer(true);
    MessageBoxes::clearShown();
}

void TestModemLink::portDevice_data()
{
    QTest::addColumn<int>("comPort");
    QTest::addColumn<QString>("configured");
    QTest::addColumn<QString>("device");

    QTest::newRow("COM1 default") << 1 << QString() << "/dev/ttyS0";
    QTest::newRow("COM16 default") << 16 << QString() << "/dev/ttyS15";
    QTest::newRow("USB modem") << 3 << "/dev/ttyACM0"
                               << "/dev/ttyACM0";
    QTest::newRow("blanks around") << 2 << "  /dev/ttyUSB1 "
                                   << "/dev/ttyUSB1";
    QTest::newRow("empty value") << 4 << ""
                                 << "/dev/ttyS3";
}

void TestModemLink::portDevice()
{
    QFETCH(int, comPort);
    QFETCH(QString, configured);
    QFETCH(QString, device);
    if (!configured.isNull())
        m_store.setValue(QStringLiteral("Ports/COM%1").arg(comPort), configured);
    // Another port's entry must not leak into this one.
    m_store.setValue(QStringLiteral("Ports/COM%1").arg(comPort + 1), QStringLiteral("/dev/other"));
    QCOMPARE(quirlanto::portDevice(comPort, m_store), device);
}

void TestModemLink::portListToolTips()
{
    QComboBox ports;
    for (int i = 1; i <= 16; ++i)
        ports.addItem(QStringLiteral("COM%1").arg(i));
    m_store.setValue(QStringLiteral("Ports/COM2"), QStringLiteral("/dev/ttyACM0"));
    showPortDevicesAsToolTips(&ports, m_store);
    QCOMPARE(ports.itemData(0, Qt::ToolTipRole).toString(), QStringLiteral("/dev/ttyS0"));
    QCOMPARE(ports.itemData(1, Qt::ToolTipRole).toString(), QStringLiteral("/dev/ttyACM0"));
    QCOMPARE(ports.itemData(15, Qt::ToolTipRole).toString(), QStringLiteral("/dev/ttyS15"));
    QCOMPARE(ports.toolTip(), QStringLiteral("/dev/ttyS0"));
    ports.setCurrentIndex(1);
    QCOMPARE(ports.toolTip(), QStringLiteral("/dev/ttyACM0"));
}

void TestModemLink::sendsLineInOneWriteAndEndsOnOk_data()
{
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<QString>("answerContains");

    QTest::newRow("echo then OK") << int(HayesSimulator::EchoThenOk) << "ATDT0,030123456;H\r\r\nOK";
    QTest::newRow("OK in two reads") << int(HayesSimulator::OkInTwoReads) << "\r\nOK\r\n";
    QTest::newRow("lower-case ok") << int(HayesSimulator::LowerCaseOk) << "\r\nOK\r\n";
}

void TestModemLink::sendsLineInOneWriteAndEndsOnOk()
{
    QFETCH(int, behaviour);
    QFETCH(QString, answerContains);
    HayesSimulator modem{HayesSimulator::Behaviour(behaviour)};
    QVERIFY(modem.isValid());
    m_store.setValue(QStringLiteral("Ports/COM1"), modem.devicePath());

    ModemLink link(m_store);
    QSignalSpy ok(&link, &ModemLink::answeredOk);
    QVERIFY(link.dial(QStringLiteral("ATDT0,030123456;H\r"), 1));
    QVERIFY(link.isOpen());
    QTRY_COMPARE(ok.count(), 1);
    QVERIFY(!link.isOpen());
    QCOMPARE(modem.received(), QByteArray("ATDT0,030123456;H\r"));
    QVERIFY2(test::shownAnswer(link).contains(answerContains), qPrintable(test::shownAnswer(link)));
}

void TestModemLink::resultWordsAreReported_data()
{
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("busy") << QList<QByteArray>{"\r\nBUSY\r\n"} << QStringList{"BUSY"};
    QTest::newRow("lower-case error") << QList<QByteArray>{"\r\nerror\r\n"} << QStringList{"ERROR"};
    QTest::newRow("split word") << QList<QByteArray>{"\r\nNO DIAL", "TONE\r\n"} << QStringList{"NO DIALTONE"};
    QTest::newRow("two results") << QList<QByteArray>{"\r\nNO CARRIER\r\n", "\r\nNO ANSWER\r\n"}
                                 << QStringList{"NO CARRIER", "NO ANSWER"};
    QTest::newRow("plain text") << QList<QByteArray>{"RING\r\n", "CONNECT 2400\r\n"} << QStringList{};
}

void TestModemLink::resultWordsAreReported()
{
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(QStringList, words);
    HayesSimulator modem(HayesSimulator::Silent);
    m_store.setValue(QStringLiteral("Ports/COM2"), modem.devicePath());
    ModemLink link(m_store);
    QStringList seen;
    connect(&link, &ModemLink::resultWordReceived, this, [&](const QString &w) { seen.append(w); });
    QVERIFY(link.dial(QStringLiteral("ATDT1;H\r"), 2));
    QTRY_COMPARE(modem.received(), QByteArray("ATDT1;H\r"));

    QByteArray all;
    for (const QByteArray &piece : pieces) {
        modem.send(piece);
        all += piece;
        QTRY_COMPARE(test::shownAnswer(link), QString::fromLatin1(all).toUpper());
    }
    QCOMPARE(seen, words);
    // A failure word never ends the dial by itself: the user decides with "&Abbruch".
    QVERIFY(link.isOpen());
}

void TestModemLink::answerIsBoundedOnANoisyLine()
{
    HayesSimulator modem(HayesSimulator::Silent);
    m_store.setValue(QStringLiteral("Ports/COM1"), modem.devicePath());
    ModemLink link(m_store);
    QSignalSpy ok(&link, &ModemLink::answeredOk);
    QVERIFY(link.dial(QStringLiteral("ATDT1;H\r"), 1));
    const QByteArray noise(1000, 'x');
    for (int i = 0; i < 10; ++i) {
        modem.send(noise);
        QTest::qWait(5);
    }
    QTRY_COMPARE(test::shownAnswer(link).size(), ModemLink::kMaxAnswerLength);
    QCOMPARE(test::shownAnswer(link), QString(ModemLink::kMaxAnswerLength, QLatin1Char('X')));
    // The newest characters are kept, so an "O" at the end still pairs with a following "K".
    modem.send("O");
    QTest::qWait(50);
    modem.send("K");
    QTRY_COMPARE(ok.count(), 1);
    QVERIFY(test::shownAnswer(link).endsWith(QLatin1String("XOK")));
}

void TestModemLink::abortSendsOneCarriageReturnAndCloses()
{
    HayesSimulator modem(HayesSimulator::Silent);
    m_store.setValue(QStringLiteral("Ports/COM1"), modem.devicePath());
    ModemLink link(m_store);
    QVERIFY(link.dial(QStringLiteral("ATDT123;H\r"), 1));
    QTRY_COMPARE(modem.received(), QByteArray("ATDT123;H\r"));
    link.abort();
    QVERIFY(!link.isOpen());
    QVERIFY(modem.sync());
    QCOMPARE(modem.received(), QByteArray("ATDT123;H\r\r"));
    link.abort(); // a second abort finds the port closed and sends nothing
    QVERIFY(modem.sync());
    QCOMPARE(modem.received(), QByteArray("ATDT123;H\r\r"));
}

void TestModemLink::nothingIsReadAfterTheDialEnded()
{
    HayesSimulator modem(HayesSimulator::EchoThenOk);
    m_store.setValue(QStringLiteral("Ports/COM1"), modem.devicePath());
    ModemLink link(m_store);
    QSignalSpy ok(&link, &ModemLink::answeredOk);
    QVERIFY(link.dial(QStringLiteral("ATDT5;H\r"), 1));
    QTRY_COMPARE(ok.count(), 1);
    const QString answer = test::shownAnswer(link);
    modem.send("\r\nOK\r\nNO CARRIER\r\n");
    QTest::qWait(100);
    QCOMPARE(ok.count(), 1);
    QCOMPARE(test::shownAnswer(link), answer);
}

void TestModemLink::missingDeviceFailsWithoutOpening()
{
    m_store.setValue(QStringLiteral("Ports/COM3"), QStringLiteral("/nonexistent/ttyQ9"));
    ModemLink link(m_store);
    QSignalSpy lost(&link, &ModemLink::deviceLost);
    QVERIFY(!link.dial(QStringLiteral("ATDT1;H\r"), 3));
    QVERIFY(!link.isOpen());
    QCOMPARE(lost.count(), 0);

    // A file that is no serial device is refused too.
    QTemporaryFile plain;
    QVERIFY(plain.open());
    m_store.setValue(QStringLiteral("Ports/COM3"), plain.fileName());
    QVERIFY(!link.dial(QStringLiteral("ATDT1;H\r"), 3));
    QVERIFY(!link.isOpen());
    QCOMPARE(plain.size(), 0);
}

void TestModemLink::nextDialClearsTheAnswerAndReopens()
{
    HayesSimulator first(HayesSimulator::ErrorAnswer);
    HayesSimulator second(HayesSimulator::EchoThenOk);
    m_store.setValue(QStringLiteral("Ports/COM1"), first.devicePath());
    m_store.setValue(QStringLiteral("Ports/COM2"), second.devicePath());
    ModemLink link(m_store);
    QSignalSpy ok(&link, &ModemLink::answeredOk);
    QVERIFY(link.dial(QStringLiteral("ATDT1;H\r"), 1));
    QTRY_VERIFY(test::shownAnswer(link).contains(QLatin1String("ERROR")));
    QVERIFY(link.isOpen());

    QVERIFY(link.dial(QStringLiteral("ATDT2;H\r"), 2));
    QTRY_COMPARE(ok.count(), 1);
    QVERIFY(!test::shownAnswer(link).contains(QLatin1String("ERROR")));
    QCOMPARE(first.received(), QByteArray("ATDT1;H\r"));
    QCOMPARE(second.received(), QByteArray("ATDT2;H\r"));
}

void TestModemLink::vanishedDeviceClosesThePort()
{
    HayesSimulator modem(HayesSimulator::Silent);
    m_store.setValue(QStringLiteral("Ports/COM1"), modem.devicePath());
    ModemLink link(m_store);
    QSignalSpy lost(&link, &ModemLink::deviceLost);
    QVERIFY(link.dial(QStringLiteral("ATDT1;H\r"), 1));
    QTRY_COMPARE(modem.received(), QByteArray("ATDT1;H\r"));
    modem.disappear();
    QTRY_COMPARE(lost.count(), 1);
    QVERIFY(!link.isOpen());
    link.abort(); // nothing left to abort; must not fail or write
    QTest::qWait(50);
    QCOMPARE(lost.count(), 1);
}

void TestModemLink::showModemAnswer()
{
    ModemLink link(m_store);
    link.showModemAnswer(nullptr);
    QCOMPARE(MessageBoxes::shown().size(), 1);
    QCOMPARE(MessageBoxes::shown().last().icon, MessageIcon::Information);
    QCOMPARE(
        MessageBoxes::shown().last().text,
        QStringLiteral("Das Modem gab nach der letzten Anwahl folgende Zeichenkette zurück:\n\n(keine Rückmeldung)"));

    HayesSimulator modem(HayesSimulator::EchoThenOk);
    m_store.setValue(QStringLiteral("Ports/COM1"), modem.devicePath());
    QSignalSpy ok(&link, &ModemLink::answeredOk);
    QVERIFY(link.dial(QStringLiteral("atdt7;H\r"), 1));
    QTRY_COMPARE(ok.count(), 1);
    link.showModemAnswer(nullptr);
    QCOMPARE(MessageBoxes::shown().last().text,
             QStringLiteral("Das Modem gab nach der letzten Anwahl folgende Zeichenkette zurück:\n\n"
                            "ATDT7;H\r\r\nOK\r\n"));
}

void TestModemLink::portChangeTakesEffectAtNextDial()
{
    QTemporaryDir config;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    {
        QtSettingsStore store;
        QCOMPARE(quirlanto::portDevice(2, store), QStringLiteral("/dev/ttyS1"));
        // Edited by hand while the program runs.
        QDir().mkpath(config.filePath(QStringLiteral("MOLTARA Software")));
        QFile file(config.filePath(QStringLiteral("MOLTARA Software/Quirlanto.conf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Ports]\nCOM2=/dev/ttyACM3\n");
        file.close();
        QCOMPARE(quirlanto::portDevice(2, store), QStringLiteral("/dev/ttyACM3"));
    }
    qputenv("XDG_CONFIG_HOME", saved);
}

void TestModemLink::deviceDialogAssignsThePort()
{
    m_store.setValue(QStringLiteral("Ports/COM4"), QStringLiteral("/dev/ttyUSB1"));
    const QList<SerialDevice> devices{{"/dev/ttyUSB0", "Modem 56k", "Hersteller A", "0403:6001"},
                                      {"/dev/ttyUSB1", "USB Serial", "Hersteller B", "067b:2303"}};
    PortDeviceDialog dialog(2, devices, m_store);
    QTreeWidget *list = dialog.findChild<QTreeWidget *>(QStringLiteral("deviceList"));
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(1)->text(4), QStringLiteral("COM4")); // the assignment shows
    QCOMPARE(list->topLevelItem(0)->text(3), QStringLiteral("0403:6001"));
    list->setCurrentItem(list->topLevelItem(0));
    dialog.accept();
    QCOMPARE(quirlanto::portDevice(2, m_store), QStringLiteral("/dev/ttyUSB0"));
    QVERIFY(portFailureText(QStringLiteral("/dev/ttyUSB0"), QSerialPort::PermissionError, {}).contains(u"dialout"));
}

void TestModemLink::longAnswerScrollsWithinTheScreen()
{
    HayesSimulator modem(HayesSimulator::Silent);
    m_store.setValue(QStringLiteral("Ports/COM1"), modem.devicePath());
    ModemLink link(m_store);
    QVERIFY(link.dial(QStringLiteral("ATDT1;H\r"), 1));
    for (int i = 0; i < 40; ++i)
        modem.send(QByteArray("RING RING\r\n").repeated(10));
    QTRY_COMPARE(test::shownAnswer(link).size(), ModemLink::kMaxAnswerLength);

    MessageBoxes::setAutoAnswer(false);
    QRect shown;
    QString text;
    bool withIcon = false;
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(QApplication::activeModalWidget());
        QWidget *box = QApplication::activeModalWidget();
        shown = box->frameGeometry();
        const auto *icon = box->findChild<QLabel *>(QStringLiteral("messageIcon"));
        withIcon = icon && !icon->pixmap().isNull();
        if (const auto *view = box->findChild<QPlainTextEdit *>())
            text = view->toPlainText();
        box->close();
    });
    link.showModemAnswer(nullptr);
    MessageBoxes::setAutoAnswer(true);

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(shown.height() <= screen.height() && shown.width() <= screen.width(),
             qPrintable(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height())));
    QCOMPARE(text, QString(test::shownAnswer(link)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QVERIFY(withIcon);
}

QTEST_MAIN(TestModemLink)
#include "tst_modemlink.moc"
