-- Depreciation routines, part 6: the posting journal AMAssetFundDaily.
--
-- One row per asset, funding source and posted movement: a card alteration
-- (blnFromDepreciation 0, keyed by its lngAMAssetAlterID; every alteration
-- of a period gets at least one row, one that moves nothing included, since
-- the carry-forward takes an alteration without a row for "not posted") or
-- a period's depreciation (blnFromDepreciation 1, one row per source whose
-- figures moved).  Each row holds the state of its source after it:
--   dblTotalAmount, dblTotalDecAmount, dblTotalNetWorth  cost, impairment and
--       residual value of the source's version (0 once the asset is gone);
--   dblTotalDeprection   accumulated depreciation;
--   intTotalPeriods / dblTotalWorks   expected life, or expected work for the
--       workload method (the other one 0);
--   intTotalDepredPeriods / dblTotalDepredWorks   periods used (start usage
--       included) and work done (start work included);
-- and the movement that led there from the source's row before it, so that
-- summing a source's rows up to any period gives its state at that period's
-- end: dblAmountAlter, dblDecAmountAlter, dblNetworthAlter, intPeriods
-- (periods used), intPeriodAlter (change of expected life), dblWork (work
-- done), dblWorkAlter (change of expected work); the accumulated depreciation
-- moves by dblDeprection (the period's charge) plus dblDeprectionAlter (the
-- opening figure, changes made by alterations, and what a decrease takes
-- out: a decreased asset leaves with all its figures at 0; under the
-- enterprise rule its charge of the month of decrease is posted and taken
-- out again in the same row).
-- Rows follow each other per source by period, alterations before the
-- period's depreciation, then by card version.  The states are computed
-- from the cards, the funding sources and the balances, never from rows
-- already posted, so the journal comes out the same whatever order the
-- periods and passes are posted in (a rebuild gives what month-by-month
-- posting gave).

-- WriteDaily: posts (p_cancel 0) or removes (p_cancel 1) the period's
-- alterations (p_from_depreciation 0) or its depreciation (1) for one asset
-- or all (p_asset 0) of the organisation.  Posting twice posts nothing new.
-- p_year 0 takes every period of the kind the organisation has, as a rebuild
-- does: one statement instead of one per period.
CREATE OR REPLACE FUNCTION AMAssetActDaily(p_year integer, p_period integer, p_asset integer,
                                           p_from_depreciation integer, p_cancel integer, p_org integer)
RETURNS double precision LANGUAGE plpgsql SET search_path FROM CURRENT SET jit = off SET work_mem = '64MB'
    SET enable_nestloop = on AS $$
DECLARE
    v_lock   integer := AMAssetPeriodLock(p_org, 1, 1);
    v_every  boolean := p_year = 0;
    v_yp     integer := p_year * 100 + p_period;
    v_kind   integer := CASE WHEN p_from_depreciation = 0 THEN 0 ELSE 1 END;
    v_method integer := AMAssetModuleSetting(p_org, '常用折旧方法', 2);
    v_life   numeric := AMAssetModuleSetting(p_org, '预计使用期间', 0);
BEGIN
    IF p_cancel <> 0 THEN
        DELETE FROM AMAssetFundDaily d
         WHERE d.lngOrganizationID = p_org AND (v_every OR d.YearPeriod = v_yp) AND d.blnFromDepreciation = v_kind
           AND (p_asset = 0 OR d.lngAMAssetID = p_asset);
        RETURN 0;
    END IF;
    IF p_asset = 0 THEN
        -- A whole organisation is joined by hashing. Balances written a moment
        -- ago have no statistics yet, and a nested loop planned for a handful
        -- of rows meets tens of thousands.
        PERFORM set_config('enable_nestloop', 'off', true);
    END IF;
    INSERT INTO AMAssetFundDaily (
        lngAMAssetFundDailyID, lngAMAssetID, lngAMAssetAlterID, lngAMFundID, lngAMAssetFundAlterID,
        intYear, bytPeriod, YearPeriod, strDate, bytAlterType, blnFromDepreciation,
        dblAmountAlter, dblDeprection, dblDeprectionAlter, dblDecAmountAlter, dblNetworthAlter,
        dblTotalAmount, dblTotalDeprection, dblTotalDecAmount, dblTotalNetWorth,
        dblWork, dblWorkAlter, intPeriods, intPeriodAlter,
        dblTotalWorks, intTotalPeriods, dblTotalDepredWorks, intTotalDepredPeriods,
        lngVoucherID, lngOrganizationID)
    WITH target AS MATERIALIZED (
        -- the periods posted, each with the latest depreciated period before it (its seed)
        SELECT t.intYP, AMAssetLatestRun(p_org, t.intYP) AS intSeed
          FROM (SELECT v_yp AS intYP WHERE NOT v_every
                UNION
                SELECT v.intYear * 100 + v.bytPeriod FROM AMAssetAlter v
                 WHERE v_every AND v_kind = 0 AND v.lngOrganizationID = p_org
                   AND (p_asset = 0 OR v.lngAMAssetID = p_asset)
                UNION
                SELECT b.intYear * 100 + b.bytPeriod FROM AMAssetFundBalance b
                 WHERE v_every AND v_kind = 1 AND b.lngOrganizationID = p_org
                   AND (p_asset = 0 OR b.lngAMAssetID = p_asset)) t
    ),
    held AS (
        -- per asset and period from the first seed to the last period posted: the
        -- periods used and work done its balances record
        SELECT b.lngAMAssetID, b.intYear * 100 + b.bytPeriod AS intYP,
               max(b.intInitPeriods + b.intPeriods) AS intUsed, max(b.dblInitWork + b.dblWork) AS dblWorked
          FROM AMAssetFundBalance b
         WHERE b.lngOrganizationID = p_org AND (p_asset = 0 OR b.lngAMAssetID = p_asset)
           AND (b.intYear, b.bytPeriod) >= (SELECT least(min(x.intSeed), min(x.intYP)) / 100,
                                                   least(min(x.intSeed), min(x.intYP)) % 100 FROM target x)
           AND (b.intYear, b.bytPeriod) <= (SELECT max(x.intYP) / 100, max(x.intYP) % 100 FROM target x)
         GROUP BY b.lngAMAssetID, b.intYear, b.bytPeriod
    ),
    scope AS (
        SELECT DISTINCT t.intYP, t.intSeed, v.lngAMAssetID
          FROM target t
          JOIN AMAssetAlter v ON v.intYear = t.intYP / 100 AND v.bytPeriod = t.intYP % 100
         WHERE v_kind = 0 AND v.lngOrganizationID = p_org AND (p_asset = 0 OR v.lngAMAssetID = p_asset)
        UNION ALL
        SELECT t.intYP, t.intSeed, h.lngAMAssetID
          FROM target t
          JOIN held h ON h.intYP = t.intYP
         WHERE v_kind = 1
    ),
    asset AS (
        SELECT s.intYP, s.intSeed, a.lngAMAssetID, round(a.dblStartUsage)::integer AS intStartUsage,
               a.dblStartWork,
               coalesce(nullif(coalesce(tx.bytDepreciationMethod, t.bytDepreciationMethod), 0), v_method) AS bytTypeMethod,
               coalesce(nullif(coalesce(tx.dblUseage, t.dblUseage), 0), v_life) AS dblTypeLife,
               sd.intUsed, sd.dblWorked
          FROM scope s
          JOIN AMAsset a ON a.lngAMAssetID = s.lngAMAssetID
          LEFT JOIN AMAssetType t ON t.lngAMAssetTypeID = a.lngAMAssetTypeID
          LEFT JOIN AMAssetTypeEx tx ON tx.lngAMAssetTypeID = a.lngAMAssetTypeID AND tx.lngOrganizationID = p_org
          LEFT JOIN held sd ON sd.lngAMAssetID = s.lngAMAssetID AND sd.intYP = s.intSeed
    ),
    wanted AS MATERIALIZED (
        -- the balance periods each posted period reads from its seed on, per
        -- asset that has a seed balance; made first, so that the balances are
        -- joined on asset and period together whatever their statistics say
        SELECT a.*, p.intYear, p.bytPeriod
          FROM asset a
          JOIN (SELECT DISTINCT h.intYP / 100 AS intYear, h.intYP % 100 AS bytPeriod FROM held h) p
            ON p.intYear * 100 + p.bytPeriod BETWEEN a.intSeed AND a.intYP - (1 - v_kind)
         WHERE a.intUsed IS NOT NULL
    ),
    balance AS (
        -- the balance rows the journal needs: from the seed period on for
        -- assets that have one, all of them for the others
        SELECT a.intYP AS intTarget, b.lngAMAssetID, b.lngAMFundID, b.lngAMAssetFundAlterID, b.lngAMAssetAlterID,
               b.intYear, b.bytPeriod, b.lngVoucherID, b.intInitPeriods + b.intPeriods AS intUsed,
               b.dblInitWork + b.dblWork AS dblWorked, b.dblInitDepreciation, b.dblDepreciation,
               a.bytTypeMethod, a.dblTypeLife,
               CASE WHEN b.intYear * 100 + b.bytPeriod = a.intSeed THEN 0 ELSE 2 END AS intOrder
          FROM wanted a
          JOIN AMAssetFundBalance b
            ON b.lngAMAssetID = a.lngAMAssetID AND b.intYear = a.intYear AND b.bytPeriod = a.bytPeriod
         WHERE b.lngOrganizationID = p_org
        UNION ALL
        SELECT a.intYP, b.lngAMAssetID, b.lngAMFundID, b.lngAMAssetFundAlterID, b.lngAMAssetAlterID,
               b.intYear, b.bytPeriod, b.lngVoucherID, b.intInitPeriods + b.intPeriods,
               b.dblInitWork + b.dblWork, b.dblInitDepreciation, b.dblDepreciation,
               a.bytTypeMethod, a.dblTypeLife, 2
          FROM asset a
          -- looked up per asset: these are few, and their balances may lie in any organisation
          CROSS JOIN LATERAL (
                SELECT x.* FROM AMAssetFundBalance x
                 WHERE x.lngAMAssetID = a.lngAMAssetID AND x.intYear * 100 + x.bytPeriod <= a.intYP - (1 - v_kind)
                OFFSET 0) b
         WHERE a.intUsed IS NULL
    ),
    moves AS (
        SELECT b.intTarget, b.lngAMAssetID, b.lngAMFundID, b.lngAMAssetFundAlterID, b.lngAMAssetAlterID,
               b.intYear * 100 + b.bytPeriod AS intYP, b.intOrder, coalesce(r.strDate, ' ') AS strDate,
               0 AS bytAlterType, b.lngVoucherID,
               CASE WHEN c.bytAlterType = 2 THEN 0 ELSE fv.dblAmount END AS dblCost,
               CASE WHEN c.bytAlterType = 2 THEN 0 ELSE fv.dblDecAmount END AS dblImpairment,
               CASE WHEN c.bytAlterType = 2 THEN 0 ELSE fv.dblNetworth END AS dblResidual,
               coalesce(nullif(c.bytDepreciationMethod, 0), b.bytTypeMethod) AS bytMethod,
               coalesce(nullif(c.dblUseage, 0), b.dblTypeLife) AS dblLife,
               b.intUsed, b.dblWorked,
               CASE WHEN c.bytAlterType = 2 THEN 0
                    WHEN b.intOrder = 0 THEN b.dblInitDepreciation + b.dblDepreciation
                    ELSE b.dblDepreciation END AS dblRaw,
               b.dblDepreciation AS dblCharge, c.bytAlterType = 2 AS blnDisposal
          FROM balance b
          LEFT JOIN AMAssetAlter c ON c.lngAMAssetAlterID = b.lngAMAssetAlterID
          LEFT JOIN AMAssetFundAlter fv ON fv.lngAMAssetFundAlterID = b.lngAMAssetFundAlterID
          LEFT JOIN AMAssetDepreciation r
                 ON r.lngOrganizationID = p_org AND r.intYear = b.intYear AND r.bytPeriod = b.bytPeriod
        UNION ALL
        SELECT a.intYP, a.lngAMAssetID, f.lngAMFundID, fv.lngAMAssetFundAlterID, v.lngAMAssetAlterID,
               v.intYear * 100 + v.bytPeriod, 1, v.strDate, v.bytAlterType, v.lngVoucherID,
               CASE WHEN v.bytAlterType = 2 THEN 0 ELSE fv.dblAmount END,
               CASE WHEN v.bytAlterType = 2 THEN 0 ELSE fv.dblDecAmount END,
               CASE WHEN v.bytAlterType = 2 THEN 0 ELSE fv.dblNetworth END,
               coalesce(nullif(v.bytDepreciationMethod, 0), a.bytTypeMethod),
               coalesce(nullif(v.dblUseage, 0), a.dblTypeLife),
               coalesce(u.intUsed, a.intStartUsage), coalesce(u.dblWorked, a.dblStartWork),
               CASE WHEN fv.lngAMAssetAlterID = v.lngAMAssetAlterID
                    THEN AMAssetDepreciationChange(fv.lngAMAssetFundAlterID = f.lngAMAssetFundInitAlterID,
                                                   v.bytAlterType, fv.dblDepreciation, fv.dblDepreciationAlter,
                                                   fv.dblTransferDepreciationAlter)
                    ELSE 0 END,
               0, v.bytAlterType = 2
          FROM asset a
          JOIN AMAssetAlter v ON v.lngAMAssetID = a.lngAMAssetID
          JOIN AMAssetFund f ON f.lngAMAssetID = a.lngAMAssetID
          -- the source's version standing with the card version
          CROSS JOIN LATERAL (
                SELECT y.* FROM AMAssetFundAlter y
                 WHERE y.lngAMAssetID = a.lngAMAssetID AND y.lngAMFundID = f.lngAMFundID
                   AND y.lngAMAssetAlterID <= v.lngAMAssetAlterID
                 ORDER BY y.lngAMAssetAlterID DESC, y.lngAMAssetFundAlterID DESC LIMIT 1) fv
          -- periods used and work done before the alteration: the seed's, else the latest balance's
          LEFT JOIN LATERAL (
                SELECT a.intUsed, a.dblWorked
                 WHERE v.intYear * 100 + v.bytPeriod > a.intSeed AND a.intUsed IS NOT NULL
                UNION ALL
                (SELECT b.intInitPeriods + b.intPeriods, b.dblInitWork + b.dblWork FROM AMAssetFundBalance b
                  WHERE NOT (v.intYear * 100 + v.bytPeriod > a.intSeed AND a.intUsed IS NOT NULL)
                    AND b.lngAMAssetID = a.lngAMAssetID
                    AND b.intYear * 100 + b.bytPeriod < v.intYear * 100 + v.bytPeriod
                  ORDER BY b.intYear DESC, b.bytPeriod DESC LIMIT 1)) u ON true
         WHERE v.intYear * 100 + v.bytPeriod <= a.intYP
           AND (a.intUsed IS NULL OR v.intYear * 100 + v.bytPeriod > a.intSeed)
    ),
    states AS (
        SELECT m.*,
               CASE WHEN m.bytMethod = 3 THEN 0 ELSE round(m.dblLife)::integer END AS intLife,
               CASE WHEN m.bytMethod = 3 THEN m.dblLife ELSE 0 END AS dblWorks
          FROM moves m
    ),
    chained AS (
        SELECT s.*,
               lag(s.dblCost, 1, 0::numeric) OVER w AS dblPrevCost,
               lag(s.dblImpairment, 1, 0::numeric) OVER w AS dblPrevImpairment,
               lag(s.dblResidual, 1, 0::numeric) OVER w AS dblPrevResidual,
               lag(s.intLife, 1, 0) OVER w AS intPrevLife,
               lag(s.dblWorks, 1, 0::numeric) OVER w AS dblPrevWorks,
               lag(s.intUsed, 1, 0) OVER w AS intPrevUsed,
               lag(s.dblWorked, 1, 0::numeric) OVER w AS dblPrevWorked,
               sum(s.dblRaw) OVER w AS dblRunning,
               bool_or(s.blnDisposal) OVER w AS blnGone
          FROM states s
        WINDOW w AS (PARTITION BY s.intTarget, s.lngAMAssetID, s.lngAMFundID
                     ORDER BY s.intYP, s.intOrder, s.lngAMAssetAlterID, s.lngAMAssetFundAlterID
                     ROWS UNBOUNDED PRECEDING)
    ),
    posted_before AS (
        -- what these periods already have of the kind (an alteration's rows lie in its own period);
        -- NOT IN over it is hashed, whatever the statistics of a journal just rewritten say
        SELECT d.YearPeriod, d.lngAMAssetID, d.lngAMFundID, d.lngAMAssetAlterID
          FROM AMAssetFundDaily d
         WHERE d.lngOrganizationID = p_org AND (v_every OR d.YearPeriod = v_yp) AND d.blnFromDepreciation = v_kind
           AND (p_asset = 0 OR d.lngAMAssetID = p_asset)
    ),
    posted AS (
        SELECT c.*,
               CASE WHEN c.intOrder = 2 THEN c.dblCharge ELSE 0 END AS dblMoveCharge,
               CASE WHEN c.intOrder = 1 AND c.blnDisposal THEN -(c.dblRunning - c.dblRaw)
                    WHEN c.intOrder = 1 THEN c.dblRaw
                    WHEN c.blnGone THEN -c.dblCharge
                    ELSE 0 END AS dblMoveAlter
          FROM chained c
         WHERE c.intYP = c.intTarget AND c.intOrder = v_kind + 1
    )
    SELECT nextval('AMAssetFundDaily_SEQ'), p.lngAMAssetID, p.lngAMAssetAlterID, p.lngAMFundID,
           p.lngAMAssetFundAlterID, p.intYP / 100, p.intYP % 100, p.intYP, p.strDate, p.bytAlterType, v_kind,
           p.dblCost - p.dblPrevCost, p.dblMoveCharge, p.dblMoveAlter,
           p.dblImpairment - p.dblPrevImpairment, p.dblResidual - p.dblPrevResidual,
           p.dblCost, CASE WHEN p.blnGone THEN 0 ELSE p.dblRunning END, p.dblImpairment, p.dblResidual,
           p.dblWorked - p.dblPrevWorked, p.dblWorks - p.dblPrevWorks,
           p.intUsed - p.intPrevUsed, p.intLife - p.intPrevLife,
           p.dblWorks, p.intLife, p.dblWorked, p.intUsed,
           p.lngVoucherID, p_org
      FROM posted p
     WHERE (p.intOrder = 1
            OR p.dblMoveCharge <> 0 OR p.dblMoveAlter <> 0 OR p.dblCost <> p.dblPrevCost
            OR p.dblImpairment <> p.dblPrevImpairment OR p.dblResidual <> p.dblPrevResidual
            OR p.intUsed <> p.intPrevUsed OR p.dblWorked <> p.dblPrevWorked
            OR p.intLife <> p.intPrevLife OR p.dblWorks <> p.dblPrevWorks)
       AND (p.intYP, p.lngAMAssetID, p.lngAMFundID, v_kind * 0 + (1 - v_kind) * p.lngAMAssetAlterID)
           NOT IN (SELECT d.YearPeriod, d.lngAMAssetID, d.lngAMFundID, (1 - v_kind) * d.lngAMAssetAlterID
                     FROM posted_before d);
    IF v_kind = 0 THEN
        -- an alteration of an asset without a funding source at that version
        INSERT INTO AMAssetFundDaily (lngAMAssetFundDailyID, lngAMAssetID, lngAMAssetAlterID, intYear, bytPeriod,
                                      YearPeriod, strDate, bytAlterType, lngVoucherID, lngOrganizationID)
        SELECT nextval('AMAssetFundDaily_SEQ'), v.lngAMAssetID, v.lngAMAssetAlterID, v.intYear, v.bytPeriod,
               v.intYear * 100 + v.bytPeriod, v.strDate, v.bytAlterType, v.lngVoucherID, p_org
          FROM AMAssetAlter v
         WHERE v.lngOrganizationID = p_org AND (v_every OR (v.intYear = p_year AND v.bytPeriod = p_period))
           AND (p_asset = 0 OR v.lngAMAssetID = p_asset)
           AND v.lngAMAssetAlterID NOT IN (SELECT d.lngAMAssetAlterID FROM AMAssetFundDaily d
                                            WHERE d.lngOrganizationID = p_org AND (v_every OR d.YearPeriod = v_yp)
                                              AND d.blnFromDepreciation = 0);
    END IF;
    RETURN 0;
END
$$;
