-- The reference data of account set {LIKE} for a new account set of the
-- years {YEARS}, run in the new account set's schema like the demo scripts.
--
-- Copied as they stand: the tables named below and nothing else, so that a
-- table a later release adds is copied only once it is judged to be
-- reference data.  Nothing that belongs to an asset or a transaction of
-- {LIKE} comes along: not its register, postings, balances or schedules
-- (AMAssetFundBasis, keyed by funding-source version ids the new set will
-- draw again), links to other modules, vouchers, the online-device module's
-- copies of its assets or the self-service platform's requests.  The serial
-- counters of the codes (AMAssetTypeNo) do come along: the carry-forward
-- brings the assets with their codes, and a new asset's code goes on after
-- them.
--
-- Every sequence then starts past where {LIKE}'s stands, and past the keys
-- copied: an id the new set draws is one {LIKE} never issued, so it meets no
-- row the carry-forward brings with its id.  The periods are made for the
-- new years, and the fixed-asset module counts as started in period 1 of
-- the first of them.
DO $$
DECLARE
    reference CONSTANT text[] := ARRAY[
        -- the suite's: settings, the account set, currencies, templates,
        -- organisations, departments, accounts and the other code lists
        'setting', 'business', 'trade', 'currencys', 'template', 'templateformat', 'organization',
        'department', 'account', 'accountex', 'class1', 'class2', 'customertype', 'customer',
        'employeetype', 'employee', 'operatorgroup', 'operator', 'orgoperatorallot',
        'itemunitgroup', 'itemunit', 'location', 'country', 'integrality', 'maintaintype',
        'faulttype', 'vouchertype', 'menuschemedetail', 'report', 'adjust', 'view1',
        -- the fixed-asset module's: categories, code counters, ways of change,
        -- states, funding sources and their accounts, card layouts
        'amassetcategory', 'amassettype', 'amassettypeex', 'amassettypeno', 'amassettypecustom',
        'amassetnationaltype', 'amassetmethod', 'amassetmethodex', 'amassetstate',
        'ammanagertype', 'amfund', 'amassetfundaccsetting', 'amassetfundaccsetting2',
        'amassetobverse',
        -- the optional modules' definitions (where the new set has the module)
        'db_et_table_version', 'altertype', 'amassetalteritemtemp', 'amassetalteritem'];
    t      record;
    theirs bigint;
    mine   bigint;
BEGIN
    FOR t IN SELECT c.relname
               FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace
              WHERE n.nspname = lower('{LIKE}') AND c.relkind = 'r'
                AND (c.relname = ANY (reference) OR c.relname ~ '^(custom[0-5]|flexiblefield[0-9]{2})$')
                AND to_regclass(current_schema() || '.' || c.relname) IS NOT NULL
    LOOP
        EXECUTE format('INSERT INTO %I SELECT * FROM %I.%I', t.relname, lower('{LIKE}'), t.relname);
        IF to_regclass(current_schema() || '.' || t.relname || '_seq') IS NOT NULL THEN
            EXECUTE format('SELECT setval(%L, greatest((SELECT max(%I) FROM %I), 1))', t.relname || '_seq',
                           (SELECT a.attname FROM pg_attribute a
                             WHERE a.attrelid = to_regclass(current_schema() || '.' || t.relname)
                               AND a.attnum = 1), t.relname);
        END IF;
    END LOOP;
    -- (the last value issued: a sequence restarted has issued the one before)
    FOR t IN SELECT mine.sequencename AS name
               FROM pg_sequences mine
               JOIN pg_sequences theirs ON theirs.schemaname = lower('{LIKE}')
                                       AND theirs.sequencename = mine.sequencename
              WHERE mine.schemaname = current_schema()
    LOOP
        EXECUTE format('SELECT CASE WHEN t.is_called THEN t.last_value ELSE t.last_value - 1 END,'
                       '       CASE WHEN m.is_called THEN m.last_value ELSE m.last_value - 1 END'
                       '  FROM %I.%I t, %I m', lower('{LIKE}'), t.name, t.name)
           INTO theirs, mine;
        IF theirs > mine THEN
            PERFORM setval(format('%I', t.name), theirs);
        END IF;
    END LOOP;
END $$;

SELECT AMAssetMakePeriods({YEARS});

INSERT INTO Module (lngModuleID, lngOrganizationID, strModuleName, bytStatus, intYear, bytPeriod)
SELECT m.lngModuleID, m.lngOrganizationID, m.strModuleName, m.bytStatus,
       (SELECT min(y) FROM unnest({YEARS}) AS y), 1
  FROM {LIKE}.Module m;
