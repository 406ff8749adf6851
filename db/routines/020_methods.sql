-- Depreciation routines, part 2: the depreciation methods.
--
-- bytDepreciationMethod: 1 no depreciation; 2 straight-line (平均年限法,
-- SLN); 3 workload (工作量法, UPD); 4 double-declining balance (双倍余额递减法,
-- DDB); 5 sum of the years' digits (年数总和法, SYD); 6 fixed-declining
-- balance (固定余额递减法, GDP); 0 unset (the category's, else the module's).
--
-- Every method runs on a schedule that starts when the asset's depreciation
-- figures are set or change (a change of cost, impairment, residual value,
-- life or method is a change in estimate): the amount to depreciate is the
-- carrying amount (cost - impairment - accumulated depreciation) less the
-- residual value, spread over the remaining life (periods) or the remaining
-- expected work.  The schedule is cut into depreciation years of twelve
-- periods counted from its start (the last one may be shorter).  Each method
-- gives a figure per depreciation year, rounded to the cent, the last year
-- taking what is left so that the years add up to the amount exactly; a
-- year's figure is spread over its periods by rounding the year's running
-- total, so that its periods add up to it exactly.
--
-- Arguments: dblBook the carrying amount when the schedule started,
-- dblAmount the amount to depreciate on it, dblLife the remaining periods
-- (fractions count as a whole period), intPeriods the periods depreciated on
-- the schedule so far (k = 1 is its first period).  GetInitDeprectionFrom*
-- give the depreciation accumulated on the schedule through period k,
-- GetDeprectionFrom* the figure of the depreciation year that period k falls
-- in.  The workload method works on work instead of periods.

-- What a depreciation year's figure has reached after intMonth of its
-- intMonths periods.
CREATE OR REPLACE FUNCTION AMAssetDeprectionSlnx(dblYearAmount numeric, intMonths integer,
                                                 intMonth integer)
RETURNS numeric LANGUAGE sql IMMUTABLE AS $$
    SELECT round(dblYearAmount * least(intMonth, intMonths) / greatest(intMonths, 1), 2)
$$;

-- The figures of the depreciation year that period k falls in: those of
-- the years before it, its own, and its number of periods.  A schedule's
-- balances compute them once per period and take both the year's figure
-- and what has accumulated from them.
DO $$
BEGIN
    CREATE TYPE AMAssetYearFigures AS (dblBefore numeric, dblYear numeric, intMonths integer);
EXCEPTION WHEN duplicate_object THEN
    NULL;  -- installed before
END
$$;

-- What a year-based schedule has accumulated through period k.
CREATE OR REPLACE FUNCTION AMAssetYearAccumulated(y AMAssetYearFigures, dblAmount numeric, dblLife numeric,
                                                  intPeriods integer)
RETURNS numeric LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE WHEN intPeriods <= 0 OR dblAmount <= 0 THEN 0
                WHEN intPeriods >= ceil(greatest(dblLife, 1)) THEN dblAmount
                ELSE (y).dblBefore + AMAssetDeprectionSlnx((y).dblYear, (y).intMonths,
                                                           intPeriods - 12 * ((intPeriods - 1) / 12))
           END
$$;

-- Straight-line: every full depreciation year the amount over the life
-- times twelve, rounded; the last year what is left.
CREATE OR REPLACE FUNCTION AMAssetDeprectionSlnBefore(dblAmount numeric, dblLife numeric, intPeriods integer)
RETURNS numeric LANGUAGE sql IMMUTABLE AS $$
    SELECT least(((greatest(intPeriods, 1) - 1) / 12) * round(dblAmount * 12 / ceil(greatest(dblLife, 1)), 2),
                 dblAmount)
$$;

CREATE OR REPLACE FUNCTION AMAssetSlnYear(dblAmount numeric, dblLife numeric, intPeriods integer)
RETURNS AMAssetYearFigures LANGUAGE sql IMMUTABLE AS $$
    SELECT ROW(AMAssetDeprectionSlnBefore(dblAmount, dblLife, intPeriods),
               CASE WHEN (greatest(intPeriods, 1) - 1) / 12 >= (ceil(greatest(dblLife, 1))::integer - 1) / 12
                    THEN dblAmount - AMAssetDeprectionSlnBefore(dblAmount, dblLife, intPeriods)
                    ELSE least(round(dblAmount * 12 / ceil(greatest(dblLife, 1)), 2),
                               dblAmount - AMAssetDeprectionSlnBefore(dblAmount, dblLife, intPeriods))
               END,
               least(12, ceil(greatest(dblLife, 1))::integer - 12 * ((greatest(intPeriods, 1) - 1) / 12))
           )::AMAssetYearFigures
$$;

CREATE OR REPLACE FUNCTION GetDeprectionFromSLN(dblAmount numeric, dblLife numeric, intPeriods integer)
RETURNS numeric LANGUAGE sql IMMUTABLE AS $$
    SELECT (AMAssetSlnYear(dblAmount, dblLife, intPeriods)).dblYear
$$;

CREATE OR REPLACE FUNCTION GetInitDeprectionFromSLN(dblAmount numeric, dblLife numeric, intPeriods integer)
RETURNS numeric LANGUAGE sql IMMUTABLE AS $$
    SELECT AMAssetYearAccumulated(AMAssetSlnYear(dblAmount, dblLife, intPeriods), dblAmount, dblLife, intPeriods)
$$;

-- The declining methods and the sum of the years' digits: the depreciation
-- year that period k falls in, with the figures of the years before it.
--   DDB: twice the straight-line rate on the carrying amount; the last two
--        years depreciate what is left down to the residual value in equal
--        parts (per period).
--   SYD: the amount weighted by the remaining years (the last year weighs 1),
--        a shorter last year by its share of a year.
--   GDP: the rate 1 - (residual / carrying amount) ^ (1 / years) on the
--        carrying amount; the last year takes what is left.  Without a
--        residual value the rate is 1: everything goes in the first year.
-- No year takes more than is left to depreciate.
CREATE OR REPLACE FUNCTION AMAssetDeprectionYearFigures(bytMethod integer, dblBook numeric, dblAmount numeric,
                                                        dblLife numeric, intPeriods integer)
RETURNS AMAssetYearFigures LANGUAGE plpgsql IMMUTABLE AS $$
DECLARE
    v_life     integer := greatest(ceil(dblLife), 1)::integer;
    v_years    integer := (greatest(ceil(dblLife), 1)::integer + 11) / 12;
    v_target   integer := (least(greatest(intPeriods, 1), greatest(ceil(dblLife), 1)::integer) - 1) / 12;
    v_residual numeric := dblBook - dblAmount;
    v_weights  numeric;
    y          AMAssetYearFigures;
    j          integer;
BEGIN
    y.dblBefore := 0;
    -- all years but the last weigh (years - j) * 12, the last 1 * its periods
    v_weights := 12 * (v_years * (v_years + 1) / 2 - 1) + (v_life - 12 * (v_years - 1));
    FOR j IN 0 .. v_target LOOP
        y.intMonths := least(12, v_life - 12 * j);
        IF j = v_years - 1 THEN
            y.dblYear := dblAmount - y.dblBefore;
        ELSIF bytMethod = 4 AND j = v_years - 2 THEN
            y.dblYear := round((dblAmount - y.dblBefore) * y.intMonths / (v_life - 12 * j), 2);
        ELSIF bytMethod = 4 THEN
            y.dblYear := round((dblBook - y.dblBefore) * 24 / v_life * y.intMonths / 12, 2);
        ELSIF bytMethod = 5 THEN
            y.dblYear := round(dblAmount * (v_years - j) * y.intMonths / v_weights, 2);
        ELSIF v_residual > 0 AND dblBook > 0 THEN
            y.dblYear := round((dblBook - y.dblBefore)
                               * (1 - power(v_residual / dblBook, y.intMonths::numeric / v_life)), 2);
        ELSE
            y.dblYear := dblAmount - y.dblBefore;
        END IF;
        y.dblYear := least(greatest(y.dblYear, 0), dblAmount - y.dblBefore);
        EXIT WHEN j = v_target;
        y.dblBefore := y.dblBefore + y.dblYear;
    END LOOP;
    RETURN y;
END
$$;

-- The depreciation year that period k falls in under the method (none
-- under the workload method, or without one).
CREATE OR REPLACE FUNCTION AMAssetYearOf(bytMethod integer, dblBook numeric, dblAmount numeric, dblLife numeric,
                                         intPeriods integer)
RETURNS AMAssetYearFigures LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE bytMethod
                WHEN 2 THEN AMAssetSlnYear(dblAmount, dblLife, intPeriods)
                WHEN 4 THEN AMAssetDeprectionYearFigures(4, dblBook, dblAmount, dblLife, intPeriods)
                WHEN 5 THEN AMAssetDeprectionYearFigures(5, dblAmount, dblAmount, dblLife, intPeriods)
                WHEN 6 THEN AMAssetDeprectionYearFigures(6, dblBook, dblAmount, dblLife, intPeriods)
                ELSE ROW(0, 0, 0)::AMAssetYearFigures
           END
$$;

CREATE OR REPLACE FUNCTION GetDeprectionFromDDB(dblBook numeric, dblAmount numeric, dblLife numeric, intPeriods integer)
RETURNS numeric LANGUAGE sql IMMUTABLE AS $$
    SELECT (AMAssetYearOf(4, dblBook, dblAmount, dblLife, intPeriods)).dblYear
$$;

CREATE OR REPLACE FUNCTION GetInitDeprectionFromDDB(dblBook numeric, dblAmount numeric, dblLife numeric, intPeriods integer)
RETURNS numeric LANGUAGE sql IMMUTABLE AS $$
    SELECT AMAssetYearAccumulated(AMAssetYearOf(4, dblBook, dblAmount, dblLife, intPeriods), dblAmount, dblLife,
                                  intPeriods)
$$;

CREATE OR REPLACE FUNCTION GetDeprectionFromSYD(dblAmount numeric, dblLife numeric, intPeriods integer)
RETURNS numeric LANGUAGE sql IMMUTABLE AS $$
    SELECT (AMAssetYearOf(5, dblAmount, dblAmount, dblLife, intPeriods)).dblYear
$$;

CREATE OR REPLACE FUNCTION GetInitDeprectionFromSYD(dblAmount numeric, dblLife numeric, intPeriods integer)
RETURNS numeric LANGUAGE sql IMMUTABLE AS $$
    SELECT AMAssetYearAccumulated(AMAssetYearOf(5, dblAmount, dblAmount, dblLife, intPeriods), dblAmount, dblLife,
                                  intPeriods)
$$;

CREATE OR REPLACE FUNCTION GetDeprectionFromGDP(dblBook numeric, dblAmount numeric, dblLife numeric, intPeriods integer)
RETURNS numeric LANGUAGE sql IMMUTABLE AS $$
    SELECT (AMAssetYearOf(6, dblBook, dblAmount, dblLife, intPeriods)).dblYear
$$;

CREATE OR REPLACE FUNCTION GetInitDeprectionFromGDP(dblBook numeric, dblAmount numeric, dblLife numeric, intPeriods integer)
RETURNS numeric LANGUAGE sql IMMUTABLE AS $$
    SELECT AMAssetYearAccumulated(AMAssetYearOf(6, dblBook, dblAmount, dblLife, intPeriods), dblAmount, dblLife,
                                  intPeriods)
$$;

-- Workload: the amount per unit of the remaining expected work dblWorks,
-- and what dblWork units of work have depreciated (all of it once the
-- expected work is reached, or at once when none is left to expect).
CREATE OR REPLACE FUNCTION GetDeprectionFromUPD(dblAmount numeric, dblWorks numeric)
RETURNS numeric LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE WHEN dblWorks > 0 THEN round(dblAmount / dblWorks, 6) ELSE 0 END
$$;

CREATE OR REPLACE FUNCTION GetInitDeprectionFromUPD(dblAmount numeric, dblWorks numeric, dblWork numeric)
RETURNS numeric LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE WHEN dblAmount <= 0 THEN 0
                WHEN dblWorks <= 0 THEN dblAmount
                WHEN dblWork <= 0 THEN 0
                WHEN dblWork >= dblWorks THEN dblAmount
                ELSE round(dblAmount * dblWork / dblWorks, 2)
           END
$$;

-- The method's accumulated depreciation on a schedule through intPeriods
-- periods, y being the depreciation year they reach (AMAssetYearOf), or
-- through dblWork units of work under the workload method.
CREATE OR REPLACE FUNCTION AMAssetScheduleAccumulated(bytMethod integer, dblAmount numeric, dblLife numeric,
                                                      intPeriods integer, dblWork numeric, y AMAssetYearFigures)
RETURNS numeric LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE WHEN bytMethod = 3 THEN GetInitDeprectionFromUPD(dblAmount, dblLife, dblWork)
                WHEN bytMethod IN (2, 4, 5, 6) THEN AMAssetYearAccumulated(y, dblAmount, dblLife, intPeriods)
                ELSE 0
           END
$$;

-- Replaced by the routines above.
DROP FUNCTION IF EXISTS AMAssetDeprectionCumulative(integer, numeric, numeric, numeric, integer, numeric);
DROP FUNCTION IF EXISTS AMAssetDeprectionYearAmount(integer, numeric, numeric, numeric, integer);
DROP FUNCTION IF EXISTS AMAssetDeprectionAccumulated(integer, numeric, numeric, numeric, integer);
DROP FUNCTION IF EXISTS AMAssetDeprectionYear(integer, numeric, numeric, numeric, integer);
