-- Reference data of a demo account set: base currency, two organisations
-- with departments, a chart of accounts for fixed assets, classifications,
-- funding sources, ways of addition and decrease, document templates, a
-- three-level category tree with depreciation defaults and code rules, and
-- the fixed-asset module settings.
--
-- Run it in a freshly created account set (search_path set to it), after the
-- account-set tables.  Before running, replace every occurrence of the token
-- {YEARS} with a PostgreSQL integer array of the accounting years the demo
-- covers, e.g. ARRAY[2024,2025]: twelve monthly periods are created per year
-- and organisation, and the module counts as started in period 1 of the
-- first year.
--
-- Ids are given explicitly so the rows can refer to each other; the
-- sequences are moved past them at the end.

INSERT INTO Currencys (lngCurrencyID, strCurrencyCode, strCurrencyName, strCurrencySign, bytCurrencyDec, bytRateDec, blnIsIndirect, dblRate)
VALUES (1, 'RMB', '人民币', '¥', 2, 4, 0, 1);

INSERT INTO Trade (lngTradeID, strTradeCode, strTradeName) VALUES (1, '01', '一般企业');

INSERT INTO Business (lngBusinessID, strBusinessName, lngCurrencyID, lngTradeID, strAccountSystem, blnAssetAddPeriod, strStartDate, strVer)
SELECT 1, '固定资产演示账套', 1, 1, '01', 0,
       to_char(make_date((SELECT min(y) FROM unnest({YEARS}) AS y), 1, 1), 'YYYY-MM-DD'),
       'a.83.20240101';

INSERT INTO Organization (lngOrganizationID, strOrganizationCode, strOrganizationName, strFullName, lngParentID, intLevel, blnIsDetail, strStartDate)
SELECT o.id, o.code, o.name, o.name, 0, 1, 1,
       to_char(make_date((SELECT min(y) FROM unnest({YEARS}) AS y), 1, 1), 'YYYY-MM-DD')
  FROM (VALUES (1, '01', '华东示范制造有限公司'),
               (2, '02', '华东示范制造有限公司南京分公司')) AS o(id, code, name);

INSERT INTO Department (lngDepartmentID, strDepartmentCode, strDepartmentName, strFullName, lngOrganizationID, intLevel, blnIsDetail) VALUES
    (1, '0101', '总经理办公室', '总经理办公室', 1, 1, 1),
    (2, '0102', '财务部',       '财务部',       1, 1, 1),
    (3, '0103', '生产部',       '生产部',       1, 1, 1),
    (4, '0104', '信息中心',     '信息中心',     1, 1, 1),
    (5, '0105', '销售部',       '销售部',       1, 1, 1),
    (6, '0201', '综合管理部',   '综合管理部',   2, 1, 1),
    (7, '0202', '销售部',       '销售部',       2, 1, 1),
    (8, '0203', '仓储部',       '仓储部',       2, 1, 1);

-- Twelve monthly periods per year and organisation.
SELECT AMAssetMakePeriods({YEARS});

-- The fixed-asset module counts as started in period 1 of the first year.
INSERT INTO Module (lngModuleID, lngOrganizationID, strModuleName, bytStatus, intYear, bytPeriod)
SELECT 11, o.lngOrganizationID, '固定资产', 1, (SELECT min(y) FROM unnest({YEARS}) AS y), 1
  FROM Organization o;

-- bytAccountType: 1 asset, 2 liability, 3 equity, 4 cost, 5 profit and loss;
-- bytDirection: 1 debit, 2 credit.
INSERT INTO Account (lngAccountID, strAccountCode, strAccountName, strFullName, intLevel, blnIsDetail, bytAccountType, bytDirection, lngCurrencyID) VALUES
    ( 1, '1001',   '库存现金',         '库存现金',            1, 1, 1, 1, 1),
    ( 2, '1002',   '银行存款',         '银行存款',            1, 1, 1, 1, 1),
    ( 3, '1601',   '固定资产',         '固定资产',            1, 1, 1, 1, 1),
    ( 4, '1602',   '累计折旧',         '累计折旧',            1, 1, 1, 2, 1),
    ( 5, '1603',   '固定资产减值准备', '固定资产减值准备',    1, 1, 1, 2, 1),
    ( 6, '1604',   '在建工程',         '在建工程',            1, 1, 1, 1, 1),
    ( 7, '1606',   '固定资产清理',     '固定资产清理',        1, 1, 1, 1, 1),
    ( 8, '2202',   '应付账款',         '应付账款',            1, 1, 2, 2, 1),
    ( 9, '2501',   '长期借款',         '长期借款',            1, 1, 2, 2, 1),
    (10, '4001',   '实收资本',         '实收资本',            1, 1, 3, 2, 1),
    (11, '4002',   '资本公积',         '资本公积',            1, 1, 3, 2, 1),
    (12, '5101',   '制造费用',         '制造费用',            1, 0, 4, 1, 1),
    (13, '510101', '折旧费用',         '制造费用-折旧费用',   2, 1, 4, 1, 1),
    (14, '6301',   '营业外收入',       '营业外收入',          1, 1, 5, 2, 1),
    (15, '6601',   '销售费用',         '销售费用',            1, 0, 5, 1, 1),
    (16, '660101', '折旧费用',         '销售费用-折旧费用',   2, 1, 5, 1, 1),
    (17, '6602',   '管理费用',         '管理费用',            1, 0, 5, 1, 1),
    (18, '660201', '折旧费用',         '管理费用-折旧费用',   2, 1, 5, 1, 1),
    (19, '660202', '修理费',           '管理费用-修理费',     2, 1, 5, 1, 1),
    (20, '6701',   '资产减值损失',     '资产减值损失',        1, 1, 5, 1, 1),
    (21, '6711',   '营业外支出',       '营业外支出',          1, 1, 5, 1, 1);

INSERT INTO Class1 (lngClassID, strClassCode, strClassName) VALUES
    (1, '01', '经营用'), (2, '02', '非经营用'), (3, '03', '未使用');
INSERT INTO Class2 (lngClassID, strClassCode, strClassName) VALUES
    (1, '01', '日常经营'), (2, '02', '技术改造'), (3, '03', '基本建设');

INSERT INTO CustomerType (lngCustomerTypeID, strCustomerTypeCode, strCustomerTypeName) VALUES (1, '01', '供应商');
INSERT INTO Customer (lngCustomerID, strCustomerCode, strCustomerName, lngCustomerTypeID, blnIsCustomer, blnIsSupplier) VALUES
    (1, '001', '上海示范机床有限公司', 1, 0, 1),
    (2, '002', '杭州示范电子科技有限公司', 1, 0, 1),
    (3, '003', '南京示范汽车销售有限公司', 1, 0, 1);

INSERT INTO EmployeeType (lngEmployeeTypeID, strEmployeeTypeCode, strEmployeeTypeName) VALUES (1, '01', '正式员工');
INSERT INTO Employee (lngEmployeeID, strEmployeeCode, strEmployeeName, lngEmployeeTypeID, lngDepartmentID, lngOrganizationID) VALUES
    (1, '001', '张伟', 1, 1, 1),
    (2, '002', '李娜', 1, 2, 1),
    (3, '003', '王强', 1, 4, 1),
    (4, '004', '刘洋', 1, 6, 2);

INSERT INTO OperatorGroup (lngOperatorGroupID, strOperatorGroupCode, strOperatorGroupName) VALUES (1, '01', '系统管理员');
INSERT INTO Operator (lngOperatorID, strOperatorCode, strOperatorName, lngOperatorGroupID, lngEmployeeID) VALUES
    (1, 'admin', '系统管理员', 1, 0),
    (2, '002',   '李娜',       1, 2);
INSERT INTO OrgOperatorAllot (lngOrgOperatorAllotID, lngOrganizationID, lngOperatorID) VALUES
    (1, 1, 1), (2, 2, 1), (3, 1, 2);

INSERT INTO ItemUnitGroup (lngItemUnitGroupID, strItemUnitGroupCode, strItemUnitGroupName) VALUES (1, '01', '常用单位');
INSERT INTO ItemUnit (lngItemUnitID, strItemUnitCode, strItemUnitName, lngItemUnitGroupID) VALUES
    (1, '01', '台', 1), (2, '02', '套', 1), (3, '03', '辆', 1), (4, '04', '栋', 1), (5, '05', '件', 1), (6, '06', '项', 1);

INSERT INTO Location (lngLocationID, strLocationCode, strLocationName) VALUES
    (1, '01', '总部办公楼'), (2, '02', '一号生产车间'), (3, '03', '南京分公司办公楼');
INSERT INTO Country (lngCountryID, strCountryCode, strCountryName) VALUES
    (1, 'CN', '中国'), (2, 'DE', '德国'), (3, 'JP', '日本'), (4, 'US', '美国');
INSERT INTO Integrality (lngIntegralityID, strIntegralityCode, strIntegralityName) VALUES
    (1, '01', '完好'), (2, '02', '基本完好'), (3, '03', '待修'), (4, '04', '待报废');
INSERT INTO MaintainType (lngMaintainTypeID, strMaintainTypeCode, strMaintainTypeName) VALUES
    (1, '01', '日常保养'), (2, '02', '故障维修');
INSERT INTO FaultType (lngFaultTypeID, strFaultTypeCode, strFaultTypeName) VALUES
    (1, '01', '机械故障'), (2, '02', '电气故障');
INSERT INTO VoucherType (lngVoucherTypeID, strVoucherTypeCode, strVoucherTypeName) VALUES (1, '记', '记账凭证');

-- Document templates shared by all organisations (-1), one per receipt
-- type; lngSysTemplateID names the fixed-asset document each one serves.
INSERT INTO Template (lngTemplateID, strTemplateCode, strTemplateName, lngReceiptTypeID, lngSysTemplateID, lngOrganizationID, blnIsSys, blnIsDefault) VALUES
    (1, 'AM48', '固定资产增加单',   48, 4044, -1, 1, 1),
    (2, 'AM49', '固定资产减少单',   49, 4046, -1, 1, 1),
    (3, 'AM50', '固定资产变动单',   50, 4045, -1, 1, 1),
    (4, 'AM51', '固定资产卡片',     51, 4047, -1, 1, 1),
    (5, 'AM52', '资产标签',         52,    0, -1, 1, 1),
    (6, 'AM53', '固定资产期初卡片', 53, 4048, -1, 1, 1);

INSERT INTO AMAssetCategory (lngAMAssetCategoryID, strAMAssetCategoryCode, strAMAssetCategoryName) VALUES (1, '01', '固定资产');

INSERT INTO AMAssetState (lngAMAssetStateID, strAMAssetStateCode, strAMAssetStateName, blnIsSys) VALUES
    (1, '01', '在用', 1), (2, '02', '闲置', 1), (3, '03', '封存', 1), (4, '04', '出租', 1), (5, '05', '待报废', 1);

INSERT INTO AMManagerType (lngAMManagerTypeID, strAMManagerTypeCode, strAMManagerTypeName) VALUES
    (1, '01', '自用'), (2, '02', '出租'), (3, '03', '出借');

INSERT INTO AMFund (lngAMFundID, strAMFundCode, strAMFundName, blnIsSys) VALUES
    (1, '01', '自有资金', 1), (2, '02', '财政拨款', 1), (3, '03', '银行贷款', 1);

-- Ways of addition (type 0), decrease (1) and other change (4), each with
-- its contra account and the template of its document.
INSERT INTO AMAssetMethod (lngAMAssetCategoryID, lngAMAssetMethodID, strAMAssetMethodCode, strAMAssetMethodName,
                           blnIsInActive, blnIsSys, bytAssetAlterType, lngAccountID, lngVoucherTypeID, lngTemplateID,
                           strRemark, strStartDate, lngTradeID) VALUES
    (1,  1, '01', '购入',       0, 1, 0,  2, 1, 1, ' ', ' ', 0),
    (1,  2, '02', '自建',       0, 1, 0,  6, 1, 1, ' ', ' ', 0),
    (1,  3, '03', '捐赠',       0, 1, 0, 14, 1, 1, ' ', ' ', 0),
    (1,  4, '04', '投资者投入', 0, 1, 0, 10, 1, 1, ' ', ' ', 0),
    (1,  5, '05', '融资租入',   0, 1, 0,  9, 1, 1, ' ', ' ', 0),
    (1,  6, '06', '盘盈',       0, 1, 0, 14, 1, 1, ' ', ' ', 0),
    (1,  7, '07', '出售',       0, 1, 1,  7, 1, 2, ' ', ' ', 0),
    (1,  8, '08', '报废',       0, 1, 1,  7, 1, 2, ' ', ' ', 0),
    (1,  9, '09', '对外捐赠',   0, 1, 1,  7, 1, 2, ' ', ' ', 0),
    (1, 10, '10', '盘亏',       0, 1, 1, 21, 1, 2, ' ', ' ', 0),
    (1, 11, '11', '部门调拨',   0, 1, 4,  0, 1, 3, ' ', ' ', 0),
    (1, 12, '12', '原值调整',   0, 1, 4,  0, 1, 3, ' ', ' ', 0),
    (1, 13, '13', '计提减值准备', 0, 1, 4, 20, 1, 3, ' ', ' ', 0);

-- National classification, with a national-code rule per class.
INSERT INTO AMAssetNationalType (lngAMAssetNationalTypeID, strAMAssetNationalTypeCode, strAMAssetNationalTypeName,
                                 strFullName, intLevel, blnIsDetail, strNationalRule, intNationalSerialNoDec) VALUES
    (1, '1',    '土地、房屋及构筑物', '土地、房屋及构筑物',          1, 0, '[国标分类编码][机构流水号]', 5),
    (2, '1-02', '房屋',               '土地、房屋及构筑物/房屋',     2, 1, '[国标分类编码][机构流水号]', 5),
    (3, '2',    '通用设备',           '通用设备',                    1, 0, '[国标分类编码][机构流水号]', 5),
    (4, '2-01', '计算机设备及软件',   '通用设备/计算机设备及软件',   2, 1, '[国标分类编码][机构流水号]', 5),
    (5, '2-03', '车辆',               '通用设备/车辆',               2, 1, '[国标分类编码][机构流水号]', 5),
    (6, '3',    '专用设备',           '专用设备',                    1, 1, '[国标分类编码][机构流水号]', 5),
    (7, '6',    '家具、用具及装具',   '家具、用具及装具',            1, 1, '[国标分类编码][机构流水号]', 5);

-- Asset categories.  Depreciation defaults: type 1 (depreciated monthly),
-- method 2 (straight line) unless noted, dblUseage the life in months (the
-- total kilometres for the workload method 3), residual-value and annual
-- depreciation rates in percent.  Land: method 1 and type 2, no
-- depreciation.  Codes come from the rules the upgrade gives migrated
-- categories: category code, prefix, a four-digit serial per organisation
-- and category, suffix; a label number is the category code, the asset code
-- and a three-digit serial.
INSERT INTO AMAssetType (lngAMAssetCategoryID, lngAMAssetTypeID, strAMAssetTypeCode, strAMAssetTypeName, strFullName,
                         intLevel, blnIsDetail, blnIsInActive, blnIsSys, strStartDate,
                         bytDepreciationType, bytDepreciationMethod, dblUseage, dblNetworthRate, dblDeprRate,
                         bytCodeMethod, strCodePrefix, strCodeSuffix, strCodeRule, intCodeSerialNoDec,
                         strCardRule, intCardSerialNoDec, strLabelRule, intLabelSerialNoDec,
                         lngAssetAccountID, lngDepreciationAccountID, lngClassID1, lngClassID2, lngDecAccountID,
                         strFlexibleID, strNotes, strNationalRule)
SELECT 1, c.id, c.code, c.name, c.fullname, c.lvl, c.detail, 0, 0, ' ',
       c.deprtype, c.method, c.useage, c.netrate, c.deprrate,
       2, ' ', ' ', '[资产类别编码][资产类别资产前缀][机构+资产类别流水号][资产类别资产后缀]', 4,
       '[资产类别编码][资产类别资产前缀][机构+资产类别流水号][资产类别资产后缀]', 4,
       '[资产类别编码][资产编码][机构+资产类别流水号]', 3,
       3, 4, 0, 0, 5,
       ' ', ' ', '[资产类别编码][资产类别资产前缀][机构+资产类别流水号][资产类别资产后缀]'
  FROM (VALUES
    ( 1, '01',       '房屋及建筑物', '房屋及建筑物',                   1, 0, 1, 2,    240, 5,  4.75),
    ( 2, '01-01',    '房屋',         '房屋及建筑物/房屋',              2, 0, 1, 2,    240, 5,  4.75),
    ( 3, '01-01-01', '办公用房',     '房屋及建筑物/房屋/办公用房',     3, 1, 1, 2,    240, 5,  4.75),
    ( 4, '01-01-02', '生产用房',     '房屋及建筑物/房屋/生产用房',     3, 1, 1, 2,    240, 5,  4.75),
    ( 5, '01-02',    '建筑物',       '房屋及建筑物/建筑物',            2, 0, 1, 2,    240, 5,  4.75),
    ( 6, '01-02-01', '道路',         '房屋及建筑物/建筑物/道路',       3, 1, 1, 2,    240, 5,  4.75),
    ( 7, '01-02-02', '围墙',         '房屋及建筑物/建筑物/围墙',       3, 1, 1, 2,    240, 5,  4.75),
    ( 8, '02',       '机器设备',     '机器设备',                       1, 0, 1, 2,    120, 5,  9.5),
    ( 9, '02-01',    '通用设备',     '机器设备/通用设备',              2, 0, 1, 2,    120, 5,  9.5),
    (10, '02-01-01', '机床',         '机器设备/通用设备/机床',         3, 1, 1, 2,    120, 5,  9.5),
    (11, '02-01-02', '起重设备',     '机器设备/通用设备/起重设备',     3, 1, 1, 2,    120, 5,  9.5),
    (12, '02-02',    '专用设备',     '机器设备/专用设备',              2, 1, 1, 2,    120, 5,  9.5),
    (13, '03',       '运输设备',     '运输设备',                       1, 0, 1, 2,     48, 5, 23.75),
    (14, '03-01',    '汽车',         '运输设备/汽车',                  2, 0, 1, 2,     48, 5, 23.75),
    (15, '03-01-01', '小型客车',     '运输设备/汽车/小型客车',         3, 1, 1, 2,     48, 5, 23.75),
    (16, '03-01-02', '货车',         '运输设备/汽车/货车',             3, 1, 1, 3, 500000, 5,  0),
    (17, '04',       '电子设备',     '电子设备',                       1, 0, 1, 2,     36, 5, 31.67),
    (18, '04-01',    '计算机设备',   '电子设备/计算机设备',            2, 0, 1, 2,     36, 5, 31.67),
    (19, '04-01-01', '台式计算机',   '电子设备/计算机设备/台式计算机', 3, 1, 1, 2,     36, 5, 31.67),
    (20, '04-01-02', '笔记本电脑',   '电子设备/计算机设备/笔记本电脑', 3, 1, 1, 2,     36, 5, 31.67),
    (21, '04-01-03', '服务器',       '电子设备/计算机设备/服务器',     3, 1, 1, 2,     60, 5, 19),
    (22, '04-02',    '办公设备',     '电子设备/办公设备',              2, 1, 1, 2,     60, 5, 19),
    (23, '05',       '办公家具',     '办公家具',                       1, 0, 1, 2,     60, 5, 19),
    (24, '05-01',    '桌椅',         '办公家具/桌椅',                  2, 1, 1, 2,     60, 5, 19),
    (25, '05-02',    '柜架',         '办公家具/柜架',                  2, 1, 1, 2,     60, 5, 19),
    (26, '06',       '土地',         '土地',                           1, 1, 2, 1,      0, 0,  0)
  ) AS c(id, code, name, fullname, lvl, detail, deprtype, method, useage, netrate, deprrate);

-- Module settings of both organisations (module 11, section 固定资产).
INSERT INTO Setting (lngModuleID, lngOrganizationID, strSection, strKey, strSetting, StrTypeName)
SELECT 11, o.lngOrganizationID, '固定资产', s.k, s.v, s.t
  FROM Organization o
 CROSS JOIN (VALUES
    ('固定资产科目',           '3',        'Long'),
    ('累计折旧科目',           '4',        'Long'),
    ('减值准备科目',           '5',        'Long'),
    ('统计',                   '1',        'Long'),
    ('项目',                   '1',        'Long'),
    ('默认条码打印模板',       '5',        'String'),
    ('实物状态',               '1',        'Long'),
    ('固资查阅模板',           '4',        'Long'),
    ('固资增加方式',           '1',        'Long'),
    ('折旧类型',               '1',        'Long'),
    ('常用折旧方法',           '2',        'Long'),
    ('预计使用期间',           '60',       'Double'),
    ('预计净残值率',           '5',        'Double'),
    ('年折旧率',               '19',       'Double'),
    ('树形视图构造方式',       '资产类别', 'String'),
    ('固资卡片中管理部门必录', '1',        'Long'),
    ('启用实物资产',           '0',        'Long'),
    ('实物资产启用期间',       '0',        'Long')
  ) AS s(k, v, t);

-- Several funding sources per asset are read from their own section.
INSERT INTO Setting (lngModuleID, lngOrganizationID, strSection, strKey, strSetting, StrTypeName)
SELECT 11, o.lngOrganizationID, '资产管理', '启用多资金来源', '1', 'Boolean'
  FROM Organization o;

-- Move every sequence used above past the ids given here.
SELECT setval('Currencys_SEQ',           (SELECT max(lngCurrencyID) FROM Currencys));
SELECT setval('Trade_SEQ',               (SELECT max(lngTradeID) FROM Trade));
SELECT setval('Business_SEQ',            (SELECT max(lngBusinessID) FROM Business));
SELECT setval('Organization_SEQ',        (SELECT max(lngOrganizationID) FROM Organization));
SELECT setval('Department_SEQ',          (SELECT max(lngDepartmentID) FROM Department));
SELECT setval('Account_SEQ',             (SELECT max(lngAccountID) FROM Account));
SELECT setval('Class1_SEQ',              (SELECT max(lngClassID) FROM Class1));
SELECT setval('Class2_SEQ',              (SELECT max(lngClassID) FROM Class2));
SELECT setval('CustomerType_SEQ',        (SELECT max(lngCustomerTypeID) FROM CustomerType));
SELECT setval('Customer_SEQ',            (SELECT max(lngCustomerID) FROM Customer));
SELECT setval('EmployeeType_SEQ',        (SELECT max(lngEmployeeTypeID) FROM EmployeeType));
SELECT setval('Employee_SEQ',            (SELECT max(lngEmployeeID) FROM Employee));
SELECT setval('OperatorGroup_SEQ',       (SELECT max(lngOperatorGroupID) FROM OperatorGroup));
SELECT setval('Operator_SEQ',            (SELECT max(lngOperatorID) FROM Operator));
SELECT setval('OrgOperatorAllot_SEQ',    (SELECT max(lngOrgOperatorAllotID) FROM OrgOperatorAllot));
SELECT setval('ItemUnitGroup_SEQ',       (SELECT max(lngItemUnitGroupID) FROM ItemUnitGroup));
SELECT setval('ItemUnit_SEQ',            (SELECT max(lngItemUnitID) FROM ItemUnit));
SELECT setval('Location_SEQ',            (SELECT max(lngLocationID) FROM Location));
SELECT setval('Country_SEQ',             (SELECT max(lngCountryID) FROM Country));
SELECT setval('Integrality_SEQ',         (SELECT max(lngIntegralityID) FROM Integrality));
SELECT setval('MaintainType_SEQ',        (SELECT max(lngMaintainTypeID) FROM MaintainType));
SELECT setval('FaultType_SEQ',           (SELECT max(lngFaultTypeID) FROM FaultType));
SELECT setval('VoucherType_SEQ',         (SELECT max(lngVoucherTypeID) FROM VoucherType));
SELECT setval('Template_SEQ',            (SELECT max(lngTemplateID) FROM Template));
SELECT setval('AMAssetCategory_SEQ',     (SELECT max(lngAMAssetCategoryID) FROM AMAssetCategory));
SELECT setval('AMAssetState_SEQ',        (SELECT max(lngAMAssetStateID) FROM AMAssetState));
SELECT setval('AMManagerType_SEQ',       (SELECT max(lngAMManagerTypeID) FROM AMManagerType));
SELECT setval('AMFund_SEQ',              (SELECT max(lngAMFundID) FROM AMFund));
SELECT setval('AMAssetMethod_SEQ',       (SELECT max(lngAMAssetMethodID) FROM AMAssetMethod));
SELECT setval('AMAssetNationalType_SEQ', (SELECT max(lngAMAssetNationalTypeID) FROM AMAssetNationalType));
SELECT setval('AMAssetType_SEQ',         (SELECT max(lngAMAssetTypeID) FROM AMAssetType));
