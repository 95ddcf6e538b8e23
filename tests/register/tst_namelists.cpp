// The name lists: what the user sees, keys, mouse, the menu "Namensliste" and deleting.
#include "app/mainwindow.h"
#include "register/namelistcontroller.h"
#include "register/namelistmodel.h"
#include "register/namelistview.h"
#include "register/phoneentry.h"
#include "support/messagebox.h"
#include "testsupport.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTabBar>
#include <QtTest>
#include <memory>

using namespace quirlanto;
using namespace quirlanto::test;

namespace {

const QByteArray kRegister = registerFile("1,\"Muster, Erika\",\"4930123456\",1\r\n"
                                          "1,\"M\xfcller\",\"49 89 555\",0\r\n"
                                          "1,\"Zander\",\"4940777\",0\r\n"
                                          "2,\"Bernd\",\"43222\",1\r\n");

} // namespace

class TestNameLists : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> m_f;
    QList<DialMode> m_dials;
    std::optional<PhoneEntry> m_dialedEntry;

    QString path(const char *name) const { return m_f->path(name); }
    NameListView *list(int card) const { return nameList(*m_f->window, card); }
    NameListModel *model(int card) const { return list(card)->nameModel(); }
    QAction *menuItem(const QString &text) const { return m_f->menuItem(text); }

    // Key presses carrying text, umlauts included.
    static void typeText(QWidget *widget, const QString &text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
        }
    }

    QPointer<QTimer> m_watch;

    void closePopupSoon()
    {
        m_watch = whenShown([] { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); },
                            [](QWidget *menu) { menu->close(); });
    }

private slots:
    void init()
    {
        m_f = std::make_unique<WindowFixture>();
        m_f->start(kRegister);
        m_dials.clear();
        m_dialedEntry.reset();
        connect(m_f->window.get(), &MainWindow::dialRequested, this, [this](DialMode mode) {
            m_dials << mode;
            m_dialedEntry = m_f->window->selectedEntry();
        });
        m_f->activate();
    }
    void cleanup()
    {
        delete m_watch;
        m_f.reset();
    }

    void listShowsNamesOfTheEntries()
    {
        QCOMPARE(model(0)->rowCount(), 3);
        // In name order, not the file's.
        QCOMPARE(model(0)->index(0).data().toString(), QStringLiteral("Müller"));
        QCOMPARE(model(0)->index(1).data().toString(), QStringLiteral("Muster, Erika"));
        QCOMPARE(model(0)->entry(1), (PhoneEntry{"Muster, Erika", "4930123456", true}));
        QVERIFY(list(0)->uniformItemSizes());
        QCOMPARE(list(0)->toolTip(),
                 QStringLiteral("Klick links: Markieren / Doppelklick: Anwahl / Klick rechts: Menü"));
    }

    void clickShowsNumber()
    {
        const QRect second = list(0)->visualRect(model(0)->index(1));
        QTest::mouseClick(list(0)->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(list(0)->selectedRow(), 1);
        QCOMPARE(m_f->window->statusText(), QStringLiteral("4930123456"));
        QVERIFY(m_dials.isEmpty());
    }

    void keysDial_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("dials");
        QTest::newRow("space") << int(Qt::Key_Space) << 1;
        QTest::newRow("return") << int(Qt::Key_Return) << 1;
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << 1;
        QTest::newRow("down arrow") << int(Qt::Key_Down) << 0;
        QTest::newRow("letter") << int(Qt::Key_Z) << 0;
    }
    void keysDial()
    {
        QFETCH(int, key);
        QFETCH(int, dials);
        list(0)->setFocus();
        list(0)->selectRow(0);
        QTest::keyClick(list(0), Qt::Key(key));
        QCOMPARE(m_dials.size(), dials);
        if (dials) {
            QCOMPARE(m_dials.first(), DialMode::SelectedEntry);
            QCOMPARE(m_dialedEntry.value_or(PhoneEntry()), model(0)->entry(0));
        }
    }

    void doubleClickDials()
    {
        const QRect third = list(0)->visualRect(model(0)->index(2));
        QTest::mouseDClick(list(0)->viewport(), Qt::LeftButton, {}, third.center());
        QCOMPARE(m_dials, QList<DialMode>{DialMode::SelectedEntry});
        QCOMPARE(m_dialedEntry.value_or(PhoneEntry()).name, QStringLiteral("Zander"));
    }

    void doubleClickOnEmptyListStillDials()
    {
        tabStrip(*m_f->window)->setCurrentIndex(2);
        QTest::mouseDClick(list(2)->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(m_dials, QList<DialMode>{DialMode::SelectedEntry});
        QVERIFY(!m_dialedEntry.has_value());
    }

    void typingJumpsToName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("row");
        QTest::newRow("z") << "z" << 2;
        QTest::newRow("mü") << "mü" << 0;
        QTest::newRow("mus upper") << "MUS" << 1;
    }
    void typingJumpsToName()
    {
        QFETCH(QString, typed);
        QFETCH(int, row);
        list(0)->setFocus();
        typeText(list(0), typed);
        QCOMPARE(list(0)->selectedRow(), row);
        QVERIFY(m_dials.isEmpty());
    }

    void rightButtonKeepsSelection()
    {
        list(0)->selectRow(0);
        QSignalSpy menu(list(0), &NameListView::menuRequested);
        const QRect third = list(0)->visualRect(model(0)->index(2));
        QTest::mousePress(list(0)->viewport(), Qt::RightButton, {}, third.center());
        QCOMPARE(list(0)->selectedRow(), 0);
        QCOMPARE(menu.size(), 0);
        // The menu key opens the menu at the selected name.
        closePopupSoon();
        QContextMenuEvent keyboardMenu(QContextMenuEvent::Keyboard, QPoint(1, 1), list(0)->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(list(0), &keyboardMenu);
        QCOMPARE(menu.size(), 1);
        const QRect first = list(0)->visualRect(model(0)->index(0));
        QCOMPARE(menu.first().first().toPoint(), list(0)->viewport()->mapToGlobal(first.center()));
        QCOMPARE(list(0)->selectedRow(), 0);
    }

    void menuItemsFollowSelection()
    {
        const QMenu *menu = m_f->window->findChild<QMenu *>(QStringLiteral("nameListMenu"));
        QStringList texts;
        for (QAction *a : menu->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(texts, (QStringList{"&Einfügen", "&Ändern", "&Löschen", "&Rückgängig", "-", "&Importieren …",
                                     "E&xportieren …", "&Suchen", "-", "&Abbrechen"}));
        QCOMPARE(menu->defaultAction(), menuItem(QStringLiteral("&Abbrechen")));
        QCOMPARE(menu->title(), QStringLiteral("Namensliste"));

        // "&Einfügen", "&Ändern" and "&Löschen" as the opened menu shows them.
        const auto enabledWhenOpen = [&] {
            QList<bool> enabled;
            m_watch = whenShown([] { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); },
                                [&](QWidget *popup) {
                                    for (const char *text : {"&Einfügen", "&Ändern", "&Löschen"})
                                        enabled << menuItem(QString::fromUtf8(text))->isEnabled();
                                    popup->close();
                                });
            emit list(0)->menuRequested(list(0)->mapToGlobal(QPoint(5, 5)));
            return enabled;
        };
        list(0)->clearSelection();
        QCOMPARE(enabledWhenOpen(), (QList<bool>{true, false, false}));
        list(0)->selectRow(1);
        QCOMPARE(enabledWhenOpen(), (QList<bool>{true, true, true}));
    }

    void menuPopsUpAndRestoresStatus()
    {
        m_f->window->setStatusText(QStringLiteral("x"));
        closePopupSoon();
        emit list(0)->menuRequested(list(0)->mapToGlobal(QPoint(5, 5)));
        QCOMPARE(m_f->window->statusText(), QStringLiteral("Doppelklick für Anwahl oder rechte Maustaste für Menü"));
    }

    void deleteAsks_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("Ja") << int(QMessageBox::Yes) << true;
        QTest::newRow("Nein") << int(QMessageBox::No) << false;
        QTest::newRow("Enter takes the default") << -1 << false;
    }
    void deleteAsks()
    {
        QFETCH(int, answer);
        QFETCH(bool, deleted);
        if (answer >= 0) // otherwise the default button answers
            MessageBoxes::queueAnswer(QMessageBox::StandardButton(answer));
        list(0)->selectRow(1);
        QVERIFY(!menuItem(QStringLiteral("&Rückgängig"))->isEnabled());
        menuItem(QStringLiteral("&Löschen"))->trigger();

        QCOMPARE(MessageBoxes::shown().size(), 1);
        const auto &question = MessageBoxes::shown().first();
        QCOMPARE(question.icon, MessageIcon::Question);
        QCOMPARE(question.title, QStringLiteral("Eintrag löschen"));
        QCOMPARE(question.text, QStringLiteral("Soll der folgende Eintrag wirklich gelöscht werden?\n\n"
                                               "Muster, Erika (4930123456)"));
        if (deleted) {
            QCOMPARE(model(0)->rowCount(), 2);
            QCOMPARE(m_f->read("Telefonregister.ini"), registerFile("1,\"M\xfcller\",\"49 89 555\",0\r\n"
                                                                    "1,\"Zander\",\"4940777\",0\r\n"
                                                                    "2,\"Bernd\",\"43222\",1\r\n"));
            QCOMPARE(m_f->read("Telefonregister.bak"), kRegister);
            // Ctrl+Z brings it back to its place, chosen, and writes the file.
            QVERIFY(menuItem(QStringLiteral("&Rückgängig"))->isEnabled());
            list(0)->setFocus();
            QTest::keyClick(list(0), Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(list(0)->selectedRow(), 1);
            QCOMPARE(model(0)->entry(1).name, QStringLiteral("Muster, Erika"));
            QCOMPARE(m_f->read("Telefonregister.bak").size(), kRegister.size() - 34); // written: the backup lacks it
            QVERIFY(!menuItem(QStringLiteral("&Rückgängig"))->isEnabled());
        } else {
            QCOMPARE(model(0)->rowCount(), 3);
            QVERIFY(!QFile::exists(path("Telefonregister.bak")));
        }
    }

    void deleteKeyAsksFirst()
    {
        list(0)->setFocus();
        list(0)->selectRow(2);
        MessageBoxes::queueAnswer(QMessageBox::Yes);
        QTest::keyClick(list(0), Qt::Key_Delete);
        QCOMPARE(MessageBoxes::shown().size(), 1);
        QCOMPARE(MessageBoxes::shown().first().text.endsWith(QStringLiteral("Zander (4940777)")), true);
        QCOMPARE(model(0)->rowCount(), 2);
        QVERIFY(m_dials.isEmpty());

        list(0)->clearSelection();
        QTest::keyClick(list(0), Qt::Key_Delete); // nothing selected: no question
        QCOMPARE(MessageBoxes::shown().size(), 1);
    }

    void focusLeavesAlongTheWindowOrToTheTabStrip()
    {
        // Tab goes on to the bottom row; a click elsewhere hands the focus to the tab strip.
        list(0)->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(list(0), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("dialClipboardButton"));
        list(0)->setFocus(Qt::OtherFocusReason);
        auto *autostart = m_f->window->autostartCheckBox();
        QTest::mouseClick(autostart, Qt::LeftButton);
        QTRY_VERIFY(tabStrip(*m_f->window)->hasFocus());
    }

    void nothingLooksSelectedBeforeAChoice()
    {
        list(0)->setFocus(Qt::TabFocusReason);
        QVERIFY(list(0)->hasFocus());
        QVERIFY(!list(0)->currentIndex().isValid());
        QTest::keyClick(list(0), Qt::Key_Return);
        QVERIFY(!m_dialedEntry.has_value());
        QTest::keyClick(list(0), Qt::Key_Down);
        QCOMPARE(list(0)->selectedRow(), 0);
        QCOMPARE(m_f->window->statusText(), QStringLiteral("49 89 555"));
    }

    void tenThousandEntries()
    {
        QByteArray entries;
        for (int i = 0; i < 10000; ++i)
            entries +=
                QStringLiteral("4,\"Teilnehmer%1\",\"4989%2\",0\r\n").arg(i, 5, 10, QLatin1Char('0')).arg(i).toLatin1();
        m_f->start(registerFile(entries));
        QCOMPARE(model(3)->rowCount(), 10000);
        tabStrip(*m_f->window)->setCurrentIndex(3);
        list(3)->setFocus();
        typeText(list(3), QStringLiteral("teilnehmer09999"));
        QCOMPARE(list(3)->selectedRow(), 9999);
    }
};

QTEST_MAIN(TestNameLists)
#include "tst_namelists.moc"
