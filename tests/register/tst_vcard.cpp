// Reading and writing vCard files, without any window.
#include "register/vcard.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace quirlanto;
using namespace quirlanto::test;

using Entries = QList<PhoneEntry>;

class TestVCard : public QObject {
    Q_OBJECT

    static QByteArray sample(const char *name) { return readFile(QStringLiteral(QUIRLANTO_TEST_DATA "/") + name); }
    static Entries read(const QByteArray &data)
    {
        const VCardReadResult result = parseVCards(data);
        [&] { QCOMPARE(result.error, QString()); }();
        return entriesFromContacts(result.contacts, Settings{});
    }

private slots:
    void dialects_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<Entries>("expected");
        const Entries v21{{"Müller, Jörg (mobil)", "491711234567", true},
                          {"Müller, Jörg (privat)", "4989123456", true},
                          {"Straßer, René", "4971123456", true}};
        const QByteArray crlf = sample("contacts-2.1.vcf");
        QTest::newRow("2.1 quoted-printable, CR LF") << crlf << v21;
        QTest::newRow("2.1 with LF") << QByteArray(crlf).replace("\r\n", "\n") << v21;
        QTest::newRow("3.0 BOM, folding, escapes, groups")
            << sample("contacts-3.0.vcf")
            << Entries{{"Weber, von, Anna;Maria (mobil)", "431987654", true},
                       {"Weber, von, Anna;Maria (dienstlich)", "49894711", true},
                       {"Kiosk am Eck", "498912345", true}};
        QTest::newRow("4.0 tel: uris") << sample("contacts-4.0.vcf")
                                       << Entries{{"Émile Zola (privat)", "33123456789", true},
                                                  {"Émile Zola (dienstlich)", "49895550", true},
                                                  {"Émile Zola (3)", "49895551", true},
                                                  {"Stadtwerke", "49892361", true}};
        QTest::newRow("names folded to the code page")
            << QByteArray("BEGIN:VCARD\nFN:Dvořák Łukasz\nTEL:+420 1\nEND:VCARD\n")
            << Entries{{"Dvorák Lukasz", "4201", true}};
    }

    void dialects()
    {
        QFETCH(QByteArray, data);
        QFETCH(Entries, expected);
        QCOMPARE(read(data), expected);
    }

    void badInputIsRefused()
    {
        QVERIFY(parseVCards("Name;Nummer\nA;1\n").error.contains("vCard"));
        QVERIFY(parseVCards(QByteArray("BEGIN:VCARD\0\x01\x02", 15)).error.contains("Binärdaten"));
        QTemporaryDir dir;
        const QString big = dir.filePath("gross.vcf");
        writeFile(big, "BEGIN:VCARD\n" + QByteArray(kMaxVCardFileSize, 'x'));
        QVERIFY(readVCardFile(big).error.contains("größer als 10 MB"));
        QVERIFY(readVCardFile(dir.filePath("fehlt.vcf")).error.contains("kann nicht gelesen werden"));
        QCOMPARE(readVCardFile(dir.filePath("fehlt.vcf")).contacts.size(), 0);
    }

    void exportReadsBackTheSame()
    {
        const Entries entries{
            {"Müller, Hans", "4989123", true},
            {"Praxis Dr. Ölmann; Notdienst, Wochenende", "49301234567", false},
            {"Ein sehr langer Name, der über die Zeilenlänge einer vCard hinausgeht – ÄÖÜäöüß", "4312345", true}};
        const QByteArray text = vCardsFromEntries(entries);
        for (const QByteArray &line : text.split('\n'))
            QVERIFY2(line.size() <= 76, line.constData()); // 75 bytes and the CR
        QVERIFY(text.contains("N:Müller;Hans;;;\r\n"));
        QVERIFY(text.contains("TEL;TYPE=voice:+4989123\r\n"));
        QCOMPARE(read(text), entries);
    }
};

QTEST_GUILESS_MAIN(TestVCard)
#include "tst_vcard.moc"
