#pragma once
// A small table of items for the control tests: ITEMS with a text, an integer, a float, a
// date, a one-character code and a text blob, three rows, keys from GEN_ITEMS_ID.

#include "ui_DataFixture.h"

inline QString itemsScript()
{
    return QStringLiteral(
        "CREATE TABLE ITEMS (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(20), QTY INTEGER,"
        " PRICE DOUBLE PRECISION, DAY_ DATE, CODE VARCHAR(1), NOTE BLOB SUB_TYPE TEXT);"
        "CREATE GENERATOR GEN_ITEMS_ID;"
        "SET GENERATOR GEN_ITEMS_ID TO 10;"
        "INSERT INTO ITEMS VALUES (1, 'one', 1, 1.5, '2024-07-01', 'a', 'first note');"
        "INSERT INTO ITEMS VALUES (2, 'two', 2, 2.25, '2024-07-02', 'b', NULL);"
        "INSERT INTO ITEMS VALUES (3, 'three', 3, 3.5, NULL, NULL, NULL);");
}

// The items dataset with all its statements; opened by the caller.
inline db::DataSet* itemsDataSet(DataFixture& fixture)
{
    db::DataSet* ds = fixture.dataSet(QStringLiteral("dtsItems"));
    const QString columns = QStringLiteral("ID, NAME, QTY, PRICE, DAY_, CODE, NOTE");
    ds->setSelectSql(QStringLiteral("SELECT %1 FROM ITEMS ORDER BY ID").arg(columns));
    ds->setRefreshSql(QStringLiteral("SELECT %1 FROM ITEMS WHERE ID = :OLD_ID").arg(columns));
    ds->setInsertSql(
        QStringLiteral("INSERT INTO ITEMS (%1) VALUES (:ID, :NAME, :QTY, :PRICE, :DAY_, :CODE, :NOTE)")
            .arg(columns));
    ds->setUpdateSql(QStringLiteral("UPDATE ITEMS SET NAME = :NAME, QTY = :QTY, PRICE = :PRICE, DAY_ = :DAY_,"
                                    " CODE = :CODE, NOTE = :NOTE WHERE ID = :OLD_ID"));
    ds->setDeleteSql(QStringLiteral("DELETE FROM ITEMS WHERE ID = :OLD_ID"));
    ds->setGenerator(QStringLiteral("ID"), QStringLiteral("GEN_ITEMS_ID"));
    return ds;
}
