-- The maintenance procedures that the component's adjustment scripts call
-- (one call block each, run through the console SQL tool): after a company's
-- data was repaired they check the routines, keep the scripts for the next
-- account set, and rebuild what the engine computes from the register.
-- Each works on the whole account set and can run again: a second run gives
-- the same books.  A refusal of the engine ends the procedure with its
-- reason (the console shows it as an error, which the component logs).

-- The entry points the component calls by name.
CREATE OR REPLACE FUNCTION z_adj_entryPoints()
RETURNS text[] LANGUAGE sql IMMUTABLE AS $$
    SELECT ARRAY['amassetcalcadd', 'amassetcalcalter', 'amassetcalcdec', 'amassetcalcwork',
                 'amassetcalcupdate', 'amassetdeprection', 'amassetactdaily', 'amassetamortise']
$$;

-- Every routine of the account set checked again as CREATE would check it
-- (a routine whose body no longer parses is named), and every entry point
-- must be there.
CREATE OR REPLACE PROCEDURE z_adj_compileObject()
LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_schema  oid := (SELECT n.oid FROM pg_namespace n WHERE n.nspname = current_schema());
    v_missing text;
    r         record;
BEGIN
    SELECT string_agg(e, ', ') INTO v_missing
      FROM unnest(z_adj_entryPoints()) e
     WHERE NOT EXISTS (SELECT 1 FROM pg_proc p WHERE p.pronamespace = v_schema AND p.proname = e);
    IF v_missing IS NOT NULL THEN
        RAISE EXCEPTION '账套 % 缺少存储过程: %', current_schema(), v_missing;
    END IF;
    FOR r IN SELECT p.oid, p.proname, l.lanname
               FROM pg_proc p JOIN pg_language l ON l.oid = p.prolang
              WHERE p.pronamespace = v_schema AND l.lanname IN ('plpgsql', 'sql') LOOP
        BEGIN
            IF r.lanname = 'plpgsql' THEN
                PERFORM plpgsql_validator(r.oid);
            ELSE
                PERFORM fmgr_sql_validator(r.oid);
            END IF;
        EXCEPTION WHEN OTHERS THEN
            RAISE EXCEPTION '存储过程 % 编译失败: %', r.proname, SQLERRM;
        END;
    END LOOP;
END
$$;

-- The account set's own adjustment routines (named z_update_...) kept as
-- scripts that create them again, under their upper-case names.  The
-- routine's schema is written in upper case, which the component replaces
-- by the name of the account set the script runs in.  An account set of an
-- earlier release gets the table (account_set/070_backup_script.sql), which
-- marks it as adjusted.
CREATE OR REPLACE PROCEDURE z_adj_backupScript()
LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    r record;
BEGIN
    CREATE TABLE IF NOT EXISTS t_backupScript (
        strNo   varchar(20)  NOT NULL PRIMARY KEY,
        strName varchar(100) NOT NULL,
        strSql  text         NOT NULL,
        strDate varchar(19)  NOT NULL DEFAULT to_char(localtimestamp(0), 'YYYY-MM-DD HH24:MI:SS')
    );
    FOR r IN SELECT upper(p.proname) AS strName,
                    replace(pg_get_functiondef(p.oid), ' ' || quote_ident(current_schema()) || '.',
                            ' ' || upper(current_schema()) || '.') || E'\n/' AS strSql
               FROM pg_proc p
              WHERE p.pronamespace = (SELECT n.oid FROM pg_namespace n WHERE n.nspname = current_schema())
                AND p.proname LIKE 'z\_update\_%'
              ORDER BY p.proname LOOP
        UPDATE t_backupScript b SET strSql = r.strSql WHERE b.strName = r.strName;
        IF NOT FOUND THEN
            INSERT INTO t_backupScript (strNo, strName, strSql)
            SELECT lpad((count(*) + 1)::text, 4, '0'), r.strName, r.strSql FROM t_backupScript;
        END IF;
    END LOOP;
END
$$;

-- Ends the calling procedure when the engine refused, with its reason.
CREATE OR REPLACE FUNCTION z_adj_require(p_result double precision, p_what text)
RETURNS void LANGUAGE plpgsql AS $$
BEGIN
    IF p_result <> 0 THEN
        RAISE EXCEPTION '%失败 (%): %', p_what, p_result, AMAssetRefusal();
    END IF;
END
$$;

-- The latest depreciated period of every organisation written again.
CREATE OR REPLACE PROCEDURE z_adj_reDeprCalc()
LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
BEGIN
    PERFORM z_adj_require(AMAssetCalcUpdate(0, 0, 0, 0), '重算折旧');
END
$$;

-- Every asset that has alterations recalculated as the carry-forward does
-- (history is not refused; the latest depreciated period is written again).
CREATE OR REPLACE PROCEDURE z_adj_reAlterCalc()
LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    r record;
BEGIN
    FOR r IN SELECT a.lngAMAssetID, a.lngOrganizationID, a.strAMAssetCode
               FROM AMAsset a
              WHERE a.lngAMAssetLastAlterID <> a.lngAMAssetInitAlterID
                AND EXISTS (SELECT 1 FROM AMAssetDepreciation d WHERE d.lngOrganizationID = a.lngOrganizationID)
              ORDER BY a.lngOrganizationID, a.lngAMAssetID LOOP
        PERFORM z_adj_require(AMAssetCalcAlter(1, r.lngAMAssetID, r.lngOrganizationID),
                              '重算资产 ' || r.strAMAssetCode || ' 的变动');
    END LOOP;
END
$$;

-- The latest depreciated period of every organisation apportioned again.
CREATE OR REPLACE PROCEDURE z_adj_reAmortise()
LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    v_org integer;
BEGIN
    FOR v_org IN SELECT DISTINCT d.lngOrganizationID FROM AMAssetDepreciation d ORDER BY 1 LOOP
        PERFORM z_adj_require(AMAssetAmortise(0, v_org), '折旧费用分摊');
    END LOOP;
END
$$;

-- The posting journal of every organisation rebuilt from scratch: the
-- alterations, then the depreciation, every period of an organisation at once.
CREATE OR REPLACE PROCEDURE z_adj_reDaily()
LANGUAGE plpgsql SET search_path FROM CURRENT AS $$
DECLARE
    r record;
BEGIN
    DELETE FROM AMAssetFundDaily;
    FOR r IN SELECT DISTINCT a.lngOrganizationID, 0 AS blnFromDepreciation
               FROM AMAssetAlter a
             UNION
             SELECT DISTINCT b.lngOrganizationID, 1
               FROM AMAssetFundBalance b
              ORDER BY 2, 1 LOOP
        PERFORM z_adj_require(AMAssetActDaily(0, 0, 0, r.blnFromDepreciation, 0, r.lngOrganizationID),
                              '过账 机构 ' || r.lngOrganizationID);
    END LOOP;
END
$$;
