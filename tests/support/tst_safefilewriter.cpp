#include "support/safefilewriter.h"
#include "testsupportcore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <QRegularExpression>

#include <cerrno>
#include <sys/stat.h>

using namespace quirlanto;
using namespace quirlanto::test;

Q_DECLARE_METATYPE(WriteStep)

class TestSafeFileWriter : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstWriteMakesNoBackup();
    void writesRotateOneGeneration();
    void strayBackupWithoutCurrentFileIsKept();
    void failedStepLeavesCurrentFile_data();
    void failedStepLeavesCurrentFile();
    void withoutHardLinksTheFileIsMovedAside();
    void failedReplaceAfterMoveRestoresCurrentFile();
    void missingFolder();
    void currentPathIsAFolder();
    void fileModeIsKept();
    void newFilesArePrivate();
    void damagedCopyKeepsNameAndRights();
    void leftoversOfAnInterruptedWrite();

private:
    QTemporaryDir *m_dir = nullptr;
    QString m_path;
    QString m_backup;
};

void TestSafeFileWriter::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("Telefonregister.ini"));
    m_backup = m_dir->filePath(QStringLiteral("Telefonregister.bak"));
}

void TestSafeFileWriter::cleanup()
{
    setWriteFailureHook({});
    delete m_dir;
    m_dir = nullptr;
}

void TestSafeFileWriter::firstWriteMakesNoBackup()
{
    const WriteResult result = writeFileWithBackup(m_path, m_backup, "one\r\n");
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.error, QString());
    QCOMPARE(readFile(m_path), QByteArray("one\r\n"));
    QCOMPARE(entriesOf(m_dir->path()), QStringList{"Telefonregister.ini"});
}

void TestSafeFileWriter::writesRotateOneGeneration()
{
    QVERIFY(writeFileWithBackup(m_path, m_backup, "A").ok);
    QVERIFY(writeFileWithBackup(m_path, m_backup, "B").ok);
    QCOMPARE(readFile(m_path), QByteArray("B"));
    QCOMPARE(readFile(m_backup), QByteArray("A"));
    QVERIFY(writeFileWithBackup(m_path, m_backup, "C").ok);
    QCOMPARE(readFile(m_path), QByteArray("C"));
    QCOMPARE(readFile(m_backup), QByteArray("B"));
    QCOMPARE(entriesOf(m_dir->path()), (QStringList{"Telefonregister.bak", "Telefonregister.ini"}));

    // Current and backup are separate files afterwards, not two names of one.
    writeFile(m_path, "changed");
    QCOMPARE(readFile(m_backup), QByteArray("B"));
}

void TestSafeFileWriter::strayBackupWithoutCurrentFileIsKept()
{
    writeFile(m_backup, "only copy");
    QVERIFY(writeFileWithBackup(m_path, m_backup, "new").ok);
    QCOMPARE(readFile(m_path), QByteArray("new"));
    QCOMPARE(readFile(m_backup), QByteArray("only copy"));
}

void TestSafeFileWriter::failedStepLeavesCurrentFile_data()
{
    QTest::addColumn<WriteStep>("step");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("backupKept");
    QTest::newRow("temporary file") << WriteStep::CreateTemporary << EACCES << "Zugriff verweigert" << true;
    QTest::newRow("disk full") << WriteStep::WriteData << ENOSPC << "Kein Speicherplatz mehr frei" << true;
    QTest::newRow("sync") << WriteStep::Sync << EIO << "Ein-/Ausgabefehler" << true;
    QTest::newRow("old backup") << WriteStep::RemoveBackup << EACCES << "ließ sich nicht entfernen (Zugriff verweigert)"
                                << true;
    QTest::newRow("backup link") << WriteStep::LinkBackup << EROFS
                                 << "ließ sich nicht anlegen (Das Dateisystem ist schreibgeschützt)" << false;
    QTest::newRow("replace") << WriteStep::Replace << EBUSY << "Die Datei wird gerade benutzt" << false;
}

void TestSafeFileWriter::failedStepLeavesCurrentFile()
{
    QFETCH(WriteStep, step);
    QFETCH(int, error);
    QFETCH(QString, reason);
    QFETCH(bool, backupKept);

    writeFile(m_path, "OLD\r\n");
    writeFile(m_backup, "OLDER\r\n");
    setWriteFailureHook([&](WriteStep s) { return s == step ? error : 0; });

    const WriteResult result = writeFileWithBackup(m_path, m_backup, "NEW\r\n");
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(reason), qPrintable(result.error));
    QVERIFY2(result.error.contains(m_path), qPrintable(result.error));
    QCOMPARE(readFile(m_path), QByteArray("OLD\r\n"));
    if (backupKept)
        QCOMPARE(readFile(m_backup), QByteArray("OLDER\r\n"));
    // No temporary file is left behind.
    for (const QString &name : entriesOf(m_dir->path()))
        QVERIFY2(name == "Telefonregister.ini" || name == "Telefonregister.bak", qPrintable(name));
}

void TestSafeFileWriter::withoutHardLinksTheFileIsMovedAside()
{
    writeFile(m_path, "OLD");
    setWriteFailureHook([](WriteStep s) { return s == WriteStep::LinkBackup ? EPERM : 0; });
    const WriteResult result = writeFileWithBackup(m_path, m_backup, "NEW");
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(readFile(m_path), QByteArray("NEW"));
    QCOMPARE(readFile(m_backup), QByteArray("OLD"));
}

void TestSafeFileWriter::failedReplaceAfterMoveRestoresCurrentFile()
{
    writeFile(m_path, "OLD");
    setWriteFailureHook([](WriteStep s) {
        return s == WriteStep::LinkBackup ? EPERM : s == WriteStep::Replace ? EIO : 0;
    });
    const WriteResult result = writeFileWithBackup(m_path, m_backup, "NEW");
    QVERIFY(!result.ok);
    QCOMPARE(readFile(m_path), QByteArray("OLD"));
    QCOMPARE(entriesOf(m_dir->path()), QStringList{"Telefonregister.ini"});
}

void TestSafeFileWriter::missingFolder()
{
    const QString path = m_dir->filePath(QStringLiteral("fehlt/Telefonregister.ini"));
    const WriteResult result = writeFileWithBackup(path, m_dir->filePath(QStringLiteral("fehlt/x.bak")), "x");
    QVERIFY(!result.ok);
    QCOMPARE(result.error, QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden: "
                                          "Der Ordner oder die Datei ist nicht vorhanden.")
                               .arg(path));
    QVERIFY(entriesOf(m_dir->path()).isEmpty());
}

void TestSafeFileWriter::currentPathIsAFolder()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Telefonregister.ini")));
    writeFile(m_dir->filePath(QStringLiteral("Telefonregister.ini/inside")), "keep");
    const WriteResult result = writeFileWithBackup(m_path, m_backup, "x");
    QVERIFY(!result.ok);
    QVERIFY2(result.error.endsWith(QStringLiteral(": An dieser Stelle steht ein Ordner.")), qPrintable(result.error));
    QCOMPARE(readFile(m_dir->filePath(QStringLiteral("Telefonregister.ini/inside"))), QByteArray("keep"));
    QCOMPARE(entriesOf(m_dir->path()), QStringList{"Telefonregister.ini"});
}

void TestSafeFileWriter::fileModeIsKept()
{
    writeFile(m_path, "OLD");
    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(m_path, mode));
    QVERIFY(writeFileWithBackup(m_path, m_backup, "NEW").ok);
    QCOMPARE(QFile::permissions(m_path) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), mode);
}

namespace {

unsigned modeOf(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? unsigned(info.st_mode & 07777) : 0xFFFFu;
}

} // namespace

void TestSafeFileWriter::newFilesArePrivate()
{
    QVERIFY(writeFileWithBackup(m_path, m_backup, "A").ok);
    QCOMPARE(modeOf(m_path), 0600u);

    // Without the file, the backup the user set up tells the rights.
    QVERIFY(QFile::remove(m_path));
    writeFile(m_backup, "B");
    QVERIFY(QFile::setPermissions(m_backup, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QVERIFY(writeFileWithBackup(m_path, m_backup, "C").ok);
    QCOMPARE(modeOf(m_path), 0640u);
}

void TestSafeFileWriter::damagedCopyKeepsNameAndRights()
{
    QString reason;
    const QString first = preserveDamagedCopy(m_path, "bytes", 0600, &reason);
    const QString second = preserveDamagedCopy(m_path, "more", 0640, &reason);
    const QRegularExpression pattern(
        QStringLiteral("^%1\\.defekt-\\d{8}-\\d{6}(-\\d+)?$").arg(QRegularExpression::escape(m_path)));
    QVERIFY2(pattern.match(first).hasMatch(), qPrintable(first));
    QVERIFY2(pattern.match(second).hasMatch(), qPrintable(second));
    QVERIFY(first != second);
    QCOMPARE(readFile(first), QByteArray("bytes"));
    QCOMPARE(readFile(second), QByteArray("more"));
    QCOMPARE(modeOf(first), 0600u);
    QCOMPARE(modeOf(second), 0640u);
}

void TestSafeFileWriter::leftoversOfAnInterruptedWrite()
{
    const QStringList ours{".Telefonregister.ini.a1B2c3", ".Telefonregister.ini.ZZZZZZ"};
    const QStringList others{".Telefonregister.ini.a1B2c", ".Telefonregister.ini.a1B2c3d",
                             ".Provider.ini.a1B2c3",       "Telefonregister.ini",
                             "Telefonregister.ini.a1B2c3", ".Telefonregister.ini.a-B2c3"};
    for (const QString &name : ours + others)
        writeFile(m_dir->filePath(name), "x");
    QVERIFY(QFile::link(m_path, m_dir->filePath(QStringLiteral(".Telefonregister.ini.link00"))));

    QCOMPARE(removeWriteLeftovers(m_path), 2);
    QStringList left = others + QStringList{".Telefonregister.ini.link00"};
    left.sort();
    QCOMPARE(entriesOf(m_dir->path()), left);
}

QTEST_GUILESS_MAIN(TestSafeFileWriter)
#include "tst_safefilewriter.moc"
