// Every reading of a written number into the register's international form, one table.
#include "numbers/foreignnumbers.h"
#include "numbers/internationalform.h"
#include "numbers/numberdisplay.h"
#include "numbers/tellink.h"
#include "numbers/writtennumber.h"

#include <QTest>

using namespace quirlanto;

namespace {

enum class Source { Typed, Clipboard, TelLink, Contact, Caller };

QString read(Source source, const QString &text, const Settings &settings, ForeignNumbers *validity)
{
    switch (source) {
    case Source::Typed:
        return internationalFromTyped(text, settings, validity);
    case Source::Clipboard:
        return internationalFromClipboard(text, settings, validity);
    case Source::TelLink:
        return internationalFromTelLink(parseTelLink(text), settings, validity);
    case Source::Contact:
        return internationalFromContact(text, QString(), settings, validity).international;
    case Source::Caller:
        return internationalFromCaller(text, settings);
    }
    return {};
}

} // namespace

Q_DECLARE_METATYPE(Source)

class TestNumberRules : public QObject {
    Q_OBJECT
private slots:
    void internationalForm_data();
    void internationalForm();
    void validReadingWins_data();
    void validReadingWins();
    void writtenForms_data();
    void writtenForms();
    void readableForm_data();
    void readableForm();
};

// Own country 49, own area 30.
void TestNumberRules::internationalForm_data()
{
    QTest::addColumn<Source>("source");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("international");
    const auto row = [](const char *name, Source source, const char *text, const char *international) {
        QTest::newRow(name) << source << QString::fromUtf8(text) << QString::fromUtf8(international);
    };
    using S = Source;
    row("clipboard local with words", S::Clipboard, "Tel. 12 34 56", "4930123456");
    row("clipboard national", S::Clipboard, "089/123456", "4989123456");
    row("clipboard 00", S::Clipboard, "0049 30 1234", "49301234");
    row("clipboard plus", S::Clipboard, "+1 212 555 0100", "12125550100");
    row("clipboard plus after words", S::Clipboard, "Tel.: +1 212 555 0100", "12125550100");
    row("clipboard plus with written (0)", S::Clipboard, "+49 (0)89 / 12 34-56", "4989123456");
    row("clipboard short with own country code", S::Clipboard, "491 23 45", "49304912345");
    row("clipboard longer is international", S::Clipboard, "4989123456", "4989123456");
    row("clipboard eight digits are local", S::Clipboard, "12345678", "493012345678");
    row("clipboard zeros stripped once", S::Clipboard, "0000123", "00123");
    row("clipboard pause kept", S::Clipboard, "0,123", "49,123");
    row("clipboard without digits", S::Clipboard, "Hallo", "");
    row("typed local", S::Typed, "123456", "4930123456");
    row("typed short with own country code", S::Typed, "491 23 45", "49304912345");
    row("typed national", S::Typed, "089 123456", "4989123456");
    row("typed 00", S::Typed, "0049 89 123456", "4989123456");
    row("typed plus with (0)", S::Typed, "+49 (0)89 123456", "4989123456");
    row("typed international stays as typed", S::Typed, "49 89 123456", "49 89 123456");
    row("typed without digit stays", S::Typed, " , ", ",");
    row("link global", S::TelLink, "tel:+49-89-123456", "4989123456");
    row("link global with (0) and extension", S::TelLink, "tel:+49-(0)89-1234;ext=56", "4989123456");
    row("link local without context", S::TelLink, "tel:1234", "49301234");
    row("link context is a prefix", S::TelLink, "tel:863-1234;phone-context=+1-914-555", "19145558631234");
    row("link context of own area", S::TelLink, "tel:1234;phone-context=+49-30", "49301234");
    row("link national within context", S::TelLink, "tel:0123-4567;phone-context=+43", "431234567");
    row("link national within unsplit own context", S::TelLink, "tel:089-123456;phone-context=+4930", "4989123456");
    row("link 00 within context", S::TelLink, "tel:0044-20-1234;phone-context=+49", "44201234");
    row("link domain context refused", S::TelLink, "tel:7042;phone-context=example.com", "");
    row("contact keypad word", S::Contact, "0800 FLOWERS", "498003569377");
    row("contact local", S::Contact, "123456", "4930123456");
    row("caller national", S::Caller, "0891234567", "49891234567");
    row("caller international", S::Caller, "00441234567", "441234567");
    row("caller local of any length", S::Caller, "123456789", "4930123456789");
    row("caller withheld", S::Caller, "", "");
}

void TestNumberRules::internationalForm()
{
    QFETCH(Source, source);
    QFETCH(QString, text);
    QFETCH(QString, international);
    Settings settings;
    settings.ownAreaCode = QStringLiteral("30");
    QCOMPARE(read(source, text, settings, nullptr), international);
}

// With the phone-number module, a reading that is a valid number beats one that is not,
// whatever the length says.
void TestNumberRules::validReadingWins_data()
{
    QTest::addColumn<QString>("ownCountry");
    QTest::addColumn<QString>("ownArea");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("international");
    // Too long for the rule, but a Berlin number and nothing abroad.
    QTest::newRow("long local") << "49"
                                << "30"
                                << "441234567"
                                << "4930441234567";
    // Short enough for the rule, but no Paris number and one in Luxembourg.
    QTest::newRow("short international") << "33"
                                         << "1"
                                         << "3522712"
                                         << "3522712";
}

void TestNumberRules::validReadingWins()
{
    QFETCH(QString, ownCountry);
    QFETCH(QString, ownArea);
    QFETCH(QString, text);
    QFETCH(QString, international);
    ForeignNumbers module(QStringLiteral(QUIRLANTO_PROGRAM_DIR "/lib/quirlanto-phonenumbers.so"));
    Settings settings;
    settings.ownCountryCode = ownCountry;
    settings.ownAreaCode = ownArea;
    QCOMPARE(internationalFromClipboard(text, settings, &module), international);
    QCOMPARE(internationalFromTyped(text, settings, &module), international);
}

void TestNumberRules::writtenForms_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    const auto row = [](const char *function, const char *text, const char *result) {
        QTest::addRow("%s(%s)", function, text) << function << QString::fromUtf8(text) << QString::fromUtf8(result);
    };
    row("filter", "+49 (0)89 / 12 34-56", "49089123456");
    row("filter", "0,!,123", "0,!,123");
    row("filter", "*31#0123", "310123");
    row("filter", "١٢٣ 12３", "12");
    row("filter", "12;34.56", "123456");
    row("trunkZero", "  \t+49(0)89123", "  \t+4989123");
    row("trunkZero", "0049 (0) 89 123", "0049  89 123");
    row("trunkZero", "+44 ( 0 )20 7946", "+44 20 7946");
    row("trunkZero", "+49 (0)89 (0)1", "+49 89 (0)1");
    row("trunkZero", "089 (0) 123", "089 (0) 123");
    row("trunkZero", "+49 (089) 123", "+49 (089) 123");
    row("trunkZero", "+49 (0 89", "+49 (0 89");
    row("trunkZero", "+49 (1) (0)89", "+49 (1) 89");
    row("trunkZero", "Tel +49 (0)89", "Tel +49 (0)89");
    row("ownCode", "089", "89");
    row("ownCode", "", "0");
    row("ownCode", "000", "0");
    row("ownCode", " 0041 ", "41");
    row("ownCode", "30x5", "30");
    row("ownCode", "0 89", "89");
    row("ownCode", "+49", "0");
    row("keypad", "0800 FLOWERS", "0800 3569377");
    row("keypad", "0800 Zentrale AB", "0800 Zentrale AB");
}

void TestNumberRules::writtenForms()
{
    QFETCH(QString, function);
    QFETCH(QString, text);
    QFETCH(QString, result);
    bool letters = false;
    const QString actual = function == u"filter"      ? filterDialChars(text)
                           : function == u"trunkZero" ? dropTrunkZeroAfterCountryCode(text)
                           : function == u"ownCode"   ? ownCode(text)
                                                      : withKeypadWords(text, &letters);
    QCOMPARE(actual, result);
}

void TestNumberRules::readableForm_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("plain");   // without the module; own country 49, own area 89
    QTest::addColumn<QString>("grouped"); // with it
    const auto row = [](const char *name, const char *stored, const char *plain, const char *grouped) {
        QTest::newRow(name) << QString::fromUtf8(stored) << QString::fromUtf8(plain) << QString::fromUtf8(grouped);
    };
    row("own country", "4930123456", "+49 30123456", "+49 30 123456");
    row("three-digit country code", "352271234", "+352 271234", "+352 27 12 34");
    row("own area, no valid number", "4989110", "+49 89 110", "+49 89 110");
    row("pause and flash kept", "4989123456,,!12", "+49 89 123456,,!12", "+49 89 123456,,!12");
    row("stored as written", "49 30 123456", "49 30 123456", "49 30 123456");
}

void TestNumberRules::readableForm()
{
    QFETCH(QString, stored);
    QFETCH(QString, plain);
    QFETCH(QString, grouped);
    ForeignNumbers module(QStringLiteral(QUIRLANTO_PROGRAM_DIR "/lib/quirlanto-phonenumbers.so"));
    QCOMPARE(readableNumber(stored, Settings()), plain);
    QCOMPARE(readableNumber(stored, Settings(), &module), grouped);
}

QTEST_GUILESS_MAIN(TestNumberRules)
#include "tst_numberrules.moc"
