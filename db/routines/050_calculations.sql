-- Depreciation routines, part 5: the recalculations the component runs after
-- a card changes (CaclDeprectionAdd, ...Alter, ...Dec, ...Work, ...Update).
--
-- The balances of a period are computed from the cards, the funding sources
-- and the previous period (040_balances.sql), so a change needs no schedule
-- of its own: it is checked, and when it falls into a period that is already
-- depreciated (the organisation's latest run) the asset's rows of that period
-- are written again, so that the run reads as if the change had been there
-- before it.  Earlier periods are never rewritten.
--
-- These routines hold the rules a change must keep, whoever calls them; a
-- refusal writes nothing, and its reason is left for the caller to read
-- with AMAssetRefusal().
-- Results: 0 success; 1 the asset is not in the organisation (or has no card
-- version at the period); 2 a date out of order: a period before the latest
-- depreciated one, or before the asset's last change; 5 the version cannot
-- be depreciated or breaks the books (negative figures, a residual value
-- above cost less impairment, an unknown method, no life or work, fixed-
-- declining without a residual value, no funding source, a change after the
-- disposal, a net value below 0 or below the residual value).
-- intMode 2 means the change was taken back; 1 (carry-forward, upgrade)
-- rebuilds history, so its dates are not refused and it always rewrites the
-- latest depreciated period; 0 is the operator's change.

-- A refusal: its reason is kept for the session (AMAssetRefusal) and its
-- code returned.
CREATE OR REPLACE FUNCTION AMAssetRefuse(p_code integer, p_reason text)
RETURNS integer LANGUAGE sql VOLATILE AS $$
    SELECT p_code FROM (SELECT set_config('amasset.refusal', p_reason, false)) s
$$;

-- The reason of the session's last refusal, read once: a later failure
-- that leaves none is not explained by an old one.
CREATE OR REPLACE FUNCTION AMAssetRefusal()
RETURNS text LANGUAGE plpgsql VOLATILE AS $$
DECLARE
    v_reason text := coalesce(current_setting('amasset.refusal', true), '');
BEGIN
    PERFORM set_config('amasset.refusal', '', false);
    RETURN v_reason;
END
$$;

-- A period yyyymm as an operator reads it: 2024-03.
CREATE OR REPLACE FUNCTION AMAssetPeriodText(p_yp integer)
RETURNS text LANGUAGE sql IMMUTABLE AS $$
    SELECT (p_yp / 100)::text || '-' || lpad((p_yp % 100)::text, 2, '0')
$$;

-- An amount as the messages show it: 1234.5 -> 1,234.50.
CREATE OR REPLACE FUNCTION AMAssetAmountText(p_amount numeric)
RETURNS text LANGUAGE sql IMMUTABLE AS $$
    SELECT trim(to_char(p_amount, 'FM999,999,999,999,990.00'))
$$;

CREATE OR REPLACE FUNCTION AMAssetBelongs(p_asset integer, p_org integer)
RETURNS boolean LANGUAGE plpgsql STABLE SET search_path FROM CURRENT AS $$
BEGIN
    RETURN EXISTS (SELECT 1 FROM AMAsset a WHERE a.lngAMAssetID = p_asset AND a.lngOrganizationID = p_org);
END
$$;

-- The depreciation rule, method and life in force for card versions: each
-- one's own, else its category's (the organisation's overlay first), else
-- the module's settings.
CREATE OR REPLACE FUNCTION AMAssetVersionRules(p_versions integer[], p_org integer)
RETURNS TABLE (lngAMAssetAlterID integer, bytType integer, bytMethod integer, dblLife numeric)
LANGUAGE plpgsql STABLE SET search_path FROM CURRENT SET plan_cache_mode = force_generic_plan AS $$
BEGIN
    RETURN QUERY
    -- (materialized: copied into the expressions that use them, the settings
    -- would keep AMAssetDepreciationType from being inlined)
    WITH module AS MATERIALIZED (
        SELECT AMAssetModuleSetting(p_org, '折旧类型', 1)::integer AS bytType,
               AMAssetModuleSetting(p_org, '常用折旧方法', 2)::integer AS bytMethod,
               AMAssetModuleSetting(p_org, '预计使用期间', 0) AS dblLife)
    SELECT v.lngAMAssetAlterID,
           AMAssetDepreciationType(coalesce(tx.bytDepreciationType, t.bytDepreciationType), m.bytType),
           coalesce(nullif(v.bytDepreciationMethod, 0),
                    nullif(coalesce(tx.bytDepreciationMethod, t.bytDepreciationMethod), 0), m.bytMethod),
           coalesce(nullif(v.dblUseage, 0), nullif(coalesce(tx.dblUseage, t.dblUseage), 0), m.dblLife)
      FROM unnest(p_versions) AS ids(id)
      JOIN AMAssetAlter v ON v.lngAMAssetAlterID = ids.id
      JOIN AMAsset a ON a.lngAMAssetID = v.lngAMAssetID
      LEFT JOIN AMAssetType t ON t.lngAMAssetTypeID = a.lngAMAssetTypeID
      LEFT JOIN AMAssetTypeEx tx ON tx.lngAMAssetTypeID = a.lngAMAssetTypeID AND tx.lngOrganizationID = p_org
     CROSS JOIN module m;
END
$$;

CREATE OR REPLACE FUNCTION AMAssetVersionRule(p_version integer, p_org integer,
                                              OUT bytType integer, OUT bytMethod integer, OUT dblLife numeric)
LANGUAGE plpgsql STABLE SET search_path FROM CURRENT AS $$
BEGIN
    SELECT r.bytType, r.bytMethod, r.dblLife INTO bytType, bytMethod, dblLife
      FROM AMAssetVersionRules(ARRAY[p_version], p_org) r;
END
$$;

-- Accumulated depreciation of each funding source of an asset before
-- period p_yp, the periods still open before it depreciated on trial and
-- rolled back: what the schedule will have charged by the time a change
-- takes effect.
CREATE OR REPLACE FUNCTION AMAssetFundsAccumulatedBefore(p_asset integer, p_org integer, p_yp integer)
RETURNS TABLE (lngAMFundID integer, dblAccumulated numeric)
LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    -- a close in progress writes the periods the trial writes: it is waited for
    v_lock   integer := AMAssetPeriodLock(p_org, 0, 1);
    v_latest integer := AMAssetLatestRun(p_org, NULL);
    v_yp     integer;
    v_funds  integer[];
    v_sums   numeric[];
BEGIN
    v_yp := CASE WHEN v_latest IS NULL
                 THEN (SELECT min(x.intYear * 100 + x.bytPeriod) FROM AMAssetAlter x WHERE x.lngAMAssetID = p_asset)
                 ELSE least(p_yp, GetNextPeriod(v_latest)) END;
    BEGIN
        LOOP
            IF v_latest IS NULL OR v_yp > v_latest THEN
                -- a run of the trial's own, never a sequence number
                INSERT INTO AMAssetDepreciation (lngAMAssetDepreciationID, intYear, bytPeriod, lngOrganizationID)
                VALUES (-v_yp, v_yp / 100, v_yp % 100, p_org);
            END IF;
            PERFORM AMAssetRecomputeRun(v_yp, p_asset, p_org);
            EXIT WHEN v_yp >= p_yp;
            v_yp := GetNextPeriod(v_yp);
        END LOOP;
        SELECT array_agg(b.lngAMFundID ORDER BY b.lngAMFundID),
               array_agg(b.dblInitDepreciation ORDER BY b.lngAMFundID) INTO v_funds, v_sums
          FROM AMAssetFundBalance b
         WHERE b.lngOrganizationID = p_org AND b.intYear = p_yp / 100 AND b.bytPeriod = p_yp % 100
           AND b.lngAMAssetID = p_asset;
        RAISE SQLSTATE 'AMTRL';
    EXCEPTION WHEN SQLSTATE 'AMTRL' THEN
        NULL;  -- the trial leaves nothing behind
    END;
    RETURN QUERY SELECT u.f, u.s FROM unnest(v_funds, v_sums) AS u(f, s);
END
$$;

CREATE OR REPLACE FUNCTION AMAssetAccumulatedBefore(p_asset integer, p_org integer, p_yp integer)
RETURNS numeric LANGUAGE sql SET search_path FROM CURRENT AS $$
    SELECT coalesce(sum(a.dblAccumulated), 0) FROM AMAssetFundsAccumulatedBefore(p_asset, p_org, p_yp) a
$$;

-- A partial decrease (部分减少) dated in period p_yp: what leaves with
-- p_cost_out of the cost, per funding source and to the cent.  Each source
-- gives its share of the cost (by cost, the largest source taking the
-- rounding remainder) and the same proportion of its impairment, residual
-- value and of the depreciation it will have accumulated when the decrease
-- takes effect; what stays depreciates on over the remaining life.
CREATE OR REPLACE FUNCTION AMAssetPartOut(p_asset integer, p_org integer, p_yp integer, p_cost_out numeric)
RETURNS TABLE (lngAMFundID integer, dblAmountOut numeric, dblDecAmountOut numeric, dblNetworthOut numeric,
               dblDepreciationOut numeric)
LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_last integer := (SELECT a.lngAMAssetLastAlterID FROM AMAsset a
                        WHERE a.lngAMAssetID = p_asset AND a.lngOrganizationID = p_org);
    v_cost numeric := (SELECT sum(y.dblAmount) FROM AMAssetFund f
                         JOIN AMAssetFundAlter y ON y.lngAMAssetFundAlterID = f.lngAMAssetFundLastAlterID
                        WHERE f.lngAMAssetID = p_asset);
BEGIN
    IF v_last IS NULL THEN
        RAISE EXCEPTION '资产 % 不在组织 % 的资产登记簿中', p_asset, p_org;
    ELSIF NOT (p_cost_out > 0 AND p_cost_out < v_cost) THEN
        RAISE EXCEPTION '部分减少的原值 % 须大于 0 且小于原值 %', AMAssetAmountText(p_cost_out),
            AMAssetAmountText(coalesce(v_cost, 0));
    END IF;
    RETURN QUERY
    WITH source AS (
        SELECT f.lngAMFundID AS lngFund, y.dblAmount, y.dblDecAmount, y.dblNetworth,
               coalesce(acc.dblAccumulated, 0) AS dblAccumulated,
               round(p_cost_out * y.dblAmount / v_cost, 2) AS dblShare,
               row_number() OVER (ORDER BY y.dblAmount DESC, f.lngAMFundID) AS intRank
          FROM AMAssetFund f
          JOIN AMAssetFundAlter y ON y.lngAMAssetFundAlterID = f.lngAMAssetFundLastAlterID
          LEFT JOIN AMAssetFundsAccumulatedBefore(
                        p_asset, p_org,
                        GetDeprectionPeriod(p_yp, (AMAssetVersionRule(v_last, p_org)).bytType, 0)) acc
                 ON acc.lngAMFundID = f.lngAMFundID
         WHERE f.lngAMAssetID = p_asset),
    cut AS (
        SELECT s.*, CASE WHEN s.intRank = 1 THEN p_cost_out - (sum(s.dblShare) OVER () - s.dblShare)
                         ELSE s.dblShare END AS dblOut
          FROM source s)
    SELECT c.lngFund, c.dblOut,
           round(c.dblDecAmount * c.dblOut / nullif(c.dblAmount, 0), 2),
           round(c.dblNetworth * c.dblOut / nullif(c.dblAmount, 0), 2),
           round(c.dblAccumulated * c.dblOut / nullif(c.dblAmount, 0), 2)
      FROM cut c
     ORDER BY c.lngFund;
END
$$;

-- Where a change takes effect the net value (cost - impairment -
-- accumulated depreciation) may not fall below 0, nor below the residual
-- value through a lower cost or a higher residual value; an impairment may
-- take it below the residual value, which is what it recognises.  The
-- reason when version v (following p) breaks this, else null.
CREATE OR REPLACE FUNCTION AMAssetNetValueRefusal(v AMAssetAlter, p AMAssetAlter, p_org integer, p_type integer)
RETURNS text LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_first boolean := p.lngAMAssetAlterID IS NULL;
    v_acc   numeric;
    v_net   numeric;
    v_floor numeric;
BEGIN
    IF v_first THEN
        v_acc := v.dblDepreciation;
    ELSIF v.dblAmount >= p.dblAmount AND v.dblDecAmount <= p.dblDecAmount AND v.dblNetworth <= p.dblNetworth
          AND v.dblDepreciation <= p.dblDepreciation THEN
        RETURN NULL;  -- nothing lowers the net value or raises its floor
    ELSE
        v_acc := AMAssetAccumulatedBefore(v.lngAMAssetID, p_org,
                                          GetDeprectionPeriod(v.intYear * 100 + v.bytPeriod, p_type, v.blnIsInit));
    END IF;
    v_net := v.dblAmount - v.dblDecAmount - v_acc;
    v_floor := CASE WHEN v_first OR (v.dblAmount >= p.dblAmount AND v.dblNetworth <= p.dblNetworth) THEN 0
                    ELSE v.dblNetworth END;
    IF v_net >= v_floor THEN
        RETURN NULL;
    END IF;
    RETURN format('%s: 原值 %s, 累计折旧 %s, 减值准备 %s, 净残值 %s; 原值至少应为 %s',
        CASE WHEN v_net < 0 THEN '变动后净值为负 (' || AMAssetAmountText(v_net) || ')'
             ELSE '变动后净值 ' || AMAssetAmountText(v_net) || ' 低于净残值' END,
        AMAssetAmountText(v.dblAmount), AMAssetAmountText(v_acc), AMAssetAmountText(v.dblDecAmount),
        AMAssetAmountText(v.dblNetworth), AMAssetAmountText(v_acc + v.dblDecAmount + v_floor))
        || CASE WHEN v_net < 0 THEN ', 减值准备至多为 ' || AMAssetAmountText(v.dblAmount - v_acc)
                ELSE ', 净残值至多为 ' || AMAssetAmountText(v_net) END;
END
$$;
DROP FUNCTION IF EXISTS AMAssetCheckNetValue(AMAssetAlter, AMAssetAlter, integer, integer);

-- Work recorded in an open period changes what that period charges before
-- a change still to take effect (the latest version): that change is judged
-- again against the version in force.
CREATE OR REPLACE FUNCTION AMAssetCheckPending(p_asset integer, p_org integer, p_yp integer)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v        AMAssetAlter;
    p        AMAssetAlter;
    v_type   integer;
    v_reason text;
BEGIN
    SELECT x.* INTO v FROM AMAssetAlter x JOIN AMAsset a ON a.lngAMAssetLastAlterID = x.lngAMAssetAlterID
     WHERE a.lngAMAssetID = p_asset;
    v_type := (AMAssetVersionRule(v.lngAMAssetAlterID, p_org)).bytType;
    SELECT x.* INTO p FROM AMAssetAlter x
     WHERE x.lngAMAssetAlterID = AMAssetGoverningVersion(p_asset, p_yp, v_type);
    IF p.lngAMAssetAlterID IS NULL OR p.lngAMAssetAlterID = v.lngAMAssetAlterID OR v.bytAlterType = 2 THEN
        RETURN 0;
    END IF;
    v_reason := AMAssetNetValueRefusal(v, p, p_org, v_type);
    RETURN CASE WHEN v_reason IS NULL THEN 0 ELSE AMAssetRefuse(5, v_reason) END;
END
$$;

-- The checks of card versions before they are depreciated (see the results
-- above): for each of p_versions that fails, the code and reason of the
-- first rule it breaks.  One statement judges one version or a whole
-- organisation's.
CREATE OR REPLACE FUNCTION AMAssetVersionRefusals(p_versions integer[], p_org integer, p_mode integer)
RETURNS TABLE (lngAMAssetAlterID integer, intResult integer, strReason text)
LANGUAGE plpgsql SET search_path FROM CURRENT SET plan_cache_mode = force_generic_plan AS $$
BEGIN
    RETURN QUERY
    WITH rules AS MATERIALIZED (
        -- the rules of the versions and of the ones they follow, found in one call
        SELECT r.lngAMAssetAlterID, r.bytType, r.bytMethod, r.dblLife
          FROM AMAssetVersionRules(ARRAY(SELECT u.id FROM unnest(p_versions) AS u(id)
                                         UNION
                                         SELECT x.lngAMAssetRecentAlterID
                                           FROM unnest(p_versions) AS u(id)
                                           JOIN AMAssetAlter x ON x.lngAMAssetAlterID = u.id), p_org) r
    ),
    judged AS (
        SELECT ids.id, v, p, r.bytType, r.bytMethod, r.dblLife,
               v.intYear * 100 + v.bytPeriod AS v_yp,
               CASE
                 WHEN v.lngAMAssetAlterID IS NULL THEN '1资产没有卡片版本'
                 WHEN p.bytAlterType = 2 THEN '5资产已于 ' || p.strDate || ' 减少, 不能再变动'
                 WHEN p_mode <> 1 AND (v.intYear * 100 + v.bytPeriod < p.intYear * 100 + p.bytPeriod
                                       OR v.strDate < p.strDate) THEN
                     '2日期 ' || v.strDate || ' 早于资产最近一次变动的日期 ' || p.strDate
                 WHEN p_mode <> 1 AND v.intYear * 100 + v.bytPeriod < latest.yp THEN
                     '2期间 ' || AMAssetPeriodText(v.intYear * 100 + v.bytPeriod) || ' 已计提折旧, 只能记入 '
                     || AMAssetPeriodText(latest.yp) || ' 及以后的期间'
                 WHEN v.bytAlterType = 2 THEN ''  -- a disposal takes the asset as it stands
                 WHEN least(v.dblAmount, v.dblDecAmount, v.dblNetworth, v.dblDepreciation, v.dblUseage) < 0 THEN
                     '5原值、减值准备、净残值、累计折旧和使用期间都不能为负'
                 WHEN v.dblDecAmount > v.dblAmount THEN
                     '5减值准备 ' || AMAssetAmountText(v.dblDecAmount) || ' 不能大于原值 '
                     || AMAssetAmountText(v.dblAmount)
                 WHEN v.dblNetworth > v.dblAmount - v.dblDecAmount THEN
                     '5净残值 ' || AMAssetAmountText(v.dblNetworth) || ' 不能大于原值减减值准备 '
                     || AMAssetAmountText(v.dblAmount - v.dblDecAmount)
                 WHEN NOT EXISTS (SELECT 1 FROM AMAssetFund f WHERE f.lngAMAssetID = v.lngAMAssetID) THEN
                     '5资产没有资金来源, 无法计提折旧'
                 WHEN r.bytMethod NOT BETWEEN 1 AND 6 THEN '5折旧方法 ' || r.bytMethod || ' 不存在 (应为 1 至 6)'
                 WHEN r.bytMethod = 3 AND r.dblLife <= 0 THEN '5工作量法的工作总量必须大于 0'
                 WHEN r.bytMethod <> 1 AND r.dblLife <= 0 THEN '5使用期间必须大于 0'
                 WHEN r.bytMethod = 6 AND v.dblNetworth <= 0 THEN '5固定余额递减法须有大于 0 的净残值'
                 WHEN v.dblUseage = p.dblUseage AND (r.bytMethod = 3) <> (pr.bytMethod = 3) THEN
                     '5改用或不再使用工作量法时, 须同时变更使用期间或工作总量'
               END AS refusal
          FROM unnest(p_versions) AS ids(id)
          LEFT JOIN AMAssetAlter v ON v.lngAMAssetAlterID = ids.id
          LEFT JOIN AMAssetAlter p ON p.lngAMAssetAlterID = v.lngAMAssetRecentAlterID
                                  AND p.lngAMAssetAlterID <> v.lngAMAssetAlterID
          LEFT JOIN rules r ON r.lngAMAssetAlterID = v.lngAMAssetAlterID
          LEFT JOIN rules pr ON pr.lngAMAssetAlterID = p.lngAMAssetAlterID
         CROSS JOIN (SELECT AMAssetLatestRun(p_org, NULL) AS yp) latest),
    refused AS (
        SELECT j.id, CASE WHEN j.refusal IS NOT NULL THEN j.refusal
                          ELSE '5' || AMAssetNetValueRefusal(j.v, j.p, p_org, j.bytType) END AS refusal
          FROM judged j
         WHERE j.refusal IS DISTINCT FROM '')
    SELECT r.id, left(r.refusal, 1)::integer, substr(r.refusal, 2)
      FROM refused r
     WHERE r.refusal IS NOT NULL;
END
$$;

-- The checks of one card version (0 when it passes); a refusal's reason is
-- left for AMAssetRefusal().
CREATE OR REPLACE FUNCTION AMAssetCheckVersion(p_version integer, p_org integer, p_mode integer)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
BEGIN
    RETURN coalesce((SELECT AMAssetRefuse(r.intResult, r.strReason)
                       FROM AMAssetVersionRefusals(ARRAY[p_version], p_org, p_mode) r), 0);
END
$$;

-- The first asset of the organisation, by id, whose latest version the
-- change routines would refuse in mode p_mode (the carry-forward's 1), 0
-- when every asset passes; the reason is left for AMAssetRefusal().
CREATE OR REPLACE FUNCTION AMAssetFirstRefused(p_org integer, p_mode integer)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_asset  integer;
    v_reason text;
BEGIN
    SELECT a.lngAMAssetID, r.strReason INTO v_asset, v_reason
      FROM AMAssetVersionRefusals(ARRAY(SELECT x.lngAMAssetLastAlterID FROM AMAsset x
                                         WHERE x.lngOrganizationID = p_org), p_org, p_mode) r
      JOIN AMAsset a ON a.lngAMAssetLastAlterID = r.lngAMAssetAlterID AND a.lngOrganizationID = p_org
     ORDER BY a.lngAMAssetID
     LIMIT 1;
    IF v_asset IS NULL THEN
        RETURN 0;
    END IF;
    PERFORM AMAssetRefuse(5, v_reason);
    RETURN v_asset;
END
$$;

-- Rewrites the asset's rows of the latest depreciated period when card
-- version p_version lies in it or before it (always when p_version is 0).
CREATE OR REPLACE FUNCTION AMAssetRecalculate(p_asset integer, p_org integer, p_version integer)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_latest integer := AMAssetLatestRun(p_org, NULL);
BEGIN
    -- journal rows of versions that were taken back
    DELETE FROM AMAssetFundDaily d
     WHERE d.lngAMAssetID = p_asset AND d.blnFromDepreciation = 0
       AND NOT EXISTS (SELECT 1 FROM AMAssetAlter v WHERE v.lngAMAssetAlterID = d.lngAMAssetAlterID);
    IF v_latest IS NULL THEN
        RETURN 0;
    END IF;
    IF p_version = 0 OR (SELECT v.intYear * 100 + v.bytPeriod FROM AMAssetAlter v
                          WHERE v.lngAMAssetAlterID = p_version) <= v_latest THEN
        PERFORM AMAssetRecomputeRun(v_latest, p_asset, p_org);
    END IF;
    RETURN 0;
END
$$;

-- Takes an addition back: every figure of the asset in the organisation
-- goes, and the runs it was depreciated in get their totals again.  When
-- the card is already gone this fails (1), having cleared what was left of
-- it all the same.
CREATE OR REPLACE FUNCTION AMAssetForget(p_asset integer, p_org integer)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_periods integer[];
BEGIN
    WITH gone AS (
        DELETE FROM AMAssetFundBalance b WHERE b.lngAMAssetID = p_asset AND b.lngOrganizationID = p_org
        RETURNING b.intYear * 100 + b.bytPeriod AS yp)
    SELECT array_agg(DISTINCT g.yp) INTO v_periods FROM gone g;
    DELETE FROM AMAssetFundBalanceEx b WHERE b.lngAMAssetID = p_asset AND b.lngOrganizationID = p_org;
    DELETE FROM AMAssetFundBalanceAmortise b WHERE b.lngAMAssetID = p_asset AND b.lngOrganizationID = p_org;
    DELETE FROM AMAssetFundBalanceAmortiseEx b WHERE b.lngAMAssetID = p_asset AND b.lngOrganizationID = p_org;
    DELETE FROM AMAssetFundDaily d WHERE d.lngAMAssetID = p_asset AND d.lngOrganizationID = p_org;
    UPDATE AMAssetDepreciation d
       SET dblDepreciation = coalesce((SELECT sum(b.dblDepreciation) FROM AMAssetFundBalance b
                                        WHERE b.lngOrganizationID = p_org AND b.intYear = d.intYear
                                          AND b.bytPeriod = d.bytPeriod), 0)
     WHERE d.lngOrganizationID = p_org AND d.intYear * 100 + d.bytPeriod = ANY (v_periods);
    IF NOT AMAssetBelongs(p_asset, p_org) THEN
        RETURN AMAssetRefuse(1, '资产卡片 ' || p_asset || ' 已不存在; 其余额和日记账已一并清除');
    END IF;
    RETURN 0;
END
$$;

CREATE OR REPLACE FUNCTION AMAssetNotInOrganization(p_asset integer, p_org integer)
RETURNS integer LANGUAGE sql VOLATILE AS $$
    SELECT AMAssetRefuse(1, '资产 ' || p_asset || ' 不在组织 ' || p_org || ' 的资产登记簿中')
$$;

-- Holds the asset's card until the transaction ends, against any other
-- calculation of the same asset: two at once would each rewrite the asset's
-- rows of the latest depreciated period, or its recorded work, unaware of the
-- other's.  Taken before the period lock, in the order a card's save takes
-- them, so that a close waiting between the two cannot close a circle.
-- Asset 0, a whole organisation, holds no card.
CREATE OR REPLACE FUNCTION AMAssetHold(p_asset integer)
RETURNS integer LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
BEGIN
    RETURN (SELECT count(*)::integer
              FROM (SELECT 1 FROM AMAsset a WHERE a.lngAMAssetID = p_asset FOR NO KEY UPDATE) held);
END
$$;

-- After an addition (p_mode 2: the addition is taken back).
CREATE OR REPLACE FUNCTION AMAssetCalcAdd(p_mode integer, p_asset integer, p_org integer)
RETURNS double precision LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_hold  integer := AMAssetHold(p_asset);
    v_lock  integer := AMAssetPeriodLock(p_org, 0, 1);
    v_first integer;
    v_check integer;
BEGIN
    IF p_mode = 2 THEN
        RETURN AMAssetForget(p_asset, p_org);
    ELSIF NOT AMAssetBelongs(p_asset, p_org) THEN
        RETURN AMAssetNotInOrganization(p_asset, p_org);
    END IF;
    v_first := (SELECT a.lngAMAssetInitAlterID FROM AMAsset a WHERE a.lngAMAssetID = p_asset);
    v_check := AMAssetCheckVersion(v_first, p_org, p_mode);
    IF v_check <> 0 THEN
        RETURN v_check;
    END IF;
    RETURN AMAssetRecalculate(p_asset, p_org, CASE WHEN p_mode = 1 THEN 0 ELSE v_first END);
END
$$;

-- After an alteration or a decrease: the asset's current version is checked
-- (unless the change was taken back) and the latest depreciated period
-- rewritten where it is affected.
CREATE OR REPLACE FUNCTION AMAssetCalcChange(p_mode integer, p_asset integer, p_org integer)
RETURNS double precision LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_hold  integer := AMAssetHold(p_asset);
    v_lock  integer := AMAssetPeriodLock(p_org, 0, 1);
    v_last  integer := (SELECT a.lngAMAssetLastAlterID FROM AMAsset a WHERE a.lngAMAssetID = p_asset);
    v_check integer;
BEGIN
    IF NOT AMAssetBelongs(p_asset, p_org) THEN
        RETURN AMAssetNotInOrganization(p_asset, p_org);
    END IF;
    IF p_mode <> 2 THEN
        v_check := AMAssetCheckVersion(v_last, p_org, p_mode);
        IF v_check <> 0 THEN
            RETURN v_check;
        END IF;
    END IF;
    RETURN AMAssetRecalculate(p_asset, p_org, CASE WHEN p_mode = 0 THEN v_last ELSE 0 END);
END
$$;

CREATE OR REPLACE FUNCTION AMAssetCalcAlter(p_mode integer, p_asset integer, p_org integer)
RETURNS double precision LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
BEGIN
    RETURN AMAssetCalcChange(p_mode, p_asset, p_org);
END
$$;

CREATE OR REPLACE FUNCTION AMAssetCalcDec(p_mode integer, p_asset integer, p_org integer)
RETURNS double precision LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
BEGIN
    RETURN AMAssetCalcChange(p_mode, p_asset, p_org);
END
$$;

-- Records the work p_work of period p_year/p_period (p_mode 2: takes it
-- back).  Work for the latest depreciated period rewrites that period.
CREATE OR REPLACE FUNCTION AMAssetCalcWork(p_mode integer, p_year integer, p_period integer, p_asset integer,
                                           p_work numeric, p_org integer)
RETURNS double precision LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_hold   integer := AMAssetHold(p_asset);
    v_lock   integer := AMAssetPeriodLock(p_org, 0, 1);
    v_yp     integer := p_year * 100 + p_period;
    v_latest integer := AMAssetLatestRun(p_org, NULL);
    v_result integer;
    v_reason text;
BEGIN
    IF NOT AMAssetBelongs(p_asset, p_org) THEN
        RETURN AMAssetNotInOrganization(p_asset, p_org);
    ELSIF p_work < 0 THEN
        RETURN AMAssetRefuse(5, '工作量不能为负');
    ELSIF v_yp < v_latest THEN
        RETURN AMAssetRefuse(2, '期间 ' || AMAssetPeriodText(v_yp) || ' 已计提折旧, 工作量只能记入 '
                                || AMAssetPeriodText(v_latest) || ' 及以后的期间');
    END IF;
    BEGIN
        v_result := AMAssetDeprectionWork(p_year, p_period, p_asset, CASE WHEN p_mode = 2 THEN 0 ELSE p_work END,
                                          p_org);
        IF v_result = 0 AND p_mode <> 2 THEN
            v_result := AMAssetCheckPending(p_asset, p_org, v_yp);
            IF v_result <> 0 THEN
                v_reason := '登记工作量后' || AMAssetRefusal();
                RAISE SQLSTATE 'AMRFS';
            END IF;
        END IF;
    EXCEPTION WHEN SQLSTATE 'AMRFS' THEN
        RETURN AMAssetRefuse(v_result, v_reason);  -- the work recorded goes with the block
    END;
    IF v_result <> 0 THEN
        RETURN AMAssetRefuse(v_result, '资产在期间 ' || AMAssetPeriodText(v_yp) || ' 还没有卡片');
    ELSIF v_yp = v_latest THEN
        RETURN AMAssetRecalculate(p_asset, p_org, 0);
    END IF;
    RETURN 0;
END
$$;

-- General recalculation: the latest depreciated period of the organisation
-- (of every organisation when p_org is 0) is written again for the asset
-- (every asset when p_asset is 0).  A named period must be that period.
-- One asset's card is held before the period lock, in the order a card's
-- save takes them: the asset's posting holds it too, and taken after the
-- lock it would wait for a save that waits for the lock.
CREATE OR REPLACE FUNCTION AMAssetCalcUpdate(p_year integer, p_period integer, p_asset integer, p_org integer)
RETURNS double precision LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_hold   integer := AMAssetHold(p_asset);
    v_org    integer;
    v_latest integer;
BEGIN
    FOR v_org IN SELECT DISTINCT d.lngOrganizationID FROM AMAssetDepreciation d
                  WHERE (p_org = 0 OR d.lngOrganizationID = p_org)
                    AND (p_asset = 0 OR AMAssetBelongs(p_asset, d.lngOrganizationID))
                  ORDER BY 1 LOOP
        PERFORM AMAssetPeriodLock(v_org, 1, 1);
        v_latest := AMAssetLatestRun(v_org, NULL);
        IF p_year * 100 + p_period <> 0 AND p_year * 100 + p_period <> v_latest THEN
            RETURN AMAssetRefuse(2, '只能重算最近已计提折旧的期间 ' || AMAssetPeriodText(v_latest));
        END IF;
        PERFORM AMAssetRecomputeRun(v_latest, p_asset, v_org);
    END LOOP;
    RETURN 0;
END
$$;
