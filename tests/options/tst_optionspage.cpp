// The options page over a document: the upside-down slider, enabling rules, round trip, the device choice.
#include "options/optionspage.h"
#include "register/registerdocument.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QtTest>

using namespace quirlanto;

class TestOptionsPage : public QObject {
    Q_OBJECT

    test::ProgramFolder m_folder;
    MemorySettingsStore m_store;
    RegisterDocument m_book{DataPaths::inDirectory(m_folder.path() + QLatin1Char('/'))};

    static CardNames cards() { return {"Büro 1", "Büro 2", "Privat 1", "Privat 2"}; }
    // The user's data folder, with a phone program or none.
    QTemporaryDir m_xdg;
    void installPhoneProgram(bool installed)
    {
        qputenv("XDG_DATA_HOME", m_xdg.path().toLocal8Bit());
        qputenv("XDG_DATA_DIRS", m_xdg.filePath("none").toLocal8Bit());
        QFile file(m_xdg.filePath("applications/softphone.desktop"));
        QVERIFY(QDir(m_xdg.path()).mkpath("applications"));
        QVERIFY(installed ? file.open(QIODevice::WriteOnly) : !file.exists() || file.remove());
        file.write("[Desktop Entry]\nType=Application\nName=Softphone\nExec=s %u\nMimeType=x-scheme-handler/tel\n");
    }
    template <typename T>
    static T *child(OptionsPage &page, const char *name)
    {
        return page.findChild<T *>(QString::fromLatin1(name));
    }

private slots:
    void sliderFormula_data()
    {
        QTest::addColumn<double>("size");
        QTest::addColumn<int>("value");
        QTest::newRow("12") << 12.0 << 18;
        QTest::newRow("largest at top") << 24.0 << 6;
        QTest::newRow("smallest at bottom") << 6.0 << 24;
        QTest::newRow("8.25") << 8.25 << 22;
        QTest::newRow("half to even down") << 11.5 << 18;
        QTest::newRow("half to even up") << 12.5 << 18;
        QTest::newRow("beyond the range") << 40.0 << 6;
        QTest::newRow("below the range") << 2.0 << 24;
    }
    void sliderFormula()
    {
        QFETCH(double, size);
        QFETCH(int, value);
        QCOMPARE(OptionsPage::sliderValueForSize(size), value);
        QCOMPARE(OptionsPage::sizeForSliderValue(value), 30 - value);
    }

    void pageTexts()
    {
        OptionsPage page(m_book, m_store);
        QStringList frames;
        for (const QGroupBox *g : page.findChildren<QGroupBox *>())
            frames << g->title();
        for (const char *title : {"Anwahl ausführen über ...", "Präfixzahlen", "Kennzahlen", "Eintragsgröße",
                                  "Modemeinstellungen", "Kartennamen"})
            QVERIFY2(frames.contains(QString::fromUtf8(title)), title);
        QStringList labels;
        for (const QLabel *l : page.findChildren<QLabel *>())
            labels << l->text();
        for (const char *text : {"Anschluß", "Wahlart", "Amt", "Aus- land", "Land", "Ort", "AT", "Zusatz- befehle",
                                 "Modem- antwort", "an", "Aa", "+", "-"})
            QVERIFY2(labels.contains(QString::fromUtf8(text)), text);
        QCOMPARE(child<QRadioButton>(page, "modemOption")->text(), QStringLiteral("&Modem"));
        QCOMPARE(child<QRadioButton>(page, "loudspeakerOption")->text(), QStringLiteral("&Lautsprecher"));
        QCOMPARE(child<QCheckBox>(page, "handoverCheckBox")->text(), QStringLiteral("&Übergabe"));
        QCOMPARE(child<QPushButton>(page, "showModemAnswerButton")->text(), QStringLiteral("Debug"));
        QStringList ports;
        for (int i = 0; i < child<QComboBox>(page, "portList")->count(); ++i)
            ports << child<QComboBox>(page, "portList")->itemText(i);
        QCOMPARE(ports.size(), 16);
        QCOMPARE(ports.first(), QStringLiteral("COM1"));
        QCOMPARE(ports.last(), QStringLiteral("COM16"));
        auto *method = child<QComboBox>(page, "dialMethodList");
        QCOMPARE(method->count(), 2);
        QCOMPARE(method->itemText(0), QStringLiteral("Ton"));
        QCOMPARE(method->itemText(1), QStringLiteral("Puls"));
    }

    void roundTripKeepsValues()
    {
        OptionsPage page(m_book, m_store);
        Settings s;
        s.comPort = 7;
        s.dialMethod = DialMethod::Pulse;
        s.reservedValue = -3;
        s.dialDevice = DialDevice::Loudspeaker;
        s.outsideLinePrefix = QStringLiteral("0,");
        s.internationalPrefix = QStringLiteral("001");
        s.ownCountryCode = QStringLiteral("43");
        s.ownAreaCode = QStringLiteral("1");
        s.extraModemCommands = QStringLiteral("M1L3");
        s.handoverNumber = QStringLiteral("22");
        s.handoverEnabled = true;
        QFont font;
        font.setPointSize(16);
        page.loadOptionControls(s, cards(), font);
        const OptionValues values = page.saveOptionControls(s);
        Settings expected = s;
        expected.entryFontSize = 16;
        QCOMPARE(values.settings, expected);
        QCOMPARE(values.cardNames, cards());
        QCOMPARE(child<QSlider>(page, "fontSizeSlider")->value(), 14);
    }

    void sampleFollowsSliderOnly()
    {
        OptionsPage page(m_book, m_store);
        page.resize(800, 500);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        auto *slider = child<QSlider>(page, "fontSizeSlider");
        auto *sample = child<QLabel>(page, "fontSample");
        slider->setValue(6);
        QCOMPARE(sample->font().pointSize(), 24);
        slider->setValue(24);
        QCOMPARE(sample->font().pointSize(), 6);
        slider->setValue(10);
        QCOMPARE(page.sampleFontSize(), 20);
        const QWidget *frame = sample->parentWidget();
        QCOMPARE(sample->x(), (frame->width() - sample->width()) / 2);
        QCOMPARE(sample->y(), (frame->height() - sample->height()) / 2);
        QVERIFY(sample->width() <= frame->width());
    }

    void onlyWhatAppliesIsEditable_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<QString>("greyed");
        QTest::newRow("Modem") << int(DialDevice::Modem) << "phoneProgramList fritzBoxSetupButton";
        QTest::newRow("Lautsprecher")
            << int(DialDevice::Loudspeaker)
            << "portList portDeviceButton extraCommandsBox showModemAnswerButton phoneProgramList fritzBoxSetupButton";
        QTest::newRow("Telefon-Programm") << int(DialDevice::PhoneProgram)
                                          << "portList portDeviceButton dialMethodList extraCommandsBox "
                                             "showModemAnswerButton outsideLineBox internationalPrefixBox "
                                             "handoverCheckBox providerSwitch fritzBoxSetupButton";
        QTest::newRow("FRITZ!Box") << int(DialDevice::FritzBox)
                                   << "portList portDeviceButton dialMethodList extraCommandsBox "
                                      "showModemAnswerButton outsideLineBox handoverCheckBox phoneProgramList";
    }
    void onlyWhatAppliesIsEditable()
    {
        QFETCH(int, device);
        QFETCH(QString, greyed);
        installPhoneProgram(true);
        OptionsPage page(m_book, m_store);
        page.load(QFont());
        page.setDialDevice(DialDevice(device));
        QStringList found;
        for (const QString &name : QString("portList portDeviceButton dialMethodList extraCommandsBox "
                                           "showModemAnswerButton outsideLineBox internationalPrefixBox countryCodeBox "
                                           "areaCodeBox handoverCheckBox providerSwitch phoneProgramList "
                                           "fritzBoxSetupButton")
                                       .split(' '))
            if (!page.findChild<QWidget *>(name)->isEnabled())
                found << name;
        QCOMPARE(found.join(' '), greyed);
    }

    void handoverEnabling_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<bool>("frameEnabled");
        QTest::addColumn<bool>("numberEnabled");
        QTest::newRow("Ton, ticked") << 0 << true << true << true;
        QTest::newRow("Ton, clear") << 0 << false << true << false;
        QTest::newRow("Puls, ticked") << 1 << true << false << false;
        QTest::newRow("Puls, clear") << 1 << false << false << false;
    }
    void handoverEnabling()
    {
        QFETCH(int, method);
        QFETCH(bool, ticked);
        QFETCH(bool, frameEnabled);
        QFETCH(bool, numberEnabled);
        OptionsPage page(m_book, m_store);
        auto *methods = child<QComboBox>(page, "dialMethodList");
        auto *check = child<QCheckBox>(page, "handoverCheckBox");
        check->setChecked(ticked);
        methods->setCurrentIndex(1 - method);
        methods->setCurrentIndex(method);
        QCOMPARE(child<QGroupBox>(page, "handoverFrame")->isEnabled(), frameEnabled);
        QCOMPARE(check->isEnabled(), frameEnabled);
        QCOMPARE(child<QLineEdit>(page, "handoverNumberBox")->isEnabled(), numberEnabled);
    }

    void pulseThenToneRestoresNumberBox()
    {
        OptionsPage page(m_book, m_store);
        auto *methods = child<QComboBox>(page, "dialMethodList");
        auto *check = child<QCheckBox>(page, "handoverCheckBox");
        auto *number = child<QLineEdit>(page, "handoverNumberBox");
        check->setChecked(true);
        QVERIFY(number->isEnabled());
        methods->setCurrentIndex(1);
        QVERIFY(!number->isEnabled());
        methods->setCurrentIndex(0);
        QVERIFY(number->isEnabled());
        check->setChecked(false);
        QVERIFY(!number->isEnabled());
    }

    // The phone program's choice lives in the settings store; the register keeps its device.
    void dialDeviceGoesToTheDocument()
    {
        m_book.setChoiceStore(&m_store);
        QVERIFY(m_book.loadRegister().kind == LoadRegisterOutcome::Kind::CreatedNew);
        OptionsPage page(m_book, m_store);
        installPhoneProgram(false);
        page.load(QFont());
        QVERIFY(!child<QRadioButton>(page, "phoneProgramOption")->isEnabled());
        QCOMPARE(child<QRadioButton>(page, "phoneProgramOption")->toolTip(),
                 QStringLiteral("Kein Telefon-Programm installiert, das tel:-Links annimmt."));
        installPhoneProgram(true);
        page.load(QFont());
        child<QRadioButton>(page, "loudspeakerOption")->click();
        child<QRadioButton>(page, "phoneProgramOption")->click();
        QCOMPARE(m_book.dialDevice(), DialDevice::PhoneProgram);
        QCOMPARE(m_store.values().value(QStringLiteral("Dial/Device")).toString(), QStringLiteral("phone-program"));
        QCOMPARE(m_store.values().value(QStringLiteral("Dial/PhoneProgram")).toString(),
                 QStringLiteral("softphone.desktop"));
        QVERIFY(m_folder.read("Telefonregister.ini").contains("\r\n1,1,0,0,"));
        QVERIFY(m_book.loadRegister().kind == LoadRegisterOutcome::Kind::Loaded); // a reload keeps the choice
        QVERIFY(child<QRadioButton>(page, "phoneProgramOption")->isChecked());
        child<QRadioButton>(page, "modemOption")->click();
        QCOMPARE(m_book.dialDevice(), DialDevice::Modem);
        QVERIFY(!m_store.values().value(QStringLiteral("Dial/Device")).isValid());
    }
};

QTEST_MAIN(TestOptionsPage)
#include "tst_optionspage.moc"
