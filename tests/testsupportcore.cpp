#include "testsupportcore.h"

#include "support/programdirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
}

ProgramFolder::~ProgramFolder()
{
    setProgramDirectoryOverride({});
}

} // namespace quirlanto::test
