// Upgrading from the older module's Fixed… tables: reference data, preset
// alteration methods, categories with their code rules, and the data checks.
#include "UpgradeTestBase.hpp"

namespace tk::am {
namespace {

// The old account set holds the older module's Fixed… tables.
class FixedModule : public UpgradeTestBase {
  protected:
    FixedModule() : UpgradeTestBase("../../examples/older_module/fixed_tables.sql", "8.50") {}

    // One card with one addition whose lines are all in order.
    void soundCard() {
        old("Insert Into [OldUser]FixedCard (lngFixedCardID, strFixedCode, lngFixedAccountID)"
            " Values (1, 'G001', 3)");
        old("Insert Into [OldUser]FixedAlter (lngFixedAlterID, lngFixedCardID, dblAmount,"
            " lngOrganizationID, intYear, bytPeriod, strDate, intUseAge)"
            " Values (11, 1, 5000, 1, 2024, 3, '2024-03-10', 60)");
        old("Insert Into [OldUser]FixedDepartment Values (1, 11, 3, 100)");
        old("Insert Into [OldUser]FixedAccount (lngFixedAccountItemID, lngFixedAlterID,"
            " lngAccountID, lngDepartmentID) Values (1, 11, 4, 3)");
    }
};

// The company's repair scripts run before the run's transaction takes a
// lock: a script that alters the new set's Business table would otherwise
// wait for the run, and the run for the script.
TEST_F(FixedModule, TheRepairScriptsRunBeforeTheRunHoldsAnyLock) {
    std::filesystem::create_directories(component);
    std::filesystem::create_symlink(LibraryFolder() / "sqlconsole", component / "sqlconsole");
    setenv("TKAM_SCRIPT_TIMEOUT", "60", 1);
    old("Drop Table [NewUser]t_backupScript");
    old("Insert Into [OldUser]t_backupScript (strNo, strName, strSql) Values ('01', 'REPAIR',"
        " 'alter table " +
        UpperAscii(oldSet.name()) + ".business add strRepaired varchar2(20)\n/')");
    soundCard();
    const bool done = execute();
    unsetenv("TKAM_SCRIPT_TIMEOUT");
    ASSERT_TRUE(done) << errors;
    EXPECT_EQ(errors, "") << log("DbSql");
    EXPECT_EQ(
        value("Select Count(*) From all_tab_columns Where owner = '" + UpperAscii(newSet.name()) +
              "' And table_name = 'BUSINESS' And column_name = 'STRREPAIRED'"),
        "1");
    EXPECT_EQ(count("[NewUser]AMAsset"), "1");
}

// A card the module never depreciated is calculated as the upgrade brings
// it in; one the calculation refuses fails the run with the reason.
TEST_F(FixedModule, ACardNeverDepreciatedIsCalculatedAndARefusalFailsTheRun) {
    soundCard();
    ASSERT_TRUE(execute()) << errors;
    EXPECT_TRUE(std::any_of(events.begin(), events.end(), [](const UpgradeEvent& e) {
        return e.message.starts_with("重新计算折旧...(1/1) G001");
    }));
    old("Update [OldUser]FixedAlter Set dblDeprection = -100");
    EXPECT_FALSE(execute());
    EXPECT_EQ(errors, "重新计算资产折旧出错！原值、减值准备、净残值、累计折旧和使用期间都不能为负");
    EXPECT_EQ(count("[NewUser]AMAsset"), "1") << "the books as the first run left them";
}

// Without cards the run stops after the reference data, successfully.
TEST_F(FixedModule, NoCardsTakesTheReferenceDataOnly) {
    EXPECT_TRUE(execute()) << errors;
    EXPECT_EQ(update.TotalProgress, 33);
    std::vector<std::string> messages;
    for (const auto& event : events) messages.push_back(event.message);
    EXPECT_EQ(messages,
              (std::vector<std::string>{"固定资产升级开始", "升级固资基础数据, AMAssetMethod...",
                                        "升级固资基础数据, AMAssetType...",
                                        "升级固资基础数据, AMAssetTypeNo...", "固定资产升级结束"}));
}

// The five presets join the module's own ways of alteration; one whose code
// is taken is reported and the others still come, again on a second run.
TEST_F(FixedModule, PresetMethodsAndTakenCodes) {
    old("Insert Into [NewUser]AMAssetMethod (lngAMAssetMethodID, strAMAssetMethodCode,"
        " strAMAssetMethodName) Values (40, '20', '科研拨款')");
    old("Insert Into [OldUser]FixedMethod (lngFixedMethodID, strFixedMethodCode,"
        " strFixedMethodName, strFixedMethodType, lngAccountID, lngTemplateID)"
        " Values (30, '30', '接受捐赠', '0', 14, 0)");
    old("Insert Into [OldUser]FixedMethod (lngFixedMethodID, strFixedMethodCode,"
        " strFixedMethodName, strFixedMethodType, lngAccountID, lngTemplateID)"
        " Values (31, '31', '出售', '1', 7, 4046)");
    const std::string taken = "复制“科研基金转入”时出错，可能变动方式编号“20”已经被占用！";
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(execute()) << errors;
        EXPECT_EQ(errors, taken);
        EXPECT_EQ(value("Select lngAMAssetMethodID || ':' || strAMAssetMethodCode || ':' ||"
                        " bytAssetAlterType || ':' || blnIsSys From [NewUser]AMAssetMethod"
                        " Where lngAMAssetMethodID Between 17 And 21 Order By 1"),
                  "17:19:2:1,19:21:2:1,20:22:3:1,21:23:4:1");
    }
    // Addition and decrease; the first had no template (the shared addition
    // one, 1), the second named system template 4046 (the decrease one, 2).
    EXPECT_EQ(value("Select bytAssetAlterType || ':' || lngTemplateID || ':' || lngVoucherTypeID"
                    " From [NewUser]AMAssetMethod Where lngAMAssetMethodID In (30, 31) Order By"
                    " lngAMAssetMethodID"),
              "0:1:1,1:2:1");
    EXPECT_NE(log("固定资产升级").find(taken), std::string::npos);
}

TEST_F(FixedModule, CategoriesWithCodeRulesAndCardSerials) {
    old("Insert Into [OldUser]FixedType (lngFixedTypeID, strFixedTypeCode, strFixedTypeName,"
        " strDepreciationMethod, intUseAge, dblTotalWork, strCodeManner, intCardSerialNoDec)"
        " Values (50, 'J1', '检测仪器', '3', 60, 8000, '2', 3)");
    old("Insert Into [OldUser]FixedType (lngFixedTypeID, strFixedTypeCode, strFixedTypeName)"
        " Values (51, 'J2', '计量器具')");
    old("Insert Into [OldUser]FixedTypeEx (lngFixedTypeID, strFixedTypeCode, strDepreciationMethod,"
        " intUseAge, lngOrganizationID) Values (50, 'J1', '2', 36, 1)");
    old("Insert Into [OldUser]FixedCustom Values (1, 50, 'strText1', '检定周期', 0, 1)");
    old("Insert Into [OldUser]FixedCustom Values (2, 99, 'strText2', '无此类别', 0, 2)");
    old("Insert Into [OldUser]ReceiptNoRule Values (1, 170, 1, 1, 50, 'GD-[流水号]', 5, 37)");
    old("Insert Into [OldUser]ReceiptNoRule Values (2, 170, 1, 2, 51, 'ZC[机构流水号]', 6, 8)");
    old("Insert Into [OldUser]ReceiptNoRule Values (3, 171, 1, 1, 51, 'X[流水号]', 2, 1)");
    old("Insert Into [OldUser]ReceiptNoRule Values (4, 170, 1, 0, 51, 'Y[流水号]', 2, 1)");
    ASSERT_TRUE(execute()) << errors;

    EXPECT_EQ(value("Select bytDepreciationMethod || ':' || dblUseage || ':' || bytCodeMethod ||"
                    " ':' || intCodeSerialNoDec || ':' || intCardSerialNoDec || ':' || strCardRule"
                    " From [NewUser]AMAssetType Where lngAMAssetTypeID In (50, 51) Order By"
                    " lngAMAssetTypeID"),
              "3:8000:1:1:5:GD-[机构+资产类别流水号],2:0:2:1:6:ZC[机构+资产类别流水号]");
    EXPECT_EQ(value("Select strCodeRule || '|' || strLabelRule || '|' || strNationalRule"
                    " From [NewUser]AMAssetType Where lngAMAssetTypeID = 51"),
              "[资产类别编码][资产类别资产前缀][机构+资产类别流水号][资产类别资产后缀]|"
              "[资产类别编码][资产编码][机构+资产类别流水号]|"
              "[资产类别编码][资产类别资产前缀][机构+资产类别流水号][资产类别资产后缀]");
    EXPECT_EQ(value("Select dblUseage From [NewUser]AMAssetTypeEx Where lngAMAssetTypeID = 50"),
              "36");
    EXPECT_EQ(value("Select lngAMAssetTypeID || ':' || strCaption From [NewUser]AMAssetTypeCustom"
                    " Where lngAMAssetTypeID In (50, 51, 99)"),
              "50:检定周期");
    EXPECT_EQ(value("Select lngOrganizationID || ':' || lngAMAssetTypeID || ':' || lngMaxSerialNo"
                    " From [NewUser]AMAssetTypeNo Where bytSerialNoType = 2 Order By 1"),
              "1:50:37,2:51:8");
}

// Every item finds its own fault; the report lists them in the order checked.
TEST_F(FixedModule, CheckItemsAndTheirMessages) {
    soundCard();
    EXPECT_TRUE(update.Check(errors)) << errors;

    old("Insert Into [OldUser]Account (lngAccountID, strAccountCode, blnIsDetail) Values"
        " (900, '1699', 0)");
    old("Update [OldUser]FixedCard Set lngFixedAccountID = 900, lngSpecialAccountID = 900");
    old("Insert Into [OldUser]FixedMethod (lngFixedMethodID, strFixedMethodCode) Values (1, '01')");
    old("Insert Into [OldUser]FixedAlter (lngFixedAlterID, lngFixedCardID, dblAmount,"
        " dblDeprection, dblPeriodDepreciation, lngVoucherID) Values (12, 1, 5000, 5100, 100, "
        "555)");
    old("Insert Into [OldUser]FixedDepartment Values (2, 11, 999, 20)");
    old("Insert Into [OldUser]FixedAccount (lngFixedAccountItemID, lngFixedAlterID,"
        " lngAccountID, lngDepartmentID) Values (2, 12, 998, 3)");
    EXPECT_FALSE(update.Check(errors));
    EXPECT_EQ(
        errors,
        "\r\n固定资产数据检查错误报告："
        "\r\n存在非末级的固定资产科目。"
        "\r\n存在非末级的专用基金科目。"
        "\r\n变动方式对应科目检查"
        "\r\n费用部门数据存在异常(有变动记录已在FixedDepartment表中丢失)"
        "，会导致折旧费用不能按部门分摊。"
        "\r\n费用部门数据存在异常(有费用部门记录已在Department表中丢失)"
        "，会导致折旧费用按部门分摊失败。"
        "\r\n费用科目数据存在异常(有费用科目记录已在Account表中丢失)，会导致折旧费用凭证分摊失败。"
        "\r\n存在分摊比例不为100%的费用部门，会导致部门分摊不平衡。"
        "\r\n折旧凭证金额和折旧金额不平，导致固定资产账实不符。"
        "\r\n折旧凭证已经丢失，导致固定资产账实不符。"
        "\r\n固定资产折旧存在多提导致净额为负。");

    // With cards, a failed check stops the run and warns the host.
    EXPECT_FALSE(execute());
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].rfind(errors, 0), 0u);
}

}  // namespace
}  // namespace tk::am
