// Upgrading an account set of the earlier release: routing by version, the
// check, the copy into the new layout, progress, reruns and failures.
#include "UpgradeTestBase.hpp"
#include "ledger/AssetAdder.hpp"
#include "records/clsAMAssetLabel.hpp"
#include "records/clsAMAssetOtherCard.hpp"

namespace tk::am {
namespace {

const char* const kEarlierRelease = "a.82.20120930";

// Two account sets: the old one of the earlier release.
class Update : public UpgradeTestBase {
  protected:
    Update() : UpgradeTestBase("earlier_release/asset_tables.sql", kEarlierRelease) {}

    // Two assets: a lathe added in January and changed in July (one label,
    // an other card), and a truck depreciated by work (no other card); and
    // organisation 2's own copier (no other card).
    void earlierReleaseCompany() {
        old("Insert Into [OldUser]AMAsset Values (1, 'K001', 'A001', '2024-01-15', 0, 101, 102, 1, "
            "0)");
        old("Insert Into [OldUser]AMAsset Values (2, 'K002', 'A002', '2024-02-10', 500, 201, 201, "
            "1, 0)");
        alteration(
            "101, 1, 1, 2024, 1, '2024-01-15', 'N-1', '数控车床', 10, 2, 3, 0, 120000, 120000");
        alteration(
            "102, 1, 3, 2024, 7, '2024-07-10', 'N-1', '数控车床', 10, 2, 4, 101, 150000, 30000");
        alteration("201, 2, 1, 2024, 2, '2024-02-10', 'N-2', '货车', 16, 3, 3, 0, 90000, 90000");
        old("Insert Into [OldUser]AMAsset Values (4, 'K004', 'B001', '2024-03-05', 0, 401, 401, "
            "2, 0)");
        alteration("401, 4, 1, 2024, 3, '2024-03-05', 'N-4', '复印机', 10, 2, 6, 0, 18000, 18000",
                   2);
        old("Insert Into [OldUser]AMAssetFund Values (1, 1, 1001, 1002)");
        old("Insert Into [OldUser]AMAssetFund Values (2, 1, 2001, 2001)");
        fundVersion("1001, 1, 2024, 1, '2024-01-15', 120000, 1, 0");
        fundVersion("1002, 1, 2024, 7, '2024-07-10', 150000, 3, 1001");
        fundVersion("2001, 2, 2024, 2, '2024-02-10', 90000, 1, 0");
        old("Insert Into [OldUser]AMAssetFund Values (4, 1, 4001, 4001)");
        fundVersion("4001, 4, 2024, 3, '2024-03-05', 18000, 1, 0", 2);
        old("Insert Into [OldUser]AMAssetFundCostAlter (lngAMAssetFundCostAlterID,"
            " lngAMAssetFundAlterID, lngCurrencyID, dblRate, dblCurrAmount, dblAmount)"
            " Values (5001, 1001, 1, 1, 120000, 120000)");
        old("Insert Into [OldUser]AMAssetFundAccAlter (lngAMAssetFundAccAlterID,"
            " lngAMAssetFundAlterID, lngAccountID, lngDepartmentID, lngOrderNo, dblQuotiety,"
            " dblRate) Values (6001, 1001, 20, 3, 1, 1, 100)");
        old("Insert Into [OldUser]AMAssetOther (lngAMAssetID, strAssetStyle, strMadeIn, strNotes)"
            " Values (1, 'CK6140', '沈阳', '旧备注')");
        old("Insert Into [OldUser]AMAssetLabel Values (1, 1, 301, 'L001', 401, 402, 1)");
        old("Insert Into [OldUser]AMAssetLabelAlter (lngAMAssetID, lngAMAssetLabelID,"
            " lngAMAssetLabelAlterID, lngLocationID, strNotes) Values (1, 301, 401, 1, '初始')");
        old("Insert Into [OldUser]AMAssetLabelAlter (lngAMAssetID, lngAMAssetLabelID,"
            " lngAMAssetLabelAlterID, lngLocationID, strNotes) Values (1, 301, 402, 2, '最新')");
    }
    // id, asset, type, year, period, date, national code, name, category,
    // method, department, predecessor, cost, change of cost
    void alteration(const std::string& values, int organization = 1) {
        old("Insert Into [OldUser]AMAssetAlter (lngAMAssetAlterID, lngAMAssetID, bytAlterType,"
            " intYear, bytPeriod, strDate, strAMAssetNationalCode, strAMAssetName,"
            " lngAMAssetTypeID, bytDepreciationMethod, lngDepartmentID, lngAMAssetRecentAlterID,"
            " dblAmount, dblAmountAlter, dblUseage, lngOrganizationID, bytStatus, dblQuantity,"
            " dblQuantityAlter, lngAMAssetMethodID) Values (" +
            values + ", 120, " + std::to_string(organization) + ", 2, 1, 1, 1)");
    }
    // id, asset, year, period, date, cost, type, predecessor
    void fundVersion(const std::string& values, int organization = 1) {
        old("Insert Into [OldUser]AMAssetFundAlter (lngAMAssetFundAlterID, lngAMAssetID, intYear,"
            " bytPeriod, strDate, dblAmount, bytAlterType, lngAMAssetFundRecentAlterID,"
            " lngAMFundID, lngPayAccountID, lngOrganizationID, bytStatus) Values (" +
            values + ", 1, 77, " + std::to_string(organization) + ", 2)");
    }
};

// The old version picks the route, the new version whether there is anything
// to convert; versions compare as text.
TEST_F(Update, VersionRouting) {
    old("Insert Into [NewUser]AMAsset (lngAMAssetID) Values (9)");
    EXPECT_TRUE(execute()) << errors;
    EXPECT_EQ(update.TotalProgress, 83);
    EXPECT_EQ(count("[NewUser]AMAsset"), "1");  // no old assets: nothing emptied

    setVersions("a.83.20130430", "a.83.20140101");
    EXPECT_TRUE(execute()) << errors;
    EXPECT_EQ(update.TotalProgress, 2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].message, "固定资产升级开始");
    EXPECT_EQ(events[1].message, "固定资产升级结束");
    EXPECT_EQ(events[1].total, 2);

    setVersions("a.83.20130430", "a.9");  // "a.9" sorts after "a.83…"
    execute();
    EXPECT_EQ(update.TotalProgress, 2);

    setVersions("a.83.20130430", "a.83.20130430");  // old tables of this component: maintenance
    execute();
    EXPECT_EQ(update.TotalProgress, 3);
}

TEST_F(Update, CheckOfAnEarlierRelease) {
    earlierReleaseCompany();
    EXPECT_TRUE(update.Check(errors)) << errors;
    EXPECT_EQ(errors, "");

    old("Update [OldUser]AMAssetAlter Set bytStatus = 1 Where lngAMAssetAlterID = 102");
    EXPECT_FALSE(update.Check(errors));
    EXPECT_EQ(errors, "\r\n固定资产数据检查错误报告：\r\n存在未审批的固定资产。");
    std::string report = log("check");
    EXPECT_NE(report.find("固定资产数据完整性检查错误报告"), std::string::npos);
    EXPECT_NE(
        report.find("固定资产科目检查\r\nSelect 1\r\n  From " + oldSet.name() + ".AMAssetAlter a"),
        std::string::npos);

    EXPECT_FALSE(execute());
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0],
              errors +
                  "\r\n\r\n请将日志目录(C:\\Windows\\Norvex*\\log)提交给客服，\r\n"
                  "先对固定资产数据调整后再升级，以保证升级后固定资产业务没有问题。|提醒");
    EXPECT_EQ(count("[NewUser]AMAsset"), "0");
}

TEST_F(Update, EarlierReleaseCopiedIntoTheNewLayout) {
    earlierReleaseCompany();
    ASSERT_TRUE(execute()) << errors;
    // Heads from their first version; a workload asset's start usage is work.
    EXPECT_EQ(value("Select strAMAssetName || '/' || strCreateDate || '/' || lngDepartmentID ||"
                    " '/' || strAMAssetNationalCode From [NewUser]AMAsset Order By lngAMAssetID"),
              "数控车床/2024-01-15/3/N-1,货车/2024-02-10/3/N-2,复印机/2024-03-05/6/N-4");
    EXPECT_EQ(value("Select dblStartUsage || '/' || dblStartWork From [NewUser]AMAsset"
                    " Order By lngAMAssetID"),
              "0/0,0/500,0/0");
    EXPECT_EQ(
        value("Select strDescription From [NewUser]AMAssetAlter Where lngAMAssetAlterID = 102"),
        "[升级][其它变动][卡片][财务][标签][其它][附属设备][图片][文档]");
    EXPECT_EQ(value("Select lngTemplateID From [NewUser]AMAssetAlter Order By lngAMAssetAlterID"),
              "1,3,1,1");
    // Funding-source versions find their card version; the pay account moves.
    EXPECT_EQ(value("Select lngAMAssetAlterID || '/' || lngOutAccountID || '/' || lngPayAccountID"
                    " From [NewUser]AMAssetFundAlter Order By lngAMAssetFundAlterID"),
              "101/77/0,102/77/0,201/77/0,401/77/0");
    EXPECT_EQ(count("[NewUser]AMAssetFundCostAlter"), "1");
    // The other card: one version per card version; the truck and the copier
    // got a blank one.
    EXPECT_EQ(value("Select lngAMAssetOtherAlterID || '/' || lngAMAssetOtherRecentAlterID || '/' ||"
                    " strAssetStyle || '/' || strMadeIn From [NewUser]AMAssetOtherAlter"
                    " Order By 1"),
              "101/0/CK6140/ ,102/101/CK6140/ ,201/0/ / ,401/0/ / ");
    EXPECT_EQ(count("[OldUser]AMAssetOther"), "3");
    // The label: a version per card version, each with its latest old values.
    EXPECT_EQ(value("Select v.lngAMAssetAlterID || '/' || v.lngLocationID || '/' || v.strNotes ||"
                    " '/' || Decode(v.lngAMAssetLabelRecentAlterID, 0, 'first', 'next')"
                    " From [NewUser]AMAssetLabelAlter v Order By v.lngAMAssetLabelAlterID"),
              "101/2/最新/first,102/2/最新/next");
    EXPECT_EQ(value("Select Decode(l.lngAMAssetLabelLastAlterID, v.lngAMAssetLabelAlterID, 'ok',"
                    " 'wrong') From [NewUser]AMAssetLabel l, [NewUser]AMAssetLabelAlter v"
                    " Where v.lngAMAssetAlterID = 102"),
              "ok");
}

// After the upgrade the host finds physical assets enabled for every
// organisation of the old assets, and the first asset it adds, with its
// other card and label, takes ids no upgraded row holds.
TEST_F(Update, TheSettingsAreThereAndTheFirstNewAssetFollowsTheOldOnes) {
    earlierReleaseCompany();
    ASSERT_TRUE(execute()) << errors;
    EXPECT_EQ(native("select string_agg(s.lngOrganizationID || ':' || s.strSetting, ',' order by"
                     " s.lngOrganizationID, s.strKey) from N.Setting s where s.strSection ="
                     " '固定资产' and s.lngModuleID = 11 and s.strKey in ('启用实物资产',"
                     " '实物资产启用期间')"),
              "1:1,1:202401,2:1,2:202401");
    EXPECT_EQ(tablesWhoseNextIdIsTaken(), "");

    const ledger::LedgerSession session(conn, 1, newSet.name());
    ledger::NewAsset asset;
    asset.category = "04-02";
    asset.name = "升级后新购";
    asset.date = "2024-08-10";
    asset.cost = 6000;
    const int32_t added = ledger::AssetAdder(session).add(asset).first;
    const int32_t version =
        std::stoi(value("Select lngAMAssetLastAlterID From [NewUser]AMAsset Where lngAMAssetID = " +
                        std::to_string(added)));
    EXPECT_GT(version, 401);
    clsAMAssetOtherCard other;
    other.Mode = atAdd;
    other.lngAMAssetID = added;
    other.lngAMAssetAlterID = version;
    other.strAssetStyle = "新型号";
    EXPECT_GT(other.SaveCard(), 0);
    clsAMAssetLabel label;
    label.Mode = atAdd;
    label.lngAMAssetID = added;
    label.lngAMAssetAlterID = version;
    label.strAMAssetLabelNo = "L900";
    label.lngOrganizationID = 1;
    EXPECT_GT(label.SaveCard(), 0);
    EXPECT_EQ(count("[NewUser]AMAssetLabel"), "2");
}

// A step whose writes do not take fails the run with its message, and the
// new set is left as it was.
TEST_F(Update, SettingsThatDoNotTakeFailTheRun) {
    earlierReleaseCompany();
    newSet.connect()->session().runScript(
        "CREATE FUNCTION " + newSet.name() +
        ".refuse() RETURNS trigger LANGUAGE plpgsql AS"
        " $$BEGIN RAISE EXCEPTION 'injected'; END$$; CREATE TRIGGER refuse BEFORE INSERT OR UPDATE"
        " ON " +
        newSet.name() + ".Setting FOR EACH ROW EXECUTE FUNCTION " + newSet.name() + ".refuse();");
    EXPECT_FALSE(execute());
    EXPECT_EQ(errors.rfind("启用实物资产出错！", 0), 0u) << errors;
    EXPECT_EQ(count("[NewUser]AMAsset"), "0");
}

// Every fixed message is one counted step of 83, whatever the host says to Cancel.
TEST_F(Update, ProgressCountsEveryStep) {
    earlierReleaseCompany();
    conn->ServerName += " password=s3cret";  // only shown from here on: the session is open
    ASSERT_TRUE(execute()) << errors;
    ASSERT_GT(events.size(), 40u);
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].progress, static_cast<int32_t>(i + 1)) << events[i].message;
        EXPECT_EQ(events[i].total, 83);
        // The run's own flag: its result with the last event, never the host's.
        EXPECT_EQ(events[i].cancel, i + 1 == events.size());
    }
    EXPECT_EQ(events.front().message, "固定资产升级开始");
    EXPECT_EQ(events[1].message, "编译固资函数...");
    EXPECT_EQ(events[2].message, "删除固资数据, AMAsset...");
    EXPECT_EQ(events.back().message, "固定资产升级结束");
    std::string runLog = log("固定资产升级");
    EXPECT_NE(runLog.find("升级前账套" + oldSet.name() + ",升级后账套" + newSet.name()),
              std::string::npos);
    EXPECT_NE(runLog.find("升级服务器"), std::string::npos);
    EXPECT_EQ(runLog.find("s3cret"), std::string::npos)
        << "the server is logged without its password";
    EXPECT_NE(runLog.find("固定资产升级成功,耗时:"), std::string::npos);
}

// A second run empties what the first wrote and gives the same rows; the
// creation columns it adds again are already there (ORA-01430).
TEST_F(Update, RerunGivesTheSameResult) {
    earlierReleaseCompany();
    ASSERT_TRUE(execute()) << errors;
    const std::string snapshot =
        "Select lngAMAssetAlterID || '/' || strAMAssetName || '/' || dblAmount From"
        " [NewUser]AMAssetAlter Order By 1";
    std::string first = value(snapshot), labels = count("[NewUser]AMAssetLabelAlter");
    ASSERT_TRUE(execute()) << errors;
    EXPECT_EQ(value(snapshot), first);
    EXPECT_EQ(count("[NewUser]AMAssetLabelAlter"), labels);
    EXPECT_NE(test::ErrorOf(*conn, ReplaceSchema("Alter Table [NewUser]AMAsset Add (strCreateDate"
                                                 " Varchar2(10) Default ' ' Not Null)"))
                  .find("ORA-01430"),
              std::string::npos);
}

// A statement failing late leaves the new schema as it was, and the blank
// other cards written into the old schema are gone again.
TEST_F(Update, FailureMidRunLeavesBothSchemasUntouched) {
    earlierReleaseCompany();
    ASSERT_TRUE(execute()) << errors;
    std::string before = value("Select lngAMAssetID From [NewUser]AMAsset Order By 1");
    old("Delete From [OldUser]AMAssetOther Where lngAMAssetID = 2");
    old("Insert Into [OldUser]AMAsset Values (3, 'K003', 'A003', '2024-03-01', 0, 301, 301, 1, 0)");
    alteration("301, 3, 1, 2024, 3, '2024-03-01', 'N-3', '叉车', 10, 2, 3, 0, 50000, 50000");
    newSet.connect()->session().runScript(
        "CREATE FUNCTION " + newSet.name() +
        ".refuse() RETURNS trigger LANGUAGE plpgsql AS"
        " $$BEGIN RAISE EXCEPTION 'injected'; END$$; CREATE TRIGGER refuse BEFORE INSERT ON " +
        newSet.name() + ".AMAssetLabelAlter FOR EACH ROW EXECUTE FUNCTION " + newSet.name() +
        ".refuse();");

    EXPECT_FALSE(execute());
    EXPECT_EQ(errors.rfind("升级固定资产变动数据出错！", 0), 0u) << errors;
    EXPECT_NE(errors.find("injected"), std::string::npos);
    EXPECT_EQ(value("Select lngAMAssetID From [NewUser]AMAsset Order By 1"), before);
    EXPECT_EQ(count("[OldUser]AMAssetOther"), "2");
    EXPECT_NE(log("固定资产升级").find("升级失败原因:"), std::string::npos);
}

// Templates get the system template of their receipt type, the versions the
// template of their kind; group 6 reports under menu 76 move under 56.
TEST_F(Update, TemplateAndReportFixUps) {
    earlierReleaseCompany();
    old("Update [NewUser]Template Set lngSysTemplateID = 0 Where lngReceiptTypeID = 51");
    old("Update [OldUser]AMAssetAlter Set blnIsInit = 1 Where lngAMAssetAlterID = 201");
    old("Insert Into [NewUser]MenuSchemeDetail (lngMenuSchemeDetailID, lngMenuID) Values (1, 76)");
    old("Insert Into [NewUser]Report (lngReportID, bytGroup, lngParentID, lngViewID) Values"
        " (1, 6, 76, 60001)");
    old("Insert Into [NewUser]Report (lngReportID, bytGroup, lngParentID, lngViewID) Values"
        " (2, 6, 76, 500)");
    ASSERT_TRUE(execute()) << errors;
    EXPECT_EQ(value("Select lngReceiptTypeID || ':' || lngSysTemplateID From [NewUser]Template"
                    " Order By lngTemplateID"),
              "48:4044,49:4046,50:4045,51:4047,52:0,53:4048");
    EXPECT_EQ(value("Select lngTemplateID From [NewUser]AMAssetAlter Order By lngAMAssetAlterID"),
              "1,3,6,1");
    EXPECT_EQ(value("Select lngParentID || ':' || blnIsDetail From [NewUser]Report Order By 1"),
              "56:1,76:0");
}

// A register of this component's own is brought up to date in place.
TEST_F(Update, MaintenanceOfTheRegisterInPlace) {
    earlierReleaseCompany();
    ASSERT_TRUE(execute()) << errors;
    old("Update [NewUser]AMAsset Set strCreateDate = ' '");
    old("Update [NewUser]AMAssetAlter Set lngTemplateID = 5 Where lngAMAssetAlterID = 102");
    old("Update [NewUser]AMAssetOther Set strAssetModel = 'M2' Where lngAMAssetID = 1");
    setVersions("a.83.20130430", "a.83.20130430");
    ASSERT_TRUE(execute()) << errors;
    EXPECT_EQ(update.TotalProgress, 3);
    EXPECT_EQ(value("Select strCreateDate || ':' || lngCardTemplateID From [NewUser]AMAsset"
                    " Order By lngAMAssetID"),
              "2024-01-15:4,2024-02-10:4,2024-03-05:4");
    EXPECT_EQ(value("Select lngTemplateID From [NewUser]AMAssetAlter Order By lngAMAssetAlterID"),
              "1,3,1,1");
    EXPECT_EQ(value("Select strStyleModel From [NewUser]AMAssetOther Order By lngAMAssetID"),
              "CK6140-M2, , ");
    EXPECT_EQ(value("Select strStyleModel From [NewUser]AMAssetOtherAlter"
                    " Where lngAMAssetOtherAlterID = 101"),
              "CK6140");
    // Only the lathe and the copier are depreciated by time and never were:
    // uncounted events.
    std::vector<std::string> recalculated;
    for (size_t i = 1; i < events.size(); ++i)
        if (events[i].message.starts_with("重新计算折旧"))
            recalculated.push_back(events[i].message + "@" +
                                   std::to_string(events[i].progress - events[i - 1].progress));
    EXPECT_EQ(recalculated, (std::vector<std::string>{"重新计算折旧...(1/2) A001 数控车床@0",
                                                      "重新计算折旧...(2/2) B001 复印机@0"}));
}

// Inside the host's own transaction the run neither commits nor rolls back.
TEST_F(Update, HostTransactionIsLeftToTheHost) {
    earlierReleaseCompany();
    conn->BeginTrans();
    ASSERT_TRUE(execute()) << errors;
    EXPECT_TRUE(conn->session().inTransaction());
    EXPECT_EQ(count("[NewUser]AMAsset"), "3");
    conn->RollbackTrans();
    EXPECT_EQ(count("[NewUser]AMAsset"), "0");
}

}  // namespace
}  // namespace tk::am
