-- Depreciation routines, part 1: periods, the depreciation rule of a
-- category and the module's defaults.
--
-- Every routine of this folder is created unqualified in the account set's
-- schema.  The entry points the component calls carry
-- "SET search_path FROM CURRENT" so that their table names resolve in their
-- own schema whichever schema the calling session works in; the arithmetic
-- helpers read no table and stay plain (and inlinable) for speed.
--
-- A period is compared as intYear * 100 + bytPeriod ("yp"); an account set
-- has twelve periods a year.

-- The period after yp.
CREATE OR REPLACE FUNCTION GetNextPeriod(intYearPeriod integer)
RETURNS integer LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE WHEN intYearPeriod % 100 >= 12 THEN (intYearPeriod / 100 + 1) * 100 + 1
                ELSE intYearPeriod + 1 END
$$;

-- The first period whose depreciation a card version governs.  Enterprise
-- rule (type 1): a change made in a month takes effect the next month, so an
-- asset added in a month is depreciated from the next one and an asset
-- decreased in a month is still depreciated that month.  Public-sector rule
-- (type 3): a change takes effect in its own month.  An opening record
-- (blnIsInit = 1) describes an asset already in service, so it governs its
-- own period under either rule.
CREATE OR REPLACE FUNCTION GetDeprectionPeriod(intYearPeriod integer, bytDepreciationType integer,
                                               blnIsInit integer)
RETURNS integer LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE WHEN bytDepreciationType = 3 OR blnIsInit = 1 THEN intYearPeriod
                ELSE GetNextPeriod(intYearPeriod) END
$$;

-- A module option of the fixed-asset module (module 11, section 固定资产)
-- as a number; the default when the organisation has none.  Thousands
-- separators and other decoration are ignored, as the settings object does.
CREATE OR REPLACE FUNCTION AMAssetModuleSetting(lngOrganizationID integer, strKey varchar,
                                                dblDefault numeric)
RETURNS numeric LANGUAGE plpgsql STABLE SET search_path FROM CURRENT SET plan_cache_mode = force_generic_plan AS $$
DECLARE
    v_text varchar;
BEGIN
    SELECT s.strSetting INTO v_text
      FROM Setting s
     WHERE s.lngModuleID = 11 AND s.strSection = '固定资产' AND s.strKey = AMAssetModuleSetting.strKey
       AND s.lngOrganizationID = AMAssetModuleSetting.lngOrganizationID;
    v_text := regexp_replace(coalesce(v_text, ''), '[^0-9.-]', '', 'g');
    IF v_text !~ '^-?[0-9]+(\.[0-9]+)?$' THEN
        RETURN dblDefault;
    END IF;
    RETURN v_text::numeric;
END
$$;

-- The depreciation type in force: the category's (1 enterprise, 2 not
-- depreciated, 3 public sector), or the module's when the category leaves
-- it unset (0) or names no known rule.
CREATE OR REPLACE FUNCTION AMAssetDepreciationType(bytCategoryType integer, bytModuleType integer)
RETURNS integer LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE WHEN bytCategoryType IN (1, 2, 3) THEN bytCategoryType
                WHEN bytModuleType IN (1, 2, 3) THEN bytModuleType
                ELSE 1 END
$$;

-- The organisation's latest depreciated period before intYearPeriod (all
-- periods when it is null); null when there is none.  In PL/pgSQL, as
-- every small routine a one-asset calculation calls: a session keeps its
-- plan, while an SQL function with a search path of its own is planned
-- again at every call.
CREATE OR REPLACE FUNCTION AMAssetLatestRun(lngOrganizationID integer, intYearPeriod integer)
RETURNS integer LANGUAGE plpgsql STABLE SET search_path FROM CURRENT SET plan_cache_mode = force_generic_plan AS $$
BEGIN
    RETURN (SELECT max(d.intYear * 100 + d.bytPeriod)
              FROM AMAssetDepreciation d
             WHERE d.lngOrganizationID = AMAssetLatestRun.lngOrganizationID
               AND (AMAssetLatestRun.intYearPeriod IS NULL
                    OR d.intYear * 100 + d.bytPeriod < AMAssetLatestRun.intYearPeriod));
END
$$;

-- Twelve monthly periods for each of the given years and every organisation,
-- as a new account set (demo data, or one made like last year's) starts out.
CREATE OR REPLACE FUNCTION AMAssetMakePeriods(p_years integer[])
RETURNS void LANGUAGE sql SET search_path FROM CURRENT AS $$
    INSERT INTO AccountPeriod (lngAccountPeriodID, lngOrganizationID, intYear, bytPeriod,
                               strStartDate, strEndDate, blnIsClosed)
    SELECT nextval('AccountPeriod_SEQ'), p.org, p.yr, p.mon,
           to_char(make_date(p.yr, p.mon, 1), 'YYYY-MM-DD'),
           to_char((make_date(p.yr, p.mon, 1) + interval '1 month' - interval '1 day')::date, 'YYYY-MM-DD'),
           0
      FROM (SELECT o.lngOrganizationID AS org, y AS yr, m AS mon
              FROM Organization o
             CROSS JOIN unnest(p_years) AS y
             CROSS JOIN generate_series(1, 12) AS m
             ORDER BY 1, 2, 3) AS p
$$;
