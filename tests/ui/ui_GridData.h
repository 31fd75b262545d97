#pragma once
// Taxon counts for the grid tests: COUNTS rows with a taxon key looked up in TAXA, a float
// with a display format, a numeric without one, an integer that must not be negative, a short
// text; keys from GEN_COUNTS_ID.

#include "ui_DataFixture.h"

#include <db/Field.h>

inline QString countsScript(int extraRows = 0)
{
    QString script = QStringLiteral(
        "CREATE TABLE TAXA (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(40));"
        "CREATE TABLE COUNTS (ID INTEGER NOT NULL PRIMARY KEY, TAXON INTEGER, ABUNDANCE DOUBLE PRECISION,"
        " BIOMASS NUMERIC(9,3), QTY INTEGER CHECK (QTY IS NULL OR QTY >= 0), NOTE VARCHAR(10));"
        "CREATE GENERATOR GEN_COUNTS_ID;"
        "SET GENERATOR GEN_COUNTS_ID TO 100;"
        "INSERT INTO TAXA VALUES (1, 'Acartia');"
        "INSERT INTO TAXA VALUES (2, 'Calanus');"
        "INSERT INTO TAXA VALUES (3, 'Daphnia');"
        "INSERT INTO TAXA VALUES (4, 'Evadne');"
        "INSERT INTO COUNTS VALUES (1, 1, 10.5, 1.25, 1, 'first');"
        "INSERT INTO COUNTS VALUES (2, 2, 20, 2.5, 2, 'second');"
        "INSERT INTO COUNTS VALUES (3, 3, 30.25, 0.125, 3, 'third');");
    for (int i = 0; i < extraRows; ++i)
        script += QStringLiteral("INSERT INTO COUNTS VALUES (%1, 4, 1, 0.5, %1, 'extra %1');").arg(10 + i);
    return script;
}

// The counts dataset (not opened): declared fields as a data module declares them, and the
// lookup field TAXON_NAME over the taxa.
inline db::DataSet* countsDataSet(DataFixture& fixture)
{
    db::DataSet* taxa = fixture.dataSet(QStringLiteral("dtsTaxa"));
    taxa->setSelectSql(QStringLiteral("SELECT ID, NAME FROM TAXA ORDER BY NAME"));

    db::DataSet* ds = fixture.dataSet(QStringLiteral("dtsCounts"));
    const QString columns = QStringLiteral("ID, TAXON, ABUNDANCE, BIOMASS, QTY, NOTE");
    ds->setSelectSql(QStringLiteral("SELECT %1 FROM COUNTS ORDER BY ID").arg(columns));
    ds->setRefreshSql(QStringLiteral("SELECT %1 FROM COUNTS WHERE ID = :OLD_ID").arg(columns));
    ds->setInsertSql(
        QStringLiteral("INSERT INTO COUNTS (%1) VALUES (:ID, :TAXON, :ABUNDANCE, :BIOMASS, :QTY, :NOTE)")
            .arg(columns));
    ds->setUpdateSql(
        QStringLiteral("UPDATE COUNTS SET TAXON = :TAXON, ABUNDANCE = :ABUNDANCE, BIOMASS = :BIOMASS,"
                       " QTY = :QTY, NOTE = :NOTE WHERE ID = :OLD_ID"));
    ds->setDeleteSql(QStringLiteral("DELETE FROM COUNTS WHERE ID = :OLD_ID"));
    ds->setGenerator(QStringLiteral("ID"), QStringLiteral("GEN_COUNTS_ID"));
    ds->addField(QStringLiteral("ID"), db::FieldType::Integer);
    ds->addField(QStringLiteral("TAXON"), db::FieldType::Integer);
    db::Field* abundance = ds->addField(QStringLiteral("ABUNDANCE"), db::FieldType::Float);
    abundance->setDisplayLabel(QStringLiteral("Abundance"));
    abundance->setDisplayFormat(QStringLiteral("0.00"));
    ds->addField(QStringLiteral("BIOMASS"), db::FieldType::Numeric);
    ds->addField(QStringLiteral("QTY"), db::FieldType::Integer)->setDisplayLabel(QStringLiteral("Qty"));
    ds->addField(QStringLiteral("NOTE"), db::FieldType::String, 10);
    ds->addLookupField(QStringLiteral("TAXON_NAME"), db::FieldType::String, 40, QStringLiteral("TAXON"), taxa,
                       QStringLiteral("ID"), QStringLiteral("NAME"))
        ->setDisplayLabel(QStringLiteral("Taxon"));
    return ds;
}
