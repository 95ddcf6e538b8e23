#include "support/autostart.h"
#include "testsupportcore.h"

#include "support/messagebox.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quirlanto;
using namespace quirlanto::test;

namespace {

const QString kProgram = QStringLiteral("/opt/Meine Programme/Quirlanto 4/quirlanto");

QString execLine(const QString &entryPath)
{
    for (const QByteArray &line : readFile(entryPath).split('\n')) {
        if (line.startsWith("Exec="))
            return QString::fromUtf8(line.mid(5));
    }
    return {};
}

} // namespace

class TestAutostart : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void configHome_data();
    void configHome();
    void execQuoting_data();
    void execQuoting();
    void entryExists_data();
    void entryExists();
    void entryFile();

    void startWithoutEntry();
    void startKeepsExistingEntry();
    void tickAndUntick();
    void oldShortcutReplaced();
    void oldShortcutThatCannotGo();
    void unwritableFolderReported();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString entry() const { return m_dir->path() + QStringLiteral("/autostart/Quirlanto.desktop"); }
    QString shortcut() const { return m_dir->path() + QStringLiteral("/autostart-scripts/Quirlanto.lnk"); }
};

void TestAutostart::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("XDG_CONFIG_HOME", m_dir->path().toUtf8());
    MessageBoxes::setAutoAnswer(true);
    MessageBoxes::clearShown();
}

void TestAutostart::cleanup()
{
    qunsetenv("XDG_CONFIG_HOME");
    m_dir.reset();
}

void TestAutostart::configHome_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("directory");
    QTest::newRow("set") << QByteArray("/tmp/cfg") << "/tmp/cfg/autostart";
    QTest::newRow("trailing slash") << QByteArray("/tmp/cfg/") << "/tmp/cfg/autostart";
    QTest::newRow("empty") << QByteArray() << QDir::homePath() + "/.config/autostart";
    QTest::newRow("relative is ignored") << QByteArray("cfg") << QDir::homePath() + "/.config/autostart";
}

void TestAutostart::configHome()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, directory);
    qputenv("XDG_CONFIG_HOME", value);
    QCOMPARE(autostartDirectory(), directory);
    QCOMPARE(legacyAutostartDirectory(), directory + "-scripts");
}

void TestAutostart::execQuoting_data()
{
    // Expected: the text after "Exec=" in the file, escapes of the key value included.
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("commandLine");
    QTest::newRow("plain path unquoted") << "/opt/quirlanto/quirlanto"
                                         << "/opt/quirlanto/quirlanto /AUTOSTART";
    QTest::newRow("blanks") << kProgram << "\"/opt/Meine Programme/Quirlanto 4/quirlanto\" /AUTOSTART";
    QTest::newRow("dollar") << "/opt/a$b/quirlanto"
                            << "\"/opt/a\\\\$b/quirlanto\" /AUTOSTART";
    QTest::newRow("double quote") << "/opt/a\"b/quirlanto"
                                  << "\"/opt/a\\\\\"b/quirlanto\" /AUTOSTART";
    QTest::newRow("backslash") << "/opt/a\\b/quirlanto"
                               << "\"/opt/a\\\\\\\\b/quirlanto\" /AUTOSTART";
    QTest::newRow("apostrophe and parentheses") << "/opt/Bob's (neu)/quirlanto"
                                                << "\"/opt/Bob's (neu)/quirlanto\" /AUTOSTART";
    QTest::newRow("percent is no field code") << "/opt/100%/quirlanto"
                                              << "/opt/100%%/quirlanto /AUTOSTART";
    QTest::newRow("umlaut needs no quotes") << "/opt/Wählhilfe/quirlanto"
                                            << "/opt/Wählhilfe/quirlanto /AUTOSTART";
}

void TestAutostart::execQuoting()
{
    QFETCH(QString, program);
    QFETCH(QString, commandLine);
    QCOMPARE(autostartCommandLine(program), commandLine);
    QVERIFY(setAutostartEntry(QStringLiteral("Quirlanto"), autostartCommandLine(program)));
    QCOMPARE(execLine(entry()), commandLine);
}

void TestAutostart::entryExists_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QTest::newRow("ordinary") << QByteArray("[Desktop Entry]\nName=Quirlanto\nExec=q /AUTOSTART\n") << true;
    QTest::newRow("hidden") << QByteArray("[Desktop Entry]\nName=Quirlanto\nHidden=true\n") << false;
    QTest::newRow("hidden with blanks") << QByteArray("[Desktop Entry]\nHidden = true\n") << false;
    QTest::newRow("hidden false") << QByteArray("[Desktop Entry]\nHidden=false\n") << true;
    QTest::newRow("hidden in another group")
        << QByteArray("[Desktop Entry]\nName=Q\n[Desktop Action x]\nHidden=true\n") << true;
    QTest::newRow("empty file") << QByteArray() << true;
}

void TestAutostart::entryExists()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    QVERIFY(!autostartEntryExists(QStringLiteral("Quirlanto")));
    writeFile(entry(), content);
    QCOMPARE(autostartEntryExists(QStringLiteral("Quirlanto")), exists);
}

void TestAutostart::entryFile()
{
    QVERIFY(setAutostartEntry(QStringLiteral("Quirlanto"), autostartCommandLine(kProgram)));
    const QList<QByteArray> lines = readFile(entry()).split('\n');
    QCOMPARE(lines.first(), QByteArray("[Desktop Entry]"));
    QVERIFY(lines.contains("Type=Application"));
    QVERIFY(lines.contains("Name=Quirlanto"));
    QVERIFY(lines.contains("Comment=W\xC3\xA4hlhilfe beim Anmelden im Infobereich starten"));
    QVERIFY(lines.contains("Exec=\"/opt/Meine Programme/Quirlanto 4/quirlanto\" /AUTOSTART"));
    QVERIFY(autostartEntryExists(QStringLiteral("Quirlanto")));
    QVERIFY(deleteAutostartEntry(QStringLiteral("Quirlanto")));
    QVERIFY(!QFile::exists(entry()));
    QVERIFY(deleteAutostartEntry(QStringLiteral("Quirlanto"))); // already gone is fine
}

void TestAutostart::startWithoutEntry()
{
    QCheckBox box;
    AutostartSwitch autostart(&box, kProgram);
    QVERIFY(!box.isChecked());
    QVERIFY(!QFile::exists(entry()));
    QVERIFY(MessageBoxes::shown().isEmpty());
}

void TestAutostart::startKeepsExistingEntry()
{
    // An entry written by an older version (another path) must survive the start unchanged.
    const QByteArray old("[Desktop Entry]\nType=Application\nName=Quirlanto\nExec=/alt/quirlanto /AUTOSTART\n");
    writeFile(entry(), old);
    QCheckBox box;
    AutostartSwitch autostart(&box, kProgram);
    QVERIFY(box.isChecked());
    QCOMPARE(readFile(entry()), old);
}

void TestAutostart::tickAndUntick()
{
    QCheckBox box;
    AutostartSwitch autostart(&box, kProgram);

    box.click();
    QVERIFY(box.isChecked());
    QCOMPARE(execLine(entry()), QStringLiteral("\"/opt/Meine Programme/Quirlanto 4/quirlanto\" /AUTOSTART"));

    box.click();
    QVERIFY(!QFile::exists(entry()));
    QVERIFY(!autostartEntryExists(QStringLiteral("Quirlanto")));

    // Ticking again writes the current path: a moved program is corrected this way.
    writeFile(entry(), "[Desktop Entry]\nExec=/alt/quirlanto /AUTOSTART\n");
    box.click();
    QCOMPARE(execLine(entry()), QStringLiteral("\"/opt/Meine Programme/Quirlanto 4/quirlanto\" /AUTOSTART"));
    QVERIFY(MessageBoxes::shown().isEmpty());
}

void TestAutostart::oldShortcutReplaced()
{
    writeFile(shortcut(), "old link");
    QVERIFY(QFile::setPermissions(shortcut(), QFile::ReadOwner | QFile::ReadGroup));
    QCheckBox box;
    AutostartSwitch autostart(&box, kProgram);

    QVERIFY(!QFile::exists(shortcut()));
    QVERIFY(box.isChecked());
    QVERIFY(autostartEntryExists(QStringLiteral("Quirlanto")));
    QCOMPARE(execLine(entry()), QStringLiteral("\"/opt/Meine Programme/Quirlanto 4/quirlanto\" /AUTOSTART"));
    QVERIFY(MessageBoxes::shown().isEmpty());
}

void TestAutostart::oldShortcutThatCannotGo()
{
    writeFile(shortcut(), "old link");
    AutostartFileOps failing{[](const QString &) { return false; }, [](const QString &) { return false; }};
    QCheckBox box;
    AutostartSwitch autostart(&box, kProgram, failing);

    const auto &shown = MessageBoxes::shown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(0).text, QStringLiteral("Attribute nicht löschbar: ") + shortcut());
    QCOMPARE(shown.at(0).icon, MessageIcon::Information);
    QCOMPARE(shown.at(1).text, QStringLiteral("Datei nicht löschbar: ") + shortcut());
    // The box is ticked and the entry written all the same.
    QVERIFY(box.isChecked());
    QVERIFY(autostartEntryExists(QStringLiteral("Quirlanto")));
}

void TestAutostart::unwritableFolderReported()
{
    // A plain file where the folder belongs: nothing can be written below it, even as root.
    writeFile(m_dir->path() + QStringLiteral("/autostart"), "in the way");
    QCheckBox box;
    AutostartSwitch autostart(&box, kProgram);
    box.click();

    QCOMPARE(MessageBoxes::shown().size(), 1);
    QVERIFY(MessageBoxes::shown().first().text.startsWith(
        QStringLiteral("Die Einstellung für den Autostart konnte nicht gespeichert werden.")));
    QVERIFY(!box.isChecked()); // shows what is really there
}

QTEST_MAIN(TestAutostart)
#include "tst_autostart.moc"
