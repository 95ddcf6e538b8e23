// The window "Anrufliste" over a real call list file: search, call back, delete, clear.
#include "calls/calllistmodel.h"
#include "calls/calllistwindow.h"
#include "calls/callstore.h"
#include "support/messagebox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace quirlanto;

class TestCallListWindow : public QObject {
    Q_OBJECT
private slots:
    void searchCallBackDeleteClear()
    {
        QTemporaryDir dir;
        CallStore store(dir.filePath(kCallListFileName));
        const QDateTime t(QDate(2026, 12, 8), QTime(9, 0));
        // Added out of time order (the router's clock is not ours): shown newest first all the same.
        store.add({0, t.addSecs(120), CallRecord::Kind::Answered, "4940777", "Jörg Ärger", {}, 75});
        store.add({0, t, CallRecord::Kind::Dialed, "4930123456", "Erika Müller", "Modem", 0});
        store.add({0, t.addSecs(60), CallRecord::Kind::Missed, "498955512", {}, {}, 0});
        Settings settings;
        settings.ownAreaCode = "30";
        CallListModel model(store, [settings] { return settings; });
        model.reload();
        CallListWindow window(model);
        QSignalSpy callBacks(&window, &CallListWindow::callBackRequested);
        QSignalSpy toRegister(&window, &CallListWindow::addToRegisterRequested);
        connect(&window, &CallListWindow::removeRequested, &store, &CallStore::remove);
        connect(&window, &CallListWindow::clearRequested, &store, &CallStore::clear);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto column = [&](int c) {
            QStringList texts;
            for (int row = 0; row < model.rowCount(); ++row)
                texts.append(model.index(row, c).data().toString());
            return texts;
        };
        QCOMPARE(column(CallListModel::Kind), (QStringList{"Angenommen", "Verpasst", "Gewählt"}));
        QCOMPARE(model.index(0, CallListModel::DeviceOrDuration).data().toString(), "1:15 min");

        // Accents and case ignored; a number as written within the own area finds the stored one.
        const auto search = [&](const QString &text) {
            window.searchField()->setText(text);
            return column(CallListModel::Name);
        };
        QCOMPARE(search("jorg arger"), QStringList{"Jörg Ärger"});
        QCOMPARE(search("MULLER"), QStringList{"Erika Müller"});
        QCOMPARE(search("030 123"), QStringList{"Erika Müller"});
        QCOMPARE(search("55512"), QStringList{""});
        QVERIFY(window.findChild<QPushButton *>("addToRegisterButton")->isEnabled());
        window.findChild<QPushButton *>("addToRegisterButton")->click();
        QCOMPARE(toRegister.takeFirst().first().toString(), "498955512");
        // Once the register holds the number, the row is named and offers no "Ins Register …".
        model.setNameLookup([](const QString &n) { return n == "498955512" ? QString("Bauer, Uli") : QString(); });
        model.namesChanged();
        QCOMPARE(column(CallListModel::Name), QStringList{"Bauer, Uli"});
        QVERIFY(!window.findChild<QPushButton *>("addToRegisterButton")->isEnabled());
        // ... and the search finds it by that name.
        model.setNamedNumbers(
            [](const QString &f) { return QString("bauer, uli").contains(f) ? QStringList{"498955512"} : QStringList(); });
        QCOMPARE(search("BAUER"), QStringList{"Bauer, Uli"});
        search("");
        model.setNameLookup({});
        QCOMPARE(search("%"), QStringList{});
        QCOMPARE(search(""), (QStringList{"Jörg Ärger", "", "Erika Müller"}));

        // Enter on the row calls back.
        window.table()->setFocus();
        window.table()->setCurrentIndex(model.index(2, 0));
        QVERIFY(!window.findChild<QPushButton *>("addToRegisterButton")->isEnabled());
        QTest::keyClick(window.table(), Qt::Key_Return);
        QCOMPARE(callBacks.size(), 1);
        QCOMPARE(callBacks.first(), (QVariantList{"4930123456", "Erika Müller"}));

        window.findChild<QPushButton *>("deleteCallButton")->click();
        QCOMPARE(column(CallListModel::Name), (QStringList{"Jörg Ärger", ""}));
        QCOMPARE(store.latest(5).size(), 2);

        MessageBoxes::queueAnswer(QMessageBox::No);
        window.findChild<QPushButton *>("clearListButton")->click();
        QCOMPARE(model.rowCount(), 2);
        MessageBoxes::queueAnswer(QMessageBox::Yes);
        window.findChild<QPushButton *>("clearListButton")->click();
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(store.latest(5).isEmpty());
        QCOMPARE(MessageBoxes::shown().last().text, "Sollen wirklich alle Anrufe aus der Anrufliste gelöscht werden?");
    }
};

QTEST_MAIN(TestCallListWindow)
#include "tst_calllistwindow.moc"
