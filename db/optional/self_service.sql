-- Asset self-service platform (资产自助管理平台): staff ask for changes to
-- assets (alteration requests) or for their disposal (reduction requests);
-- once handled, a request or a detail row is closed (blnIsClose = 1).
-- Optional: an account set uses the platform when it has AMAssetAlterItem.
-- At a carry-forward every row is copied with its id, then closed requests
-- and closed detail rows of the organisation are removed from the new
-- account set, so detail rows find their request through lngAlterRequestID /
-- lngAlterReduceID and requests carry lngOrganizationID.

-- Kinds of alteration a request may ask for.
CREATE SEQUENCE AlterType_SEQ AS integer;
CREATE TABLE AlterType (
    lngAlterTypeID   integer      NOT NULL,
    strAlterTypeCode varchar(50)  DEFAULT ' ',
    strAlterTypeName varchar(100) DEFAULT ' ',
    bytAlterType     integer      NOT NULL DEFAULT 3,   -- 1 addition, 2 decrease, 3 other change
    blnIsInActive    integer      NOT NULL DEFAULT 0,
    CONSTRAINT AlterType_PK PRIMARY KEY (lngAlterTypeID)
);

-- The fields a request can change.  bytItemType: 1 base data of the card,
-- 2 a label (entity), 3 auxiliary equipment (affiliate).  The Temp table is
-- the delivered catalogue, AMAssetAlterItem what an alteration type offers.
CREATE SEQUENCE AMAssetAlterItemTemp_SEQ AS integer;
CREATE TABLE AMAssetAlterItemTemp (
    lngAMAssetAlterItemTempID integer      NOT NULL,
    bytItemType               integer      NOT NULL DEFAULT 1,
    strTableName              varchar(100) DEFAULT ' ',
    strFieldName              varchar(100) DEFAULT ' ',
    strCaption                varchar(100) DEFAULT ' ',
    bytDataType               integer      NOT NULL DEFAULT 0,   -- 0 text, 1 number, 2 date, 3 reference id
    strRefTable               varchar(100) DEFAULT ' ',         -- code list of a reference id
    lngOrderNo                integer      NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetAlterItemTemp_PK PRIMARY KEY (lngAMAssetAlterItemTempID)
);

CREATE SEQUENCE AMAssetAlterItem_SEQ AS integer;
CREATE TABLE AMAssetAlterItem (
    lngAMAssetAlterItemID     integer      NOT NULL,
    lngAlterTypeID            integer      NOT NULL DEFAULT 0,
    lngAMAssetAlterItemTempID integer      NOT NULL DEFAULT 0,
    bytItemType               integer      NOT NULL DEFAULT 1,
    strTableName              varchar(100) DEFAULT ' ',
    strFieldName              varchar(100) DEFAULT ' ',
    strCaption                varchar(100) DEFAULT ' ',
    blnIsMust                 integer      NOT NULL DEFAULT 0,
    lngOrderNo                integer      NOT NULL DEFAULT 0,
    lngOrganizationID         integer      NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetAlterItem_PK PRIMARY KEY (lngAMAssetAlterItemID)
);
CREATE INDEX AMAssetAlterItem_AlterType_IX ON AMAssetAlterItem (lngAlterTypeID);

-- Alteration requests.  bytStatus: 0 entered, 1 submitted, 2 approved,
-- 3 rejected, 4 carried out.
CREATE SEQUENCE AMAssetAlterRequest_SEQ AS integer;
CREATE TABLE AMAssetAlterRequest (
    lngAlterRequestID    integer      NOT NULL,
    strRequestNO         varchar(50)  DEFAULT ' ',
    strDate              varchar(10)  DEFAULT ' ',
    lngAlterTypeID       integer      NOT NULL DEFAULT 0,
    lngApplyEmployeeID   integer      NOT NULL DEFAULT 0,
    lngApplyDepartmentID integer      NOT NULL DEFAULT 0,
    lngOperatorID        integer      NOT NULL DEFAULT 0,
    lngCheckerID         integer      NOT NULL DEFAULT 0,
    bytStatus            integer      NOT NULL DEFAULT 0,
    blnIsClose           integer      NOT NULL DEFAULT 0,
    strReason            varchar(500) DEFAULT ' ',
    strNotes             varchar(255) DEFAULT ' ',
    lngOrganizationID    integer      NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetAlterRequest_PK PRIMARY KEY (lngAlterRequestID)
);
CREATE INDEX AMAssetAlterRequest_Organization_IX ON AMAssetAlterRequest (lngOrganizationID, blnIsClose);

-- Requested changes to a card's base data: one field, old and new value
-- (value as stored, text as shown).  lngAMAssetAlterID: the card version
-- that carried the change out.
CREATE SEQUENCE AMAssetAlterReqBaseDetail_SEQ AS integer;
CREATE TABLE AMAssetAlterReqBaseDetail (
    lngAlterReqBaseDetailID integer      NOT NULL,
    lngAlterRequestID       integer      NOT NULL DEFAULT 0,
    lngAMAssetID            integer      NOT NULL DEFAULT 0,
    lngAMAssetAlterItemID   integer      NOT NULL DEFAULT 0,
    strFieldName            varchar(100) DEFAULT ' ',
    strOldValue             varchar(500) DEFAULT ' ',
    strNewValue             varchar(500) DEFAULT ' ',
    strOldText              varchar(500) DEFAULT ' ',
    strNewText              varchar(500) DEFAULT ' ',
    lngAMAssetAlterID       integer      NOT NULL DEFAULT 0,
    blnIsClose              integer      NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetAlterReqBaseDetail_PK PRIMARY KEY (lngAlterReqBaseDetailID)
);
CREATE INDEX AMAssetAlterReqBaseDetail_Request_IX ON AMAssetAlterReqBaseDetail (lngAlterRequestID);

-- Requested changes to a label (where the item is, who holds it, ...).
CREATE SEQUENCE AMAssetAlterReqEntityDetail_SEQ AS integer;
CREATE TABLE AMAssetAlterReqEntityDetail (
    lngAlterReqEntityDetailID integer      NOT NULL,
    lngAlterRequestID         integer      NOT NULL DEFAULT 0,
    lngAMAssetID              integer      NOT NULL DEFAULT 0,
    lngAMAssetLabelID         integer      NOT NULL DEFAULT 0,
    lngAMAssetAlterItemID     integer      NOT NULL DEFAULT 0,
    strFieldName              varchar(100) DEFAULT ' ',
    strOldValue               varchar(500) DEFAULT ' ',
    strNewValue               varchar(500) DEFAULT ' ',
    strOldText                varchar(500) DEFAULT ' ',
    strNewText                varchar(500) DEFAULT ' ',
    lngAMAssetLabelAlterID    integer      NOT NULL DEFAULT 0,
    blnIsClose                integer      NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetAlterReqEntityDetail_PK PRIMARY KEY (lngAlterReqEntityDetailID)
);
CREATE INDEX AMAssetAlterReqEntityDetail_Request_IX ON AMAssetAlterReqEntityDetail (lngAlterRequestID);

-- Requested changes to auxiliary equipment.  bytOperation: 1 add a piece,
-- 2 change a field, 3 remove the piece.
CREATE SEQUENCE AMAssetAlterReqAffiliateDetail_SEQ AS integer;
CREATE TABLE AMAssetAlterReqAffiliateDetail (
    lngAlterReqAffiliateDetailID integer      NOT NULL,
    lngAlterRequestID            integer      NOT NULL DEFAULT 0,
    lngAMAssetID                 integer      NOT NULL DEFAULT 0,
    lngAMAssetAuxID              integer      NOT NULL DEFAULT 0,
    bytOperation                 integer      NOT NULL DEFAULT 2,
    lngAMAssetAlterItemID        integer      NOT NULL DEFAULT 0,
    strFieldName                 varchar(100) DEFAULT ' ',
    strOldValue                  varchar(500) DEFAULT ' ',
    strNewValue                  varchar(500) DEFAULT ' ',
    blnIsClose                   integer      NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetAlterReqAffiliateDetail_PK PRIMARY KEY (lngAlterReqAffiliateDetailID)
);
CREATE INDEX AMAssetAlterReqAffiliateDetail_Request_IX ON AMAssetAlterReqAffiliateDetail (lngAlterRequestID);

-- Reduction (disposal) requests, with the way of decrease asked for.
CREATE SEQUENCE AMAssetAlterReduce_SEQ AS integer;
CREATE TABLE AMAssetAlterReduce (
    lngAlterReduceID     integer      NOT NULL,
    strReduceNO          varchar(50)  DEFAULT ' ',
    strDate              varchar(10)  DEFAULT ' ',
    lngAMAssetMethodID   integer      NOT NULL DEFAULT 0,
    lngApplyEmployeeID   integer      NOT NULL DEFAULT 0,
    lngApplyDepartmentID integer      NOT NULL DEFAULT 0,
    lngOperatorID        integer      NOT NULL DEFAULT 0,
    lngCheckerID         integer      NOT NULL DEFAULT 0,
    bytStatus            integer      NOT NULL DEFAULT 0,
    blnIsClose           integer      NOT NULL DEFAULT 0,
    strReason            varchar(500) DEFAULT ' ',
    strNotes             varchar(255) DEFAULT ' ',
    lngOrganizationID    integer      NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetAlterReduce_PK PRIMARY KEY (lngAlterReduceID)
);
CREATE INDEX AMAssetAlterReduce_Organization_IX ON AMAssetAlterReduce (lngOrganizationID, blnIsClose);

-- The assets of a reduction request; lngAMAssetAlterID is the decrease
-- version that carried it out.
CREATE SEQUENCE AMAssetAlterRedBaseDetail_SEQ AS integer;
CREATE TABLE AMAssetAlterRedBaseDetail (
    lngAlterRedBaseDetailID integer      NOT NULL,
    lngAlterReduceID        integer      NOT NULL DEFAULT 0,
    lngAMAssetID            integer      NOT NULL DEFAULT 0,
    dblQuantity             numeric      NOT NULL DEFAULT 0,
    dblAmount               numeric      NOT NULL DEFAULT 0,
    lngAMAssetAlterID       integer      NOT NULL DEFAULT 0,
    blnIsClose              integer      NOT NULL DEFAULT 0,
    strNotes                varchar(255) DEFAULT ' ',
    CONSTRAINT AMAssetAlterRedBaseDetail_PK PRIMARY KEY (lngAlterRedBaseDetailID)
);
CREATE INDEX AMAssetAlterRedBaseDetail_Reduce_IX ON AMAssetAlterRedBaseDetail (lngAlterReduceID);
