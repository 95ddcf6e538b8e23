#include "memorysettingsstore.h"
#include "support/windowplacement.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace quirlanto;

namespace {
const QSize kWindowSize(300, 200);
const QString kMissing = QStringLiteral("<missing>");
} // namespace

class TestWindowPlacement : public QObject {
    Q_OBJECT

private:
    QRect screenArea() const { return QGuiApplication::primaryScreen()->geometry(); }
    // The frame, not only the client area, is centred.
    QPoint centred(const QWidget &window) const
    {
        const QRect area = screenArea();
        const QSize frame = window.frameGeometry().size();
        return {(area.width() - frame.width()) / 2, (area.height() - frame.height()) / 2};
    }

private slots:
    void initTestCase()
    {
        // All twips figures below assume the usual 96 DPI, i.e. 15 twips per pixel.
        const QScreen *screen = QGuiApplication::primaryScreen();
        QVERIFY(screen);
        QCOMPARE(twipsPerPixelX(screen), 15.0);
        QCOMPARE(twipsPerPixelY(screen), 15.0);
        QCOMPARE(screenArea().topLeft(), QPoint(0, 0));
    }

    void restore_data()
    {
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("left");
        QTest::addColumn<bool>("centre");
        QTest::addColumn<QPoint>("expected");

        const QRect area = QGuiApplication::primaryScreen()->geometry();
        const QString screenHeight = QString::number(area.height() * 15);
        const QString screenWidth = QString::number(area.width() * 15);
        const QString lastTwipDown = QString::number(area.height() * 15 - 1);
        const QString lastTwipRight = QString::number(area.width() * 15 - 1);

        QTest::newRow("0/0 kept") << "0"
                                  << "0" << false << QPoint(0, 0);
        QTest::newRow("inside") << "1500"
                                << "3000" << false << QPoint(200, 100);
        QTest::newRow("twips round to pixels") << "1507"
                                               << "2993" << false << QPoint(200, 100);
        QTest::newRow("decimals round to twips") << "1499.6"
                                                 << "30.4" << false << QPoint(2, 100);
        QTest::newRow("surrounding blanks") << " 150 "
                                            << "\t300" << false << QPoint(20, 10);
        QTest::newRow("last twip stays on screen")
            << lastTwipDown << lastTwipRight << false << QPoint(area.width() - 1, area.height() - 1);
        QTest::newRow("top equal to screen height") << screenHeight << "0" << true << QPoint();
        QTest::newRow("left equal to screen width") << "0" << screenWidth << true << QPoint();
        QTest::newRow("beyond a smaller screen") << "15000"
                                                 << "30000" << true << QPoint();
        QTest::newRow("negative top") << "-15"
                                      << "1500" << true << QPoint();
        QTest::newRow("negative left") << "1500"
                                       << "-1" << true << QPoint();
        QTest::newRow("both missing") << kMissing << kMissing << true << QPoint();
        QTest::newRow("top missing") << kMissing << "1500" << true << QPoint();
        QTest::newRow("left missing") << "1500" << kMissing << true << QPoint();
        QTest::newRow("letters") << "oben"
                                 << "links" << true << QPoint();
        QTest::newRow("number with trailing junk") << "150px"
                                                   << "150" << true << QPoint();
        QTest::newRow("beyond 32 bits") << "99999999999"
                                        << "0" << true << QPoint();
        QTest::newRow("not a number value") << "nan"
                                            << "inf" << true << QPoint();
    }

    void restore()
    {
        QFETCH(QString, top);
        QFETCH(QString, left);
        QFETCH(bool, centre);
        QFETCH(QPoint, expected);

        MemorySettingsStore store;
        if (top != kMissing)
            store.setValue(QString::fromLatin1(kTopKey), top);
        if (left != kMissing)
            store.setValue(QString::fromLatin1(kLeftKey), left);

        QWidget window;
        window.resize(kWindowSize);
        window.move(7, 9);
        restoreWindowPlacement(window, store);
        QCOMPARE(window.pos(), centre ? centred(window) : expected);
        // Restoring only reads.
        QCOMPARE(store.values().size(), int(top != kMissing) + int(left != kMissing));
    }

    void saveWritesTwipsAsText_data()
    {
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("left");

        QTest::newRow("corner") << QPoint(0, 0) << "0"
                                << "0";
        QTest::newRow("inside") << QPoint(120, 45) << "675"
                                << "1800";
        QTest::newRow("partly off the top left") << QPoint(-20, -3) << "-45"
                                                 << "-300";
    }

    void saveWritesTwipsAsText()
    {
        QFETCH(QPoint, position);
        QFETCH(QString, top);
        QFETCH(QString, left);

        QWidget window;
        window.resize(kWindowSize);
        window.move(position);
        MemorySettingsStore store;
        saveWindowPlacement(window, store);
        QCOMPARE(store.values().size(), 2);
        const QVariant storedTop = store.value(QString::fromLatin1(kTopKey), {});
        const QVariant storedLeft = store.value(QString::fromLatin1(kLeftKey), {});
        QCOMPARE(storedTop.typeId(), QMetaType::QString);
        QCOMPARE(storedTop.toString(), top);
        QCOMPARE(storedLeft.toString(), left);
    }

    void roundTripThroughHiddenWindow()
    {
        MemorySettingsStore store;
        {
            QWidget window;
            window.resize(kWindowSize);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.move(131, 57);
            // Ended from the tray: the window is hidden but keeps its last place.
            window.hide();
            saveWindowPlacement(window, store);
        }
        QWidget next;
        next.resize(kWindowSize);
        restoreWindowPlacement(next, store);
        QCOMPARE(next.pos(), QPoint(131, 57));
    }

    void settingsFileHoldsDecimalText()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        {
            QWidget window;
            window.resize(kWindowSize);
            window.move(40, 20);
            QtSettingsStore store;
            saveWindowPlacement(window, store);
        }
        QFile file(dir.filePath(QStringLiteral("MOLTARA Software/Quirlanto.conf")));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QByteArray content = file.readAll();
        QVERIFY2(content.contains("_Top=300\n"), content.constData());
        QVERIFY2(content.contains("_Left=600\n"), content.constData());

        QtSettingsStore reread;
        QWidget next;
        next.resize(kWindowSize);
        restoreWindowPlacement(next, reread);
        QCOMPARE(next.pos(), QPoint(40, 20));
    }

    void centredPosition_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QPoint>("expected");

        QTest::newRow("even") << QRect(0, 0, 800, 600) << QSize(300, 200) << QPoint(250, 200);
        QTest::newRow("odd halves cut") << QRect(0, 0, 800, 600) << QSize(301, 201) << QPoint(249, 199);
        QTest::newRow("exactly the screen") << QRect(0, 0, 800, 600) << QSize(800, 600) << QPoint(0, 0);
        QTest::newRow("larger than the screen") << QRect(0, 0, 800, 600) << QSize(1001, 701) << QPoint(-100, -50);
        QTest::newRow("second screen") << QRect(1920, 0, 1280, 1024) << QSize(280, 24) << QPoint(2420, 500);
    }

    void centredPosition()
    {
        QFETCH(QRect, area);
        QFETCH(QSize, frame);
        QFETCH(QPoint, expected);
        QCOMPARE(quirlanto::centredPosition(area, frame), expected);
    }

    void centreWindowSettlesSizeFirst()
    {
        // A window never resized gets its size from its contents on show; centre that size.
        QWidget window;
        window.setMinimumSize(kWindowSize);
        window.setMaximumSize(kWindowSize);
        centreWindow(window);
        QCOMPARE(window.size(), kWindowSize);
        QCOMPARE(window.pos(), centred(window));
    }
};

QTEST_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
