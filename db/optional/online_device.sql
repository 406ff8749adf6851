-- Online-device module (线上设备): flat copies of the asset register that the
-- device platform reads.  Installing it is optional; the component keeps
-- these tables in step only in an account set that has db_et_table_version,
-- by calling the module's procedures UpdateER_AmAsset (card),
-- UpdateER_AmAssetOther (other card), UpdateER_AUX (auxiliary equipment),
-- UpdateER_Label (labels) and UpdateER_Depreciation (period depreciation).
-- Each copy row records when it changed (strSyncTime) and whether the
-- platform has fetched it (bytSyncStatus 0 pending, 1 fetched), so the
-- platform reads only what changed.  blnIsDeleted keeps a removed record
-- until the platform has seen the removal.

-- Marker of the module, and the layout version of each of its tables.
CREATE SEQUENCE db_et_table_version_SEQ AS integer;
CREATE TABLE db_et_table_version (
    lngVersionID  integer      NOT NULL,
    strTableName  varchar(100) NOT NULL,
    strVersion    varchar(50)  NOT NULL DEFAULT '1',
    strUpdateTime varchar(19)  DEFAULT ' ',
    CONSTRAINT db_et_table_version_PK PRIMARY KEY (lngVersionID),
    CONSTRAINT db_et_table_version_UK UNIQUE (strTableName)
);

-- Current state of each asset (its latest card version).  blnIsInit is the
-- flag the card procedure is called with: 1 when the asset's opening record
-- is written.
CREATE SEQUENCE ER_AmAsset_SEQ AS integer;
CREATE TABLE ER_AmAsset (
    lngAMAssetID           integer      NOT NULL,
    lngAMAssetAlterID      integer      NOT NULL DEFAULT 0,
    lngOrganizationID      integer      NOT NULL DEFAULT 0,
    strAMAssetCode         varchar(60)  DEFAULT ' ',
    strAMAssetCardCode     varchar(60)  DEFAULT ' ',
    strAMAssetNationalCode varchar(60)  DEFAULT ' ',
    strAMAssetName         varchar(200) DEFAULT ' ',
    lngAMAssetTypeID       integer      NOT NULL DEFAULT 0,
    strAMAssetTypeName     varchar(100) DEFAULT ' ',
    lngDepartmentID        integer      NOT NULL DEFAULT 0,
    strDepartmentName      varchar(100) DEFAULT ' ',
    lngAMManagerTypeID     integer      NOT NULL DEFAULT 0,
    lngCustomerID          integer      NOT NULL DEFAULT 0,
    lngUnitID              integer      NOT NULL DEFAULT 0,
    dblQuantity            numeric      NOT NULL DEFAULT 0,
    bytAlterType           integer      NOT NULL DEFAULT 0,
    bytAssetState          integer      NOT NULL DEFAULT 0,
    bytDepreciationMethod  integer      NOT NULL DEFAULT 0,
    dblAmount              numeric      NOT NULL DEFAULT 0,
    dblDepreciation        numeric      NOT NULL DEFAULT 0,
    dblNetworth            numeric      NOT NULL DEFAULT 0,
    dblDecAmount           numeric      NOT NULL DEFAULT 0,
    dblUseage              numeric      NOT NULL DEFAULT 0,
    strCreateDate          varchar(10)  DEFAULT ' ',
    strStartDate           varchar(10)  DEFAULT ' ',
    blnIsInit              integer      NOT NULL DEFAULT 0,
    blnIsDeleted           integer      NOT NULL DEFAULT 0,
    strSyncTime            varchar(19)  DEFAULT ' ',
    bytSyncStatus          integer      NOT NULL DEFAULT 0,
    CONSTRAINT ER_AmAsset_PK PRIMARY KEY (lngAMAssetID)
);
CREATE INDEX ER_AmAsset_Sync_IX ON ER_AmAsset (lngOrganizationID, bytSyncStatus);

-- Descriptive data of each asset from its latest other-card version.
CREATE SEQUENCE ER_AmAssetOther_SEQ AS integer;
CREATE TABLE ER_AmAssetOther (
    lngAMAssetID           integer      NOT NULL,
    lngAMAssetOtherAlterID integer      NOT NULL DEFAULT 0,
    strAssetStyle          varchar(100) DEFAULT ' ',
    strAssetModel          varchar(100) DEFAULT ' ',
    strStyleModel          varchar(200) DEFAULT ' ',
    strBrandModel          varchar(100) DEFAULT ' ',
    strMaker               varchar(200) DEFAULT ' ',
    strMadeIn              varchar(100) DEFAULT ' ',
    strFactoryNo           varchar(100) DEFAULT ' ',
    strFactoryDate         varchar(20)  DEFAULT ' ',
    lngLocationID          integer      NOT NULL DEFAULT 0,
    strPosition            varchar(200) DEFAULT ' ',
    strVehicleNo           varchar(50)  DEFAULT ' ',
    strNotes               varchar(255) DEFAULT ' ',
    blnIsDeleted           integer      NOT NULL DEFAULT 0,
    strSyncTime            varchar(19)  DEFAULT ' ',
    bytSyncStatus          integer      NOT NULL DEFAULT 0,
    CONSTRAINT ER_AmAssetOther_PK PRIMARY KEY (lngAMAssetID)
);

CREATE SEQUENCE ER_AUX_SEQ AS integer;
CREATE TABLE ER_AUX (
    lngAMAssetAuxID   integer      NOT NULL,
    lngAMAssetID      integer      NOT NULL DEFAULT 0,
    strAMAssetAuxCode varchar(60)  DEFAULT ' ',
    strAMAssetAuxName varchar(200) DEFAULT ' ',
    strAuxStyle       varchar(100) DEFAULT ' ',
    strUnit           varchar(50)  DEFAULT ' ',
    dblQuantity       numeric      NOT NULL DEFAULT 0,
    dblAmount         numeric      NOT NULL DEFAULT 0,
    strStartDate      varchar(20)  DEFAULT ' ',
    blnIsDeleted      integer      NOT NULL DEFAULT 0,
    strSyncTime       varchar(19)  DEFAULT ' ',
    bytSyncStatus     integer      NOT NULL DEFAULT 0,
    CONSTRAINT ER_AUX_PK PRIMARY KEY (lngAMAssetAuxID)
);
CREATE INDEX ER_AUX_Asset_IX ON ER_AUX (lngAMAssetID);

-- Each label with its latest version: where the item is and who holds it.
CREATE SEQUENCE ER_Label_SEQ AS integer;
CREATE TABLE ER_Label (
    lngAMAssetLabelID      integer     NOT NULL,
    lngAMAssetID           integer     NOT NULL DEFAULT 0,
    lngAMAssetLabelAlterID integer     NOT NULL DEFAULT 0,
    strAMAssetLabelNo      varchar(60) DEFAULT ' ',
    lngOrderNo             integer     NOT NULL DEFAULT 0,
    lngAMAssetStateID      integer     NOT NULL DEFAULT 0,
    lngLocationID          integer     NOT NULL DEFAULT 0,
    lngDepartmentID        integer     NOT NULL DEFAULT 0,
    lngEmployeeID          integer     NOT NULL DEFAULT 0,
    strGuaranteeEndDate    varchar(20) DEFAULT ' ',
    lngOrganizationID      integer     NOT NULL DEFAULT 0,
    blnIsDeleted           integer     NOT NULL DEFAULT 0,
    strSyncTime            varchar(19) DEFAULT ' ',
    bytSyncStatus          integer     NOT NULL DEFAULT 0,
    CONSTRAINT ER_Label_PK PRIMARY KEY (lngAMAssetLabelID)
);
CREATE INDEX ER_Label_Asset_IX ON ER_Label (lngAMAssetID);

-- Depreciation of each asset per period, summed over its funding sources.
CREATE SEQUENCE ER_Depreciation_SEQ AS integer;
CREATE TABLE ER_Depreciation (
    lngAMAssetID         integer     NOT NULL,
    intYear              integer     NOT NULL,
    bytPeriod            integer     NOT NULL,
    lngOrganizationID    integer     NOT NULL DEFAULT 0,
    dblDepreciation      numeric     NOT NULL DEFAULT 0,   -- charge of the period
    dblTotalDepreciation numeric     NOT NULL DEFAULT 0,   -- accumulated after the period
    dblNetValue          numeric     NOT NULL DEFAULT 0,   -- cost less accumulated depreciation and impairment
    blnIsInit            integer     NOT NULL DEFAULT 0,
    strSyncTime          varchar(19) DEFAULT ' ',
    bytSyncStatus        integer     NOT NULL DEFAULT 0,
    CONSTRAINT ER_Depreciation_PK PRIMARY KEY (lngAMAssetID, intYear, bytPeriod)
);
CREATE INDEX ER_Depreciation_Period_IX ON ER_Depreciation (lngOrganizationID, intYear, bytPeriod);

INSERT INTO db_et_table_version (lngVersionID, strTableName, strVersion)
SELECT nextval('db_et_table_version_SEQ'), t.name, '1'
  FROM (VALUES ('ER_AmAsset'), ('ER_AmAssetOther'), ('ER_AUX'), ('ER_Label'), ('ER_Depreciation')) AS t(name);
