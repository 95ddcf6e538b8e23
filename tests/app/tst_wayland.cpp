// The program on a real Wayland session (weston): the first start, a clipboard dial, a tel: link
// from a later start, the stored position, and the tray through StatusNotifierItem or, without a
// tray, the minimised window. wayland_session.sh starts weston and picks the cases.
#include "memorysettingsstore.h"
#include "testsupport.h"

#include "app/desktopintegration.h"
#include "app/startup.h"
#include "app/traycontroller.h"
#include "dial/clipboardsource.h"
#include "dial/dialer.h"
#include "dial/modemdial.h"
#include "dial/modemlink.h"
#include "dial/tonedial.h"
#include "dial/toneplayer.h"
#include "register/registermessages.h"
#include "support/clock.h"
#include "support/messagebox.h"
#include "support/version.h"
#include "support/windowplacement.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>

using namespace quirlanto;
using namespace quirlanto::test;

namespace {

class RecordingTones final : public ToneOutput {
public:
    void play(const QStringList &paths, std::function<void(const QString &)> done) override
    {
        for (const QString &path : paths)
            played += QFileInfo(path).completeBaseName();
        done({});
    }
    void stop() override {}
    QString played;
};

// One program put together as main.cpp does, over a program folder of its own.
struct Program {
    WindowFixture f;
    DesktopIntegration desktop{QStringList{}};
    QtClipboardSource clipboard;
    ModemLink modem{f.store};
    ModemDial modemDial{modem};
    RecordingTones tones;
    ToneDial toneDial{tones, QStringLiteral(QUIRLANTO_PROGRAM_DIR)};
    SystemClock clock;
    std::unique_ptr<Dialer> dialer;
};

bool onWayland()
{
    return QGuiApplication::platformName() == QLatin1String("wayland");
}

QPushButton *button(QWidget &window, const QString &text)
{
    for (QPushButton *b : window.findChildren<QPushButton *>())
        if (b->text() == text)
            return b;
    return nullptr;
}

bool messageShown(const QString &text)
{
    for (const MessageBoxes::Shown &shown : MessageBoxes::shown())
        if (shown.text == text)
            return true;
    return false;
}

} // namespace

class TestWayland : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> m_p;

    // Messages are answered by the test unless `realMessages`.
    MainWindow &start(const QByteArray &registerBytes, bool realMessages = false)
    {
        m_p = std::make_unique<Program>();
        Program &p = *m_p;
        if (!registerBytes.isEmpty())
            p.f.write("Telefonregister.ini", registerBytes);
        MessageBoxes::setAutoAnswer(!realMessages);
        [&] { QVERIFY(p.desktop.claimSingleInstance()); }();
        MainWindow &window = p.f.make();
        p.desktop.attach(window);
        p.dialer = std::make_unique<Dialer>(*p.f.book, window, p.clipboard, p.clock);
        p.dialer->setBackend(DialDevice::Modem, &p.modemDial);
        p.dialer->setBackend(DialDevice::Loudspeaker, &p.toneDial);
        [&] {
            QVERIFY(startProgram({*p.f.book, window, p.f.store, p.dialer.get(), &p.desktop, nullptr, &p.modem}, {}));
        }();
        p.desktop.afterStart();
        return window;
    }

    // The item this process registered with the watcher, or "".
    static QString registeredItem()
    {
        QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"),
                               QStringLiteral("/StatusNotifierWatcher"),
                               QStringLiteral("org.kde.StatusNotifierWatcher"));
        const QStringList items = watcher.property("RegisteredStatusNotifierItems").toStringList();
        for (const QString &item : items)
            if (QDBusConnection::sessionBus().interface()->servicePid(item).value()
                == QCoreApplication::applicationPid())
                return item;
        return {};
    }

    // As a tray host does; asynchronous, since this very process answers.
    static void callItem(const QString &item, const QString &method)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(item, QStringLiteral("/StatusNotifierItem"),
                                                           QStringLiteral("org.kde.StatusNotifierItem"), method);
        call << 10 << 10;
        QDBusConnection::sessionBus().asyncCall(call);
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            QSKIP("needs a desktop session: run through wayland_session.sh");
    }

    void cleanup()
    {
        m_p.reset();
        MessageBoxes::setAutoAnswer(false);
    }

    void firstStart()
    {
        QVERIFY(onWayland());
        QString title;
        QString text;
        bool exposed = false;
        bool seen = false;
        whenShown([] { return QApplication::activeModalWidget(); },
                  [&](QWidget *widget) {
                      auto *box = qobject_cast<QMessageBox *>(widget);
                      exposed = QTest::qWaitForWindowExposed(widget);
                      title = widget->windowTitle();
                      if (box) {
                          text = box->text();
                          box->defaultButton()->click();
                      }
                  },
                  &seen);
        MainWindow &window = start({}, true);
        QVERIFY(seen);
        QVERIFY(exposed);
        QCOMPARE(title, QStringLiteral("Quirlanto"));
        QCOMPARE(text, newRegisterMessage());
        QCOMPARE(m_p->f.read("Telefonregister.ini"), kNewRegisterFile);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowHandle()->title(), QStringLiteral("Quirlanto ") + captionVersionText());
    }

    void clipboardDialWhileActive()
    {
        QVERIFY(onWayland());
        MainWindow &window = start(registerFile({}, R"(1,1,0,0,"",0,"00","49","89",12,"","",0)"));
        QTRY_VERIFY(window.isActiveWindow());
        QCOMPARE(QProcess::execute(QStringLiteral("wl-copy"), {QStringLiteral("+49 (30) 123456")}), 0);
        // Only the client with the keyboard focus is told what the clipboard holds.
        QTRY_VERIFY(window.isActiveWindow());
        QTRY_COMPARE(m_p->clipboard.text(), QStringLiteral("+49 (30) 123456"));
        button(window, QStringLiteral("&Wähle Nr. in Zwischenablage"))->click();
        QTRY_COMPARE(m_p->tones.played, QStringLiteral("030123456"));
    }

    void telLinkFromSecondStart()
    {
        QVERIFY(onWayland());
        MainWindow &window = start(registerFile({}));
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QProcess second;
        second.start(QStringLiteral(QUIRLANTO_PROGRAM_DIR "/quirlanto"), {QStringLiteral("tel:+49-30-123456")});
        // This process must keep answering while the later start hands over.
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 20000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY(messageShown(QStringLiteral("Soll die Nummer +49 30123456 gewählt werden?")));
    }

    void storedPositionLeftAlone()
    {
        QVERIFY(onWayland());
        QWidget window;
        window.resize(300, 200);
        MemorySettingsStore store;
        // A corner beyond this screen: elsewhere the window would be centred and that saved.
        store.setValue(QStringLiteral("_Top"), QStringLiteral("3000"));
        store.setValue(QStringLiteral("_Left"), QStringLiteral("99000"));
        restoreWindowPlacement(window, store);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        saveWindowPlacement(window, store);
        QCOMPARE(store.values().value(QStringLiteral("_Top")), QVariant(QStringLiteral("3000")));
        QCOMPARE(store.values().value(QStringLiteral("_Left")), QVariant(QStringLiteral("99000")));
        MemorySettingsStore fresh;
        saveWindowPlacement(window, fresh);
        QVERIFY(fresh.values().isEmpty());
    }

    void noTrayMinimises()
    {
        QVERIFY(onWayland());
        MainWindow &window = start(registerFile({}));
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!m_p->desktop.tray()->trayAvailable());
        QCloseEvent close; // the compositor's close request after "&Ausblenden": minimised, a later start shows it
        QSpontaneKeyEvent::setSpontaneous(&close);
        for (int way = 0; way < 2; ++way) {
            way ? void(qApp->notify(&window, &close)) : button(window, QStringLiteral("&Ausblenden"))->click();
            QVERIFY(window.isVisible() && window.isMinimized());
            QProcess later;
            later.start(QStringLiteral(QUIRLANTO_PROGRAM_DIR "/quirlanto"), {});
            QTRY_VERIFY_WITH_TIMEOUT(later.state() == QProcess::NotRunning && !window.isMinimized(), 20000);
        }
    }

    void statusNotifierItem()
    {
        MainWindow &window = start(registerFile({}));
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(m_p->desktop.tray()->trayAvailable());
        QString item;
        QTRY_VERIFY_WITH_TIMEOUT(!(item = registeredItem()).isEmpty(), 10000);

        QMenu *menu = trayMenu();
        QCOMPARE(menu->title(), QStringLiteral("Taskleiste"));
        callItem(item, QStringLiteral("Activate"));
        QTRY_VERIFY(menu->isVisible());
        menu->hide();

        callItem(item, QStringLiteral("ContextMenu"));
        QTRY_VERIFY(!window.isVisible());
        callItem(item, QStringLiteral("ContextMenu"));
        QTRY_VERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());
    }
};

QTEST_MAIN(TestWayland)
#include "tst_wayland.moc"
