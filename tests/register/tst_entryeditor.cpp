// "Telefonbuch": keys inside the editor, and what OK and Cancel do to the list and the file.
#include "app/mainwindow.h"
#include "numbers/numberdisplay.h"
#include "register/entryeditor.h"
#include "register/namelistmodel.h"
#include "register/namelistview.h"
#include "register/phoneentry.h"
#include "testsupport.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <memory>

using namespace quirlanto;
using namespace quirlanto::test;

namespace {

const QByteArray kHead = registerFile({});
const QByteArray kRegister = kHead
                             + "1,\"Muster, Erika\",\"4930123456\",1\r\n"
                               "1,\"Meier\",\"4989555\",0\r\n"
                               "2,\"Bernd\",\"43222\",1\r\n";
const QByteArray kSorted =
    kHead + "1,\"Meier\",\"4989555\",0\r\n1,\"Muster, Erika\",\"4930123456\",1\r\n2,\"Bernd\",\"43222\",1\r\n";

} // namespace

class TestEntryEditor : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> m_f;

    QString path(const char *name) const { return m_f->path(name); }
    QAction *menuItem(const QString &text) const { return m_f->menuItem(text); }
    NameListModel *model(int card) const { return nameList(*m_f->window, card)->nameModel(); }
    QPointer<QTimer> m_watch;
    bool m_editorSeen = true;

    // Runs `act` on the editor once it is open modally; records what it showed.
    void whenEditorOpens(std::function<void(EntryEditor &)> act, PhoneEntry *shown = nullptr)
    {
        m_watch = whenShown([] { return qobject_cast<EntryEditor *>(QApplication::activeModalWidget()); },
                            [=](QWidget *w) {
                                auto *editor = static_cast<EntryEditor *>(w);
                                if (shown)
                                    *shown = editor->entry();
                                act(*editor);
                                // A failed check inside `act` returns early: close anyway so the
                                // test reports the failure instead of hanging in exec().
                                if (editor->isVisible())
                                    editor->reject();
                            },
                            &m_editorSeen);
    }
    static QLineEdit *box(const EntryEditor &e, const char *name)
    {
        return e.findChild<QLineEdit *>(QString::fromLatin1(name));
    }
    static void type(EntryEditor &e, const QString &name, const QString &number)
    {
        box(e, "nameBox")->setText(name);
        box(e, "numberBox")->setText(number);
    }
    static void ok(EntryEditor &e) { e.findChild<QPushButton *>(QStringLiteral("okButton"))->click(); }

private slots:
    void init()
    {
        m_editorSeen = true;
        m_f = std::make_unique<WindowFixture>();
        m_f->start(kRegister);
    }
    void cleanup()
    {
        delete m_watch;
        m_f.reset();
        QVERIFY2(m_editorSeen, "the editor did not open");
    }

    void editorTexts()
    {
        EntryEditor editor{Settings()};
        QCOMPARE(editor.windowTitle(), QStringLiteral("Telefonbuch"));
        QStringList labels;
        for (const QLabel *l : editor.findChildren<QLabel *>())
            labels << l->text();
        QVERIFY(labels.contains(QStringLiteral("Name des Teilnehmers (Nachname zuerst):")));
        QVERIFY(labels.contains(QStringLiteral("Internationale Telefonnummer des Teilnehmers:")));
        QCOMPARE(editor.findChild<QCheckBox *>(QStringLiteral("zeroFlagCheckBox"))->text(),
                 QStringLiteral("Bei Anruf im gleichen Land der Vorwahlnummer eine Null voranstellen"));
        QCOMPARE(editor.findChild<QPushButton *>(QStringLiteral("okButton"))->text(), QStringLiteral("&OK"));
        QCOMPARE(editor.findChild<QPushButton *>(QStringLiteral("cancelButton"))->text(), QStringLiteral("&Abbrechen"));
    }

    void enterMovesThenAccepts()
    {
        EntryEditor editor{Settings()};
        editor.setEntry({QStringLiteral("Meier"), QStringLiteral("4989"), false});
        editor.show();
        QApplication::setActiveWindow(&editor);
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        QVERIFY(box(editor, "nameBox")->hasFocus());
        QTest::keyClick(box(editor, "nameBox"), Qt::Key_Return);
        QVERIFY(box(editor, "numberBox")->hasFocus());
        QVERIFY(editor.isVisible());
        QTest::keyClick(box(editor, "numberBox"), Qt::Key_Enter);
        auto *ok = editor.findChild<QPushButton *>(QStringLiteral("okButton"));
        QVERIFY(ok->hasFocus());
        QVERIFY(editor.isVisible());
        QTest::keyClick(ok, Qt::Key_Return);
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QCOMPARE(editor.entry(), (PhoneEntry{QStringLiteral("Meier"), QStringLiteral("4989"), false}));
    }

    void storedFormShownWhileTyping_data()
    {
        QTest::addColumn<QString>("typedName");
        QTest::addColumn<QString>("typedNumber");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("number");
        QTest::newRow("local") << "Meier"
                               << "123456"
                               << "Meier"
                               << "4930123456";
        QTest::newRow("no base letter") << "Ayşe 😀"
                                        << "4930123456"
                                        << "Ayse ?"
                                        << "4930123456";
    }
    void storedFormShownWhileTyping()
    {
        QFETCH(QString, typedName);
        QFETCH(QString, typedNumber);
        QFETCH(QString, name);
        QFETCH(QString, number);
        Settings settings;
        settings.ownAreaCode = QStringLiteral("30");
        EntryEditor editor(settings);
        box(editor, "nameBox")->setText(typedName);
        box(editor, "numberBox")->setText(typedNumber);
        QCOMPARE(editor.entry(), (PhoneEntry{name, number, false}));
        const auto *nameHint = editor.findChild<QLabel *>(QStringLiteral("nameHint"));
        const auto *numberHint = editor.findChild<QLabel *>(QStringLiteral("numberHint"));
        QCOMPARE(nameHint->text(), name == typedName ? QString() : "Wird gespeichert als: " + name);
        QCOMPARE(numberHint->text(),
                 number == typedNumber ? QString() : "Wird gespeichert als: " + readableNumber(number, settings));
    }

    void storedNumberIsNotRewritten()
    {
        EntryEditor editor{Settings()};
        editor.setEntry({QStringLiteral("Alt"), QStringLiteral("089 12"), true});
        QCOMPARE(editor.entry().number, QStringLiteral("089 12"));
        box(editor, "numberBox")->setText(QStringLiteral("089 13"));
        QCOMPARE(editor.entry().number, QStringLiteral("498913"));
    }

    void fixedFrameWithoutMinimiseOrMaximise()
    {
        EntryEditor editor{Settings()};
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QVERIFY(!(editor.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(editor.windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(editor.minimumSize(), editor.maximumSize());
        QVERIFY(editor.width() >= 400);
    }

    void escapeCancels()
    {
        EntryEditor editor{Settings()};
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QTest::keyClick(box(editor, "nameBox"), Qt::Key_Escape);
        QVERIFY(!editor.isVisible()); // the result is Rejected before any key
        QCOMPARE(editor.result(), int(QDialog::Rejected));
    }

    void changeMovesEntryToItsPlace()
    {
        nameList(*m_f->window, 0)->selectRow(1);
        PhoneEntry shown;
        whenEditorOpens(
            [](EntryEditor &e) {
                type(e, QStringLiteral("  Adler, Erik  "), QStringLiteral(" 4930 123456 "));
                ok(e);
            },
            &shown);
        menuItem(QStringLiteral("&Ändern"))->trigger();
        QCOMPARE(shown, (PhoneEntry{QStringLiteral("Muster, Erika"), QStringLiteral("4930123456"), true}));
        QCOMPARE(model(0)->rowCount(), 2);
        QCOMPARE(nameList(*m_f->window, 0)->selectedRow(), 0);
        QCOMPARE(
            m_f->read("Telefonregister.ini"),
            kHead + "1,\"Adler, Erik\",\"4930 123456\",1\r\n1,\"Meier\",\"4989555\",0\r\n2,\"Bernd\",\"43222\",1\r\n");
        QCOMPARE(m_f->read("Telefonregister.bak"), kRegister);
    }

    void clearingNameOrNumberRemoves_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("number");
        QTest::newRow("name cleared") << ""
                                      << "4930123456";
        QTest::newRow("number cleared") << "Muster, Erika"
                                        << "";
        QTest::newRow("name of blanks") << "   "
                                        << "4930123456";
    }
    void clearingNameOrNumberRemoves()
    {
        QFETCH(QString, name);
        QFETCH(QString, number);
        nameList(*m_f->window, 0)->selectRow(1);
        whenEditorOpens([=](EntryEditor &e) {
            type(e, name, number);
            ok(e);
        });
        menuItem(QStringLiteral("&Ändern"))->trigger();
        QCOMPARE(m_f->read("Telefonregister.ini"), kHead + "1,\"Meier\",\"4989555\",0\r\n2,\"Bernd\",\"43222\",1\r\n");
    }

    void insertWithZeroFlagOn()
    {
        tabStrip(*m_f->window)->setCurrentIndex(1);
        PhoneEntry shown{QStringLiteral("x"), QStringLiteral("x"), false};
        whenEditorOpens(
            [](EntryEditor &e) {
                type(e, QStringLiteral("Say \"Hi\""), QStringLiteral("4930441000"));
                ok(e);
            },
            &shown);
        menuItem(QStringLiteral("&Einfügen"))->trigger();
        QCOMPARE(shown, (PhoneEntry{QString(), QString(), true}));
        QCOMPARE(model(1)->rowCount(), 2);
        // The list keeps the double quotes; the file gets apostrophes.
        QCOMPARE(model(1)->entry(1).name, QStringLiteral("Say \"Hi\""));
        QCOMPARE(m_f->read("Telefonregister.ini"), kSorted + "2,\"Say 'Hi'\",\"4930441000\",1\r\n");
        QCOMPARE(m_f->window->statusText(), QStringLiteral("4930441000")); // the new entry is the chosen one
    }

    void emptyInsertStillWrites()
    {
        whenEditorOpens([](EntryEditor &e) { ok(e); });
        menuItem(QStringLiteral("&Einfügen"))->trigger();
        QCOMPARE(model(0)->rowCount(), 2);
        QCOMPARE(m_f->read("Telefonregister.ini"), kSorted); // in list order
        QCOMPARE(m_f->read("Telefonregister.bak"), kRegister);
    }

    void keysOpenTheEditor_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("shownName");
        QTest::newRow("F2 changes") << int(Qt::Key_F2) << "Meier";
        QTest::newRow("Insert adds") << int(Qt::Key_Insert) << "";
    }
    void keysOpenTheEditor()
    {
        QFETCH(int, key);
        QFETCH(QString, shownName);
        m_f->activate();
        nameList(*m_f->window, 0)->setFocus();
        nameList(*m_f->window, 0)->selectRow(0);
        PhoneEntry shown{QStringLiteral("x"), QStringLiteral("x"), false};
        whenEditorOpens([](EntryEditor &e) { e.reject(); }, &shown);
        QTest::keyClick(nameList(*m_f->window, 0), Qt::Key(key));
        QCOMPARE(shown.name, shownName);
    }

    void cancelChangesNothing()
    {
        nameList(*m_f->window, 0)->selectRow(0);
        whenEditorOpens([](EntryEditor &e) {
            type(e, QStringLiteral("Anders"), QStringLiteral("1"));
            e.findChild<QPushButton *>(QStringLiteral("cancelButton"))->click();
        });
        menuItem(QStringLiteral("&Ändern"))->trigger();
        QCOMPARE(model(0)->rowCount(), 2);
        QCOMPARE(model(0)->entry(0).name, QStringLiteral("Meier"));
        QVERIFY(!QFile::exists(path("Telefonregister.bak")));
    }
};

QTEST_MAIN(TestEntryEditor)
#include "tst_entryeditor.moc"
