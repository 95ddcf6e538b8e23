#include "recordingurlopener.h"
#include "support/helplinks.h"
#include "support/messagebox.h"
#include "support/programdirectory.h"
#include "testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace quirlanto;
using namespace quirlanto::test;

namespace {

const QStringList kRelativeCandidates = {
    QStringLiteral("index.htm"),       QStringLiteral("index.html"),       QStringLiteral("hilfe.htm"),
    QStringLiteral("hilfe.html"),      QStringLiteral("hilfe/index.htm"),  QStringLiteral("hilfe/index.html"),
    QStringLiteral("hilfe/hilfe.htm"), QStringLiteral("hilfe/hilfe.html"),
};

const QString kNotFound = QStringLiteral("Die Online-Hilfe konnte leider nicht gefunden werden ...");
const QString kSent = QStringLiteral("HTML-Hilfetext wurde an den Standard-Browser geschickt ...");

bool touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("<html></html>\n") > 0;
}

} // namespace

class TestHelpLinks : public QObject {
    Q_OBJECT

    std::optional<AnsweredMessages> m_messages;
    std::unique_ptr<ProgramFolder> m_folder;
    QString m_base;

private slots:
    void init()
    {
        m_messages.emplace();
        m_folder = std::make_unique<ProgramFolder>();
        QVERIFY(m_folder->isValid());
        m_base = m_folder->path() + QLatin1Char('/');
    }
    void cleanup()
    {
        m_folder.reset();
        m_messages.reset();
    }

    void noBrowserIsReportedWhenTheOpenerGivesUp()
    {
        // The real xdg-open in a session where nothing is set up to open web pages.
        QTemporaryDir blank;
        QVERIFY(blank.isValid());
        const QByteArray names[] = {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS", "HOME"};
        QList<QByteArray> saved;
        for (const QByteArray &name : names) {
            saved << qgetenv(name);
            qputenv(name, blank.path().toUtf8());
        }
        const QByteArray unset[] = {"BROWSER", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "DISPLAY", "WAYLAND_DISPLAY"};
        QList<QByteArray> savedUnset;
        for (const QByteArray &name : unset) {
            savedUnset << qgetenv(name);
            qunsetenv(name);
        }
        DesktopUrlOpener opener;
        QVERIFY(openMakerWebPage(opener)); // started: the answer comes later
        QTRY_COMPARE_WITH_TIMEOUT(MessageBoxes::shown().size(), 1, 15000);
        QCOMPARE(MessageBoxes::shown().first().icon, MessageIcon::Warning);
        QCOMPARE(MessageBoxes::shown().first().text, browserFailureMessage(QString::fromLatin1(kMakerWebAddress)));
        for (int i = 0; i < 5; ++i)
            qputenv(names[i], saved[i]);
        for (int i = 0; i < 5; ++i) {
            if (!savedUnset[i].isEmpty())
                qputenv(unset[i], savedUnset[i]);
        }
    }

    void candidatesInOrderWithOneSeparator()
    {
        QStringList expected;
        for (const QString &name : kRelativeCandidates)
            expected << m_base + name;
        QCOMPARE(helpFileCandidates(), expected);

        // A program folder given with its separator already on the end.
        setProgramDirectoryOverride(m_base);
        QCOMPARE(helpFileCandidates(), expected);
        for (const QString &candidate : helpFileCandidates())
            QVERIFY2(!candidate.contains(QStringLiteral("//")), qPrintable(candidate));
    }

    void findHelpFile_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("expected");

        QTest::newRow("none") << QStringList() << QStringList() << QString();
        for (const QString &name : kRelativeCandidates)
            QTest::addRow("only %s", qPrintable(name)) << QStringList{name} << QStringList() << name;
        QTest::newRow("beside the program wins over the help folder")
            << QStringList{QStringLiteral("index.htm"), QStringLiteral("hilfe/index.htm")} << QStringList()
            << QStringLiteral("index.htm");
        QTest::newRow("folder order before name order")
            << QStringList{QStringLiteral("hilfe.html"), QStringLiteral("hilfe/index.htm")} << QStringList()
            << QStringLiteral("hilfe.html");
        QTest::newRow("a folder does not count")
            << QStringList{QStringLiteral("hilfe/hilfe.html")} << QStringList{QStringLiteral("index.htm")}
            << QStringLiteral("hilfe/hilfe.html");
        QTest::newRow("other names do not count")
            << QStringList{QStringLiteral("INDEX.HTM"), QStringLiteral("hilfe/start.html"),
                           QStringLiteral("Hilfe/index.html")}
            << QStringList() << QString();
    }

    void findHelpFile()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, folders);
        QFETCH(QString, expected);

        for (const QString &name : files)
            QVERIFY(touch(m_base + name));
        for (const QString &name : folders)
            QVERIFY(QDir().mkpath(m_base + name));
        QCOMPARE(quirlanto::findHelpFile(), expected.isEmpty() ? QString() : m_base + expected);
    }

    void openHelp_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("given");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QStringList>("messages");

        const QStringList none;
        QTest::newRow("nothing to find") << none << QString() << false << QString() << QStringList{kNotFound};
        QTest::newRow("nothing to find, confirm asked")
            << none << QString() << true << QString() << QStringList{kNotFound};
        QTest::newRow("found page, no message") << QStringList{QStringLiteral("hilfe/index.html")} << QString() << false
                                                << QStringLiteral("hilfe/index.html") << none;
        QTest::newRow("confirm after opening") << QStringList{QStringLiteral("hilfe/index.html")} << QString() << true
                                               << QStringLiteral("hilfe/index.html") << QStringList{kSent};
        QTest::newRow("given page is used")
            << QStringList{QStringLiteral("index.htm"), QStringLiteral("extra/seite.html")}
            << QStringLiteral("extra/seite.html") << false << QStringLiteral("extra/seite.html") << none;
        QTest::newRow("missing given page falls back")
            << QStringList{QStringLiteral("hilfe/hilfe.htm")} << QStringLiteral("weg.html") << false
            << QStringLiteral("hilfe/hilfe.htm") << none;
    }

    void openHelp()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, given);
        QFETCH(bool, confirm);
        QFETCH(QString, opened);
        QFETCH(QStringList, messages);

        for (const QString &name : files)
            QVERIFY(touch(m_base + name));
        RecordingUrlOpener opener;
        const bool ok = quirlanto::openHelp(opener, given.isEmpty() ? QString() : m_base + given, confirm);

        QCOMPARE(ok, !opened.isEmpty());
        if (opened.isEmpty()) {
            QCOMPARE(opener.calls().size(), 0);
        } else {
            QCOMPARE(opener.calls().size(), 1);
            QCOMPARE(opener.calls().first().url, QUrl::fromLocalFile(m_base + opened));
            QVERIFY(opener.calls().first().mode == ShowMode::Normal);
        }
        QStringList shown;
        for (const auto &message : MessageBoxes::shown()) {
            shown << message.text;
            QVERIFY(message.icon == MessageIcon::Information);
        }
        QCOMPARE(shown, messages);
    }

    void browserThatDoesNotStartIsReported()
    {
        QVERIFY(touch(m_base + QStringLiteral("index.html")));
        RecordingUrlOpener opener;
        opener.setResult(false);
        QVERIFY(!quirlanto::openHelp(opener, {}, true));
        QCOMPARE(opener.calls().size(), 1);
        // One warning naming the page, and no claim that it was sent.
        QCOMPARE(MessageBoxes::shown().size(), 1);
        QVERIFY(MessageBoxes::shown().first().icon == MessageIcon::Warning);
        QVERIFY(MessageBoxes::shown().first().text.contains(m_base + QStringLiteral("index.html")));

        MessageBoxes::clearShown();
        QVERIFY(!openMakerWebPage(opener));
        QCOMPARE(MessageBoxes::shown().size(), 1);
        QVERIFY(MessageBoxes::shown().first().text.contains(QString::fromLatin1(kMakerWebAddress)));
    }

    void makerWebPageOpensMaximised()
    {
        RecordingUrlOpener opener;
        QVERIFY(openMakerWebPage(opener));
        QCOMPARE(opener.calls().size(), 1);
        const QUrl url = opener.calls().first().url;
        QCOMPARE(url, QUrl(QString::fromLatin1(kMakerWebAddress)));
        QVERIFY(url.isValid());
        QCOMPARE(url.scheme(), QStringLiteral("https"));
        // Our own reserved name, never somebody else's site.
        QVERIFY2(url.host().endsWith(QStringLiteral(".example")), qPrintable(url.host()));
        QVERIFY(opener.calls().first().mode == ShowMode::Maximized);
        QVERIFY(MessageBoxes::shown().isEmpty());
    }

    // The pages the build puts beside the program: found, UTF-8, and no link leads nowhere.
    void shippedHelpPages()
    {
        setProgramDirectoryOverride(QStringLiteral(QUIRLANTO_PROGRAM_DIR));
        const QString start = quirlanto::findHelpFile();
        QVERIFY2(!start.isEmpty(), "no help start page in the build folder");
        const QDir helpDir = QFileInfo(start).absoluteDir();

        const QRegularExpression link(QStringLiteral(R"(href="([^"#]*)(#[^"]*)?")"));
        QDirIterator it(helpDir.path(), {QStringLiteral("*.html")}, QDir::Files);
        int pages = 0;
        while (it.hasNext()) {
            const QString path = it.next();
            ++pages;
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            QStringDecoder utf8(QStringDecoder::Utf8);
            const QString text = utf8(bytes);
            QVERIFY2(!utf8.hasError(), qPrintable(path));
            QVERIFY2(text.contains(QStringLiteral("<meta charset=\"utf-8\">")), qPrintable(path));
            QVERIFY2(text.contains(QStringLiteral("<html lang=\"de\">")), qPrintable(path));
            for (auto m = link.globalMatch(text); m.hasNext();) {
                const QString target = m.next().captured(1);
                if (target.isEmpty() || target.contains(QLatin1Char(':')))
                    continue; // same page or an outside address
                QVERIFY2(QFileInfo::exists(helpDir.filePath(target)),
                         qPrintable(QStringLiteral("%1 links to missing %2").arg(path, target)));
            }
        }
        QVERIFY2(pages >= 5, qPrintable(QString::number(pages)));
    }
};

QTEST_MAIN(TestHelpLinks)
#include "tst_helplinks.moc"
