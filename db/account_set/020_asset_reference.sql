-- Reference tables of the fixed-asset module: categories with their code
-- rules and serial counters, national classification, alteration methods,
-- asset states, management types, funding sources and the accounts of a
-- funding source per category.
--
-- A table T with an organisation overlay TEx: TEx has exactly T's columns in
-- T's order followed by lngOrganizationID, because an organisation's view of
-- T is "T's rows stamped with the organisation" UNION "the organisation's TEx
-- rows", matched column by column.  Keep both in step when adding a column.

-- Kinds of category record (the upgrade writes 1).
CREATE SEQUENCE IF NOT EXISTS AMAssetCategory_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetCategory (
    lngAMAssetCategoryID   integer      NOT NULL,
    strAMAssetCategoryCode varchar(50)  DEFAULT ' ',
    strAMAssetCategoryName varchar(100) DEFAULT ' ',
    CONSTRAINT AMAssetCategory_PK PRIMARY KEY (lngAMAssetCategoryID)
);

-- Asset categories.  Codes are hierarchical with "-" between levels
-- ("01", "01-02", "01-02-03"); a parent is found by cutting the code at its
-- last "-", so a code names one category only.
-- Depreciation defaults: bytDepreciationType 0-3 (2 = not depreciated, no
-- service life), bytDepreciationMethod 0-6 (1 = no depreciation, 3 = workload,
-- dblUseage then holds the total workload instead of the life in periods).
-- bytCodeMethod: 0 no asset code, 1 parent's rule, otherwise own rule.
-- The column order is the order in which a category is inserted.
CREATE SEQUENCE IF NOT EXISTS AMAssetType_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetType (
    lngAMAssetCategoryID     integer      NOT NULL DEFAULT 1,
    lngAMAssetTypeID         integer      NOT NULL,
    strAMAssetTypeCode       varchar(50)  NOT NULL DEFAULT ' ',
    strAMAssetTypeName       varchar(100) NOT NULL DEFAULT ' ',
    strFullName              varchar(500) NOT NULL DEFAULT ' ',
    intLevel                 integer      NOT NULL DEFAULT 1,
    blnIsDetail              integer      NOT NULL DEFAULT 1,
    blnIsInActive            integer      NOT NULL DEFAULT 0,
    blnIsSys                 integer      NOT NULL DEFAULT 0,
    strStartDate             varchar(10)  NOT NULL DEFAULT ' ',
    bytDepreciationType      integer      NOT NULL DEFAULT 0,
    bytDepreciationMethod    integer      NOT NULL DEFAULT 0,
    dblUseage                numeric      NOT NULL DEFAULT 0,
    dblNetworthRate          numeric      NOT NULL DEFAULT 0,
    dblDeprRate              numeric      NOT NULL DEFAULT 0,
    bytCodeMethod            integer      NOT NULL DEFAULT 2,
    strCodePrefix            varchar(50)  NOT NULL DEFAULT ' ',
    strCodeSuffix            varchar(50)  NOT NULL DEFAULT ' ',
    strCodeRule              varchar(255) NOT NULL DEFAULT ' ',
    intCodeSerialNoDec       integer      NOT NULL DEFAULT 0,
    strCardRule              varchar(255) NOT NULL DEFAULT ' ',
    intCardSerialNoDec       integer      NOT NULL DEFAULT 0,
    strLabelRule             varchar(255) NOT NULL DEFAULT ' ',
    intLabelSerialNoDec      integer      NOT NULL DEFAULT 0,
    lngAssetAccountID        integer      NOT NULL DEFAULT 0,
    lngDepreciationAccountID integer      NOT NULL DEFAULT 0,
    lngClassID1              integer      NOT NULL DEFAULT 0,
    lngClassID2              integer      NOT NULL DEFAULT 0,
    lngDecAccountID          integer      NOT NULL DEFAULT 0,
    strFlexibleID            varchar(310) NOT NULL DEFAULT ' ',
    strNotes                 varchar(255) NOT NULL DEFAULT ' ',
    -- The upgrade gives migrated categories a national-code rule along with
    -- the other rules; the code generator reads the national rule from
    -- AMAssetNationalType.
    strNationalRule          varchar(255) DEFAULT ' ',
    CONSTRAINT AMAssetType_PK PRIMARY KEY (lngAMAssetTypeID),
    CONSTRAINT AMAssetType_Code_UK UNIQUE (strAMAssetTypeCode)
);

CREATE SEQUENCE IF NOT EXISTS AMAssetTypeEx_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetTypeEx (
    lngAMAssetCategoryID     integer      NOT NULL DEFAULT 1,
    lngAMAssetTypeID         integer      NOT NULL,
    strAMAssetTypeCode       varchar(50)  DEFAULT ' ',
    strAMAssetTypeName       varchar(100) DEFAULT ' ',
    strFullName              varchar(500) DEFAULT ' ',
    intLevel                 integer      NOT NULL DEFAULT 1,
    blnIsDetail              integer      NOT NULL DEFAULT 1,
    blnIsInActive            integer      NOT NULL DEFAULT 0,
    blnIsSys                 integer      NOT NULL DEFAULT 0,
    strStartDate             varchar(10)  DEFAULT ' ',
    bytDepreciationType      integer      NOT NULL DEFAULT 0,
    bytDepreciationMethod    integer      NOT NULL DEFAULT 0,
    dblUseage                numeric      NOT NULL DEFAULT 0,
    dblNetworthRate          numeric      NOT NULL DEFAULT 0,
    dblDeprRate              numeric      NOT NULL DEFAULT 0,
    bytCodeMethod            integer      NOT NULL DEFAULT 2,
    strCodePrefix            varchar(50)  DEFAULT ' ',
    strCodeSuffix            varchar(50)  DEFAULT ' ',
    strCodeRule              varchar(255) DEFAULT ' ',
    intCodeSerialNoDec       integer      NOT NULL DEFAULT 0,
    strCardRule              varchar(255) DEFAULT ' ',
    intCardSerialNoDec       integer      NOT NULL DEFAULT 0,
    strLabelRule             varchar(255) DEFAULT ' ',
    intLabelSerialNoDec      integer      NOT NULL DEFAULT 0,
    lngAssetAccountID        integer      NOT NULL DEFAULT 0,
    lngDepreciationAccountID integer      NOT NULL DEFAULT 0,
    lngClassID1              integer      NOT NULL DEFAULT 0,
    lngClassID2              integer      NOT NULL DEFAULT 0,
    lngDecAccountID          integer      NOT NULL DEFAULT 0,
    strFlexibleID            varchar(310) DEFAULT ' ',
    strNotes                 varchar(255) DEFAULT ' ',
    strNationalRule          varchar(255) DEFAULT ' ',
    lngOrganizationID        integer      NOT NULL,
    CONSTRAINT AMAssetTypeEx_PK PRIMARY KEY (lngAMAssetTypeID, lngOrganizationID)
);
CREATE INDEX IF NOT EXISTS AMAssetTypeEx_Organization_IX ON AMAssetTypeEx (lngOrganizationID);

-- Serial counters of the code rules: the last serial issued per
-- organisation (0 = whole account set), category (0 = all categories; the
-- national classification for national codes) and code kind (1 asset code,
-- 2 card number, 3 label, 4 national code).  The key makes two clients that
-- create the same counter at once collide instead of issuing a serial twice.
CREATE SEQUENCE IF NOT EXISTS AMAssetTypeNo_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetTypeNo (
    lngOrganizationID integer NOT NULL DEFAULT 0,
    lngAMAssetTypeID  integer NOT NULL DEFAULT 0,
    bytSerialNoType   integer NOT NULL,
    lngMaxSerialNo    integer NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetTypeNo_PK PRIMARY KEY (lngOrganizationID, lngAMAssetTypeID, bytSerialNoType)
);

-- Custom fields a category shows on its cards (which AMAssetCustom column,
-- under which caption).
CREATE SEQUENCE IF NOT EXISTS AMAssetTypeCustom_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetTypeCustom (
    lngAMAssetTypeCustomID integer      NOT NULL,
    lngAMAssetTypeID       integer      NOT NULL DEFAULT 0,
    bytCustomType          integer      NOT NULL DEFAULT 0,
    strFieldName           varchar(50)  DEFAULT ' ',
    strCaption             varchar(100) DEFAULT ' ',
    blnIsMust              integer      DEFAULT 0,
    lngOrderNo             integer      DEFAULT 0,
    CONSTRAINT AMAssetTypeCustom_PK PRIMARY KEY (lngAMAssetTypeCustomID)
);
CREATE INDEX IF NOT EXISTS AMAssetTypeCustom_Type_IX ON AMAssetTypeCustom (lngAMAssetTypeID);

-- National asset classification and its national-code rule.
CREATE SEQUENCE IF NOT EXISTS AMAssetNationalType_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetNationalType (
    lngAMAssetNationalTypeID   integer      NOT NULL,
    strAMAssetNationalTypeCode varchar(50)  NOT NULL DEFAULT ' ',
    strAMAssetNationalTypeName varchar(200) NOT NULL DEFAULT ' ',
    strFullName                varchar(500) DEFAULT ' ',
    intLevel                   integer      DEFAULT 1,
    blnIsDetail                integer      DEFAULT 1,
    strNationalRule            varchar(255) DEFAULT ' ',
    intNationalSerialNoDec     integer      DEFAULT 0,
    strNotes                   varchar(255) DEFAULT ' ',
    CONSTRAINT AMAssetNationalType_PK PRIMARY KEY (lngAMAssetNationalTypeID)
);
CREATE INDEX IF NOT EXISTS AMAssetNationalType_Code_IX ON AMAssetNationalType (strAMAssetNationalTypeCode);

-- Ways of addition and alteration.  bytAssetAlterType: 0 addition,
-- 1 decrease, 2 funds transferred in, 3 funds transferred out, 4 other.
-- The column order is fixed: the upgrade inserts methods without a column
-- list.  A code belongs to one method (the upgrade's preset methods fail on
-- an occupied code).
CREATE SEQUENCE IF NOT EXISTS AMAssetMethod_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetMethod (
    lngAMAssetCategoryID integer      NOT NULL DEFAULT 1,
    lngAMAssetMethodID   integer      NOT NULL,
    strAMAssetMethodCode varchar(50)  NOT NULL DEFAULT ' ',
    strAMAssetMethodName varchar(100) NOT NULL DEFAULT ' ',
    blnIsInActive        integer      NOT NULL DEFAULT 0,
    blnIsSys             integer      NOT NULL DEFAULT 0,
    bytAssetAlterType    integer      NOT NULL DEFAULT 0,
    lngAccountID         integer      NOT NULL DEFAULT 0,   -- contra account of the alteration
    lngVoucherTypeID     integer      NOT NULL DEFAULT 0,
    lngTemplateID        integer      NOT NULL DEFAULT 0,
    strRemark            varchar(255) DEFAULT ' ',
    strStartDate         varchar(10)  DEFAULT ' ',
    lngTradeID           integer      NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetMethod_PK PRIMARY KEY (lngAMAssetMethodID),
    CONSTRAINT AMAssetMethod_Code_UK UNIQUE (strAMAssetMethodCode)
);

CREATE SEQUENCE IF NOT EXISTS AMAssetMethodEx_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetMethodEx (
    lngAMAssetCategoryID integer      NOT NULL DEFAULT 1,
    lngAMAssetMethodID   integer      NOT NULL,
    strAMAssetMethodCode varchar(50)  DEFAULT ' ',
    strAMAssetMethodName varchar(100) DEFAULT ' ',
    blnIsInActive        integer      NOT NULL DEFAULT 0,
    blnIsSys             integer      NOT NULL DEFAULT 0,
    bytAssetAlterType    integer      NOT NULL DEFAULT 0,
    lngAccountID         integer      NOT NULL DEFAULT 0,
    lngVoucherTypeID     integer      NOT NULL DEFAULT 0,
    lngTemplateID        integer      NOT NULL DEFAULT 0,
    strRemark            varchar(255) DEFAULT ' ',
    strStartDate         varchar(10)  DEFAULT ' ',
    lngTradeID           integer      NOT NULL DEFAULT 0,
    lngOrganizationID    integer      NOT NULL,
    CONSTRAINT AMAssetMethodEx_PK PRIMARY KEY (lngAMAssetMethodID, lngOrganizationID)
);
CREATE INDEX IF NOT EXISTS AMAssetMethodEx_Organization_IX ON AMAssetMethodEx (lngOrganizationID);

-- Physical states of an asset (in use, idle, ...).
CREATE SEQUENCE IF NOT EXISTS AMAssetState_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetState (
    lngAMAssetStateID   integer      NOT NULL,
    strAMAssetStateCode varchar(50)  DEFAULT ' ',
    strAMAssetStateName varchar(100) DEFAULT ' ',
    blnIsSys            integer      DEFAULT 0,
    blnIsInActive       integer      DEFAULT 0,
    CONSTRAINT AMAssetState_PK PRIMARY KEY (lngAMAssetStateID)
);

CREATE SEQUENCE IF NOT EXISTS AMManagerType_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMManagerType (
    lngAMManagerTypeID   integer      NOT NULL,
    strAMManagerTypeCode varchar(50)  DEFAULT ' ',
    strAMManagerTypeName varchar(100) DEFAULT ' ',
    blnIsInActive        integer      DEFAULT 0,
    CONSTRAINT AMManagerType_PK PRIMARY KEY (lngAMManagerTypeID)
);

-- Funding sources.
CREATE SEQUENCE IF NOT EXISTS AMFund_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMFund (
    lngAMFundID   integer      NOT NULL,
    strAMFundCode varchar(50)  DEFAULT ' ',
    strAMFundName varchar(100) DEFAULT ' ',
    blnIsSys      integer      DEFAULT 0,
    blnIsInActive integer      DEFAULT 0,
    strNotes      varchar(255) DEFAULT ' ',
    CONSTRAINT AMFund_PK PRIMARY KEY (lngAMFundID)
);

-- Accounts of a funding source per category, as an earlier release kept
-- them (copied by the upgrade, not read otherwise).
CREATE SEQUENCE IF NOT EXISTS AMAssetFundAccSetting_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetFundAccSetting (
    lngAMAssetFundAccSettingID integer NOT NULL,
    lngAMAssetTypeID           integer NOT NULL DEFAULT 0,
    lngAMFundID                integer NOT NULL DEFAULT 0,
    lngOrganizationID          integer NOT NULL DEFAULT 0,
    lngAssetAccountID          integer NOT NULL DEFAULT 0,
    lngDepreciationAccountID   integer NOT NULL DEFAULT 0,
    lngDecAccountID            integer NOT NULL DEFAULT 0,
    lngOutAccountID            integer NOT NULL DEFAULT 0,
    lngPayAccountID            integer NOT NULL DEFAULT 0,
    lngFixUpAccountID          integer NOT NULL DEFAULT 0,
    lngSpecialAccountID        integer NOT NULL DEFAULT 0,
    lngAddToAccountID          integer NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetFundAccSetting_PK PRIMARY KEY (lngAMAssetFundAccSettingID)
);

-- The eight posting accounts of a funding source for a category and
-- organisation (0 = not set, inherited from the ancestors).  One row per
-- category, source and organisation: the resolver takes a single row.
CREATE SEQUENCE IF NOT EXISTS AMAssetFundAccSetting2_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetFundAccSetting2 (
    lngAMAssetFundAccSetting2ID integer NOT NULL,
    lngAMAssetTypeID            integer NOT NULL DEFAULT 0,
    lngAMFundID                 integer NOT NULL DEFAULT 0,
    lngOrganizationID           integer NOT NULL DEFAULT 0,
    lngAssetAccountID           integer NOT NULL DEFAULT 0,
    lngDepreciationAccountID    integer NOT NULL DEFAULT 0,
    lngDecAccountID             integer NOT NULL DEFAULT 0,
    lngOutAccountID             integer NOT NULL DEFAULT 0,
    lngPayAccountID             integer NOT NULL DEFAULT 0,
    lngFixUpAccountID           integer NOT NULL DEFAULT 0,
    lngSpecialAccountID         integer NOT NULL DEFAULT 0,
    lngAddToAccountID           integer NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetFundAccSetting2_PK PRIMARY KEY (lngAMAssetFundAccSetting2ID),
    CONSTRAINT AMAssetFundAccSetting2_UK UNIQUE (lngAMAssetTypeID, lngAMFundID, lngOrganizationID)
);

-- Links between an asset and an object of another module of the suite
-- (a device, a contract, ...), carried forward with their ids.
CREATE SEQUENCE IF NOT EXISTS AMAssetObjectMap_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetObjectMap (
    lngAMAssetObjectMapID integer      NOT NULL,
    lngAMAssetID          integer      NOT NULL DEFAULT 0,
    lngObjectTypeID       integer      NOT NULL DEFAULT 0,
    lngObjectID           integer      NOT NULL DEFAULT 0,
    strObjectCode         varchar(100) DEFAULT ' ',
    lngOrganizationID     integer      NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetObjectMap_PK PRIMARY KEY (lngAMAssetObjectMapID)
);
CREATE INDEX IF NOT EXISTS AMAssetObjectMap_Asset_IX ON AMAssetObjectMap (lngAMAssetID);

-- Layouts of the face (obverse) of a printed card or label.
CREATE SEQUENCE IF NOT EXISTS AMAssetObverse_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetObverse (
    lngAMAssetObverseID   integer      NOT NULL,
    strAMAssetObverseCode varchar(50)  DEFAULT ' ',
    strAMAssetObverseName varchar(100) DEFAULT ' ',
    lngTemplateID         integer      DEFAULT 0,
    lngOrganizationID     integer      DEFAULT 0,
    strNotes              varchar(255) DEFAULT ' ',
    CONSTRAINT AMAssetObverse_PK PRIMARY KEY (lngAMAssetObverseID)
);
