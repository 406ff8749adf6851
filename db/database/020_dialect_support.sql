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

-- The schema a table is in.
CREATE OR REPLACE FUNCTION oracompat.schema_of(target regclass)
RETURNS text
LANGUAGE sql STABLE
AS $$
    SELECT n.nspname::text FROM pg_catalog.pg_class c
      JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace WHERE c.oid = target
$$;

GRANT EXECUTE ON FUNCTION oracompat.schema_of(regclass) TO PUBLIC;

-- ALTER TABLE … ADD [CONSTRAINT c] PRIMARY KEY | UNIQUE (cols) as Oracle runs
-- it: an index the script made before (named in USING INDEX, or by the
-- constraint's name, or a unique one on exactly these columns) is taken over
-- instead of a second one being built beside it.  A non-unique index of that
-- name gives way to the constraint's own.
CREATE OR REPLACE FUNCTION oracompat.add_key(table_name text, constraint_name text, kind text,
                                             columns text, index_name text)
RETURNS void
LANGUAGE plpgsql
AS $$
DECLARE
    target regclass := table_name::regclass;
    found_index text;
    is_unique boolean;
    named text := CASE WHEN constraint_name IS NULL THEN '' ELSE format('CONSTRAINT %I ', lower(constraint_name)) END;
BEGIN
    SELECT i.relname, x.indisunique INTO found_index, is_unique
      FROM pg_catalog.pg_index x
      JOIN pg_catalog.pg_class i ON i.oid = x.indexrelid
     WHERE x.indrelid = target
       AND NOT EXISTS (SELECT 1 FROM pg_catalog.pg_constraint k WHERE k.conindid = x.indexrelid)
       AND (i.relname = lower(coalesce(index_name, constraint_name))
            OR (x.indisunique AND x.indexprs IS NULL AND x.indpred IS NULL
                AND (SELECT string_agg(a.attname, ',' ORDER BY k.n)
                       FROM unnest(x.indkey) WITH ORDINALITY k(attnum, n)
                       JOIN pg_catalog.pg_attribute a ON a.attrelid = target AND a.attnum = k.attnum)
                    = lower(replace(replace(columns, ' ', ''), '"', ''))))
     ORDER BY i.relname = lower(coalesce(index_name, constraint_name)) DESC
     LIMIT 1;
    IF found_index IS NOT NULL AND is_unique THEN
        EXECUTE format('ALTER TABLE %s ADD %s%s USING INDEX %I', target, named, kind, found_index);
        RETURN;
    END IF;
    IF found_index IS NOT NULL THEN
        EXECUTE format('DROP INDEX %I.%I', oracompat.schema_of(target), found_index);
    END IF;
    EXECUTE format('ALTER TABLE %s ADD %s%s (%s)', target, named, kind, columns);
END
$$;

-- DISABLE CONSTRAINT keeps the constraint's definition aside and drops it, so
-- that rows are not checked; ENABLE adds it again, which checks every row.
-- The definitions wait in the schema's own table oracompat_disabled.
CREATE OR REPLACE FUNCTION oracompat.disable_constraint(table_name text, constraint_name text)
RETURNS void
LANGUAGE plpgsql
AS $$
DECLARE
    target regclass := table_name::regclass;
    owner text := oracompat.schema_of(target);
    definition text;
BEGIN
    SELECT pg_catalog.pg_get_constraintdef(k.oid) INTO definition
      FROM pg_catalog.pg_constraint k
     WHERE k.conrelid = target AND k.conname = lower(constraint_name);
    IF definition IS NULL THEN
        IF EXISTS (SELECT 1 FROM oracompat.disabled_in(owner) d
                    WHERE d.table_oid = target AND d.name = lower(constraint_name)) THEN
            RETURN;  -- already disabled
        END IF;
        RAISE EXCEPTION 'ORA-02431: cannot disable constraint (%) - no such constraint', upper(constraint_name)
              USING ERRCODE = 'undefined_object';
    END IF;
    EXECUTE format('CREATE TABLE IF NOT EXISTS %I.oracompat_disabled (table_oid oid, name text, definition text)', owner);
    EXECUTE format('INSERT INTO %I.oracompat_disabled VALUES ($1, $2, $3)', owner)
      USING target::oid, lower(constraint_name), definition;
    EXECUTE format('ALTER TABLE %s DROP CONSTRAINT %I', target, lower(constraint_name));
END
$$;

CREATE OR REPLACE FUNCTION oracompat.disabled_in(owner text)
RETURNS TABLE (table_oid oid, name text, definition text)
LANGUAGE plpgsql STABLE
AS $$
BEGIN
    IF to_regclass(format('%I.oracompat_disabled', owner)) IS NOT NULL THEN
        RETURN QUERY EXECUTE format('SELECT table_oid, name, definition FROM %I.oracompat_disabled', owner);
    END IF;
END
$$;

CREATE OR REPLACE FUNCTION oracompat.enable_constraint(table_name text, constraint_name text)
RETURNS void
LANGUAGE plpgsql
AS $$
DECLARE
    target regclass := table_name::regclass;
    owner text := oracompat.schema_of(target);
    kept text;
BEGIN
    SELECT d.definition INTO kept FROM oracompat.disabled_in(owner) d
     WHERE d.table_oid = target AND d.name = lower(constraint_name);
    IF kept IS NULL THEN
        IF EXISTS (SELECT 1 FROM pg_catalog.pg_constraint k
                    WHERE k.conrelid = target AND k.conname = lower(constraint_name)) THEN
            RETURN;  -- enabled already
        END IF;
        RAISE EXCEPTION 'ORA-02430: cannot enable constraint (%) - no such constraint', upper(constraint_name)
              USING ERRCODE = 'undefined_object';
    END IF;
    EXECUTE format('ALTER TABLE %s ADD CONSTRAINT %I %s', target, lower(constraint_name), kept);
    EXECUTE format('DELETE FROM %I.oracompat_disabled WHERE table_oid = $1 AND name = $2', owner)
      USING target::oid, lower(constraint_name);
END
$$;

GRANT EXECUTE ON FUNCTION oracompat.add_key(text, text, text, text, text) TO PUBLIC;
GRANT EXECUTE ON FUNCTION oracompat.disable_constraint(text, text) TO PUBLIC;
GRANT EXECUTE ON FUNCTION oracompat.enable_constraint(text, text) TO PUBLIC;
GRANT EXECUTE ON FUNCTION oracompat.disabled_in(text) TO PUBLIC;

-- An INSERT without column list must fill the table exactly, as in Oracle;
-- the connection sends this check in the same round trip as the row.
CREATE OR REPLACE FUNCTION oracompat.insert_arity(target regclass, given integer)
RETURNS void
LANGUAGE plpgsql STABLE
AS $$
DECLARE
    columns integer := (SELECT count(*) FROM pg_catalog.pg_attribute
                         WHERE attrelid = target AND attnum > 0 AND NOT attisdropped);
BEGIN
    IF given > columns THEN
        RAISE EXCEPTION 'ORA-00913: too many values';
    ELSIF given < columns THEN
        RAISE EXCEPTION 'ORA-00947: not enough values';
    END IF;
END
$$;

GRANT EXECUTE ON FUNCTION oracompat.insert_arity(regclass, integer) TO PUBLIC;
