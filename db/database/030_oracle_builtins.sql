-- Oracle's everyday built-ins with Oracle's results.  Installed once per
-- database after CREATE EXTENSION orafce; safe to run again.
--
-- Names PostgreSQL does not have (ADD_MONTHS, LAST_DAY, LENGTHB ...) live
-- here in oracompat, which every account set has on its search path; most
-- hand over to orafce's "oracle" schema, which is not on that path.  Names
-- PostgreSQL already has with another meaning (TO_CHAR, TRUNC, ROUND,
-- TO_DATE) are here too, but pg_catalog comes first on every search path, so
-- the connection's translator calls them qualified (oracompat.to_char).
--
-- Oracle's DATE carries a time of day.  DATE columns and variables become the
-- domain oracompat.date (a timestamp to the second), so that the operators
-- below can give DATE arithmetic Oracle's results: date + n and date - n move
-- by n days (fractions are hours, minutes, seconds) and date - date is the
-- number of days between them.  A plain timestamp keeps PostgreSQL's
-- arithmetic, as Oracle's TIMESTAMP does (timestamp - timestamp is an interval).

CREATE SCHEMA IF NOT EXISTS oracompat;
GRANT USAGE ON SCHEMA oracompat TO PUBLIC;

DO $$
BEGIN
    IF NOT EXISTS (SELECT 1 FROM pg_catalog.pg_type
                    WHERE typname = 'date' AND typnamespace = 'oracompat'::regnamespace) THEN
        CREATE DOMAIN oracompat.date AS timestamp(0);
    END IF;
END
$$;

-- ---- dates ----

CREATE OR REPLACE FUNCTION oracompat.sysdate() RETURNS oracompat.date
LANGUAGE sql STABLE PARALLEL SAFE
AS $$ SELECT pg_catalog.date_trunc('second', pg_catalog.statement_timestamp())::timestamp $$;

CREATE OR REPLACE FUNCTION oracompat.systimestamp() RETURNS timestamptz
LANGUAGE sql STABLE PARALLEL SAFE
AS $$ SELECT pg_catalog.statement_timestamp() $$;

CREATE OR REPLACE FUNCTION oracompat.add_days(d oracompat.date, days numeric) RETURNS oracompat.date
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT d::timestamp + pg_catalog.make_interval(secs => days * 86400) $$;

CREATE OR REPLACE FUNCTION oracompat.subtract_days(d oracompat.date, days numeric) RETURNS oracompat.date
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT d::timestamp - pg_catalog.make_interval(secs => days * 86400) $$;

CREATE OR REPLACE FUNCTION oracompat.add_days(days numeric, d oracompat.date) RETURNS oracompat.date
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT d::timestamp + pg_catalog.make_interval(secs => days * 86400) $$;

CREATE OR REPLACE FUNCTION oracompat.days_between(a oracompat.date, b oracompat.date) RETURNS numeric
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT pg_catalog.trim_scale(EXTRACT(EPOCH FROM a::timestamp - b::timestamp) / 86400) $$;

CREATE OR REPLACE FUNCTION oracompat.days_between(a oracompat.date, b date) RETURNS numeric
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT oracompat.days_between(a, b::timestamp::oracompat.date) $$;

CREATE OR REPLACE FUNCTION oracompat.days_between(a date, b oracompat.date) RETURNS numeric
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT oracompat.days_between(a::timestamp::oracompat.date, b) $$;

-- Declared on the DATE domain, yet any timestamp or date reaches them (a
-- domain accepts its base type): a text literal still reads as an interval
-- there, so timestamp + '1 day' keeps PostgreSQL's meaning.  DATE - DATE is a
-- number of days; DATE - TIMESTAMP stays an interval, as in Oracle.  A
-- PostgreSQL date (an ANSI DATE literal) counts as a DATE.  Created once:
-- views and routines may depend on them.
DO $$
DECLARE
    op record;
BEGIN
    FOR op IN SELECT * FROM (VALUES
            ('+', 'oracompat.date', 'numeric', 'oracompat.add_days'),
            ('+', 'numeric', 'oracompat.date', 'oracompat.add_days'),
            ('-', 'oracompat.date', 'numeric', 'oracompat.subtract_days'),
            ('-', 'oracompat.date', 'oracompat.date', 'oracompat.days_between'),
            ('-', 'oracompat.date', 'date', 'oracompat.days_between'),
            ('-', 'date', 'oracompat.date', 'oracompat.days_between')) AS v(name, l, r, fn)
    LOOP
        IF NOT EXISTS (SELECT 1 FROM pg_catalog.pg_operator
                        WHERE oprnamespace = 'oracompat'::regnamespace AND oprname = op.name
                          AND oprleft = op.l::regtype AND oprright = op.r::regtype) THEN
            EXECUTE format('CREATE OPERATOR oracompat.%s (LEFTARG = %s, RIGHTARG = %s, FUNCTION = %s)',
                           op.name, op.l, op.r, op.fn);
        END IF;
    END LOOP;
END
$$;

-- TO_DATE keeps the time of day the format reads (PostgreSQL's drops it).
CREATE OR REPLACE FUNCTION oracompat.to_date(str text, fmt text) RETURNS oracompat.date
LANGUAGE sql STABLE STRICT PARALLEL SAFE
AS $$ SELECT pg_catalog.to_timestamp(str, fmt)::timestamp $$;

CREATE OR REPLACE FUNCTION oracompat.to_date(str text) RETURNS oracompat.date
LANGUAGE sql STABLE STRICT PARALLEL SAFE
AS $$ SELECT str::timestamp $$;

-- orafce works on the day; Oracle keeps the time of day through these.
CREATE OR REPLACE FUNCTION oracompat.add_months(d timestamp, months numeric) RETURNS oracompat.date
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT oracle.add_months(d::date, pg_catalog.trunc(months)::integer) + d::time $$;

CREATE OR REPLACE FUNCTION oracompat.last_day(d timestamp) RETURNS oracompat.date
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT oracle.last_day(d::date) + d::time $$;

CREATE OR REPLACE FUNCTION oracompat.next_day(d timestamp, weekday text) RETURNS oracompat.date
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT oracle.next_day(d::date, weekday) + d::time $$;

-- Whole months when both days are the same day of the month or both the last
-- of their month; otherwise the rest counts in 31sts of a month, time of day
-- included.  Exact (orafce's answer is a float and ignores the time).
CREATE OR REPLACE FUNCTION oracompat.months_between(a timestamp, b timestamp) RETURNS numeric
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$
    SELECT CASE WHEN EXTRACT(DAY FROM a) = EXTRACT(DAY FROM b)
                  OR (a::date = oracle.last_day(a::date) AND b::date = oracle.last_day(b::date))
                THEN months
                ELSE pg_catalog.trim_scale(months + (EXTRACT(DAY FROM a) - EXTRACT(DAY FROM b)
                                + EXTRACT(EPOCH FROM a::time - b::time) / 86400) / 31)
           END
      FROM (SELECT (EXTRACT(YEAR FROM a) - EXTRACT(YEAR FROM b)) * 12
                   + EXTRACT(MONTH FROM a) - EXTRACT(MONTH FROM b) AS months) m
$$;

-- TRUNC and ROUND of a date to a unit ('DD' when none: midnight).
CREATE OR REPLACE FUNCTION oracompat.trunc(d timestamp, unit text DEFAULT 'DD') RETURNS oracompat.date
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT oracle.trunc(d, unit) $$;

CREATE OR REPLACE FUNCTION oracompat.round(d timestamp, unit text DEFAULT 'DD') RETURNS oracompat.date
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT oracle.round(d, unit) $$;

-- SYSTIMESTAMP and the like: the date in the session's time zone.
CREATE OR REPLACE FUNCTION oracompat.trunc(d timestamptz, unit text DEFAULT 'DD') RETURNS oracompat.date
LANGUAGE sql STABLE STRICT PARALLEL SAFE
AS $$ SELECT oracle.trunc(d::timestamp, unit) $$;

CREATE OR REPLACE FUNCTION oracompat.round(d timestamptz, unit text DEFAULT 'DD') RETURNS oracompat.date
LANGUAGE sql STABLE STRICT PARALLEL SAFE
AS $$ SELECT oracle.round(d::timestamp, unit) $$;

-- ---- numbers: TRUNC and ROUND (halves away from zero, as numeric does) ----

CREATE OR REPLACE FUNCTION oracompat.trunc(n numeric, places numeric DEFAULT 0) RETURNS numeric
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT pg_catalog.trunc(n, pg_catalog.trunc(places)::integer) $$;

CREATE OR REPLACE FUNCTION oracompat.round(n numeric, places numeric DEFAULT 0) RETURNS numeric
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT pg_catalog.round(n, pg_catalog.trunc(places)::integer) $$;

-- Whole numbers and floats get their own versions: without them PostgreSQL
-- would pass an integer through double precision, its preferred number type.
CREATE OR REPLACE FUNCTION oracompat.trunc(n bigint, places numeric DEFAULT 0) RETURNS numeric
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT pg_catalog.trunc(n::numeric, pg_catalog.trunc(places)::integer) $$;

CREATE OR REPLACE FUNCTION oracompat.round(n bigint, places numeric DEFAULT 0) RETURNS numeric
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT pg_catalog.round(n::numeric, pg_catalog.trunc(places)::integer) $$;

CREATE OR REPLACE FUNCTION oracompat.trunc(n double precision, places numeric DEFAULT 0) RETURNS numeric
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT pg_catalog.trunc(n::numeric, pg_catalog.trunc(places)::integer) $$;

CREATE OR REPLACE FUNCTION oracompat.round(n double precision, places numeric DEFAULT 0) RETURNS numeric
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT pg_catalog.round(n::numeric, pg_catalog.trunc(places)::integer) $$;

-- ---- numbers as text ----

-- Scientific notation with the fewest digits: 1.25E+70, -1E-64.
CREATE OR REPLACE FUNCTION oracompat.scientific_text(n numeric) RETURNS text
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$
    SELECT CASE WHEN n < 0 THEN '-' ELSE '' END || pg_catalog.left(digits, 1)
           || CASE WHEN pg_catalog.length(digits) > 1 THEN '.' || pg_catalog.substr(digits, 2) ELSE '' END
           || 'E' || pg_catalog.to_char(whole - 1 - (pg_catalog.length(plain) - pg_catalog.length(pg_catalog.ltrim(plain, '0'))), 'FMS00')
      FROM (SELECT pg_catalog.strpos(a || '.', '.') - 1 AS whole,
                   pg_catalog.replace(a, '.', '') AS plain,
                   pg_catalog.btrim(pg_catalog.replace(a, '.', ''), '0') AS digits
              FROM (SELECT pg_catalog.trim_scale(pg_catalog.abs(n))::text AS a) t) f
$$;

-- Oracle's TO_CHAR(n) without a format: the shortest text, no trailing
-- zeros, no zero before the decimal point, and scientific notation once the
-- fixed form would exceed 64 characters.  One expression and not STRICT
-- (NULL gives NULL anyway), so that the planner inlines it into the query.
CREATE OR REPLACE FUNCTION oracompat.number_text(n numeric) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE
AS $$
    SELECT CASE WHEN pg_catalog.length(pg_catalog.trim_scale(n)::text)
                     > 64 + (n > -1 AND n < 1 AND n <> 0)::integer
                THEN oracompat.scientific_text(n)
                WHEN n > -1 AND n < 1 THEN pg_catalog.replace(pg_catalog.trim_scale(n)::text, '0.', '.')
                ELSE pg_catalog.trim_scale(n)::text
           END
$$;

CREATE OR REPLACE FUNCTION oracompat.to_char(n numeric) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE
AS $$ SELECT oracompat.number_text(n) $$;

CREATE OR REPLACE FUNCTION oracompat.to_char(n bigint) RETURNS text
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT n::text $$;

CREATE OR REPLACE FUNCTION oracompat.to_char(n integer) RETURNS text
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT n::text $$;

CREATE OR REPLACE FUNCTION oracompat.to_char(n double precision) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE
AS $$ SELECT oracompat.number_text(n::numeric) $$;

CREATE OR REPLACE FUNCTION oracompat.to_char(t text) RETURNS text
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT t $$;

-- CHAR keeps its trailing blanks, as the value's own text does.
CREATE OR REPLACE FUNCTION oracompat.to_char(c character) RETURNS text
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT pg_catalog.concat(c) $$;

-- Any other value (a timestamp with time zone, an interval ...) as PostgreSQL writes it.
CREATE OR REPLACE FUNCTION oracompat.to_char(v anyelement) RETURNS text
LANGUAGE sql STABLE STRICT PARALLEL SAFE
AS $$ SELECT v::text $$;

-- Dates without a format in the session's ISO style.
CREATE OR REPLACE FUNCTION oracompat.to_char(d timestamp) RETURNS text
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT pg_catalog.to_char(d, 'YYYY-MM-DD HH24:MI:SS') $$;

CREATE OR REPLACE FUNCTION oracompat.to_char(d date) RETURNS text
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT pg_catalog.to_char(d, 'YYYY-MM-DD') $$;

-- With a format PostgreSQL's models are Oracle's for the usual elements.
CREATE OR REPLACE FUNCTION oracompat.to_char(n numeric, fmt text) RETURNS text
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT pg_catalog.to_char(n, fmt) $$;

CREATE OR REPLACE FUNCTION oracompat.to_char(n double precision, fmt text) RETURNS text
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT pg_catalog.to_char(n::numeric, fmt) $$;

CREATE OR REPLACE FUNCTION oracompat.to_char(d timestamp, fmt text) RETURNS text
LANGUAGE sql STABLE STRICT PARALLEL SAFE
AS $$ SELECT pg_catalog.to_char(d, fmt) $$;

CREATE OR REPLACE FUNCTION oracompat.to_char(d timestamptz, fmt text) RETURNS text
LANGUAGE sql STABLE STRICT PARALLEL SAFE
AS $$ SELECT pg_catalog.to_char(d, fmt) $$;

-- ---- bytes of UTF-8 text ----

CREATE OR REPLACE FUNCTION oracompat.lengthb(t text) RETURNS integer
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT pg_catalog.octet_length(t) $$;

-- Bytes from position `pos` (1-based; 0 counts as 1, negative from the end),
-- `len` bytes long (all when omitted, NULL when below 1).  A character cut at
-- either end becomes blanks, one per byte taken from it.
CREATE OR REPLACE FUNCTION oracompat.substrb(t text, pos numeric, len numeric DEFAULT NULL) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE
AS $$
    WITH r AS (SELECT CASE WHEN pos < 0 THEN pg_catalog.octet_length(t) + pg_catalog.trunc(pos) + 1
                           ELSE GREATEST(pg_catalog.trunc(pos), 1) END AS first,
                      pg_catalog.trunc(len) AS n),
         c AS (SELECT ch, sum(pg_catalog.octet_length(ch)) OVER (ORDER BY i) - pg_catalog.octet_length(ch) + 1 AS b,
                      pg_catalog.octet_length(ch) AS w, i
                 FROM pg_catalog.unnest(pg_catalog.string_to_array(t, NULL)) WITH ORDINALITY AS u(ch, i))
    SELECT CASE WHEN t IS NULL OR pos IS NULL OR r.n < 1 THEN NULL
                ELSE NULLIF(pg_catalog.string_agg(
                         CASE WHEN c.b >= r.first AND c.b + c.w <= last THEN c.ch
                              ELSE pg_catalog.repeat(' ', (LEAST(c.b + c.w, last) - GREATEST(c.b, r.first))::integer)
                         END, '' ORDER BY c.i), '')
           END
      FROM r CROSS JOIN LATERAL (SELECT CASE WHEN r.n IS NULL THEN pg_catalog.octet_length(t) + 1
                                             ELSE r.first + r.n END AS last) l
      LEFT JOIN c ON c.b + c.w > r.first AND c.b < l.last
     GROUP BY r.n, r.first
$$;

-- ---- text ----

-- REGEXP_REPLACE replaces every match unless told which one (PostgreSQL's
-- only the first); a NULL replacement removes the matches; empty is NULL.
CREATE OR REPLACE FUNCTION oracompat.regexp_replace(src text, pattern text, replacement text DEFAULT NULL,
                                                    pos integer DEFAULT 1, occurrence integer DEFAULT 0,
                                                    flags text DEFAULT NULL) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE
AS $$
    SELECT NULLIF(oracle.regexp_replace(src, pattern, coalesce(replacement, ''), pos, occurrence,
                                        coalesce(flags, '')), '')
$$;

-- ---- other orafce functions under Oracle's names ----

-- Full-width (全角) and half-width forms of ASCII letters, digits and signs.
CREATE OR REPLACE FUNCTION oracompat.to_multi_byte(t text) RETURNS text
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT oracle.to_multi_byte(t) $$;

CREATE OR REPLACE FUNCTION oracompat.to_single_byte(t text) RETURNS text
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT oracle.to_single_byte(t) $$;

CREATE OR REPLACE FUNCTION oracompat.bitand(a numeric, b numeric) RETURNS numeric
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT oracle.bitand(a::bigint, b::bigint)::numeric $$;

CREATE OR REPLACE FUNCTION oracompat.nanvl(n double precision, otherwise double precision) RETURNS double precision
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT oracle.nanvl(n, otherwise) $$;

CREATE OR REPLACE FUNCTION oracompat.remainder(a numeric, b numeric) RETURNS numeric
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT oracle.remainder(a, b) $$;

-- MOD(n, 0) is n in Oracle; PostgreSQL raises division by zero.
CREATE OR REPLACE FUNCTION oracompat.mod(a numeric, b numeric) RETURNS numeric
LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
AS $$ SELECT CASE WHEN b = 0 THEN a ELSE pg_catalog.mod(a, b) END $$;

GRANT EXECUTE ON ALL FUNCTIONS IN SCHEMA oracompat TO PUBLIC;
