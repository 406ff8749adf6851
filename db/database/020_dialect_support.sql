-- Support routines for the Oracle SQL the component sends, as the connection's
-- translator rewrites it.  Installed once per database; safe to run again.
-- (The DUAL view lives in 010_oracle_dictionary.sql.)

CREATE SCHEMA IF NOT EXISTS oracompat;
GRANT USAGE ON SCHEMA oracompat TO PUBLIC;

-- Oracle's REPLACE: a NULL (empty) search text leaves the text as it is, a
-- NULL replacement removes the search text, and an empty result is NULL.
CREATE OR REPLACE FUNCTION oracompat.replace(str text, search text, replacement text DEFAULT NULL)
RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE
AS $$
    SELECT NULLIF(CASE WHEN search IS NULL OR search = '' THEN str
                       ELSE pg_catalog.replace(str, search, coalesce(replacement, ''))
                  END, '')
$$;

-- "ALTER FUNCTION schema.name COMPILE": PostgreSQL checks a routine when it
-- is created, so recompiling reduces to making sure it exists.  A function or
-- a procedure of that name in that schema (any arguments) will do; without a
-- schema the session's current schema is meant.  Names compare as PostgreSQL
-- folds unquoted ones.
CREATE OR REPLACE FUNCTION oracompat.compile_routine(schema_name text, routine_name text)
RETURNS void
LANGUAGE plpgsql STABLE
AS $$
DECLARE
    owner text := lower(coalesce(schema_name, current_schema()));
BEGIN
    IF NOT EXISTS (SELECT 1
                     FROM pg_catalog.pg_proc p
                     JOIN pg_catalog.pg_namespace n ON n.oid = p.pronamespace
                    WHERE n.nspname = owner
                      AND p.proname = lower(routine_name)
                      AND p.prokind IN ('f', 'p')) THEN
        RAISE EXCEPTION 'ORA-04043: object %.% does not exist', upper(owner), upper(routine_name)
              USING ERRCODE = 'undefined_function';
    END IF;
END
$$;

GRANT EXECUTE ON FUNCTION oracompat.replace(text, text, text) TO PUBLIC;
GRANT EXECUTE ON FUNCTION oracompat.compile_routine(text, text) TO PUBLIC;

-- Oracle names a trigger alone; PostgreSQL with its table.  ALTER TRIGGER
-- (ENABLE, DISABLE, COMPILE) and DROP TRIGGER find the table here.  A
-- trigger made from Oracle's text has a function of its own, <name>$trg,
-- which goes with it.
CREATE OR REPLACE FUNCTION oracompat.trigger_table(schema_name text, trigger_name text)
RETURNS text
LANGUAGE plpgsql STABLE
AS $$
DECLARE
    owner text := lower(coalesce(schema_name, current_schema()));
    target text;
BEGIN
    SELECT format('%I.%I', n.nspname, c.relname) INTO target
      FROM pg_catalog.pg_trigger t
      JOIN pg_catalog.pg_class c ON c.oid = t.tgrelid
      JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace
     WHERE n.nspname = owner AND t.tgname = lower(trigger_name) AND NOT t.tgisinternal;
    IF target IS NULL THEN
        RAISE EXCEPTION 'ORA-04080: trigger %.% does not exist', upper(owner), upper(trigger_name)
              USING ERRCODE = 'undefined_object';
    END IF;
    RETURN target;
END
$$;

CREATE OR REPLACE FUNCTION oracompat.alter_trigger(schema_name text, trigger_name text, action text)
RETURNS void
LANGUAGE plpgsql
AS $$
DECLARE
    target text := oracompat.trigger_table(schema_name, trigger_name);
BEGIN
    IF action IN ('ENABLE', 'DISABLE') THEN
        EXECUTE format('ALTER TABLE %s %s TRIGGER %I', target, action, lower(trigger_name));
    END IF;
END
$$;

CREATE OR REPLACE FUNCTION oracompat.drop_trigger(schema_name text, trigger_name text)
RETURNS void
LANGUAGE plpgsql
AS $$
DECLARE
    target text := oracompat.trigger_table(schema_name, trigger_name);
    owner text := lower(coalesce(schema_name, current_schema()));
BEGIN
    EXECUTE format('DROP TRIGGER %I ON %s', lower(trigger_name), target);
    EXECUTE format('DROP FUNCTION IF EXISTS %I.%I()', owner, lower(trigger_name) || '$trg');
END
$$;

GRANT EXECUTE ON FUNCTION oracompat.trigger_table(text, text) TO PUBLIC;
GRANT EXECUTE ON FUNCTION oracompat.alter_trigger(text, text, text) TO PUBLIC;
GRANT EXECUTE ON FUNCTION oracompat.drop_trigger(text, text) TO PUBLIC;
