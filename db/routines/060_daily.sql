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

-- The rows one period's posting adds to the journal, with their ids: the
-- organisation's (p_whole) or asset p_asset's.  Written to be inlined into
-- its caller's statement: p_whole comes as a constant, so the statement for
-- one asset reaches every table through the asset's key, and one cached plan
-- serves every later asset.
CREATE OR REPLACE FUNCTION AMAssetDailyRows(p_target integer, p_seed integer, p_last integer, p_kind integer,
                                            p_org integer, p_whole boolean, p_asset integer, p_method integer,
                                            p_life numeric)
RETURNS SETOF AMAssetFundDaily LANGUAGE sql STABLE AS $$
    WITH RECURSIVE posted_before AS MATERIALIZED (
        -- what the period already has of the kind (an alteration's rows lie in its own period);
        -- one asset's by the asset alone, so that no plan reads the organisation's period for it
        SELECT d.lngAMAssetID, d.lngAMFundID, (1 - p_kind) * d.lngAMAssetAlterID AS lngAMAssetAlterID
          FROM AMAssetFundDaily d
         WHERE (NOT p_whole OR d.lngOrganizationID = p_org) AND (p_whole OR d.lngAMAssetID = p_asset)
           AND d.YearPeriod = p_target AND d.blnFromDepreciation = p_kind
    ),
    plain AS MATERIALIZED (
        -- an organisation's depreciation: the sources whose only balances in the seed period and
        -- the period are one row each, both naming the same card and source versions of the
        -- organisation (an alteration in between would have made new ones), which are nearly
        -- all; the period's row follows the seed's, so it is posted from the two rows and the
        -- versions they name alone, read as sets straight from their tables
        SELECT t.*, s.intInitPeriods + s.intPeriods AS intSeedUsed, s.dblInitWork + s.dblWork AS dblSeedWorked,
               s.dblInitDepreciation + s.dblDepreciation AS dblSeedRaw
          FROM (SELECT t.lngAMAssetID, t.lngAMFundID, t.lngAMAssetAlterID, t.lngAMAssetFundAlterID, t.lngVoucherID,
                       t.intInitPeriods + t.intPeriods AS intUsed, t.dblInitWork + t.dblWork AS dblWorked,
                       t.dblDepreciation AS dblCharge, hc.bytAlterType = 2 AS blnGone,
                       CASE WHEN hc.bytAlterType = 2 THEN 0 ELSE hf.dblAmount END AS dblCost,
                       CASE WHEN hc.bytAlterType = 2 THEN 0 ELSE hf.dblDecAmount END AS dblImpairment,
                       CASE WHEN hc.bytAlterType = 2 THEN 0 ELSE hf.dblNetworth END AS dblResidual,
                       coalesce(nullif(hc.bytDepreciationMethod, 0),
                                nullif(coalesce(tx.bytDepreciationMethod, ty.bytDepreciationMethod), 0), p_method)
                           AS bytMethod,
                       coalesce(nullif(hc.dblUseage, 0), nullif(coalesce(tx.dblUseage, ty.dblUseage), 0), p_life)
                           AS dblLife
                  FROM AMAssetFundBalance t
                  JOIN AMAsset a ON a.lngAMAssetID = t.lngAMAssetID AND a.lngOrganizationID = p_org
                  JOIN AMAssetAlter hc ON hc.lngAMAssetAlterID = t.lngAMAssetAlterID AND hc.lngOrganizationID = p_org
                                      AND (hc.intYear, hc.bytPeriod) <= (p_target / 100, p_target % 100)
                  JOIN AMAssetFundAlter hf ON hf.lngAMAssetFundAlterID = t.lngAMAssetFundAlterID
                                          AND hf.lngOrganizationID = p_org
                                          AND (hf.intYear, hf.bytPeriod) <= (p_target / 100, p_target % 100)
                  LEFT JOIN AMAssetType ty ON ty.lngAMAssetTypeID = a.lngAMAssetTypeID
                  LEFT JOIN AMAssetTypeEx tx ON tx.lngAMAssetTypeID = a.lngAMAssetTypeID AND tx.lngOrganizationID = p_org
                 WHERE p_whole AND p_kind = 1  -- (so that one asset's plan holds none of it)
                   AND t.lngOrganizationID = p_org AND t.intYear = p_target / 100 AND t.bytPeriod = p_target % 100
                -- (the versions first: the planner takes the pair below, whose versions are one
                -- another's, for a handful of rows, and would hash the rows again at every join
                -- planned above it)
                OFFSET 0) t
          JOIN AMAssetFundBalance s
               ON s.lngAMAssetAlterID = t.lngAMAssetAlterID AND s.lngAMAssetFundAlterID = t.lngAMAssetFundAlterID
              AND s.lngAMAssetID = t.lngAMAssetID AND s.lngAMFundID = t.lngAMFundID
              AND s.lngOrganizationID = p_org AND s.intYear = p_seed / 100 AND s.bytPeriod = p_seed % 100
          -- and no other row of the source in either period (each period read by its own
          -- index range: as one condition on both, the plan read the year's every period)
          JOIN (SELECT o.lngAMAssetID, o.lngAMFundID
                  FROM (SELECT o.lngAMAssetID, o.lngAMFundID FROM AMAssetFundBalance o
                         WHERE o.lngOrganizationID = p_org AND o.intYear = p_seed / 100 AND o.bytPeriod = p_seed % 100
                        UNION ALL
                        SELECT o.lngAMAssetID, o.lngAMFundID FROM AMAssetFundBalance o
                         WHERE o.lngOrganizationID = p_org AND o.intYear = p_target / 100
                           AND o.bytPeriod = p_target % 100) o
                 GROUP BY o.lngAMAssetID, o.lngAMFundID
                HAVING count(*) = 2) u ON u.lngAMAssetID = t.lngAMAssetID AND u.lngAMFundID = t.lngAMFundID
    ),
    scope AS MATERIALIZED (
        SELECT DISTINCT v.lngAMAssetID
          FROM AMAssetAlter v
         WHERE p_kind = 0 AND v.lngOrganizationID = p_org
           AND v.intYear = p_target / 100 AND v.bytPeriod = p_target % 100
           AND (p_whole OR v.lngAMAssetID = p_asset)
        UNION ALL
        -- the assets with a balance in the period that is not plain
        SELECT DISTINCT b.lngAMAssetID
          FROM AMAssetFundBalance b
          LEFT JOIN plain p ON p.lngAMAssetID = b.lngAMAssetID AND p.lngAMFundID = b.lngAMFundID
         WHERE p_kind = 1 AND b.lngOrganizationID = p_org AND (p_whole OR b.lngAMAssetID = p_asset)
           AND b.intYear = p_target / 100 AND b.bytPeriod = p_target % 100 AND p.lngAMAssetID IS NULL
        -- either kind's assets in key order, so that what is looked up per asset is found in
        -- index order
        ORDER BY 1
    ),
    recent AS MATERIALIZED (
        -- the balances of the assets in scope from the seed period to the last one read
        SELECT b.lngAMAssetID, b.lngAMFundID, b.lngAMAssetFundAlterID, b.lngAMAssetAlterID,
               b.intYear, b.bytPeriod, b.intYear * 100 + b.bytPeriod AS intYP, b.lngVoucherID,
               b.intInitPeriods + b.intPeriods AS intUsed, b.dblInitWork + b.dblWork AS dblWorked,
               b.dblInitDepreciation, b.dblDepreciation
          FROM AMAssetFundBalance b
         WHERE b.lngOrganizationID = p_org AND (p_whole OR b.lngAMAssetID = p_asset)
           AND (b.intYear, b.bytPeriod) >= (coalesce(p_seed, p_target) / 100, coalesce(p_seed, p_target) % 100)
           AND (b.intYear, b.bytPeriod) <= (p_last / 100, p_last % 100)
           AND (NOT p_whole OR b.lngAMAssetID IN (SELECT s.lngAMAssetID FROM scope s))
    ),
    held AS MATERIALIZED (
        -- per asset, the periods used and work done its balances record at the seed
        SELECT b.lngAMAssetID, max(b.intUsed) AS intUsed, max(b.dblWorked) AS dblWorked
          FROM recent b
         WHERE b.intYP = p_seed
         GROUP BY b.lngAMAssetID
    ),
    unposted AS (
        -- an asset all of whose alterations of the period are posted for each of its
        -- sources posts nothing again, so posting twice reads none of its history
        SELECT s.lngAMAssetID FROM scope s
         WHERE p_kind = 1 OR NOT EXISTS (SELECT 1 FROM posted_before)
        UNION ALL
        SELECT DISTINCT s.lngAMAssetID
          FROM scope s
         CROSS JOIN LATERAL (
                SELECT x.lngAMAssetAlterID FROM AMAssetAlter x
                 WHERE x.lngAMAssetID = s.lngAMAssetID
                   AND x.intYear = p_target / 100 AND x.bytPeriod = p_target % 100
                OFFSET 0) v
         CROSS JOIN LATERAL (SELECT f.lngAMFundID FROM AMAssetFund f WHERE f.lngAMAssetID = s.lngAMAssetID
                             OFFSET 0) f
         WHERE p_kind = 0 AND EXISTS (SELECT 1 FROM posted_before)
           AND (s.lngAMAssetID, f.lngAMFundID, v.lngAMAssetAlterID)
               NOT IN (SELECT d.lngAMAssetID, d.lngAMFundID, d.lngAMAssetAlterID FROM posted_before d)
    ),
    card AS (
        -- a period's depreciation covers nearly every asset of the organisation: its cards are
        -- read as one set, and only the cards of assets that have left it are looked up one by one
        SELECT s.lngAMAssetID, coalesce(h.lngAMAssetTypeID, a.lngAMAssetTypeID) AS lngAMAssetTypeID,
               round(coalesce(h.dblStartUsage, a.dblStartUsage))::integer AS intStartUsage,
               coalesce(h.dblStartWork, a.dblStartWork) AS dblStartWork
          FROM unposted s
          LEFT JOIN AMAsset h
                 ON h.lngAMAssetID = s.lngAMAssetID AND h.lngOrganizationID = p_org AND (p_whole AND p_kind <> 0)
          LEFT JOIN LATERAL (SELECT x.* FROM AMAsset x
                              WHERE x.lngAMAssetID = s.lngAMAssetID AND h.lngAMAssetID IS NULL OFFSET 0) a ON true
         WHERE h.lngAMAssetID IS NOT NULL OR a.lngAMAssetID IS NOT NULL
    ),
    asset AS MATERIALIZED (
        SELECT a.lngAMAssetID, a.intStartUsage, a.dblStartWork,
               coalesce(nullif(coalesce(tx.bytDepreciationMethod, t.bytDepreciationMethod), 0), p_method)
                   AS bytTypeMethod,
               coalesce(nullif(coalesce(tx.dblUseage, t.dblUseage), 0), p_life) AS dblTypeLife,
               sd.intUsed, sd.dblWorked
          FROM card a
          LEFT JOIN AMAssetType t ON t.lngAMAssetTypeID = a.lngAMAssetTypeID
          LEFT JOIN AMAssetTypeEx tx ON tx.lngAMAssetTypeID = a.lngAMAssetTypeID AND tx.lngOrganizationID = p_org
          LEFT JOIN held sd ON sd.lngAMAssetID = a.lngAMAssetID
    ),
    balance AS (
        -- the balance rows the journal needs of the sources that are not plain: the
        -- organisation's from the seed period on for assets that have one, all of them for the others
        SELECT b.lngAMAssetID, b.lngAMFundID, b.lngAMAssetFundAlterID, b.lngAMAssetAlterID,
               b.intYear, b.bytPeriod, b.lngVoucherID, b.intUsed, b.dblWorked, b.dblInitDepreciation,
               b.dblDepreciation, a.bytTypeMethod, a.dblTypeLife,
               CASE WHEN b.intYP = p_seed THEN 0 ELSE 2 END AS intOrder
          FROM asset a
          JOIN recent b ON b.lngAMAssetID = a.lngAMAssetID
          LEFT JOIN plain p ON p.lngAMAssetID = b.lngAMAssetID AND p.lngAMFundID = b.lngAMFundID
         WHERE a.intUsed IS NOT NULL AND b.intYP <= p_last AND p.lngAMAssetID IS NULL
        UNION ALL
        SELECT b.lngAMAssetID, b.lngAMFundID, b.lngAMAssetFundAlterID, b.lngAMAssetAlterID,
               b.intYear, b.bytPeriod, b.lngVoucherID, b.intInitPeriods + b.intPeriods,
               b.dblInitWork + b.dblWork, b.dblInitDepreciation, b.dblDepreciation,
               a.bytTypeMethod, a.dblTypeLife, 2
          FROM asset a
          -- these are few, and their balances may lie in any organisation
         CROSS JOIN LATERAL (
                SELECT x.* FROM AMAssetFundBalance x
                 WHERE x.lngAMAssetID = a.lngAMAssetID AND (x.intYear, x.bytPeriod) <= (p_last / 100, p_last % 100)
                OFFSET 0) b
         WHERE a.intUsed IS NULL
    ),
    named AS (
        -- each balance row with the card and source versions it names: the organisation's up to
        -- the period joined as one set where the period covers it, the others looked up one by one
        SELECT b.*, coalesce(hc.bytAlterType, c.bytAlterType) AS bytAlterType,
               coalesce(hc.bytDepreciationMethod, c.bytDepreciationMethod) AS bytDepreciationMethod,
               coalesce(hc.dblUseage, c.dblUseage) AS dblUseage, coalesce(hf.dblAmount, fv.dblAmount) AS dblAmount,
               coalesce(hf.dblDecAmount, fv.dblDecAmount) AS dblDecAmount,
               coalesce(hf.dblNetworth, fv.dblNetworth) AS dblNetworth
          FROM balance b
          LEFT JOIN AMAssetAlter hc
                 ON hc.lngAMAssetAlterID = b.lngAMAssetAlterID AND hc.lngOrganizationID = p_org AND (p_whole AND p_kind <> 0)
                AND (hc.intYear, hc.bytPeriod) <= (p_target / 100, p_target % 100)
          LEFT JOIN AMAssetFundAlter hf
                 ON hf.lngAMAssetFundAlterID = b.lngAMAssetFundAlterID AND hf.lngOrganizationID = p_org
                AND (p_whole AND p_kind <> 0)
                AND (hf.intYear, hf.bytPeriod) <= (p_target / 100, p_target % 100)
          LEFT JOIN LATERAL (SELECT x.* FROM AMAssetAlter x WHERE x.lngAMAssetAlterID = b.lngAMAssetAlterID
                                AND hc.lngAMAssetAlterID IS NULL OFFSET 0) c ON true
          LEFT JOIN LATERAL (SELECT y.* FROM AMAssetFundAlter y
                              WHERE y.lngAMAssetFundAlterID = b.lngAMAssetFundAlterID
                                AND hf.lngAMAssetFundAlterID IS NULL OFFSET 0) fv ON true
    ),
    organisation (lngOrganizationID) AS (
        -- every organisation that has alterations, skipping through the index
        SELECT min(v.lngOrganizationID) FROM AMAssetAlter v
        UNION ALL
        SELECT (SELECT min(v.lngOrganizationID) FROM AMAssetAlter v
                 WHERE v.lngOrganizationID > o.lngOrganizationID)
          FROM organisation o
         WHERE o.lngOrganizationID IS NOT NULL
    ),
    altered AS (
        -- the alterations of every organisation after the seed period up to the period
        SELECT v.*
          FROM organisation o
         CROSS JOIN LATERAL (
                SELECT x.* FROM AMAssetAlter x
                 WHERE x.lngOrganizationID = o.lngOrganizationID
                   AND (x.intYear, x.bytPeriod) > (p_seed / 100, p_seed % 100)
                   AND (x.intYear, x.bytPeriod) <= (p_target / 100, p_target % 100)
                OFFSET 0) v
         WHERE p_whole AND p_seed IS NOT NULL
    ),
    alteration AS MATERIALIZED (
        -- each asset's alterations after its seed up to the period: those of the assets
        -- that have a seed are the few of these periods, read once for all of them
        SELECT a.lngAMAssetID, a.bytTypeMethod, a.dblTypeLife, a.intStartUsage, a.dblStartWork,
               a.intUsed AS intSeedUsed, a.dblWorked AS dblSeedWorked, v.lngAMAssetAlterID, v.intYear,
               v.bytPeriod, v.strDate, v.bytAlterType, v.lngVoucherID, v.bytDepreciationMethod, v.dblUseage
          FROM asset a
          JOIN altered v ON v.lngAMAssetID = a.lngAMAssetID
         WHERE a.intUsed IS NOT NULL
        UNION ALL
        SELECT a.lngAMAssetID, a.bytTypeMethod, a.dblTypeLife, a.intStartUsage, a.dblStartWork,
               a.intUsed, a.dblWorked, v.lngAMAssetAlterID, v.intYear,
               v.bytPeriod, v.strDate, v.bytAlterType, v.lngVoucherID, v.bytDepreciationMethod, v.dblUseage
          FROM asset a
         CROSS JOIN LATERAL (
                SELECT x.* FROM AMAssetAlter x
                 WHERE x.lngAMAssetID = a.lngAMAssetID
                   AND (x.intYear, x.bytPeriod) <= (p_target / 100, p_target % 100)
                   AND (a.intUsed IS NULL OR (x.intYear, x.bytPeriod) > (p_seed / 100, p_seed % 100))
                OFFSET 0) v
         WHERE a.intUsed IS NULL OR NOT p_whole OR p_seed IS NULL
    ),
    moves AS (
        SELECT b.lngAMAssetID, b.lngAMFundID, b.lngAMAssetFundAlterID, b.lngAMAssetAlterID,
               b.intYear * 100 + b.bytPeriod AS intYP, b.intOrder, coalesce(r.strDate, ' ') AS strDate,
               0 AS bytAlterType, b.lngVoucherID,
               CASE WHEN b.bytAlterType = 2 THEN 0 ELSE b.dblAmount END AS dblCost,
               CASE WHEN b.bytAlterType = 2 THEN 0 ELSE b.dblDecAmount END AS dblImpairment,
               CASE WHEN b.bytAlterType = 2 THEN 0 ELSE b.dblNetworth END AS dblResidual,
               coalesce(nullif(b.bytDepreciationMethod, 0), b.bytTypeMethod) AS bytMethod,
               coalesce(nullif(b.dblUseage, 0), b.dblTypeLife) AS dblLife,
               b.intUsed, b.dblWorked,
               CASE WHEN b.bytAlterType = 2 THEN 0
                    WHEN b.intOrder = 0 THEN b.dblInitDepreciation + b.dblDepreciation
                    ELSE b.dblDepreciation END AS dblRaw,
               b.dblDepreciation AS dblCharge, b.bytAlterType = 2 AS blnDisposal
          FROM named b
          LEFT JOIN AMAssetDepreciation r
                 ON r.lngOrganizationID = p_org AND r.intYear = b.intYear AND r.bytPeriod = b.bytPeriod
        UNION ALL
        SELECT v.lngAMAssetID, f.lngAMFundID, fv.lngAMAssetFundAlterID, v.lngAMAssetAlterID,
               v.intYear * 100 + v.bytPeriod, 1, v.strDate, v.bytAlterType, v.lngVoucherID,
               CASE WHEN v.bytAlterType = 2 THEN 0 ELSE fv.dblAmount END,
               CASE WHEN v.bytAlterType = 2 THEN 0 ELSE fv.dblDecAmount END,
               CASE WHEN v.bytAlterType = 2 THEN 0 ELSE fv.dblNetworth END,
               coalesce(nullif(v.bytDepreciationMethod, 0), v.bytTypeMethod),
               coalesce(nullif(v.dblUseage, 0), v.dblTypeLife),
               coalesce(u.intUsed, v.intStartUsage), coalesce(u.dblWorked, v.dblStartWork),
               CASE WHEN fv.lngAMAssetAlterID = v.lngAMAssetAlterID
                    THEN AMAssetDepreciationChange(fv.lngAMAssetFundAlterID = f.lngAMAssetFundInitAlterID,
                                                   v.bytAlterType, fv.dblDepreciation, fv.dblDepreciationAlter,
                                                   fv.dblTransferDepreciationAlter)
                    ELSE 0 END,
               0, v.bytAlterType = 2
          FROM alteration v
         CROSS JOIN LATERAL (SELECT x.* FROM AMAssetFund x WHERE x.lngAMAssetID = v.lngAMAssetID OFFSET 0) f
          -- the source's version standing with the card version
         CROSS JOIN LATERAL (
                SELECT y.* FROM AMAssetFundAlter y
                 WHERE y.lngAMAssetID = v.lngAMAssetID AND y.lngAMFundID = f.lngAMFundID
                   AND y.lngAMAssetAlterID <= v.lngAMAssetAlterID
                 ORDER BY y.lngAMAssetAlterID DESC, y.lngAMAssetFundAlterID DESC LIMIT 1) fv
          -- periods used and work done before the alteration: the seed's, else the latest balance's
          LEFT JOIN LATERAL (
                SELECT v.intSeedUsed AS intUsed, v.dblSeedWorked AS dblWorked
                 WHERE v.intYear * 100 + v.bytPeriod > p_seed AND v.intSeedUsed IS NOT NULL
                UNION ALL
                (SELECT b.intInitPeriods + b.intPeriods, b.dblInitWork + b.dblWork FROM AMAssetFundBalance b
                  WHERE NOT (v.intYear * 100 + v.bytPeriod > p_seed AND v.intSeedUsed IS NOT NULL)
                    AND b.lngAMAssetID = v.lngAMAssetID
                    AND (b.intYear, b.bytPeriod) < (v.intYear, v.bytPeriod)
                  ORDER BY b.intYear DESC, b.bytPeriod DESC LIMIT 1)) u ON true
    ),
    states AS (
        SELECT m.*,
               CASE WHEN m.bytMethod = 3 THEN 0 ELSE round(m.dblLife)::integer END AS intLife,
               CASE WHEN m.bytMethod = 3 THEN m.dblLife ELSE 0 END AS dblWorks
          FROM moves m
    ),
    windowed AS (
        -- a source's first row follows nothing: all its figures before are 0
        SELECT s.*,
               lag(s.dblCost, 1, 0::numeric) OVER w AS dblPrevCost,
               lag(s.dblImpairment, 1, 0::numeric) OVER w AS dblPrevImpairment,
               lag(s.dblResidual, 1, 0::numeric) OVER w AS dblPrevResidual,
               lag(s.intLife, 1, 0) OVER w AS intPrevLife, lag(s.dblWorks, 1, 0::numeric) OVER w AS dblPrevWorks,
               lag(s.intUsed, 1, 0) OVER w AS intPrevUsed, lag(s.dblWorked, 1, 0::numeric) OVER w AS dblPrevWorked,
               sum(s.dblRaw) OVER w AS dblRunning,
               bool_or(s.blnDisposal) OVER w AS blnGone
          FROM states s
        WINDOW w AS (PARTITION BY s.lngAMAssetID, s.lngAMFundID
                     ORDER BY s.intYP, s.intOrder, s.lngAMAssetAlterID, s.lngAMAssetFundAlterID
                     ROWS UNBOUNDED PRECEDING)
    ),
    posted AS (
        SELECT c.*,
               CASE WHEN c.intOrder = 2 THEN c.dblCharge ELSE 0 END AS dblMoveCharge,
               CASE WHEN c.intOrder = 1 AND c.blnDisposal THEN -(c.dblRunning - c.dblRaw)
                    WHEN c.intOrder = 1 THEN c.dblRaw
                    WHEN c.blnGone THEN -c.dblCharge
                    ELSE 0 END AS dblMoveAlter
          FROM windowed c
         WHERE c.intYP = p_target AND c.intOrder = p_kind + 1
    ),
    journal AS (
        SELECT p.lngAMAssetID, p.lngAMAssetAlterID, p.lngAMFundID,
               p.lngAMAssetFundAlterID, p.intYP / 100, p.intYP % 100, p.intYP, p.strDate, p.bytAlterType, p_kind,
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
           AND (p.lngAMAssetID, p.lngAMFundID, (1 - p_kind) * p.lngAMAssetAlterID)
               NOT IN (SELECT d.lngAMAssetID, d.lngAMFundID, d.lngAMAssetAlterID FROM posted_before d)
        UNION ALL
        -- a plain source's row follows its seed's, whose versions are its own: only the
        -- charge, the periods used and the work done move
        SELECT p.lngAMAssetID, p.lngAMAssetAlterID, p.lngAMFundID, p.lngAMAssetFundAlterID,
               p_target / 100, p_target % 100, p_target,
               -- (the run's date, read once for all of them)
               coalesce((SELECT max(r.strDate) FROM AMAssetDepreciation r
                          WHERE r.lngOrganizationID = p_org AND r.intYear = p_target / 100
                            AND r.bytPeriod = p_target % 100), ' '), 0, p_kind,
               0, p.dblCharge, CASE WHEN p.blnGone THEN -p.dblCharge ELSE 0 END, 0, 0,
               p.dblCost, CASE WHEN p.blnGone THEN 0 ELSE p.dblSeedRaw + p.dblCharge END, p.dblImpairment,
               p.dblResidual, p.dblWorked - p.dblSeedWorked, 0, p.intUsed - p.intSeedUsed, 0,
               CASE WHEN p.bytMethod = 3 THEN p.dblLife ELSE 0 END,
               CASE WHEN p.bytMethod = 3 THEN 0 ELSE round(p.dblLife)::integer END,
               p.dblWorked, p.intUsed, p.lngVoucherID, p_org
          FROM plain p
         WHERE (p.dblCharge <> 0 OR p.intUsed <> p.intSeedUsed OR p.dblWorked <> p.dblSeedWorked)
           AND (p.lngAMAssetID, p.lngAMFundID, 0) NOT IN (SELECT d.lngAMAssetID, d.lngAMFundID, d.lngAMAssetAlterID
                                                            FROM posted_before d)
    )
    SELECT nextval('AMAssetFundDaily_SEQ'), j.* FROM journal j
$$;

-- One asset's posting of a period, planned once a session for every asset:
-- planned afresh for each, the statement cost ten times its run.  Each kind
-- has a statement of its own, whose plan holds only what that kind reads.
CREATE OR REPLACE FUNCTION AMAssetPostAssetDaily(p_target integer, p_seed integer, p_last integer, p_kind integer,
                                                 p_org integer, p_asset integer, p_method integer, p_life numeric)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT SET plan_cache_mode = force_generic_plan AS $$
BEGIN
    IF p_kind = 1 THEN
        INSERT INTO AMAssetFundDaily
        SELECT * FROM AMAssetDailyRows(p_target, p_seed, p_last, 1, p_org, false, p_asset, p_method, p_life);
    ELSE
        INSERT INTO AMAssetFundDaily
        SELECT * FROM AMAssetDailyRows(p_target, p_seed, p_last, 0, p_org, false, p_asset, p_method, p_life);
    END IF;
    RETURN 0;
END
$$;

-- WriteDaily: posts (p_cancel 0) or removes (p_cancel 1) the period's
-- alterations (p_from_depreciation 0) or its depreciation (1) for one asset
-- or all (p_asset 0) of the organisation.  Posting twice posts nothing new.
-- p_year 0 takes every period of the kind the organisation has, as a rebuild
-- does.
-- A period is posted from its own rows and its seed's (the latest depreciated
-- period before it): each table is read by period, or looked up per asset or
-- per version, never joined whole, so that a period costs what its assets do.
-- A whole organisation's depreciation, which covers nearly all its assets,
-- reads the organisation's cards and versions as one set instead, and looks up
-- only those of assets that have left it.
CREATE OR REPLACE FUNCTION AMAssetActDaily(p_year integer, p_period integer, p_asset integer,
                                           p_from_depreciation integer, p_cancel integer, p_org integer)
RETURNS double precision LANGUAGE plpgsql SET search_path FROM CURRENT SET jit = off SET work_mem = '64MB'
    SET enable_nestloop = on SET enable_seqscan = on SET enable_mergejoin = on SET enable_bitmapscan = on
    SET random_page_cost = 4 SET plan_cache_mode = force_custom_plan AS $$
DECLARE
    -- a whole organisation's posting is a process of its own and runs alone;
    -- one asset's belongs to a change of that asset, which holds the card and
    -- shares the lock with other changes (asking for it alone, two changes at
    -- once would each wait for the other)
    v_hold    integer := AMAssetHold(p_asset);
    v_lock    integer := AMAssetPeriodLock(p_org, CASE WHEN p_asset = 0 THEN 1 ELSE 0 END, 1);
    v_every   boolean := p_year = 0;
    v_yp      integer := p_year * 100 + p_period;
    v_kind    integer := CASE WHEN p_from_depreciation = 0 THEN 0 ELSE 1 END;
    v_method  integer := AMAssetModuleSetting(p_org, '常用折旧方法', 2);
    v_life    numeric := AMAssetModuleSetting(p_org, '预计使用期间', 0);
    v_targets integer[];
    v_target  integer;
    v_seed    integer;
    v_last    integer;
BEGIN
    IF p_cancel <> 0 THEN
        DELETE FROM AMAssetFundDaily d
         WHERE d.lngOrganizationID = p_org AND (v_every OR d.YearPeriod = v_yp) AND d.blnFromDepreciation = v_kind
           AND (p_asset = 0 OR d.lngAMAssetID = p_asset);
        RETURN 0;
    END IF;
    IF p_asset = 0 THEN
        -- A whole organisation is read by index and joined by hashing, and what
        -- is read per asset is looked up laterally. Balances written a moment
        -- ago have no statistics yet: a nested loop planned for a handful of
        -- rows meets tens of thousands, and a period's rows are mistaken for
        -- the whole table.
        PERFORM set_config('enable_nestloop', 'off', true);
        PERFORM set_config('enable_seqscan', 'off', true);
        -- hashed, not merged: sorting a period's rows for a merge costs more than hashing them
        PERFORM set_config('enable_mergejoin', 'off', true);
        -- an asset's few rows are found by a plain index scan at a fraction of a bitmap's set-up
        PERFORM set_config('enable_bitmapscan', 'off', true);
        -- the organisation's card versions up to the period are read through the period's
        -- index, not by walking the whole key: the pages are in memory, where a page read
        -- out of order costs little more than the next one (an upgraded set, whose versions
        -- are many, posted its history a third faster)
        PERFORM set_config('random_page_cost', '1.1', true);
    END IF;
    -- (one period needs no statement: planned afresh at every call, as
    -- this routine's statements are, it cost an asset's posting a fifth)
    v_targets := ARRAY[v_yp];
    IF v_every THEN
        v_targets := ARRAY(SELECT v.intYear * 100 + v.bytPeriod FROM AMAssetAlter v
                            WHERE v_kind = 0 AND v.lngOrganizationID = p_org
                              AND (p_asset = 0 OR v.lngAMAssetID = p_asset)
                           UNION
                           SELECT b.intYear * 100 + b.bytPeriod FROM AMAssetFundBalance b
                            WHERE v_kind = 1 AND b.lngOrganizationID = p_org
                              AND (p_asset = 0 OR b.lngAMAssetID = p_asset)
                           ORDER BY 1);
    END IF;
    FOREACH v_target IN ARRAY v_targets LOOP
        v_seed := AMAssetLatestRun(p_org, v_target);
        -- the last balance period read: an alteration comes before its period's depreciation
        v_last := v_target - (1 - v_kind);
        IF p_asset = 0 THEN
            INSERT INTO AMAssetFundDaily
            SELECT * FROM AMAssetDailyRows(v_target, v_seed, v_last, v_kind, p_org, true, 0, v_method, v_life);
        ELSE
            PERFORM AMAssetPostAssetDaily(v_target, v_seed, v_last, v_kind, p_org, p_asset, v_method, v_life);
        END IF;
    END LOOP;
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
