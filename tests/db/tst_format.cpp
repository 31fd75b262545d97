// The number and date format language of fields, the general number format, and the parsing
// of typed numbers and dates.
#include <QProcess>
#include <QTest>
#include <db/DateFormat.h>
#include <db/NumberFormat.h>
#include <db/Separators.h>

class FormatTest : public QObject
{
    Q_OBJECT

private slots:
    void numbers_data();
    void numbers();
    void general_data();
    void general();
    void dates_data();
    void dates();
    void parsedNumbers_data();
    void parsedNumbers();
    void parsedDates_data();
    void parsedDates();
    void systemLocales_data();
    void systemLocales();
};

void FormatTest::numbers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("thousands");
    QTest::addColumn<QString>("expected");

    const QString comma = QStringLiteral(",");
    const QString nbsp = QString(QChar(0x00A0));
    QTest::newRow("depth unit m") << 1234.56 << "#,##0.0 m" << comma << "1,234.6 m";
    QTest::newRow("depth unit Cyrillic")
        << 12.25 << QString::fromUtf8("#,##0.0 м") << comma << QString::fromUtf8("12.3 м");
    QTest::newRow("zero with unit") << 0.0 << "#,##0.0 m" << comma << "0.0 m";
    QTest::newRow("negative grouped") << -1234.56 << "#,##0.00" << comma << "-1,234.56";
    QTest::newRow("millions three places") << 1234567.891 << "#,##0.000" << comma << "1,234,567.891";
    QTest::newRow("carry into a new group") << 999.96 << "#,##0.0" << comma << "1,000.0";
    QTest::newRow("grouping with no-break space") << 1234.5 << "#,##0.0" << nbsp << "1" + nbsp + "234.5";
    QTest::newRow("optional places trimmed") << 0.5 << "0.###" << comma << "0.5";
    QTest::newRow("optional places whole") << 2.0 << "0.###" << comma << "2";
    QTest::newRow("optional places rounded") << 0.12345 << "0.###" << comma << "0.123";
    QTest::newRow("optional places round half up") << 0.0005 << "0.###" << comma << "0.001";
    QTest::newRow("optional places to zero") << 0.0004 << "0.###" << comma << "0";
    QTest::newRow("one fixed then optional") << 3.0 << "0.0###" << comma << "3.0";
    QTest::newRow("one fixed then optional rounded") << 1.23456 << "0.0###" << comma << "1.2346";
    QTest::newRow("three places") << 3.0 << "0.000" << comma << "3.000";
    QTest::newRow("decimal rounding 2.675") << 2.675 << "0.00" << comma << "2.68";
    QTest::newRow("decimal rounding 0.15") << 0.15 << "0.0" << comma << "0.2";
    QTest::newRow("negative rounding to zero has no sign") << -0.04 << "0.0" << comma << "0.0";
    QTest::newRow("no grouping without comma") << 1234.0 << "0.00" << comma << "1234.00";
    QTest::newRow("optional integer digit") << 12.345 << "#0.00" << comma << "12.35";
    QTest::newRow("leading zero kept") << 0.5 << "#0.00" << comma << "0.50";
    QTest::newRow("whole grouped") << 1e6 << "#,##0" << comma << "1,000,000";
    QTest::newRow("negative section") << -1.5 << "0.0;(0.0);zero" << comma << "(1.5)";
    QTest::newRow("zero section") << 0.0 << "0.0;(0.0);zero" << comma << "zero";
    QTest::newRow("quoted literal") << 5.0 << "0 'kg'" << comma << "5 kg";
    QTest::newRow("scientific") << 12345.0 << "0.00E+00" << comma << "1.23E+04";
    QTest::newRow("scientific small") << 0.00012 << "0.0E-0" << comma << "1.2E-4";
    QTest::newRow("empty format is general") << 0.1 + 0.2 << "" << comma << "0.3";
}

void FormatTest::numbers()
{
    QFETCH(double, value);
    QFETCH(QString, format);
    QFETCH(QString, thousands);
    QFETCH(QString, expected);
    db::Separators separators;
    separators.decimal = u'.';
    separators.thousands = thousands.at(0);
    QCOMPARE(db::formatFloat(value, format, separators), expected);
}

void FormatTest::general_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("whole") << 10.0 << "10";
    QTest::newRow("fraction") << 2.5 << "2.5";
    QTest::newRow("binary noise") << 0.1 + 0.2 << "0.3";
    QTest::newRow("15 digits") << 1.0 / 3.0 << "0.333333333333333";
    QTest::newRow("small stays fixed") << 0.0001 << "0.0001";
    QTest::newRow("smaller is scientific") << 0.00001 << "1E-5";
    QTest::newRow("15 integer digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("16 integer digits") << 1e15 << "1E15";
    QTest::newRow("large scientific") << 1.5e20 << "1.5E20";
    QTest::newRow("negative") << -7.25 << "-7.25";
}

void FormatTest::general()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(db::formatGeneral(value), expected);
}

void FormatTest::dates_data()
{
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    const QDate day(2024, 3, 5);
    QTest::newRow("date") << QDateTime(day, QTime(0, 0)) << "dd.mm.yyyy"
                          << "05.03.2024";
    QTest::newRow("afternoon") << QDateTime(day, QTime(14, 30)) << "dd.mm.yyyy hh:mm AMPM"
                               << "05.03.2024 02:30 PM";
    QTest::newRow("after midnight") << QDateTime(day, QTime(0, 5)) << "dd.mm.yyyy hh:mm AMPM"
                                    << "05.03.2024 12:05 AM";
    QTest::newRow("noon") << QDateTime(day, QTime(12, 0)) << "hh:mm AMPM"
                          << "12:00 PM";
    QTest::newRow("short forms") << QDateTime(day, QTime(9, 7)) << "d.m.yy h:n"
                                 << "5.3.24 9:7";
    QTest::newRow("24-hour minutes after hours") << QDateTime(day, QTime(17, 8, 9)) << "hh:mm:ss"
                                                 << "17:08:09";
    QTest::newRow("month name") << QDateTime(day, QTime(0, 0)) << "mmm yyyy"
                                << "Mar 2024";
    QTest::newRow("quoted text") << QDateTime(day, QTime(0, 0)) << "'day' d"
                                 << "day 5";
}

void FormatTest::dates()
{
    QFETCH(QDateTime, value);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(db::formatDateTime(value, format), expected);
}

void FormatTest::parsedNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("expected");
    QTest::newRow("point") << "1.5" << true << 1.5;
    QTest::newRow("negative") << "-0.25" << true << -0.25;
    QTest::newRow("blanks around") << " 2 " << true << 2.0;
    QTest::newRow("exponent") << "1e3" << true << 1000.0;
    QTest::newRow("leading point") << ".5" << true << 0.5;
    QTest::newRow("trailing point") << "5." << true << 5.0;
    QTest::newRow("comma refused") << "1,5" << false << 0.0;
    QTest::newRow("grouped refused") << "1,234.5" << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("inner blank") << "1 000" << false << 0.0;
    QTest::newRow("double sign") << "--1" << false << 0.0;
    QTest::newRow("bare exponent") << "1e" << false << 0.0;
}

void FormatTest::parsedNumbers()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, expected);
    const auto parsed = db::parseFloat(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, expected);
}

void FormatTest::parsedDates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("full") << "05.03.2024" << QDate(2024, 3, 5);
    QTest::newRow("short year") << "5.3.24" << QDate(2024, 3, 5);
    QTest::newRow("last century") << "1.7.87" << QDate(1987, 7, 1);
    QTest::newRow("slashes") << "31/12/2023" << QDate(2023, 12, 31);
    QTest::newRow("no such day") << "31.02.2024" << QDate();
    QTest::newRow("not a date") << "yesterday" << QDate();
}

void FormatTest::parsedDates()
{
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    const auto parsed = db::parseDate(text);
    QCOMPARE(parsed.value_or(QDate()), expected);
}

void FormatTest::systemLocales_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("thousands");
    QTest::addColumn<QString>("grouped");
    const QString nbsp = QString(QChar(0x00A0));
    // German groups with ".", which would read as our decimal point: a no-break space instead.
    QTest::newRow("de_DE") << "de_DE.UTF-8"
                           << "U+A0"
                           << "1" + nbsp + "234" + nbsp + "567.89";
    QTest::newRow("en_US") << "en_US.UTF-8"
                           << "U+2C"
                           << "1,234,567.89";
    QTest::newRow("ru_RU") << "ru_RU.UTF-8"
                           << "U+A0"
                           << "1" + nbsp + "234" + nbsp + "567.89";
}

void FormatTest::systemLocales()
{
    QFETCH(QString, locale);
    QFETCH(QString, thousands);
    QFETCH(QString, grouped);
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.insert(QStringLiteral("LANG"), locale);
    probe.setProcessEnvironment(env);
    probe.start(QStringLiteral(SEPARATORS_PROBE), {});
    QVERIFY(probe.waitForFinished(30000));
    QCOMPARE(probe.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(probe.readAllStandardOutput()).split(u'\n');
    QVERIFY2(lines.size() >= 5, qPrintable(lines.join(u'|')));
    QCOMPARE(lines.at(0), QStringLiteral("decimal=."));
    QCOMPARE(lines.at(1), QStringLiteral("thousands=") + thousands);
    QCOMPARE(lines.at(2), grouped);
    QCOMPARE(lines.at(3), QStringLiteral("1234.5"));
    QCOMPARE(lines.at(4), QStringLiteral("refused"));
}

QTEST_GUILESS_MAIN(FormatTest)
#include "tst_format.moc"
