#include "testsupport.h"

#include "app/startup.h"
#include "register/namelistview.h"
#include "support/messagebox.h"
#include "support/programdirectory.h"

#include <QApplication>
#include <QTabBar>
#include <QTest>

namespace quirlanto::test {

QPointer<QTimer> whenShown(std::function<QWidget *()> find, std::function<void(QWidget *)> act, bool *seen)
{
    auto *timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    if (seen)
        *seen = false;
    QObject::connect(timer, &QTimer::timeout, [timer, tries, find, act, seen] {
        QWidget *w = find();
        if (!w && ++*tries < 3000) // generous for slow runs (valgrind)
            return;
        timer->stop();
        timer->deleteLater();
        if (w) {
            if (seen)
                *seen = true;
            act(w);
        }
    });
    timer->start(10);
    return timer;
}

NameListView *nameList(const QWidget &window, int card)
{
    return window.findChild<NameListView *>(QStringLiteral("nameList%1").arg(card));
}

QTabBar *tabStrip(const QWidget &window)
{
    return window.findChild<QTabBar *>(QStringLiteral("tabStrip"));
}

QMenu *trayMenu()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("trayMenu"))
            return qobject_cast<QMenu *>(w);
    }
    return nullptr;
}

QAction *trayItem(const char *name)
{
    QMenu *menu = trayMenu();
    return menu ? menu->findChild<QAction *>(QString::fromLatin1(name)) : nullptr;
}

AnsweredMessages::AnsweredMessages()
{
    MessageBoxes::clearShown();
    MessageBoxes::setAutoAnswer(true);
}

AnsweredMessages::~AnsweredMessages()
{
    MessageBoxes::setAutoAnswer(false);
}

MainWindow &WindowFixture::make()
{
    window.reset(); // one window at a time, as in the program
    book = std::make_unique<RegisterDocument>(DataPaths::inDirectory(withTrailingSlash(folder.path())));
    book->setChoiceStore(&store);
    window = std::make_unique<MainWindow>(*book, store, opener);
    return *window;
}

MainWindow &WindowFixture::start(const QByteArray &registerBytes, const QStringList &arguments)
{
    if (!registerBytes.isEmpty())
        folder.write(QStringLiteral("Telefonregister.ini"), registerBytes);
    MainWindow &w = make();
    [&] { QVERIFY(startProgram({*book, w, store}, arguments)); }();
    return w;
}

QAction *WindowFixture::menuItem(const QString &text) const
{
    for (QAction *a : window->findChild<QMenu *>(QStringLiteral("nameListMenu"))->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

void WindowFixture::activate()
{
    window->show();
    QApplication::setActiveWindow(window.get());
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

} // namespace quirlanto::test
