// Where the files are kept: beside the program in a program folder; in the user's own data folder,
// made private, when installed system-wide.
#include "support/datadirectory.h"
#include "support/programdirectory.h"
#include "support/version.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace quirlanto;

namespace {

int modeOf(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

} // namespace

class TestDataDirectory : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_home = qgetenv("HOME");

private slots:
    void cleanup()
    {
        qunsetenv("XDG_DATA_HOME");
        qputenv("HOME", m_home);
        setProgramDirectoryOverride({});
    }

    void userFolderMadePrivateOnTheWay()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("a/b")).toUtf8());
        QCOMPARE(userDataDirectory(), m_dir.filePath(QStringLiteral("a/b/quirlanto/")));
        for (const char *made : {"a", "a/b", "a/b/quirlanto"})
            QCOMPARE(modeOf(m_dir.filePath(QString::fromLatin1(made))), 0700);
    }

    void userFolderWithoutUsableSetting_data()
    {
        QTest::addColumn<QByteArray>("setting");
        QTest::newRow("unset") << QByteArray();
        QTest::newRow("relative, ignored as the base directory rules say") << QByteArray("share");
    }

    void userFolderWithoutUsableSetting()
    {
        QFETCH(QByteArray, setting);
        QVERIFY(m_dir.isValid());
        qputenv("HOME", m_dir.path().toUtf8());
        if (!setting.isNull())
            qputenv("XDG_DATA_HOME", setting);
        QCOMPARE(userDataDirectory(), m_dir.filePath(QStringLiteral(".local/share/quirlanto/")));
        QVERIFY(QFileInfo(m_dir.filePath(QStringLiteral(".local/share/quirlanto"))).isDir());
    }

    void programFolderKeepsEverythingBesideTheProgram()
    {
        QVERIFY(!isSystemInstall());
        QVERIFY(m_dir.isValid());
        setProgramDirectoryOverride(m_dir.filePath(QStringLiteral("Programm")));
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toUtf8());
        const QString folder = m_dir.filePath(QStringLiteral("Programm/"));
        QCOMPARE(dataDirectory(), folder);
        QCOMPARE(resourceDirectory(), folder);
        QCOMPARE(moduleDirectory(), folder + QStringLiteral("lib/"));
        QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("data"))));
    }
};

QTEST_GUILESS_MAIN(TestDataDirectory)
#include "tst_datadirectory.moc"
