// The tray, the autostart box and the close box as the program puts them together.
#include "app/desktopintegration.h"
#include "testsupport.h"

#include "app/mainwindow.h"
#include "app/startup.h"
#include "app/traycontroller.h"
#include "faketrayicon.h"
#include "support/autostart.h"
#include "support/messagebox.h"
#include "support/programdirectory.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTest>

using namespace quirlanto;
using namespace quirlanto::test;

class TestDesktopIntegration : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void hiddenStart_data();
    void hiddenStart();
    void ausblenden_data();
    void ausblenden();
    void trayEndRemovesIcon();
    void endBeforeIconSetUpLeavesNoIcon();
    void autostartBoxWritesEntry();
    void applicationIcon();
    void messageBeforeFirstPaintHasProgramIcon();
    void applicationIconLooksLikeDrawing_data();
    void applicationIconLooksLikeDrawing();

private:
    MainWindow &startWindow(const QStringList &arguments, bool trayAvailable);

    std::unique_ptr<WindowFixture> m_f;
    std::unique_ptr<DesktopIntegration> m_desktop;
    FakeTrayIcon *m_icon = nullptr;
};

void TestDesktopIntegration::init()
{
    m_f = std::make_unique<WindowFixture>();
    QVERIFY(m_f->folder.isValid());
    qputenv("XDG_CONFIG_HOME", m_f->path("config").toUtf8());
    m_f->folder.write(QStringLiteral("Telefonregister.ini"), registerFile("1,\"Meier\",\"4989555\",0\r\n"));
}

void TestDesktopIntegration::cleanup()
{
    m_desktop.reset();
    m_f.reset();
    qunsetenv("XDG_CONFIG_HOME");
}

MainWindow &TestDesktopIntegration::startWindow(const QStringList &arguments, bool trayAvailable)
{
    MainWindow &window = m_f->make();
    m_desktop = std::make_unique<DesktopIntegration>(arguments);
    m_icon = new FakeTrayIcon;
    m_icon->setParent(m_desktop.get());
    m_icon->available = trayAvailable;
    m_desktop->attach(window, m_icon);
    [&] { QVERIFY(startProgram({*m_f->book, window, m_f->store, nullptr, m_desktop.get()}, arguments)); }();
    m_desktop->afterStart();
    return window;
}

void TestDesktopIntegration::hiddenStart_data()
{
    QTest::addColumn<bool>("trayAvailable");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("minimised");
    QTest::newRow("with tray: only the icon") << true << false << false;
    QTest::newRow("without tray: minimised, never out of reach") << false << true << true;
}

void TestDesktopIntegration::hiddenStart()
{
    QFETCH(bool, trayAvailable);
    QFETCH(bool, visible);
    QFETCH(bool, minimised);
    MainWindow &window = startWindow({QStringLiteral("/AUTOSTART")}, trayAvailable);
    QCOMPARE(window.isVisible(), visible);
    QTRY_COMPARE(window.isMinimized(), minimised);
    // A caller without a notification service: the tray says it, else the status bar.
    m_desktop->showNotice(QStringLiteral("Anruf von Muster"), QStringLiteral("Angerufen: 987654"));
    QCOMPARE(m_icon->messages, trayAvailable ? QStringList{"Anruf von Muster\nAngerufen: 987654"} : QStringList{});
    QCOMPARE(window.statusText() == QStringLiteral("Anruf von Muster"), !trayAvailable);
    QVERIFY(m_icon->shown);
    QCOMPARE(m_icon->toolTip, TrayController::trayTip());
    QVERIFY(!m_icon->icon.isNull());
    QCOMPARE(window.windowIcon().cacheKey(), m_icon->icon.cacheKey());
}

void TestDesktopIntegration::ausblenden_data()
{
    QTest::addColumn<bool>("trayAvailable");
    QTest::addColumn<bool>("visible");
    QTest::newRow("with tray hides") << true << false;
    QTest::newRow("without tray minimises") << false << true;
}

void TestDesktopIntegration::ausblenden()
{
    QFETCH(bool, trayAvailable);
    QFETCH(bool, visible);
    MainWindow &window = startWindow({}, trayAvailable);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.findChild<QPushButton *>(QStringLiteral("hideButton"))->click();
    QCOMPARE(window.isVisible(), visible);
    if (visible)
        QVERIFY(window.isMinimized());

    emit m_icon->pressed(Qt::RightButton); // back again through the tray
    QVERIFY(window.isVisible());
    QVERIFY(!window.isMinimized());
}

void TestDesktopIntegration::trayEndRemovesIcon()
{
    MainWindow &window = startWindow({}, true);
    QTRY_VERIFY(m_icon->shown);
    QCOMPARE(m_icon->toolTip, TrayController::trayTip());
    QVERIFY(!m_icon->icon.isNull());
    // The window and its dialogs carry the program's icon, the same as the tray.
    QCOMPARE(window.windowIcon().cacheKey(), m_icon->icon.cacheKey());
    QCOMPARE(QApplication::windowIcon().cacheKey(), m_icon->icon.cacheKey());
    trayItem("endAction")->trigger();
    QVERIFY(!m_icon->shown);
    QVERIFY(!window.isVisible());
}

void TestDesktopIntegration::endBeforeIconSetUpLeavesNoIcon()
{
    MainWindow &window = startWindow({}, true);
    window.endProgram();
    QCoreApplication::processEvents();
    QVERIFY(!m_icon->shown);
}

void TestDesktopIntegration::autostartBoxWritesEntry()
{
    MainWindow &window = startWindow({}, true);
    QCheckBox *box = window.autostartCheckBox();
    QVERIFY(!box->isChecked());
    const QString entry = autostartEntryPath(QStringLiteral("Quirlanto"));
    QVERIFY(!QFile::exists(entry));
    box->click();
    QVERIFY(autostartEntryExists(QStringLiteral("Quirlanto")));
    QVERIFY(readFile(entry).contains(("Exec=" + autostartCommandLine(programFilePath())).toUtf8()));
    box->click();
    QVERIFY(!QFile::exists(entry));
}

// The drawing stands in for a missing PNG unseen, so the PNGs are looked for themselves.
void TestDesktopIntegration::applicationIcon()
{
    for (const char *name : {":/icons/quirlanto-22.png", ":/icons/quirlanto-256.png"})
        QVERIFY2(QFile::exists(QString::fromLatin1(name)), name);
}

void TestDesktopIntegration::messageBeforeFirstPaintHasProgramIcon()
{
    // The icons wait for the first paint; a message cannot wait (new register file, tel: link).
    QApplication::setWindowIcon(QIcon());
    m_desktop = std::make_unique<DesktopIntegration>(QStringList{});
    QVERIFY(QApplication::windowIcon().isNull());
    MessageBoxes::setAutoAnswer(true);
    MessageBoxes::information(nullptr, QStringLiteral("x"));
    MessageBoxes::setAutoAnswer(false);
    QVERIFY(!QApplication::windowIcon().isNull());
    QCOMPARE(QApplication::windowIcon().pixmap(32).toImage(),
             DesktopIntegration::applicationIcon().pixmap(32).toImage());
}

void TestDesktopIntegration::applicationIconLooksLikeDrawing_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QIcon::Mode>("mode");
    // Sizes with a PNG of their own, sizes in between, beyond the largest, not square, greyed.
    QTest::newRow("16") << QSize(16, 16) << QIcon::Normal;
    QTest::newRow("22") << QSize(22, 22) << QIcon::Normal;
    QTest::newRow("48") << QSize(48, 48) << QIcon::Normal;
    QTest::newRow("256") << QSize(256, 256) << QIcon::Normal;
    QTest::newRow("40") << QSize(40, 40) << QIcon::Normal;
    QTest::newRow("300") << QSize(300, 300) << QIcon::Normal;
    QTest::newRow("32x16") << QSize(32, 16) << QIcon::Normal;
    QTest::newRow("32 disabled") << QSize(32, 32) << QIcon::Disabled;
}

void TestDesktopIntegration::applicationIconLooksLikeDrawing()
{
    QFETCH(QSize, size);
    QFETCH(QIcon::Mode, mode);
    const QIcon drawing(QStringLiteral(":/icons/quirlanto.svg"));
    const QIcon icon = DesktopIntegration::applicationIcon();
    QCOMPARE(icon.actualSize(size, mode), drawing.actualSize(size, mode));
    const QImage expected = drawing.pixmap(size, mode).toImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!expected.isNull());
    QCOMPARE(icon.pixmap(size, mode).toImage().convertToFormat(QImage::Format_ARGB32), expected);
    QVERIFY(icon.availableSizes().isEmpty());
}

QTEST_MAIN(TestDesktopIntegration)
#include "tst_desktopintegration.moc"
