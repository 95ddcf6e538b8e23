// Start-up, tab rules, options taken over and written, shutdown of the main window.
#include "app/mainwindow.h"
#include "app/startup.h"
#include "fileaccess.h"
#include "options/optionspage.h"
#include "register/namelistview.h"
#include "register/phoneentry.h"
#include "support/contextmenukey.h"
#include "support/messagebox.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTabBar>
#include <QtTest>
#include <memory>

using namespace quirlanto;

using namespace quirlanto::test;

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> m_f;

    QString path(const char *name) const { return m_f->path(name); }
    // A started window over an existing register file with two entries on card 1.
    MainWindow &startWithRegister(const QByteArray &settingsLine = kSettingsLine)
    {
        return m_f->start(
            registerFile("1,\"Meier\",\"4989555\",0\r\n1,\"Muster, Erika\",\"4930123456\",1\r\n", settingsLine));
    }
    void selectTab(MainWindow &w, int tab) { tabStrip(w)->setCurrentIndex(tab); }
    bool start(MainWindow &w, const QStringList &arguments = {})
    {
        return startProgram({*m_f->book, w, m_f->store}, arguments);
    }
    QLineEdit *box(const char *name) { return m_f->window->findChild<QLineEdit *>(QString::fromLatin1(name)); }

private slots:
    void init()
    {
        m_f = std::make_unique<WindowFixture>();
        QVERIFY(m_f->folder.isValid());
    }
    void cleanup() { m_f.reset(); }

    void controlsCarryTheirNames()
    {
        MainWindow &w = m_f->make();
        QCOMPARE(w.windowTitle(), QStringLiteral("Quirlanto 4.1"));
        // The options page comes when first asked for, once.
        QVERIFY(!w.findChild<OptionsPage *>());
        QVERIFY(!w.findChild<QPushButton *>(QStringLiteral("showModemAnswerButton")));
        QVERIFY(w.optionsPage());
        QCOMPARE(w.findChildren<OptionsPage *>(), QList<OptionsPage *>{w.optionsPage()});
        const std::pair<const char *, const char *> buttons[] = {
            {"dialClipboardButton", "&Wähle Nr. in Zwischenablage"},
            {"callListButton", "An&rufliste"},
            {"hideButton", "&Ausblenden"},
            {"infoButton", "&Info"},
            {"helpButton", "&Hilfe"},
            {"endButton", "&Ende"},
            {"showModemAnswerButton", "Debug"}};
        for (const auto &[name, text] : buttons) {
            auto *b = w.findChild<QPushButton *>(QString::fromLatin1(name));
            QVERIFY2(b, name);
            QCOMPARE(b->text(), QString::fromUtf8(text));
        }
        QCOMPARE(w.autostartCheckBox()->text(), QStringLiteral("Auto&start"));
        QCOMPARE(w.optionsPage()->findChild<QCheckBox *>(QStringLiteral("providerSwitch"))->text(),
                 QStringLiteral("&Call-by-Call Provider-Liste"));
        QStringList tabs;
        for (int i = 0; i < tabStrip(w)->count(); ++i)
            tabs << tabStrip(w)->tabText(i);
        QCOMPARE(tabs, (QStringList{"Büro 1", "Büro 2", "Privat 1", "Privat 2", "Optionen"}));
        QCOMPARE(w.statusText(), QStringLiteral("Doppelklick für Anwahl oder rechte Maustaste für Menü"));
    }

    void newFileShowsMessageThenOptionsCard()
    {
        MainWindow &w = m_f->make();
        QVERIFY(start(w));
        QCOMPARE(m_f->read("Telefonregister.ini"), kNewRegisterFile);
        QVERIFY(!QFile::exists(path("Telefonregister.bak")));
        QCOMPARE(MessageBoxes::shown().size(), 1);
        QCOMPARE(MessageBoxes::shown().first().icon, MessageIcon::Information);
        QCOMPARE(MessageBoxes::shown().first().text,
                 QStringLiteral("Es wurde eine neue Telefon- und Einstellungendatei angelegt.\n"
                                "Sie sollten daher die Programmeinstellungen jetzt überprüfen!"));
        QCOMPARE(w.currentTab(), MainWindow::kOptionsTab);
        QVERIFY(w.isVisible());
        QCOMPARE(w.statusText(), QStringLiteral("Bitte gewünschte Änderungen vornehmen"));
        QCOMPARE(box("countryCodeBox")->text(), QStringLiteral("49"));
    }

    void newFileInAReadOnlyFolderIsNotAnnounced()
    {
        const QString folder = m_f->folder.path();
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        auto writable =
            qScopeGuard([&] { QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
        const WithoutRootFileAccess asUser;
        MainWindow &w = m_f->make();
        QVERIFY(start(w));
        QCOMPARE(MessageBoxes::shown().size(), 1);
        QCOMPARE(MessageBoxes::shown().first().icon, MessageIcon::Critical);
        QVERIFY2(MessageBoxes::shown().first().text.contains(QStringLiteral("konnte nicht geschrieben werden")),
                 qPrintable(MessageBoxes::shown().first().text));
        QVERIFY(!QFile::exists(path("Telefonregister.ini")));
    }

    void newFileShowsWindowEvenWhenStartedHidden()
    {
        MainWindow &w = m_f->make();
        QVERIFY(start(w, {QStringLiteral(" /autostart ")}));
        QVERIFY(w.startedHidden());
        QVERIFY(w.isVisible());
        QCOMPARE(w.currentTab(), MainWindow::kOptionsTab);
    }

    void autostartStartStaysHidden()
    {
        MainWindow &w = startWithRegister();
        QVERIFY(w.isVisible()); // not started with the switch: shown

        MainWindow &hidden = m_f->make();
        QVERIFY(start(hidden, {QStringLiteral("/AutoStart")}));
        QVERIFY(!hidden.isVisible());
        QCOMPARE(hidden.currentTab(), 0);
        QVERIFY(MessageBoxes::shown().isEmpty());
    }

    void autostartCommandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("exact") << QStringList{"/AUTOSTART"} << true;
        QTest::newRow("lower case") << QStringList{"/autostart"} << true;
        QTest::newRow("blanks around") << QStringList{"  /AUTOSTART  "} << true;
        QTest::newRow("empty argument around") << QStringList{"", "/Autostart"} << true;
        QTest::newRow("none") << QStringList{} << false;
        QTest::newRow("further text") << QStringList{"/AUTOSTART", "x"} << false;
        QTest::newRow("glued text") << QStringList{"/AUTOSTARTX"} << false;
        QTest::newRow("without slash") << QStringList{"AUTOSTART"} << false;
        QTest::newRow("other switch") << QStringList{"/START"} << false;
    }
    void autostartCommandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, hidden);
        QCOMPARE(isAutostartCommandLine(arguments), hidden);
    }

    void incompatibleHeaderEndsWithoutWriting()
    {
        const QByteArray bytes =
            "[QUIRLANTO VERSION 3]\r\n0,1,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n\"a\",\"b\",\"c\",\"d\"\r\n";
        const QByteArray providers = "1\r\n\"Tel\",\"01010\",1,0,9,18,0,1,0\r\n";
        m_f->write("Telefonregister.ini", bytes);
        m_f->write("Provider.ini", providers);
        MainWindow &w = m_f->make();
        QVERIFY(!start(w));
        QVERIFY(!w.isVisible());
        QCOMPARE(MessageBoxes::shown().size(), 1);
        QCOMPARE(MessageBoxes::shown().first().icon, MessageIcon::Critical);
        QCOMPARE(MessageBoxes::shown().first().text,
                 QStringLiteral("Die Telefonliste ist nicht kompatibel und\nkann daher nicht eingelesen werden.\n\n"
                                "Das Programm wird abgebrochen"));
        QCOMPARE(m_f->read("Telefonregister.ini"), bytes);
        QCOMPARE(m_f->read("Provider.ini"), providers);
        QCOMPARE(QDir(m_f->folder.path()).entryList(QDir::Files).size(), 2);
        QVERIFY(m_f->store.values().isEmpty());
    }

    void unreadableFileEndsWithoutWriting()
    {
        // A folder in the file's place cannot be read as a file.
        QVERIFY(QDir(m_f->folder.path()).mkdir(QStringLiteral("Telefonregister.ini")));
        MainWindow &w = m_f->make();
        QVERIFY(!start(w));
        QVERIFY(!w.isVisible());
        QCOMPARE(MessageBoxes::shown().size(), 1);
        QCOMPARE(MessageBoxes::shown().first().icon, MessageIcon::Critical);
        QVERIFY2(MessageBoxes::shown().first().text.contains(path("Telefonregister.ini")),
                 qPrintable(MessageBoxes::shown().first().text));
        QVERIFY(QFileInfo(path("Telefonregister.ini")).isDir());
        QCOMPARE(QDir(m_f->folder.path()).entryList(QDir::Files).size(), 0);
    }

    void headerWithBlanksIsAccepted()
    {
        m_f->write("Telefonregister.ini",
                   "  [QUIRLANTO VERSION 4] \r\n0,3,1,0,\"\",0,\"00\",\"41\",\"1\",10,\"\",\"\",0\r\n"
                   "\"a\",\"b\",\"c\",\"d\"\r\n2,\"X\",\"411\",0\r\n");
        MainWindow &w = m_f->make();
        QVERIFY(start(w));
        QCOMPARE(m_f->book->settings().comPort, 3);
        QCOMPARE(m_f->book->settings().ownCountryCode, QStringLiteral("41"));
        QCOMPARE(tabStrip(w)->tabText(1), QStringLiteral("b"));
        QCOMPARE(m_f->book->contents().cards[1].entries.size(), 1);
        QCOMPARE(nameList(w, 0)->font().pointSize(), 10);
        QCOMPARE(w.currentTab(), 0);
        QVERIFY(MessageBoxes::shown().isEmpty());
    }

    void damagedFileWarnsAndKeepsOriginal()
    {
        const QByteArray bytes = "[QUIRLANTO VERSION 4]\r\n0,1,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n"
                                 "\"a\",\"b\",\"c\",\"d\"\r\n9,\"Weg\",\"1\",0\r\n1,\"Da\",\"4989\",0\r\n";
        m_f->write("Telefonregister.ini", bytes);
        MainWindow &w = m_f->make();
        QVERIFY(start(w));
        QCOMPARE(MessageBoxes::shown().size(), 1);
        QCOMPARE(MessageBoxes::shown().first().icon, MessageIcon::Warning);
        QVERIFY2(MessageBoxes::shown().first().text.contains(QStringLiteral("aufbewahrt")),
                 qPrintable(MessageBoxes::shown().first().text));
        QCOMPARE(m_f->read("Telefonregister.ini"), bytes);
        QCOMPARE(m_f->book->contents().cards[0].entries.size(), 1);
    }

    void leavingOptionsWritesTheControls_data()
    {
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("settingsLine");
        QTest::newRow("country with blanks")
            << "countryCodeBox"
            << " 0041 " << QByteArray("0,1,0,0,\"\",0,\"00\",\"41\",\"89\",12,\"\",\"\",0");
        QTest::newRow("area digits then text")
            << "areaCodeBox"
            << "030x" << QByteArray("0,1,0,0,\"\",0,\"00\",\"49\",\"30\",12,\"\",\"\",0");
        QTest::newRow("outside line trimmed")
            << "outsideLineBox"
            << "  0, " << QByteArray("0,1,0,0,\"0,\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0");
        QTest::newRow("international trimmed")
            << "internationalPrefixBox"
            << " 001 " << QByteArray("0,1,0,0,\"\",0,\"001\",\"49\",\"89\",12,\"\",\"\",0");
        QTest::newRow("extra commands kept")
            << "extraCommandsBox"
            << " M1L3 " << QByteArray("0,1,0,0,\"\",0,\"00\",\"49\",\"89\",12,\" M1L3 \",\"\",0");
        QTest::newRow("handover kept") << "handoverNumberBox"
                                       << " 22 "
                                       << QByteArray("0,1,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\" 22 \",0");
    }
    void leavingOptionsWritesTheControls()
    {
        QFETCH(QString, boxName);
        QFETCH(QString, typed);
        QFETCH(QByteArray, settingsLine);
        MainWindow &w = startWithRegister();
        selectTab(w, 4);
        box(qPrintable(boxName))->setText(typed);
        selectTab(w, 1);
        QCOMPARE(lines(m_f->read("Telefonregister.ini")).value(1), settingsLine);
        QCOMPARE(w.currentTab(), 1);
        QCOMPARE(w.statusText(), QStringLiteral("Doppelklick für Anwahl oder rechte Maustaste für Menü"));
    }

    void leavingOptionsWritesEvenWithoutChange()
    {
        MainWindow &w = startWithRegister();
        const QByteArray before = m_f->read("Telefonregister.ini");
        QVERIFY(!QFile::exists(path("Telefonregister.bak")));
        selectTab(w, 4);
        QVERIFY(!QFile::exists(path("Telefonregister.bak")));
        selectTab(w, 0);
        QCOMPARE(m_f->read("Telefonregister.bak"), before);
        QCOMPARE(m_f->read("Telefonregister.ini"), before);
    }

    void switchingBetweenCardsWritesNothing()
    {
        MainWindow &w = startWithRegister();
        w.setStatusText(QStringLiteral("x"));
        selectTab(w, 2);
        selectTab(w, 0);
        QVERIFY(!QFile::exists(path("Telefonregister.bak")));
        QCOMPARE(w.statusText(), QStringLiteral("x"));
    }

    void cardNamesAndPortTakenOver()
    {
        MainWindow &w = startWithRegister();
        selectTab(w, 4);
        box("cardNameBox2")->setText(QStringLiteral("Kunden & \"Freunde\""));
        w.optionsPage()->findChild<QComboBox *>(QStringLiteral("portList"))->setCurrentIndex(15);
        w.findChild<QComboBox *>(QStringLiteral("dialMethodList"))->setCurrentIndex(1);
        selectTab(w, 0);
        QCOMPARE(tabStrip(w)->tabText(2), QStringLiteral("Kunden && \"Freunde\""));
        QCOMPARE(nameList(w, 2)->accessibleName(), QStringLiteral("Namensliste Kunden & \"Freunde\""));
        QCOMPARE(m_f->book->contents().cards[2].cardName, QStringLiteral("Kunden & \"Freunde\""));
        const QList<QByteArray> fileLines = lines(m_f->read("Telefonregister.ini"));
        QCOMPARE(fileLines.value(1), QByteArray("0,16,1,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0"));
        QCOMPARE(fileLines.value(2), QByteArray("\"A\",\"B\",\"Kunden & 'Freunde'\",\"D\""));
    }

    void fontSliderSetsListSize_data()
    {
        QTest::addColumn<int>("sliderValue");
        QTest::addColumn<int>("listSize");
        QTest::newRow("top") << 6 << 24;
        QTest::newRow("one step up") << 17 << 13;
    }
    void fontSliderSetsListSize()
    {
        QFETCH(int, sliderValue);
        QFETCH(int, listSize);
        MainWindow &w = startWithRegister();
        selectTab(w, 4);
        auto *slider = w.findChild<QSlider *>(QStringLiteral("fontSizeSlider"));
        QCOMPARE(slider->value(), 18); // stored 12
        slider->setValue(sliderValue);
        QCOMPARE(nameList(w, 0)->font().pointSize(), 12); // only the sample follows the slider
        selectTab(w, 0);
        for (int card = 0; card < kCardCount; ++card)
            QCOMPARE(nameList(w, card)->font().pointSize(), listSize);
        QCOMPARE(lines(m_f->read("Telefonregister.ini")).value(1).split(',').value(9), QByteArray::number(listSize));
    }

    void storedFractionalSizeIsRounded()
    {
        MainWindow &w = startWithRegister("0,1,0,0,\"\",0,\"00\",\"49\",\"89\",8.25,\"\",\"\",0");
        QCOMPARE(nameList(w, 3)->font().pointSize(), 8);
        selectTab(w, 4);
        QCOMPARE(w.findChild<QSlider *>(QStringLiteral("fontSizeSlider"))->value(), 22);
        selectTab(w, 0);
        QCOMPARE(lines(m_f->read("Telefonregister.ini")).value(1).split(',').value(9), QByteArray("8"));
    }

    void storedDialDeviceSelectsOption()
    {
        MainWindow &w = startWithRegister("1,1,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0");
        QVERIFY(!w.findChild<OptionsPage *>()); // not needed until the options card is opened
        selectTab(w, 4);
        QVERIFY(w.findChild<QRadioButton *>(QStringLiteral("loudspeakerOption"))->isChecked());
        QVERIFY(!QFile::exists(path("Telefonregister.bak")));
    }

    void enteringOptionsFocusesCountry()
    {
        MainWindow &w = startWithRegister();
        m_f->activate();
        QVERIFY(nameList(w, 0)->hasFocus());
        selectTab(w, 4);
        QVERIFY(box("countryCodeBox")->hasFocus());
        QCOMPARE(w.statusText(), QStringLiteral("Bitte gewünschte Änderungen vornehmen"));
        selectTab(w, 3);
        QVERIFY(nameList(w, 3)->hasFocus());
    }

    void ctrlTabSwitchesCards()
    {
        MainWindow &w = startWithRegister();
        m_f->activate();
        QTest::keyClick(&w, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(w.currentTab(), 1);
        QTest::keyClick(&w, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w.currentTab(), 0);
        QTest::keyClick(&w, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w.currentTab(), 4); // wraps round to "Optionen"
        QCOMPARE(w.statusText(), QStringLiteral("Bitte gewünschte Änderungen vornehmen"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(w.currentTab(), 0);
        QVERIFY(QFile::exists(path("Telefonregister.bak"))); // leaving the options wrote
    }

    void showOptionsCardShowsHiddenWindow()
    {
        MainWindow &w = startWithRegister();
        w.hide();
        w.showOptionsCard();
        QVERIFY(w.isVisible());
        QCOMPARE(w.currentTab(), 4);
        box("countryCodeBox")->setText(QStringLiteral("43"));
        w.showOptionsCard(); // already there: the controls are not reloaded
        QCOMPARE(box("countryCodeBox")->text(), QStringLiteral("43"));
    }

    void closeBoxHidesAndStoresNothing()
    {
        MainWindow &w = startWithRegister();
        m_f->activate();
        selectTab(w, 4);
        box("countryCodeBox")->setText(QStringLiteral("43"));
        QSignalSpy ending(&w, &MainWindow::programEnding);
        QCloseEvent close;
        QSpontaneKeyEvent::setSpontaneous(&close);
        qApp->notify(&w, &close); // as the window system delivers it: spontaneous
        QVERIFY(!close.isAccepted());
        QVERIFY(!w.isVisible());
        QCOMPARE(ending.size(), 0);
        QVERIFY(!QFile::exists(path("Telefonregister.bak")));
        QVERIFY(m_f->store.values().isEmpty());

        QSignalSpy hideRequests(&w, &MainWindow::hideRequested);
        w.show();
        QCloseEvent again;
        QSpontaneKeyEvent::setSpontaneous(&again);
        qApp->notify(&w, &again);
        QCOMPARE(hideRequests.size(), 1);
    }

    void endSavesOpenOptionsAndPlacement()
    {
        MainWindow &w = startWithRegister();
        w.show();
        selectTab(w, 4);
        w.optionsPage()->findChild<QComboBox *>(QStringLiteral("portList"))->setCurrentIndex(2);
        QSignalSpy ending(&w, &MainWindow::programEnding);
        bool optionsWrittenBeforeSignal = false;
        connect(&w, &MainWindow::programEnding, this, [&] {
            optionsWrittenBeforeSignal = lines(m_f->read("Telefonregister.ini")).value(1).startsWith("0,3,");
        });
        w.findChild<QPushButton *>(QStringLiteral("endButton"))->click();
        QCOMPARE(ending.size(), 1);
        QVERIFY(optionsWrittenBeforeSignal);
        QVERIFY(m_f->store.values().contains(QStringLiteral("_Top")));
        QVERIFY(m_f->store.values().contains(QStringLiteral("_Left")));
        QVERIFY(!w.isVisible());
        w.endProgram(); // a second end does nothing more
        QCOMPARE(ending.size(), 1);
    }

    void endOnACardWritesNothing()
    {
        MainWindow &w = startWithRegister();
        w.endProgram();
        QVERIFY(!QFile::exists(path("Telefonregister.bak")));
    }

    void optionsPageComesBeforeBottomRowInTabOrder()
    {
        // The page is built after the bottom row, yet Tab must reach it first.
        MainWindow &w = startWithRegister();
        m_f->activate();
        selectTab(w, 4);
        QStringList order;
        for (QWidget *x = tabStrip(w)->nextInFocusChain(); x != tabStrip(w); x = x->nextInFocusChain()) {
            if (x->isVisible() && x->isEnabled() && (x->focusPolicy() & Qt::TabFocus))
                order << x->objectName();
        }
        const int country = order.indexOf(QStringLiteral("countryCodeBox"));
        const int bottom = order.indexOf(QStringLiteral("dialClipboardButton"));
        QVERIFY2(country >= 0 && bottom > country, qPrintable(order.join(u' ')));
        QVERIFY2(order.indexOf(QStringLiteral("providerSwitch")) < bottom, qPrintable(order.join(u' ')));
        QCOMPARE(order.mid(bottom), (QStringList{"dialClipboardButton", "callListButton", "hideButton", "infoButton",
                                                 "helpButton", "endButton", "autostartCheckBox"}));
    }

    void buttonsCallTheirSeams()
    {
        MainWindow &w = startWithRegister();
        QSignalSpy dials(&w, &MainWindow::dialRequested);
        QSignalSpy answers(&w, &MainWindow::showModemAnswerRequested);
        w.findChild<QPushButton *>(QStringLiteral("dialClipboardButton"))->click();
        w.optionsPage()->findChild<QPushButton *>(QStringLiteral("showModemAnswerButton"))->click(); // "Debug"
        QCOMPARE(dials.size(), 1);
        QCOMPARE(dials.first().first().toString(), QStringLiteral("Clipboard")); // Qt knows the mode by name
        QCOMPARE(answers.size(), 1);
        w.show();
        w.findChild<QPushButton *>(QStringLiteral("hideButton"))->click();
        QVERIFY(!w.isVisible());
    }

    void providerMenuByKeys_data() // keys through the window system; redial (Ctrl+R) is in desktop_e2e.sh
    {
        QTest::addColumn<QKeyCombination>("key");
        QTest::newRow("Shift+F10") << (Qt::SHIFT | Qt::Key_F10);
        QTest::newRow("Menu key") << QKeyCombination(Qt::Key_Menu);
    }
    void providerMenuByKeys()
    {
        QFETCH(QKeyCombination, key);
        installContextMenuKey(qApp); // main.cpp's
        MainWindow &w = startWithRegister();
        selectTab(w, MainWindow::kOptionsTab);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.findChild<QWidget *>(QStringLiteral("providerList"))->setFocus();
        QSignalSpy menus(w.findChild<QWidget *>(QStringLiteral("providerList")), SIGNAL(menuRequested(QPoint)));
        whenShown([] { return QApplication::activePopupWidget(); }, [](QWidget *menu) { menu->close(); });
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, {}, {}); // what xcb and Wayland make of the Menu key
        key.key() == Qt::Key_Menu ? void(QGuiApplication::sendEvent(w.windowHandle(), &menuKey))
                                  : QTest::keyClick(w.windowHandle(), key.key(), key.keyboardModifiers());
        QCOMPARE(menus.size(), 1);
    }
    void failedWriteIsReportedAndProgramGoesOn()
    {
        MainWindow &w = startWithRegister();
        // A folder where the backup must go makes the rotation fail.
        QVERIFY(QDir(m_f->folder.path()).mkdir(QStringLiteral("Telefonregister.bak")));
        const QByteArray before = m_f->read("Telefonregister.ini");
        selectTab(w, 4);
        selectTab(w, 0);
        QCOMPARE(MessageBoxes::shown().size(), 1);
        QCOMPARE(MessageBoxes::shown().first().icon, MessageIcon::Critical);
        QVERIFY2(MessageBoxes::shown().first().text.contains(QStringLiteral("Telefonregister")),
                 qPrintable(MessageBoxes::shown().first().text));
        QCOMPARE(m_f->read("Telefonregister.ini"), before);
        QCOMPARE(w.currentTab(), 0);
    }

    void providerFileIsLoaded()
    {
        m_f->write("Provider.ini", "1\r\n\"Tel\",\"01010\",1,0,9,18,0,1,0\r\n");
        MainWindow &w = m_f->make();
        QVERIFY(start(w));
        QCOMPARE(m_f->book->providers().rowCount(), 1);
        QVERIFY(m_f->book->providers().providersEnabled);
        QVERIFY(w.optionsPage()->findChild<QCheckBox *>(QStringLiteral("providerSwitch"))->isChecked());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
