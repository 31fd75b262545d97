// The zooplankton chain: seasons -> station visits -> samples -> taxon counts -> sub-taxon
// counts, the two taxon lists, and the rules of visits and samples.

#include "FieldSetup.h"
#include "MainDataModule.h"

#include <db/NumberFormat.h>

using db::DetailCondition;
using db::FieldType;
using db::Option;
using db::PrepareOption;

namespace {

// Where a sample's layer text is cut, as long as its field holds.
constexpr int HorizonSize = 15;

QString depthText(const db::Field* depth)
{
    return depth->isNull() ? QStringLiteral("?") : db::formatGeneral(depth->asFloat(), 15);
}

} // namespace

void TMainDataModule::createZooplanktonChain()
{
    // --- dtsSeasons ---
    dtsSeasons = newDataSet(QStringLiteral("dtsSeasons"), Access::Updates);
    dtsSeasons->setSelectSql(QStringLiteral(R"(SELECT
    SEASON_ID,
    "YEAR",
    FROM_DATE,
    TILL_DATE,
    SEASON
FROM
    SEASONS)"));
    dtsSeasons->setInsertSql(QStringLiteral(R"(INSERT INTO SEASONS(
    SEASON_ID,
    "YEAR",
    FROM_DATE,
    TILL_DATE,
    SEASON
)
VALUES(
    :SEASON_ID,
    :"YEAR",
    :FROM_DATE,
    :TILL_DATE,
    :SEASON
))"));
    dtsSeasons->setUpdateSql(QStringLiteral(R"(UPDATE SEASONS
SET
    "YEAR" = :"YEAR",
    FROM_DATE = :FROM_DATE,
    TILL_DATE = :TILL_DATE
WHERE
    SEASON_ID = :OLD_SEASON_ID
    and SEASON = :OLD_SEASON)"));
    dtsSeasons->setDeleteSql(QStringLiteral(R"(DELETE FROM
    SEASONS
WHERE
        SEASON_ID = :OLD_SEASON_ID
    and SEASON = :OLD_SEASON)"));
    dtsSeasons->setRefreshSql(QStringLiteral(R"(SELECT
    SEASON_ID,
    "YEAR",
    FROM_DATE,
    TILL_DATE,
    SEASON
FROM
    SEASONS
 WHERE
        SEASONS.SEASON_ID = :OLD_SEASON_ID
    and SEASONS.SEASON = :OLD_SEASON)"));
    dtsSeasons->setAutoCommit(true);
    dtsSeasons->setGenerator(QStringLiteral("SEASON_ID"), QStringLiteral("GEN_SEASONS_ID"));
    dtsSeasons->setOptions(Option::FetchAll);
    dtsSeasons->setPrepareOptions(PrepareOption::SqlInt64ToBcd);
    declareField(dtsSeasons, QStringLiteral("SEASON_ID"), FieldType::Integer).hidden();
    declareField(dtsSeasons, QStringLiteral("YEAR"), FieldType::SmallInt)
        .label(QStringLiteral("Year"))
        .width(4);
    declareField(dtsSeasons, QStringLiteral("FROM_DATE"), FieldType::Date)
        .label(QStringLiteral("From"))
        .display(QStringLiteral("dd.mm.yyyy"));
    declareField(dtsSeasons, QStringLiteral("TILL_DATE"), FieldType::Date)
        .label(QStringLiteral("Till"))
        .display(QStringLiteral("dd.mm.yyyy"));
    declareField(dtsSeasons, QStringLiteral("SEASON"), FieldType::SmallInt).hidden();
    dsSeasons = newDataSource(QStringLiteral("dsSeasons"), dtsSeasons);

    // --- dtsStations: the visits dated within the current season ---
    dtsStations = newDataSet(QStringLiteral("dtsStations"), Access::Updates);
    dtsStations->setSelectSql(QStringLiteral(R"(SELECT
    ID,
    STATION,
    ST_CHAR,
    STATION_NAME,
    "DATE",
    DEPTH
FROM
    STATIONS_P
WHERE
    "DATE" BETWEEN :FROM_DATE AND :TILL_DATE
ORDER BY 2, 3 NULLS FIRST, 5)"));
    // "DATE" is the field as typed: the visit keeps the date entered for it. The field starts
    // as the season's first day (DATE=FROM_DATE below).
    dtsStations->setInsertSql(QStringLiteral(R"(INSERT INTO STATIONS_P(
    ID,
    STATION,
    ST_CHAR,
    "DATE",
    DEPTH
)
VALUES(
    :ID,
    :STATION,
    :ST_CHAR,
    :"DATE",
    :DEPTH
))"));
    dtsStations->setUpdateSql(QStringLiteral(R"(UPDATE STATIONS_P
SET
    STATION = :STATION,
    ST_CHAR = :ST_CHAR,
    "DATE" = :"DATE",
    DEPTH = :DEPTH
WHERE
    ID = :OLD_ID)"));
    dtsStations->setDeleteSql(QStringLiteral(R"(DELETE FROM
    STATIONS_P
WHERE
        ID = :OLD_ID)"));
    dtsStations->setRefreshSql(QStringLiteral(R"(SELECT
    ID,
    STATION,
    ST_CHAR,
    STATION_NAME,
    "DATE",
    DEPTH
FROM
    STATIONS_P
WHERE(
    "DATE" BETWEEN :FROM_DATE AND :TILL_DATE )
    and (     STATIONS_P.ID = :OLD_ID
     ))"));
    dtsStations->setAutoCommit(true);
    dtsStations->setGenerator(QStringLiteral("ID"), QStringLiteral("GEN_STATIONS_P_ID"));
    dtsStations->setParamsToFieldsLinks({QStringLiteral("DATE=FROM_DATE")});
    dtsStations->setDetailConditions(DetailCondition::ForceOpen | DetailCondition::WaitEndMasterScroll);
    dtsStations->setOptions(Option::ProtectedEdit | Option::RefreshDeletedRecord);
    dtsStations->setPrepareOptions(PrepareOption::SetReadOnlyFields | PrepareOption::SqlInt64ToBcd);
    dtsStations->setMasterSource(dsSeasons);
    declareField(dtsStations, QStringLiteral("ID"), FieldType::Integer).hidden();
    declareField(dtsStations, QStringLiteral("STATION"), FieldType::SmallInt).hidden();
    // An empty letter is written as an empty text.
    declareField(dtsStations, QStringLiteral("ST_CHAR"), FieldType::String, 1).hidden();
    declareField(dtsStations, QStringLiteral("STATION_NAME"), FieldType::String, 7)
        .label(QStringLiteral("Station"))
        .emptyIsNull();
    declareField(dtsStations, QStringLiteral("DATE"), FieldType::Date)
        .label(QStringLiteral("Date"))
        .display(QStringLiteral("dd.mm.yyyy"));
    declareField(dtsStations, QStringLiteral("DEPTH"), FieldType::Float)
        .label(QStringLiteral("Depth"))
        .display(QStringLiteral("#,##0.0 m"))
        .edit(QStringLiteral("0.0"));
    dsStations = newDataSource(QStringLiteral("dsStations"), dtsStations);
    connect(dtsStations, &db::DataSet::afterScroll, this, &TMainDataModule::dtsStationsAfterScroll);
    connect(dtsStations, &db::DataSet::beforeDelete, this, &TMainDataModule::dtsStationsBeforeDelete,
            Qt::DirectConnection);

    // --- dtsSamples1: the samples of the current visit ---
    dtsSamples1 = newDataSet(QStringLiteral("dtsSamples1"), Access::Updates);
    dtsSamples1->setSelectSql(QStringLiteral(R"(SELECT
    ID,
    STATION,
    PARENT,
    DEPTH_0,
    DEPTH_1,
    SALINITY,
    TEMPERATURE,
    PH,
    COMMENTS
FROM
    SAMPLES_PL
WHERE
    STATION = :ID
ORDER BY PARENT NULLS FIRST, DEPTH_0, ID)"));
    dtsSamples1->setInsertSql(QStringLiteral(R"(INSERT INTO SAMPLES_PL(
    ID,
    STATION,
    PARENT,
    DEPTH_0,
    DEPTH_1,
    SALINITY,
    TEMPERATURE,
    PH,
    COMMENTS
)
VALUES(
    :ID,
    :MAS_ID,
    :PARENT,
    :DEPTH_0,
    :DEPTH_1,
    :SALINITY,
    :TEMPERATURE,
    :PH,
    :COMMENTS
))"));
    dtsSamples1->setUpdateSql(QStringLiteral(R"(UPDATE SAMPLES_PL
SET
    STATION = :MAS_ID,
    PARENT = :PARENT,
    DEPTH_0 = :DEPTH_0,
    DEPTH_1 = :DEPTH_1,
    SALINITY = :SALINITY,
    TEMPERATURE = :TEMPERATURE,
    PH = :PH,
    COMMENTS = :COMMENTS
WHERE
    ID = :OLD_ID)"));
    dtsSamples1->setDeleteSql(QStringLiteral(R"(DELETE FROM
    SAMPLES_PL
WHERE
        ID = :OLD_ID)"));
    dtsSamples1->setRefreshSql(QStringLiteral(R"(SELECT
    ID,
    STATION,
    PARENT,
    DEPTH_0,
    DEPTH_1,
    SALINITY,
    TEMPERATURE,
    PH,
    COMMENTS
FROM
    SAMPLES_PL
WHERE(
    STATION = :ID )
    and (     SAMPLES_PL.ID = :OLD_ID
     ))"));
    dtsSamples1->setAutoCommit(true);
    dtsSamples1->setGenerator(QStringLiteral("ID"), QStringLiteral("GEN_SAMPLES_PL_ID"));
    dtsSamples1->setParamsToFieldsLinks({QStringLiteral("STATION=ID")});
    dtsSamples1->setDetailConditions(DetailCondition::ForceOpen | DetailCondition::WaitEndMasterScroll);
    dtsSamples1->setOptions(Option::FetchAll | Option::NoForceIsNull);
    dtsSamples1->setPrepareOptions(PrepareOption::SqlInt64ToBcd);
    dtsSamples1->setMasterSource(dsStations);
    declareField(dtsSamples1, QStringLiteral("ID"), FieldType::Integer);
    declareField(dtsSamples1, QStringLiteral("STATION"), FieldType::Integer);
    declareField(dtsSamples1, QStringLiteral("PARENT"), FieldType::SmallInt);
    declareField(dtsSamples1, QStringLiteral("DEPTH_0"), FieldType::Float)
        .display(QStringLiteral("#,##0.0 м"))
        .edit(QStringLiteral("0.0"));
    declareField(dtsSamples1, QStringLiteral("DEPTH_1"), FieldType::Float)
        .display(QStringLiteral("#,##0.0 м"))
        .edit(QStringLiteral("0.0"));
    declareField(dtsSamples1, QStringLiteral("SALINITY"), FieldType::Float)
        .display(QStringLiteral("#,##0.00"))
        .edit(QStringLiteral("0.00"));
    declareField(dtsSamples1, QStringLiteral("TEMPERATURE"), FieldType::Float)
        .display(QStringLiteral("#,##0.0"))
        .edit(QStringLiteral("0.0"));
    declareField(dtsSamples1, QStringLiteral("PH"), FieldType::Float)
        .display(QStringLiteral("#,##0.0"))
        .edit(QStringLiteral("0.0"));
    declareField(dtsSamples1, QStringLiteral("COMMENTS"), FieldType::Memo);
    declareCalculated(dtsSamples1, QStringLiteral("HORIZON"), FieldType::String, HorizonSize);
    dsSamples1 = newDataSource(QStringLiteral("dsSamples1"), dtsSamples1);
    connect(dtsSamples1, &db::DataSet::beforeInsert, this, &TMainDataModule::dtsSamples1BeforeInsert,
            Qt::DirectConnection);
    connect(dtsSamples1, &db::DataSet::afterInsert, this, &TMainDataModule::dtsSamples1AfterInsert);
    connect(dtsSamples1, &db::DataSet::calcFields, this, &TMainDataModule::dtsSamples1CalcFields);
    connect(dtsSamples1, &db::DataSet::afterScroll, this, &TMainDataModule::dtsSamples1AfterScroll);
    connect(dtsSamples1, &db::DataSet::afterRefresh, this, &TMainDataModule::dtsSamples1AfterScroll);

    // --- dtsTaxonsP1: the top-level taxa, names and choices of a count's taxon ---
    dtsTaxonsP1 = newDataSet(QStringLiteral("dtsTaxonsP1"), Access::ReadOnly);
    dtsTaxonsP1->setSelectSql(QStringLiteral(R"(SELECT
    ID,
    CATEGORY1,
    CATEGORY2,
    TAXON
FROM
    TAXONS_P
WHERE
    PARENT IS NULL)"));
    dtsTaxonsP1->setOptions(Option::FetchAll);
    dtsTaxonsP1->setPrepareOptions(PrepareOption::SetRequiredFields | PrepareOption::SqlInt64ToBcd);
    declareField(dtsTaxonsP1, QStringLiteral("ID"), FieldType::Integer);
    declareField(dtsTaxonsP1, QStringLiteral("CATEGORY1"), FieldType::SmallInt);
    declareField(dtsTaxonsP1, QStringLiteral("CATEGORY2"), FieldType::SmallInt);
    declareField(dtsTaxonsP1, QStringLiteral("TAXON"), FieldType::String, 40).label(QStringLiteral("Taxon"));

    // --- dtsPlankton: the taxon counts of the current sample ---
    dtsPlankton = newDataSet(QStringLiteral("dtsPlankton"), Access::Updates);
    dtsPlankton->setSelectSql(QStringLiteral(R"(SELECT
    ID,
    SAMPLE,
    TAXON,
    ABUNDANCE,
    BIOMASS
FROM
    PLANKTON
WHERE
    SAMPLE = :ID
ORDER BY 3)"));
    dtsPlankton->setInsertSql(QStringLiteral(R"(INSERT INTO PLANKTON(
    ID,
    SAMPLE,
    TAXON,
    ABUNDANCE,
    BIOMASS
)
VALUES(
    :ID,
    :MAS_ID,
    :TAXON,
    :ABUNDANCE,
    :BIOMASS
))"));
    dtsPlankton->setUpdateSql(QStringLiteral(R"(UPDATE PLANKTON
SET
    SAMPLE = :MAS_ID,
    TAXON = :TAXON,
    ABUNDANCE = :ABUNDANCE,
    BIOMASS = :BIOMASS
WHERE
    ID = :OLD_ID)"));
    dtsPlankton->setDeleteSql(QStringLiteral(R"(DELETE FROM
    PLANKTON
WHERE
        ID = :OLD_ID)"));
    dtsPlankton->setRefreshSql(QStringLiteral(R"(SELECT
    ID,
    SAMPLE,
    TAXON,
    ABUNDANCE,
    BIOMASS
FROM
    PLANKTON
WHERE(
    SAMPLE = :ID )
    and (     PLANKTON.ID = :OLD_ID
     ))"));
    dtsPlankton->setAutoCommit(true);
    dtsPlankton->setGenerator(QStringLiteral("ID"), QStringLiteral("GEN_PLANKTON_ID"));
    dtsPlankton->setParamsToFieldsLinks({QStringLiteral("SAMPLE=ID")});
    dtsPlankton->setDetailConditions(DetailCondition::ForceOpen | DetailCondition::WaitEndMasterScroll |
                                     DetailCondition::ForceMasterRefresh);
    dtsPlankton->setOptions(Option::RefreshDeletedRecord);
    dtsPlankton->setPrepareOptions(PrepareOption::SetRequiredFields | PrepareOption::SqlInt64ToBcd);
    dtsPlankton->setMasterSource(dsSamples1);
    declareField(dtsPlankton, QStringLiteral("ID"), FieldType::Integer);
    declareField(dtsPlankton, QStringLiteral("SAMPLE"), FieldType::SmallInt);
    declareField(dtsPlankton, QStringLiteral("TAXON"), FieldType::SmallInt).label(QStringLiteral("Taxon"));
    declareField(dtsPlankton, QStringLiteral("ABUNDANCE"), FieldType::Float)
        .label(QStringLiteral("Abundance"))
        .display(QStringLiteral("0.###"))
        .initial(QStringLiteral("0"));
    declareField(dtsPlankton, QStringLiteral("BIOMASS"), FieldType::Float)
        .label(QStringLiteral("Biomass"))
        .display(QStringLiteral("0.###"))
        .initial(QStringLiteral("0"));
    declareLookup(dtsPlankton, QStringLiteral("TAXON_NAME"), 40, QStringLiteral("TAXON"), dtsTaxonsP1,
                  QStringLiteral("ID"), QStringLiteral("TAXON"))
        .label(QStringLiteral("Taxon"));
    dsPlankton = newDataSource(QStringLiteral("dsPlankton"), dtsPlankton);

    // --- dtsTaxonsP2: the sub-taxa of the current count's taxon ---
    dtsTaxonsP2 = newDataSet(QStringLiteral("dtsTaxonsP2"), Access::ReadOnly);
    dtsTaxonsP2->setSelectSql(QStringLiteral(R"(SELECT
    ID,
    PARENT,
    TAXON
FROM
    TAXONS_P
WHERE
    PARENT = :TAXON)"));
    dtsTaxonsP2->setDetailConditions(DetailCondition::ForceOpen);
    dtsTaxonsP2->setOptions(Option::FetchAll);
    dtsTaxonsP2->setPrepareOptions(PrepareOption::SetRequiredFields | PrepareOption::SqlInt64ToBcd);
    dtsTaxonsP2->setMasterSource(dsPlankton);
    declareField(dtsTaxonsP2, QStringLiteral("ID"), FieldType::SmallInt);
    declareField(dtsTaxonsP2, QStringLiteral("PARENT"), FieldType::Integer);
    declareField(dtsTaxonsP2, QStringLiteral("TAXON"), FieldType::String, 40)
        .label(QStringLiteral("Taxon"))
        .objectName(QStringLiteral("dtsTaxonsP2SPECIES"));

    // --- dtsDetails: the sub-taxon counts stored under the current count's present taxon ---
    dtsDetails = newDataSet(QStringLiteral("dtsDetails"), Access::Updates);
    dtsDetails->setSelectSql(QStringLiteral(R"(SELECT
    ID,
    PARENT,
    PARENT_TAXON,
    TAXON,
    ABUNDANCE,
    BIOMASS
FROM
    DETAILS_PL
WHERE
    PARENT = :ID
AND
    PARENT_TAXON = :TAXON
ORDER BY 4)"));
    dtsDetails->setInsertSql(QStringLiteral(R"(INSERT INTO DETAILS_PL(
    ID,
    PARENT,
    PARENT_TAXON,
    TAXON,
    ABUNDANCE,
    BIOMASS
)
VALUES(
    :ID,
    :MAS_ID,
    :MAS_TAXON,
    :TAXON,
    :ABUNDANCE,
    :BIOMASS
))"));
    dtsDetails->setUpdateSql(QStringLiteral(R"(UPDATE DETAILS_PL
SET
    PARENT = :MAS_ID,
    PARENT_TAXON = :PARENT_TAXON,
    TAXON = :TAXON,
    ABUNDANCE = :ABUNDANCE,
    BIOMASS = :BIOMASS
WHERE
    ID = :OLD_ID)"));
    dtsDetails->setDeleteSql(QStringLiteral(R"(DELETE FROM
    DETAILS_PL
WHERE
        ID = :OLD_ID)"));
    dtsDetails->setRefreshSql(QStringLiteral(R"(SELECT
    ID,
    PARENT,
    PARENT_TAXON,
    TAXON,
    ABUNDANCE,
    BIOMASS
FROM
    DETAILS_PL
WHERE(
    PARENT = :ID )
    and (     DETAILS_PL.ID = :OLD_ID
     ))"));
    dtsDetails->setAutoCommit(true);
    dtsDetails->setGenerator(QStringLiteral("ID"), QStringLiteral("GEN_DETAILS_PL_ID"));
    dtsDetails->setParamsToFieldsLinks({QStringLiteral("PARENT=ID"), QStringLiteral("PARENT_TAXON=TAXON")});
    dtsDetails->setDetailConditions(DetailCondition::ForceOpen | DetailCondition::WaitEndMasterScroll |
                                    DetailCondition::ForceMasterRefresh);
    dtsDetails->setPrepareOptions(PrepareOption::SetRequiredFields | PrepareOption::SqlInt64ToBcd);
    dtsDetails->setMasterSource(dsPlankton);
    declareField(dtsDetails, QStringLiteral("ID"), FieldType::Integer);
    declareField(dtsDetails, QStringLiteral("PARENT"), FieldType::Integer);
    declareField(dtsDetails, QStringLiteral("PARENT_TAXON"), FieldType::SmallInt);
    declareField(dtsDetails, QStringLiteral("TAXON"), FieldType::SmallInt).label(QStringLiteral("Taxon"));
    declareField(dtsDetails, QStringLiteral("ABUNDANCE"), FieldType::Float)
        .label(QStringLiteral("Abundance"))
        .display(QStringLiteral("0.###"));
    declareField(dtsDetails, QStringLiteral("BIOMASS"), FieldType::Float)
        .label(QStringLiteral("Biomass"))
        .display(QStringLiteral("0.###"));
    declareLookup(dtsDetails, QStringLiteral("TAXON_NAME"), 40, QStringLiteral("TAXON"), dtsTaxonsP2,
                  QStringLiteral("ID"), QStringLiteral("TAXON"))
        .label(QStringLiteral("Taxon"));
    dsDetails = newDataSource(QStringLiteral("dsDetails"), dtsDetails);
}

void TMainDataModule::dtsStationsAfterScroll()
{
    StationChanged = true;
}

void TMainDataModule::dtsStationsBeforeDelete(db::Veto& veto)
{
    // A visit with samples stays; the rows dtsSamples1 holds now decide.
    if (dtsSamples1->recordCount() > 0)
        veto.abandon();
}

void TMainDataModule::dtsSamples1BeforeInsert(db::Veto& veto)
{
    // The samples of a visit form a tree of two levels: the first sample is the top level,
    // every further one a sub-layer of the top-level sample current at the time.
    if (dtsSamples1->isEmpty()) {
        NewSampleParent = QVariant();
        return;
    }
    if (!dtsSamples1->field(QStringLiteral("PARENT"))->isNull()) {
        veto.abandon();
        return;
    }
    NewSampleParent = dtsSamples1->field(QStringLiteral("ID"))->value();
}

void TMainDataModule::dtsSamples1AfterInsert()
{
    dtsSamples1->field(QStringLiteral("PARENT"))->setValue(NewSampleParent);
}

void TMainDataModule::dtsSamples1CalcFields()
{
    const QString horizon = QStringLiteral("%1 - %2 m")
                                .arg(depthText(dtsSamples1->field(QStringLiteral("DEPTH_0"))),
                                     depthText(dtsSamples1->field(QStringLiteral("DEPTH_1"))));
    dtsSamples1->field(QStringLiteral("HORIZON"))->setValue(horizon.left(HorizonSize));
}

void TMainDataModule::dtsSamples1AfterScroll()
{
    // A change of visit rebuilds the tree once, when the whole chain is there to show it; until
    // then the flag waits for the next move or refresh of the samples.
    if (!m_sampleTree || !dtsDetails->isActive() || !StationChanged)
        return;
    StationChanged = false;
    m_sampleTree->beginUpdate();
    try {
        m_sampleTree->rebuild();
    } catch (...) {
        m_sampleTree->endUpdate();
        throw;
    }
    m_sampleTree->endUpdate();
}
