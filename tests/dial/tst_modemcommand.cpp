#include "dial/modemcommand.h"

#include <QTest>

using namespace quirlanto;

class TestModemCommand : public QObject {
    Q_OBJECT

private slots:
    void buildModemCommand_data()
    {
        QTest::addColumn<QString>("extra");
        QTest::addColumn<int>("pulse");
        QTest::addColumn<QString>("outside");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("handover");
        QTest::addColumn<QString>("handoverNumber");
        QTest::addColumn<QString>("line");

        QTest::newRow("all optional pieces empty") << "" << 0 << ""
                                                   << ""
                                                   << "123456" << 0 << ""
                                                   << "ATDT123456;H\r";
        QTest::newRow("outside line, long distance") << "" << 0 << "0,"
                                                     << ""
                                                     << "030123456" << 0 << ""
                                                     << "ATDT0,030123456;H\r";
        QTest::newRow("extra commands right after AT") << "L0" << 0 << ""
                                                       << ""
                                                       << "123" << 0 << ""
                                                       << "ATL0DT123;H\r";
        QTest::newRow("pulse") << "" << 1 << ""
                               << ""
                               << "123" << 0 << ""
                               << "ATDP123;H\r";
        QTest::newRow("provider and international prefix") << "" << 0 << "0,"
                                                           << "0101300"
                                                           << "12125550100" << 0 << ""
                                                           << "ATDT0,010130012125550100;H\r";
        QTest::newRow("handover with tone") << "" << 0 << ""
                                            << ""
                                            << "123" << 1 << "456"
                                            << "ATDT123,!,456;H\r";
        QTest::newRow("no handover with pulse") << "" << 1 << ""
                                                << ""
                                                << "123" << 1 << "456"
                                                << "ATDP123;H\r";
        QTest::newRow("handover off keeps number out") << "" << 0 << ""
                                                       << ""
                                                       << "123" << 0 << "456"
                                                       << "ATDT123;H\r";
        QTest::newRow("empty handover number") << "" << 0 << ""
                                               << ""
                                               << "123" << 1 << ""
                                               << "ATDT123,!,;H\r";
        QTest::newRow("stored texts verbatim") << "M1 L2 " << 0 << " 0, "
                                               << ""
                                               << "1" << 1 << " 9 "
                                               << "ATM1 L2 DT 0, 1,!, 9 ;H\r";
        QTest::newRow("everything") << "X3" << 0 << "0,"
                                    << "01013"
                                    << "030123456" << 1 << "22"
                                    << "ATX3DT0,01013030123456,!,22;H\r";
    }
    void buildModemCommand()
    {
        QFETCH(QString, extra);
        QFETCH(int, pulse);
        QFETCH(QString, outside);
        QFETCH(QString, prefix);
        QFETCH(QString, number);
        QFETCH(int, handover);
        QFETCH(QString, handoverNumber);
        QFETCH(QString, line);
        Settings s;
        s.extraModemCommands = extra;
        s.dialMethod = pulse ? DialMethod::Pulse : DialMethod::Tone;
        s.outsideLinePrefix = outside;
        s.handoverEnabled = handover;
        s.handoverNumber = handoverNumber;
        PreparedNumber p;
        p.dialPrefix = prefix;
        p.number = number;
        p.displayNumber = QStringLiteral("ignored");
        QCOMPARE(quirlanto::buildModemCommand(p, s), line);
    }

    void tonePlan_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("tones");
        QTest::newRow("plain") << "ATDT0,123456;H\r" << QStringList{"0", "pause2000", "1", "2", "3", "4", "5", "6"};
        QTest::newRow("pulse letter plays nothing") << "ATDP12;H\r" << QStringList{"1", "2"};
        QTest::newRow("handover") << "ATDT1,!,23;H\r" << QStringList{"1", "pause2000", "pause2000", "2", "3"};
        QTest::newRow("extra command digits play") << "ATM1DT0,5;H\r" << QStringList{"1", "0", "pause2000", "5"};
        QTest::newRow("star and hash") << "*#9" << QStringList{"stern", "#", "9"};
        QTest::newRow("nothing playable") << "ATDT;H\r!xyz" << QStringList{};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("other digits silent") << QString::fromUtf8("1٢３") << QStringList{"1"};
    }
    void tonePlan()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, tones);
        QCOMPARE(quirlanto::tonePlan(line), tones);
    }

    void toneFilePath_data()
    {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("with separator") << "/opt/quirlanto/"
                                        << "5"
                                        << "/opt/quirlanto/snd/5.WAV";
        QTest::newRow("without separator") << "/opt/quirlanto"
                                           << "stern"
                                           << "/opt/quirlanto/snd/stern.WAV";
        QTest::newRow("doubled separator") << "/opt/q//"
                                           << "#"
                                           << "/opt/q/snd/#.WAV";
        QTest::newRow("root") << "/"
                              << "pause2000"
                              << "/snd/pause2000.WAV";
    }
    void toneFilePath()
    {
        QFETCH(QString, dir);
        QFETCH(QString, name);
        QFETCH(QString, path);
        QCOMPARE(quirlanto::toneFilePath(dir, name), path);
    }
};

QTEST_GUILESS_MAIN(TestModemCommand)
#include "tst_modemcommand.moc"
