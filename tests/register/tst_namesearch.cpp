// Ctrl+F: one field that finds names and numbers on all cards.
#include "app/mainwindow.h"
#include "register/namelistview.h"
#include "register/namesearch.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QListView>
#include <QTabBar>
#include <QtTest>

using namespace quirlanto;
using namespace quirlanto::test;

class TestNameSearch : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_f;

    QLineEdit *field() const { return m_f->window->findChild<QLineEdit *>(QStringLiteral("searchField")); }
    QStringList hits() const
    {
        QStringList texts;
        const QAbstractItemModel *model = m_f->window->findChild<QListView *>(QStringLiteral("searchHits"))->model();
        for (int i = 0; i < model->rowCount(); ++i)
            texts << model->index(i, 0).data().toString();
        return texts;
    }

private slots:
    void init()
    {
        m_f = std::make_unique<WindowFixture>();
        m_f->start(registerFile("1,\"M\xfcller, Hans\",\"4930123\",1\r\n"
                                "1,\"Zander\",\"4940777\",0\r\n"
                                "3,\"MULLER Bau\",\"4989555\",1\r\n"
                                "4,\"Ren\xe9 Kiosk\",\"4940111\",1\r\n"));
        m_f->activate();
    }
    void cleanup() { m_f.reset(); }

    void foldingIgnoresCaseAndAccents()
    {
        QCOMPARE(searchFolded(QStringLiteral("MÜLLER Renée")), QStringLiteral("muller renee"));
    }

    void findsAsGermansWriteNamesAndNumbers_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        const QStringList muellers{"Müller, Hans", "Mueller, Eva", "MULLER Bau"}, handy{"Schulz, Handy"};
        QTest::newRow("ue for ü") << "mueller" << muellers;
        QTest::newRow("u for ue") << "muller" << muellers;
        QTest::newRow("ss for ß") << "weiss" << QStringList{"Weiß"};
        QTest::newRow("oe for Ö") << "oettinger" << QStringList{"Öttinger-Großner"};
        QTest::newRow("ss for ß inside") << "grossner" << QStringList{"Öttinger-Großner"};
        QTest::newRow("part after ue") << "el" << QStringList{"Mueller, Eva"};
        QTest::newRow("national") << "0171 2345" << handy;
        QTest::newRow("international") << "+49 171 2345" << handy;
        QTest::newRow("national unspaced") << "01712345" << handy;
    }
    void findsAsGermansWriteNamesAndNumbers()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        m_f->book->importEntries({{1, {"Mueller, Eva", "4930555", true}},
                                  {1, {"Weiß", "4940222", true}},
                                  {1, {"Öttinger-Großner", "4940333", true}},
                                  {1, {"Schulz, Handy", "4917123456789", true}}});
        SearchHitModel model(*m_f->book);
        model.setFilter(typed);
        QStringList names;
        for (int i = 0; i < model.rowCount(); ++i)
            names << m_f->book->entries(model.hit(i).card).at(model.hit(i).row).name;
        QCOMPARE(names, found);
    }

    void keysFilterMoveDialAndClose()
    {
        QList<std::optional<PhoneEntry>> dialed;
        connect(m_f->window.get(), &MainWindow::dialRequested, this, [&] { dialed << m_f->window->selectedEntry(); });
        QVERIFY(!field()->isVisible());
        QTest::keyClick(m_f->window.get(), Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(field()->hasFocus());
        QVERIFY(field()->isClearButtonEnabled()); // set on opening, not at start

        const QWidget *noHits = m_f->window->findChild<QWidget *>("noHitsLabel");
        QTest::keyClicks(field(), "mullerx");
        QVERIFY(noHits->isVisible());
        QTest::keyClick(field(), Qt::Key_Backspace);
        QVERIFY(!noHits->isVisible());
        QCOMPARE(hits(), (QStringList{"Müller, Hans (+49 30123)   –   A", "MULLER Bau (+49 89 555)   –   C"}));
        field()->clear();
        QTest::keyClicks(field(), "4940");
        QCOMPARE(hits(), (QStringList{"Zander (+49 40777)   –   A", "René Kiosk (+49 40111)   –   D"}));

        QTest::keyClick(field(), Qt::Key_Down);
        QTest::keyClick(field(), Qt::Key_Down); // stays on the last hit
        QTest::keyClick(field(), Qt::Key_Up);
        QTest::keyClick(field(), Qt::Key_Return);
        QCOMPARE(dialed, (QList<std::optional<PhoneEntry>>{PhoneEntry{"Zander", "4940777", false}}));
        QCOMPARE(m_f->window->currentTab(), 0);
        QTRY_VERIFY(nameList(*m_f->window, 0)->hasFocus()); // the card was shown already

        QTest::keyClick(m_f->window.get(), Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(field()->hasFocus());
        QTest::keyClick(field(), Qt::Key_Down);
        QTest::keyClick(field(), Qt::Key_Return);
        QCOMPARE(dialed.last(), (std::optional<PhoneEntry>{PhoneEntry{"René Kiosk", "4940111", true}}));
        QCOMPARE(m_f->window->currentTab(), 3);

        QTest::keyClick(m_f->window.get(), Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(field()->hasFocus());
        QTest::keyClick(field(), Qt::Key_Escape);
        QVERIFY(!field()->isVisible());
        QTRY_VERIFY(nameList(*m_f->window, 3)->hasFocus());
    }

    // An entry above a hit goes while the field is open: Enter must still dial the hit shown.
    void hitsFollowChangesOfTheRegister()
    {
        QList<std::optional<PhoneEntry>> dialed;
        connect(m_f->window.get(), &MainWindow::dialRequested, this, [&] { dialed << m_f->window->selectedEntry(); });
        QTest::keyClick(m_f->window.get(), Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(field()->hasFocus());
        QTest::keyClicks(field(), "4940");
        QVERIFY(m_f->book->removeEntry(0, 0).ok);
        QTRY_COMPARE(hits(), (QStringList{"Zander (+49 40777)   –   A", "René Kiosk (+49 40111)   –   D"}));
        QTest::keyClick(field(), Qt::Key_Return);
        QCOMPARE(dialed, (QList<std::optional<PhoneEntry>>{PhoneEntry{"Zander", "4940777", false}}));
    }
};

QTEST_MAIN(TestNameSearch)
#include "tst_namesearch.moc"
