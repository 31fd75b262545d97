/*
 * Velmar database schema (Firebird 3, SQL dialect 3, default character set WIN1251).
 *
 * Run on an empty database. The program itself never alters the schema: it reads and writes
 * rows only. velmar-db creates the database file, runs this script and loads the reference lists.
 *
 * Decisions taken here, in one place:
 *
 * Number types.
 *   Depths (STATIONS_P.DEPTH, SAMPLES_PL.DEPTH_0/DEPTH_1, SAMPLES_BE.DEPTH) are NUMERIC(5,1) in
 *   the domain D_DEPTH, limited to 0 .. 9999.9 metres. The report by stations converts the layer
 *   depths with CAST(... AS VARCHAR(6)); a one-decimal numeric prints as "12.5" or "3.0", and the
 *   limit keeps the longest text at "9999.9", six characters. Firebird stores NUMERIC(5,1) in
 *   32 bits and would not by itself stop larger values, hence the check. A floating type would
 *   print with an exponent and overflow the six characters.
 *   Every other number (readings, abundance, biomass, the chart sums) is DOUBLE PRECISION
 *   (domain D_MEASURE): these span several orders of magnitude (0.001 mg to 10^6 ind./cu.m) and
 *   the program holds them as doubles anyway.
 *
 * Station letters.
 *   A letter is never NULL in stored data: ST_CHAR of STATIONS_P and SAMPLES_BE defaults to the
 *   empty text and is NOT NULL, and a trigger turns a NULL letter into the empty text on every
 *   insert and update (Firebird checks NOT NULL after the before-triggers). COORDINATES stores
 *   the empty text for stations without a letter too, so that the map's join on "=" matches them.
 *   A CHAR(1) empty letter reads back as a single blank; names and comparisons ignore it.
 *
 * Station names.
 *   STATION_NAME of STATIONS_P, SAMPLES_BE and COORDINATES is produced by their before-insert-or-
 *   update trigger: the number in decimal digits followed at once by the letter; an empty letter
 *   adds nothing (7, 7a, 12a). A value written by a client is overwritten.
 *
 * Keys.
 *   Every table with a generator also gets its key from it when a row arrives without one.
 *   SAMPLES_PL.ID, TAXONS_P.ID and TAXONS_B.ID are checked to fit 16 bits, because other tables
 *   and the program hold them in smallint fields; an overflowing key is refused at once instead
 *   of failing later in a dependent row. A new season without a SEASON number gets the next
 *   number within its year.
 *
 * NOT NULL beyond the keys.
 *   The links that make a row meaningful (a sample's visit, a count's sample and taxon, a detail's
 *   count, taxon and PARENT_TAXON, a benthos count's sample and taxon), the date windows of
 *   seasons and years, a visit's and a benthos sample's number, letter and date (a visit without
 *   a date could never be listed again), taxon names, and the four coordinate numbers (so that
 *   every station can be placed on the map). Measured values stay nullable: unknown is not zero.
 *
 * Deleting rows that have dependent rows.
 *   Refused (foreign key without action): a visit with samples, a top-level sample with
 *   sub-layers, a taxon, sediment or sampler still in use.
 *   Cascaded: a sample takes its counts with it, a count its sub-taxon counts, a benthos sample
 *   its counts: these rows are parts of the row deleted and mean nothing alone.
 *   Seasons and years are date windows, not owners: deleting one deletes no visit or sample.
 *
 * Sub-layers.
 *   A sample's PARENT must be a top-level sample of the same visit, and a sample that has
 *   sub-layers can't become a sub-layer itself: the tree has at most two levels.
 *
 * Sub-taxon counts.
 *   When a count of a taxon that has sub-taxa is stored, or its taxon is changed to such a taxon
 *   and the count holds no detail rows of that taxon yet, a trigger adds one DETAILS_PL row per
 *   sub-taxon, in taxon key order, with empty ABUNDANCE and BIOMASS, for the user to fill in.
 *   A count's ABUNDANCE (and likewise BIOMASS) derives from its details: whenever the count is
 *   stored, or one of its details is stored or deleted, it becomes the sum of the values of its
 *   details stored under its present TAXON, as soon as at least one of them holds a value. While
 *   none does (no details, or all empty), the count keeps the value that was written to it.
 *   Details stored under an earlier taxon of the count take no part until that taxon is set back.
 *
 * Chart procedures.
 *   CHART_PL_PROCEDURE groups the counts of a sample by CATEGORY1 of their taxa, and
 *   CHART_BE_PROCEDURE the counts of a benthos sample by CATEGORY of theirs; one row per code,
 *   in ascending code order, taxa without a code last. The category names are fixed in the
 *   procedures (the codes are part of the reference lists that velmar-db loads); an unknown code
 *   is named "Category <code>", a missing one "Unclassified". Empty values count as 0 in the sums.
 */

/* ---------------------------------------------------------------- domains */

CREATE DOMAIN D_DEPTH AS NUMERIC(5, 1)
    CHECK (VALUE IS NULL OR VALUE BETWEEN 0 AND 9999.9);

CREATE DOMAIN D_MEASURE AS DOUBLE PRECISION;

/* ---------------------------------------------------------------- generators */

CREATE SEQUENCE GEN_SEASONS_ID;
CREATE SEQUENCE GEN_STATIONS_P_ID;
CREATE SEQUENCE GEN_SAMPLES_PL_ID;
CREATE SEQUENCE GEN_PLANKTON_ID;
CREATE SEQUENCE GEN_DETAILS_PL_ID;
CREATE SEQUENCE GEN_YEARS_ID;
CREATE SEQUENCE GEN_SAMPLES_BE_ID;
CREATE SEQUENCE GEN_BENTHOS_ID;

/* ---------------------------------------------------------------- exceptions */

CREATE EXCEPTION E_SAMPLE_PARENT
    'A sub-layer must belong to a top-level sample of the same visit.';
CREATE EXCEPTION E_SAMPLE_DEPTH
    'A sample that has sub-layers cannot become a sub-layer itself.';

/* ---------------------------------------------------------------- reference lists */

CREATE TABLE TAXONS_P (
    ID          INTEGER NOT NULL,
    PARENT      INTEGER,
    CATEGORY1   SMALLINT,
    CATEGORY2   SMALLINT,
    TAXON       VARCHAR(40) NOT NULL,
    CONSTRAINT PK_TAXONS_P PRIMARY KEY (ID),
    CONSTRAINT FK_TAXONS_P_PARENT FOREIGN KEY (PARENT) REFERENCES TAXONS_P (ID),
    CONSTRAINT CHK_TAXONS_P_ID CHECK (ID BETWEEN -32768 AND 32767)
);

CREATE TABLE TAXONS_B (
    ID          INTEGER NOT NULL,
    CATEGORY    SMALLINT NOT NULL,
    TAXON       VARCHAR(40) NOT NULL,
    CONSTRAINT PK_TAXONS_B PRIMARY KEY (ID),
    CONSTRAINT CHK_TAXONS_B_ID CHECK (ID BETWEEN -32768 AND 32767)
);

CREATE TABLE SEDIMENTS (
    ID          INTEGER NOT NULL,
    SEDIMENT_EN VARCHAR(40) NOT NULL,
    SEDIMENT_RU VARCHAR(40),
    CONSTRAINT PK_SEDIMENTS PRIMARY KEY (ID)
);

CREATE TABLE SAMPLERS (
    ID          INTEGER NOT NULL,
    SAMPLER_EN  VARCHAR(40) NOT NULL,
    SAMPLER_RU  VARCHAR(40),
    CONSTRAINT PK_SAMPLERS PRIMARY KEY (ID)
);

CREATE TABLE COORDINATES (
    STATION      INTEGER NOT NULL,
    ST_CHAR      VARCHAR(1) DEFAULT '' NOT NULL,
    STATION_NAME VARCHAR(12),
    LAT_DEG      SMALLINT NOT NULL,
    LAT_MIN      SMALLINT NOT NULL,
    LON_DEG      SMALLINT NOT NULL,
    LON_MIN      SMALLINT NOT NULL,
    LATITUDE     VARCHAR(16),
    LONGITUDE    VARCHAR(16),
    CONSTRAINT PK_COORDINATES PRIMARY KEY (STATION, ST_CHAR),
    CONSTRAINT CHK_COORDINATES_MIN CHECK (LAT_MIN BETWEEN 0 AND 59 AND LON_MIN BETWEEN 0 AND 59)
);

/* ---------------------------------------------------------------- zooplankton */

CREATE TABLE SEASONS (
    SEASON_ID   INTEGER NOT NULL,
    "YEAR"      SMALLINT NOT NULL,
    FROM_DATE   DATE NOT NULL,
    TILL_DATE   DATE NOT NULL,
    SEASON      SMALLINT NOT NULL,
    CONSTRAINT PK_SEASONS PRIMARY KEY (SEASON_ID, SEASON)
);

CREATE TABLE STATIONS_P (
    ID           INTEGER NOT NULL,
    STATION      SMALLINT NOT NULL,
    ST_CHAR      CHAR(1) DEFAULT '' NOT NULL,
    STATION_NAME VARCHAR(7),
    "DATE"       DATE NOT NULL,
    DEPTH        D_DEPTH,
    CONSTRAINT PK_STATIONS_P PRIMARY KEY (ID)
);

CREATE TABLE SAMPLES_PL (
    ID          INTEGER NOT NULL,
    STATION     INTEGER NOT NULL,
    PARENT      SMALLINT,
    DEPTH_0     D_DEPTH,
    DEPTH_1     D_DEPTH,
    SALINITY    D_MEASURE,
    TEMPERATURE D_MEASURE,
    PH          D_MEASURE,
    COMMENTS    BLOB SUB_TYPE TEXT,
    CONSTRAINT PK_SAMPLES_PL PRIMARY KEY (ID),
    CONSTRAINT FK_SAMPLES_PL_STATION FOREIGN KEY (STATION) REFERENCES STATIONS_P (ID),
    CONSTRAINT FK_SAMPLES_PL_PARENT FOREIGN KEY (PARENT) REFERENCES SAMPLES_PL (ID),
    CONSTRAINT CHK_SAMPLES_PL_ID CHECK (ID BETWEEN -32768 AND 32767)
);

CREATE TABLE PLANKTON (
    ID          INTEGER NOT NULL,
    SAMPLE      SMALLINT NOT NULL,
    TAXON       SMALLINT NOT NULL,
    ABUNDANCE   D_MEASURE,
    BIOMASS     D_MEASURE,
    CONSTRAINT PK_PLANKTON PRIMARY KEY (ID),
    CONSTRAINT FK_PLANKTON_SAMPLE FOREIGN KEY (SAMPLE) REFERENCES SAMPLES_PL (ID) ON DELETE CASCADE,
    CONSTRAINT FK_PLANKTON_TAXON FOREIGN KEY (TAXON) REFERENCES TAXONS_P (ID)
);

CREATE TABLE DETAILS_PL (
    ID           INTEGER NOT NULL,
    PARENT       INTEGER NOT NULL,
    PARENT_TAXON SMALLINT NOT NULL,
    TAXON        SMALLINT NOT NULL,
    ABUNDANCE    D_MEASURE,
    BIOMASS      D_MEASURE,
    CONSTRAINT PK_DETAILS_PL PRIMARY KEY (ID),
    CONSTRAINT FK_DETAILS_PL_PARENT FOREIGN KEY (PARENT) REFERENCES PLANKTON (ID) ON DELETE CASCADE,
    CONSTRAINT FK_DETAILS_PL_PARENT_TAXON FOREIGN KEY (PARENT_TAXON) REFERENCES TAXONS_P (ID),
    CONSTRAINT FK_DETAILS_PL_TAXON FOREIGN KEY (TAXON) REFERENCES TAXONS_P (ID)
);

/* ---------------------------------------------------------------- zoobenthos */

CREATE TABLE YEARS (
    ID          INTEGER NOT NULL,
    "YEAR"      SMALLINT NOT NULL,
    FROM_DATE   DATE NOT NULL,
    TILL_DATE   DATE NOT NULL,
    CONSTRAINT PK_YEARS PRIMARY KEY (ID)
);

CREATE TABLE SAMPLES_BE (
    ID             INTEGER NOT NULL,
    STATION        SMALLINT NOT NULL,
    ST_CHAR        CHAR(1) DEFAULT '' NOT NULL,
    STATION_NAME   VARCHAR(7),
    "DATE"         DATE NOT NULL,
    DEPTH          D_DEPTH,
    SALINITY       D_MEASURE,
    SEDIMENTS      INTEGER,
    TEMPERATURE    D_MEASURE,
    FLOW_SPEED     D_MEASURE,
    SECCI          D_MEASURE,
    SAMPLER        INTEGER,
    SQUARE         D_MEASURE,
    SAMPLES_NUMBER SMALLINT DEFAULT 1,
    COMMENTS       BLOB SUB_TYPE TEXT,
    CONSTRAINT PK_SAMPLES_BE PRIMARY KEY (ID),
    CONSTRAINT FK_SAMPLES_BE_SEDIMENTS FOREIGN KEY (SEDIMENTS) REFERENCES SEDIMENTS (ID),
    CONSTRAINT FK_SAMPLES_BE_SAMPLER FOREIGN KEY (SAMPLER) REFERENCES SAMPLERS (ID)
);

CREATE TABLE BENTHOS (
    ID          INTEGER NOT NULL,
    SAMPLE      INTEGER NOT NULL,
    TAXON       SMALLINT NOT NULL,
    ABUNDANCE   D_MEASURE,
    BIOMASS     D_MEASURE,
    CONSTRAINT PK_BENTHOS PRIMARY KEY (ID),
    CONSTRAINT FK_BENTHOS_SAMPLE FOREIGN KEY (SAMPLE) REFERENCES SAMPLES_BE (ID) ON DELETE CASCADE,
    CONSTRAINT FK_BENTHOS_TAXON FOREIGN KEY (TAXON) REFERENCES TAXONS_B (ID)
);

/* ---------------------------------------------------------------- indexes
   Foreign keys carry their own index; these serve the remaining filters, joins and orders. */

CREATE INDEX IX_STATIONS_P_DATE ON STATIONS_P ("DATE");
CREATE INDEX IX_STATIONS_P_STATION ON STATIONS_P (STATION, ST_CHAR);
CREATE INDEX IX_DETAILS_PL_COUNT ON DETAILS_PL (PARENT, PARENT_TAXON, TAXON);
/* The counts of one sample in taxon order: without these the optimizer walks the whole taxon
   index (ORDER BY TAXON) and filters by sample, reading every count for each sample shown. */
CREATE INDEX IX_PLANKTON_SAMPLE_TAXON ON PLANKTON (SAMPLE, TAXON);
CREATE INDEX IX_BENTHOS_SAMPLE_TAXON ON BENTHOS (SAMPLE, TAXON);
CREATE INDEX IX_YEARS_WINDOW ON YEARS (FROM_DATE, TILL_DATE);
CREATE INDEX IX_SAMPLES_BE_DATE ON SAMPLES_BE ("DATE");
CREATE INDEX IX_SAMPLES_BE_STATION ON SAMPLES_BE (STATION, ST_CHAR);

/* ---------------------------------------------------------------- triggers */

SET TERM ^ ;

CREATE TRIGGER SEASONS_BI FOR SEASONS
ACTIVE BEFORE INSERT POSITION 0
AS
BEGIN
    IF (NEW.SEASON_ID IS NULL) THEN
        NEW.SEASON_ID = NEXT VALUE FOR GEN_SEASONS_ID;
    IF (NEW.SEASON IS NULL) THEN
        NEW.SEASON = (SELECT COALESCE(MAX(S.SEASON), 0) + 1 FROM SEASONS S WHERE S."YEAR" = NEW."YEAR");
END^

CREATE TRIGGER STATIONS_P_BIU FOR STATIONS_P
ACTIVE BEFORE INSERT OR UPDATE POSITION 0
AS
BEGIN
    IF (INSERTING AND NEW.ID IS NULL) THEN
        NEW.ID = NEXT VALUE FOR GEN_STATIONS_P_ID;
    IF (NEW.ST_CHAR IS NULL) THEN
        NEW.ST_CHAR = '';
    NEW.STATION_NAME = NEW.STATION || TRIM(NEW.ST_CHAR);
END^

CREATE TRIGGER SAMPLES_PL_BIU FOR SAMPLES_PL
ACTIVE BEFORE INSERT OR UPDATE POSITION 0
AS
BEGIN
    IF (INSERTING AND NEW.ID IS NULL) THEN
        NEW.ID = NEXT VALUE FOR GEN_SAMPLES_PL_ID;
    IF (NEW.PARENT IS NOT NULL) THEN
    BEGIN
        IF (NEW.PARENT = NEW.ID OR NOT EXISTS (
                SELECT 1 FROM SAMPLES_PL S
                WHERE S.ID = NEW.PARENT AND S.PARENT IS NULL AND S.STATION = NEW.STATION)) THEN
            EXCEPTION E_SAMPLE_PARENT;
        IF (UPDATING AND EXISTS (SELECT 1 FROM SAMPLES_PL S WHERE S.PARENT = NEW.ID)) THEN
            EXCEPTION E_SAMPLE_DEPTH;
    END
END^

CREATE TRIGGER PLANKTON_BIU FOR PLANKTON
ACTIVE BEFORE INSERT OR UPDATE POSITION 0
AS
DECLARE VARIABLE SUM_A DOUBLE PRECISION;
DECLARE VARIABLE SUM_B DOUBLE PRECISION;
BEGIN
    IF (INSERTING) THEN
    BEGIN
        IF (NEW.ID IS NULL) THEN
            NEW.ID = NEXT VALUE FOR GEN_PLANKTON_ID;
    END
    ELSE
    BEGIN
        /* Totals follow the details of the present taxon once any of them holds a value. */
        SELECT SUM(D.ABUNDANCE), SUM(D.BIOMASS)
        FROM DETAILS_PL D
        WHERE D.PARENT = NEW.ID AND D.PARENT_TAXON = NEW.TAXON
        INTO :SUM_A, :SUM_B;
        IF (SUM_A IS NOT NULL) THEN
            NEW.ABUNDANCE = SUM_A;
        IF (SUM_B IS NOT NULL) THEN
            NEW.BIOMASS = SUM_B;
    END
END^

CREATE TRIGGER PLANKTON_AIU FOR PLANKTON
ACTIVE AFTER INSERT OR UPDATE POSITION 0
AS
BEGIN
    /* The first sub-taxon counts of a count: one empty row per sub-taxon of its taxon. */
    IF (INSERTING OR (NEW.TAXON IS DISTINCT FROM OLD.TAXON AND NOT EXISTS (
            SELECT 1 FROM DETAILS_PL D WHERE D.PARENT = NEW.ID AND D.PARENT_TAXON = NEW.TAXON))) THEN
        INSERT INTO DETAILS_PL (PARENT, PARENT_TAXON, TAXON)
        SELECT NEW.ID, NEW.TAXON, T.ID
        FROM TAXONS_P T
        WHERE T.PARENT = NEW.TAXON
        ORDER BY T.ID;
END^

CREATE TRIGGER DETAILS_PL_BI FOR DETAILS_PL
ACTIVE BEFORE INSERT POSITION 0
AS
BEGIN
    IF (NEW.ID IS NULL) THEN
        NEW.ID = NEXT VALUE FOR GEN_DETAILS_PL_ID;
END^

CREATE TRIGGER DETAILS_PL_AIUD FOR DETAILS_PL
ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 0
AS
BEGIN
    /* Storing the count again lets PLANKTON_BIU derive its totals. */
    IF (INSERTING) THEN
    BEGIN
        IF (NEW.ABUNDANCE IS NOT NULL OR NEW.BIOMASS IS NOT NULL) THEN
            UPDATE PLANKTON SET TAXON = TAXON WHERE ID = NEW.PARENT;
    END
    ELSE IF (UPDATING) THEN
    BEGIN
        UPDATE PLANKTON SET TAXON = TAXON WHERE ID = NEW.PARENT;
        IF (OLD.PARENT <> NEW.PARENT) THEN
            UPDATE PLANKTON SET TAXON = TAXON WHERE ID = OLD.PARENT;
    END
    ELSE
        UPDATE PLANKTON SET TAXON = TAXON WHERE ID = OLD.PARENT;
END^

CREATE TRIGGER YEARS_BI FOR YEARS
ACTIVE BEFORE INSERT POSITION 0
AS
BEGIN
    IF (NEW.ID IS NULL) THEN
        NEW.ID = NEXT VALUE FOR GEN_YEARS_ID;
END^

CREATE TRIGGER SAMPLES_BE_BIU FOR SAMPLES_BE
ACTIVE BEFORE INSERT OR UPDATE POSITION 0
AS
BEGIN
    IF (INSERTING AND NEW.ID IS NULL) THEN
        NEW.ID = NEXT VALUE FOR GEN_SAMPLES_BE_ID;
    IF (NEW.ST_CHAR IS NULL) THEN
        NEW.ST_CHAR = '';
    NEW.STATION_NAME = NEW.STATION || TRIM(NEW.ST_CHAR);
END^

CREATE TRIGGER BENTHOS_BI FOR BENTHOS
ACTIVE BEFORE INSERT POSITION 0
AS
BEGIN
    IF (NEW.ID IS NULL) THEN
        NEW.ID = NEXT VALUE FOR GEN_BENTHOS_ID;
END^

CREATE TRIGGER COORDINATES_BIU FOR COORDINATES
ACTIVE BEFORE INSERT OR UPDATE POSITION 0
AS
BEGIN
    NEW.ST_CHAR = TRIM(COALESCE(NEW.ST_CHAR, ''));
    NEW.STATION_NAME = NEW.STATION || NEW.ST_CHAR;
END^

/* ---------------------------------------------------------------- chart procedures */

CREATE PROCEDURE CHART_PL_PROCEDURE (ID INTEGER)
RETURNS (CATEGORY VARCHAR(50), SUM_A DOUBLE PRECISION, SUM_B DOUBLE PRECISION)
AS
DECLARE VARIABLE CODE SMALLINT;
BEGIN
    FOR SELECT T.CATEGORY1, COALESCE(SUM(P.ABUNDANCE), 0), COALESCE(SUM(P.BIOMASS), 0)
        FROM PLANKTON P
        JOIN TAXONS_P T ON T.ID = P.TAXON
        WHERE P.SAMPLE = :ID
        GROUP BY T.CATEGORY1
        ORDER BY T.CATEGORY1 NULLS LAST
        INTO :CODE, :SUM_A, :SUM_B
    DO
    BEGIN
        CATEGORY = CASE CODE
            WHEN 1 THEN 'Copepoda'
            WHEN 2 THEN 'Cladocera'
            WHEN 3 THEN 'Rotifera'
            WHEN 4 THEN 'Meroplankton'
            WHEN 5 THEN 'Other zooplankton'
            ELSE COALESCE('Category ' || CODE, 'Unclassified')
        END;
        SUSPEND;
    END
END^

CREATE PROCEDURE CHART_BE_PROCEDURE (ID INTEGER)
RETURNS (CATEGORY VARCHAR(50), SUM_A DOUBLE PRECISION, SUM_B DOUBLE PRECISION)
AS
DECLARE VARIABLE CODE SMALLINT;
BEGIN
    FOR SELECT T.CATEGORY, COALESCE(SUM(B.ABUNDANCE), 0), COALESCE(SUM(B.BIOMASS), 0)
        FROM BENTHOS B
        JOIN TAXONS_B T ON T.ID = B.TAXON
        WHERE B.SAMPLE = :ID
        GROUP BY T.CATEGORY
        ORDER BY T.CATEGORY NULLS LAST
        INTO :CODE, :SUM_A, :SUM_B
    DO
    BEGIN
        CATEGORY = CASE CODE
            WHEN 1 THEN 'Oligochaeta'
            WHEN 2 THEN 'Polychaeta'
            WHEN 3 THEN 'Mollusca'
            WHEN 4 THEN 'Crustacea'
            WHEN 5 THEN 'Chironomidae'
            WHEN 6 THEN 'Other zoobenthos'
            ELSE COALESCE('Category ' || CODE, 'Unclassified')
        END;
        SUSPEND;
    END
END^

SET TERM ; ^
