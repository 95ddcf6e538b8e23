#include "app/mainwindow.h"
#include "options/optionspage.h"
#include "providereditorcontrols.h"
#include "providers/bestprovider.h"
#include "providers/hourrangeslider.h"
#include "providers/providereditor.h"
#include "providers/providerfile.h"
#include "providers/providerlistcontroller.h"
#include "providers/providerlistmodel.h"
#include "providers/providerlistview.h"
#include "providers/providertable.h"
#include "register/registerdocument.h"
#include "support/messagebox.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <functional>
#include <memory>

using namespace quirlanto;
using namespace quirlanto::test;

namespace {

QPointer<QTimer> whenEditorShown(std::function<void(ProviderEditor *)> act, bool *seen = nullptr)
{
    return whenShown([] { return qobject_cast<ProviderEditor *>(QApplication::activeModalWidget()); },
                     [act](QWidget *w) {
                         auto *editor = static_cast<ProviderEditor *>(w);
                         act(editor);
                         // A failed check inside `act` returns early: close anyway so the
                         // test reports the failure instead of hanging in exec().
                         if (editor->isVisible())
                             editor->reject();
                     },
                     seen);
}

QStringList shownColumn(const ProviderListModel &model, int column)
{
    QStringList out;
    for (int r = 0; r < model.rowCount(); ++r)
        out << model.index(r, column).data().toString();
    return out;
}

// The list with its switch and area as the options page holds them.
struct Fixture {
    AnsweredMessages messages;
    ProgramFolder folder;
    RegisterDocument book;
    QWidget page;
    QCheckBox *providerSwitch = nullptr;
    QWidget *area = nullptr;
    std::unique_ptr<ProviderListController> controller;

    QString file() const { return folder.filePath(QStringLiteral("Provider.ini")); }
    QString backup() const { return folder.filePath(QStringLiteral("Provider.bak")); }

    explicit Fixture(const QString &filePath = {})
        : book(DataPaths{QString(), QString(), filePath.isEmpty() ? file() : filePath, backup()})
    {
        auto *layout = new QVBoxLayout(&page);
        providerSwitch = new QCheckBox(QStringLiteral("&Call-by-Call Provider-Liste"), &page);
        area = new QWidget(&page);
        layout->addWidget(providerSwitch);
        layout->addWidget(area);
        controller = std::make_unique<ProviderListController>(book, providerSwitch, area);
        page.resize(520, 300);
    }

    ProviderListView *view() const { return area->findChild<ProviderListView *>(QStringLiteral("providerList")); }
    ProviderListModel *model() const { return qobject_cast<ProviderListModel *>(view()->model()); }

    const ProviderTable &table() const { return book.providers(); }
    // Rows as if loaded: nothing is written.
    void addRow(const QString &name, const QString &prefix, qint16 weekday, qint16 weekend, qint16 from, qint16 to,
                qint16 local, qint16 longDistance, qint16 abroad)
    {
        ProviderTable t = book.providers();
        t.addProviderRow(name, prefix, weekday, weekend, from, to, local, longDistance, abroad);
        book.setProviders(t);
    }

    void addRows()
    {
        addRow(QStringLiteral("Alpha"), QStringLiteral("01070"), 1, 0, 7, 18, 0, 1, 0);
        addRow(QStringLiteral("Beta"), QStringLiteral("01013"), 1, 1, 8, 24, 1, 1, 1);
        addRow(QStringLiteral("Gamma"), QStringLiteral("01011"), 0, 1, 10, 20, 0, 1, 0);
    }

    [[nodiscard]] bool showPage()
    {
        page.show();
        return QTest::qWaitForWindowExposed(&page);
    }

    void clickHeader(int column)
    {
        QHeaderView *head = view()->header();
        const QPoint at(head->sectionViewportPosition(column) + 5, head->height() / 2);
        QTest::mouseClick(head->viewport(), Qt::LeftButton, {}, at);
    }

    QPoint rowPoint(int row) const { return view()->visualRect(model()->index(row, 0)).center(); }

    void doubleClickEmptyArea()
    {
        view()->selectionModel()->clearSelection();
        const QPoint below(10, view()->viewport()->height() - 3);
        QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, below);
    }
};

const QByteArray kAlphaLine = "\"Alpha\",\"01070\",1,0,7,18,0,1,0\r\n";
const QByteArray kBetaLine = "\"Beta\",\"01013\",1,1,8,24,1,1,1\r\n";
const QByteArray kGammaLine = "\"Gamma\",\"01011\",0,1,10,20,0,1,0\r\n";

} // namespace

class TestProviderList : public QObject {
    Q_OBJECT

private slots:
    void columnCaptions()
    {
        Fixture f;
        QStringList captions;
        for (int c = 0; c < f.model()->columnCount(); ++c)
            captions << f.model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(captions, (QStringList{"Name", "Netz", "Tag", "ab", "bis", "Weite"}));
    }

    void twipsAtDpi_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("pixels");
        QTest::newRow("name at 96") << 1175 << 96 << 78;
        QTest::newRow("tag at 96") << 1058 << 96 << 71;
        QTest::newRow("name at 144") << 1175 << 144 << 118;
    }
    void twipsAtDpi()
    {
        QFETCH(int, twips);
        QFETCH(int, dpi);
        QFETCH(int, pixels);
        QCOMPARE(ProviderListModel::twipsToPixels(twips, dpi), pixels);
    }

    void lastColumnFillsTheWidth()
    {
        Fixture f;
        QVERIFY(f.showPage());
        const QHeaderView *header = f.view()->header();
        const int last = ProviderListModel::kColumns - 1;
        QCOMPARE(header->sectionViewportPosition(last) + header->sectionSize(last), f.view()->viewport()->width());
    }

    void listShowsTextForms()
    {
        Fixture f;
        QCOMPARE(f.view()->toolTip(), QStringLiteral("Änderungen über Kontextmenü (rechte Maustaste)"));
        QVERIFY(f.view()); // in the area the page gave
        f.addRow(QStringLiteral("  Nacht  "), QStringLiteral(" 01019 "), 1, 1, 0, 24, 1, 1, 1);
        f.addRow(QStringLiteral("Tag"), QStringLiteral("010"), 1, 0, 9, 18, 0, 1, 1);
        f.addRow(QStringLiteral("Wochenende"), QStringLiteral("011"), 0, 1, 18, 24, 1, 0, 0);
        f.addRow(QStringLiteral("Zombie"), QStringLiteral("012"), 0, 0, 5, 5, 0, 0, 0);
        const QStringList expected[6] = {
            {"Nacht", "Tag", "Wochenende", "Zombie"},
            {"01019", "010", "011", "012"},
            {"Immer", "Mo-Fr", "Sa-So", ""},
            {"00h", "09h", "18h", "05h"},
            {"24h", "18h", "24h", "05h"},
            {"NFA", "FA", "N", ""},
        };
        for (int c = 0; c < 6; ++c)
            QCOMPARE(shownColumn(*f.model(), c), expected[c]);
    }

    // Header clicks: first click sorts without reversing, the same header again reverses,
    // another header keeps the direction. The table (and so the provider chosen and the
    // file's row order) follows what is shown.
    void sortSequence_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<bool>("ascending");
        QTest::addColumn<QString>("best"); // Wednesday 10 o'clock, long distance
        QTest::newRow("nothing clicked") << QList<int>{} << QStringList{"Alpha", "Beta", "Gamma"} << true << "01070";
        QTest::newRow("first click on current column")
            << QList<int>{0} << QStringList{"Alpha", "Beta", "Gamma"} << true << "01070";
        QTest::newRow("name twice") << QList<int>{0, 0} << QStringList{"Gamma", "Beta", "Alpha"} << false << "01013";
        QTest::newRow("netz") << QList<int>{1} << QStringList{"Gamma", "Beta", "Alpha"} << true << "01013";
        QTest::newRow("netz twice") << QList<int>{1, 1} << QStringList{"Alpha", "Beta", "Gamma"} << false << "01070";
        QTest::newRow("netz twice then ab")
            << QList<int>{1, 1, 3} << QStringList{"Gamma", "Beta", "Alpha"} << false << "01013";
        QTest::newRow("netz thrice") << QList<int>{1, 1, 1} << QStringList{"Gamma", "Beta", "Alpha"} << true << "01013";
    }
    void sortSequence()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(QStringList, order);
        QFETCH(bool, ascending);
        QFETCH(QString, best);
        Fixture f;
        f.addRows();
        QVERIFY(f.showPage());
        for (int column : clicks)
            f.clickHeader(column);

        QCOMPARE(shownColumn(*f.model(), 0), order);
        QCOMPARE(names(f.table()), order);
        QCOMPARE(f.table().sortAscending(), ascending);
        const QHeaderView *head = f.view()->header();
        QCOMPARE(head->sortIndicatorSection(), clicks.isEmpty() ? 0 : clicks.last());
        QCOMPARE(head->sortIndicatorOrder(), ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        QCOMPARE(bestProvider(f.table(), 3, 10, 2), best);

        // A user click on the switch saves; the rows stand in the file in the order shown.
        f.providerSwitch->click();
        QByteArray expected = "1\r\n";
        for (const QString &name : order)
            expected += name == "Alpha" ? kAlphaLine : name == "Beta" ? kBetaLine : kGammaLine;
        QCOMPARE(readFile(f.file()), expected);
    }

    void tooltipOverRowsAndEmptySpace()
    {
        Fixture f;
        f.addRows();
        QVERIFY(f.showPage());
        const QString tip = QStringLiteral("Änderungen über Kontextmenü (rechte Maustaste)");
        for (const QPoint &at : {f.rowPoint(1), QPoint(10, f.view()->viewport()->height() - 3)}) {
            QToolTip::hideText();
            QHelpEvent help(QEvent::ToolTip, at, f.view()->viewport()->mapToGlobal(at));
            QApplication::sendEvent(f.view()->viewport(), &help);
            QTRY_COMPARE(QToolTip::text(), tip);
        }
    }

    void sortKeepsSelectedRow()
    {
        Fixture f;
        f.addRows();
        f.view()->selectRow(0); // Alpha
        emit f.view()->header()->sectionClicked(1);
        QCOMPARE(f.view()->selectedRow(), 2);
        QCOMPARE(f.table().at(2).name, QStringLiteral("Alpha"));
    }

    void contextMenuGreying_data()
    {
        QTest::addColumn<int>("select");
        QTest::addColumn<bool>("changeEnabled");
        QTest::newRow("no selection") << -1 << false;
        QTest::newRow("row selected") << 1 << true;
    }
    void contextMenuGreying()
    {
        QFETCH(int, select);
        QFETCH(bool, changeEnabled);
        Fixture f;
        f.addRows();
        QVERIFY(f.showPage());
        QPoint at(10, f.view()->viewport()->height() - 3);
        if (select >= 0) {
            at = f.rowPoint(select);
            QTest::mousePress(f.view()->viewport(), Qt::RightButton, {}, at);
            QTest::mouseRelease(f.view()->viewport(), Qt::RightButton, {}, at);
        } else {
            f.view()->selectionModel()->clearSelection();
        }

        QStringList texts;
        QList<bool> enabled;
        QString defaultText;
        bool bold = false;
        bool seen = false;
        whenShown([] { return QApplication::activePopupWidget(); },
                  [&](QWidget *w) {
                      auto *menu = qobject_cast<QMenu *>(w);
                      QVERIFY(menu);
                      for (QAction *a : menu->actions()) {
                          texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
                          enabled << a->isEnabled();
                      }
                      defaultText = menu->defaultAction() ? menu->defaultAction()->text() : QString();
                      bold = menu->defaultAction() && menu->defaultAction()->objectName() == "cancelAction";
                      menu->close();
                  },
                  &seen);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, f.view()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(f.view()->viewport(), &event);

        QVERIFY(seen);
        QCOMPARE(texts, (QStringList{"&Einfügen", "&Ändern", "&Löschen", "-", "&Abbrechen"}));
        QCOMPARE(enabled, (QList<bool>{true, changeEnabled, changeEnabled, true, true}));
        QCOMPARE(defaultText, QStringLiteral("&Abbrechen"));
        QVERIFY(bold);
        QVERIFY(!QFile::exists(f.file())); // opening and closing the menu changes nothing
    }

    void doubleClickWithoutSelectionOpensInsertDefaults()
    {
        Fixture f;
        f.addRows();
        QVERIFY(f.showPage());
        ProviderEditorValues opened;
        bool seen = false;
        whenEditorShown(
            [&](ProviderEditor *e) {
                const test::ProviderEditorControls c(e);
                opened = e->values();
                QCOMPARE(c.timeLabel()->text(), QStringLiteral("09h - 18h"));
                c.cancelButton()->click();
            },
            &seen);
        f.doubleClickEmptyArea();
        QVERIFY(seen);
        QCOMPARE(opened, ProviderEditorValues{}); // "Mo - Fr", 9 to 18, only "Fern"
        QCOMPARE(opened.dayClass, DayClass::Weekdays);
        QCOMPARE(opened.longDistance && !opened.local && !opened.abroad, true);
        QCOMPARE(f.table().rowCount(), 3);
        QVERIFY(!QFile::exists(f.file())); // cancel saves nothing
    }

    void doubleClickOnRowOpensItsValues()
    {
        Fixture f;
        f.addRows();
        QVERIFY(f.showPage());
        ProviderEditorValues opened;
        bool seen = false;
        whenEditorShown(
            [&](ProviderEditor *e) {
                opened = e->values();
                e->close();
            },
            &seen);
        QTest::mouseDClick(f.view()->viewport(), Qt::LeftButton, {}, f.rowPoint(1));
        QVERIFY(seen);
        const ProviderEditorValues beta{"Beta", "01013", DayClass::Always, 8, 24, true, true, true};
        QCOMPARE(opened, beta);
        QCOMPARE(f.table().rowCount(), 3);
        QVERIFY(!QFile::exists(f.file())); // closing the window saves nothing
    }

    // Every change through the editor or the delete question, and the file after it.
    void changesAndFileBytes()
    {
        Fixture f;
        QVERIFY(f.showPage());

        // Insert with typed values; Enter in the boxes moves on, it does not accept.
        whenEditorShown([](ProviderEditor *e) {
            const test::ProviderEditorControls c(e);
            QApplication::setActiveWindow(e);
            QTRY_VERIFY(c.nameBox()->hasFocus());
            QTest::keyClicks(c.nameBox(), QStringLiteral(" Gamma "));
            QTest::keyClick(c.nameBox(), Qt::Key_Return);
            QTRY_VERIFY(c.prefixBox()->hasFocus());
            QTest::keyClicks(c.prefixBox(), QStringLiteral("01011"));
            QTest::keyClick(c.prefixBox(), Qt::Key_Return);
            QTRY_VERIFY(c.okButton()->hasFocus());
            QVERIFY(e->isVisible());
            c.dayOption(2)->click();
            c.timeSlider()->setValue(10);
            QTest::mousePress(c.timeSlider(), Qt::LeftButton, Qt::ControlModifier, c.timeSlider()->rect().center());
            QTest::mouseRelease(c.timeSlider(), Qt::LeftButton, Qt::ControlModifier, c.timeSlider()->rect().center());
            c.timeSlider()->setValue(20);
            QTest::keyClick(c.okButton(), Qt::Key_Return);
        });
        QTest::keyClick(f.view(), Qt::Key_Insert);
        QCOMPARE(f.table().rowCount(), 1);
        QCOMPARE(readFile(f.file()), "0\r\n" + kGammaLine);
        QCOMPARE(f.view()->selectedRow(), 0);

        whenEditorShown([](ProviderEditor *e) {
            const test::ProviderEditorControls c(e);
            c.nameBox()->setText(QStringLiteral("Alpha"));
            c.prefixBox()->setText(QStringLiteral("01070"));
            c.dayOption(1)->click();
            c.timeSlider()->setValue(7);
            QTest::keyClick(c.timeSlider(), Qt::Key_Right, Qt::ShiftModifier);
            c.timeSlider()->setValue(18);
            c.okButton()->click();
        });
        QTest::keyClick(f.view(), Qt::Key_Insert);
        QCOMPARE(readFile(f.file()), "0\r\n" + kAlphaLine + kGammaLine);
        QCOMPARE(readFile(f.backup()), "0\r\n" + kGammaLine);

        // Change Gamma to Beta: the old row goes, the new one lands at its sorted place.
        f.view()->selectRow(1);
        whenEditorShown([](ProviderEditor *e) {
            const test::ProviderEditorControls c(e);
            QCOMPARE(c.nameBox()->text(), QStringLiteral("Gamma"));
            c.nameBox()->setText(QStringLiteral("Beta"));
            c.prefixBox()->setText(QStringLiteral("01013"));
            c.dayOption(3)->click();
            c.distanceBox(1)->setChecked(true);
            c.distanceBox(3)->setChecked(true);
            c.timeSlider()->setValue(8);
            QTest::mousePress(c.timeSlider(), Qt::LeftButton, Qt::AltModifier, c.timeSlider()->rect().center());
            c.timeSlider()->setValue(24);
            c.okButton()->click();
        });
        QTest::keyClick(f.view(), Qt::Key_Return);
        QCOMPARE(readFile(f.file()), "0\r\n" + kAlphaLine + kBetaLine);
        QCOMPARE(f.view()->selectedRow(), 1);

        // Delete: "Nein" keeps everything and writes nothing.
        const QByteArray beforeDelete = readFile(f.file());
        const QByteArray backupBeforeDelete = readFile(f.backup());
        f.view()->selectRow(0);
        MessageBoxes::queueAnswer(QMessageBox::No);
        QTest::keyClick(f.view(), Qt::Key_Delete);
        QCOMPARE(MessageBoxes::shown().size(), 1);
        QCOMPARE(MessageBoxes::shown().last().icon, MessageIcon::Question);
        QCOMPARE(MessageBoxes::shown().last().text,
                 QStringLiteral("Soll der folgende Eintrag wirklich gelöscht werden?\n\nAlpha (01070)"));
        QCOMPARE(MessageBoxes::shown().last().title, QStringLiteral("Eintrag löschen"));
        QCOMPARE(f.table().rowCount(), 2);
        QCOMPARE(readFile(f.file()), beforeDelete);
        QCOMPARE(readFile(f.backup()), backupBeforeDelete);

        MessageBoxes::queueAnswer(QMessageBox::Yes);
        QTest::keyClick(f.view(), Qt::Key_Delete);
        QCOMPARE(readFile(f.file()), "0\r\n" + kBetaLine);
        QCOMPARE(readFile(f.backup()), beforeDelete);
    }

    void changeWithClearedNameRemovesAndSaves()
    {
        Fixture f;
        f.addRows();
        f.view()->selectRow(1);
        whenEditorShown([](ProviderEditor *e) {
            const test::ProviderEditorControls c(e);
            c.nameBox()->clear();
            c.okButton()->click();
        });
        QTest::keyClick(f.view(), Qt::Key_Return);
        QCOMPARE(f.table().rowCount(), 2);
        QCOMPARE(readFile(f.file()), "0\r\n" + kAlphaLine + kGammaLine);
        QCOMPARE(MessageBoxes::shown().size(), 0); // no confirmation
    }

    void insertWithEmptyFieldStillSaves_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("empty name") << ""
                                    << "01013";
        QTest::newRow("empty prefix") << "Beta"
                                      << "";
    }
    void insertWithEmptyFieldStillSaves()
    {
        QFETCH(QString, name);
        QFETCH(QString, prefix);
        Fixture f;
        f.addRow(QStringLiteral("Alpha"), QStringLiteral("01070"), 1, 0, 7, 18, 0, 1, 0);
        QVERIFY(saveProviderFile(f.table(), f.file(), f.backup()).ok);
        whenEditorShown([&](ProviderEditor *e) {
            const test::ProviderEditorControls c(e);
            c.nameBox()->setText(name);
            c.prefixBox()->setText(prefix);
            c.okButton()->click();
        });
        QTest::keyClick(f.view(), Qt::Key_Insert);
        QCOMPARE(f.table().rowCount(), 1);
        QCOMPARE(readFile(f.file()), "0\r\n" + kAlphaLine);
        QCOMPARE(readFile(f.backup()), "0\r\n" + kAlphaLine); // the backup is refreshed too
    }

    void insertedRowIsStored_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("storedName");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("blank name gives an empty one") << "   "
                                                       << " 0190 "
                                                       << "" << QByteArray("\"\",\"0190\"");
        QTest::newRow("double quote as the file holds it") << "Sag \"Hallo\""
                                                           << "010"
                                                           << "Sag 'Hallo'" << QByteArray("\"Sag 'Hallo'\",\"010\"");
    }
    void insertedRowIsStored()
    {
        QFETCH(QString, name);
        QFETCH(QString, prefix);
        QFETCH(QString, storedName);
        QFETCH(QByteArray, line);
        Fixture f;
        whenEditorShown([&](ProviderEditor *e) {
            const test::ProviderEditorControls c(e);
            c.nameBox()->setText(name);
            c.prefixBox()->setText(prefix);
            c.okButton()->click();
        });
        QTest::keyClick(f.view(), Qt::Key_Insert);
        QCOMPARE(f.table().rowCount(), 1);
        QCOMPARE(f.table().at(0).name, storedName);
        QCOMPARE(readFile(f.file()), "0\r\n" + line + ",1,0,9,18,0,1,0\r\n");
    }

    // A row with empty name and prefix (from blanks) is still replaced, not duplicated.
    void changingEmptyRowReplacesIt()
    {
        Fixture f;
        f.addRow(QStringLiteral(" "), QStringLiteral(" "), 1, 0, 9, 18, 0, 1, 0);
        f.view()->selectRow(0);
        whenEditorShown([](ProviderEditor *e) {
            const test::ProviderEditorControls c(e);
            c.nameBox()->setText(QStringLiteral("Delta"));
            c.prefixBox()->setText(QStringLiteral("01088"));
            c.okButton()->click();
        });
        QTest::keyClick(f.view(), Qt::Key_Return);
        QCOMPARE(f.table().rowCount(), 1);
        QCOMPARE(readFile(f.file()), QByteArray("0\r\n\"Delta\",\"01088\",1,0,9,18,0,1,0\r\n"));
    }

    void switchSavesOnlyOnUserClick()
    {
        Fixture f;
        f.addRows();
        ProviderTable enabled = f.table();
        enabled.providersEnabled = true;
        f.book.setProviders(enabled); // as the start-up loads it: shown, not saved
        QVERIFY(f.providerSwitch->isChecked());
        f.providerSwitch->setChecked(false);
        QVERIFY(f.table().providersEnabled);
        QVERIFY(!QFile::exists(f.file()));

        f.providerSwitch->click();
        QVERIFY(f.table().providersEnabled);
        QCOMPARE(readFile(f.file()), "1\r\n" + kAlphaLine + kBetaLine + kGammaLine);
        f.providerSwitch->click();
        QVERIFY(!f.table().providersEnabled);
        QCOMPARE(readFile(f.file()), "0\r\n" + kAlphaLine + kBetaLine + kGammaLine);
        QCOMPARE(readFile(f.backup()), "1\r\n" + kAlphaLine + kBetaLine + kGammaLine);
    }

    void refreshShowsLoadedTable()
    {
        Fixture f;
        ProviderTable loaded;
        QVERIFY(readProviders("1\r\n" + kGammaLine + kAlphaLine, loaded).ok);
        f.book.setProviders(loaded);
        QCOMPARE(f.model()->rowCount(), 2);
        QCOMPARE(shownColumn(*f.model(), 0), (QStringList{"Alpha", "Gamma"}));
        QVERIFY(f.providerSwitch->isChecked());
    }

    void failedSaveIsReported()
    {
        QTemporaryDir dir;
        const QString unwritable = dir.filePath(QStringLiteral("fehlt/Provider.ini"));
        Fixture f(unwritable);
        f.addRows();
        f.providerSwitch->click();
        const WriteResult direct = saveProviderFile(f.table(), unwritable, f.backup());
        QVERIFY(!direct.ok);
        QCOMPARE(MessageBoxes::shown().size(), 1);
        QCOMPARE(MessageBoxes::shown().last().icon, MessageIcon::Critical);
        QCOMPARE(MessageBoxes::shown().last().text, direct.error);
        QVERIFY(!direct.error.isEmpty());
    }

    void fullTableRefusesInsert()
    {
        Fixture f;
        ProviderEntry e{"Voll", "010", DayClass::Always, 0, 24, true, true, true};
        ProviderTable full;
        for (int i = 0; i < ProviderTable::kMaxRows; ++i)
            full.appendUnsorted(e);
        f.book.setProviders(full);
        bool seen = false;
        QPointer<QTimer> watcher = whenEditorShown([](ProviderEditor *ed) { ed->reject(); }, &seen);
        QTest::keyClick(f.view(), Qt::Key_Insert);
        QTest::qWait(50);
        QVERIFY(!seen);
        delete watcher;
        QCOMPARE(MessageBoxes::shown().size(), 1);
        QCOMPARE(MessageBoxes::shown().last().text, providerTableFullMessage());
        QVERIFY(providerTableFullMessage().contains(QStringLiteral("32.767")));
        QCOMPARE(f.table().rowCount(), ProviderTable::kMaxRows);

        // Changing a row of a full table still works: the old row goes first.
        f.view()->selectRow(4);
        whenEditorShown([](ProviderEditor *ed) {
            const test::ProviderEditorControls c(ed);
            c.nameBox()->setText(QStringLiteral("Anders"));
            c.okButton()->click();
        });
        QTest::keyClick(f.view(), Qt::Key_Return);
        QCOMPARE(f.table().rowCount(), ProviderTable::kMaxRows);
        QCOMPARE(f.table().at(0).name, QStringLiteral("Anders"));
        QCOMPARE(MessageBoxes::shown().size(), 1);
    }

    // The started program shows the loaded table on its options page and saves only on
    // changes made after loading.
    void startedProgramShowsProviders_data()
    {
        QTest::addColumn<bool>("registerExists");
        // A new register file sends the user to the options at start; otherwise the options
        // page, and with it the list, is built when the user first opens it.
        QTest::newRow("new register file") << false;
        QTest::newRow("options opened later") << true;
    }

    void startedProgramShowsProviders()
    {
        QFETCH(bool, registerExists);
        WindowFixture f;
        const QByteArray stored = "1\r\n" + kGammaLine + kAlphaLine;
        f.write("Provider.ini", stored);
        MainWindow &window = f.start(registerExists ? registerFile("1,\"Meier\",\"4989555\",0\r\n") : QByteArray());
        QCOMPARE(window.findChild<OptionsPage *>() != nullptr, !registerExists);
        if (registerExists)
            tabStrip(window)->setCurrentIndex(MainWindow::kOptionsTab);
        QVERIFY(window.findChild<OptionsPage *>());
        auto *list = window.optionsPage()->findChild<ProviderListView *>(QStringLiteral("providerList"));
        QVERIFY(list);
        QCOMPARE(shownColumn(*static_cast<ProviderListModel *>(list->model()), 0), (QStringList{"Alpha", "Gamma"}));
        auto *providerSwitch = window.optionsPage()->findChild<QCheckBox *>(QStringLiteral("providerSwitch"));
        QVERIFY(providerSwitch->isChecked());
        QVERIFY(f.book->providers().providersEnabled);
        QCOMPARE(f.read("Provider.ini"), stored);

        providerSwitch->click();
        QCOMPARE(f.read("Provider.ini"), "0\r\n" + kAlphaLine + kGammaLine);
        QCOMPARE(f.read("Provider.bak"), stored);
        // The program closes its window before it is destroyed; a visible window would
        // repaint the list from a table that is already gone.
        window.hide();
    }
};

QTEST_MAIN(TestProviderList)
#include "tst_providerlist.moc"
