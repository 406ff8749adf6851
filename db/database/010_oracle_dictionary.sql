-- Oracle compatibility objects, installed once per database (not per account
-- set).  The component asks Oracle's data dictionary whether tables and
-- columns exist, reads the column order of a table when two account sets'
-- layouts differ, looks for a temporary tablespace and selects sequence values
-- from DUAL.  These views answer those questions from the PostgreSQL catalog
-- with the names Oracle would show: owners (schemas), tables and columns in
-- upper case.
--
-- Safe to run again: schemas are created only when missing and every view is
-- replaced in place.
--
-- Schemas that are not account sets stay out of every view: the system
-- schemas, temporary schemas, the two schemas of this file and every schema
-- that belongs to an extension (orafce's oracle, dbms_*, plv*, utl_file ...).

CREATE SCHEMA IF NOT EXISTS oracompat;
CREATE SCHEMA IF NOT EXISTS sys;

-- "SELECT seq.NEXTVAL FROM DUAL" and friends.  orafce has a dual of its own,
-- but in its "oracle" schema, which is not on an account set's search path.
CREATE OR REPLACE VIEW oracompat.dual AS
SELECT 'X'::varchar(1) AS dummy;

-- Oracle users = the schemas that can hold an account set.
CREATE OR REPLACE VIEW sys.user$ AS
SELECT n.oid::bigint              AS "user#",
       upper(n.nspname)::varchar(128) AS name
  FROM pg_catalog.pg_namespace n
 WHERE n.nspname NOT IN ('pg_catalog', 'information_schema', 'pg_toast', 'oracompat', 'sys')
   AND n.nspname NOT LIKE 'pg\_temp\_%'
   AND n.nspname NOT LIKE 'pg\_toast\_temp\_%'
   AND NOT EXISTS (SELECT 1
                     FROM pg_catalog.pg_depend d
                    WHERE d.classid = 'pg_catalog.pg_namespace'::pg_catalog.regclass
                      AND d.objid = n.oid
                      AND d.refclassid = 'pg_catalog.pg_extension'::pg_catalog.regclass
                      AND d.deptype = 'e');

-- Objects of those schemas.  type# follows Oracle: 1 index, 2 table,
-- 4 view, 6 sequence.
CREATE OR REPLACE VIEW sys.obj$ AS
SELECT c.oid::bigint                 AS "obj#",
       u."user#"                     AS "owner#",
       upper(c.relname)::varchar(128) AS name,
       CASE c.relkind
            WHEN 'r' THEN 2 WHEN 'p' THEN 2 WHEN 'f' THEN 2 WHEN 'm' THEN 2
            WHEN 'v' THEN 4
            WHEN 'S' THEN 6
            ELSE 1
       END                           AS "type#"
  FROM pg_catalog.pg_class c
  JOIN sys.user$ u ON u."user#" = c.relnamespace::bigint
 WHERE c.relkind IN ('r', 'p', 'f', 'm', 'v', 'S', 'i', 'I');

-- Columns of tables and views.  col# and intcol# number the live columns
-- 1, 2, 3 ... in physical order; a dropped column leaves no gap, as in Oracle.
CREATE OR REPLACE VIEW sys.col$ AS
SELECT a.attrelid::bigint            AS "obj#",
       (row_number() OVER (PARTITION BY a.attrelid ORDER BY a.attnum))::integer AS "col#",
       (row_number() OVER (PARTITION BY a.attrelid ORDER BY a.attnum))::integer AS "intcol#",
       upper(a.attname)::varchar(128) AS name
  FROM pg_catalog.pg_attribute a
  JOIN pg_catalog.pg_class c ON c.oid = a.attrelid
  JOIN sys.user$ u ON u."user#" = c.relnamespace::bigint
 WHERE a.attnum > 0
   AND NOT a.attisdropped
   AND c.relkind IN ('r', 'p', 'f', 'm', 'v');

-- Tablespaces.  ts# is the tablespace's object id.
CREATE OR REPLACE VIEW sys.ts$ AS
SELECT t.oid::bigint                 AS "ts#",
       upper(t.spcname)::varchar(128) AS name
  FROM pg_catalog.pg_tablespace t;

-- Every table of every account set in Oracle's columns, with the catalogue's
-- ids for the two dictionary views below to filter on.
CREATE OR REPLACE VIEW oracompat.tables_of_sets AS
SELECT u.name                        AS owner,
       upper(c.relname)::varchar(128) AS table_name,
       upper(coalesce(t.spcname, dt.spcname))::varchar(128) AS tablespace_name,
       'VALID'::varchar(8)           AS status,
       CASE WHEN c.relpersistence = 'u' THEN 'NO' ELSE 'YES' END::varchar(3) AS logging,
       CASE WHEN c.relpersistence = 't' THEN 'Y' ELSE 'N' END::varchar(1) AS temporary,
       CASE WHEN c.reltuples < 0 THEN NULL ELSE c.reltuples::bigint END AS num_rows,
       c.oid                         AS table_oid,
       c.relnamespace                AS schema_oid
  FROM pg_catalog.pg_class c
  JOIN sys.user$ u ON u."user#" = c.relnamespace::bigint
  LEFT JOIN pg_catalog.pg_tablespace t ON t.oid = c.reltablespace
  JOIN pg_catalog.pg_database db ON db.datname = pg_catalog.current_database()
  JOIN pg_catalog.pg_tablespace dt ON dt.oid = db.dattablespace
 WHERE c.relkind IN ('r', 'p');

-- Every table of every account set, whatever the session may touch.
CREATE OR REPLACE VIEW oracompat.dba_tables AS
SELECT owner, table_name, tablespace_name, status, logging, temporary, num_rows
  FROM oracompat.tables_of_sets;

-- The tables the session can reach, as Oracle's ALL_TABLES lists only tables
-- the user holds some privilege on.
CREATE OR REPLACE VIEW oracompat.all_tables AS
SELECT owner, table_name, tablespace_name, status, logging, temporary, num_rows
  FROM oracompat.tables_of_sets
 WHERE pg_catalog.has_schema_privilege(schema_oid, 'USAGE')
   AND pg_catalog.has_table_privilege(table_oid, 'SELECT, INSERT, UPDATE, DELETE, TRUNCATE, REFERENCES, TRIGGER');

-- The number a sequence gives next beyond what any session may have drawn
-- (Oracle's LAST_NUMBER: the value on disk past the sessions' caches).
CREATE OR REPLACE FUNCTION oracompat.sequence_last_number(p_sequence regclass)
RETURNS bigint LANGUAGE plpgsql STABLE AS $$
DECLARE
    v_number bigint;
BEGIN
    EXECUTE format('SELECT CASE WHEN is_called THEN last_value + %s ELSE last_value END FROM %s',
                   (SELECT s.seqincrement FROM pg_catalog.pg_sequence s WHERE s.seqrelid = p_sequence),
                   p_sequence)
       INTO v_number;
    RETURN v_number;
END
$$;

-- The sequences the session may read, as Oracle's ALL_SEQUENCES.
CREATE OR REPLACE VIEW oracompat.all_sequences AS
SELECT u.name                          AS sequence_owner,
       upper(c.relname)::varchar(128)  AS sequence_name,
       s.seqmin                        AS min_value,
       s.seqmax                        AS max_value,
       s.seqincrement                  AS increment_by,
       (CASE WHEN s.seqcycle THEN 'Y' ELSE 'N' END)::varchar(1) AS cycle_flag,
       'N'::varchar(1)                 AS order_flag,
       s.seqcache                      AS cache_size,
       oracompat.sequence_last_number(c.oid) AS last_number
  FROM pg_catalog.pg_sequence s
  JOIN pg_catalog.pg_class c ON c.oid = s.seqrelid
  JOIN sys.user$ u ON u."user#" = c.relnamespace::bigint
 WHERE c.relkind = 'S'
   AND pg_catalog.has_schema_privilege(c.relnamespace, 'USAGE')
   AND pg_catalog.has_table_privilege(c.oid, 'SELECT');

-- Columns of the reachable tables and views, with Oracle's type names.
CREATE OR REPLACE VIEW oracompat.all_tab_columns AS
SELECT u.name                        AS owner,
       upper(c.relname)::varchar(128) AS table_name,
       upper(a.attname)::varchar(128) AS column_name,
       (CASE ty.typname
            WHEN 'int2' THEN 'NUMBER' WHEN 'int4' THEN 'NUMBER' WHEN 'int8' THEN 'NUMBER'
            WHEN 'numeric' THEN 'NUMBER'
            WHEN 'float4' THEN 'BINARY_FLOAT' WHEN 'float8' THEN 'BINARY_DOUBLE'
            WHEN 'varchar' THEN 'VARCHAR2' WHEN 'varchar2' THEN 'VARCHAR2'
            WHEN 'nvarchar2' THEN 'NVARCHAR2'
            WHEN 'bpchar' THEN 'CHAR'
            WHEN 'text' THEN 'CLOB'
            WHEN 'bytea' THEN 'BLOB'
            WHEN 'date' THEN 'DATE'
            WHEN 'timestamp' THEN 'TIMESTAMP(6)'
            WHEN 'timestamptz' THEN 'TIMESTAMP(6) WITH TIME ZONE'
            ELSE upper(pg_catalog.format_type(a.atttypid, NULL))
        END)::varchar(128)           AS data_type,
       (CASE
            WHEN ty.typname IN ('varchar', 'varchar2', 'nvarchar2', 'bpchar')
                 THEN CASE WHEN a.atttypmod > 4 THEN a.atttypmod - 4 ELSE 4000 END
            WHEN ty.typname IN ('int2', 'int4', 'int8', 'numeric') THEN 22
            WHEN ty.typname = 'date' THEN 7
            WHEN ty.typname IN ('timestamp', 'timestamptz') THEN 11
            WHEN ty.typname = 'text' THEN 4000
            WHEN ty.typname = 'bytea' THEN 4000
            WHEN ty.typlen > 0 THEN ty.typlen
            ELSE NULL
        END)::integer                AS data_length,
       (CASE ty.typname
            WHEN 'int2' THEN 5 WHEN 'int4' THEN 10 WHEN 'int8' THEN 19
            WHEN 'numeric' THEN CASE WHEN a.atttypmod >= 4 THEN ((a.atttypmod - 4) >> 16) & 65535 END
        END)::integer                AS data_precision,
       (CASE ty.typname
            WHEN 'int2' THEN 0 WHEN 'int4' THEN 0 WHEN 'int8' THEN 0
            WHEN 'numeric' THEN CASE WHEN a.atttypmod >= 4 THEN (a.atttypmod - 4) & 65535 END
        END)::integer                AS data_scale,
       (CASE WHEN a.attnotnull THEN 'N' ELSE 'Y' END)::varchar(1) AS nullable,
       (row_number() OVER (PARTITION BY a.attrelid ORDER BY a.attnum))::integer AS column_id,
       pg_catalog.pg_get_expr(ad.adbin, ad.adrelid)::text AS data_default,
       (CASE
            WHEN ty.typname IN ('varchar', 'varchar2', 'nvarchar2', 'bpchar') AND a.atttypmod > 4
                 THEN a.atttypmod - 4
            ELSE 0
        END)::integer                AS char_length
  FROM pg_catalog.pg_attribute a
  JOIN pg_catalog.pg_class c ON c.oid = a.attrelid
  JOIN sys.user$ u ON u."user#" = c.relnamespace::bigint
  JOIN pg_catalog.pg_type ty ON ty.oid = a.atttypid
  LEFT JOIN pg_catalog.pg_attrdef ad ON ad.adrelid = a.attrelid AND ad.adnum = a.attnum
 WHERE a.attnum > 0
   AND NOT a.attisdropped
   AND c.relkind IN ('r', 'p', 'f', 'm', 'v')
   AND pg_catalog.has_schema_privilege(c.relnamespace, 'USAGE')
   AND pg_catalog.has_table_privilege(c.oid, 'SELECT, INSERT, UPDATE, DELETE, TRUNCATE, REFERENCES, TRIGGER');

GRANT USAGE ON SCHEMA oracompat TO PUBLIC;
GRANT USAGE ON SCHEMA sys TO PUBLIC;
GRANT SELECT ON ALL TABLES IN SCHEMA oracompat TO PUBLIC;
GRANT SELECT ON ALL TABLES IN SCHEMA sys TO PUBLIC;
