#include "TempDatabase.h"
#include "fb/Error.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QTest>

using namespace fb;

namespace {

const char* const Schema = R"(
CREATE TABLE V (
    ID INTEGER NOT NULL PRIMARY KEY,
    SI SMALLINT, I INTEGER, BI BIGINT,
    N2 NUMERIC(10,2), N4 NUMERIC(18,4), N1 NUMERIC(4,1),
    DP DOUBLE PRECISION, FL FLOAT,
    DT DATE, TM TIME, TS TIMESTAMP,
    CH CHAR(5), VC VARCHAR(40),
    TB BLOB SUB_TYPE TEXT, BB BLOB SUB_TYPE BINARY,
    BO BOOLEAN);
)";

QByteArray allBytes()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    return bytes;
}

} // namespace

class TestValues : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void roundTrip_data();
    void roundTrip();
    void refused_data();
    void refused();
    void metadata();

private:
    std::unique_ptr<TempDatabase> m_db;
    std::unique_ptr<Attachment> m_att;
    int m_nextId = 1;
};

void TestValues::initTestCase()
{
    m_db = std::make_unique<TempDatabase>(QString::fromLatin1(Schema));
    m_att = std::make_unique<Attachment>(m_db->attach());
}

void TestValues::cleanupTestCase()
{
    m_att.reset();
    m_db.reset();
}

void TestValues::roundTrip_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("smallint max") << "SI" << QVariant(32767) << QVariant(32767);
    QTest::newRow("smallint min") << "SI" << QVariant(-32768) << QVariant(-32768);
    QTest::newRow("integer min") << "I" << QVariant(INT_MIN) << QVariant(INT_MIN);
    QTest::newRow("integer from text") << "I" << QVariant("42") << QVariant(42);
    QTest::newRow("bigint max") << "BI" << QVariant(Q_INT64_C(9223372036854775807))
                                << QVariant(qlonglong(Q_INT64_C(9223372036854775807)));
    QTest::newRow("numeric double") << "N2" << QVariant(12.34) << QVariant(12.34);
    QTest::newRow("numeric text rounds half up") << "N2" << QVariant("12.345") << QVariant(12.35);
    QTest::newRow("numeric negative text rounds away") << "N2" << QVariant("-12.345") << QVariant(-12.35);
    QTest::newRow("numeric double as written") << "N2" << QVariant(1.005) << QVariant(1.01);
    QTest::newRow("numeric from int") << "N2" << QVariant(7) << QVariant(7.0);
    QTest::newRow("numeric exponent text") << "N2" << QVariant("1.5e2") << QVariant(150.0);
    QTest::newRow("numeric 18,4 from text")
        << "N4" << QVariant("12345678901234.5678") << QVariant(12345678901234.5678);
    QTest::newRow("numeric on smallint") << "N1" << QVariant(-999.9) << QVariant(-999.9);
    QTest::newRow("double") << "DP" << QVariant(1.5e300) << QVariant(1.5e300);
    QTest::newRow("double from int") << "DP" << QVariant(3) << QVariant(3.0);
    QTest::newRow("double from text") << "DP" << QVariant("-0.125") << QVariant(-0.125);
    QTest::newRow("float") << "FL" << QVariant(0.5) << QVariant(0.5);
    QTest::newRow("date leap day") << "DT" << QVariant(QDate(2024, 2, 29)) << QVariant(QDate(2024, 2, 29));
    QTest::newRow("date before 1858") << "DT" << QVariant(QDate(1812, 9, 7)) << QVariant(QDate(1812, 9, 7));
    QTest::newRow("date year 1") << "DT" << QVariant(QDate(1, 1, 1)) << QVariant(QDate(1, 1, 1));
    QTest::newRow("date from text") << "DT" << QVariant("2024-05-01") << QVariant(QDate(2024, 5, 1));
    QTest::newRow("date from russian text") << "DT" << QVariant("01.05.2024") << QVariant(QDate(2024, 5, 1));
    QTest::newRow("date from date-time")
        << "DT" << QVariant(QDateTime(QDate(2024, 5, 1), QTime(13, 0))) << QVariant(QDate(2024, 5, 1));
    QTest::newRow("time with ms") << "TM" << QVariant(QTime(12, 34, 56, 789))
                                  << QVariant(QTime(12, 34, 56, 789));
    QTest::newRow("time midnight") << "TM" << QVariant(QTime(0, 0)) << QVariant(QTime(0, 0));
    QTest::newRow("time last ms") << "TM" << QVariant(QTime(23, 59, 59, 999))
                                  << QVariant(QTime(23, 59, 59, 999));
    QTest::newRow("timestamp") << "TS" << QVariant(QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59, 123)))
                               << QVariant(QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59, 123)));
    QTest::newRow("timestamp from date")
        << "TS" << QVariant(QDate(2024, 5, 1)) << QVariant(QDateTime(QDate(2024, 5, 1), QTime(0, 0)));
    QTest::newRow("timestamp from text") << "TS" << QVariant("2024-05-01 10:20:30")
                                         << QVariant(QDateTime(QDate(2024, 5, 1), QTime(10, 20, 30)));
    QTest::newRow("char trailing blanks removed") << "CH" << QVariant("ab") << QVariant("ab");
    QTest::newRow("char leading blanks kept") << "CH" << QVariant("  x") << QVariant("  x");
    QTest::newRow("char excess blanks dropped") << "CH" << QVariant("abcde   ") << QVariant("abcde");
    QTest::newRow("char cyrillic") << "CH" << QVariant(QStringLiteral("Ёжик"))
                                   << QVariant(QStringLiteral("Ёжик"));
    QTest::newRow("varchar cyrillic")
        << "VC" << QVariant(QStringLiteral("Съешь ещё этих мягких булок №5 — «да»"))
        << QVariant(QStringLiteral("Съешь ещё этих мягких булок №5 — «да»"));
    QTest::newRow("varchar trailing blanks kept") << "VC" << QVariant("ab  ") << QVariant("ab  ");
    QTest::newRow("varchar empty is not null") << "VC" << QVariant(QString("")) << QVariant(QString(""));
    QTest::newRow("varchar from number") << "VC" << QVariant(2.5) << QVariant("2.5");
    const QString longText = QStringLiteral("Зоопланктон Вельмарского моря. ").repeated(4000);
    QTest::newRow("text blob long cyrillic") << "TB" << QVariant(longText) << QVariant(longText);
    QTest::newRow("text blob empty") << "TB" << QVariant(QString("")) << QVariant(QString(""));
    QTest::newRow("binary blob all bytes") << "BB" << QVariant(allBytes()) << QVariant(allBytes());
    QTest::newRow("boolean true") << "BO" << QVariant(true) << QVariant(true);
    QTest::newRow("boolean false") << "BO" << QVariant(false) << QVariant(false);
    QTest::newRow("blank text into integer is null") << "I" << QVariant(" ") << QVariant();
    for (const char* column :
         {"SI", "I", "BI", "N2", "N4", "N1", "DP", "FL", "DT", "TM", "TS", "CH", "VC", "TB", "BB", "BO"})
        QTest::newRow(qPrintable(QStringLiteral("null %1").arg(QLatin1String(column))))
            << QString::fromLatin1(column) << QVariant() << QVariant();
}

void TestValues::roundTrip()
{
    QFETCH(QString, column);
    QFETCH(QVariant, input);
    QFETCH(QVariant, expected);

    const int id = m_nextId++;
    Transaction write(*m_att);
    Statement insert(*m_att, write, QStringLiteral("INSERT INTO V (ID, %1) VALUES (?, ?)").arg(column));
    insert.execute(write, {id, input});
    QCOMPARE(insert.affectedRows(), 1);
    write.commit();

    // Read in another transaction so that the value comes from the database, blobs included.
    Transaction read(*m_att, TransactionOptions().setIsolation(Isolation::ReadCommitted).setReadOnly(true));
    Statement select(*m_att, read, QStringLiteral("SELECT %1 FROM V WHERE ID = ?").arg(column));
    const auto row = select.execute(read, {id});
    QVERIFY(row.has_value());
    const QVariant actual = row->at(0);
    if (!expected.isValid()) {
        QVERIFY2(!actual.isValid(), qPrintable(actual.toString()));
        return;
    }
    QCOMPARE(actual.typeId(), expected.typeId());
    QCOMPARE(actual, expected);
}

void TestValues::refused_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<QString>("mentions");

    QTest::newRow("smallint overflow") << "SI" << QVariant(40000) << "out of range";
    QTest::newRow("numeric overflow") << "N1" << QVariant(3300.0) << "out of range";
    QTest::newRow("bigint overflow from text") << "BI" << QVariant("9223372036854775808") << "out of range";
    QTest::newRow("comma is no decimal point") << "N2" << QVariant("12,5") << "a number";
    QTest::newRow("not a date") << "DT" << QVariant("31.02.2024") << "a date";
    QTest::newRow("varchar too long") << "VC" << QVariant(QString(41, u'я')) << "too long";
    QTest::newRow("char too long") << "CH" << QVariant("abcdef") << "too long";
    QTest::newRow("emoji in varchar") << "VC" << QVariant(QStringLiteral("рачок 🦐")) << "U+1F990";
    QTest::newRow("greek in text blob") << "TB" << QVariant(QStringLiteral("λ")) << "U+03BB";
}

void TestValues::refused()
{
    QFETCH(QString, column);
    QFETCH(QVariant, input);
    QFETCH(QString, mentions);

    Transaction write(*m_att);
    Statement insert(*m_att, write, QStringLiteral("INSERT INTO V (ID, %1) VALUES (?, ?)").arg(column));
    insert.setParameterNames({QStringLiteral("NEW_ID"), QStringLiteral("NEW_") + column});
    try {
        insert.execute(write, {100000 + m_nextId++, input});
        QFAIL("the value was accepted");
    } catch (const Error& e) {
        QVERIFY2(e.message().contains(mentions), qPrintable(e.message()));
        QVERIFY2(e.message().contains(QStringLiteral("parameter NEW_") + column), qPrintable(e.message()));
    }
    write.rollback();
}

void TestValues::metadata()
{
    Transaction read(*m_att, TransactionOptions().setIsolation(Isolation::ReadCommitted));
    Statement select(*m_att, read,
                     QStringLiteral("SELECT ID, N2 AS AMOUNT, CH, VC, TB, BB, TS, N1 * 2 AS TWICE FROM V "
                                    "WHERE ID = ? AND N2 > ?"));
    QCOMPARE(select.type(), StatementType::Select);

    const ColumnList& out = select.outputs();
    QCOMPARE(out.size(), size_t(8));
    QCOMPARE(out[0].name, QStringLiteral("ID"));
    QCOMPARE(out[0].relation, QStringLiteral("V"));
    QCOMPARE(out[0].type, SqlType::Integer);
    QVERIFY(!out[0].nullable);
    QCOMPARE(out[1].name, QStringLiteral("N2"));
    QCOMPARE(out[1].alias, QStringLiteral("AMOUNT"));
    QCOMPARE(out[1].scale, -2);
    QVERIFY(out[1].isScaled());
    QVERIFY(out[1].nullable);
    QCOMPARE(out[2].type, SqlType::Char);
    QCOMPARE(out[2].length, 5);
    QCOMPARE(out[3].type, SqlType::VarChar);
    QCOMPARE(out[3].length, 40);
    QVERIFY(out[4].isTextBlob());
    QCOMPARE(out[5].type, SqlType::Blob);
    QVERIFY(!out[5].isTextBlob());
    QCOMPARE(out[6].type, SqlType::Timestamp);
    QCOMPARE(out[7].alias, QStringLiteral("TWICE"));
    QVERIFY(out[7].relation.isEmpty());

    const ColumnList& in = select.inputs();
    QCOMPARE(in.size(), size_t(2));
    QCOMPARE(in[0].type, SqlType::Integer);
    QCOMPARE(in[1].scale, -2);
}

QTEST_GUILESS_MAIN(TestValues)
#include "tst_values.moc"
