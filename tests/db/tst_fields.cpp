// Fields: types made from columns, metadata flags, trimmed text, typed input and its refusals,
// default expressions, lookup and calculated fields, and rows read as views need them.
#include "DbFixture.h"

#include <QSignalSpy>
#include <QTest>
#include <db/DefaultValue.h>
#include <db/Error.h>

namespace {

QString script()
{
    QString s = QStringLiteral(R"(
CREATE TABLE TAXA (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(40) NOT NULL);
CREATE TABLE COUNTS (ID INTEGER NOT NULL PRIMARY KEY, TAXON SMALLINT, D0 NUMERIC(5,1), D1 NUMERIC(5,1),
                     CODE CHAR(5), BIG BIGINT, AMOUNT DOUBLE PRECISION, WHEN_DONE TIMESTAMP, DAY_DONE DATE,
                     NOTE VARCHAR(3) DEFAULT 'n/a', TWICE COMPUTED BY (AMOUNT * 2));
CREATE TABLE MANY (ID INTEGER NOT NULL PRIMARY KEY, N INTEGER);
COMMIT;
INSERT INTO TAXA VALUES (1, 'Calanus');
INSERT INTO TAXA VALUES (2, 'Acartia');
INSERT INTO TAXA VALUES (3, 'Oithona');
INSERT INTO COUNTS (ID, TAXON, D0, D1, CODE, BIG, AMOUNT) VALUES (1, 2, 0, 10, 'ab', 1234567, 1.5);
INSERT INTO COUNTS (ID, TAXON, D0, D1, CODE, BIG, AMOUNT) VALUES (2, 9, 2.5, NULL, NULL, NULL, NULL);
)");
    for (int i = 1; i <= 230; ++i)
        s += QStringLiteral("INSERT INTO MANY VALUES (%1, %2);\n").arg(i).arg(i * 10);
    return s;
}

} // namespace

class FieldsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void fieldsFromColumns();
    void typedInput_data();
    void typedInput();
    void defaultExpressions_data();
    void defaultExpressions();
    void newRowDefaults();
    void lookupField();
    void calculatedField();
    void rowsReadAsNeeded();
    void fetchAllAtOpen();
    void controlsHearChanges();

private:
    db::DataSet* counts(db::PrepareOptions options = {});

    std::unique_ptr<DbFixture> m_db;
    std::vector<db::DataSet*> m_made;
};

void FieldsTest::initTestCase()
{
    m_db = std::make_unique<DbFixture>(script());
}

void FieldsTest::cleanupTestCase()
{
    m_db.reset();
}

void FieldsTest::cleanup()
{
    for (auto it = m_made.rbegin(); it != m_made.rend(); ++it)
        delete *it;
    m_made.clear();
    if (m_db->write.isActive())
        m_db->write.rollback();
}

db::DataSet* FieldsTest::counts(db::PrepareOptions options)
{
    db::DataSet* ds =
        m_db->dataSet(QStringLiteral("dtsCounts"),
                      QStringLiteral("SELECT ID, TAXON, D0, D1, CODE, BIG, AMOUNT, WHEN_DONE, "
                                     "DAY_DONE, NOTE, TWICE, AMOUNT + 1 AS MORE FROM COUNTS ORDER BY ID"));
    ds->setUpdateSql(QStringLiteral(
        "UPDATE COUNTS SET TAXON = :TAXON, D0 = :D0, D1 = :D1, CODE = :CODE, AMOUNT = "
        ":AMOUNT, WHEN_DONE = :WHEN_DONE, DAY_DONE = :DAY_DONE, NOTE = :NOTE WHERE ID = :OLD_ID"));
    ds->setInsertSql(QStringLiteral("INSERT INTO COUNTS (ID, TAXON) VALUES (:ID, :TAXON)"));
    ds->setPrepareOptions(options);
    ds->setAutoCommit(true);
    m_made.push_back(ds);
    return ds;
}

void FieldsTest::fieldsFromColumns()
{
    db::DataSet* ds = counts(db::PrepareOption::SetReadOnlyFields | db::PrepareOption::SetRequiredFields |
                             db::PrepareOption::SqlInt64ToBcd);
    ds->open();
    QCOMPARE(ds->fieldCount(), 12);
    QCOMPARE(ds->field(QStringLiteral("TAXON"))->type(), db::FieldType::SmallInt);
    QCOMPARE(ds->field(QStringLiteral("D0"))->type(), db::FieldType::Numeric);
    QCOMPARE(ds->field(QStringLiteral("D0"))->decimals(), 1);
    QCOMPARE(ds->field(QStringLiteral("CODE"))->size(), 5);
    QCOMPARE(ds->field(QStringLiteral("BIG"))->type(), db::FieldType::Numeric); // BIGINT read as decimal
    QCOMPARE(ds->field(QStringLiteral("AMOUNT"))->type(), db::FieldType::Float);
    QCOMPARE(ds->field(QStringLiteral("WHEN_DONE"))->type(), db::FieldType::DateTime);
    QVERIFY(ds->field(QStringLiteral("ID"))->isRequired());
    QVERIFY(!ds->field(QStringLiteral("TAXON"))->isRequired());
    QVERIFY(ds->field(QStringLiteral("TWICE"))->isReadOnly()); // computed by the database
    QVERIFY(ds->field(QStringLiteral("MORE"))->isReadOnly());  // an expression of the statement
    QVERIFY(!ds->field(QStringLiteral("AMOUNT"))->isReadOnly());
    QVERIFY(!ds->field(QStringLiteral("TWICE"))->canModify());
    // Trailing blanks of CHAR values are gone; numbers show with their column's decimals.
    QCOMPARE(ds->field(QStringLiteral("CODE"))->value(), QVariant(QStringLiteral("ab")));
    QCOMPARE(ds->field(QStringLiteral("D1"))->displayText(), QStringLiteral("10.0"));
    QCOMPARE(ds->field(QStringLiteral("BIG"))->displayText(), QStringLiteral("1234567"));
    QCOMPARE(ds->field(QStringLiteral("AMOUNT"))->displayText(), QStringLiteral("1.5"));
    QCOMPARE(ds->field(QStringLiteral("TWICE"))->asFloat(), 3.0);
    QCOMPARE(ds->field(QStringLiteral("ID"))->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);

    db::DataSet* plain = counts();
    plain->open();
    QCOMPARE(plain->field(QStringLiteral("BIG"))->type(), db::FieldType::LargeInt);
    QVERIFY(!plain->field(QStringLiteral("TWICE"))->isReadOnly());
    QVERIFY(!plain->field(QStringLiteral("ID"))->isRequired());
}

void FieldsTest::typedInput_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown"); // the display text afterwards, or the error message
    QTest::addColumn<bool>("refused");

    QTest::newRow("number with point") << "AMOUNT"
                                       << "2.25"
                                       << "2.25" << false;
    QTest::newRow("number with comma")
        << "AMOUNT"
        << "2,25"
        << "'2,25' is not a valid floating point value for field 'AMOUNT'" << true;
    QTest::newRow("number with letters")
        << "D0"
        << "12 m"
        << "'12 m' is not a valid floating point value for field 'D0'" << true;
    QTest::newRow("empty number is NULL") << "AMOUNT"
                                          << ""
                                          << "" << false;
    QTest::newRow("small integer") << "TAXON"
                                   << "-7"
                                   << "-7" << false;
    QTest::newRow("small integer out of range")
        << "TAXON"
        << "40000"
        << "40000 is not a valid value for field 'TAXON'. The allowed range is -32768 to 32767" << true;
    QTest::newRow("integer with fraction") << "TAXON"
                                           << "1.5"
                                           << "'1.5' is not a valid integer value for field 'TAXON'" << true;
    QTest::newRow("date") << "DAY_DONE"
                          << "1.2.2021"
                          << "01.02.2021" << false;
    QTest::newRow("no such date") << "DAY_DONE"
                                  << "30.02.2021"
                                  << "'30.02.2021' is not a valid date for field 'DAY_DONE'" << true;
    QTest::newRow("date and time") << "WHEN_DONE"
                                   << "01.02.2021 15:04"
                                   << "01.02.2021 03:04 PM" << false;
    QTest::newRow("text") << "CODE"
                          << "xyz"
                          << "xyz" << false;
    QTest::newRow("text too long") << "CODE"
                                   << "abcdef"
                                   << "'abcdef' is too long for field 'CODE': it holds at most 5 characters"
                                   << true;
    QTest::newRow("Cyrillic text") << "CODE" << QString::fromUtf8("ёжик") << QString::fromUtf8("ёжик")
                                   << false;
    QTest::newRow("text outside WIN1251")
        << "CODE" << QString::fromUtf8("日本")
        << QString::fromUtf8("Field 'CODE' can't hold the character '日': the database stores text in the "
                             "Windows-1251 character set")
        << true;
}

void FieldsTest::typedInput()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(bool, refused);
    db::DataSet* ds = counts();
    ds->open();
    db::Field* f = ds->field(field);
    QVERIFY(ds->edit());
    const QString before = f->displayText();
    try {
        f->setText(text);
        QVERIFY2(!refused, "the text was taken");
        QCOMPARE(f->displayText(), shown);
        QVERIFY(ds->post());
        QCOMPARE(f->displayText(), shown); // stored as shown
    } catch (const db::Error& e) {
        QVERIFY2(refused, qPrintable(e.message()));
        QCOMPARE(e.message(), shown);
        QCOMPARE(f->displayText(), before);
        ds->cancel();
    }
    m_db->write.rollback(); // the next row's write transaction sees the row restored
    m_db->exec(
        QStringLiteral("UPDATE COUNTS SET TAXON = 2, D0 = 0, CODE = 'ab', AMOUNT = 1.5, WHEN_DONE = NULL, "
                       "DAY_DONE = NULL WHERE ID = 1"));
}

void FieldsTest::defaultExpressions_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariant>("expected");
    const QDateTime now(QDate(2021, 5, 6), QTime(7, 8, 9));
    QTest::newRow("number for float") << "0" << int(db::FieldType::Float) << QVariant(0.0);
    QTest::newRow("number for integer") << "1" << int(db::FieldType::SmallInt) << QVariant(1);
    QTest::newRow("NOW") << "NOW" << int(db::FieldType::DateTime) << QVariant(now);
    QTest::newRow("CURRENT_TIMESTAMP")
        << "CURRENT_TIMESTAMP" << int(db::FieldType::DateTime) << QVariant(now);
    QTest::newRow("CURRENT_TIME") << "CURRENT_TIME" << int(db::FieldType::Time) << QVariant(now.time());
    QTest::newRow("TODAY on a date") << "TODAY" << int(db::FieldType::Date) << QVariant(now.date());
    QTest::newRow("CURRENT_DATE on a timestamp")
        << "CURRENT_DATE" << int(db::FieldType::DateTime) << QVariant(QDateTime(now.date(), QTime(0, 0)));
    QTest::newRow("quoted 'NOW' as the database writes it")
        << "'NOW'" << int(db::FieldType::Date) << QVariant(now.date());
    QTest::newRow("empty text literal") << "''" << int(db::FieldType::String) << QVariant(QString());
    QTest::newRow("quoted text") << "'it''s'" << int(db::FieldType::String)
                                 << QVariant(QStringLiteral("it's"));
    QTest::newRow("number that isn't") << "abc" << int(db::FieldType::Integer) << QVariant();
    QTest::newRow("NULL on a text field") << "NULL" << int(db::FieldType::String) << QVariant();
}

void FieldsTest::defaultExpressions()
{
    QFETCH(QString, expression);
    QFETCH(int, type);
    QFETCH(QVariant, expected);
    const QDateTime now(QDate(2021, 5, 6), QTime(7, 8, 9));
    const auto value = db::evaluateDefault(expression, db::FieldType(type), now);
    QCOMPARE(value.value_or(QVariant()), expected);
    if (value)
        QCOMPARE(value->metaType(), expected.metaType());
}

void FieldsTest::newRowDefaults()
{
    db::DataSet* ds = counts();
    ds->open();
    ds->field(QStringLiteral("DAY_DONE"))->setDefaultExpression(QStringLiteral("TODAY"));
    ds->field(QStringLiteral("WHEN_DONE"))->setDefaultExpression(QStringLiteral("NOW"));
    ds->field(QStringLiteral("AMOUNT"))->setDefaultExpression(QStringLiteral("0.5"));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    QVERIFY(ds->append());
    QCOMPARE(ds->currentRow(), 2);
    QCOMPARE(ds->field(QStringLiteral("DAY_DONE"))->value(), QVariant(QDate::currentDate()));
    QVERIFY(ds->field(QStringLiteral("WHEN_DONE"))->value().toDateTime() >= before);
    QCOMPARE(ds->field(QStringLiteral("AMOUNT"))->asFloat(), 0.5);
    QCOMPARE(ds->field(QStringLiteral("NOTE"))->asString(), QStringLiteral("n/a")); // declared DEFAULT 'n/a'
    QVERIFY(ds->field(QStringLiteral("TAXON"))->isNull());
    QVERIFY(!ds->isModified());
    ds->cancel();
    // "NULL" of its own overrides the declared default.
    ds->field(QStringLiteral("NOTE"))->setDefaultExpression(QStringLiteral("NULL"));
    QVERIFY(ds->append());
    QVERIFY(ds->field(QStringLiteral("NOTE"))->isNull());
    ds->cancel();
    QCOMPARE(ds->recordCount(), 2);
}

void FieldsTest::lookupField()
{
    db::DataSet* taxa =
        m_db->dataSet(QStringLiteral("dtsTaxa"), QStringLiteral("SELECT ID, NAME FROM TAXA ORDER BY ID"));
    m_made.push_back(taxa);
    db::DataSet* ds = counts();
    ds->addField(QStringLiteral("ID"));
    ds->addField(QStringLiteral("TAXON"));
    db::Field* name =
        ds->addLookupField(QStringLiteral("TAXON_NAME"), db::FieldType::String, 40, QStringLiteral("TAXON"),
                           taxa, QStringLiteral("ID"), QStringLiteral("NAME"));
    name->setDisplayLabel(QStringLiteral("Taxon"));
    ds->open();
    QVERIFY(taxa->isActive()); // opened with the dataset that looks into it
    QCOMPARE(name->displayText(), QStringLiteral("Acartia"));
    QVERIFY(name->isNull(1)); // taxon 9 isn't listed
    const QList<db::LookupChoice> choices = name->lookupChoices();
    QCOMPARE(choices.size(), 3);
    QCOMPARE(choices.at(2).key, QVariant(3));
    QCOMPARE(choices.at(2).text, QStringLiteral("Oithona"));
    QVERIFY(ds->edit());
    name->setText(QStringLiteral("Oithona"));
    QCOMPARE(ds->field(QStringLiteral("TAXON"))->asInteger(), 3);
    QCOMPARE(name->displayText(), QStringLiteral("Oithona"));
    QVERIFY_THROWS_EXCEPTION(db::Error, name->setText(QStringLiteral("Nonesuch")));
    QCOMPARE(ds->field(QStringLiteral("TAXON"))->asInteger(), 3);
    ds->cancel();
    QCOMPARE(name->displayText(), QStringLiteral("Acartia"));
}

void FieldsTest::calculatedField()
{
    db::DataSet* ds = counts();
    ds->addField(QStringLiteral("ID"));
    ds->addField(QStringLiteral("D0"));
    ds->addField(QStringLiteral("D1"));
    db::Field* horizon = ds->addCalculatedField(QStringLiteral("HORIZON"), db::FieldType::String, 15);
    int calculations = 0;
    connect(ds, &db::DataSet::calcFields, this, [&] {
        ++calculations;
        auto depth = [&](const char* name) {
            db::Field* f = ds->field(QString::fromLatin1(name));
            return f->isNull() ? QStringLiteral("?") : f->asString();
        };
        horizon->setValue(QStringLiteral("%1 - %2 m").arg(depth("D0"), depth("D1")).left(15));
    });
    ds->open();
    QCOMPARE(calculations, 2); // once per row read
    QCOMPARE(horizon->displayText(), QStringLiteral("0 - 10 m"));
    QCOMPARE(horizon->displayText(1), QStringLiteral("2.5 - ? m"));
    QVERIFY(!horizon->canModify());
    QVERIFY(ds->edit());
    ds->field(QStringLiteral("D1"))->setText(QStringLiteral("20.5"));
    QCOMPARE(horizon->displayText(), QStringLiteral("0 - 20.5 m")); // again as the row changes
    ds->cancel();
    QCOMPARE(horizon->displayText(), QStringLiteral("0 - 10 m"));
    QVERIFY_THROWS_EXCEPTION(db::Error, horizon->setValue(QStringLiteral("x")));
}

void FieldsTest::rowsReadAsNeeded()
{
    db::DataSet* ds =
        m_db->dataSet(QStringLiteral("dtsMany"), QStringLiteral("SELECT ID, N FROM MANY ORDER BY ID"));
    m_made.push_back(ds);
    ds->setFetchBatch(50);
    db::DataSource* source = m_db->source(ds);
    QSignalSpy appended(source, &db::DataSource::rowsAppended);
    ds->open();
    QCOMPARE(ds->recordCount(), 50);
    QVERIFY(ds->canFetchMore());
    QCOMPARE(ds->fetchMore(), 50);
    QCOMPARE(appended.count(), 1);
    QCOMPARE(appended.at(0).at(0).toInt(), 50);
    QCOMPARE(appended.at(0).at(1).toInt(), 99);
    QCOMPARE(ds->recordCount(), 100);
    // Moving past the rows read reads on.
    ds->setCurrentRow(99);
    ds->next();
    QCOMPARE(ds->field(QStringLiteral("ID"))->asInteger(), 101);
    QCOMPARE(ds->recordCount(), 150);
    QVERIFY(ds->locate(QStringLiteral("N"), 2000));
    QCOMPARE(ds->recordCount(), 200);
    ds->last();
    QCOMPARE(ds->recordCount(), 230);
    QVERIFY(!ds->canFetchMore());
    QVERIFY(ds->eof());
    QCOMPARE(ds->field(QStringLiteral("ID"))->asInteger(), 230);
    ds->next();
    QCOMPARE(ds->field(QStringLiteral("ID"))->asInteger(), 230);
    QVERIFY(!ds->locate(QStringLiteral("N"), 5));
}

void FieldsTest::fetchAllAtOpen()
{
    db::DataSet* ds =
        m_db->dataSet(QStringLiteral("dtsMany"), QStringLiteral("SELECT ID, N FROM MANY ORDER BY ID"));
    m_made.push_back(ds);
    ds->setOptions(db::Option::FetchAll);
    ds->open();
    QCOMPARE(ds->recordCount(), 230);
    QVERIFY(!ds->canFetchMore());
    ds->fetchAll();
    QCOMPARE(ds->recordCount(), 230);
}

void FieldsTest::controlsHearChanges()
{
    db::DataSet* ds = counts();
    db::DataSource* source = m_db->source(ds);
    QSignalSpy active(source, &db::DataSource::activeChanged);
    QSignalSpy state(source, &db::DataSource::stateChanged);
    QSignalSpy record(source, &db::DataSource::recordChanged);
    QSignalSpy scrolled(source, &db::DataSource::scrolled);
    ds->open();
    QCOMPARE(active.count(), 1);
    ds->next();
    QCOMPARE(scrolled.count(), 1);
    QCOMPARE(scrolled.at(0).at(0).toInt(), 1);
    source->setAutoEdit(false);
    QVERIFY(!source->edit());
    source->setAutoEdit(true);
    QVERIFY(source->edit());
    QCOMPARE(state.count(), 1);
    QCOMPARE(state.at(0).at(0).value<db::DataSetState>(), db::DataSetState::Edit);
    db::Field* amount = ds->field(QStringLiteral("AMOUNT"));
    amount->setText(QStringLiteral("4"));
    QCOMPARE(record.count(), 1);
    QCOMPARE(record.at(0).at(0).value<db::Field*>(), amount);
    ds->cancel();
    QCOMPARE(state.count(), 2);
    QVERIFY(amount->isNull());
    ds->close();
    QCOMPARE(active.count(), 2);
    QVERIFY(!active.at(1).at(0).toBool());

    // A read-only dataset: controls are told no, not thrown at.
    db::DataSet* list = m_db->dataSet(QStringLiteral("dtsTaxa"), QStringLiteral("SELECT ID, NAME FROM TAXA"));
    m_made.push_back(list);
    db::DataSource* listSource = m_db->source(list);
    list->open();
    QVERIFY(!listSource->edit());
    QVERIFY(!list->field(QStringLiteral("NAME"))->canModify());
    QVERIFY_THROWS_EXCEPTION(db::Error, list->edit());
    QCOMPARE(list->state(), db::DataSetState::Browse);
}

QTEST_GUILESS_MAIN(FieldsTest)
#include "tst_fields.moc"
