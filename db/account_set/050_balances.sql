-- Period figures written by the depreciation routines: the funding-source
-- balances (AMAssetFundBalance and its working copy AMAssetFundBalanceEx),
-- their apportionment to departments and accounts (the two Amortise tables),
-- the posting journal (AMAssetFundDaily) and one row per depreciation run
-- (AMAssetDepreciation).  Every row carries lngOrganizationID and its period
-- (intYear, bytPeriod; the journal also YearPeriod = intYear * 100 + bytPeriod)
-- because the carry-forward selects and deletes them by those.
--
-- Amounts are NOT NULL DEFAULT 0 so that the sums over them that the
-- carry-forward takes never turn NULL.
--
-- Every statement leaves a set that has what it makes as it was, so that
-- `accountset secure` brings the sets of earlier releases up to date by
-- running this file again.

-- One funding-source version's figures for one period.  Both tables have
-- exactly these columns in this order (rows move between them and are
-- migrated column by column), hence no surrogate id: the key is the version
-- pair and the period.
CREATE SEQUENCE IF NOT EXISTS AMAssetFundBalance_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetFundBalance (
    lngAMAssetAlterID          integer NOT NULL,
    lngAMAssetFundAlterID      integer NOT NULL,
    lngAMAssetID               integer NOT NULL DEFAULT 0,
    lngAMFundID                integer NOT NULL DEFAULT 0,
    intYear                    integer NOT NULL,
    bytPeriod                  integer NOT NULL,
    dblInitDepreciation        numeric NOT NULL DEFAULT 0,   -- accumulated before the period
    dblDepreciation            numeric NOT NULL DEFAULT 0,   -- charge of the period
    dblInitWork                numeric NOT NULL DEFAULT 0,
    dblWork                    numeric NOT NULL DEFAULT 0,
    intInitPeriods             integer NOT NULL DEFAULT 0,
    intPeriods                 integer NOT NULL DEFAULT 0,
    dblExpectDepreciation      numeric NOT NULL DEFAULT 0,
    dblPeriodDepreciation      numeric NOT NULL DEFAULT 0,
    dblRenewDepreciation       numeric NOT NULL DEFAULT 0,
    dblIncreaseDepreciation    numeric NOT NULL DEFAULT 0,
    blnIsDepreciationReport    integer NOT NULL DEFAULT 0,
    dblYearDepreciationAmount  numeric NOT NULL DEFAULT 0,
    dblYearDepreciationRate    numeric NOT NULL DEFAULT 0,
    dblMonthDepreciationAmount numeric NOT NULL DEFAULT 0,
    dblMonthDepreciationRate   numeric NOT NULL DEFAULT 0,
    lngVoucherID               integer NOT NULL DEFAULT 0,
    lngOrganizationID          integer NOT NULL DEFAULT 0,
    -- The depreciation schedule the period's charge came from, kept by the
    -- depreciation routines so that the next period continues it:
    lngBasisAlterID            integer NOT NULL DEFAULT 0,   -- card version it runs on; 0 = not depreciating
    bytBasisMethod             integer NOT NULL DEFAULT 0,   -- method in force (2-6)
    dblBasisBook               numeric NOT NULL DEFAULT 0,   -- asset's carrying amount when it started
    dblBasisAmount             numeric NOT NULL DEFAULT 0,   -- asset's amount to depreciate on it
    dblBasisLife               numeric NOT NULL DEFAULT 0,   -- remaining periods (workload: work) when it started
    intBasisPeriods            integer NOT NULL DEFAULT 0,   -- periods depreciated on it, this one included
    dblBasisWork               numeric NOT NULL DEFAULT 0,   -- work depreciated on it, this period's included
    dblBasisDepreciation       numeric NOT NULL DEFAULT 0,   -- asset's depreciation on it, this period's included
    dblBasisShare              numeric NOT NULL DEFAULT 0,   -- this funding source's share of it
    blnBasisRemainder          integer NOT NULL DEFAULT 0,   -- 1: this source takes the rounding remainder
    dblBasisWeight             numeric NOT NULL DEFAULT 0,   -- the share as a fraction: this source's weight
    dblBasisWeights            numeric NOT NULL DEFAULT 0,   -- over all sources' (exact, so no cent is lost on a tie)
    CONSTRAINT AMAssetFundBalance_PK PRIMARY KEY (lngAMAssetAlterID, lngAMAssetFundAlterID, intYear, bytPeriod)
);
-- The period tables and the journal are indexed only by what reads them
-- (key, organisation and period, asset and period): every close writes
-- millions of their rows, and each index more costs every one of them.
CREATE INDEX IF NOT EXISTS AMAssetFundBalance_Period_IX ON AMAssetFundBalance (lngOrganizationID, intYear, bytPeriod);
CREATE INDEX IF NOT EXISTS AMAssetFundBalance_Asset_IX ON AMAssetFundBalance (lngAMAssetID, intYear, bytPeriod);

CREATE SEQUENCE IF NOT EXISTS AMAssetFundBalanceEx_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetFundBalanceEx (
    lngAMAssetAlterID          integer NOT NULL,
    lngAMAssetFundAlterID      integer NOT NULL,
    lngAMAssetID               integer NOT NULL DEFAULT 0,
    lngAMFundID                integer NOT NULL DEFAULT 0,
    intYear                    integer NOT NULL,
    bytPeriod                  integer NOT NULL,
    dblInitDepreciation        numeric NOT NULL DEFAULT 0,
    dblDepreciation            numeric NOT NULL DEFAULT 0,
    dblInitWork                numeric NOT NULL DEFAULT 0,
    dblWork                    numeric NOT NULL DEFAULT 0,
    intInitPeriods             integer NOT NULL DEFAULT 0,
    intPeriods                 integer NOT NULL DEFAULT 0,
    dblExpectDepreciation      numeric NOT NULL DEFAULT 0,
    dblPeriodDepreciation      numeric NOT NULL DEFAULT 0,
    dblRenewDepreciation       numeric NOT NULL DEFAULT 0,
    dblIncreaseDepreciation    numeric NOT NULL DEFAULT 0,
    blnIsDepreciationReport    integer NOT NULL DEFAULT 0,
    dblYearDepreciationAmount  numeric NOT NULL DEFAULT 0,
    dblYearDepreciationRate    numeric NOT NULL DEFAULT 0,
    dblMonthDepreciationAmount numeric NOT NULL DEFAULT 0,
    dblMonthDepreciationRate   numeric NOT NULL DEFAULT 0,
    lngVoucherID               integer NOT NULL DEFAULT 0,
    lngOrganizationID          integer NOT NULL DEFAULT 0,
    -- The depreciation schedule the period's charge came from, kept by the
    -- depreciation routines so that the next period continues it:
    lngBasisAlterID            integer NOT NULL DEFAULT 0,   -- card version it runs on; 0 = not depreciating
    bytBasisMethod             integer NOT NULL DEFAULT 0,   -- method in force (2-6)
    dblBasisBook               numeric NOT NULL DEFAULT 0,   -- asset's carrying amount when it started
    dblBasisAmount             numeric NOT NULL DEFAULT 0,   -- asset's amount to depreciate on it
    dblBasisLife               numeric NOT NULL DEFAULT 0,   -- remaining periods (workload: work) when it started
    intBasisPeriods            integer NOT NULL DEFAULT 0,   -- periods depreciated on it, this one included
    dblBasisWork               numeric NOT NULL DEFAULT 0,   -- work depreciated on it, this period's included
    dblBasisDepreciation       numeric NOT NULL DEFAULT 0,   -- asset's depreciation on it, this period's included
    dblBasisShare              numeric NOT NULL DEFAULT 0,   -- this funding source's share of it
    blnBasisRemainder          integer NOT NULL DEFAULT 0,   -- 1: this source takes the rounding remainder
    dblBasisWeight             numeric NOT NULL DEFAULT 0,   -- the share as a fraction: this source's weight
    dblBasisWeights            numeric NOT NULL DEFAULT 0,   -- over all sources' (exact, so no cent is lost on a tie)
    CONSTRAINT AMAssetFundBalanceEx_PK PRIMARY KEY (lngAMAssetAlterID, lngAMAssetFundAlterID, intYear, bytPeriod)
);
CREATE INDEX IF NOT EXISTS AMAssetFundBalanceEx_Period_IX ON AMAssetFundBalanceEx (lngOrganizationID, intYear, bytPeriod);
CREATE INDEX IF NOT EXISTS AMAssetFundBalanceEx_Asset_IX ON AMAssetFundBalanceEx (lngAMAssetID, intYear, bytPeriod);
-- The working copy's few rows with work: a period's balances look up its
-- recorded work without reading every row (a period depreciated again holds
-- them all).
CREATE INDEX IF NOT EXISTS AMAssetFundBalanceEx_Work_IX ON AMAssetFundBalanceEx (lngOrganizationID, intYear, bytPeriod)
    WHERE dblWork <> 0;
-- Before each apportionment the component sets the increase of every
-- working row of the organisation to 0.  Half-filled pages and no index on
-- the increase let each row's new version stay on its page without index
-- entries of its own (a heap-only update), five times cheaper.
DROP INDEX IF EXISTS AMAssetFundBalanceEx_Increase_IX;
ALTER TABLE AMAssetFundBalanceEx SET (fillfactor = 50);

-- A period's depreciation of one funding-source version apportioned over the
-- account lines of that version: bytDirection 1 the expense side
-- (折旧费用分摊), 2 the accumulated-depreciation side (累计折旧分摊).
-- Rows pass from the working copy to the final table with their ids, so
-- both tables should draw ids from AMAssetFundBalanceAmortise_SEQ.
CREATE SEQUENCE IF NOT EXISTS AMAssetFundBalanceAmortise_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetFundBalanceAmortise (
    lngAMAssetFundBalanceAmortiseID integer      NOT NULL,
    lngAMAssetAlterID               integer      NOT NULL DEFAULT 0,
    lngAMAssetFundAlterID           integer      NOT NULL DEFAULT 0,
    lngAMAssetID                    integer      NOT NULL DEFAULT 0,
    lngAMFundID                     integer      NOT NULL DEFAULT 0,
    intYear                         integer      NOT NULL DEFAULT 0,
    bytPeriod                       integer      NOT NULL DEFAULT 0,
    lngAMAssetFundAccAlterID        integer      NOT NULL DEFAULT 0,
    lngOrderNo                      integer      NOT NULL DEFAULT 0,
    bytDirection                    integer      NOT NULL DEFAULT 1,
    lngAccountID                    integer      NOT NULL DEFAULT 0,
    lngDepartmentID                 integer      NOT NULL DEFAULT 0,
    strFlexibleID                   varchar(310) DEFAULT ' ',
    blnDepreIncrease                integer      NOT NULL DEFAULT 0,
    dblRate                         numeric      NOT NULL DEFAULT 0,
    dblQuotiety                     numeric      NOT NULL DEFAULT 0,
    dblAmount                       numeric      NOT NULL DEFAULT 0,
    strRemark                       varchar(255) DEFAULT ' ',
    lngVoucherID                    integer      NOT NULL DEFAULT 0,
    lngOrganizationID               integer      NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetFundBalanceAmortise_PK PRIMARY KEY (lngAMAssetFundBalanceAmortiseID)
);
CREATE INDEX IF NOT EXISTS AMAssetFundBalanceAmortise_Period_IX ON AMAssetFundBalanceAmortise (lngOrganizationID, intYear, bytPeriod);
-- One asset's rows, deleted and rewritten when the asset alone is
-- recalculated in an apportioned period.
CREATE INDEX IF NOT EXISTS AMAssetFundBalanceAmortise_Asset_IX ON AMAssetFundBalanceAmortise (lngAMAssetID, intYear, bytPeriod);

CREATE SEQUENCE IF NOT EXISTS AMAssetFundBalanceAmortiseEx_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetFundBalanceAmortiseEx (
    lngAMAssetFundBalanceAmortiseID integer      NOT NULL,
    lngAMAssetAlterID               integer      NOT NULL DEFAULT 0,
    lngAMAssetFundAlterID           integer      NOT NULL DEFAULT 0,
    lngAMAssetID                    integer      NOT NULL DEFAULT 0,
    lngAMFundID                     integer      NOT NULL DEFAULT 0,
    intYear                         integer      NOT NULL DEFAULT 0,
    bytPeriod                       integer      NOT NULL DEFAULT 0,
    lngAMAssetFundAccAlterID        integer      NOT NULL DEFAULT 0,
    lngOrderNo                      integer      NOT NULL DEFAULT 0,
    bytDirection                    integer      NOT NULL DEFAULT 1,
    lngAccountID                    integer      NOT NULL DEFAULT 0,
    lngDepartmentID                 integer      NOT NULL DEFAULT 0,
    strFlexibleID                   varchar(310) DEFAULT ' ',
    blnDepreIncrease                integer      NOT NULL DEFAULT 0,
    dblRate                         numeric      NOT NULL DEFAULT 0,
    dblQuotiety                     numeric      NOT NULL DEFAULT 0,
    dblAmount                       numeric      NOT NULL DEFAULT 0,
    strRemark                       varchar(255) DEFAULT ' ',
    lngVoucherID                    integer      NOT NULL DEFAULT 0,
    lngOrganizationID               integer      NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetFundBalanceAmortiseEx_PK PRIMARY KEY (lngAMAssetFundBalanceAmortiseID)
);
CREATE INDEX IF NOT EXISTS AMAssetFundBalanceAmortiseEx_Period_IX ON AMAssetFundBalanceAmortiseEx (lngOrganizationID, intYear, bytPeriod);
CREATE INDEX IF NOT EXISTS AMAssetFundBalanceAmortiseEx_Asset_IX ON AMAssetFundBalanceAmortiseEx (lngAMAssetID, intYear, bytPeriod);

-- The posting journal: one row per funding-source version and posted
-- movement (addition, depreciation of a period, other alteration).  Beside
-- the changes it keeps running totals, which give the opening amounts of
-- the next account set:
--   dblAmountAlter, dblDeprectionAlter, dblDecAmountAlter, dblNetworthAlter
--       changes of cost, accumulated depreciation, impairment, residual value;
--   dblDeprection   depreciation charged in the period;
--   dblTotal*       the four values after the movement;
--   dblWork/intPeriods and their *Alter: work and periods of the movement;
--   dblTotalWorks/intTotalPeriods: expected total work and life;
--   dblTotalDepredWorks/intTotalDepredPeriods: work and periods depreciated.
-- A version with no journal row is "not posted".
CREATE SEQUENCE IF NOT EXISTS AMAssetFundDaily_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetFundDaily (
    lngAMAssetFundDailyID  integer     NOT NULL,
    lngAMAssetID           integer     NOT NULL DEFAULT 0,
    lngAMAssetAlterID      integer     NOT NULL DEFAULT 0,
    lngAMFundID            integer     NOT NULL DEFAULT 0,
    lngAMAssetFundAlterID  integer     NOT NULL DEFAULT 0,
    intYear                integer     NOT NULL DEFAULT 0,
    bytPeriod              integer     NOT NULL DEFAULT 0,
    YearPeriod             integer     NOT NULL DEFAULT 0,
    strDate                varchar(10) NOT NULL DEFAULT ' ',
    bytAlterType           integer     NOT NULL DEFAULT 0,
    blnFromDepreciation    integer     NOT NULL DEFAULT 0,   -- 1: the period's depreciation
    dblAmountAlter         numeric     NOT NULL DEFAULT 0,
    dblDeprection          numeric     NOT NULL DEFAULT 0,
    dblDeprectionAlter     numeric     NOT NULL DEFAULT 0,
    dblDecAmountAlter      numeric     NOT NULL DEFAULT 0,
    dblNetworthAlter       numeric     NOT NULL DEFAULT 0,
    dblTotalAmount         numeric     NOT NULL DEFAULT 0,
    dblTotalDeprection     numeric     NOT NULL DEFAULT 0,
    dblTotalDecAmount      numeric     NOT NULL DEFAULT 0,
    dblTotalNetWorth       numeric     NOT NULL DEFAULT 0,
    dblWork                numeric     NOT NULL DEFAULT 0,
    dblWorkAlter           numeric     NOT NULL DEFAULT 0,
    intPeriods             integer     NOT NULL DEFAULT 0,
    intPeriodAlter         integer     NOT NULL DEFAULT 0,
    dblTotalWorks          numeric     NOT NULL DEFAULT 0,
    intTotalPeriods        integer     NOT NULL DEFAULT 0,
    dblTotalDepredWorks    numeric     NOT NULL DEFAULT 0,
    intTotalDepredPeriods  integer     NOT NULL DEFAULT 0,
    lngVoucherID           integer     NOT NULL DEFAULT 0,
    lngOrganizationID      integer     NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetFundDaily_PK PRIMARY KEY (lngAMAssetFundDailyID)
);
CREATE INDEX IF NOT EXISTS AMAssetFundDaily_Period_IX ON AMAssetFundDaily (lngOrganizationID, YearPeriod);
CREATE INDEX IF NOT EXISTS AMAssetFundDaily_Asset_IX ON AMAssetFundDaily (lngAMAssetID, lngAMFundID, YearPeriod);

-- One row per depreciation run of an organisation and period.
CREATE SEQUENCE IF NOT EXISTS AMAssetDepreciation_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AMAssetDepreciation (
    lngAMAssetDepreciationID integer     NOT NULL,
    intYear                  integer     NOT NULL DEFAULT 0,
    bytPeriod                integer     NOT NULL DEFAULT 0,
    strDate                  varchar(10) NOT NULL DEFAULT ' ',
    strName                  varchar(60) NOT NULL DEFAULT ' ',
    blnIncreaseDepreciation  integer     NOT NULL DEFAULT 0,
    dblDepreciation          numeric     NOT NULL DEFAULT 0,
    lngVoucherID             integer     NOT NULL DEFAULT 0,
    lngOperatorID            integer     NOT NULL DEFAULT 0,
    lngOrganizationID        integer     NOT NULL DEFAULT 0,
    CONSTRAINT AMAssetDepreciation_PK PRIMARY KEY (lngAMAssetDepreciationID)
);
CREATE INDEX IF NOT EXISTS AMAssetDepreciation_Period_IX ON AMAssetDepreciation (lngOrganizationID, intYear, bytPeriod);

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
