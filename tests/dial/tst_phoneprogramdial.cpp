// The dial through the chosen phone program: entries, clipboard and redial reach a recording softphone.
#include "dial/dialer.h"
#include "dial/phoneprogram.h"
#include "dialfixture.h"
#include "fakeclipboardsource.h"
#include "fixedclock.h"
#include "memorysettingsstore.h"
#include "support/messagebox.h"
#include "telhandlerhome.h"

#include <QtTest>

using namespace quirlanto;

class TestPhoneProgramDial : public QObject {
    Q_OBJECT

    test::TelHandlerHome m_home;

private slots:
    void initTestCase()
    {
        m_home.enter();
        MessageBoxes::setAutoAnswer(true);
    }

    void entriesClipboardAndRedialReachTheHandler()
    {
        m_home.install("telefon.desktop", 0);
        MemorySettingsStore store;
        test::DialDocument doc;
        doc.book.setChoiceStore(&store);
        doc.book.setDialDevice(DialDevice::PhoneProgram);
        doc.book.setPhoneProgram("telefon.desktop");
        doc.set([](Settings &s) { s.outsideLinePrefix = "0"; });
        test::FakeDialView view;
        view.selected = PhoneEntry{"Muster", "4930123456", true};
        FakeClipboardSource clipboard;
        clipboard.setText("089 / 555 12");
        FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(10, 0))};
        Dialer dialer(doc.book, view, clipboard, clock);
        PhoneProgramDial phoneProgram(1000);
        dialer.setBackend(DialDevice::PhoneProgram, &phoneProgram);

        QString expected;
        for (const auto &[mode, number] : {std::pair{DialMode::SelectedEntry, "4930123456"},
                                           {DialMode::Clipboard, "498955512"},
                                           {DialMode::Redial, "498955512"}}) {
            dialer.dial(mode);
            expected += QStringLiteral("tel:+%1\n").arg(number);
            QTRY_COMPARE(m_home.recorded(), expected);
            QTRY_VERIFY(!dialer.isDialing());
        }
        // Requests while a hand-off runs are refused, not handed over one after another.
        for (int i = 0; i < 100; ++i)
            dialer.dialNumber("4930123456");
        QTRY_VERIFY(!dialer.isDialing());
        QTest::qWait(500);
        QCOMPARE(m_home.recorded(), expected + "tel:+4930123456\n");
        QCOMPARE(view.statusTexts.first(), QString("Wähle +4930123456"));
        QVERIFY(MessageBoxes::shown().isEmpty());
    }
};

QTEST_MAIN(TestPhoneProgramDial)
#include "tst_phoneprogramdial.moc"
