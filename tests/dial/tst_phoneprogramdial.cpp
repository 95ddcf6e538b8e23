// The dial command through the desktop's phone program: entries, clipboard and redial reach a
// recording tel: handler through the real xdg-open.
#include "dial/dialer.h"
#include "dial/modemlink.h"
#include "dial/phoneprogram.h"
#include "dial/toneplayer.h"
#include "fakeclipboardsource.h"
#include "fakedialhost.h"
#include "fixedclock.h"
#include "memorysettingsstore.h"
#include "support/messagebox.h"
#include "telhandlerhome.h"

#include <QtTest>

using namespace quirlanto;

namespace {

class SilentTones final : public ToneOutput {
public:
    QString playFiles(const QStringList &paths) override
    {
        played += paths;
        return {};
    }
    QStringList played;
};

} // namespace

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
        DesktopPhone phone(store);
        phone.setChosen(true);
        test::FakeDialHost host;
        host.options.outsideLinePrefix = "0";
        host.selected = PhoneEntry{"Muster", "4930123456", true};
        FakeClipboardSource clipboard;
        clipboard.setText("089 / 555 12");
        SilentTones tones;
        ModemLink modem(store);
        FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(10, 0))};
        Dialer dialer(host, clipboard, modem, tones, clock);
        dialer.setPhoneProgram(&phone);

        QString expected;
        for (const auto &[mode, number] :
             {std::pair{SelectedEntry, "4930123456"}, {Clipboard, "498955512"}, {Redial, "498955512"}}) {
            dialer.dial(mode);
            expected += QStringLiteral("tel:+%1\n").arg(number);
            QTRY_COMPARE(m_home.recorded(), expected);
        }
        QCOMPARE(host.statusTexts.first(), QString("Wähle +4930123456"));
        QVERIFY(MessageBoxes::shown().isEmpty());
        QVERIFY(tones.played.isEmpty());
    }
};

QTEST_MAIN(TestPhoneProgramDial)
#include "tst_phoneprogramdial.moc"
