// A call from the router's monitor to the notification, the call list and the call back: the
// stand-in monitor, a recording notification service on a private session bus, the network
// module, a real call list file and a recording phone program.
#include "calls/callsession.h"
#include "calls/callstore.h"
#include "calls/networkconnections.h"
#include "dial/dialer.h"
#include "dial/phoneprogram.h"
#include "dialfixture.h"
#include "fakeclipboardsource.h"
#include "fixedclock.h"
#include "memorysettingsstore.h"
#include "support/messagebox.h"
#include "telhandlerhome.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QtTest>

using namespace quirlanto;

class TestCallStory : public QObject {
    Q_OBJECT

    test::TelHandlerHome m_home;
    QProcess m_notifications;
    QProcess m_monitor;
    QTemporaryDir m_dir;
    int m_port = 0;

    QString notifyLog() const
    {
        QFile log(m_dir.filePath("notify.log"));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }
    void send(const QByteArray &line) { m_monitor.write(line + '\n'); }
    int monitorClients()
    {
        send("#clients");
        // The answer may come in pieces: a lone "1" without its line end is not yet an answer.
        while (!m_monitor.canReadLine())
            if (!m_monitor.waitForReadyRead(2000))
                return -1;
        return m_monitor.readLine().trimmed().toInt();
    }

private slots:
    void initTestCase()
    {
        m_home.enter();
        MessageBoxes::setAutoAnswer(true);
        if (qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS").isEmpty())
            QSKIP("needs a private session bus (dbus-run-session)");
        const QString python = QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
        m_notifications.start(
            python, {"-m", "dbusmock", "--template", "notification_daemon", "-l", m_dir.filePath("notify.log")});
        QTRY_VERIFY_WITH_TIMEOUT(
            QDBusConnection::sessionBus().interface()->isServiceRegistered("org.freedesktop.Notifications"), 10000);
        m_monitor.start(python, {QUIRLANTO_CALLS_TEST_DIR "/monitorstandin.py"});
        QTRY_VERIFY_WITH_TIMEOUT(m_monitor.canReadLine(), 10000);
        m_port = m_monitor.readLine().trimmed().toInt();
        QVERIFY(m_port > 0);
    }
    void cleanupTestCase()
    {
        m_monitor.kill();
        m_notifications.kill();
        m_monitor.waitForFinished();
        m_notifications.waitForFinished();
    }

    void missedCallIsNotifiedListedAndCalledBack()
    {
        m_home.install("telefon.desktop", 0);
        MemorySettingsStore store;
        test::DialDocument doc;
        doc.book.setChoiceStore(&store);
        doc.set([](Settings &s) { s.ownAreaCode = "30"; });
        doc.book.storeEntry(1, std::nullopt, {"Erika Müller", "4930123456", true});
        doc.book.setDialDevice(DialDevice::PhoneProgram);
        doc.book.setPhoneProgram("telefon.desktop");
        FritzBoxSettings box;
        box.host = "127.0.0.1:49000";
        box.callMonitor = true;
        box.monitorPort = m_port;
        doc.book.setFritzBox(box);

        test::FakeDialView view;
        FakeClipboardSource clipboard;
        FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(10, 0))};
        Dialer dialer(doc.book, view, clipboard, clock);
        PhoneProgramDial phoneProgram(1000);
        dialer.setBackend(DialDevice::PhoneProgram, &phoneProgram);
        QStringList fallback;
        CallSession calls(
            doc.book, m_dir.filePath(kCallListFileName), networkLineConnections(QUIRLANTO_PROGRAM_DIR),
            [&](const QString &summary, const QString &) { fallback.append(summary); }, &view.parent);
        connect(&calls, &CallSession::callBackRequested, &dialer, &Dialer::dialNumberFor);
        connect(&dialer, &Dialer::dialed, &calls, &CallSession::recordDial);
        calls.startMonitor();
        QTRY_COMPARE(monitorClients(), 1);

        send("08.12.26 10:00:00;RING;0;030123456;987654;SIP0;");
        QTRY_VERIFY2(notifyLog().contains("\"Anruf von Erika Müller\" \"Angerufen: 987654\nKarte „Büro 2“\""),
                     qPrintable(notifyLog()));
        send("08.12.26 10:00:20;DISCONNECT;0;0;");
        QTRY_VERIFY2(notifyLog().contains("Notify \"Quirlanto\" 1 \"quirlanto\" \"Verpasster Anruf von Erika Müller\" "
                                          "\"Angerufen: 987654, 08.12.2026 um 10:00 Uhr\nKarte „Büro 2“\""),
                     qPrintable(notifyLog()));
        CallStore list(m_dir.filePath(kCallListFileName));
        QTRY_COMPARE(list.latest(5).size(), 1);
        const CallRecord missed = list.latest(1).first();
        QCOMPARE(missed.kind, CallRecord::Kind::Missed);
        QCOMPARE(missed.number, "4930123456");
        QCOMPARE(missed.name, "Erika Müller");

        QDBusMessage action =
            QDBusMessage::createMethodCall("org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                                           "org.freedesktop.DBus.Mock", "EmitSignal");
        action << "org.freedesktop.Notifications"
               << "ActionInvoked"
               << "us" << QVariantList{uint(1), QStringLiteral("callback")};
        QCOMPARE(QDBusConnection::sessionBus().call(action).type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE_WITH_TIMEOUT(m_home.recorded(), "tel:+4930123456\n", 15000); // a loaded machine starts it slowly
        QTRY_COMPARE(list.latest(5).size(), 2);
        const CallRecord dialed = list.latest(1).first();
        QCOMPARE(dialed.kind, CallRecord::Kind::Dialed);
        QCOMPARE(dialed.name, "Erika Müller");
        QCOMPARE(dialed.device, "Telefon-Programm");

        // "Anrufe anzeigen" switched off: the connection goes.
        box.callMonitor = false;
        doc.book.setFritzBox(box);
        QTRY_COMPARE(monitorClients(), 0);
        QVERIFY(fallback.isEmpty());
        QVERIFY(MessageBoxes::shown().isEmpty());
    }

    // A lost connection is made again after a pause that doubles, and that starts short again
    // once the connection has brought a line.
    void lostConnectionIsMadeAgain()
    {
        CallMonitor monitor(networkLineConnections(QUIRLANTO_PROGRAM_DIR));
        monitor.setFirstPauseMs(100);
        QSignalSpy lost(&monitor, &CallMonitor::connectionLost);
        QSignalSpy calls(&monitor, &CallMonitor::callUpdated);
        monitor.start("127.0.0.1", m_port);
        QTRY_COMPARE(monitorClients(), 1);
        send("#drop");
        QTRY_COMPARE(lost.size(), 1);
        QCOMPARE(monitor.nextPauseMs(), 200); // tried again after 100 ms
        QTRY_COMPARE(monitorClients(), 1);
        send("08.12.26 10:00:00;RING;1;030999;987654;SIP0;");
        QTRY_COMPARE(calls.size(), 1);
        send("#drop");
        QTRY_COMPARE(lost.size(), 2);
        QCOMPARE(monitor.nextPauseMs(), 200); // without the line it would have doubled to 400
    }
};

QTEST_MAIN(TestCallStory)
#include "tst_callstory.moc"
