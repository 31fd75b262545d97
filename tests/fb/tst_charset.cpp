#include "TempDatabase.h"
#include "fb/Charset.h"
#include "fb/Error.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QTest>

using namespace fb;

class TestCharset : public QObject
{
    Q_OBJECT

private slots:
    void knownCharacters_data();
    void knownCharacters();
    void everyDefinedByteRoundTrips();
    void refusedCharacters_data();
    void refusedCharacters();
    void tableAgreesWithTheDatabase();
};

void TestCharset::knownCharacters_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("unicode");
    QTest::newRow("ascii") << 0x41 << 0x41;
    QTest::newRow("capital A") << 0xC0 << 0x0410;
    QTest::newRow("small ya") << 0xFF << 0x044F;
    QTest::newRow("capital Yo") << 0xA8 << 0x0401;
    QTest::newRow("small yo") << 0xB8 << 0x0451;
    QTest::newRow("numero") << 0xB9 << 0x2116;
    QTest::newRow("euro") << 0x88 << 0x20AC;
    QTest::newRow("no-break space") << 0xA0 << 0x00A0;
    QTest::newRow("en dash") << 0x96 << 0x2013;
    QTest::newRow("Ukrainian ghe") << 0xA5 << 0x0490;
}

void TestCharset::knownCharacters()
{
    QFETCH(int, byte);
    QFETCH(int, unicode);
    const QByteArray bytes(1, char(byte));
    const QString text{QChar(char16_t(unicode))};
    QCOMPARE(win1251::decode(bytes), text);
    QCOMPARE(win1251::encode(text), bytes);
    QVERIFY(win1251::canEncode(text));
}

void TestCharset::everyDefinedByteRoundTrips()
{
    QSet<QChar> seen;
    for (int b = 1; b < 256; ++b) {
        if (b == 0x98)
            continue; // no character in code page 1251
        const QByteArray bytes(1, char(b));
        const QString text = win1251::decode(bytes);
        QCOMPARE(text.size(), 1);
        QVERIFY2(!seen.contains(text[0]), qPrintable(QString::number(b, 16)));
        seen.insert(text[0]);
        QCOMPARE(win1251::encode(text), bytes);
    }
    QCOMPARE(win1251::decode(QByteArray("\x98", 1)), QString(QChar(0xFFFD)));
}

void TestCharset::refusedCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("code");
    QTest::newRow("sharp s") << QStringLiteral("Straße") << QStringLiteral("U+00DF");
    QTest::newRow("greek omega") << QStringLiteral("Ω") << QStringLiteral("U+03A9");
    QTest::newRow("chinese") << QStringLiteral("中") << QStringLiteral("U+4E2D");
    QTest::newRow("emoji") << QStringLiteral("ок 😀") << QStringLiteral("U+1F600");
    QTest::newRow("C1 control at 0x98") << QString(QChar(0x98)) << QStringLiteral("U+0098");
    QTest::newRow("replacement character") << QString(QChar(0xFFFD)) << QStringLiteral("U+FFFD");
}

void TestCharset::refusedCharacters()
{
    QFETCH(QString, text);
    QFETCH(QString, code);
    QVERIFY(!win1251::canEncode(text));
    try {
        win1251::encode(text, QStringLiteral("column NAME"));
        QFAIL("encode accepted a character WIN1251 can't hold");
    } catch (const Error& e) {
        QVERIFY2(e.message().contains(QStringLiteral("column NAME")), qPrintable(e.message()));
        QVERIFY2(e.message().contains(code), qPrintable(e.message()));
    }
}

// Firebird's own WIN1251 must read our bytes as the same characters: the server converts
// them to UTF-8 for a UTF8 column, and the raw bytes of a WIN1251 column must be ours.
void TestCharset::tableAgreesWithTheDatabase()
{
    TempDatabase db(QStringLiteral("CREATE TABLE C (B INTEGER NOT NULL, W VARCHAR(1) CHARACTER SET WIN1251, "
                                   "U VARCHAR(1) CHARACTER SET UTF8);"));
    Attachment att = db.attach();
    Transaction tr(att);
    Statement insert(att, tr, QStringLiteral("INSERT INTO C (B, W, U) VALUES (?, ?, ?)"));
    for (int b = 1; b < 256; ++b) {
        if (b == 0x98)
            continue;
        const QString c = win1251::decode(QByteArray(1, char(b)));
        insert.execute(tr, {b, c, c});
    }
    Statement select(att, tr,
                     QStringLiteral("SELECT B, CAST(W AS VARCHAR(1) CHARACTER SET OCTETS), "
                                    "CAST(U AS VARCHAR(4) CHARACTER SET OCTETS), W, U FROM C ORDER BY B"));
    ResultSet rows = select.openCursor(tr);
    int count = 0;
    while (rows.fetchNext()) {
        const int b = rows.value(0).toInt();
        const QString expected = win1251::decode(QByteArray(1, char(b)));
        QCOMPARE(rows.value(1).toByteArray(), QByteArray(1, char(b)));
        QCOMPARE(rows.value(2).toByteArray(), expected.toUtf8());
        QCOMPARE(rows.value(3).toString(), expected);
        QCOMPARE(rows.value(4).toString(), expected);
        ++count;
    }
    QCOMPARE(count, 254);
}

QTEST_GUILESS_MAIN(TestCharset)
#include "tst_charset.moc"
