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
-- Results: 0 success; 1 the asset is not in the organisation (or has no card
-- version at the period); 2 the period lies before the latest depreciated
-- one; 4 unknown depreciation method; 5 inconsistent figures (a negative
-- amount or work, or a residual value above cost less impairment).
-- intMode 2 means the change was taken back; the component gives no other
-- value a meaning, and these routines treat 0 and 1 alike except that 1
-- (carry-forward, upgrade) always rewrites the latest depreciated period.

CREATE OR REPLACE FUNCTION AMAssetCheckVersion(p_version integer)
RETURNS integer LANGUAGE sql STABLE SET search_path FROM CURRENT AS $$
    SELECT CASE WHEN v.bytDepreciationMethod NOT BETWEEN 0 AND 6 THEN 4
                WHEN v.dblAmount < 0 OR v.dblDecAmount < 0 OR v.dblNetworth < 0 OR v.dblDepreciation < 0
                  OR v.dblUseage < 0 OR v.dblNetworth > v.dblAmount - v.dblDecAmount THEN 5
                ELSE 0 END
      FROM AMAssetAlter v
     WHERE v.lngAMAssetAlterID = p_version
$$;

CREATE OR REPLACE FUNCTION AMAssetBelongs(p_asset integer, p_org integer)
RETURNS boolean LANGUAGE sql STABLE SET search_path FROM CURRENT AS $$
    SELECT EXISTS (SELECT 1 FROM AMAsset a WHERE a.lngAMAssetID = p_asset AND a.lngOrganizationID = p_org)
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

-- After an addition (p_mode 2: the addition is taken back and every figure
-- of the asset goes).
CREATE OR REPLACE FUNCTION AMAssetCalcAdd(p_mode integer, p_asset integer, p_org integer)
RETURNS double precision LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_first integer;
    v_check integer;
BEGIN
    IF NOT AMAssetBelongs(p_asset, p_org) THEN
        RETURN 1;
    END IF;
    IF p_mode = 2 THEN
        DELETE FROM AMAssetFundBalance b WHERE b.lngAMAssetID = p_asset;
        DELETE FROM AMAssetFundBalanceEx b WHERE b.lngAMAssetID = p_asset;
        DELETE FROM AMAssetFundBalanceAmortise b WHERE b.lngAMAssetID = p_asset;
        DELETE FROM AMAssetFundBalanceAmortiseEx b WHERE b.lngAMAssetID = p_asset;
        DELETE FROM AMAssetFundDaily d WHERE d.lngAMAssetID = p_asset;
        RETURN 0;
    END IF;
    v_first := (SELECT a.lngAMAssetInitAlterID FROM AMAsset a WHERE a.lngAMAssetID = p_asset);
    v_check := coalesce(AMAssetCheckVersion(v_first), 1);
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
    v_last  integer := (SELECT a.lngAMAssetLastAlterID FROM AMAsset a WHERE a.lngAMAssetID = p_asset);
    v_check integer;
BEGIN
    IF NOT AMAssetBelongs(p_asset, p_org) THEN
        RETURN 1;
    END IF;
    IF p_mode <> 2 THEN
        v_check := coalesce(AMAssetCheckVersion(v_last), 1);
        IF v_check <> 0 THEN
            RETURN v_check;
        END IF;
    END IF;
    RETURN AMAssetRecalculate(p_asset, p_org, CASE WHEN p_mode = 0 THEN v_last ELSE 0 END);
END
$$;

CREATE OR REPLACE FUNCTION AMAssetCalcAlter(p_mode integer, p_asset integer, p_org integer)
RETURNS double precision LANGUAGE sql SET search_path FROM CURRENT AS $$
    SELECT AMAssetCalcChange(p_mode, p_asset, p_org)
$$;

CREATE OR REPLACE FUNCTION AMAssetCalcDec(p_mode integer, p_asset integer, p_org integer)
RETURNS double precision LANGUAGE sql SET search_path FROM CURRENT AS $$
    SELECT AMAssetCalcChange(p_mode, p_asset, p_org)
$$;

-- Records the work p_work of period p_year/p_period (p_mode 2: takes it
-- back).  Work for the latest depreciated period rewrites that period.
CREATE OR REPLACE FUNCTION AMAssetCalcWork(p_mode integer, p_year integer, p_period integer, p_asset integer,
                                           p_work numeric, p_org integer)
RETURNS double precision LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_yp     integer := p_year * 100 + p_period;
    v_latest integer := AMAssetLatestRun(p_org, NULL);
    v_result integer;
BEGIN
    IF NOT AMAssetBelongs(p_asset, p_org) THEN
        RETURN 1;
    ELSIF p_work < 0 THEN
        RETURN 5;
    ELSIF v_yp < v_latest THEN
        RETURN 2;
    END IF;
    v_result := AMAssetDeprectionWork(p_year, p_period, p_asset, CASE WHEN p_mode = 2 THEN 0 ELSE p_work END, p_org);
    IF v_result = 0 AND v_yp = v_latest THEN
        RETURN AMAssetRecalculate(p_asset, p_org, 0);
    END IF;
    RETURN v_result;
END
$$;

-- General recalculation: the latest depreciated period of the organisation
-- (of every organisation when p_org is 0) is written again for the asset
-- (every asset when p_asset is 0).  A named period must be that period.
CREATE OR REPLACE FUNCTION AMAssetCalcUpdate(p_year integer, p_period integer, p_asset integer, p_org integer)
RETURNS double precision LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_org    integer;
    v_latest integer;
BEGIN
    FOR v_org IN SELECT DISTINCT d.lngOrganizationID FROM AMAssetDepreciation d
                  WHERE (p_org = 0 OR d.lngOrganizationID = p_org)
                    AND (p_asset = 0 OR AMAssetBelongs(p_asset, d.lngOrganizationID))
                  ORDER BY 1 LOOP
        v_latest := AMAssetLatestRun(v_org, NULL);
        IF p_year * 100 + p_period <> 0 AND p_year * 100 + p_period <> v_latest THEN
            RETURN 2;
        END IF;
        PERFORM AMAssetRecomputeRun(v_latest, p_asset, v_org);
    END LOOP;
    RETURN 0;
END
$$;
