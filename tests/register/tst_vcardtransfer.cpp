// vCard files in and out through the name list menu of the main window.
#include "app/mainwindow.h"
#include "app/startargumenthandler.h"
#include "register/namelistcontroller.h"
#include "register/vcardtransfer.h"
#include "support/messagebox.h"
#include "support/safefilewriter.h"
#include "support/textlimits.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>
#include <QUrl>
#include <QtTest>

#include <sys/stat.h>

using namespace quirlanto;
using namespace quirlanto::test;

class TestVCardTransfer : public QObject {
    Q_OBJECT

    // What the user picks in a file dialog.
    struct FileAnswer {
        QString path;
        bool allCards = false; // the export's filter "Alle Karten als vCard"
    };

    std::unique_ptr<WindowFixture> m_f;
    QPointer<QTimer> m_fileWatch;
    QPointer<QTimer> m_watch;

    static QString sample(const char *name) { return QStringLiteral(QUIRLANTO_TEST_DATA "/") + name; }
    // Answers the next file dialog with `choice` and "Kontakte importieren" with `act`.
    void answer(const FileAnswer &choice, std::function<void(ImportDialog *)> act = {})
    {
        m_fileWatch =
            whenShown([] { return qobject_cast<QFileDialog *>(QApplication::activeModalWidget()); },
                      [choice](QWidget *w) {
                          auto *dialog = static_cast<QFileDialog *>(w);
                          if (choice.allCards)
                              dialog->selectNameFilter(QStringLiteral("Alle Karten als vCard (*.vcf)"));
                          // Typed, as the list of the folder fills in only later.
                          dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(choice.path);
                          static_cast<QDialog *>(dialog)->accept(); // as the open button does
                      });
        if (act)
            m_watch = whenShown([] { return qobject_cast<ImportDialog *>(QApplication::activeModalWidget()); },
                                [act](QWidget *w) { act(static_cast<ImportDialog *>(w)); });
    }
    static void importAll(ImportDialog *dialog) { dialog->findChild<QPushButton *>("importButton")->click(); }
    QString statusAfter(const QString &menuText)
    {
        m_f->window->setStatusText(QString());
        m_f->menuItem(menuText)->trigger();
        [&] { QTRY_VERIFY(!m_f->window->statusText().isEmpty()); }();
        return m_f->window->statusText();
    }

private slots:
    void init()
    {
        m_f = std::make_unique<WindowFixture>();
        m_f->start(registerFile("2,\"Alt\",\"4989123456\",1\r\n"));
        tabStrip(*m_f->window)->setCurrentIndex(1);
        MessageBoxes::clearShown();
    }
    void cleanup()
    {
        delete m_watch;
        delete m_fileWatch;
        m_f.reset();
    }

    void importShowsNumbersAndSkipsKnownOnes()
    {
        // The number card B holds starts unticked, and is ticked again for another card.
        QStringList rows;
        answer({sample("contacts-2.1.vcf")}, [&rows](ImportDialog *dialog) {
            auto *card = dialog->findChild<QComboBox *>("targetCard");
            rows << dialog->windowTitle() << card->currentText();
            auto *list = dialog->findChild<QTreeWidget *>("importList");
            const auto ticks = [list] {
                QString marks;
                for (int i = 0; i < list->topLevelItemCount(); ++i)
                    marks += list->topLevelItem(i)->checkState(0) == Qt::Checked ? u'x' : u'-';
                return marks;
            };
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                rows << list->topLevelItem(i)->text(0) + " " + list->topLevelItem(i)->text(1) + " "
                            + list->topLevelItem(i)->text(2);
            rows << ticks();
            // The dots of "Özkan" stand inside the row, whose line is centred.
            const QFontMetrics metrics(list->font());
            const int room = list->visualItemRect(list->topLevelItem(0)).height() - metrics.height();
            if (room < 2 * (-metrics.tightBoundingRect("Ö").top() - metrics.ascent()))
                rows << "Ö cut off";
            card->setCurrentIndex(2);
            rows << ticks();
            card->setCurrentIndex(1);
            rows << ticks();
            card->setCurrentIndex(2);
            list->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
            importAll(dialog);
        });
        QCOMPARE(statusAfter("&Importieren …"),
                 QStringLiteral("2 Einträge importiert, 3 übersprungen (davon 2 Fax/Pager)."));
        QCOMPARE(rows, (QStringList{"Kontakte importieren", "B", "Müller, Jörg (mobil) +49 1711234567 +49 171 1234567",
                                    "Müller, Jörg (privat) +49 89 123456 089 123456",
                                    "Straßer, René +49 71123456 0711 / 2 34 56", "x-x", "xxx", "x-x"}));
        QCOMPARE(m_f->book->entries(2).size(), 2);
        QCOMPARE(tabStrip(*m_f->window)->currentIndex(), 2); // the card that got them is shown
    }

    void badFilesChangeNothing()
    {
        const QByteArray before = m_f->read("Telefonregister.ini");
        m_f->write("bild.vcf", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10));
        answer({m_f->path("bild.vcf")});
        m_f->menuItem("&Importieren …")->trigger();
        QTRY_COMPARE(MessageBoxes::shown().size(), 1);
        QCOMPARE(MessageBoxes::shown().first().text,
                 QStringLiteral("Die Datei „bild.vcf“ kann nicht importiert werden.\n\n"
                                "Die Datei enthält Binärdaten und ist keine vCard-Datei."));
        // Cut off in its only card: said so, and not that there are no numbers.
        m_f->write("halb.vcf", "BEGIN:VCARD\r\nFN:A\r\nTEL:089 3\r\n");
        answer({m_f->path("halb.vcf")});
        m_f->menuItem("&Importieren …")->trigger();
        QTRY_COMPARE(MessageBoxes::shown().size(), 2);
        QCOMPARE(MessageBoxes::shown().last().text,
                 QStringLiteral("Die Datei enthält keinen vollständigen Kontakt mit Telefonnummer.\n\n"
                                "1 Kontakt der Datei ist beschädigt oder abgeschnitten und fehlt."));
        QCOMPARE(m_f->read("Telefonregister.ini"), before);
    }

    // What the register cannot hold cannot be ticked, what it holds changed says so, and the cards
    // cut off are counted.
    void hostileRowsAreMarked()
    {
        m_f->write("feind.vcf",
                   "BEGIN:VCARD\r\nFN:" + QByteArray(kMaxNameLength + 1, 'N')
                       + "\r\nTEL:089 1\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:Lang\r\nTEL:+49 "
                       + QByteArray(kMaxNumberLength, '1')
                       + "\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN;ENCODING=QUOTED-PRINTABLE:Anna=0D=0A"
                         "Berg=07\r\nTEL:089 2\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:Abgeschnitten\r\nTEL:089 3\r\n"
                         "BEGIN:VCARD\r\nFN:Eva\r\nTEL:089 4\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:Ende\r\n");
        QStringList rows;
        int card = 0;
        answer({m_f->path("feind.vcf")}, [&rows, &card](ImportDialog *dialog) {
            card = dialog->targetCard();
            for (const QTreeWidgetItem *item :
                 dialog->findChild<QTreeWidget *>("importList")->findItems("*", Qt::MatchWildcard))
                rows << item->text(0).left(6) + (item->checkState(0) == Qt::Checked ? " x" : " -")
                            + (item->flags() & Qt::ItemIsUserCheckable ? " " : " fest ") + item->toolTip(1);
            const auto *damaged = dialog->findChild<QLabel *>("damagedNote");
            rows << (damaged ? damaged->text() : QString());
            importAll(dialog);
        });
        QCOMPARE(statusAfter("&Importieren …"), QStringLiteral("2 Einträge importiert, 2 übersprungen."));
        const QString tooLong = QStringLiteral(" - fest Zu lang für das Telefonregister (Name höchstens 200, Nummer "
                                               "höchstens 64 Zeichen); der Eintrag kann nicht übernommen werden.");
        QCOMPARE(rows, (QStringList{"NNNNNN" + tooLong, "Lang" + tooLong,
                                    "Anna B x Steuerzeichen wie Zeilenumbrüche wurden durch Leerzeichen ersetzt.",
                                    "Eva x ", "2 Kontakte der Datei sind beschädigt oder abgeschnitten und fehlen."}));
        QCOMPARE(m_f->book->entries(card).mid(1),
                 (QList<PhoneEntry>{{"Anna Berg", "49892", true}, {"Eva", "49894", true}}));
    }

    void exportedCardsImportTheSame()
    {
        // Without the phone-number module the bakery's French number waits for a look.
        answer({sample("contacts-4.0.vcf")}, importAll);
        QCOMPARE(statusAfter("&Importieren …"), QStringLiteral("4 Einträge importiert, 1 übersprungen."));
        const QList<PhoneEntry> card2 = m_f->book->entries(1);

        answer({m_f->path("karte.vcf"), false});
        QCOMPARE(statusAfter("E&xportieren …"), QStringLiteral("5 Einträge exportiert."));
        answer({m_f->path("alle.vcf"), true});
        QCOMPARE(statusAfter("E&xportieren …"), QStringLiteral("5 Einträge exportiert."));
        QCOMPARE(QFile::permissions(m_f->path("alle.vcf")),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        // A full disk leaves the old file whole (imported below) and says why.
        setWriteFailureHook([](WriteStep step) { return step == WriteStep::WriteData ? ENOSPC : 0; });
        QCOMPARE(exportVCardFile(*m_f->book, 1, false, m_f->path("karte.vcf"), m_f->window.get()), QString());
        setWriteFailureHook({});
        QCOMPARE(MessageBoxes::shown().value(0).text,
                 QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden: Kein Speicherplatz mehr frei.")
                     .arg(m_f->path("karte.vcf")));

        // Back to the card its group names, but for the first row: F2 and End put it on the last card.
        tabStrip(*m_f->window)->setCurrentIndex(3);
        QStringList cards;
        answer({m_f->path("karte.vcf")}, [&cards](ImportDialog *dialog) {
            auto *list = dialog->findChild<QTreeWidget *>("importList");
            const auto rows = [list] {
                QString marks;
                for (int i = 0; i < list->topLevelItemCount(); ++i)
                    marks += list->topLevelItem(i)->text(3) + (list->topLevelItem(i)->checkState(0) ? "x " : "- ");
                return marks;
            };
            cards << rows();
            list->setCurrentItem(list->topLevelItem(0), 0);
            QTest::keyClick(list, Qt::Key_F2);
            if (auto *box = list->findChild<QComboBox *>("rowCard")) {
                QTest::keyClick(box, Qt::Key_End);
                QTest::keyClick(box, Qt::Key_Return);
            }
            dialog->findChild<QComboBox *>("targetCard")->setCurrentIndex(0); // no row follows it
            cards << rows();
            list->setCurrentItem(list->topLevelItem(1), 1);
            QTest::keyClick(list, Qt::Key_Space); // ticks, and again unticks, from any column
            cards << rows();
            QTest::keyClick(list, Qt::Key_Space);
            importAll(dialog);
        });
        QCOMPARE(statusAfter("&Importieren …"), QStringLiteral("1 Eintrag importiert, 4 übersprungen."));
        QCOMPARE(cards, (QStringList{"B- B- B- B- B- ", "Dx B- B- B- B- ", "Dx Bx B- B- B- "}));
        QCOMPARE(m_f->book->entries(3), card2.first(1));
        QCOMPARE(tabStrip(*m_f->window)->currentIndex(), 3);
    }

    void fileArgumentsAreVCards()
    {
        m_f->write("a.vcf", "BEGIN:VCARD\nEND:VCARD\n");
        const QString file = m_f->path("a.vcf");
        QCOMPARE(StartArgumentHandler::vCardFileArgument({file}), file);
        QCOMPARE(StartArgumentHandler::vCardFileArgument({QUrl::fromLocalFile(file).toString()}), file);
        QCOMPARE(StartArgumentHandler::vCardFileArgument({"tel:+4989123"}), QString());
        QCOMPARE(StartArgumentHandler::vCardFileArgument({m_f->path("fehlt.vcf")}), QString());
        // Named otherwise: the content decides.
        m_f->write("Kontakt", "\xEF\xBB\xBF\r\nbegin:vcard\r\nFN:A\r\nEND:VCARD\r\n");
        QCOMPARE(StartArgumentHandler::vCardFileArgument({m_f->path("Kontakt")}), m_f->path("Kontakt"));
        m_f->write("notiz.txt", "BEGIN:VCALENDAR\n");
        QCOMPARE(StartArgumentHandler::vCardFileArgument({m_f->path("notiz.txt")}), QString());
        QCOMPARE(mkfifo(QFile::encodeName(m_f->path("pipe")).constData(), 0600), 0);
        // What is no file is handed on, and the import says why it takes none.
        for (const auto &[path, reason] :
             {std::pair<QString, QString>{m_f->path("pipe"), "Es ist keine gewöhnliche Datei"},
              {"/dev/zero", "Es ist keine gewöhnliche Datei"},
              {"/tmp", "An dieser Stelle steht ein Ordner"}}) {
            MessageBoxes::clearShown();
            QCOMPARE(StartArgumentHandler::vCardFileArgument({path}), path);
            m_f->window->nameLists()->importVCardFile(path);
            QCOMPARE(MessageBoxes::shown().value(0).text,
                     QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2.")
                         .arg(QFileInfo(path).fileName(), reason));
        }
    }
};

QTEST_MAIN(TestVCardTransfer)
#include "tst_vcardtransfer.moc"
