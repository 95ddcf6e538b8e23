#include "testsupport.h"

#include "app/startup.h"
#include "register/namelistcontroller.h"
#include "support/messagebox.h"
#include "support/programdirectory.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTest>

namespace quirlanto::test {

QByteArray registerFile(const QByteArray &entries, const QByteArray &settingsLine)
{
    return "[QUIRLANTO VERSION 4]\r\n" + settingsLine + "\r\n" + kCardNames + "\r\n" + entries;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}

QList<QByteArray> lines(const QByteArray &bytes)
{
    QList<QByteArray> result = bytes.split('\n');
    for (QByteArray &line : result)
        line.chop(line.endsWith('\r') ? 1 : 0);
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    return result;
}

QStringList entriesOf(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QStringList names(const ProviderTable &table)
{
    QStringList out;
    for (const ProviderEntry &e : table.rows())
        out << e.name;
    return out;
}

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

void stopProcess(QProcess &process, int ms)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(ms)) {
        process.kill();
        process.waitForFinished(ms);
    }
}

ProgramFolder::ProgramFolder()
{
    setProgramDirectoryOverride(m_dir.path());
    MessageBoxes::clearShown();
    MessageBoxes::setAutoAnswer(true);
}

ProgramFolder::~ProgramFolder()
{
    MessageBoxes::setAutoAnswer(false);
    setProgramDirectoryOverride({});
}

MainWindow &WindowFixture::make()
{
    window.reset(); // one window at a time, as in the program
    book = std::make_unique<PhoneBook>(DataPaths::inDirectory(withTrailingSlash(folder.path())));
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
    for (QAction *a : window->nameLists()->menu()->actions())
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
