-- Records that hang off an asset card: the other (descriptive) card, labels,
-- custom values, auxiliary equipment, documents and pictures.
--
-- The other card and the labels repeat the card's head-and-versions model:
-- the head holds the first and latest version, each version names the card
-- version (lngAMAssetAlterID) it belongs to and the version it follows.
-- Texts the record objects always write (a blank value as one space, a blank
-- flexible key as 310 zeros) are NOT NULL: the loaders read without null
-- checks.  The carry-forward copies these tables between account sets with
-- "Select *", so the column order is part of the layout.

-- One row per asset.  The 68 attributes are the values of the first version;
-- later versions only move lngAMAssetOtherLastAlterID.
CREATE SEQUENCE IF NOT EXISTS AMAssetOther_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetOther (
    lngAMAssetID                   integer       NOT NULL,
    lngAMAssetOtherInitAlterID     integer       NOT NULL DEFAULT 0,
    lngAMAssetOtherLastAlterID     integer       NOT NULL DEFAULT 0,
    strAssetStyle                  varchar(100)  NOT NULL DEFAULT ' ',
    strAssetModel                  varchar(100)  NOT NULL DEFAULT ' ',
    strMadeIn                      varchar(100)  NOT NULL DEFAULT ' ',
    strPurpose                     varchar(200)  NOT NULL DEFAULT ' ',
    lngDepartmentID                integer       NOT NULL DEFAULT 0,
    lngMakeCountryID               integer       NOT NULL DEFAULT 0,
    lngManufacturerID              integer       NOT NULL DEFAULT 0,
    strFeatures                    varchar(200)  NOT NULL DEFAULT ' ',
    strLevel                       varchar(50)   NOT NULL DEFAULT ' ',
    strFactoryNo                   varchar(100)  NOT NULL DEFAULT ' ',
    strFactoryDate                 varchar(20)   NOT NULL DEFAULT ' ',
    lngManagementNatureID          integer       NOT NULL DEFAULT 0,
    strManagementType              varchar(100)  NOT NULL DEFAULT ' ',
    strStartDate                   varchar(20)   NOT NULL DEFAULT ' ',
    dblEvaluateValue               numeric       NOT NULL DEFAULT 0,
    lngIntegralityID               integer       NOT NULL DEFAULT 0,
    dblLandArea                    numeric       NOT NULL DEFAULT 0,
    strProjectNo                   varchar(100)  NOT NULL DEFAULT ' ',
    strScrapDate                   varchar(20)   NOT NULL DEFAULT ' ',
    blnIsAssure                    integer       NOT NULL DEFAULT 0,
    dblAssureAmount                numeric       NOT NULL DEFAULT 0,
    strAssureType                  varchar(100)  NOT NULL DEFAULT ' ',
    blnIsLend                      integer       NOT NULL DEFAULT 0,
    dblLendAmount                  numeric       NOT NULL DEFAULT 0,
    strLendType                    varchar(100)  NOT NULL DEFAULT ' ',
    dblRoadArea                    numeric       NOT NULL DEFAULT 0,
    strOutlayChannelText           varchar(200)  NOT NULL DEFAULT ' ',
    strOutlayChannelValue          varchar(100)  NOT NULL DEFAULT ' ',
    lngBuildStructureID            integer       NOT NULL DEFAULT 0,
    lngPropertyRightTypeID         integer       NOT NULL DEFAULT 0,
    strCompleteDate                varchar(20)   NOT NULL DEFAULT ' ',
    strGetType                     varchar(100)  NOT NULL DEFAULT ' ',
    strGetDate                     varchar(20)   NOT NULL DEFAULT ' ',
    strUseDate                     varchar(20)   NOT NULL DEFAULT ' ',
    dblUseArea                     numeric       NOT NULL DEFAULT 0,
    dblUnderUseArea                numeric       NOT NULL DEFAULT 0,
    dblBuildingArea                numeric       NOT NULL DEFAULT 0,
    dblUnderBuildingArea           numeric       NOT NULL DEFAULT 0,
    strPosition                    varchar(200)  NOT NULL DEFAULT ' ',
    strOwner                       varchar(200)  NOT NULL DEFAULT ' ',
    strAwardDate                   varchar(20)   NOT NULL DEFAULT ' ',
    strOwnership                   varchar(200)  NOT NULL DEFAULT ' ',
    dblFareArea                    numeric       NOT NULL DEFAULT 0,
    dblComputerArea                numeric       NOT NULL DEFAULT 0,
    dblMeetingArea                 numeric       NOT NULL DEFAULT 0,
    dblCarbarnArea                 numeric       NOT NULL DEFAULT 0,
    dblEateryArea                  numeric       NOT NULL DEFAULT 0,
    dblSwitchArea                  numeric       NOT NULL DEFAULT 0,
    lngRightNatureID               integer       NOT NULL DEFAULT 0,
    lngInAccountTypeID             integer       NOT NULL DEFAULT 0,
    lngLandSourceID                integer       NOT NULL DEFAULT 0,
    dblLandCardArea                numeric       NOT NULL DEFAULT 0,
    strMaker                       varchar(200)  NOT NULL DEFAULT ' ',
    strStyleModel                  varchar(200)  NOT NULL DEFAULT ' ',
    blnInventoryProfit             integer       NOT NULL DEFAULT 0,
    lngUseDirectionID              integer       NOT NULL DEFAULT 0,
    lngLocationID                  integer       NOT NULL DEFAULT 0,
    strVehicleNo                   varchar(50)   NOT NULL DEFAULT ' ',
    strBrandModel                  varchar(100)  NOT NULL DEFAULT ' ',
    dblExhaustVolume               numeric       NOT NULL DEFAULT 0,
    lngVehicleProductionID         integer       NOT NULL DEFAULT 0,
    lngVehicleUseID                integer       NOT NULL DEFAULT 0,
    lngSituationID                 integer       NOT NULL DEFAULT 0,
    lngCulturalRelicID             integer       NOT NULL DEFAULT 0,
    blnIsManagement                integer       NOT NULL DEFAULT 0,
    strManageCustomer              varchar(200)  NOT NULL DEFAULT ' ',
    strNotes                       varchar(255)  NOT NULL DEFAULT ' ',
    strFlexibleID                  varchar(310)  NOT NULL DEFAULT repeat('0', 310),
    CONSTRAINT AMAssetOther_PK PRIMARY KEY (lngAMAssetID)
);
CREATE INDEX IF NOT EXISTS AMAssetOther_InitAlter_IX ON AMAssetOther (lngAMAssetOtherInitAlterID);
CREATE INDEX IF NOT EXISTS AMAssetOther_LastAlter_IX ON AMAssetOther (lngAMAssetOtherLastAlterID);

CREATE SEQUENCE IF NOT EXISTS AMAssetOtherAlter_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetOtherAlter (
    lngAMAssetOtherAlterID         integer       NOT NULL,
    lngAMAssetID                   integer       NOT NULL DEFAULT 0,
    lngAMAssetAlterID              integer       NOT NULL DEFAULT 0,
    lngAMAssetOtherRecentAlterID   integer       NOT NULL DEFAULT 0,
    intYear                        integer       NOT NULL DEFAULT 0,
    bytPeriod                      integer       NOT NULL DEFAULT 0,
    bytAlterType                   integer       NOT NULL DEFAULT 0,
    strDate                        varchar(10)   NOT NULL DEFAULT ' ',
    strAssetStyle                  varchar(100)  NOT NULL DEFAULT ' ',
    strAssetModel                  varchar(100)  NOT NULL DEFAULT ' ',
    strMadeIn                      varchar(100)  NOT NULL DEFAULT ' ',
    strPurpose                     varchar(200)  NOT NULL DEFAULT ' ',
    lngDepartmentID                integer       NOT NULL DEFAULT 0,
    lngMakeCountryID               integer       NOT NULL DEFAULT 0,
    lngManufacturerID              integer       NOT NULL DEFAULT 0,
    strFeatures                    varchar(200)  NOT NULL DEFAULT ' ',
    strLevel                       varchar(50)   NOT NULL DEFAULT ' ',
    strFactoryNo                   varchar(100)  NOT NULL DEFAULT ' ',
    strFactoryDate                 varchar(20)   NOT NULL DEFAULT ' ',
    lngManagementNatureID          integer       NOT NULL DEFAULT 0,
    strManagementType              varchar(100)  NOT NULL DEFAULT ' ',
    strStartDate                   varchar(20)   NOT NULL DEFAULT ' ',
    dblEvaluateValue               numeric       NOT NULL DEFAULT 0,
    lngIntegralityID               integer       NOT NULL DEFAULT 0,
    dblLandArea                    numeric       NOT NULL DEFAULT 0,
    strProjectNo                   varchar(100)  NOT NULL DEFAULT ' ',
    strScrapDate                   varchar(20)   NOT NULL DEFAULT ' ',
    blnIsAssure                    integer       NOT NULL DEFAULT 0,
    dblAssureAmount                numeric       NOT NULL DEFAULT 0,
    strAssureType                  varchar(100)  NOT NULL DEFAULT ' ',
    blnIsLend                      integer       NOT NULL DEFAULT 0,
    dblLendAmount                  numeric       NOT NULL DEFAULT 0,
    strLendType                    varchar(100)  NOT NULL DEFAULT ' ',
    dblRoadArea                    numeric       NOT NULL DEFAULT 0,
    strOutlayChannelText           varchar(200)  NOT NULL DEFAULT ' ',
    strOutlayChannelValue          varchar(100)  NOT NULL DEFAULT ' ',
    lngBuildStructureID            integer       NOT NULL DEFAULT 0,
    lngPropertyRightTypeID         integer       NOT NULL DEFAULT 0,
    strCompleteDate                varchar(20)   NOT NULL DEFAULT ' ',
    strGetType                     varchar(100)  NOT NULL DEFAULT ' ',
    strGetDate                     varchar(20)   NOT NULL DEFAULT ' ',
    strUseDate                     varchar(20)   NOT NULL DEFAULT ' ',
    dblUseArea                     numeric       NOT NULL DEFAULT 0,
    dblUnderUseArea                numeric       NOT NULL DEFAULT 0,
    dblBuildingArea                numeric       NOT NULL DEFAULT 0,
    dblUnderBuildingArea           numeric       NOT NULL DEFAULT 0,
    strPosition                    varchar(200)  NOT NULL DEFAULT ' ',
    strOwner                       varchar(200)  NOT NULL DEFAULT ' ',
    strAwardDate                   varchar(20)   NOT NULL DEFAULT ' ',
    strOwnership                   varchar(200)  NOT NULL DEFAULT ' ',
    dblFareArea                    numeric       NOT NULL DEFAULT 0,
    dblComputerArea                numeric       NOT NULL DEFAULT 0,
    dblMeetingArea                 numeric       NOT NULL DEFAULT 0,
    dblCarbarnArea                 numeric       NOT NULL DEFAULT 0,
    dblEateryArea                  numeric       NOT NULL DEFAULT 0,
    dblSwitchArea                  numeric       NOT NULL DEFAULT 0,
    lngRightNatureID               integer       NOT NULL DEFAULT 0,
    lngInAccountTypeID             integer       NOT NULL DEFAULT 0,
    lngLandSourceID                integer       NOT NULL DEFAULT 0,
    dblLandCardArea                numeric       NOT NULL DEFAULT 0,
    strMaker                       varchar(200)  NOT NULL DEFAULT ' ',
    strStyleModel                  varchar(200)  NOT NULL DEFAULT ' ',
    blnInventoryProfit             integer       NOT NULL DEFAULT 0,
    lngUseDirectionID              integer       NOT NULL DEFAULT 0,
    lngLocationID                  integer       NOT NULL DEFAULT 0,
    strVehicleNo                   varchar(50)   NOT NULL DEFAULT ' ',
    strBrandModel                  varchar(100)  NOT NULL DEFAULT ' ',
    dblExhaustVolume               numeric       NOT NULL DEFAULT 0,
    lngVehicleProductionID         integer       NOT NULL DEFAULT 0,
    lngVehicleUseID                integer       NOT NULL DEFAULT 0,
    lngSituationID                 integer       NOT NULL DEFAULT 0,
    lngCulturalRelicID             integer       NOT NULL DEFAULT 0,
    blnIsManagement                integer       NOT NULL DEFAULT 0,
    strManageCustomer              varchar(200)  NOT NULL DEFAULT ' ',
    strNotes                       varchar(255)  NOT NULL DEFAULT ' ',
    strFlexibleID                  varchar(310)  NOT NULL DEFAULT repeat('0', 310),
    CONSTRAINT AMAssetOtherAlter_PK PRIMARY KEY (lngAMAssetOtherAlterID)
);
CREATE INDEX IF NOT EXISTS AMAssetOtherAlter_Asset_IX ON AMAssetOtherAlter (lngAMAssetID);
CREATE INDEX IF NOT EXISTS AMAssetOtherAlter_AssetAlter_IX ON AMAssetOtherAlter (lngAMAssetAlterID);

-- Labels: several per asset, each with its own number and versions.  Only
-- lngAMAssetLabelLastAlterID of the head changes after it is created.
CREATE SEQUENCE IF NOT EXISTS AMAssetLabel_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetLabel (
    lngOrderNo                 integer     NOT NULL DEFAULT 0,
    lngAMAssetID               integer     NOT NULL DEFAULT 0,
    lngAMAssetLabelID          integer     NOT NULL,
    strAMAssetLabelNo          varchar(60) NOT NULL DEFAULT ' ',
    lngAMAssetLabelInitAlterID integer     NOT NULL DEFAULT 0,
    lngAMAssetLabelLastAlterID integer     NOT NULL DEFAULT 0,
    lngOrganizationID          integer     NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetLabel_PK PRIMARY KEY (lngAMAssetLabelID)
);
CREATE INDEX IF NOT EXISTS AMAssetLabel_Asset_IX ON AMAssetLabel (lngAMAssetID);
CREATE INDEX IF NOT EXISTS AMAssetLabel_Organization_IX ON AMAssetLabel (lngOrganizationID);
CREATE INDEX IF NOT EXISTS AMAssetLabel_InitAlter_IX ON AMAssetLabel (lngAMAssetLabelInitAlterID);

-- Where the labelled item is, who holds it and its state, per version.
CREATE SEQUENCE IF NOT EXISTS AMAssetLabelAlter_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetLabelAlter (
    lngAMAssetID                 integer      NOT NULL DEFAULT 0,
    lngAMAssetLabelID            integer      NOT NULL DEFAULT 0,
    lngAMAssetLabelAlterID       integer      NOT NULL,
    lngAMAssetAlterID            integer      NOT NULL DEFAULT 0,
    strAMAssetLabelNo            varchar(60)  NOT NULL DEFAULT ' ',
    lngReceiptTypeID             integer      NOT NULL DEFAULT 0,
    intYear                      integer      NOT NULL DEFAULT 0,
    bytPeriod                    integer      NOT NULL DEFAULT 0,
    strDate                      varchar(10)  NOT NULL DEFAULT ' ',
    strReceiptNo                 varchar(50)  NOT NULL DEFAULT ' ',
    lngReceiptNo                 integer      NOT NULL DEFAULT 0,
    bytAlterType                 integer      NOT NULL DEFAULT 0,
    lngAMAssetStateID            integer      NOT NULL DEFAULT 0,
    lngLocationID                integer      NOT NULL DEFAULT 0,
    lngEmployeeID                integer      NOT NULL DEFAULT 0,
    lngOperatorID                integer      NOT NULL DEFAULT 0,
    strGuaranteeEndDate          varchar(20)  NOT NULL DEFAULT ' ',
    strNotes                     varchar(255) NOT NULL DEFAULT ' ',
    lngAMAssetLabelRecentAlterID integer      NOT NULL DEFAULT 0,
    lngOrganizationID            integer      NOT NULL DEFAULT 0,
    lngDepartmentID              integer      NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetLabelAlter_PK PRIMARY KEY (lngAMAssetLabelAlterID)
);
CREATE INDEX IF NOT EXISTS AMAssetLabelAlter_Label_IX ON AMAssetLabelAlter (lngAMAssetLabelID);
CREATE INDEX IF NOT EXISTS AMAssetLabelAlter_AssetAlter_IX ON AMAssetLabelAlter (lngAMAssetAlterID);
CREATE INDEX IF NOT EXISTS AMAssetLabelAlter_Period_IX ON AMAssetLabelAlter (lngOrganizationID, intYear, bytPeriod);

-- Twenty free values per label, overwritten by every save (not versioned).
CREATE SEQUENCE IF NOT EXISTS AMAssetLabelCustom_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetLabelCustom (
    lngAMAssetLabelID integer      NOT NULL,
    dblQuantity1      numeric      NOT NULL DEFAULT 0,
    dblQuantity2      numeric      NOT NULL DEFAULT 0,
    dblQuantity3      numeric      NOT NULL DEFAULT 0,
    dblQuantity4      numeric      NOT NULL DEFAULT 0,
    dblQuantity5      numeric      NOT NULL DEFAULT 0,
    dblAmount1        numeric      NOT NULL DEFAULT 0,
    dblAmount2        numeric      NOT NULL DEFAULT 0,
    dblAmount3        numeric      NOT NULL DEFAULT 0,
    dblAmount4        numeric      NOT NULL DEFAULT 0,
    dblAmount5        numeric      NOT NULL DEFAULT 0,
    strText1          varchar(255) NOT NULL DEFAULT ' ',
    strText2          varchar(255) NOT NULL DEFAULT ' ',
    strText3          varchar(255) NOT NULL DEFAULT ' ',
    strText4          varchar(255) NOT NULL DEFAULT ' ',
    strText5          varchar(255) NOT NULL DEFAULT ' ',
    strDate1          varchar(20)  NOT NULL DEFAULT ' ',
    strDate2          varchar(20)  NOT NULL DEFAULT ' ',
    strDate3          varchar(20)  NOT NULL DEFAULT ' ',
    strDate4          varchar(20)  NOT NULL DEFAULT ' ',
    strDate5          varchar(20)  NOT NULL DEFAULT ' ',
    CONSTRAINT AMAssetLabelCustom_PK PRIMARY KEY (lngAMAssetLabelID)
);

-- User-defined values of an asset, one row per asset; the category's
-- AMAssetTypeCustom rows give them captions.
CREATE SEQUENCE IF NOT EXISTS AMAssetCustom_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetCustom (
    lngAMAssetID   integer      NOT NULL,
    strCustom1     varchar(255) NOT NULL DEFAULT ' ',
    strCustom2     varchar(255) NOT NULL DEFAULT ' ',
    strCustom3     varchar(255) NOT NULL DEFAULT ' ',
    strCustom4     varchar(255) NOT NULL DEFAULT ' ',
    strCustom5     varchar(255) NOT NULL DEFAULT ' ',
    strCustom6     varchar(255) NOT NULL DEFAULT ' ',
    strCustom7     varchar(255) NOT NULL DEFAULT ' ',
    strCustom8     varchar(255) NOT NULL DEFAULT ' ',
    strCustom9     varchar(255) NOT NULL DEFAULT ' ',
    strCustom10    varchar(255) NOT NULL DEFAULT ' ',
    strCustom11    varchar(255) NOT NULL DEFAULT ' ',
    strCustom12    varchar(255) NOT NULL DEFAULT ' ',
    strCustom13    varchar(255) NOT NULL DEFAULT ' ',
    dblCustom1     numeric      NOT NULL DEFAULT 0,
    dblCustom2     numeric      NOT NULL DEFAULT 0,
    dblCustom3     numeric      NOT NULL DEFAULT 0,
    dblCustom4     numeric      NOT NULL DEFAULT 0,
    dblCustom5     numeric      NOT NULL DEFAULT 0,
    strCustomDate1 varchar(20)  NOT NULL DEFAULT ' ',
    strCustomDate2 varchar(20)  NOT NULL DEFAULT ' ',
    CONSTRAINT AMAssetCustom_PK PRIMARY KEY (lngAMAssetID)
);

-- Auxiliary equipment, any number of pieces per asset.
CREATE SEQUENCE IF NOT EXISTS AMAssetAux_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetAux (
    lngAMAssetID       integer      NOT NULL DEFAULT 0,
    lngAMAssetAuxID    integer      NOT NULL,
    strAMAssetAuxCode  varchar(60)  NOT NULL DEFAULT ' ',
    strAMAssetAuxName  varchar(200) NOT NULL DEFAULT ' ',
    lngAMAssetTypeID   integer      NOT NULL DEFAULT 0,
    lngAMAssetMethodID integer      NOT NULL DEFAULT 0,
    strAuxStyle        varchar(100) NOT NULL DEFAULT ' ',
    strFeatures        varchar(200) NOT NULL DEFAULT ' ',
    strPurpose         varchar(200) NOT NULL DEFAULT ' ',
    strUnit            varchar(50)  NOT NULL DEFAULT ' ',
    dblQuantity        numeric      NOT NULL DEFAULT 0,
    dblAmount          numeric      NOT NULL DEFAULT 0,
    strAddDate         varchar(20)  NOT NULL DEFAULT ' ',
    strStartDate       varchar(20)  NOT NULL DEFAULT ' ',
    strScraptDate      varchar(20)  NOT NULL DEFAULT ' ',
    lngSupplierID      integer      NOT NULL DEFAULT 0,
    strNotes           varchar(255) NOT NULL DEFAULT ' ',
    CONSTRAINT AMAssetAux_PK PRIMARY KEY (lngAMAssetAuxID)
);
CREATE INDEX IF NOT EXISTS AMAssetAux_Asset_IX ON AMAssetAux (lngAMAssetID);

-- Documents and pictures stored with an asset.  They hold files, so the
-- carry-forward copies them row by row rather than in one statement.
CREATE SEQUENCE IF NOT EXISTS AMAssetDocument_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetDocument (
    lngAMAssetDocumentID integer      NOT NULL,
    lngAMAssetID         integer      NOT NULL DEFAULT 0,
    strDocumentName      varchar(200) DEFAULT ' ',
    strDocumentAddress   varchar(500) DEFAULT ' ',   -- where the file came from
    strExtension         varchar(20)  DEFAULT ' ',   -- text after the address's last "."
    blbDocument          bytea,
    lngOrderNo           integer      NOT NULL DEFAULT 0,
    lngOperatorID        integer      NOT NULL DEFAULT 0,
    strCreateDate        varchar(20)  DEFAULT ' ',
    strNotes             varchar(255) DEFAULT ' ',
    CONSTRAINT AMAssetDocument_PK PRIMARY KEY (lngAMAssetDocumentID)
);
CREATE INDEX IF NOT EXISTS AMAssetDocument_Asset_IX ON AMAssetDocument (lngAMAssetID);

CREATE SEQUENCE IF NOT EXISTS AMAssetImage_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetImage (
    lngAMAssetImageID integer      NOT NULL,
    lngAMAssetID      integer      NOT NULL DEFAULT 0,
    strImageName      varchar(200) DEFAULT ' ',
    strExtension      varchar(20)  DEFAULT ' ',
    blbImage          bytea,
    lngOrderNo        integer      NOT NULL DEFAULT 0,
    strNotes          varchar(255) DEFAULT ' ',
    CONSTRAINT AMAssetImage_PK PRIMARY KEY (lngAMAssetImageID)
);
CREATE INDEX IF NOT EXISTS AMAssetImage_Asset_IX ON AMAssetImage (lngAMAssetID);
