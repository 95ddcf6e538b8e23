#include "support/programdirectory.h"
#include "support/version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace quirlanto;

class TestVersion : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setProgramDirectoryOverride({}); }
    void programVersion_data();
    void programVersion();
    void revisionLetter_data();
    void revisionLetter();
    void withTrailingSlash_data();
    void withTrailingSlash();
    void programPaths();
    void programDirectoryOverride_data();
    void programDirectoryOverride();
    void fileExists_data();
    void fileExists();
};

void TestVersion::programVersion_data()
{
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0u << " (V4.1.18)";
    QTest::newRow("2") << 2u << "";
    QTest::newRow("258") << 258u << "";
    QTest::newRow("other high bits ignored") << 0x10301u << "4.1";
}

void TestVersion::programVersion()
{
    QFETCH(quint32, flags);
    QFETCH(QString, text);
    QCOMPARE(versionText(flags, kVersionMajor, kVersionMinor, kVersionRevision), text);
}

void TestVersion::revisionLetter_data()
{
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("withBit");
    QTest::addColumn<QString>("withoutBit");
    QTest::newRow("0") << 0 << "4.1"
                       << "4.1.0";
    QTest::newRow("99") << 99 << "4.1"
                        << "4.1.99";
    QTest::newRow("100") << 100 << "4.1a"
                         << "4.1.100";
    QTest::newRow("149") << 149 << "4.1a"
                         << "4.1.149";
    QTest::newRow("150 half to even") << 150 << "4.1b"
                                      << "4.1.150";
    QTest::newRow("250 half to even") << 250 << "4.1b"
                                      << "4.1.250";
    QTest::newRow("251") << 251 << "4.1c"
                         << "4.1.251";
}

void TestVersion::revisionLetter()
{
    QFETCH(int, revision);
    QFETCH(QString, withBit);
    QFETCH(QString, withoutBit);
    QCOMPARE(versionText(kVersionBare | kVersionWithoutRevision, 4, 1, revision), withBit);
    QCOMPARE(versionText(kVersionBare, 4, 1, revision), withoutBit);
    QCOMPARE(versionText(kVersionWithoutRevision, 4, 1, revision), " (V" + withBit + ")");
}

void TestVersion::withTrailingSlash_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("result");
    QTest::newRow("empty") << ""
                           << "/";
    QTest::newRow("folder") << "/opt/quirlanto"
                            << "/opt/quirlanto/";
    QTest::newRow("already ends") << "/opt/quirlanto/"
                                  << "/opt/quirlanto/";
    QTest::newRow("backslash is an ordinary char") << "a\\"
                                                   << "a\\/";
}

void TestVersion::withTrailingSlash()
{
    QFETCH(QString, path);
    QFETCH(QString, result);
    QCOMPARE(quirlanto::withTrailingSlash(path), result);
}

void TestVersion::programPaths()
{
    const QString file = programFilePath();
    QCOMPARE(file, QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath());
    QVERIFY(quirlanto::fileExists(file));
    const QString dir = programDirectory();
    QCOMPARE(dir, QFileInfo(file).absolutePath() + QLatin1Char('/'));
    QVERIFY(!dir.endsWith(QLatin1String("//")));
}

void TestVersion::programDirectoryOverride_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("result");
    QTest::newRow("without separator") << "/tmp/prog"
                                       << "/tmp/prog/";
    QTest::newRow("root") << "/"
                          << "/";
    QTest::newRow("doubled separator") << "/tmp/prog//"
                                       << "/tmp/prog/";
}

void TestVersion::programDirectoryOverride()
{
    QFETCH(QString, directory);
    QFETCH(QString, result);
    setProgramDirectoryOverride(directory);
    QCOMPARE(programDirectory(), result);
}

void TestVersion::fileExists_data()
{
    QTest::addColumn<QString>("relativeName");
    QTest::addColumn<bool>("exists");
    QTest::newRow("file") << "Provider.ini" << true;
    QTest::newRow("missing") << "fehlt.ini" << false;
    QTest::newRow("folder") << "snd" << false;
    QTest::newRow("hidden file") << ".versteckt" << false;
    QTest::newRow("nul in name") << QStringLiteral("Provider.ini") + QChar(0) << false;
}

void TestVersion::fileExists()
{
    QFETCH(QString, relativeName);
    QFETCH(bool, exists);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("snd")));
    for (const char *name : {"Provider.ini", ".versteckt"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QCOMPARE(quirlanto::fileExists(dir.filePath(relativeName)), exists);
    QCOMPARE(quirlanto::fileExists(QString()), false);
}

QTEST_GUILESS_MAIN(TestVersion)
#include "tst_version.moc"
