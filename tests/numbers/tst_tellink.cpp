#include "numbers/tellink.h"

#include <QTest>

using namespace quirlanto;

Q_DECLARE_METATYPE(quirlanto::TelLink::Status)

class TestTelLink : public QObject {
    Q_OBJECT
private slots:
    void recognisesScheme_data();
    void recognisesScheme();
    void parses_data();
    void parses();
};

void TestTelLink::recognisesScheme_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<bool>("telLink");
    QTest::newRow("plain") << "tel:+4989123456" << true;
    QTest::newRow("upper case") << "TEL:+4989123456" << true;
    QTest::newRow("blanks around") << "  tel:089 " << true;
    QTest::newRow("switch") << "/AUTOSTART" << false;
    QTest::newRow("other scheme") << "sip:123@example.org" << false;
    QTest::newRow("bare number") << "+4989123456" << false;
    QTest::newRow("scheme inside") << "xtel:123" << false;
}

void TestTelLink::recognisesScheme()
{
    QFETCH(QString, argument);
    QFETCH(bool, telLink);
    QCOMPARE(isTelLink(argument), telLink);
}

void TestTelLink::parses_data()
{
    using S = TelLink::Status;
    QTest::addColumn<QString>("uri");
    QTest::addColumn<S>("status");
    QTest::addColumn<bool>("global");
    QTest::addColumn<QString>("extension");

    QTest::newRow("global with separators") << "tel:+49-89-123456" << S::Ok << true << "";
    QTest::newRow("dots and parentheses") << "tel:+1.(212).555.0100" << S::Ok << true << "";
    QTest::newRow("extension") << "tel:+49-89-1234;ext=56" << S::Ok << true << "56";
    QTest::newRow("extension with separators, any case") << "tel:+49891234;EXT=5-6" << S::Ok << true << "56";
    QTest::newRow("local with context") << "tel:089-123456;phone-context=+49" << S::Ok << false << "";
    QTest::newRow("domain context") << "tel:7042;phone-context=example.com" << S::LocalToDomain << false << "";
    QTest::newRow("subaddress ignored") << "tel:+4989123456;isub=1411" << S::Ok << true << "";
    QTest::newRow("percent-encoded blanks") << "tel:+49%2089%20123456" << S::Ok << true << "";
    QTest::newRow("blanks left in") << "tel:+49 89 123456" << S::Ok << true << "";
    QTest::newRow("slash as written in Germany") << "tel:089/123456;phone-context=+49" << S::Ok << false << "";
    QTest::newRow("slashes some programs add") << "tel://+4989123456" << S::Ok << true << "";
    QTest::newRow("empty extension ignored") << "tel:+4989123456;ext=" << S::Ok << true << "";

    QTest::newRow("nothing after the scheme") << "tel:" << S::NoNumber << false << "";
    QTest::newRow("only separators") << "tel:+--" << S::NoNumber << true << "";
    QTest::newRow("letters") << "tel:+49-CALL-NOW" << S::NoNumber << true << "";
    QTest::newRow("comma pause is not a tel digit") << "tel:+4989,123" << S::NoNumber << true << "";
    QTest::newRow("not a tel link") << "mailto:a@b.c" << S::NotTelLink << false << "";

    // Service codes must not turn into a plain number by losing their * and #.
    QTest::newRow("star code") << "tel:*21*089123456%23;phone-context=+49" << S::Undialable << false << "";
    QTest::newRow("hash") << "tel:12#3;phone-context=example.com" << S::Undialable << false << "";
    QTest::newRow("hex digit") << "tel:12A3;phone-context=example.com" << S::Undialable << false << "";
    QTest::newRow("star in the extension") << "tel:+4989123456;ext=*5" << S::Undialable << true << "";
    QTest::newRow("letters in the extension") << "tel:+4989123456;ext=xy" << S::NoNumber << true << "";

    // Every digit dialed must fit the question.
    QTest::newRow("64 digits") << "tel:+" + QString(64, u'4') << S::Ok << true << "";
    QTest::newRow("65 digits") << "tel:+" + QString(65, u'4') << S::TooLong << true << "";
    QTest::newRow("65 with the extension")
        << "tel:+" + QString(60, u'4') + ";ext=12345" << S::TooLong << true << "12345";
}

void TestTelLink::parses()
{
    QFETCH(QString, uri);
    QFETCH(TelLink::Status, status);
    QFETCH(bool, global);
    QFETCH(QString, extension);
    const TelLink link = parseTelLink(uri);
    QCOMPARE(link.status, status);
    if (status != TelLink::Status::NotTelLink)
        QCOMPARE(link.global, global);
    QCOMPARE(link.extension, extension);
}

QTEST_GUILESS_MAIN(TestTelLink)
#include "tst_tellink.moc"
