// What many widget tests set up the same way: answered message boxes, the main window, dialogs.
#pragma once

#include "app/mainwindow.h"
#include "memorysettingsstore.h"
#include "recordingurlopener.h"
#include "register/registerdocument.h"
#include "testsupportcore.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class QTabBar;

namespace quirlanto {
class NameListView;
}

namespace quirlanto::test {

// Runs `act` on the next modal dialog or popup once `find` sees it; the caller's exec() returns
// when `act` closes it. `seen` tells afterwards whether anything appeared at all. Deleting the
// timer stops the wait.
QPointer<QTimer> whenShown(std::function<QWidget *()> find, std::function<void(QWidget *)> act, bool *seen = nullptr);

// The main window's parts, found by their object names: a card's name list and the tab strip.
NameListView *nameList(const QWidget &window, int card);
QTabBar *tabStrip(const QWidget &window);

// The tray's menu as the desktop shows it, and its item of this object name; null when missing.
QMenu *trayMenu();
QAction *trayItem(const char *name);

// While it lives, message boxes answer with their default button and are recorded, so a message
// nobody expected shows in the record instead of blocking the run.
class AnsweredMessages {
public:
    AnsweredMessages();
    ~AnsweredMessages();
    AnsweredMessages(const AnsweredMessages &) = delete;
    AnsweredMessages &operator=(const AnsweredMessages &) = delete;
};

// The main window over a program folder, with a settings store and a URL opener of its own.
struct WindowFixture {
    AnsweredMessages messages;
    ProgramFolder folder;
    MemorySettingsStore store;
    RecordingUrlOpener opener;
    std::unique_ptr<RegisterDocument> book;
    std::unique_ptr<MainWindow> window;

    MainWindow &make();
    // Writes `registerBytes` as the register file (unless empty) and starts the program.
    MainWindow &start(const QByteArray &registerBytes, const QStringList &arguments = {});
    QString path(const char *name) const { return folder.filePath(QString::fromLatin1(name)); }
    QByteArray read(const char *name) const { return folder.read(QString::fromLatin1(name)); }
    void write(const char *name, const QByteArray &bytes) const { folder.write(QString::fromLatin1(name), bytes); }
    // The entry of the name list menu with this text, or null.
    QAction *menuItem(const QString &text) const;
    // Shows the window and waits until it has the focus.
    void activate();
};

} // namespace quirlanto::test
