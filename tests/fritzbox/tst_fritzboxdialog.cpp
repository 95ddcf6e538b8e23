// Setting the router up from the options card, against the stand-in router (boxstandin.py) over
// real HTTP, through the network module of the build folder. No session bus: the keyring cannot
// answer, so the password is kept for the run and asked for after a 401.
#include "fritzbox/boxpassworddialog.h"
#include "fritzbox/fritzboxdialog.h"
#include "options/optionspage.h"
#include "support/messagebox.h"
#include "testsupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace quirlanto;

class TestFritzBoxDialog : public QObject {
    Q_OBJECT

    template <typename T>
    static T *child(QWidget *parent, const char *name)
    {
        return parent->findChild<T *>(QString::fromLatin1(name));
    }
    static QStringList lines(QWidget *dialog)
    {
        QStringList texts;
        auto *list = child<QListWidget>(dialog, "checkResultList");
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }

private slots:
    // Choosing "FRITZ!Box" opens the dialog; the phones come from the router; "Verbindung prüfen"
    // shows its lines in order and names a wrong password; OK stores; the dialog opened again
    // shows what was stored; a password asked for again says the last one was wrong.
    void setUpTheRouter()
    {
        test::AnsweredMessages messages;
        QTemporaryDir dir;
        QProcess router;
        router.start("python3", {BOX_STANDIN, "--user", "quirl", "--password", "geheim", "--phones",
                                 "DECT: Mobilteil 1|FON1: Flur", "--log", dir.filePath("log")});
        QTRY_VERIFY_WITH_TIMEOUT(router.canReadLine(), 10000);
        const QString host = QStringLiteral("127.0.0.1:") + router.readLine().trimmed().split(' ').value(1);

        test::ProgramFolder folder;
        MemorySettingsStore store;
        RegisterDocument book(DataPaths::inDirectory(folder.path() + QLatin1Char('/')));
        book.setChoiceStore(&store);
        OptionsPage page(book, store);
        BoxPasswords passwords(QStringLiteral(QUIRLANTO_PROGRAM_DIR));
        BoxPasswordDialogPrompt prompt([&book] { return book.fritzBox(); }, &page);
        passwords.setPrompt(&prompt);
        page.setBoxPasswords(&passwords, QStringLiteral(QUIRLANTO_PROGRAM_DIR));
        page.show();

        child<QRadioButton>(&page, "fritzBoxOption")->click();
        auto *dialog = page.findChild<FritzBoxDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(child<QLineEdit>(dialog, "fritzBoxHostBox")->text(), QStringLiteral("fritz.box"));
        child<QLineEdit>(dialog, "fritzBoxHostBox")->setText(host);
        child<QLineEdit>(dialog, "fritzBoxUserBox")->setText(QStringLiteral("quirl"));
        auto *password = child<QLineEdit>(dialog, "fritzBoxPasswordBox");
        QTest::keyClicks(password, QStringLiteral("geheim"));
        QSignalSpy idle(dialog, &FritzBoxDialog::idle);

        auto *fetch = child<QPushButton>(dialog, "fetchPhonesButton");
        fetch->click();
        QVERIFY(!fetch->isEnabled());
        QVERIFY(idle.wait(15000));
        auto *phones = child<QComboBox>(dialog, "fritzBoxPhoneList");
        QCOMPARE(phones->count(), 2);
        QCOMPARE(phones->itemText(1), QStringLiteral("FON1: Flur"));
        QCOMPARE(phones->currentText(), QStringLiteral("DECT: Mobilteil 1"));
        phones->setCurrentIndex(1);

        auto *check = child<QPushButton>(dialog, "checkConnectionButton");
        const QStringList steps = {QStringLiteral("✓ Adresse „%1“ erreichbar").arg(host),
                                   QStringLiteral("✓ TR-064 mit dem Dienst X_VoIP"),
                                   QStringLiteral("✓ Anmeldung als „quirl“"), QStringLiteral("✓ Wählhilfe"),
                                   QStringLiteral("✓ Telefon „FON1: Flur“")};
        check->click();
        QVERIFY(!check->isEnabled());
        QVERIFY(idle.wait(15000));
        QStringList shown = lines(dialog);
        QCOMPARE(shown.size(), steps.size());
        for (int i = 0; i < steps.size(); ++i)
            QVERIFY2(shown[i].startsWith(steps[i]), qPrintable(shown[i]));

        password->clear();
        QTest::keyClicks(password, QStringLiteral("falsch"));
        check->click();
        QVERIFY(idle.wait(15000));
        shown = lines(dialog);
        QCOMPARE(shown.size(), 3);
        QVERIFY2(shown[2].startsWith(QStringLiteral("✗ Anmeldung als „quirl“")), qPrintable(shown[2]));
        QVERIFY2(shown[2].contains(QStringLiteral("Kennwort")), qPrintable(shown[2]));
        QVERIFY(child<QListWidget>(dialog, "checkResultList")
                    ->item(2)
                    ->data(Qt::AccessibleTextRole)
                    .toString()
                    .startsWith(QStringLiteral("Fehler: ")));

        password->clear();
        QTest::keyClicks(password, QStringLiteral("geheim"));
        child<QPushButton>(dialog, "okButton")->click();
        const FritzBoxSettings stored = book.fritzBox();
        QCOMPARE(stored.host, host);
        QCOMPARE(stored.user, QStringLiteral("quirl"));
        QCOMPARE(stored.phone, QStringLiteral("FON1: Flur"));
        // No keyring: the password is kept for the run, and the user told so.
        QTRY_COMPARE(MessageBoxes::shown().size(), 1);
        QCOMPARE(MessageBoxes::shown().first().icon, MessageIcon::Information);

        QTRY_VERIFY(!page.findChild<FritzBoxDialog *>());
        child<QPushButton>(&page, "fritzBoxSetupButton")->click();
        dialog = page.findChild<FritzBoxDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(child<QComboBox>(dialog, "fritzBoxPhoneList")->currentText(), QStringLiteral("FON1: Flur"));
        QTRY_COMPARE(child<QLineEdit>(dialog, "fritzBoxPasswordBox")->text(), QStringLiteral("geheim"));
        child<QPushButton>(dialog, "cancelButton")->click();

        QStringList answers;
        passwords.find(stored, true, [&answers](bool found, const QString &given) {
            answers << (found ? given : QStringLiteral("(abgebrochen)"));
        });
        BoxPasswordDialog *asking = nullptr;
        QTRY_VERIFY((asking = page.findChild<BoxPasswordDialog *>()) && asking->isVisible());
        QCOMPARE(child<QLabel>(asking, "wrongPasswordLabel")->text(),
                 QStringLiteral("Das Kennwort war falsch. Bitte erneut eingeben."));
        QTest::keyClicks(child<QLineEdit>(asking, "boxPasswordBox"), QStringLiteral("neu"));
        QTest::keyClick(child<QLineEdit>(asking, "boxPasswordBox"), Qt::Key_Return);
        QTRY_COMPARE(answers, QStringList{QStringLiteral("neu")});
        test::stopProcess(router);
    }
};

QTEST_MAIN(TestFritzBoxDialog)
#include "tst_fritzboxdialog.moc"
