// The map's station coordinates of the current season or year, and the chart's category sums
// of the current sample. All read-only.

#include "FieldSetup.h"
#include "MainDataModule.h"

#include <db/NumberFormat.h>

using db::DetailCondition;
using db::FieldType;
using db::Option;

namespace {

// Where a station's depth text is cut, as long as its field holds.
constexpr int Depth2Size = 8;

// The coordinates statement of one page: every station, joined to its visits (STATIONS_P) or
// benthos samples (SAMPLES_BE) in the date window of the master.
QString coordinatesSql(const QString& visits)
{
    return QStringLiteral(R"(SELECT
    C.STATION,
    C.ST_CHAR,
    C.STATION_NAME,
    C.LAT_DEG,
    C.LAT_MIN,
    C.LON_DEG,
    C.LON_MIN,
    C.LATITUDE,
    C.LONGITUDE,
  S.ID,
  S."DATE",
  S.DEPTH
FROM 
  COORDINATES C
    LEFT OUTER JOIN
      %1 S ON
        (S."DATE" BETWEEN :FROM_DATE AND :TILL_DATE)
        AND (C.STATION = S.STATION) 
        AND (C.ST_CHAR = S.ST_CHAR)
ORDER BY 1, 2, 11)")
        .arg(visits);
}

void declareCoordinatesFields(db::DataSet* dts)
{
    declareField(dts, QStringLiteral("STATION"), FieldType::Integer);
    declareField(dts, QStringLiteral("ST_CHAR"), FieldType::String, 1).emptyIsNull();
    declareField(dts, QStringLiteral("STATION_NAME"), FieldType::String, 12).emptyIsNull();
    declareField(dts, QStringLiteral("LAT_DEG"), FieldType::SmallInt);
    declareField(dts, QStringLiteral("LAT_MIN"), FieldType::SmallInt);
    declareField(dts, QStringLiteral("LON_DEG"), FieldType::SmallInt);
    declareField(dts, QStringLiteral("LON_MIN"), FieldType::SmallInt);
    declareField(dts, QStringLiteral("LATITUDE"), FieldType::String, 16);
    declareField(dts, QStringLiteral("LONGITUDE"), FieldType::String, 16);
    declareField(dts, QStringLiteral("ID"), FieldType::Integer);
    declareField(dts, QStringLiteral("DATE"), FieldType::Date);
    declareField(dts, QStringLiteral("DEPTH"), FieldType::Float).display(QStringLiteral("#,##0.0 м"));
    declareCalculated(dts, QStringLiteral("DEPTH2"), FieldType::String, Depth2Size).emptyIsNull();
}

// DEPTH2: the depth in the general format and " m", "? m" without a depth.
void calculateDepth2(db::DataSet* dts)
{
    const db::Field* depth = dts->field(QStringLiteral("DEPTH"));
    const QString number = depth->isNull() ? QString() : db::formatGeneral(depth->asFloat(), 15);
    const QString text = (number.isEmpty() ? QStringLiteral("?") : number) + TMainDataModule::tr(" m");
    dts->field(QStringLiteral("DEPTH2"))->setValue(text.left(Depth2Size));
}

} // namespace

void TMainDataModule::createMapAndChartData()
{
    // --- dtsCoordinates1: open only while a map of the zooplankton page uses it ---
    dtsCoordinates1 = newDataSet(QStringLiteral("dtsCoordinates1"), Access::ReadOnly);
    dtsCoordinates1->setSelectSql(coordinatesSql(QStringLiteral("STATIONS_P")));
    dtsCoordinates1->setOptions(Option::FetchAll);
    dtsCoordinates1->setMasterSource(dsSeasons);
    declareCoordinatesFields(dtsCoordinates1);
    connect(dtsCoordinates1, &db::DataSet::calcFields, this, &TMainDataModule::dtsCoordinates1CalcFields);

    // --- dtsCoordinates2: follows the current year ---
    dtsCoordinates2 = newDataSet(QStringLiteral("dtsCoordinates2"), Access::Updates);
    dtsCoordinates2->setSelectSql(coordinatesSql(QStringLiteral("SAMPLES_BE")));
    dtsCoordinates2->setOptions(Option::FetchAll);
    dtsCoordinates2->setDetailConditions(DetailCondition::ForceOpen);
    dtsCoordinates2->setMasterSource(dsYears);
    declareCoordinatesFields(dtsCoordinates2);
    connect(dtsCoordinates2, &db::DataSet::calcFields, this, &TMainDataModule::dtsCoordinates2CalcFields);

    // --- dtsChart1: open only while a chart of the zooplankton page is shown ---
    dtsChart1 = newDataSet(QStringLiteral("dtsChart1"), Access::Updates);
    dtsChart1->setSelectSql(QStringLiteral("SELECT *\nFROM CHART_PL_PROCEDURE(:ID)"));
    dtsChart1->setOptions(Option::FetchAll);
    dtsChart1->setAllowedUpdateKinds({});
    dtsChart1->setMasterSource(dsSamples1);
    declareField(dtsChart1, QStringLiteral("CATEGORY"), FieldType::String, 50)
        .label(QStringLiteral("Category"));
    declareField(dtsChart1, QStringLiteral("SUM_A"), FieldType::Float)
        .label(QStringLiteral("Abundance"))
        .display(QStringLiteral("0.0###"));
    declareField(dtsChart1, QStringLiteral("SUM_B"), FieldType::Float)
        .label(QStringLiteral("Biomass"))
        .display(QStringLiteral("0.0###"));

    // --- dtsChart2: follows the current benthos sample; fields from the procedure's columns ---
    dtsChart2 = newDataSet(QStringLiteral("dtsChart2"), Access::Updates);
    dtsChart2->setSelectSql(QStringLiteral("SELECT *\nFROM CHART_BE_PROCEDURE(:ID)"));
    dtsChart2->setOptions(Option::FetchAll);
    dtsChart2->setDetailConditions(DetailCondition::ForceOpen);
    dtsChart2->setMasterSource(dsSamples2);
}

void TMainDataModule::dtsCoordinates1CalcFields()
{
    calculateDepth2(dtsCoordinates1);
}

void TMainDataModule::dtsCoordinates2CalcFields()
{
    calculateDepth2(dtsCoordinates2);
}
