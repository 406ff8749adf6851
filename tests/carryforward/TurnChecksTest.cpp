// What a carry-forward checks before it runs: each refusal with its reason and
// log entry, an organisation with nothing to carry, and a host calling by name.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "CarryForwardFixture.hpp"
#include "frame/Context.hpp"
#include "tkam/tkam.h"

namespace tk::am::test {
namespace {

class TurnChecksTest : public CarryForwardTest {
  protected:
    std::string TurnLog() const { return Log("固定资产结转"); }

    // Check and Execute both refuse, with this reason, and the failure is logged.
    void ExpectRefused(const std::string& reason) {
        clsAMAssetTurn turn = Turn();
        std::string message;
        EXPECT_FALSE(turn.Check(message));
        EXPECT_EQ(message, reason);
        message.clear();
        EXPECT_FALSE(turn.Execute(message));
        EXPECT_EQ(message, reason);
        EXPECT_NE(TurnLog().find("固定资产结转失败:\r\n"), std::string::npos);
        EXPECT_NE(TurnLog().find("结转失败原因:\r\n" + reason + "\r\n\r\n"), std::string::npos);
        EXPECT_EQ(NewScalar("Select Count(*) From " + next.name() + ".AMAsset"), 0);
        UseOld();
    }
};

TEST_F(TurnChecksTest, AnOrganisationWithoutAssetsNeedsNothingAndLogsNothing) {
    clsAMAssetTurn turn = Turn();
    std::string message = "untouched";
    EXPECT_TRUE(turn.Check(message));
    EXPECT_TRUE(turn.Execute(message));
    EXPECT_EQ(message, "untouched");
    EXPECT_FALSE(std::filesystem::exists(logFolder / "log" / "固定资产结转.log"));
}

TEST_F(TurnChecksTest, EachPreconditionRefusesWithItsReason) {
    BuildYear();
    // No old period ends the day before the carry-forward date (2024-12-31).
    Execute(
        "Update AccountPeriod Set strEndDate = '2024-12-30' Where intYear = 2024 And bytPeriod = "
        "12");
    ExpectRefused("固定资产结转：取结转上一期间失败，当前结转日期：2025-01-01");
    Execute(
        "Update AccountPeriod Set strEndDate = '2024-12-31' Where intYear = 2024 And bytPeriod = "
        "12");

    // An alteration without posting rows.
    Execute(
        "Delete From AMAssetFundDaily Where lngAMAssetAlterID = (Select lngAMAssetLastAlterID "
        "From AMAsset Where lngAMAssetID = " +
        std::to_string(assets.impaired) + ")");
    ExpectRefused("固定资产结转：系统发现结转前账套有固定资产未登账，不能结转！");
}

TEST_F(TurnChecksTest, AnUndepreciatedLastPeriodIsRefusedUnlessNothingIsLeftToDepreciate) {
    AddAsset(AssetPlan::Of(2, 1200, 0, 12));
    RunPeriods(2024, 1, 11);
    ExpectRefused(
        "固定资产结转：结转日期前一个会计期间没有“计提折旧”或计提折旧业务数据，不能结转！");
    RunPeriod(2024, 12);
    clsAMAssetTurn turn = Turn();
    std::string message;
    EXPECT_TRUE(turn.Check(message)) << message;
    EXPECT_TRUE(turn.Execute(message)) << message;
    EXPECT_NE(TurnLog().find("固定资产结转成功:\r\n"), std::string::npos);
    EXPECT_NE(
        TurnLog().find("结转日期2025-01-01\r\n结转年度2025\r\n结转期间1\r\n旧账套机构启用日期2024-"
                       "01-01\r\n错误信息:\r\n"),
        std::string::npos);
}

// An organisation that started in the old set on the carry-forward date has
// nothing of its own there yet: its tables come over whole.
TEST_F(TurnChecksTest, StartingOnTheCarryForwardDateCopiesWholeTables) {
    AssetPlan plan = AssetPlan::Of(2, 5000, 0, 60);
    plan.year = 2025;
    AddAsset(plan);
    EXPECT_TRUE(depreciation.WriteDaily(2025, 1, 0, false, false, Variant(kOrg)));
    clsAMAssetTurn turn = Turn("2025-01-01");
    std::string message;
    ASSERT_TRUE(turn.Execute(message)) << message;
    for (const char* table :
         {"AMAsset", "AMAssetAlter", "AMAssetFund", "AMAssetFundAlter", "AMAssetFundDaily"}) {
        auto old = conn->GetRecordset(std::string("Select Count(*) From ") + table, 3, 1);
        EXPECT_EQ(NewScalar("Select Count(*) From " + next.name() + "." + table),
                  old->field(0).toDouble())
            << table;
    }
    EXPECT_EQ(TurnLog().find("固定资产结转成功"), std::string::npos);
    EXPECT_NE(TurnLog().find("固定资产开始结转:"), std::string::npos);
}

// A host reaches the object by name: the schema setters set the thread's
// values (NewUser sets User as well), and Check hands back its reason.
TEST_F(TurnChecksTest, AHostDrivesItThroughTheCInterface) {
    BuildYear();
    Execute(
        "Update AccountPeriod Set strEndDate = '2024-12-30' Where intYear = 2024 And bytPeriod = "
        "12");
    UseOld();
    tkam_object* turn = tkam_create("TkAMAssetInt.clsAMAssetTurn");
    ASSERT_NE(turn, nullptr);
    auto put = [turn](const char* name, const std::string& text) {
        tkam_value v{};
        v.type = TKAM_TEXT;
        v.text = text.c_str();
        EXPECT_EQ(tkam_put(turn, name, &v), 0) << name;
    };
    put("OldUser", accountSet.name());
    put("NewUser", next.name());
    EXPECT_EQ(context().User, next.name());
    EXPECT_EQ(context().OldUser, accountSet.name());
    context().ConnBase = nextConn;
    // As the host, grant the run reading the old set.
    readOld.emplace(tk::test::adminServer(), accountSet.name(), next.name());
    tkam_value org{};
    org.type = TKAM_I4;
    org.i = kOrg;
    EXPECT_EQ(tkam_put(turn, "TurnOrganizationID", &org), 0);
    put("TurnDate", "2025-01-01");
    put("StartDate", "2024-01-01");
    tkam_value message{}, result{};
    message.type = TKAM_TEXT;
    message.text = "";
    ASSERT_EQ(tkam_call(turn, "Check", &message, 1, &result), 0);
    EXPECT_EQ(result.i, 0);
    ASSERT_EQ(message.type, TKAM_TEXT);
    EXPECT_EQ(std::string(message.text),
              "固定资产结转：取结转上一期间失败，当前结转日期：2025-01-01");
    tkam_value_clear(&message);
    tkam_value_clear(&result);
    tkam_release(turn);
}

// Logged in as the new set alone, a host's Check fails for want of the old
// set: the message stays as the host left it and the last error says why;
// the grant the host makes through clsAMAssetSetAccess lets the same Check pass.
TEST_F(TurnChecksTest, AHostGrantsTheOldSetThroughTheCInterface) {
    BuildYear();
    UseOld();
    context().OldUser = accountSet.name();
    context().User = context().NewUser = next.name();
    context().ConnBase = nextConn;
    tkam_object* turn = tkam_create("TkAMAssetInt.clsAMAssetTurn");
    ASSERT_NE(turn, nullptr);
    auto put = [](tkam_object* o, const char* name, const std::string& text) {
        tkam_value v{};
        v.type = TKAM_TEXT;
        v.text = text.c_str();
        EXPECT_EQ(tkam_put(o, name, &v), 0) << name;
    };
    tkam_value org{};
    org.type = TKAM_I4;
    org.i = kOrg;
    EXPECT_EQ(tkam_put(turn, "TurnOrganizationID", &org), 0);
    put(turn, "TurnDate", "2025-01-01");
    put(turn, "StartDate", "2024-01-01");
    auto check = [&] {
        tkam_value message{}, result{};
        message.type = TKAM_TEXT;
        message.text = "as the host left it";
        EXPECT_EQ(tkam_call(turn, "Check", &message, 1, &result), 0);
        std::string said = message.text ? message.text : "";
        tkam_value_clear(&message);
        return std::pair{result.i != 0, said};
    };
    auto [passed, message] = check();
    EXPECT_FALSE(passed);
    EXPECT_EQ(message, "as the host left it");
    const char* reason = nullptr;
    EXPECT_NE(tkam_last_error(&reason), 0);
    EXPECT_NE(std::string(reason).find("ORA-01031"), std::string::npos) << reason;

    tkam_object* access = tkam_create("TkAMAssetInt.clsAMAssetSetAccess");
    ASSERT_NE(access, nullptr);
    put(access, "AdminServer", tk::test::adminServer());
    put(access, "FromSet", accountSet.name());
    put(access, "ToSet", next.name());
    ASSERT_EQ(tkam_call(access, "Grant", nullptr, 0, nullptr), 0);
    EXPECT_TRUE(check().first);
    tkam_release(access);  // the grant ends with the object
    EXPECT_FALSE(check().first);
    tkam_release(turn);
}

}  // namespace
}  // namespace tk::am::test
