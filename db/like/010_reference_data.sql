-- The reference data of account set {LIKE} for a new account set of the
-- years {YEARS}: every table that does not hold the asset register, its
-- postings or its periods is copied as it stands, and each sequence moved
-- past the copied keys; the periods are made for the new years, and the
-- fixed-asset module counts as started in period 1 of the first of them.
-- Run in the new account set's schema, like the demo scripts.
DO $$
DECLARE
    t record;
    seq text;
BEGIN
    FOR t IN SELECT c.relname
               FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace
              WHERE n.nspname = lower('{LIKE}') AND c.relkind = 'r'
                AND c.relname NOT IN ('accountperiod', 'module', 't_backupscript')
                AND c.relname NOT LIKE 'amassetdaily\_%'
                AND c.relname !~ '^amasset(|alter|fund|fundalter|fundcostalter|fundaccalter|fundbalance|fundbalanceex|fundbalanceamortise|fundbalanceamortiseex|funddaily|depreciation|other|otheralter|label|labelalter|labelcustom|custom|aux|document|image|batchadd)$'
                AND to_regclass(current_schema() || '.' || c.relname) IS NOT NULL
    LOOP
        EXECUTE format('INSERT INTO %I SELECT * FROM %I.%I', t.relname, lower('{LIKE}'), t.relname);
        seq := t.relname || '_seq';
        IF to_regclass(current_schema() || '.' || seq) IS NOT NULL THEN
            EXECUTE format('SELECT setval(%L, greatest((SELECT max(%I) FROM %I), 1))', seq,
                           (SELECT a.attname FROM pg_attribute a
                             WHERE a.attrelid = to_regclass(current_schema() || '.' || t.relname)
                               AND a.attnum = 1), t.relname);
        END IF;
    END LOOP;
END $$;

INSERT INTO AccountPeriod (lngAccountPeriodID, lngOrganizationID, intYear, bytPeriod, strStartDate, strEndDate, blnIsClosed)
SELECT nextval('AccountPeriod_SEQ'), p.org, p.yr, p.mon,
       to_char(make_date(p.yr, p.mon, 1), 'YYYY-MM-DD'),
       to_char((make_date(p.yr, p.mon, 1) + interval '1 month' - interval '1 day')::date, 'YYYY-MM-DD'),
       0
  FROM (SELECT o.lngOrganizationID AS org, y AS yr, m AS mon
          FROM Organization o
         CROSS JOIN unnest({YEARS}) AS y
         CROSS JOIN generate_series(1, 12) AS m
         ORDER BY 1, 2, 3) AS p;

INSERT INTO Module (lngModuleID, lngOrganizationID, strModuleName, bytStatus, intYear, bytPeriod)
SELECT m.lngModuleID, m.lngOrganizationID, m.strModuleName, m.bytStatus,
       (SELECT min(y) FROM unnest({YEARS}) AS y), 1
  FROM {LIKE}.Module m;
