-- Funding sources of an asset: one head row per asset and source
-- (AMAssetFund) and a chain of versions (AMAssetFundAlter), each tied to the
-- asset version it belongs to; the account and department lines
-- (AMAssetFundAccAlter) and the cost lines (AMAssetFundCostAlter) of a
-- funding-source version.

-- No id of its own: an asset has at most one head per funding source.
CREATE SEQUENCE IF NOT EXISTS AMAssetFund_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetFund (
    lngAMAssetID              integer NOT NULL,
    lngAMFundID               integer NOT NULL,
    lngAMAssetFundInitAlterID integer NOT NULL DEFAULT 0,
    lngAMAssetFundLastAlterID integer NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetFund_PK PRIMARY KEY (lngAMAssetID, lngAMFundID)
);
CREATE INDEX IF NOT EXISTS AMAssetFund_InitAlter_IX ON AMAssetFund (lngAMAssetFundInitAlterID);
CREATE INDEX IF NOT EXISTS AMAssetFund_LastAlter_IX ON AMAssetFund (lngAMAssetFundLastAlterID);

-- Physical column order matters: the carry-forward inserts opening versions
-- into this table without a column list, giving lngAMAssetAlterID second.
-- The funding-source object names its 43 columns in its own order, with
-- lngAMAssetAlterID after the accounts; that insert has a column list, so
-- the carry-forward's order is the one kept here.
CREATE SEQUENCE IF NOT EXISTS AMAssetFundAlter_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetFundAlter (
    lngAMAssetFundAlterID         integer       NOT NULL,
    lngAMAssetAlterID             integer       NOT NULL DEFAULT 0,
    lngAMAssetID                  integer       NOT NULL DEFAULT 0,
    lngAMFundID                   integer       NOT NULL DEFAULT 0,
    lngReceiptTypeID              integer       NOT NULL DEFAULT 0,
    intYear                       integer       NOT NULL DEFAULT 0,
    bytPeriod                     integer       NOT NULL DEFAULT 0,
    strDate                       varchar(10)   NOT NULL DEFAULT ' ',
    strReceiptNO                  varchar(50)   NOT NULL DEFAULT ' ',
    lngReceiptNO                  integer       NOT NULL DEFAULT 0,
    dblAmount                     numeric       NOT NULL DEFAULT 0,
    dblDepreciation               numeric       NOT NULL DEFAULT 0,
    dblNetworth                   numeric       NOT NULL DEFAULT 0,
    dblDecAmount                  numeric       NOT NULL DEFAULT 0,
    dblAmountAlter                numeric       NOT NULL DEFAULT 0,
    dblDepreciationAlter          numeric       NOT NULL DEFAULT 0,
    dblNetworthAlter              numeric       NOT NULL DEFAULT 0,
    dblDecAmountAlter             numeric       NOT NULL DEFAULT 0,
    dblTransferAmountAlter        numeric       NOT NULL DEFAULT 0,
    dblTransferDepreciationAlter  numeric       NOT NULL DEFAULT 0,
    dblTransferDecAmountAlter     numeric       NOT NULL DEFAULT 0,
    bytAlterType                  integer       NOT NULL DEFAULT 0,
    blnIsVoid                     integer       NOT NULL DEFAULT 0,
    blnIsInit                     integer       NOT NULL DEFAULT 0,
    lngOperatorID                 integer       NOT NULL DEFAULT 0,
    lngVoucherID                  integer       NOT NULL DEFAULT 0,
    lngAssetAccountID             integer       NOT NULL DEFAULT 0,
    lngDepreciationAccountID      integer       NOT NULL DEFAULT 0,
    lngDecAccountID               integer       NOT NULL DEFAULT 0,
    lngOutAccountID               integer       NOT NULL DEFAULT 0,
    lngPayAccountID               integer       NOT NULL DEFAULT 0,
    lngFixUpAccountID             integer       NOT NULL DEFAULT 0,
    lngSpecialAccountID           integer       NOT NULL DEFAULT 0,
    lngAddToAccountID             integer       NOT NULL DEFAULT 0,
    lngAMAssetFundRecentAlterID   integer       NOT NULL DEFAULT 0,
    lngAMAssetFundRelativeAlterID integer       NOT NULL DEFAULT 0,
    strDepartmentStr              varchar(2000) NOT NULL DEFAULT ' ',
    strAccountStr                 varchar(2000) NOT NULL DEFAULT ' ',
    strRelativeAccountStr         varchar(2000) NOT NULL DEFAULT ' ',
    strCurrencyStr                varchar(2000) NOT NULL DEFAULT ' ',
    bytStatus                     integer       NOT NULL DEFAULT 0,   -- 2 = approved
    strNotes                      varchar(255)  NOT NULL DEFAULT ' ',
    lngOrganizationID             integer       NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetFundAlter_PK PRIMARY KEY (lngAMAssetFundAlterID)
);
CREATE INDEX IF NOT EXISTS AMAssetFundAlter_Asset_IX ON AMAssetFundAlter (lngAMAssetID, lngAMFundID);
CREATE INDEX IF NOT EXISTS AMAssetFundAlter_AssetAlter_IX ON AMAssetFundAlter (lngAMAssetAlterID);
CREATE INDEX IF NOT EXISTS AMAssetFundAlter_Period_IX ON AMAssetFundAlter (lngOrganizationID, intYear, bytPeriod);

-- Where the depreciation of a funding-source version is charged: account,
-- department, share and department coefficient.  blnDepreIncrease <> 0 marks
-- the lines of increased depreciation.
CREATE SEQUENCE IF NOT EXISTS AMAssetFundAccAlter_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetFundAccAlter (
    lngAMAssetFundAccAlterID integer      NOT NULL,
    lngAMAssetFundAlterID    integer      NOT NULL DEFAULT 0,
    lngAccountID             integer      NOT NULL DEFAULT 0,
    lngDepartmentID          integer      NOT NULL DEFAULT 0,
    strFlexibleID            varchar(310) NOT NULL DEFAULT ' ',
    lngOrderNo               integer      NOT NULL DEFAULT 0,
    dblQuotiety              numeric      NOT NULL DEFAULT 0,
    dblRate                  numeric      NOT NULL DEFAULT 0,
    blnDepreIncrease         integer      NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetFundAccAlter_PK PRIMARY KEY (lngAMAssetFundAccAlterID)
);
CREATE INDEX IF NOT EXISTS AMAssetFundAccAlter_FundAlter_IX ON AMAssetFundAccAlter (lngAMAssetFundAlterID);
-- The few lines that take increased depreciation, which every apportionment
-- looks for among all lines.
CREATE INDEX IF NOT EXISTS AMAssetFundAccAlter_Increase_IX ON AMAssetFundAccAlter (lngAMAssetFundAlterID)
    WHERE blnDepreIncrease <> 0;

-- Cost lines of a funding-source version: per method, account and currency
-- the amount in currency, the rate and the base-currency amounts, with the
-- accounts of the parallel (budget) entry and the auxiliary items.  The
-- flexible key is stored exactly as given, possibly empty.
CREATE SEQUENCE IF NOT EXISTS AMAssetFundCostAlter_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetFundCostAlter (
    lngAMAssetFundCostAlterID integer      NOT NULL,
    lngAMAssetFundAlterID     integer      NOT NULL DEFAULT 0,
    lngAMAssetMethodID        integer      NOT NULL DEFAULT 0,
    lngAccountID              integer      NOT NULL DEFAULT 0,
    lngCurrencyID             integer      NOT NULL DEFAULT 0,
    dblRate                   numeric      NOT NULL DEFAULT 0,
    dblCurrAmount             numeric      NOT NULL DEFAULT 0,
    dblAmount                 numeric      NOT NULL DEFAULT 0,
    dblDepreciation           numeric      NOT NULL DEFAULT 0,
    dblDecAmount              numeric      NOT NULL DEFAULT 0,
    lngBDebitAccountID        integer      NOT NULL DEFAULT 0,
    lngBCreditAccountID       integer      NOT NULL DEFAULT 0,
    bytQutlayNature           integer      NOT NULL DEFAULT 0,
    lngCustomerID             integer      NOT NULL DEFAULT 0,
    lngDepartmentID           integer      NOT NULL DEFAULT 0,
    lngEmployeeID             integer      NOT NULL DEFAULT 0,
    lngClassID1               integer      NOT NULL DEFAULT 0,
    lngClassID2               integer      NOT NULL DEFAULT 0,
    strFlexibleID             varchar(310) DEFAULT ' ',
    CONSTRAINT AMAssetFundCostAlter_PK PRIMARY KEY (lngAMAssetFundCostAlterID)
);
CREATE INDEX IF NOT EXISTS AMAssetFundCostAlter_FundAlter_IX ON AMAssetFundCostAlter (lngAMAssetFundAlterID);
