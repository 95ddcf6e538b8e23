#include "about/aboutwindow.h"
#include "recordingurlopener.h"
#include "support/helplinks.h"
#include "support/messagebox.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace quirlanto;

namespace {

int aboutWindowCount()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<AboutWindow *>(widget))
            ++count;
    }
    return count;
}

} // namespace

class TestAboutWindow : public QObject {
    Q_OBJECT

    RecordingUrlOpener m_opener;

    // Closes whatever the previous case left open and waits until it is gone.
    static bool noWindowLeft()
    {
        for (QWidget *widget : QApplication::topLevelWidgets())
            widget->close();
        return QTest::qWaitFor([] { return aboutWindowCount() == 0; });
    }

private slots:
    void init()
    {
        QVERIFY(noWindowLeft());
        m_opener.clear();
        m_opener.setResult(true);
        MessageBoxes::clearShown();
        MessageBoxes::setAutoAnswer(true);
    }

    void texts()
    {
        AboutWindow *window = showAboutWindow(nullptr, m_opener);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Quirlanto - Info"));

        auto *label = window->findChild<QLabel *>(QStringLiteral("descriptionLabel"));
        QVERIFY(label);
        const QString text = label->text();
        const QStringList parts = text.split(QStringLiteral("\n\n"));
        QCOMPARE(parts.size(), 2);
        QCOMPARE(parts.at(0), QStringLiteral("Quirlanto (V4.1) – Macht das Telefonieren leichter."));
        QVERIFY(parts.at(1).contains(QStringLiteral("MOLTARA besuchen")));
        QVERIFY(!parts.at(1).contains(QLatin1Char('\n')));

        auto *visit = window->findChild<QPushButton *>(QStringLiteral("visitMakerButton"));
        auto *close = window->findChild<QPushButton *>(QStringLiteral("closeButton"));
        auto *logo = window->findChild<QLabel *>(QStringLiteral("makerLogo"));
        QVERIFY(visit && close && logo);
        QCOMPARE(visit->text(), QStringLiteral("MOLTARA besuchen"));
        QCOMPARE(visit->toolTip(), QStringLiteral("... startet Ihren Internet-Browser mit dem Ziel ")
                                       + QString::fromLatin1(kMakerWebAddress));
        QCOMPARE(close->text(), QStringLiteral("&Schliessen"));
        QCOMPARE(close->toolTip(), QStringLiteral("... bringt Sie zurück zum Programm"));
        QCOMPARE(logo->toolTip(),
                 QStringLiteral("Klicken Sie hier, um noch mehr interessante MOLTARA-Programme kennenzulernen ..."));
        QVERIFY(!logo->pixmap().isNull());
    }

    void notModalAndSingle()
    {
        QWidget main;
        main.setObjectName(QStringLiteral("mainWindow"));
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));

        AboutWindow *first = showAboutWindow(&main, m_opener);
        QVERIFY(QTest::qWaitForWindowExposed(first));
        QVERIFY(!first->isModal());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);

        // The user moved it; "&Info" again brings the same window forward where it is.
        first->move(first->pos() + QPoint(13, 11));
        const QPoint moved = first->pos();
        first->showMinimized();
        AboutWindow *second = showAboutWindow(&main, m_opener);
        QCOMPARE(second, first);
        QCOMPARE(aboutWindowCount(), 1);
        QVERIFY(second->isVisible());
        QCOMPARE(second->pos(), moved);

        // Closing it leaves the main window alone; the next "&Info" builds a fresh one.
        QPointer<AboutWindow> gone(first);
        QTest::mouseClick(first->findChild<QPushButton *>(QStringLiteral("closeButton")), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return gone.isNull(); }));
        QVERIFY(main.isVisible());
        AboutWindow *third = showAboutWindow(&main, m_opener);
        QVERIFY(third);
        QCOMPARE(aboutWindowCount(), 1);
        QVERIFY(m_opener.calls().isEmpty());
    }

    void keyCloses_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("escape") << int(Qt::Key_Escape);
        QTest::newRow("return takes the close button") << int(Qt::Key_Return);
    }
    void keyCloses()
    {
        QFETCH(int, key);
        QPointer<AboutWindow> window = showAboutWindow(nullptr, m_opener);
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key(key));
        QVERIFY(QTest::qWaitFor([&] { return window.isNull(); }));
        QVERIFY(m_opener.calls().isEmpty());
    }

    void makerWebPage_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("button") << QStringLiteral("visitMakerButton");
        QTest::newRow("logo") << QStringLiteral("makerLogo");
    }

    void makerWebPage()
    {
        QFETCH(QString, control);
        AboutWindow *window = showAboutWindow(nullptr, m_opener);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QWidget *target = window->findChild<QWidget *>(control);
        QVERIFY(target);
        QTest::mouseClick(target, Qt::LeftButton);

        QCOMPARE(m_opener.calls().size(), 1);
        QCOMPARE(m_opener.calls().first().url, QUrl(QString::fromLatin1(kMakerWebAddress)));
        QVERIFY(m_opener.calls().first().mode == ShowMode::Maximized);
        // The window stays open for a second look.
        QVERIFY(window->isVisible());
        QVERIFY(MessageBoxes::shown().isEmpty());
    }

    void placement_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QPoint>("expected");

        QTest::newRow("640 x 480") << QRect(0, 0, 640, 480) << QPoint(0, 0);
        QTest::newRow("640 wide but tall") << QRect(0, 0, 640, 1024) << QPoint(0, 0);
        QTest::newRow("480 high but wide") << QRect(0, 0, 1280, 480) << QPoint(0, 0);
        QTest::newRow("641 x 481") << QRect(0, 0, 641, 481) << QPoint(110, 140);
        QTest::newRow("800 x 600") << QRect(0, 0, 800, 600) << QPoint(190, 200);
        QTest::newRow("small second screen") << QRect(1024, 0, 640, 480) << QPoint(1024, 0);
        QTest::newRow("large second screen") << QRect(1024, 100, 800, 600) << QPoint(1214, 300);
    }

    void placement()
    {
        QFETCH(QRect, screen);
        QFETCH(QPoint, expected);
        QCOMPARE(AboutWindow::positionOn(screen, QSize(420, 200)), expected);
    }

    void centredOnThisScreen()
    {
        const QRect area = QGuiApplication::primaryScreen()->geometry();
        QVERIFY(area.width() > 640 && area.height() > 480);
        AboutWindow *window = showAboutWindow(nullptr, m_opener);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QRect frame = window->frameGeometry();
        QCOMPARE(frame.left(), (area.width() - frame.width()) / 2);
        QCOMPARE(frame.top(), (area.height() - frame.height()) / 2);
        // Nothing of the text is cut: the label gets the height its wrapped text needs.
        auto *label = window->findChild<QLabel *>(QStringLiteral("descriptionLabel"));
        QVERIFY(label->height() >= label->heightForWidth(label->width()));
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"
