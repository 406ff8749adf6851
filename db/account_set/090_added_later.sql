-- What account sets made by earlier releases lack.  A new account set gets
-- it with the rest; `accountset secure` (run by the embedded server's start)
-- runs this file again on every set, so each statement must leave a set
-- that has it as it was.

-- One asset's apportionment rows, deleted and rewritten when the asset alone
-- is recalculated in a depreciated period.
CREATE INDEX IF NOT EXISTS AMAssetFundBalanceAmortise_Asset_IX ON AMAssetFundBalanceAmortise (lngAMAssetID, intYear, bytPeriod);
CREATE INDEX IF NOT EXISTS AMAssetFundBalanceAmortiseEx_Asset_IX ON AMAssetFundBalanceAmortiseEx (lngAMAssetID, intYear, bytPeriod);

-- The few account lines that take increased depreciation, which every
-- apportionment looks for among all lines, and the working copy's few rows
-- with work: a period's balances look up its recorded work without reading
-- every row (a period depreciated again holds them all).
CREATE INDEX IF NOT EXISTS AMAssetFundAccAlter_Increase_IX ON AMAssetFundAccAlter (lngAMAssetFundAlterID)
    WHERE blnDepreIncrease <> 0;
CREATE INDEX IF NOT EXISTS AMAssetFundBalanceEx_Work_IX ON AMAssetFundBalanceEx (lngOrganizationID, intYear, bytPeriod)
    WHERE dblWork <> 0;

-- Before each apportionment the component sets the increase of every
-- working row of the organisation to 0.  Half-filled pages and no index on
-- the increase let each row's new version stay on its page without index
-- entries of its own (a heap-only update), five times cheaper.
DROP INDEX IF EXISTS AMAssetFundBalanceEx_Increase_IX;
ALTER TABLE AMAssetFundBalanceEx SET (fillfactor = 50);

-- Indexes no statement reads by, which earlier releases kept up on every
-- row a close writes.
DROP INDEX IF EXISTS AMAssetFundBalance_FundAlter_IX;
DROP INDEX IF EXISTS AMAssetFundBalanceEx_FundAlter_IX;
DROP INDEX IF EXISTS AMAssetFundBalanceAmortise_FundAlter_IX;
DROP INDEX IF EXISTS AMAssetFundBalanceAmortiseEx_FundAlter_IX;
DROP INDEX IF EXISTS AMAssetFundDaily_AssetAlter_IX;
DROP INDEX IF EXISTS AMAssetFundDaily_FundAlter_IX;

-- The depreciation schedule an opening funding-source version (blnIsInit = 1,
-- written by the carry-forward) continues: the basis columns of the old
-- account set's last balance row of that source, with the figures the
-- source opens on.  The period balances read it where the new account set
-- has no earlier period of its own, so that a declining or sum-of-years'
-- schedule keeps its depreciation years, periods and remainders across the
-- year end.  lngBasisAlterID names the opening card version when the old
-- schedule runs on into the new set's first period, 0 when a new one starts.
CREATE TABLE IF NOT EXISTS AMAssetFundBasis (
    lngAMAssetFundAlterID  integer NOT NULL,               -- the opening funding-source version
    lngAMAssetID           integer NOT NULL DEFAULT 0,
    lngAMFundID            integer NOT NULL DEFAULT 0,
    lngOrganizationID      integer NOT NULL DEFAULT 0,
    dblInitDepreciation    numeric NOT NULL DEFAULT 0,     -- accumulated depreciation it opens with
    intInitPeriods         integer NOT NULL DEFAULT 0,     -- periods used
    dblInitWork            numeric NOT NULL DEFAULT 0,     -- work done
    lngBasisAlterID        integer NOT NULL DEFAULT 0,
    bytBasisMethod         integer NOT NULL DEFAULT 0,
    dblBasisBook           numeric NOT NULL DEFAULT 0,
    dblBasisAmount         numeric NOT NULL DEFAULT 0,
    dblBasisLife           numeric NOT NULL DEFAULT 0,
    intBasisPeriods        integer NOT NULL DEFAULT 0,
    dblBasisWork           numeric NOT NULL DEFAULT 0,
    dblBasisDepreciation   numeric NOT NULL DEFAULT 0,
    dblBasisShare          numeric NOT NULL DEFAULT 0,
    blnBasisRemainder      integer NOT NULL DEFAULT 0,
    dblBasisWeight         numeric NOT NULL DEFAULT 0,
    dblBasisWeights        numeric NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetFundBasis_PK PRIMARY KEY (lngAMAssetFundAlterID)
);
CREATE INDEX IF NOT EXISTS AMAssetFundBasis_Asset_IX ON AMAssetFundBasis (lngAMAssetID, lngAMFundID);
CREATE INDEX IF NOT EXISTS AMAssetFundBasis_Org_IX ON AMAssetFundBasis (lngOrganizationID);
