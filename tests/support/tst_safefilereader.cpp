#include "support/safefilereader.h"

#include "fileaccess.h"
#include "testsupportcore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace quirlanto;
using namespace quirlanto::test;

class TestSafeFileReader : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void regularFileWithItsRights()
    {
        const QString path = m_dir.filePath(QStringLiteral("a.ini"));
        writeFile(path, "1\r\n");
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const DataFileRead read = readDataFile(path);
        QVERIFY(read.ok);
        QCOMPARE(read.bytes, QByteArray("1\r\n"));
        QCOMPARE(read.permissions, 0640u);
    }

    // Each of these blocked the start, ate all memory or read in English before.
    void whatIsNoDataFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("error");
        QTest::newRow("named pipe") << "fifo"
                                    << "Es ist keine gewöhnliche Datei";
        QTest::newRow("link to /dev/zero") << "zero"
                                           << "Es ist keine gewöhnliche Datei";
        QTest::newRow("folder") << "folder"
                                << "An dieser Stelle steht ein Ordner";
        QTest::newRow("over 64 MB") << "large"
                                    << "Die Datei ist größer als 64 MB";
        QTest::newRow("link loop") << "loop"
                                   << "Zu viele Ebenen symbolischer Verknüpfungen";
        QTest::newRow("no rights") << "private"
                                   << "Zugriff verweigert";
    }
    void whatIsNoDataFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, error);
        const QString path = m_dir.filePath(kind);
        const QByteArray encoded = QFile::encodeName(path);
        if (kind == "fifo")
            QCOMPARE(::mkfifo(encoded.constData(), 0600), 0);
        else if (kind == "zero")
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        else if (kind == "folder")
            QVERIFY(QDir().mkdir(path));
        else if (kind == "loop")
            QVERIFY(QFile::link(path, path));
        else if (kind == "large") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(kMaxDataFileBytes + 1)); // sparse: no disk space taken
        } else {
            writeFile(path, "secret");
            QVERIFY(QFile::setPermissions(path, {}));
        }
        const WithoutRootFileAccess asUser;
        const DataFileRead read = readDataFile(path);
        QVERIFY(!read.ok);
        QCOMPARE(read.error, error);
        QVERIFY(read.bytes.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSafeFileReader)
#include "tst_safefilereader.moc"
