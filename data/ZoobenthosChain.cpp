// The zoobenthos chain: years -> benthos samples -> taxon counts, with the benthos taxa and the
// sediment and sampler lists. No rules of its own beyond the shared dataset rules.

#include "FieldSetup.h"
#include "MainDataModule.h"

using db::DetailCondition;
using db::FieldType;
using db::Option;
using db::PrepareOption;

void TMainDataModule::createZoobenthosChain()
{
    constexpr auto readOptions = PrepareOption::SetRequiredFields | PrepareOption::SqlInt64ToBcd;

    // --- dtsYears ---
    dtsYears = newDataSet(QStringLiteral("dtsYears"), Access::Updates);
    dtsYears->setSelectSql(QStringLiteral(R"(SELECT
    ID,
    "YEAR",
    FROM_DATE,
    TILL_DATE
FROM
    YEARS
ORDER BY
    FROM_DATE,
    TILL_DATE)"));
    dtsYears->setInsertSql(QStringLiteral(R"(INSERT INTO YEARS(
    ID,
    "YEAR",
    FROM_DATE,
    TILL_DATE
)
VALUES(
    :ID,
    :"YEAR",
    :FROM_DATE,
    :TILL_DATE
))"));
    dtsYears->setUpdateSql(QStringLiteral(R"(UPDATE YEARS
SET
    "YEAR" = :"YEAR",
    FROM_DATE = :FROM_DATE,
    TILL_DATE = :TILL_DATE
WHERE
    ID = :OLD_ID)"));
    dtsYears->setDeleteSql(QStringLiteral(R"(DELETE FROM
    YEARS
WHERE
        ID = :OLD_ID)"));
    dtsYears->setRefreshSql(QStringLiteral(R"(SELECT
    ID,
    "YEAR",
    FROM_DATE,
    TILL_DATE
FROM
    YEARS
 WHERE
        YEARS.ID = :OLD_ID)"));
    dtsYears->setAutoCommit(true);
    dtsYears->setGenerator(QStringLiteral("ID"), QStringLiteral("GEN_YEARS_ID"));
    dtsYears->setOptions(Option::FetchAll);
    dtsYears->setPrepareOptions(readOptions);
    declareField(dtsYears, QStringLiteral("ID"), FieldType::Integer).required();
    declareField(dtsYears, QStringLiteral("YEAR"), FieldType::SmallInt)
        .label(QStringLiteral("Year"))
        .required();
    declareField(dtsYears, QStringLiteral("FROM_DATE"), FieldType::Date)
        .label(QStringLiteral("From"))
        .display(QStringLiteral("dd.mm.yyyy"))
        .required();
    declareField(dtsYears, QStringLiteral("TILL_DATE"), FieldType::Date)
        .label(QStringLiteral("Till"))
        .display(QStringLiteral("dd.mm.yyyy"))
        .required();
    dsYears = newDataSource(QStringLiteral("dsYears"), dtsYears);

    // --- dtsSamples2: the benthos samples dated within the current year ---
    dtsSamples2 = newDataSet(QStringLiteral("dtsSamples2"), Access::Updates);
    dtsSamples2->setSelectSql(QStringLiteral(R"(SELECT
    ID,
    STATION,
    ST_CHAR,
    STATION_NAME,
    "DATE",
    DEPTH,
    SALINITY,
    SEDIMENTS,
    TEMPERATURE,
    FLOW_SPEED,
    SECCI,
    SAMPLER,
    SQUARE,
    SAMPLES_NUMBER,
    COMMENTS
FROM
    SAMPLES_BE
WHERE
    "DATE" BETWEEN :FROM_DATE AND :TILL_DATE
ORDER BY 2, 3 NULLS FIRST, 4)"));
    dtsSamples2->setInsertSql(QStringLiteral(R"(INSERT INTO SAMPLES_BE(
    ID,
    STATION,
    ST_CHAR,
    "DATE",
    DEPTH,
    SALINITY,
    SEDIMENTS,
    TEMPERATURE,
    FLOW_SPEED,
    SECCI,
    SAMPLER,
    SQUARE,
    SAMPLES_NUMBER,
    COMMENTS
)
VALUES(
    :ID,
    :STATION,
    :ST_CHAR,
    :"DATE",
    :DEPTH,
    :SALINITY,
    :SEDIMENTS,
    :TEMPERATURE,
    :FLOW_SPEED,
    :SECCI,
    :SAMPLER,
    :SQUARE,
    :SAMPLES_NUMBER,
    :COMMENTS
))"));
    dtsSamples2->setUpdateSql(QStringLiteral(R"(UPDATE SAMPLES_BE
SET
    STATION = :STATION,
    ST_CHAR = :ST_CHAR,
    "DATE" = :"DATE",
    DEPTH = :DEPTH,
    SALINITY = :SALINITY,
    SEDIMENTS = :SEDIMENTS,
    TEMPERATURE = :TEMPERATURE,
    FLOW_SPEED = :FLOW_SPEED,
    SECCI = :SECCI,
    SAMPLER = :SAMPLER,
    SQUARE = :SQUARE,
    SAMPLES_NUMBER = :SAMPLES_NUMBER,
    COMMENTS = :COMMENTS
WHERE
    ID = :OLD_ID)"));
    dtsSamples2->setDeleteSql(QStringLiteral(R"(DELETE FROM
    SAMPLES_BE
WHERE
        ID = :OLD_ID)"));
    dtsSamples2->setRefreshSql(QStringLiteral(R"(SELECT
    ID,
    STATION,
    ST_CHAR,
    STATION_NAME,
    "DATE",
    DEPTH,
    SALINITY,
    SEDIMENTS,
    TEMPERATURE,
    FLOW_SPEED,
    SECCI,
    SAMPLER,
    SQUARE,
    SAMPLES_NUMBER,
    COMMENTS
FROM
    SAMPLES_BE
WHERE(
    "DATE" BETWEEN :FROM_DATE AND :TILL_DATE )
    and (     SAMPLES_BE.ID = :OLD_ID
     ))"));
    dtsSamples2->setAutoCommit(true);
    dtsSamples2->setGenerator(QStringLiteral("ID"), QStringLiteral("GEN_SAMPLES_BE_ID"));
    dtsSamples2->setDetailConditions(DetailCondition::ForceOpen | DetailCondition::WaitEndMasterScroll |
                                     DetailCondition::ForceMasterRefresh);
    dtsSamples2->setPrepareOptions(readOptions);
    dtsSamples2->setMasterSource(dsYears);
    declareField(dtsSamples2, QStringLiteral("ID"), FieldType::Integer).required();
    declareField(dtsSamples2, QStringLiteral("STATION"), FieldType::SmallInt).required();
    // An empty letter is a letter: it passes the check and is stored as an empty text.
    declareField(dtsSamples2, QStringLiteral("ST_CHAR"), FieldType::String, 1).required();
    declareField(dtsSamples2, QStringLiteral("STATION_NAME"), FieldType::String, 7)
        .label(QStringLiteral("#"))
        .emptyIsNull();
    declareField(dtsSamples2, QStringLiteral("DATE"), FieldType::Date)
        .label(QStringLiteral("Date"))
        .display(QStringLiteral("dd.mm.yyyy"))
        .required();
    declareField(dtsSamples2, QStringLiteral("DEPTH"), FieldType::Float)
        .label(QStringLiteral("Depth"))
        .display(QStringLiteral("#,##0.0 m"))
        .edit(QStringLiteral("0.0"));
    declareField(dtsSamples2, QStringLiteral("SALINITY"), FieldType::Float)
        .display(QStringLiteral("#,##0.00"))
        .edit(QStringLiteral("0.00"));
    declareField(dtsSamples2, QStringLiteral("SEDIMENTS"), FieldType::Integer);
    declareField(dtsSamples2, QStringLiteral("TEMPERATURE"), FieldType::Float)
        .display(QStringLiteral("#,##0.00"))
        .edit(QStringLiteral("0.00"));
    declareField(dtsSamples2, QStringLiteral("FLOW_SPEED"), FieldType::Float)
        .display(QStringLiteral("#,##0.0"))
        .edit(QStringLiteral("0.0"));
    declareField(dtsSamples2, QStringLiteral("SECCI"), FieldType::Float)
        .display(QStringLiteral("#,##0.0"))
        .edit(QStringLiteral("0.0"));
    declareField(dtsSamples2, QStringLiteral("SAMPLER"), FieldType::Integer);
    declareField(dtsSamples2, QStringLiteral("SQUARE"), FieldType::Float)
        .display(QStringLiteral("#,##0.000"))
        .edit(QStringLiteral("0.000"));
    declareField(dtsSamples2, QStringLiteral("SAMPLES_NUMBER"), FieldType::SmallInt)
        .initial(QStringLiteral("1"));
    declareField(dtsSamples2, QStringLiteral("COMMENTS"), FieldType::Memo);
    dsSamples2 = newDataSource(QStringLiteral("dsSamples2"), dtsSamples2);

    // --- dtsTaxonsB1: the benthos taxa, names and choices of a count's taxon ---
    dtsTaxonsB1 = newDataSet(QStringLiteral("dtsTaxonsB1"), Access::ReadOnly);
    dtsTaxonsB1->setSelectSql(QStringLiteral(R"(SELECT
    ID,
    CATEGORY,
    TAXON
FROM
    TAXONS_B)"));
    dtsTaxonsB1->setPrepareOptions(readOptions);
    declareField(dtsTaxonsB1, QStringLiteral("ID"), FieldType::Integer).required();
    declareField(dtsTaxonsB1, QStringLiteral("CATEGORY"), FieldType::SmallInt).required();
    declareField(dtsTaxonsB1, QStringLiteral("TAXON"), FieldType::String, 40).required();

    // --- dtsBenthos: the taxon counts of the current benthos sample ---
    dtsBenthos = newDataSet(QStringLiteral("dtsBenthos"), Access::Updates);
    dtsBenthos->setSelectSql(QStringLiteral(R"(SELECT
    ID,
    SAMPLE,
    TAXON,
    ABUNDANCE,
    BIOMASS
FROM
    BENTHOS
WHERE
    SAMPLE = :ID
ORDER BY
    TAXON)"));
    dtsBenthos->setInsertSql(QStringLiteral(R"(INSERT INTO BENTHOS(
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
    dtsBenthos->setUpdateSql(QStringLiteral(R"(UPDATE BENTHOS
SET
    SAMPLE = :MAS_ID,
    TAXON = :TAXON,
    ABUNDANCE = :ABUNDANCE,
    BIOMASS = :BIOMASS
WHERE
    ID = :OLD_ID)"));
    dtsBenthos->setDeleteSql(QStringLiteral(R"(DELETE FROM
    BENTHOS
WHERE
        ID = :OLD_ID)"));
    dtsBenthos->setRefreshSql(QStringLiteral(R"(SELECT
    ID,
    SAMPLE,
    TAXON,
    ABUNDANCE,
    BIOMASS
FROM
    BENTHOS
WHERE(
    SAMPLE = :ID )
    and (     BENTHOS.ID = :OLD_ID
     ))"));
    dtsBenthos->setAutoCommit(true);
    dtsBenthos->setGenerator(QStringLiteral("ID"), QStringLiteral("GEN_BENTHOS_ID"));
    dtsBenthos->setParamsToFieldsLinks({QStringLiteral("SAMPLE=ID")});
    dtsBenthos->setDetailConditions(DetailCondition::ForceOpen | DetailCondition::WaitEndMasterScroll |
                                    DetailCondition::ForceMasterRefresh);
    dtsBenthos->setPrepareOptions(readOptions);
    dtsBenthos->setMasterSource(dsSamples2);
    declareField(dtsBenthos, QStringLiteral("ID"), FieldType::Integer).required();
    declareField(dtsBenthos, QStringLiteral("SAMPLE"), FieldType::Integer).required();
    declareField(dtsBenthos, QStringLiteral("TAXON"), FieldType::SmallInt)
        .label(QStringLiteral("Taxon"))
        .required();
    declareField(dtsBenthos, QStringLiteral("ABUNDANCE"), FieldType::Float)
        .label(QStringLiteral("Abundance"))
        .initial(QStringLiteral("0"));
    declareField(dtsBenthos, QStringLiteral("BIOMASS"), FieldType::Float)
        .label(QStringLiteral("Biomass"))
        .display(QStringLiteral("0.000"))
        .initial(QStringLiteral("0"));
    declareLookup(dtsBenthos, QStringLiteral("TAXON_NAME"), 50, QStringLiteral("TAXON"), dtsTaxonsB1,
                  QStringLiteral("ID"), QStringLiteral("TAXON"))
        .label(QStringLiteral("Taxon"));
    dsBenthos = newDataSource(QStringLiteral("dsBenthos"), dtsBenthos);

    // --- dtsSediments and dtsSamplers: the lists of a benthos sample's lookup boxes ---
    dtsSediments = newDataSet(QStringLiteral("dtsSediments"), Access::ReadOnly);
    dtsSediments->setSelectSql(QStringLiteral(R"(SELECT
    ID,
    SEDIMENT_EN,
    SEDIMENT_RU
FROM
    SEDIMENTS)"));
    dtsSediments->setOptions(Option::FetchAll);
    dtsSediments->setPrepareOptions(readOptions);
    dtsSediments->setAllowedUpdateKinds({});
    // Its fields are made from the columns at open.
    dsSediments = newDataSource(QStringLiteral("dsSediments"), dtsSediments);

    dtsSamplers = newDataSet(QStringLiteral("dtsSamplers"), Access::ReadOnly);
    dtsSamplers->setSelectSql(QStringLiteral(R"(SELECT
    ID,
    SAMPLER_EN,
    SAMPLER_RU
FROM
    SAMPLERS)"));
    dtsSamplers->setOptions(Option::FetchAll);
    dtsSamplers->setPrepareOptions(readOptions);
    dtsSamplers->setAllowedUpdateKinds({});
    declareField(dtsSamplers, QStringLiteral("ID"), FieldType::Integer);
    declareField(dtsSamplers, QStringLiteral("SAMPLER_EN"), FieldType::String, 40);
    declareField(dtsSamplers, QStringLiteral("SAMPLER_RU"), FieldType::String, 40);
    dsSamplers = newDataSource(QStringLiteral("dsSamplers"), dtsSamplers);
}
