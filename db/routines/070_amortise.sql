-- Depreciation routines, part 7: apportioning a period's depreciation to the
-- places that bear it (折旧费用分摊).
--
-- For every balance row of a period with a charge, the funding-source
-- version's account lines (AMAssetFundAccAlter) share it: a line weighs its
-- share dblRate (percent; the department coefficient dblQuotiety is the
-- department's share, shown beside it, not a second weight); lines flagged for increases (blnDepreIncrease <> 0) share
-- the row's increased depreciation, the other lines the rest (everything
-- when no line is flagged).  Each line gets its weight's part rounded to the
-- cent and the heaviest line (then the first in order) the remainder, so the
-- parts add up to the charge exactly; weights that are all 0 count alike.  A
-- charge without lines to take it stays in one part without account
-- (lngAccountID 0: unapportioned, 未分摊).  These are the expense rows
-- (bytDirection 1); each charge also gives one row on the source's
-- accumulated-depreciation account (bytDirection 2).
--
-- p_working 1: the latest depreciated period, read from the working copy
-- (whose increases the component clears outside trade 32), its rows written
-- to AMAssetFundBalanceAmortise and, with the same ids, to the working copy
-- AMAssetFundBalanceAmortiseEx.  p_working 0: a period of the history an
-- upgrade brings from the older module, read from its balances and written
-- to AMAssetFundBalanceAmortise alone in the form of that module's own
-- apportionment, which its vouchers were made from: the account lines'
-- rows alone, each remark numbered by its line (1折旧费用分摊, ...), no
-- part without account and no accumulated-depreciation side.
-- p_asset 0 apportions the organisation's period, else that asset's rows
-- alone (an asset recalculated in it); each call is planned for its scope,
-- so that one asset's rows are found by the asset.

DROP FUNCTION IF EXISTS AMAssetWriteBalanceAmortise(integer, integer, integer);
DROP FUNCTION IF EXISTS AMAssetWriteBalanceAmortise(integer, integer, integer, integer);

-- The apportionment rows of one period, with their ids: the organisation's
-- (p_whole) or asset p_asset's.  Inlined into its caller's statement, where
-- p_whole is a constant: one asset's statement then finds its rows by the
-- asset, and one cached plan serves every asset.
CREATE OR REPLACE FUNCTION AMAssetAmortiseRows(p_year integer, p_period integer, p_org integer, p_whole boolean,
                                               p_asset integer, p_working integer)
RETURNS SETOF AMAssetFundBalanceAmortise LANGUAGE sql STABLE AS $$
    WITH charged AS (
        SELECT x.lngAMAssetAlterID, x.lngAMAssetFundAlterID, x.lngAMAssetID, x.lngAMFundID, x.lngVoucherID,
               x.dblDepreciation, fv.lngDepreciationAccountID, coalesce(c.lngDepartmentID, 0) AS lngDepartmentID,
               CASE WHEN EXISTS (SELECT 1 FROM AMAssetFundAccAlter l
                                  WHERE l.lngAMAssetFundAlterID = x.lngAMAssetFundAlterID AND l.blnDepreIncrease <> 0)
                    THEN least(x.dblIncreaseDepreciation, x.dblDepreciation) ELSE 0 END AS dblIncrease
          FROM (SELECT e.lngAMAssetAlterID, e.lngAMAssetFundAlterID, e.lngAMAssetID, e.lngAMFundID,
                       e.lngVoucherID, e.dblDepreciation, e.dblIncreaseDepreciation, e.lngOrganizationID,
                       e.intYear, e.bytPeriod
                  FROM AMAssetFundBalanceEx e WHERE p_working = 1
                UNION ALL
                SELECT b.lngAMAssetAlterID, b.lngAMAssetFundAlterID, b.lngAMAssetID, b.lngAMFundID,
                       b.lngVoucherID, b.dblDepreciation, b.dblIncreaseDepreciation, b.lngOrganizationID,
                       b.intYear, b.bytPeriod
                  FROM AMAssetFundBalance b WHERE p_working = 0) x
          JOIN AMAssetFundAlter fv ON fv.lngAMAssetFundAlterID = x.lngAMAssetFundAlterID
          LEFT JOIN AMAssetAlter c ON c.lngAMAssetAlterID = x.lngAMAssetAlterID
         WHERE x.lngOrganizationID = p_org AND x.intYear = p_year AND x.bytPeriod = p_period
           AND (p_whole OR x.lngAMAssetID = p_asset) AND x.dblDepreciation <> 0
    ),
    lined AS (
        SELECT ch.*, l.lngAMAssetFundAccAlterID, l.lngOrderNo, l.lngAccountID AS lngLineAccountID,
               l.lngDepartmentID AS lngLineDepartmentID, l.strFlexibleID, l.blnDepreIncrease, l.dblRate,
               l.dblQuotiety,
               CASE WHEN l.blnDepreIncrease <> 0 THEN ch.dblIncrease ELSE ch.dblDepreciation - ch.dblIncrease END AS dblGroup,
               l.dblRate AS dblWeight, l.blnDepreIncrease <> 0 AS blnIncreaseGroup
          FROM charged ch
          JOIN AMAssetFundAccAlter l ON l.lngAMAssetFundAlterID = ch.lngAMAssetFundAlterID
    ),
    -- One window, sorted once, for the rank and the group's sums; the sum of
    -- the parts below runs over the same order without sorting again, since
    -- it partitions by the same columns rather than by an expression.
    weighed AS (
        SELECT ln.*,
               sum(ln.dblWeight) OVER g AS dblGroupWeight, count(*) OVER g AS intGroupLines,
               row_number() OVER g AS intRank
          FROM lined ln
        WINDOW g AS (PARTITION BY ln.lngAMAssetFundAlterID, ln.lngAMAssetAlterID, ln.blnIncreaseGroup
                     ORDER BY ln.dblWeight DESC, ln.lngOrderNo, ln.lngAMAssetFundAccAlterID
                     ROWS BETWEEN UNBOUNDED PRECEDING AND UNBOUNDED FOLLOWING)
    ),
    parted AS (
        SELECT w.*,
               round(w.dblGroup * CASE WHEN w.dblGroupWeight > 0 THEN w.dblWeight / w.dblGroupWeight
                                       ELSE 1.0 / w.intGroupLines END, 2) AS dblPart
          FROM weighed w
    ),
    lines AS (
        SELECT p.*,
               CASE WHEN p.intRank = 1
                    THEN p.dblGroup - (sum(p.dblPart) OVER g - p.dblPart) ELSE p.dblPart END AS dblAmount
          FROM parted p
        WINDOW g AS (PARTITION BY p.lngAMAssetFundAlterID, p.lngAMAssetAlterID, p.blnIncreaseGroup)
    )
    SELECT nextval('AMAssetFundBalanceAmortise_SEQ'), l.lngAMAssetAlterID, l.lngAMAssetFundAlterID, l.lngAMAssetID,
           l.lngAMFundID, p_year, p_period, l.lngAMAssetFundAccAlterID, l.lngOrderNo, 1, l.lngLineAccountID,
           l.lngLineDepartmentID, l.strFlexibleID, l.blnDepreIncrease, l.dblRate, l.dblQuotiety, l.dblAmount,
           CASE WHEN p_working = 0 THEN l.lngOrderNo || '折旧费用分摊'
                WHEN l.blnDepreIncrease <> 0 THEN '增提折旧分摊' ELSE '折旧费用分摊' END, l.lngVoucherID, p_org
      FROM lines l
     WHERE l.dblAmount <> 0
    UNION ALL
    SELECT nextval('AMAssetFundBalanceAmortise_SEQ'), ch.lngAMAssetAlterID, ch.lngAMAssetFundAlterID, ch.lngAMAssetID,
           ch.lngAMFundID, p_year, p_period, 0, 0, 1, 0, ch.lngDepartmentID, ' ', 0, 0, 0,
           ch.dblDepreciation - ch.dblIncrease, '折旧费用分摊', ch.lngVoucherID, p_org
      FROM charged ch
     WHERE p_working = 1 AND ch.dblDepreciation - ch.dblIncrease <> 0
       AND NOT EXISTS (SELECT 1 FROM AMAssetFundAccAlter l
                        WHERE l.lngAMAssetFundAlterID = ch.lngAMAssetFundAlterID AND l.blnDepreIncrease = 0)
    UNION ALL
    SELECT nextval('AMAssetFundBalanceAmortise_SEQ'), ch.lngAMAssetAlterID, ch.lngAMAssetFundAlterID, ch.lngAMAssetID,
           ch.lngAMFundID, p_year, p_period, 0, 0, 2, ch.lngDepreciationAccountID, ch.lngDepartmentID, ' ', 0, 100, 1,
           ch.dblDepreciation, '累计折旧分摊', ch.lngVoucherID, p_org
      FROM charged ch
     WHERE p_working = 1
$$;

-- One asset's apportionment of a period, replacing its earlier rows, planned
-- once a session for every asset (planned afresh, it cost more than its run).
CREATE OR REPLACE FUNCTION AMAssetWriteAssetAmortise(p_year integer, p_period integer, p_asset integer,
                                                     p_org integer, p_working integer)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT SET plan_cache_mode = force_generic_plan AS $$
DECLARE
    v_rows integer;
BEGIN
    IF p_working = 1 THEN
        DELETE FROM AMAssetFundBalanceAmortiseEx x
         WHERE x.lngAMAssetID = p_asset AND x.intYear = p_year AND x.bytPeriod = p_period
           AND x.lngOrganizationID = p_org;
    END IF;
    DELETE FROM AMAssetFundBalanceAmortise x
     WHERE x.lngAMAssetID = p_asset AND x.intYear = p_year AND x.bytPeriod = p_period
       AND x.lngOrganizationID = p_org;
    INSERT INTO AMAssetFundBalanceAmortise
    SELECT * FROM AMAssetAmortiseRows(p_year, p_period, p_org, false, p_asset, p_working);
    GET DIAGNOSTICS v_rows = ROW_COUNT;
    IF p_working = 1 THEN
        INSERT INTO AMAssetFundBalanceAmortiseEx
        SELECT * FROM AMAssetFundBalanceAmortise x
         WHERE x.lngAMAssetID = p_asset AND x.intYear = p_year AND x.bytPeriod = p_period
           AND x.lngOrganizationID = p_org;
    END IF;
    RETURN v_rows;
END
$$;

CREATE OR REPLACE FUNCTION AMAssetWriteBalanceAmortise(p_year integer, p_period integer, p_asset integer,
                                                       p_org integer, p_working integer DEFAULT 1)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT SET jit = off SET work_mem = '64MB'
SET plan_cache_mode = force_custom_plan AS $$
DECLARE
    v_rows integer;
BEGIN
    IF p_asset <> 0 THEN
        RETURN AMAssetWriteAssetAmortise(p_year, p_period, p_asset, p_org, p_working);
    END IF;
    IF p_working = 1 THEN
        DELETE FROM AMAssetFundBalanceAmortiseEx x
         WHERE x.lngOrganizationID = p_org AND x.intYear = p_year AND x.bytPeriod = p_period;
    END IF;
    DELETE FROM AMAssetFundBalanceAmortise x
     WHERE x.lngOrganizationID = p_org AND x.intYear = p_year AND x.bytPeriod = p_period;
    INSERT INTO AMAssetFundBalanceAmortise
    SELECT * FROM AMAssetAmortiseRows(p_year, p_period, p_org, true, 0, p_working);
    GET DIAGNOSTICS v_rows = ROW_COUNT;
    IF p_working = 1 THEN
        INSERT INTO AMAssetFundBalanceAmortiseEx
        SELECT * FROM AMAssetFundBalanceAmortise x
         WHERE x.lngOrganizationID = p_org AND x.intYear = p_year AND x.bytPeriod = p_period;
    END IF;
    RETURN v_rows;
END
$$;

-- The amortisation the component runs (intMode 0: apportion the latest
-- depreciated period of the organisation; 2: take that apportionment back).
-- Nothing to do before the first depreciation.  Returns 0.
CREATE OR REPLACE FUNCTION AMAssetAmortise(p_mode integer, p_org integer)
RETURNS double precision LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_lock   integer := AMAssetPeriodLock(p_org, 1, 1);
    v_latest integer := AMAssetLatestRun(p_org, NULL);
BEGIN
    IF v_latest IS NULL THEN
        RETURN 0;
    END IF;
    IF p_mode = 2 THEN
        DELETE FROM AMAssetFundBalanceAmortiseEx x
         WHERE x.lngOrganizationID = p_org AND x.intYear * 100 + x.bytPeriod = v_latest;
        DELETE FROM AMAssetFundBalanceAmortise x
         WHERE x.lngOrganizationID = p_org AND x.intYear * 100 + x.bytPeriod = v_latest;
    ELSE
        PERFORM AMAssetWriteBalanceAmortise(v_latest / 100, v_latest % 100, 0, p_org);
    END IF;
    RETURN 0;
END
$$;
