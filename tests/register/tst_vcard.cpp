// Reading and writing vCard files, without any window.
#include "numbers/foreignnumbers.h"
#include "register/contactimport.h"
#include "register/registerdocument.h"
#include "testsupportcore.h"

#include <QTemporaryDir>
#include <QTest>

using namespace quirlanto;
using namespace quirlanto::test;

using Entries = QList<PhoneEntry>;

class TestVCard : public QObject {
    Q_OBJECT

    static QByteArray sample(const char *name) { return readFile(QStringLiteral(QUIRLANTO_TEST_DATA "/") + name); }
    static Entries entriesOf(const QList<ImportCandidate> &candidates)
    {
        Entries entries;
        for (const ImportCandidate &candidate : candidates)
            entries.append(candidate.entry);
        return entries;
    }
    static QString modulePath() { return QStringLiteral(QUIRLANTO_PROGRAM_DIR "/lib/quirlanto-phonenumbers.so"); }
    static Entries read(const QByteArray &data)
    {
        const VCardReadResult result = parseVCards(data);
        [&] { QCOMPARE(result.error, QString()); }();
        ForeignNumbers foreign(modulePath());
        const Entries entries = entriesOf(importCandidates(result.contacts, Settings{}, &foreign));
        [&] { QCOMPARE(foreign.loadError(), QString()); }();
        return entries;
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
                                                  {"Stadtwerke", "49892361", true},
                                                  {"Boulangerie Dupont", "33142685300", true}};
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

    // The own line is in Germany (49): a foreign address decides how a national number is read,
    // never how an international one or one of the own country is.
    void numbersOfForeignAddresses_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<Entries>("expected");
        QTest::newRow("2.1 quoted-printable address")
            << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nN:Gruber;Sepp\r\n"
                          "ADR;HOME;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:;;Hauptstra=C3=9Fe 1;Wien;;1010;=C3=\r\n"
                          "=96sterreich\r\nTEL;HOME:01 234 5678\r\nEND:VCARD\r\n")
            << Entries{{"Gruber, Sepp", "4312345678", true}};
        QTest::newRow("3.0 number of the address of its kind")
            << QByteArray("BEGIN:VCARD\nVERSION:3.0\nN:Smith;Jane\n"
                          "ADR;TYPE=home:;;Leopoldstr. 1;München;;80802;Deutschland\n"
                          "ADR;TYPE=work:;;5th Ave;New York;NY;10001;U.S.A.\n"
                          "TEL;TYPE=work:(212) 555-0123\nTEL;TYPE=home:089 123456\n"
                          "TEL;TYPE=cell:+44 7700 900123\nEND:VCARD\n")
            << Entries{{"Smith, Jane (dienstlich)", "12125550123", true},
                       {"Smith, Jane (privat)", "4989123456", true},
                       {"Smith, Jane (mobil)", "447700900123", true}};
        QTest::newRow("4.0 country code, Italian leading zero")
            << QByteArray("BEGIN:VCARD\nVERSION:4.0\nFN:Trattoria\nADR;CC=IT:;;;Roma;;;\n"
                          "TEL;VALUE=uri:tel:06-1234-5678\nEND:VCARD\n")
            << Entries{{"Trattoria", "390612345678", true}};
        QTest::newRow("not valid there, unknown country")
            << QByteArray("BEGIN:VCARD\nFN:Paris\nADR:;;;;;;Frankreich\nTEL:0171 1234567\nEND:VCARD\n"
                          "BEGIN:VCARD\nFN:Nirgendwo\nADR:;;;;;;Atlantis\nTEL:01 23 45 67 89\nEND:VCARD\n")
            << Entries{{"Paris", "491711234567", true}, {"Nirgendwo", "49123456789", true}};
    }

    void numbersOfForeignAddresses()
    {
        QFETCH(QByteArray, data);
        QFETCH(Entries, expected);
        QCOMPARE(read(data), expected);
    }

    // What the register's rules may read wrongly is marked for a look, never dropped silently.
    void doubtfulNumbersAreMarked()
    {
        const VCardReadResult result = parseVCards("BEGIN:VCARD\nFN:Blumen\nTEL:0800 FLOWERS\nEND:VCARD\n"
                                                   "BEGIN:VCARD\nFN:Amt\nTEL:089 1234-0 Zentrale\nEND:VCARD\n"
                                                   "BEGIN:VCARD\nFN:Lyon\nADR:;;;Lyon;;;Frankreich\nTEL:12345\n"
                                                   "TEL:04 72 10 30 30\nTEL:+49 89 12\nTEL:,\nEND:VCARD\n");
        ForeignNumbers foreign(modulePath());
        QStringList seen;
        for (const ImportCandidate &c : importCandidates(result.contacts, Settings{}, &foreign))
            seen << c.entry.number + (c.doubtful ? " ?" : "");
        QCOMPARE(seen, (QStringList{"498003569377 ?", "498912340 ?", "498912345 ?", "33472103030", "498912"}));
    }

    void countryNames()
    {
        ForeignNumbers foreign(modulePath());
        for (const char *name : {"Frankreich", "France", "fr", "FRA", "  frankreich "})
            QCOMPARE(foreign.regionOfCountry(QString::fromUtf8(name)), QStringLiteral("FR"));
        for (const char *name : {"Schweiz", "Suisse", "Svizzera", "Switzerland"})
            QCOMPARE(foreign.regionOfCountry(QString::fromUtf8(name)), QStringLiteral("CH"));
        QCOMPARE(foreign.regionOfCountry(QStringLiteral("Vereinigtes Königreich")), QStringLiteral("GB"));
        QCOMPARE(foreign.regionOfCountry(QStringLiteral("Côte d’Ivoire")), QStringLiteral("CI"));
        QCOMPARE(foreign.regionOfCountry(QStringLiteral("Atlantis")), QString());
    }

    // Without the module a number written as within a country abroad is read by the own rules:
    // maybe wrongly, so it is marked for a look. Only the own country is safe, known by name.
    void missingModuleMarksForeignNumbers()
    {
        ForeignNumbers foreign(QStringLiteral("/nonexistent/quirlanto-phonenumbers.so"));
        const VCardReadResult result =
            parseVCards("BEGIN:VCARD\nFN:Paris\nADR:;;;;;;FR\nTEL:01 42 68 53 00\nTEL:+33 1 42 68 53 00\nEND:VCARD\n"
                        "BEGIN:VCARD\nFN:Wien\nADR:;;;;;;Österreich\nTEL:01 234567\nEND:VCARD\n"
                        "BEGIN:VCARD\nFN:Nirgendwo\nADR:;;;;;;Atlantis\nTEL:0123 45\nEND:VCARD\n"
                        "BEGIN:VCARD\nFN:Hier\nADR:;;;;;;Deutschland\nTEL:089 123\nEND:VCARD\n");
        QStringList seen;
        for (const ImportCandidate &c : importCandidates(result.contacts, Settings{}, &foreign))
            seen << c.entry.number + (c.doubtful ? " ? " + c.note.left(15) : QString());
        QCOMPARE(seen, (QStringList{"49142685300 ? Das Modul für R", "33142685300", "491234567 ? Das Modul für R",
                                    "4912345 ? Das Modul für R", "4989123"}));
        QVERIFY(!foreign.loadError().isEmpty());
    }

    // A card begun and never ended costs only itself, and is counted: one a card begins inside,
    // one cut off at the end.
    void damagedCardsAreCounted()
    {
        const VCardReadResult result = parseVCards("BEGIN:VCARD\nFN:A\nBEGIN:VCARD\nFN:B\nEND:VCARD\nEND:VCARD\n"
                                                   "BEGIN:VCARD\nFN:C\nEND:VCARD\nBEGIN:VCARD\nFN:D\nTEL:1");
        QStringList names;
        for (const VCardContact &contact : result.contacts)
            names << contact.formattedName;
        QCOMPARE(names, (QStringList{"B", "C"}));
        QCOMPARE(result.damaged, 2);
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
        const QByteArray text = vCardBytes(contactsFromEntries(entries, QStringLiteral("Büro; 1")));
        for (const QByteArray &line : text.split('\n'))
            QVERIFY2(line.size() <= 76, line.constData()); // 75 bytes and the CR
        QVERIFY(text.contains("N:Müller;Hans;;;\r\n"));
        QVERIFY(text.contains("TEL;TYPE=voice:+4989123\r\nCATEGORIES:Büro\\; 1\r\n"));
        QCOMPARE(read(text), entries);
    }

    // "Alle Karten" out and into an empty register: each person one contact, the same entries on
    // the same cards, whatever order the cards keep them in.
    void allCardsComeBackTheSame()
    {
        RegisterCards cards;
        const QString anna = QStringLiteral("Schmidt, Anna");
        cards[0] = {"Büro, Berlin",
                    {{anna + " (mobil)", "491711", true},
                     {"Özkan, Ümit", "49301", true},
                     {anna + " (privat)", "49302", true},
                     {anna + " (dienstlich)", "49303", true},
                     {anna + " (2)", "49304", true},
                     {anna + " (Praxis)", "49305", true},
                     {"Müller; Sohn, Söhne", "49306", true}}};
        cards[1] = {"Privat; Familie",
                    {{anna, "49307", true}, {anna + " (3)", "49308", true}, {anna + " (mobil)", "491712", true}}};
        cards[2] = {"ärzte",
                    {{"Lang (mobil)", "491713", true}, {"Lang (mobil)", "491714", true}, {"Lang", "49309", false}}};
        cards[3] = {"D",
                    {{"Kiosk (2)", "49310", true}, {"Kiosk (privat)", "49311", true}, {"Weiß (5)", "49312", true}}};
        QByteArray text = vCardBytes(contactsFromCards(cards));
        QCOMPARE(text.count("BEGIN:VCARD"), 10);
        QVERIFY(text.contains("N:Schmidt;Anna;;;\r\nTEL;TYPE=cell:+491711\r\nTEL;TYPE=voice:+49304\r\nTEL;TYPE=home:+"
                              "49302\r\nTEL;TYPE=work:+49303\r\nCATEGORIES:Büro\\, Berlin\r\n"));
        text += "BEGIN:VCARD\r\nFN:Fax\r\nTEL;TYPE=fax:+49313\r\nTEL;TYPE=pager:+49314\r\nEND:VCARD\r\n";

        QTemporaryDir dir;
        RegisterDocument book(DataPaths::inDirectory(dir.path() + QLatin1Char('/')));
        book.loadRegister();
        CardNames names;
        for (int card = 0; card < kCardCount; ++card)
            names[card] = cards[card].cardName;
        names[2] = QStringLiteral(" Ärzte"); // as the group, but for case and blanks
        book.setOptions(book.settings(), names);
        const QList<VCardContact> contacts = parseVCards(text).contacts;
        QList<RegisterDocument::CardEntry> taken;
        for (const ImportCandidate &candidate : importCandidates(contacts, book.settings()))
            taken.append({cardNamedBy(candidate.categories, names), candidate.entry});
        const RegisterDocument::ImportResult result = book.importEntries(taken);
        QCOMPARE(importStatus(contacts, result.imported),
                 QStringLiteral("16 Einträge importiert, 2 übersprungen (davon 2 Fax/Pager)."));
        const auto sorted = [](QList<PhoneEntry> entries) {
            std::sort(entries.begin(), entries.end(),
                      [](const PhoneEntry &a, const PhoneEntry &b) { return a.number < b.number; });
            return entries;
        };
        for (int card = 0; card < kCardCount; ++card)
            QCOMPARE(sorted(book.entries(card)), sorted(cards[card].entries));
    }
};

QTEST_GUILESS_MAIN(TestVCard)
#include "tst_vcard.moc"
