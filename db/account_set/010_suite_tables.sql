-- Tables of the accounting suite that the fixed-asset component reads (and,
-- for Setting, writes).  The suite owns their full shape; what is here is what
-- the component and its upgrade and carry-forward steps touch, plus an id, a
-- code and a name where a table is a plain reference list.
--
-- Conventions of every account-set file:
--   * names unqualified: the provisioning sets search_path to the account set;
--   * ids and counters integer, codes (byt) and flags (bln) integer, amounts
--     and rates numeric, texts bounded varchar, dates "yyyy-MM-dd" texts;
--   * one sequence per table named <table>_SEQ: the component draws every new
--     id from it, so id columns carry no default (a default would also stop
--     the sequence from being dropped and re-created when ids are re-aligned
--     after a carry-forward);
--   * a reference table T is read by code-name look-ups as strTCode, strTName
--     and lngTID.

-- Ids of ten manufacturing tables come from this one shared sequence.
CREATE SEQUENCE IF NOT EXISTS MMActivity_SEQ AS integer;

-- Key-value options of every module, per organisation.  The fixed-asset
-- module is module 11.  No surrogate id: settings are written through an
-- updatable result set that fills only these columns.
CREATE SEQUENCE IF NOT EXISTS Setting_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Setting (
    lngModuleID       integer      NOT NULL DEFAULT 0,
    lngOrganizationID integer      NOT NULL DEFAULT 0,
    strSection        varchar(100) NOT NULL DEFAULT ' ',
    strKey            varchar(100) NOT NULL,
    strSetting        varchar(2000) DEFAULT ' ',
    StrTypeName       varchar(50)  DEFAULT ' ',
    CONSTRAINT Setting_PK PRIMARY KEY (lngModuleID, lngOrganizationID, strSection, strKey)
);
CREATE INDEX IF NOT EXISTS Setting_Key_IX ON Setting (strKey, lngModuleID, lngOrganizationID);

-- The account set's single description row.
CREATE SEQUENCE IF NOT EXISTS Business_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Business (
    lngBusinessID     integer      NOT NULL,
    strBusinessName   varchar(200) DEFAULT ' ',
    lngCurrencyID     integer      DEFAULT 0,   -- base currency
    lngTradeID        integer      DEFAULT 0,
    strAccountSystem  varchar(10)  DEFAULT ' ', -- "14" means several funding sources per asset
    blnAssetAddPeriod integer      DEFAULT 0,   -- 1: post alterations before depreciation
    strStartDate      varchar(10)  DEFAULT ' ',
    strVer            varchar(50)  DEFAULT ' ', -- data version, compared as text by upgrades
    CONSTRAINT Business_PK PRIMARY KEY (lngBusinessID)
);

CREATE SEQUENCE IF NOT EXISTS Trade_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Trade (
    lngTradeID   integer      NOT NULL,
    strTradeCode varchar(50)  DEFAULT ' ',
    strTradeName varchar(100) DEFAULT ' ',
    CONSTRAINT Trade_PK PRIMARY KEY (lngTradeID)
);

CREATE SEQUENCE IF NOT EXISTS Currencys_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Currencys (
    lngCurrencyID   integer      NOT NULL,
    strCurrencyCode varchar(50)  DEFAULT ' ',
    strCurrencyName varchar(100) DEFAULT ' ',
    strCurrencySign varchar(10)  DEFAULT ' ',
    bytCurrencyDec  integer      DEFAULT 2,   -- decimals of amounts
    bytRateDec      integer      DEFAULT 2,   -- decimals of exchange rates
    blnIsIndirect   integer      DEFAULT 0,   -- 1: indirect quote (amount x rate)
    dblRate         numeric      DEFAULT 1,
    CONSTRAINT Currencys_PK PRIMARY KEY (lngCurrencyID)
);

-- Accounting periods per organisation; a period is found by its start or
-- end date and compared as intYear * 100 + bytPeriod.
CREATE SEQUENCE IF NOT EXISTS AccountPeriod_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AccountPeriod (
    lngAccountPeriodID integer     NOT NULL,
    lngOrganizationID  integer     NOT NULL DEFAULT 0,
    intYear            integer     NOT NULL,
    bytPeriod          integer     NOT NULL,
    strStartDate       varchar(10) NOT NULL,
    strEndDate         varchar(10) NOT NULL,
    blnIsClosed        integer     DEFAULT 0,
    CONSTRAINT AccountPeriod_PK PRIMARY KEY (lngAccountPeriodID),
    CONSTRAINT AccountPeriod_Period_UK UNIQUE (lngOrganizationID, intYear, bytPeriod)
);
CREATE INDEX IF NOT EXISTS AccountPeriod_Start_IX ON AccountPeriod (strStartDate, lngOrganizationID);
CREATE INDEX IF NOT EXISTS AccountPeriod_End_IX ON AccountPeriod (strEndDate, lngOrganizationID);

-- Document templates.  lngSysTemplateID ties a template to a fixed-asset
-- document kind: 4044 additions, 4045 other alterations, 4046 decreases,
-- 4047 cards, 4048 opening records.  Organisation -1: shared by all.
CREATE SEQUENCE IF NOT EXISTS Template_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Template (
    lngTemplateID     integer      NOT NULL,
    strTemplateCode   varchar(50)  DEFAULT ' ',
    strTemplateName   varchar(100) DEFAULT ' ',
    lngReceiptTypeID  integer      DEFAULT 0,
    lngSysTemplateID  integer      DEFAULT 0,
    lngOrganizationID integer      DEFAULT -1,
    blnIsSys          integer      DEFAULT 0,
    blnIsDefault      integer      DEFAULT 0,
    strNotes          varchar(255) DEFAULT ' ',
    CONSTRAINT Template_PK PRIMARY KEY (lngTemplateID)
);
CREATE INDEX IF NOT EXISTS Template_Sys_IX ON Template (lngSysTemplateID, lngReceiptTypeID);

CREATE SEQUENCE IF NOT EXISTS TemplateFormat_SEQ AS integer;
CREATE TABLE IF NOT EXISTS TemplateFormat (
    lngTemplateFormatID integer      NOT NULL,
    lngTemplateID       integer      NOT NULL DEFAULT 0,
    strFieldName        varchar(100) DEFAULT ' ',
    strCaption          varchar(100) DEFAULT ' ',
    intOrder            integer      DEFAULT 0,
    intWidth            integer      DEFAULT 0,
    blnIsVisible        integer      DEFAULT 1,
    CONSTRAINT TemplateFormat_PK PRIMARY KEY (lngTemplateFormatID)
);
CREATE INDEX IF NOT EXISTS TemplateFormat_Template_IX ON TemplateFormat (lngTemplateID);

CREATE SEQUENCE IF NOT EXISTS Organization_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Organization (
    lngOrganizationID   integer      NOT NULL,
    strOrganizationCode varchar(50)  DEFAULT ' ',
    strOrganizationName varchar(200) DEFAULT ' ',
    strFullName         varchar(500) DEFAULT ' ',
    lngParentID         integer      DEFAULT 0,
    intLevel            integer      DEFAULT 1,
    blnIsDetail         integer      DEFAULT 1,
    blnIsInActive       integer      DEFAULT 0,
    strStartDate        varchar(10)  DEFAULT ' ',
    CONSTRAINT Organization_PK PRIMARY KEY (lngOrganizationID)
);

CREATE SEQUENCE IF NOT EXISTS Department_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Department (
    lngDepartmentID   integer      NOT NULL,
    strDepartmentCode varchar(50)  DEFAULT ' ',
    strDepartmentName varchar(100) DEFAULT ' ',
    strFullName       varchar(500) DEFAULT ' ',
    lngOrganizationID integer      DEFAULT 0,
    intLevel          integer      DEFAULT 1,
    blnIsDetail       integer      DEFAULT 1,
    blnIsInActive     integer      DEFAULT 0,
    CONSTRAINT Department_PK PRIMARY KEY (lngDepartmentID)
);
CREATE INDEX IF NOT EXISTS Department_Organization_IX ON Department (lngOrganizationID);

-- Chart of accounts.  AccountEx holds an organisation's own version of an
-- account: the same columns with lngOrganizationID last, so the two can be
-- united row for row.
CREATE SEQUENCE IF NOT EXISTS Account_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Account (
    lngAccountID     integer      NOT NULL,
    strAccountCode   varchar(50)  DEFAULT ' ',
    strAccountName   varchar(100) DEFAULT ' ',
    strFullName      varchar(500) DEFAULT ' ',
    intLevel         integer      DEFAULT 1,
    blnIsDetail      integer      DEFAULT 1,   -- leaf account
    bytAccountType   integer      DEFAULT 0,   -- 1 asset, 2 liability, 3 equity, 4 cost, 5 profit and loss
    bytDirection     integer      DEFAULT 1,   -- 1 debit, 2 credit
    lngCurrencyID    integer      DEFAULT 0,
    blnIsInActive    integer      DEFAULT 0,
    CONSTRAINT Account_PK PRIMARY KEY (lngAccountID)
);
CREATE INDEX IF NOT EXISTS Account_Code_IX ON Account (strAccountCode);

CREATE SEQUENCE IF NOT EXISTS AccountEx_SEQ AS integer;
CREATE TABLE IF NOT EXISTS AccountEx (
    lngAccountID      integer      NOT NULL,
    strAccountCode    varchar(50)  DEFAULT ' ',
    strAccountName    varchar(100) DEFAULT ' ',
    strFullName       varchar(500) DEFAULT ' ',
    intLevel          integer      DEFAULT 1,
    blnIsDetail       integer      DEFAULT 1,
    bytAccountType    integer      DEFAULT 0,
    bytDirection      integer      DEFAULT 1,
    lngCurrencyID     integer      DEFAULT 0,
    blnIsInActive     integer      DEFAULT 0,
    lngOrganizationID integer      NOT NULL,
    CONSTRAINT AccountEx_PK PRIMARY KEY (lngAccountID, lngOrganizationID)
);

-- The two free classifications share one layout (id column lngClassID).
CREATE SEQUENCE IF NOT EXISTS Class1_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Class1 (
    lngClassID    integer      NOT NULL,
    strClassCode  varchar(50)  DEFAULT ' ',
    strClassName  varchar(100) DEFAULT ' ',
    intLevel      integer      DEFAULT 1,
    blnIsDetail   integer      DEFAULT 1,
    blnIsInActive integer      DEFAULT 0,
    CONSTRAINT Class1_PK PRIMARY KEY (lngClassID)
);

CREATE SEQUENCE IF NOT EXISTS Class2_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Class2 (
    lngClassID    integer      NOT NULL,
    strClassCode  varchar(50)  DEFAULT ' ',
    strClassName  varchar(100) DEFAULT ' ',
    intLevel      integer      DEFAULT 1,
    blnIsDetail   integer      DEFAULT 1,
    blnIsInActive integer      DEFAULT 0,
    CONSTRAINT Class2_PK PRIMARY KEY (lngClassID)
);

CREATE SEQUENCE IF NOT EXISTS CustomerType_SEQ AS integer;
CREATE TABLE IF NOT EXISTS CustomerType (
    lngCustomerTypeID   integer      NOT NULL,
    strCustomerTypeCode varchar(50)  DEFAULT ' ',
    strCustomerTypeName varchar(100) DEFAULT ' ',
    CONSTRAINT CustomerType_PK PRIMARY KEY (lngCustomerTypeID)
);

-- Customers and suppliers (an asset's supplier is a customer row).
CREATE SEQUENCE IF NOT EXISTS Customer_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Customer (
    lngCustomerID     integer      NOT NULL,
    strCustomerCode   varchar(50)  DEFAULT ' ',
    strCustomerName   varchar(200) DEFAULT ' ',
    lngCustomerTypeID integer      DEFAULT 0,
    blnIsCustomer     integer      DEFAULT 1,
    blnIsSupplier     integer      DEFAULT 1,
    blnIsInActive     integer      DEFAULT 0,
    CONSTRAINT Customer_PK PRIMARY KEY (lngCustomerID)
);

CREATE SEQUENCE IF NOT EXISTS EmployeeType_SEQ AS integer;
CREATE TABLE IF NOT EXISTS EmployeeType (
    lngEmployeeTypeID   integer      NOT NULL,
    strEmployeeTypeCode varchar(50)  DEFAULT ' ',
    strEmployeeTypeName varchar(100) DEFAULT ' ',
    CONSTRAINT EmployeeType_PK PRIMARY KEY (lngEmployeeTypeID)
);

CREATE SEQUENCE IF NOT EXISTS Employee_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Employee (
    lngEmployeeID     integer      NOT NULL,
    strEmployeeCode   varchar(50)  DEFAULT ' ',
    strEmployeeName   varchar(100) DEFAULT ' ',
    lngEmployeeTypeID integer      DEFAULT 0,
    lngDepartmentID   integer      DEFAULT 0,
    lngOrganizationID integer      DEFAULT 0,
    blnIsInActive     integer      DEFAULT 0,
    CONSTRAINT Employee_PK PRIMARY KEY (lngEmployeeID)
);

CREATE SEQUENCE IF NOT EXISTS OperatorGroup_SEQ AS integer;
CREATE TABLE IF NOT EXISTS OperatorGroup (
    lngOperatorGroupID   integer      NOT NULL,
    strOperatorGroupCode varchar(50)  DEFAULT ' ',
    strOperatorGroupName varchar(100) DEFAULT ' ',
    CONSTRAINT OperatorGroup_PK PRIMARY KEY (lngOperatorGroupID)
);

CREATE SEQUENCE IF NOT EXISTS Operator_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Operator (
    lngOperatorID      integer      NOT NULL,
    strOperatorCode    varchar(50)  DEFAULT ' ',
    strOperatorName    varchar(100) DEFAULT ' ',
    lngOperatorGroupID integer      DEFAULT 0,
    lngEmployeeID      integer      DEFAULT 0,
    blnIsInActive      integer      DEFAULT 0,
    CONSTRAINT Operator_PK PRIMARY KEY (lngOperatorID)
);

-- Which operators may work for which organisation.
CREATE SEQUENCE IF NOT EXISTS OrgOperatorAllot_SEQ AS integer;
CREATE TABLE IF NOT EXISTS OrgOperatorAllot (
    lngOrgOperatorAllotID integer NOT NULL,
    lngOrganizationID     integer NOT NULL DEFAULT 0,
    lngOperatorID         integer NOT NULL DEFAULT 0,
    CONSTRAINT OrgOperatorAllot_PK PRIMARY KEY (lngOrgOperatorAllotID)
);

CREATE SEQUENCE IF NOT EXISTS ItemUnitGroup_SEQ AS integer;
CREATE TABLE IF NOT EXISTS ItemUnitGroup (
    lngItemUnitGroupID   integer      NOT NULL,
    strItemUnitGroupCode varchar(50)  DEFAULT ' ',
    strItemUnitGroupName varchar(100) DEFAULT ' ',
    CONSTRAINT ItemUnitGroup_PK PRIMARY KEY (lngItemUnitGroupID)
);

-- Units of measure (the lngUnitID of an asset version).
CREATE SEQUENCE IF NOT EXISTS ItemUnit_SEQ AS integer;
CREATE TABLE IF NOT EXISTS ItemUnit (
    lngItemUnitID      integer      NOT NULL,
    strItemUnitCode    varchar(50)  DEFAULT ' ',
    strItemUnitName    varchar(100) DEFAULT ' ',
    lngItemUnitGroupID integer      DEFAULT 0,
    dblRate            numeric      DEFAULT 1,   -- conversion to the group's base unit
    CONSTRAINT ItemUnit_PK PRIMARY KEY (lngItemUnitID)
);

CREATE SEQUENCE IF NOT EXISTS Location_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Location (
    lngLocationID   integer      NOT NULL,
    strLocationCode varchar(50)  DEFAULT ' ',
    strLocationName varchar(100) DEFAULT ' ',
    CONSTRAINT Location_PK PRIMARY KEY (lngLocationID)
);

CREATE SEQUENCE IF NOT EXISTS Country_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Country (
    lngCountryID   integer      NOT NULL,
    strCountryCode varchar(50)  DEFAULT ' ',
    strCountryName varchar(100) DEFAULT ' ',
    CONSTRAINT Country_PK PRIMARY KEY (lngCountryID)
);

-- Condition (completeness) grades of an asset.
CREATE SEQUENCE IF NOT EXISTS Integrality_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Integrality (
    lngIntegralityID   integer      NOT NULL,
    strIntegralityCode varchar(50)  DEFAULT ' ',
    strIntegralityName varchar(100) DEFAULT ' ',
    CONSTRAINT Integrality_PK PRIMARY KEY (lngIntegralityID)
);

CREATE SEQUENCE IF NOT EXISTS MaintainType_SEQ AS integer;
CREATE TABLE IF NOT EXISTS MaintainType (
    lngMaintainTypeID   integer      NOT NULL,
    strMaintainTypeCode varchar(50)  DEFAULT ' ',
    strMaintainTypeName varchar(100) DEFAULT ' ',
    CONSTRAINT MaintainType_PK PRIMARY KEY (lngMaintainTypeID)
);

CREATE SEQUENCE IF NOT EXISTS FaultType_SEQ AS integer;
CREATE TABLE IF NOT EXISTS FaultType (
    lngFaultTypeID   integer      NOT NULL,
    strFaultTypeCode varchar(50)  DEFAULT ' ',
    strFaultTypeName varchar(100) DEFAULT ' ',
    CONSTRAINT FaultType_PK PRIMARY KEY (lngFaultTypeID)
);

CREATE SEQUENCE IF NOT EXISTS VoucherType_SEQ AS integer;
CREATE TABLE IF NOT EXISTS VoucherType (
    lngVoucherTypeID   integer      NOT NULL,
    strVoucherTypeCode varchar(50)  DEFAULT ' ',
    strVoucherTypeName varchar(100) DEFAULT ' ',
    CONSTRAINT VoucherType_PK PRIMARY KEY (lngVoucherTypeID)
);

-- Vouchers.  lngVoucherSourceID names the business that made the voucher:
-- 14 fixed-asset alterations, 15 depreciation.
CREATE SEQUENCE IF NOT EXISTS Voucher_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Voucher (
    lngVoucherID       integer      NOT NULL,
    lngVoucherTypeID   integer      DEFAULT 0,
    lngVoucherSourceID integer      DEFAULT 0,
    lngVoucherNO       integer      DEFAULT 0,
    intYear            integer      DEFAULT 0,
    bytPeriod          integer      DEFAULT 0,
    strDate            varchar(10)  DEFAULT ' ',
    lngOperatorID      integer      DEFAULT 0,
    lngCheckerID       integer      DEFAULT 0,
    blnIsPosted        integer      DEFAULT 0,
    lngOrganizationID  integer      DEFAULT 0,
    strNotes           varchar(255) DEFAULT ' ',
    CONSTRAINT Voucher_PK PRIMARY KEY (lngVoucherID)
);
CREATE INDEX IF NOT EXISTS Voucher_Period_IX ON Voucher (lngOrganizationID, intYear, bytPeriod, lngVoucherSourceID);

CREATE SEQUENCE IF NOT EXISTS VoucherDetail_SEQ AS integer;
CREATE TABLE IF NOT EXISTS VoucherDetail (
    lngVoucherDetailID integer      NOT NULL,
    lngVoucherID       integer      NOT NULL DEFAULT 0,
    lngOrderNo         integer      DEFAULT 0,
    strRemark          varchar(255) DEFAULT ' ',
    lngAccountID       integer      DEFAULT 0,
    lngDepartmentID    integer      DEFAULT 0,
    lngCustomerID      integer      DEFAULT 0,
    lngEmployeeID      integer      DEFAULT 0,
    lngClassID1        integer      DEFAULT 0,
    lngClassID2        integer      DEFAULT 0,
    strFlexibleID      varchar(310) DEFAULT ' ',
    lngCurrencyID      integer      DEFAULT 0,
    dblRate            numeric      DEFAULT 1,
    dblCurrAmount      numeric      DEFAULT 0,
    dblDebitAmount     numeric      DEFAULT 0,
    dblCreditAmount    numeric      DEFAULT 0,
    CONSTRAINT VoucherDetail_PK PRIMARY KEY (lngVoucherDetailID)
);
CREATE INDEX IF NOT EXISTS VoucherDetail_Voucher_IX ON VoucherDetail (lngVoucherID);

-- Modules in use per organisation and the period each was started in
-- (the fixed-asset module is 11; bytStatus 1 = started).
CREATE SEQUENCE IF NOT EXISTS Module_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Module (
    lngModuleID       integer      NOT NULL,
    lngOrganizationID integer      NOT NULL DEFAULT 0,
    strModuleName     varchar(100) DEFAULT ' ',
    bytStatus         integer      DEFAULT 0,
    intYear           integer      DEFAULT 0,
    bytPeriod         integer      DEFAULT 0,
    CONSTRAINT Module_PK PRIMARY KEY (lngModuleID, lngOrganizationID)
);

CREATE SEQUENCE IF NOT EXISTS MenuSchemeDetail_SEQ AS integer;
CREATE TABLE IF NOT EXISTS MenuSchemeDetail (
    lngMenuSchemeDetailID integer      NOT NULL,
    lngMenuSchemeID       integer      DEFAULT 0,
    lngMenuID             integer      DEFAULT 0,
    lngParentID           integer      DEFAULT 0,
    strMenuName           varchar(100) DEFAULT ' ',
    intOrder              integer      DEFAULT 0,
    CONSTRAINT MenuSchemeDetail_PK PRIMARY KEY (lngMenuSchemeDetailID)
);

CREATE SEQUENCE IF NOT EXISTS Report_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Report (
    lngReportID   integer      NOT NULL,
    strReportName varchar(100) DEFAULT ' ',
    bytGroup      integer      DEFAULT 0,
    lngParentID   integer      DEFAULT 0,
    lngViewID     integer      DEFAULT 0,
    blnIsDetail   integer      DEFAULT 0,
    intOrder      integer      DEFAULT 0,
    CONSTRAINT Report_PK PRIMARY KEY (lngReportID)
);

CREATE SEQUENCE IF NOT EXISTS Adjust_SEQ AS integer;
CREATE TABLE IF NOT EXISTS Adjust (
    lngAdjustID   integer      NOT NULL,
    strAdjustCode varchar(50)  DEFAULT ' ',
    strAdjustName varchar(100) DEFAULT ' ',
    strNotes      varchar(255) DEFAULT ' ',
    CONSTRAINT Adjust_PK PRIMARY KEY (lngAdjustID)
);

-- Query views defined by users; carried forward row by row with exactly
-- these columns.
CREATE SEQUENCE IF NOT EXISTS view1_SEQ AS integer;
CREATE TABLE IF NOT EXISTS view1 (
    lngViewID      integer       NOT NULL,
    strViewName    varchar(100)  DEFAULT ' ',
    strViewSql     varchar(4000) DEFAULT ' ',
    strViewWhere   varchar(2000) DEFAULT ' ',
    strPrimaryKey  varchar(100)  DEFAULT ' ',
    blnIsUnion     integer       DEFAULT 0,
    strUser        varchar(50)   DEFAULT ' ',
    strCurTable    varchar(100)  DEFAULT ' ',
    strExtend      varchar(2000) DEFAULT ' ',
    strExtendCond  varchar(2000) DEFAULT ' ',
    CONSTRAINT view1_PK PRIMARY KEY (lngViewID)
);

-- User-defined code lists custom0 ... custom5 and flexible items
-- flexiblefield01 ... flexiblefield30 (the parts of a flexible-item key).
CREATE SEQUENCE IF NOT EXISTS custom0_SEQ AS integer;
CREATE TABLE IF NOT EXISTS custom0 (
    lngCustomID   integer      NOT NULL,
    strCustomCode varchar(50)  DEFAULT ' ',
    strCustomName varchar(100) DEFAULT ' ',
    CONSTRAINT custom0_PK PRIMARY KEY (lngCustomID)
);

CREATE SEQUENCE IF NOT EXISTS custom1_SEQ AS integer;
CREATE TABLE IF NOT EXISTS custom1 (
    lngCustomID   integer      NOT NULL,
    strCustomCode varchar(50)  DEFAULT ' ',
    strCustomName varchar(100) DEFAULT ' ',
    CONSTRAINT custom1_PK PRIMARY KEY (lngCustomID)
);

CREATE SEQUENCE IF NOT EXISTS custom2_SEQ AS integer;
CREATE TABLE IF NOT EXISTS custom2 (
    lngCustomID   integer      NOT NULL,
    strCustomCode varchar(50)  DEFAULT ' ',
    strCustomName varchar(100) DEFAULT ' ',
    CONSTRAINT custom2_PK PRIMARY KEY (lngCustomID)
);

CREATE SEQUENCE IF NOT EXISTS custom3_SEQ AS integer;
CREATE TABLE IF NOT EXISTS custom3 (
    lngCustomID   integer      NOT NULL,
    strCustomCode varchar(50)  DEFAULT ' ',
    strCustomName varchar(100) DEFAULT ' ',
    CONSTRAINT custom3_PK PRIMARY KEY (lngCustomID)
);

CREATE SEQUENCE IF NOT EXISTS custom4_SEQ AS integer;
CREATE TABLE IF NOT EXISTS custom4 (
    lngCustomID   integer      NOT NULL,
    strCustomCode varchar(50)  DEFAULT ' ',
    strCustomName varchar(100) DEFAULT ' ',
    CONSTRAINT custom4_PK PRIMARY KEY (lngCustomID)
);

CREATE SEQUENCE IF NOT EXISTS custom5_SEQ AS integer;
CREATE TABLE IF NOT EXISTS custom5 (
    lngCustomID   integer      NOT NULL,
    strCustomCode varchar(50)  DEFAULT ' ',
    strCustomName varchar(100) DEFAULT ' ',
    CONSTRAINT custom5_PK PRIMARY KEY (lngCustomID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield01_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield01 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield01_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield02_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield02 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield02_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield03_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield03 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield03_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield04_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield04 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield04_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield05_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield05 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield05_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield06_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield06 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield06_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield07_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield07 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield07_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield08_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield08 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield08_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield09_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield09 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield09_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield10_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield10 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield10_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield11_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield11 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield11_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield12_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield12 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield12_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield13_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield13 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield13_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield14_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield14 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield14_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield15_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield15 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield15_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield16_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield16 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield16_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield17_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield17 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield17_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield18_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield18 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield18_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield19_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield19 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield19_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield20_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield20 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield20_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield21_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield21 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield21_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield22_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield22 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield22_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield23_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield23 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield23_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield24_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield24 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield24_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield25_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield25 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield25_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield26_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield26 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield26_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield27_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield27 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield27_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield28_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield28 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield28_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield29_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield29 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield29_PK PRIMARY KEY (lngFieldID)
);

CREATE SEQUENCE IF NOT EXISTS flexiblefield30_SEQ AS integer;
CREATE TABLE IF NOT EXISTS flexiblefield30 (
    lngFieldID   integer      NOT NULL,
    strFieldCode varchar(50)  DEFAULT ' ',
    strFieldName varchar(100) DEFAULT ' ',
    CONSTRAINT flexiblefield30_PK PRIMARY KEY (lngFieldID)
);

