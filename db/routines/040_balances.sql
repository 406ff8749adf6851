-- Depreciation routines, part 4: the period balances.
--
-- AMAssetFundBalance holds, per depreciated period, one row for every
-- funding-source version current at the period's end of every asset still
-- in the register (an asset decreased in the period included; one decreased
-- earlier, or not yet added, has none).  A row gives the source's
-- accumulated depreciation before the period (dblInitDepreciation, with the
-- changes that alterations up to the period's end made to it), the period's
-- charge (dblDepreciation = dblPeriodDepreciation), the work and periods
-- used before and in the period, and the schedule the charge came from
-- (the dblBasis* columns), which the next period continues.
-- AMAssetFundBalanceEx is the working copy of the open period: the rows of
-- the organisation's latest depreciated period, plus rows of later periods
-- that only carry work recorded ahead (CaclDeprectionWork).
--
-- The charge of a period:
--   * the card version that governs it is chosen by the depreciation type
--     (GetDeprectionPeriod); type 2 (not depreciated), method 1 (none), no
--     governing version yet, or a governing decrease give no charge;
--   * while the governing version depreciates as the one the schedule
--     started with (AMAssetSameBasis: a transfer, a rename or new account
--     lines change nothing) the schedule continues, otherwise a new one
--     starts: carrying amount = cost - impairment -
--     accumulated depreciation of the governing version's figures, amount
--     to depreciate = carrying amount - residual value (nothing when not
--     above 0: a fully depreciated asset gets no more), remaining life =
--     life - periods used (start usage included), or for the workload
--     method remaining work = expected work - work done (start work
--     included); a remaining life of 0 or less takes the rest at once;
--   * the charge is the method's accumulated figure now less the one before
--     (020_methods.sql), so it never goes past the amount to depreciate and
--     the net value never falls below the residual value;
--   * each funding source takes its share of the asset's charge: its share
--     of the amount to depreciate when the schedule started (by cost when
--     the sources carry none); its running total is rounded to the cent and
--     the source with the largest share takes the remainder, so the sources
--     add up to the asset exactly in every period.

-- The figures of a card version and of a funding-source version that the
-- balances need.
DO $$
BEGIN
    CREATE TYPE AMAssetVersionFigures AS (lngAMAssetAlterID integer, intYearPeriod integer, blnIsInit integer,
                                          bytAlterType integer, dblBook numeric, dblNetworth numeric,
                                          bytDepreciationMethod integer, dblUseage numeric);
    CREATE TYPE AMAssetFundFigures AS (lngAMAssetFundAlterID integer, dblAmount numeric, dblDecAmount numeric,
                                       dblNetworth numeric);
EXCEPTION WHEN duplicate_object THEN
    NULL;  -- installed before
END
$$;

CREATE OR REPLACE FUNCTION AMAssetFundFiguresOf(lngAMAssetFundAlterID integer)
RETURNS AMAssetFundFigures LANGUAGE sql STABLE AS $$
    SELECT ROW(y.lngAMAssetFundAlterID, y.dblAmount, y.dblDecAmount, y.dblNetworth)::AMAssetFundFigures
      FROM AMAssetFundAlter y
     WHERE y.lngAMAssetFundAlterID = AMAssetFundFiguresOf.lngAMAssetFundAlterID
$$;

CREATE OR REPLACE FUNCTION AMAssetVersionFiguresOf(lngAMAssetAlterID integer)
RETURNS AMAssetVersionFigures LANGUAGE sql STABLE AS $$
    SELECT ROW(x.lngAMAssetAlterID, x.intYear * 100 + x.bytPeriod, x.blnIsInit, x.bytAlterType,
               x.dblAmount - x.dblDecAmount, x.dblNetworth, x.bytDepreciationMethod, x.dblUseage)::AMAssetVersionFigures
      FROM AMAssetAlter x
     WHERE x.lngAMAssetAlterID = AMAssetVersionFiguresOf.lngAMAssetAlterID
$$;

-- Whether card version p_to depreciates as p_from does: the same cost,
-- impairment, residual value, accumulated depreciation, life or work,
-- method and category, and no funding source's accumulated depreciation
-- adjusted by the versions between them.
CREATE OR REPLACE FUNCTION AMAssetSameBasis(p_from integer, p_to integer)
RETURNS boolean LANGUAGE sql STABLE AS $$
    SELECT x.dblAmount = y.dblAmount AND x.dblDecAmount = y.dblDecAmount AND x.dblNetworth = y.dblNetworth
           AND x.dblDepreciation = y.dblDepreciation AND x.dblUseage = y.dblUseage
           AND x.bytDepreciationMethod = y.bytDepreciationMethod AND x.lngAMAssetTypeID = y.lngAMAssetTypeID
           AND NOT EXISTS (SELECT 1 FROM AMAssetFundAlter f
                            WHERE f.lngAMAssetID = y.lngAMAssetID
                              AND f.lngAMAssetAlterID > p_from AND f.lngAMAssetAlterID <= p_to
                              AND f.dblDepreciationAlter + f.dblTransferDepreciationAlter <> 0)
      FROM AMAssetAlter x, AMAssetAlter y
     WHERE x.lngAMAssetAlterID = p_from AND y.lngAMAssetAlterID = p_to
$$;

-- The balance rows of one period: the organisation's (p_whole) or asset
-- p_asset's.  Work of the period is read from the working copy.  Written to
-- be inlined into its caller's statement: p_whole comes as a constant, so the
-- statement planned for one asset reaches every table through the asset's
-- own key (it names no organisation or period index it could scan instead,
-- whatever stale statistics say those hold), and its plan, once cached,
-- serves every later asset.
CREATE OR REPLACE FUNCTION AMAssetBalanceRows(p_year integer, p_period integer, p_yp integer, p_org integer,
                                              p_whole boolean, p_asset integer, p_prev integer, p_type integer,
                                              p_method integer, p_life numeric)
RETURNS SETOF AMAssetFundBalance LANGUAGE sql STABLE AS $$
    -- (OFFSET 0 keeps each stage's figures computed once instead of being
    -- copied into every expression that uses them; ordering each stage by
    -- the asset keeps the order the first window sorted the rows in, so the
    -- last one needs no sort of its own)
    WITH asset AS (
        -- the card version current at the period's end: normally the latest
        SELECT a.lngAMAssetID, a.dblStartUsage, a.dblStartWork,
               CASE WHEN l.intYear * 100 + l.bytPeriod <= p_yp
                    THEN ROW(l.lngAMAssetAlterID, l.intYear * 100 + l.bytPeriod, l.blnIsInit, l.bytAlterType,
                             l.dblAmount - l.dblDecAmount, l.dblNetworth, l.bytDepreciationMethod,
                             l.dblUseage)::AMAssetVersionFigures
                    ELSE AMAssetVersionFiguresOf(AMAssetVersionAt(a.lngAMAssetID, p_yp)) END AS c,
               AMAssetDepreciationType(coalesce(tx.bytDepreciationType, t.bytDepreciationType), p_type) AS bytType,
               coalesce(nullif(coalesce(tx.bytDepreciationMethod, t.bytDepreciationMethod), 0), p_method) AS bytTypeMethod,
               coalesce(nullif(coalesce(tx.dblUseage, t.dblUseage), 0), p_life) AS dblTypeLife
          FROM AMAsset a
          LEFT JOIN AMAssetAlter l ON l.lngAMAssetAlterID = a.lngAMAssetLastAlterID
          LEFT JOIN AMAssetType t ON t.lngAMAssetTypeID = a.lngAMAssetTypeID
          LEFT JOIN AMAssetTypeEx tx ON tx.lngAMAssetTypeID = a.lngAMAssetTypeID AND tx.lngOrganizationID = p_org
         WHERE a.lngOrganizationID = p_org AND (p_whole OR a.lngAMAssetID = p_asset)
        OFFSET 0
    ),
    governing AS (
        -- the version that governs the period: normally the current one
        SELECT s.lngAMAssetID, s.dblStartUsage, s.dblStartWork, s.bytType, s.bytTypeMethod, s.dblTypeLife,
               (s.c).lngAMAssetAlterID AS lngCurrentID,
               CASE WHEN s.bytType = 2 THEN NULL
                    WHEN GetDeprectionPeriod((s.c).intYearPeriod, s.bytType, (s.c).blnIsInit) <= p_yp THEN s.c
                    ELSE AMAssetVersionFiguresOf(AMAssetGoverningVersion(s.lngAMAssetID, p_yp, s.bytType)) END AS g
          FROM asset s
         WHERE (s.c).lngAMAssetAlterID IS NOT NULL
           AND NOT ((s.c).bytAlterType = 2 AND (s.c).intYearPeriod < p_yp)
        OFFSET 0
    ),
    governed AS (
        SELECT s.lngAMAssetID, s.dblStartUsage, s.dblStartWork, s.bytType, s.lngCurrentID,
               (s.g).lngAMAssetAlterID AS lngGovernID, (s.g).dblBook AS dblGovernBook,
               (s.g).dblNetworth AS dblGovernResidual,
               coalesce(nullif((s.g).bytDepreciationMethod, 0), s.bytTypeMethod) AS bytMethod,
               coalesce(nullif((s.g).dblUseage, 0), s.dblTypeLife) AS dblLife,
               ((s.g).lngAMAssetAlterID IS NOT NULL AND (s.g).bytAlterType <> 2 AND s.bytType IN (1, 3)) AS blnGoverned
          FROM governing s
    ),
    fund AS (
        -- each source's version current at the period's end: normally its latest
        SELECT gv.*, af.lngAMFundID, af.lngAMAssetFundInitAlterID,
               CASE WHEN lf.intYear * 100 + lf.bytPeriod <= p_yp
                    THEN ROW(lf.lngAMAssetFundAlterID, lf.dblAmount, lf.dblDecAmount, lf.dblNetworth)::AMAssetFundFigures
                    ELSE AMAssetFundFiguresOf(AMAssetFundVersionAt(af.lngAMAssetID, af.lngAMFundID, p_yp))
               END AS fv
          FROM governed gv
          JOIN AMAssetFund af ON af.lngAMAssetID = gv.lngAMAssetID
          LEFT JOIN AMAssetFundAlter lf ON lf.lngAMAssetFundAlterID = af.lngAMAssetFundLastAlterID
        OFFSET 0
    ),
    changed AS (
        -- depreciation changes of the alterations since the previous run, with
        -- each one's card version: those of versions that do not govern the
        -- period yet are pending (told apart where the governing version is
        -- known, so that this stage reads no asset's figures)
        SELECT c.lngAMAssetID, c.lngAMFundID, sum(c.dblChange) AS dblChange,
               array_agg(c.lngAMAssetAlterID) AS lngVersions, array_agg(c.dblChange) AS dblChanges
          FROM (SELECT y.lngAMAssetID, y.lngAMFundID, y.lngAMAssetAlterID,
                       AMAssetDepreciationChange(false, ya.bytAlterType, y.dblDepreciation, y.dblDepreciationAlter,
                                                 y.dblTransferDepreciationAlter) AS dblChange
          FROM AMAssetFundAlter y
          JOIN AMAssetFund af ON af.lngAMAssetID = y.lngAMAssetID AND af.lngAMFundID = y.lngAMFundID
          JOIN AMAssetAlter ya ON ya.lngAMAssetAlterID = y.lngAMAssetAlterID
         WHERE (NOT p_whole OR y.lngOrganizationID = p_org) AND (p_whole OR y.lngAMAssetID = p_asset)
           AND (y.intYear, y.bytPeriod) > (coalesce(p_prev, 0) / 100, coalesce(p_prev, 0) % 100)
           AND (y.intYear, y.bytPeriod) <= (p_year, p_period)
           AND y.lngAMAssetFundAlterID <> af.lngAMAssetFundInitAlterID) c
         GROUP BY c.lngAMAssetID, c.lngAMFundID
    ),
    worked AS (
        SELECT x.lngAMAssetID, max(x.dblWork) AS dblWork
          FROM AMAssetFundBalanceEx x
         WHERE (NOT p_whole OR x.lngOrganizationID = p_org) AND x.intYear = p_year AND x.bytPeriod = p_period
           AND (p_whole OR x.lngAMAssetID = p_asset) AND x.dblWork <> 0
         GROUP BY x.lngAMAssetID
    ),
    sourced AS (
        SELECT f.lngAMAssetID, f.lngAMFundID, f.lngCurrentID, f.lngGovernID, f.blnGoverned, f.bytType,
               f.dblGovernBook, f.dblGovernResidual, f.bytMethod, f.dblLife,
               (f.fv).lngAMAssetFundAlterID AS lngFundAlterID, (f.fg).dblAmount AS dblFundCost,
               (f.fg).dblAmount - (f.fg).dblDecAmount - (f.fg).dblNetworth AS dblFundDepreciable,
               CASE WHEN pb.lngAMAssetID IS NOT NULL
                    THEN pb.dblInitDepreciation + pb.dblDepreciation + coalesce(ch.dblChange, 0)
                    ELSE coalesce((SELECT fi.dblDepreciation FROM AMAssetFundAlter fi
                                    WHERE fi.lngAMAssetFundAlterID = f.lngAMAssetFundInitAlterID), 0)
                       + coalesce((SELECT sum(AMAssetDepreciationChange(false, ya.bytAlterType, y.dblDepreciation,
                                                                       y.dblDepreciationAlter,
                                                                       y.dblTransferDepreciationAlter))
                                     FROM AMAssetFundAlter y
                                     JOIN AMAssetAlter ya ON ya.lngAMAssetAlterID = y.lngAMAssetAlterID
                                    WHERE y.lngAMAssetID = f.lngAMAssetID AND y.lngAMFundID = f.lngAMFundID
                                      AND y.intYear * 100 + y.bytPeriod <= p_yp
                                      AND y.lngAMAssetFundAlterID <> f.lngAMAssetFundInitAlterID), 0)
               END AS dblInit,
               coalesce(pb.intInitPeriods + pb.intPeriods, round(f.dblStartUsage)::integer) AS intInitPeriods,
               coalesce(pb.dblInitWork + pb.dblWork, f.dblStartWork) AS dblInitWork,
               coalesce(wk.dblWork, 0) AS dblWork,
               coalesce(f.blnGoverned AND pb.lngBasisAlterID <> 0
                        AND (pb.lngBasisAlterID = f.lngGovernID
                             OR AMAssetSameBasis(pb.lngBasisAlterID, f.lngGovernID)), false) AS blnContinues,
               pb.lngBasisAlterID AS lngPrevBasisID,
               CASE WHEN ch.lngAMAssetID IS NULL THEN 0
                    ELSE coalesce((SELECT sum(v.dblChange) FROM unnest(ch.lngVersions, ch.dblChanges) v(lngVersion, dblChange)
                                    WHERE v.lngVersion > f.lngGovernID), 0) END AS dblPending,
               pb.bytBasisMethod AS bytPrevMethod, pb.dblBasisBook AS dblPrevBook,
               pb.dblBasisAmount AS dblPrevAmount, pb.dblBasisLife AS dblPrevLife,
               pb.intBasisPeriods AS intPrevPeriods, pb.dblBasisWork AS dblPrevWork,
               pb.dblBasisDepreciation AS dblPrevDepreciation,
               CASE WHEN pb.dblBasisWeights > 0 THEN pb.dblBasisWeight ELSE pb.dblBasisShare END AS dblPrevWeight,
               CASE WHEN pb.dblBasisWeights > 0 THEN pb.dblBasisWeights ELSE 1 END AS dblPrevWeights,
               pb.blnBasisRemainder AS blnPrevRemainder
          FROM (SELECT f.*,
                       -- the source's figures that stand with the governing version: a schedule
                       -- shares what that version depreciates, not a change still to take effect
                       CASE WHEN f.lngGovernID IS NULL OR f.lngGovernID = f.lngCurrentID THEN f.fv
                            ELSE AMAssetFundFiguresOf(AMAssetFundVersionOf(f.lngAMAssetID, f.lngAMFundID,
                                                                           f.lngGovernID)) END AS fg
                  FROM fund f) f
          LEFT JOIN (SELECT b.lngAMAssetID, b.lngAMFundID, b.dblInitDepreciation, b.dblDepreciation,
                            b.intInitPeriods, b.intPeriods, b.dblInitWork, b.dblWork, b.lngBasisAlterID,
                            b.bytBasisMethod, b.dblBasisBook, b.dblBasisAmount, b.dblBasisLife, b.intBasisPeriods,
                            b.dblBasisWork, b.dblBasisDepreciation, b.dblBasisShare, b.blnBasisRemainder,
                            b.dblBasisWeight, b.dblBasisWeights
                       FROM AMAssetFundBalance b
                      WHERE (NOT p_whole OR b.lngOrganizationID = p_org) AND (p_whole OR b.lngAMAssetID = p_asset)
                        AND b.intYear = p_prev / 100 AND b.bytPeriod = p_prev % 100
                     UNION ALL
                     -- before a period of the set's own: the schedule an opening record carries on
                     SELECT o.lngAMAssetID, o.lngAMFundID, o.dblInitDepreciation, 0, o.intInitPeriods, 0,
                            o.dblInitWork, 0, o.lngBasisAlterID, o.bytBasisMethod, o.dblBasisBook, o.dblBasisAmount,
                            o.dblBasisLife, o.intBasisPeriods, o.dblBasisWork, o.dblBasisDepreciation,
                            o.dblBasisShare, o.blnBasisRemainder, o.dblBasisWeight, o.dblBasisWeights
                       FROM AMAssetFundBasis o
                      WHERE p_prev IS NULL AND (NOT p_whole OR o.lngOrganizationID = p_org)
                        AND (p_whole OR o.lngAMAssetID = p_asset)) pb
                 ON pb.lngAMAssetID = f.lngAMAssetID AND pb.lngAMFundID = f.lngAMFundID
          LEFT JOIN changed ch ON ch.lngAMAssetID = f.lngAMAssetID AND ch.lngAMFundID = f.lngAMFundID
          LEFT JOIN worked wk ON wk.lngAMAssetID = f.lngAMAssetID
         WHERE (f.fv).lngAMAssetFundAlterID IS NOT NULL
        OFFSET 0
    ),
    assetwide AS (
        SELECT r.*,
               -- a new schedule starts from what the governing version knows
               sum(r.dblInit - r.dblPending) OVER w AS dblAssetInit,
               sum(greatest(r.dblFundDepreciable - r.dblInit + r.dblPending, 0)) OVER w AS dblFundsToGo,
               sum(r.dblFundCost) OVER w AS dblFundsCost,
               row_number() OVER w AS intRank,
               bool_and(r.blnContinues) OVER w AS blnAssetContinues,
               max(CASE WHEN r.blnContinues THEN r.lngPrevBasisID END) OVER w AS lngContBasisID,
               max(CASE WHEN r.blnContinues THEN r.bytPrevMethod END) OVER w AS bytContMethod,
               max(CASE WHEN r.blnContinues THEN r.dblPrevBook END) OVER w AS dblContBook,
               max(CASE WHEN r.blnContinues THEN r.dblPrevAmount END) OVER w AS dblContAmount,
               max(CASE WHEN r.blnContinues THEN r.dblPrevLife END) OVER w AS dblContLife,
               max(CASE WHEN r.blnContinues THEN r.intPrevPeriods END) OVER w AS intContPeriods,
               max(CASE WHEN r.blnContinues THEN r.dblPrevWork END) OVER w AS dblContWork,
               max(CASE WHEN r.blnContinues THEN r.dblPrevDepreciation END) OVER w AS dblContDepreciation
          FROM sourced r
        -- one window for the rank and the sums, so the rows are stored once:
        -- the rank takes the order, the sums the asset's every row
        WINDOW w AS (PARTITION BY r.lngAMAssetID
                     ORDER BY round(greatest(r.dblFundDepreciable - r.dblInit + r.dblPending, 0), 2) DESC,
                              round(r.dblFundCost, 2) DESC, r.lngAMFundID
                     ROWS BETWEEN UNBOUNDED PRECEDING AND UNBOUNDED FOLLOWING)
    ),
    basis AS (
        SELECT r.*,
               CASE WHEN NOT r.blnGoverned THEN 0 WHEN r.blnAssetContinues THEN r.bytContMethod
                    ELSE r.bytMethod END AS bytBasis,
               CASE WHEN NOT r.blnGoverned THEN 0 WHEN r.blnAssetContinues THEN r.dblContBook
                    ELSE r.dblGovernBook - r.dblAssetInit END AS dblBook,
               CASE WHEN NOT r.blnGoverned THEN 0 WHEN r.blnAssetContinues THEN r.dblContAmount
                    ELSE greatest(r.dblGovernBook - r.dblAssetInit - r.dblGovernResidual, 0) END AS dblToDepreciate,
               CASE WHEN NOT r.blnGoverned THEN 0 WHEN r.blnAssetContinues THEN r.dblContLife
                    WHEN r.bytMethod = 3 THEN r.dblLife - r.dblInitWork
                    ELSE greatest(r.dblLife - r.intInitPeriods, 1) END AS dblRemaining,
               CASE WHEN r.blnAssetContinues THEN r.intContPeriods ELSE 0 END AS intDonePeriods,
               CASE WHEN r.blnAssetContinues THEN r.dblContWork ELSE 0 END AS dblDoneWork,
               CASE WHEN r.blnAssetContinues THEN r.dblContDepreciation ELSE 0 END AS dblDone,
               CASE WHEN NOT r.blnGoverned THEN 0
                    WHEN r.blnAssetContinues THEN coalesce(r.dblPrevWeight, 0)
                    -- in cents: amounts saved from doubles carry noise past them
                    WHEN r.dblFundsToGo > 0 THEN round(greatest(r.dblFundDepreciable - r.dblInit + r.dblPending, 0), 2)
                    WHEN r.dblFundsCost > 0 THEN round(r.dblFundCost, 2)
                    WHEN r.intRank = 1 THEN 1 ELSE 0 END AS dblWeight,
               CASE WHEN NOT r.blnGoverned THEN 1
                    WHEN r.blnAssetContinues THEN coalesce(r.dblPrevWeights, 1)
                    WHEN r.dblFundsToGo > 0 THEN round(r.dblFundsToGo, 2)
                    WHEN r.dblFundsCost > 0 THEN round(r.dblFundsCost, 2)
                    ELSE 1 END AS dblWeights,
               CASE WHEN NOT r.blnGoverned THEN 0
                    WHEN r.blnAssetContinues THEN coalesce(r.blnPrevRemainder, 0)
                    WHEN r.intRank = 1 THEN 1 ELSE 0 END AS blnRemainder
          FROM assetwide r
         ORDER BY r.lngAMAssetID
        OFFSET 0
    ),
    charged AS (
        SELECT b.*,
               b.intDonePeriods + CASE WHEN b.blnInService THEN 1 ELSE 0 END AS intNowPeriods,
               b.dblDoneWork + CASE WHEN b.blnInService AND b.bytBasis = 3 THEN b.dblWork ELSE 0 END AS dblNowWork
          -- a period in service uses the life up, whether or not anything is left to charge
          FROM (SELECT b.*, b.bytBasis BETWEEN 2 AND 6 AS blnInService,
                       (b.bytBasis BETWEEN 2 AND 6 AND b.dblToDepreciate - b.dblDone > 0) AS blnDepreciating
                  FROM basis b) b
         ORDER BY b.lngAMAssetID
        OFFSET 0
    ),
    accumulated AS (
        SELECT c.*,
               CASE WHEN c.blnDepreciating
                    THEN greatest(AMAssetScheduleAccumulated(c.bytBasis, c.dblToDepreciate, c.dblRemaining,
                                                             c.intNowPeriods, c.dblNowWork, c.y), c.dblDone)
                    ELSE c.dblDone END AS dblNow,
               (c.y).dblYear AS dblYearAmount,
               -- (at least 1: a period past the life still counts as used)
               greatest(least(12, ceil(greatest(c.dblRemaining, 1))::integer
                                  - 12 * ((greatest(c.intNowPeriods, 1) - 1) / 12)), 1) AS intYearMonths
          -- the depreciation year computed once, for both figures taken from it
          FROM (SELECT c.*, AMAssetYearOf(c.bytBasis, c.dblBook, c.dblToDepreciate, c.dblRemaining,
                                          greatest(c.intNowPeriods, 1)) AS y
                  FROM charged c
                 ORDER BY c.lngAMAssetID
                OFFSET 0) c
         ORDER BY c.lngAMAssetID
        OFFSET 0
    ),
    shared AS (
        -- multiplied before dividing, so that a share's half cent rounds as it should
        SELECT s.*, s.dblWeight / s.dblWeights AS dblShare,
               CASE WHEN s.blnRemainder = 1 THEN 0
                    ELSE round(s.dblNow * s.dblWeight / s.dblWeights, 2)
                       - round(s.dblDone * s.dblWeight / s.dblWeights, 2) END AS dblOthersCharge
          FROM accumulated s
         ORDER BY s.lngAMAssetID
        OFFSET 0
    ),
    final AS (
        SELECT s.*,
               CASE WHEN s.blnRemainder = 1
                    THEN (s.dblNow - s.dblDone) - sum(s.dblOthersCharge) OVER (PARTITION BY s.lngAMAssetID)
                    ELSE s.dblOthersCharge END AS dblCharge,
               round(s.dblYearAmount * s.dblShare, 2) AS dblFundYear
          FROM shared s
    )
    SELECT f.lngCurrentID, f.lngFundAlterID, f.lngAMAssetID, f.lngAMFundID, p_year, p_period,
           f.dblInit, f.dblCharge, f.dblInitWork, f.dblWork, f.intInitPeriods,
           CASE WHEN f.blnInService THEN 1 ELSE 0 END,
           f.dblInit + round((f.dblToDepreciate - f.dblDone) * f.dblShare, 2),
           f.dblCharge,
           round((f.dblToDepreciate - f.dblNow) * f.dblShare, 2),
           0,
           CASE WHEN f.blnDepreciating THEN 1 ELSE 0 END,
           CASE WHEN f.bytBasis = 3 THEN 0 ELSE f.dblFundYear END,
           CASE WHEN f.bytBasis = 3 OR f.dblFundCost = 0 THEN 0
                ELSE round(f.dblFundYear * 100 / f.dblFundCost, 4) END,
           CASE WHEN f.bytBasis = 3 THEN f.dblCharge ELSE round(f.dblFundYear / f.intYearMonths, 2) END,
           CASE WHEN f.bytBasis = 3 THEN GetDeprectionFromUPD(f.dblToDepreciate, f.dblRemaining)
                WHEN f.dblFundCost = 0 THEN 0
                ELSE round(f.dblFundYear / f.intYearMonths * 100 / f.dblFundCost, 4) END,
           0, p_org,
           CASE WHEN NOT f.blnGoverned THEN 0 WHEN f.blnAssetContinues THEN f.lngContBasisID ELSE f.lngGovernID END,
           f.bytBasis, f.dblBook, f.dblToDepreciate,
           f.dblRemaining, f.intNowPeriods, f.dblNowWork, f.dblNow, f.dblShare, f.blnRemainder, f.dblWeight,
           f.dblWeights
      FROM final f
$$;

-- One asset's rows of a period.  Its plan reaches every table through the
-- asset's key, so one generic plan serves every asset from the first call
-- on; planned afresh for each of a session's first calls, as custom plans
-- are, the statement cost more than writing the rows.
CREATE OR REPLACE FUNCTION AMAssetWriteAssetBalance(p_year integer, p_period integer, p_asset integer,
                                                    p_org integer, p_prev integer, p_type integer,
                                                    p_method integer, p_life numeric)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT SET plan_cache_mode = force_generic_plan AS $$
DECLARE
    v_rows integer;
BEGIN
    INSERT INTO AMAssetFundBalance
    SELECT * FROM AMAssetBalanceRows(p_year, p_period, p_year * 100 + p_period, p_org, false, p_asset, p_prev,
                                     p_type, p_method, p_life);
    GET DIAGNOSTICS v_rows = ROW_COUNT;
    RETURN v_rows;
END
$$;

-- Writes the rows of one period (all assets of the organisation, or one
-- asset) into AMAssetFundBalance; the caller has removed that scope's old
-- rows (AMAssetDeprectionProcess1).  Returns the number of rows.  The same
-- rows for 100,000 assets as for one (compiling with JIT would cost more
-- than running the statement).
CREATE OR REPLACE FUNCTION AMAssetWriteBalance(p_year integer, p_period integer, p_asset integer,
                                               p_org integer)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT SET jit = off SET work_mem = '64MB' AS $$
DECLARE
    v_prev   integer := AMAssetLatestRun(p_org, p_year * 100 + p_period);
    v_type   integer := AMAssetModuleSetting(p_org, '折旧类型', 1);
    v_method integer := AMAssetModuleSetting(p_org, '常用折旧方法', 2);
    v_life   numeric := AMAssetModuleSetting(p_org, '预计使用期间', 0);
    v_rows   integer;
BEGIN
    IF p_asset <> 0 THEN
        RETURN AMAssetWriteAssetBalance(p_year, p_period, p_asset, p_org, v_prev, v_type, v_method, v_life);
    END IF;
    INSERT INTO AMAssetFundBalance
    SELECT * FROM AMAssetBalanceRows(p_year, p_period, p_year * 100 + p_period, p_org, true, 0, v_prev, v_type,
                                     v_method, v_life);
    GET DIAGNOSTICS v_rows = ROW_COUNT;
    RETURN v_rows;
END
$$;

-- Step 1 of (re)writing a period: the scope's rows of that period go, with
-- their apportionment and their posted depreciation.  One asset's rows are
-- named by the asset alone: its statements can take no index but the
-- asset's, however few rows stale statistics make the organisation's period
-- look (a plan cached for one asset serves the next one).
CREATE OR REPLACE FUNCTION AMAssetDeprectionProcess1(p_year integer, p_period integer, p_asset integer,
                                                     p_org integer)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
BEGIN
    IF p_asset <> 0 THEN
        DELETE FROM AMAssetFundBalance b
         WHERE b.lngAMAssetID = p_asset AND b.intYear = p_year AND b.bytPeriod = p_period;
        DELETE FROM AMAssetFundBalanceAmortise b
         WHERE b.lngAMAssetID = p_asset AND b.intYear = p_year AND b.bytPeriod = p_period;
        DELETE FROM AMAssetFundBalanceAmortiseEx b
         WHERE b.lngAMAssetID = p_asset AND b.intYear = p_year AND b.bytPeriod = p_period;
        DELETE FROM AMAssetFundDaily d
         WHERE d.lngAMAssetID = p_asset AND d.YearPeriod = p_year * 100 + p_period AND d.blnFromDepreciation = 1;
        RETURN 0;
    END IF;
    DELETE FROM AMAssetFundBalance b
     WHERE b.lngOrganizationID = p_org AND b.intYear = p_year AND b.bytPeriod = p_period;
    DELETE FROM AMAssetFundBalanceAmortise b
     WHERE b.lngOrganizationID = p_org AND b.intYear = p_year AND b.bytPeriod = p_period;
    DELETE FROM AMAssetFundBalanceAmortiseEx b
     WHERE b.lngOrganizationID = p_org AND b.intYear = p_year AND b.bytPeriod = p_period;
    DELETE FROM AMAssetFundDaily d
     WHERE d.lngOrganizationID = p_org AND d.YearPeriod = p_year * 100 + p_period AND d.blnFromDepreciation = 1;
    RETURN 0;
END
$$;

-- Step 2: the working copy becomes the period just written (work recorded
-- for later periods stays), and with blnIncreaseDepreciation = 1 each row's
-- increased depreciation is its charge times the share (dblRate, percent)
-- of its funding-source version's account lines flagged for increases.
-- After a whole organisation the working copy's statistics are gathered:
-- the apportionment reads it next and, planned on the handful of rows the
-- statistics last saw, would probe the account lines row by row.  Only the
-- columns its readers select and join by, and from a small sample: the
-- plans need the row counts and the common values, not fine histograms.
CREATE OR REPLACE FUNCTION AMAssetDeprectionProcess2(p_year integer, p_period integer, p_asset integer,
                                                     p_increase integer, p_org integer)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT SET default_statistics_target = 10 AS $$
BEGIN
    IF p_increase = 1 THEN
        UPDATE AMAssetFundBalance b
           SET dblIncreaseDepreciation = least(round(b.dblDepreciation * l.dblRate / 100, 2), b.dblDepreciation)
          FROM (SELECT a.lngAMAssetFundAlterID, sum(a.dblRate) AS dblRate
                  FROM AMAssetFundAccAlter a
                 WHERE a.blnDepreIncrease <> 0
                 GROUP BY a.lngAMAssetFundAlterID) l
         WHERE l.lngAMAssetFundAlterID = b.lngAMAssetFundAlterID
           AND b.lngOrganizationID = p_org AND b.intYear = p_year AND b.bytPeriod = p_period
           AND (p_asset = 0 OR b.lngAMAssetID = p_asset);
    END IF;
    IF p_asset <> 0 THEN  -- by the asset alone, as in step 1
        DELETE FROM AMAssetFundBalanceEx x
         WHERE x.lngAMAssetID = p_asset AND x.intYear * 100 + x.bytPeriod <= p_year * 100 + p_period;
        INSERT INTO AMAssetFundBalanceEx
        SELECT * FROM AMAssetFundBalance b
         WHERE b.lngAMAssetID = p_asset AND b.intYear = p_year AND b.bytPeriod = p_period;
        RETURN 0;
    END IF;
    DELETE FROM AMAssetFundBalanceEx x
     WHERE x.lngOrganizationID = p_org AND x.intYear * 100 + x.bytPeriod <= p_year * 100 + p_period;
    INSERT INTO AMAssetFundBalanceEx
    SELECT * FROM AMAssetFundBalance b
     WHERE b.lngOrganizationID = p_org AND b.intYear = p_year AND b.bytPeriod = p_period;
    ANALYZE AMAssetFundBalanceEx (lngOrganizationID, intYear, bytPeriod, lngAMAssetID, lngAMAssetAlterID,
                                  lngAMAssetFundAlterID, dblDepreciation, dblIncreaseDepreciation, dblWork);
    RETURN 0;
END
$$;

-- Records the work of a period for an asset (every funding-source row of the
-- asset carries the asset's whole work): into the working copy's rows of
-- that period, or a new row per funding source current at the period when
-- there are none yet.  Returns 1 when the asset has no version by then.
CREATE OR REPLACE FUNCTION AMAssetDeprectionWork(p_year integer, p_period integer, p_asset integer,
                                                 p_work numeric, p_org integer)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_yp      integer := p_year * 100 + p_period;
    v_current integer := AMAssetVersionAt(p_asset, p_year * 100 + p_period);
BEGIN
    UPDATE AMAssetFundBalanceEx x SET dblWork = p_work
     WHERE x.lngOrganizationID = p_org AND x.lngAMAssetID = p_asset
       AND x.intYear = p_year AND x.bytPeriod = p_period;
    IF FOUND THEN
        RETURN 0;
    END IF;
    IF v_current IS NULL THEN
        RETURN 1;
    END IF;
    INSERT INTO AMAssetFundBalanceEx (lngAMAssetAlterID, lngAMAssetFundAlterID, lngAMAssetID, lngAMFundID,
                                      intYear, bytPeriod, dblWork, lngOrganizationID)
    SELECT v_current, coalesce(AMAssetFundVersionAt(p_asset, f.lngAMFundID, v_yp), 0), p_asset,
           coalesce(f.lngAMFundID, 0), p_year, p_period, p_work, p_org
      FROM (SELECT NULL::integer AS lngAMFundID) none
      LEFT JOIN AMAssetFund f ON f.lngAMAssetID = p_asset;
    RETURN 0;
END
$$;

-- Writes period yp again for the scope (one asset, or 0 for all), keeping
-- the run's increased-depreciation choice, reposting the period's
-- depreciation in the journal when it had been posted and apportioning the
-- scope again when the period had been apportioned, with the increases as
-- that apportionment found them (cleared outside trade 32).  Its look-ups
-- are planned for each call's values: one plan kept for every call, made
-- while the statistics still described the tables before the close, read
-- the whole period the close had just written to find one asset's rows.
CREATE OR REPLACE FUNCTION AMAssetRecompute(p_yp integer, p_asset integer, p_increase integer, p_org integer)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_year        integer := p_yp / 100;
    v_period      integer := p_yp % 100;
    v_posted      boolean;
    -- (an asset with rows of its own there is looked up by the asset: the
    -- organisation's period, tested for each asset, is read past the rows
    -- recalculated before it)
    v_apportioned boolean := EXISTS (SELECT 1 FROM AMAssetFundBalanceAmortise a
                                      WHERE a.lngAMAssetID = p_asset AND a.intYear = v_year
                                        AND a.bytPeriod = v_period AND a.lngOrganizationID = p_org)
                             OR EXISTS (SELECT 1 FROM AMAssetFundBalanceAmortise a
                                         WHERE a.lngOrganizationID = p_org AND a.intYear = v_year
                                           AND a.bytPeriod = v_period);
    v_cleared     boolean := false;
BEGIN
    IF v_apportioned AND p_increase = 1 THEN
        v_cleared := NOT EXISTS (SELECT 1 FROM AMAssetFundBalanceEx x
                                  WHERE x.lngOrganizationID = p_org AND x.intYear = v_year
                                    AND x.bytPeriod = v_period AND x.dblIncreaseDepreciation <> 0);
    END IF;
    -- (one asset by the asset alone, as in AMAssetDeprectionProcess1)
    v_posted := CASE WHEN p_asset = 0
                     THEN EXISTS (SELECT 1 FROM AMAssetFundDaily d
                                   WHERE d.lngOrganizationID = p_org AND d.YearPeriod = p_yp
                                     AND d.blnFromDepreciation = 1)
                     ELSE EXISTS (SELECT 1 FROM AMAssetFundDaily d
                                   WHERE d.lngAMAssetID = p_asset AND d.YearPeriod = p_yp
                                     AND d.blnFromDepreciation = 1) END;
    PERFORM AMAssetDeprectionProcess1(v_year, v_period, p_asset, p_org);
    PERFORM AMAssetWriteBalance(v_year, v_period, p_asset, p_org);
    PERFORM AMAssetDeprectionProcess2(v_year, v_period, p_asset, p_increase, p_org);
    IF v_posted THEN
        PERFORM AMAssetActDaily(v_year, v_period, p_asset, 1, 0, p_org);
    END IF;
    IF v_apportioned THEN
        IF v_cleared THEN
            UPDATE AMAssetFundBalanceEx x SET dblIncreaseDepreciation = 0
             WHERE x.lngOrganizationID = p_org AND x.intYear = v_year AND x.bytPeriod = v_period;
        END IF;
        PERFORM AMAssetWriteBalanceAmortise(v_year, v_period, p_asset, p_org);
    END IF;
    RETURN 0;
END
$$;

-- Writes depreciated period yp again for the scope with the increased-
-- depreciation choice its run was made with.
CREATE OR REPLACE FUNCTION AMAssetRecomputeRun(p_yp integer, p_asset integer, p_org integer)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
BEGIN
    RETURN AMAssetRecompute(p_yp, p_asset,
                            (SELECT max(d.blnIncreaseDepreciation) FROM AMAssetDepreciation d
                              WHERE d.lngOrganizationID = p_org AND d.intYear * 100 + d.bytPeriod = p_yp),
                            p_org);
END
$$;

-- WriteBalance.  p_mode 0 or 1 depreciates period p_year/p_period for the
-- organisation; running it again replaces that period's figures.  Periods
-- close in order (2 otherwise): a period before the organisation's latest
-- depreciated one is refused, since past periods stay as they were, and so
-- is one after the first open period (the one after the latest run, or
-- the organisation's first accounting period).  p_mode 2 takes back the latest depreciated
-- period (2 when another period is named, 3 when there is none): its
-- balances, apportionment, posted depreciation and run record go and the
-- working copy returns to the period before; work recorded for it stays.
-- The run is recorded in AMAssetDepreciation (date, name, increase flag,
-- the period's total charge, voucher, operator).  Returns 0 on success.
CREATE OR REPLACE FUNCTION AMAssetDeprection(p_mode integer, p_year integer, p_period integer, p_date varchar,
                                             p_name varchar, p_increase integer, p_voucher integer,
                                             p_operator integer, p_org integer)
RETURNS double precision LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_lock   integer := AMAssetPeriodLock(p_org, 1, 1);
    v_yp     integer := p_year * 100 + p_period;
    v_latest integer := AMAssetLatestRun(p_org, NULL);
    v_prev   integer;
    v_open   integer;
BEGIN
    IF p_mode = 2 THEN
        IF v_latest IS NULL THEN
            RETURN AMAssetRefuse(3, '还没有计提过折旧的期间');
        ELSIF v_yp <> 0 AND v_yp <> v_latest THEN
            RETURN AMAssetRefuse(2, '只能取消最近已计提折旧的期间 ' || AMAssetPeriodText(v_latest));
        END IF;
        v_prev := AMAssetLatestRun(p_org, v_latest);
        PERFORM AMAssetDeprectionProcess1(v_latest / 100, v_latest % 100, 0, p_org);
        DELETE FROM AMAssetDepreciation d
         WHERE d.lngOrganizationID = p_org AND d.intYear * 100 + d.bytPeriod = v_latest;
        -- of the working rows of the period taken back only recorded work stays
        WITH taken AS (
            DELETE FROM AMAssetFundBalanceEx x
             WHERE x.lngOrganizationID = p_org AND x.intYear * 100 + x.bytPeriod = v_latest
            RETURNING x.*)
        INSERT INTO AMAssetFundBalanceEx (lngAMAssetAlterID, lngAMAssetFundAlterID, lngAMAssetID, lngAMFundID,
                                          intYear, bytPeriod, dblWork, lngOrganizationID)
        SELECT t.lngAMAssetAlterID, t.lngAMAssetFundAlterID, t.lngAMAssetID, t.lngAMFundID, t.intYear, t.bytPeriod,
               t.dblWork, t.lngOrganizationID
          FROM taken t
         WHERE t.dblWork <> 0;
        IF v_prev IS NOT NULL THEN
            DELETE FROM AMAssetFundBalanceEx x
             WHERE x.lngOrganizationID = p_org AND x.intYear * 100 + x.bytPeriod = v_prev;
            INSERT INTO AMAssetFundBalanceEx
            SELECT * FROM AMAssetFundBalance b
             WHERE b.lngOrganizationID = p_org AND b.intYear * 100 + b.bytPeriod = v_prev;
        END IF;
        RETURN 0;
    END IF;
    v_open := coalesce(GetNextPeriod(v_latest),
                       (SELECT min(p.intYear * 100 + p.bytPeriod) FROM AccountPeriod p
                         WHERE p.lngOrganizationID = p_org));
    IF p_period NOT BETWEEN 1 AND 12 OR p_year <= 0 THEN
        RETURN AMAssetRefuse(1, '期间 ' || p_year || '-' || p_period || ' 无效');
    ELSIF v_latest > v_yp THEN
        RETURN AMAssetRefuse(2, '期间 ' || AMAssetPeriodText(v_yp) || ' 早于最近已结账的期间 '
                                || AMAssetPeriodText(v_latest) || ', 不能再结账');
    ELSIF v_yp > v_open THEN
        -- a skipped period would never be charged and shift every schedule
        RETURN AMAssetRefuse(2, '期间 ' || AMAssetPeriodText(v_open) || ' 尚未结账, 请从该期间开始');
    END IF;
    -- the run is recorded first: posting the period's depreciation dates its rows by it
    DELETE FROM AMAssetDepreciation d
     WHERE d.lngOrganizationID = p_org AND d.intYear = p_year AND d.bytPeriod = p_period;
    INSERT INTO AMAssetDepreciation (lngAMAssetDepreciationID, intYear, bytPeriod, strDate, strName,
                                     blnIncreaseDepreciation, dblDepreciation, lngVoucherID, lngOperatorID,
                                     lngOrganizationID)
    VALUES (nextval('AMAssetDepreciation_SEQ'), p_year, p_period, coalesce(nullif(p_date, ''), ' '),
            coalesce(nullif(p_name, ''), ' '), CASE WHEN p_increase = 1 THEN 1 ELSE 0 END, 0,
            coalesce(p_voucher, 0), coalesce(p_operator, 0), p_org);
    PERFORM AMAssetRecompute(v_yp, 0, CASE WHEN p_increase = 1 THEN 1 ELSE 0 END, p_org);
    UPDATE AMAssetDepreciation d
       SET dblDepreciation = coalesce((SELECT sum(b.dblDepreciation) FROM AMAssetFundBalance b
                                        WHERE b.lngOrganizationID = p_org AND b.intYear = p_year
                                          AND b.bytPeriod = p_period), 0)
     WHERE d.lngOrganizationID = p_org AND d.intYear = p_year AND d.bytPeriod = p_period;
    RETURN 0;
END
$$;
