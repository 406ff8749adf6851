-- Adjustment scripts kept with the account set.  When a later account set is
-- made from this one (carry-forward, upgrade), the component runs them there
-- again in strNo order.  strName names the script; a script named after a
-- routine (Z_UPDATE_TABLE, Z_UPDATE_VIEW) creates it and is followed by a
-- call of it.  Account sets of releases before this table run the scripts
-- once; having the table marks an account set as adjusted.
CREATE TABLE t_backupScript (
    strNo   varchar(20)  NOT NULL PRIMARY KEY,
    strName varchar(100) NOT NULL,
    strSql  text         NOT NULL,
    strDate varchar(19)  NOT NULL DEFAULT to_char(localtimestamp(0), 'YYYY-MM-DD HH24:MI:SS')
);
