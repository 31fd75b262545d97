// The datasets of the two zooplankton reports: the stations in a number range, the visits and
// layers of a station in a season's months with their sums, the taxa of a visit; the taxon list
// of the report by taxa and the samples holding that taxon. All read-only; the report action
// sets ST_1, ST_2, MONTH1, MONTH2 and TAXON.

#include "FieldSetup.h"
#include "MainDataModule.h"

using db::FieldType;

namespace {

// A report dataset allows no insert, update or delete.
void makeReadOnly(db::DataSet* dts)
{
    dts->setAllowedUpdateKinds({});
}

} // namespace

void TMainDataModule::createReportData()
{
    // --- dtsReport10: the stations of the number range ---
    dtsReport10 = newDataSet(QStringLiteral("dtsReport10"), Access::ReadOnly);
    dtsReport10->setSelectSql(QStringLiteral(R"(SELECT DISTINCT
    STATION,
    ST_CHAR,
    STATION_NAME
FROM
    STATIONS_P
WHERE STATION BETWEEN :ST_1 AND :ST_2
ORDER BY
    1, 2)"));
    makeReadOnly(dtsReport10);
    declareField(dtsReport10, QStringLiteral("STATION"), FieldType::SmallInt);
    declareField(dtsReport10, QStringLiteral("ST_CHAR"), FieldType::String, 1).emptyIsNull();
    declareField(dtsReport10, QStringLiteral("STATION_NAME"), FieldType::String, 7).emptyIsNull();
    dsReport10 = newDataSource(QStringLiteral("dsReport10"), dtsReport10, false);

    // --- dtsReport11: the visits and top-level layers of the current station ---
    dtsReport11 = newDataSet(QStringLiteral("dtsReport11"), Access::ReadOnly);
    dtsReport11->setSelectSql(QStringLiteral(R"(SELECT 
   STATIONS_P.ID,
   STATIONS_P.STATION,
   STATIONS_P.ST_CHAR, 
   STATIONS_P.STATION_NAME, 
   STATIONS_P."DATE",
   /* EXTRACT(MONTH FROM STATIONS_P."DATE") AS "MONTH", */
   STATIONS_P.DEPTH, 
   /* SAMPLES_PL.DEPTH_0, 
   SAMPLES_PL.DEPTH_1,*/
   (CAST(SAMPLES_PL.DEPTH_1 AS VARCHAR(6)) || ' - ' || CAST(SAMPLES_PL.DEPTH_0 AS VARCHAR(6))) AS LAYER,
   SUM( PLANKTON.ABUNDANCE ) AS SUM_OF_ABUNDANCE,
   SUM( PLANKTON.BIOMASS ) AS SUM_OF_BIOMASS

FROM STATIONS_P
   INNER JOIN SAMPLES_PL ON (STATIONS_P.ID = SAMPLES_PL.STATION)
INNER JOIN PLANKTON ON (SAMPLES_PL.ID = PLANKTON.SAMPLE)

WHERE 
   (
      ((STATIONS_P.STATION = :MAS_STATION) AND (STATIONS_P.ST_CHAR = :MAS_ST_CHAR))
   AND
      (SAMPLES_PL.PARENT IS NULL )
   AND
      (EXTRACT(MONTH FROM STATIONS_P."DATE") BETWEEN :MONTH1 AND :MONTH2)
   )
GROUP BY STATIONS_P.STATION_NAME, STATIONS_P."DATE", STATIONS_P.DEPTH, STATIONS_P.ID, STATIONS_P.STATION, STATIONS_P.ST_CHAR, SAMPLES_PL.DEPTH_0, SAMPLES_PL.DEPTH_1
ORDER BY 
   2, 3, 4, 5)"));
    makeReadOnly(dtsReport11);
    dtsReport11->setMasterSource(dsReport10);
    declareField(dtsReport11, QStringLiteral("ID"), FieldType::Integer);
    declareField(dtsReport11, QStringLiteral("STATION"), FieldType::SmallInt);
    declareField(dtsReport11, QStringLiteral("ST_CHAR"), FieldType::String, 1).emptyIsNull();
    declareField(dtsReport11, QStringLiteral("STATION_NAME"), FieldType::String, 7).emptyIsNull();
    declareField(dtsReport11, QStringLiteral("DATE"), FieldType::Date);
    declareField(dtsReport11, QStringLiteral("DEPTH"), FieldType::Float);
    declareField(dtsReport11, QStringLiteral("LAYER"), FieldType::String, 15).emptyIsNull();
    declareField(dtsReport11, QStringLiteral("SUM_OF_ABUNDANCE"), FieldType::Float);
    declareField(dtsReport11, QStringLiteral("SUM_OF_BIOMASS"), FieldType::Float);
    dsReport11 = newDataSource(QStringLiteral("dsReport11"), dtsReport11, false);

    // --- dtsReport12: the top-level taxa counted in the top-level samples of the current visit ---
    dtsReport12 = newDataSet(QStringLiteral("dtsReport12"), Access::ReadOnly);
    dtsReport12->setSelectSql(QStringLiteral(R"(SELECT 
   SAMPLES_PL.STATION, 
   PLANKTON.ABUNDANCE, 
   PLANKTON.BIOMASS, 
   TAXONS_P.TAXON, 
   TAXONS_P.CATEGORY2
FROM TAXONS_P
   INNER JOIN PLANKTON ON (TAXONS_P.ID = PLANKTON.TAXON)
   INNER JOIN SAMPLES_PL ON (PLANKTON.SAMPLE = SAMPLES_PL.ID)
WHERE 
   (
      (SAMPLES_PL.STATION = :MAS_ID)
   and 
      (SAMPLES_PL.PARENT IS NULL )
   and 
      (TAXONS_P.PARENT IS NULL )
   )
ORDER BY TAXONS_P.CATEGORY2, TAXONS_P.TAXON)"));
    makeReadOnly(dtsReport12);
    dtsReport12->setMasterSource(dsReport11);
    declareField(dtsReport12, QStringLiteral("ABUNDANCE"), FieldType::Float).display(QStringLiteral("#0.00"));
    declareField(dtsReport12, QStringLiteral("BIOMASS"), FieldType::Float);
    declareField(dtsReport12, QStringLiteral("TAXON"), FieldType::String, 40).emptyIsNull();
    dsReport12 = newDataSource(QStringLiteral("dsReport12"), dtsReport12, false);

    // --- dtsReport20: the taxa that the report by taxa offers ---
    dtsReport20 = newDataSet(QStringLiteral("dtsReport20"), Access::ReadOnly);
    dtsReport20->setSelectSql(QStringLiteral(R"(SELECT
    ID,
    TAXON
FROM
    TAXONS_P 
WHERE
    PARENT IS NULL
and
    ID < 1000
ORDER BY ID)"));
    makeReadOnly(dtsReport20);
    declareField(dtsReport20, QStringLiteral("ID"), FieldType::Integer).hidden();
    declareField(dtsReport20, QStringLiteral("TAXON"), FieldType::String, 40)
        .label(QStringLiteral("Таксон"))
        .emptyIsNull();
    dsReport20 = newDataSource(QStringLiteral("dsReport20"), dtsReport20, false);

    // --- dtsReport21: the top-level samples of the current station holding the taxon ---
    dtsReport21 = newDataSet(QStringLiteral("dtsReport21"), Access::ReadOnly);
    dtsReport21->setSelectSql(QStringLiteral(R"(SELECT 
   PLANKTON.TAXON, 
   STATIONS_P.STATION, 
   STATIONS_P.ST_CHAR, 
   STATIONS_P.STATION_NAME, 
   STATIONS_P."DATE", 
   STATIONS_P.DEPTH, 
   SAMPLES_PL.DEPTH_0, 
   SAMPLES_PL.DEPTH_1, 
   PLANKTON.ABUNDANCE, 
   PLANKTON.BIOMASS
FROM STATIONS_P
   INNER JOIN SAMPLES_PL ON (STATIONS_P.ID = SAMPLES_PL.STATION)
   INNER JOIN PLANKTON ON (SAMPLES_PL.ID = PLANKTON.SAMPLE)
WHERE 
   (
      ((STATIONS_P.STATION = :STATION) and (STATIONS_P.ST_CHAR = :MAS_ST_CHAR))
   and
      (PLANKTON.TAXON = :TAXON)
   and 
      (SAMPLES_PL.PARENT IS NULL)
   and 
      (EXTRACT(MONTH FROM STATIONS_P."DATE") BETWEEN :MONTH1 and :MONTH2)
   )
ORDER BY 2, 3, 5 /* STATIONS_P.STATION, STATIONS_P.ST_CHAR, STATIONS_P."DATE" */)"));
    makeReadOnly(dtsReport21);
    dtsReport21->setMasterSource(dsReport10);
    declareField(dtsReport21, QStringLiteral("DATE"), FieldType::Date);
    declareField(dtsReport21, QStringLiteral("DEPTH"), FieldType::Float);
    declareField(dtsReport21, QStringLiteral("DEPTH_0"), FieldType::Float);
    declareField(dtsReport21, QStringLiteral("DEPTH_1"), FieldType::Float);
    declareField(dtsReport21, QStringLiteral("ABUNDANCE"), FieldType::Float);
    declareField(dtsReport21, QStringLiteral("BIOMASS"), FieldType::Float);
    dsReport21 = newDataSource(QStringLiteral("dsReport21"), dtsReport21, false);
}
