// The three process classes as the host drives them: the calling contract,
// results and logs, late binding, the online-device copies and the
// failure paths of the posting process.
#include <filesystem>
#include <fstream>

#include "DepreciationFixture.hpp"
#include "depreciation/clsAMAssetAmortise.hpp"
#include "depreciation/clsAMAssetDaily.hpp"
#include "frame/ClassRegistry.hpp"
#include "frame/ComponentFolder.hpp"
#include "frame/Context.hpp"

namespace tk::am::test {
namespace {

namespace fs = std::filesystem;
using Args = Dispatchable::Args;

class LoggedTest : public DepreciationTest {
  protected:
    explicit LoggedTest(bool onlineDevice = false) : DepreciationTest(onlineDevice) {
        fs::remove_all(folder);
        SetComponentFolder(folder);
    }
    ~LoggedTest() override { fs::remove_all(folder); }

    std::string Log() {
        std::ifstream in(folder / "log" / (ComponentName() + ".log"), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Replaces a stored function of the account set by one that returns `result`.
    void StubFunction(const std::string& name, const std::string& parameters, int result) {
        accountSet.admin("DROP FUNCTION " + name + "(" + parameters + "); CREATE FUNCTION " + name +
                         "(" + parameters + ") RETURNS double precision LANGUAGE sql AS 'SELECT " +
                         std::to_string(result) + "::float8'");
    }

    fs::path folder = fs::temp_directory_path() /
                      ("tkam-depr-" + std::to_string(getpid()) + "-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

using ClassTest = LoggedTest;

TEST_F(ClassTest, TheResultIsTrueExactlyWhenTheRoutineReturnsZero) {
    int32_t asset = AddAsset(AssetPlan::Of(2, 1200, 0, 12));
    EXPECT_FALSE(depreciation.CaclDeprectionAdd(0, asset, 2))
        << "the asset belongs to organisation 1";
    EXPECT_FALSE(depreciation.CaclDeprectionAdd(0, asset + 1000, kOrg));
    EXPECT_TRUE(depreciation.CaclDeprectionAlter(1, asset, kOrg));
    StubFunction("AMAssetCalcDec", "integer, integer, integer", 7);
    EXPECT_FALSE(depreciation.CaclDeprectionDec(0, asset, kOrg));
    EXPECT_EQ(Log(), "") << "a non-zero result is not logged";
}

TEST_F(ClassTest, ABlankUserAddressesTheLoginsSchema) {
    int32_t asset = AddAsset(AssetPlan::Of(2, 1200, 0, 12));
    context().User = "  ";
    EXPECT_TRUE(depreciation.CaclDeprectionAlter(0, asset, kOrg));
    EXPECT_TRUE(depreciation.WriteBalance(0, 2024, 1, "2024-01-31", "计提折旧", false, 0, 1, kOrg));
}

TEST_F(ClassTest, RunTimeErrorsAreLoggedUnderTheOperationOrRoutine) {
    int32_t asset = AddAsset(AssetPlan::Of(2, 1200, 0, 12));
    EXPECT_FALSE(depreciation.WriteBalance(0, 2024, 1, "2024-01-31", std::string(61, 'x'), false, 0,
                                           1, kOrg))
        << "a name longer than its declared 60 characters";
    EXPECT_NE(Log().find("AMAssetDeprection\r\n"), std::string::npos);
    context().User = "no_such_account_set";
    EXPECT_FALSE(depreciation.CaclDeprectionWork(0, 2024, 1, asset, 1, kOrg));
    EXPECT_FALSE(depreciation.WriteDaily(2024, 1, 0, false, false, Variant(kOrg)));
    std::string log = Log();
    EXPECT_NE(log.find("CaclDeprectionWork\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("AMAssetActDaily\r\n"), std::string::npos) << log;
}

TEST_F(ClassTest, ByNameTheOptionalArgumentsMayBeLeftOut) {
    int32_t asset = AddAsset(AssetPlan::Of(2, 1200, 0, 12));
    context() = Context{};
    auto object = ClassRegistry::instance().create("TkAMAssetInt.clsAMAssetDeprection");
    Args none;
    object->assign("User", none, Variant(accountSet.name()));
    object->assign("ConnBase", none, Variant(std::static_pointer_cast<Dispatchable>(conn)));
    Args add = {Variant(int16_t{0}), Variant(asset), Variant(kOrg)};
    EXPECT_EQ(object->invoke("CaclDeprectionAdd", add), Variant(true));
    Args balance = {Variant(int16_t{0}), Variant(int16_t{2024}), Variant(int16_t{2})};
    EXPECT_EQ(object->invoke("WriteBalance", balance), Variant(true))
        << "the optional arguments left out";
}

TEST_F(ClassTest, APostingThatFailsEndsTheRebuildWithItsLabel) {
    AddAsset(AssetPlan::Of(2, 1200, 0, 12));
    RunPeriod(2024, 1);
    StubFunction("AMAssetActDaily", "integer, integer, integer, integer, integer, integer", 1);
    clsAMAssetDaily daily;
    std::string message = "前:";
    EXPECT_FALSE(daily.Execute(kOrg, message));
    EXPECT_EQ(message, "前:ExecuteAMAssetDaily:");
    EXPECT_EQ(Scalar("Select Count(*) From AMAssetFundDaily"), 0)
        << "the deleted journal stays deleted";
}

TEST_F(ClassTest, RunTimeErrorsInTheRebuildAndTheApportionmentAreReportedAsEachSays) {
    clsAMAssetDaily daily;
    context().NewUser = "no_such_account_set";
    std::string message;
    EXPECT_FALSE(daily.Execute(0, message));
    EXPECT_EQ(message.rfind("ExecuteAMAssetDaily:#", 0), 0u) << message;

    // The apportionment logs its routine and never writes the message.
    clsAMAssetAmortise amortise;
    message = "unchanged";
    context().User = "no_such_account_set";
    EXPECT_FALSE(amortise.Execute(kOrg, message));
    EXPECT_EQ(message, "unchanged");
    EXPECT_NE(Log().find("AMAssetAmortise\r\n"), std::string::npos);
}

TEST_F(ClassTest, WithoutTheOnlineDeviceModuleNothingIsSynchronised) {
    int32_t asset = AddAsset(AssetPlan::Of(2, 1200, 0, 12));
    EXPECT_TRUE(depreciation.WriteEquipment(1, asset, kOrg, false));
    EXPECT_TRUE(depreciation.WriteEquipment(1, 0, kOrg, true));
    EXPECT_EQ(Log(), "");
}

class OnlineDeviceTest : public LoggedTest {
  protected:
    OnlineDeviceTest() : LoggedTest(true) {
        std::ifstream in(fs::path(TKAM_DB_DIR) / "optional" / "online_device_routines.sql");
        accountSet.admin({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    }
    double Count(const std::string& table, const std::string& where = "1 = 1") {
        return Scalar("Select Count(*) From " + table + " Where " + where);
    }
};

TEST_F(OnlineDeviceTest, AnOpeningRecordAndEveryRunReachTheCopies) {
    AssetPlan plan = AssetPlan::Of(2, 1200, 0, 12);
    plan.opening = true;
    int32_t opening = AddAsset(plan);
    int32_t added = AddAsset(AssetPlan::Of(2, 2400, 0, 12));
    EXPECT_EQ(Count("ER_AmAsset", "blnIsInit = 1 And lngAMAssetID = " + std::to_string(opening)),
              1);
    EXPECT_EQ(Count("ER_AmAsset", "lngAMAssetID = " + std::to_string(added)), 0)
        << "only an opening record is copied when it is added";
    EXPECT_TRUE(depreciation.WriteBalance(1, 2024, 1, "2024-01-31", "计提折旧", false, 0, 1, kOrg));
    EXPECT_EQ(Count("ER_Depreciation", "blnIsInit = 1"), 2);
    EXPECT_TRUE(depreciation.WriteBalance(0, 2024, 2, "2024-02-29", "计提折旧", false, 0, 1, kOrg));
    EXPECT_EQ(Scalar("Select Sum(dblDepreciation) From ER_Depreciation Where bytPeriod = 2 And "
                     "blnIsInit = 0"),
              300);
    EXPECT_TRUE(depreciation.CaclDeprectionAlter(2, added, kOrg));
    EXPECT_EQ(Count("ER_AmAsset", "blnIsInit = 0 And lngAMAssetID = " + std::to_string(added)), 1);
    EXPECT_EQ(Log(), "");
}

TEST_F(OnlineDeviceTest, AFailingProcedureSkipsTheRestAndNeverFailsTheCaller) {
    int32_t asset = AddAsset(AssetPlan::Of(2, 1200, 0, 12));
    Execute("Insert Into AMAssetAux(lngAMAssetID, lngAMAssetAuxID, strAMAssetAuxName) Values(" +
            std::to_string(asset) + ", 1, '电源')");
    accountSet.admin("DROP PROCEDURE UpdateER_AmAssetOther(integer)");
    EXPECT_TRUE(depreciation.CaclDeprectionDec(2, asset, kOrg));
    EXPECT_EQ(Count("ER_AmAsset"), 1);
    EXPECT_EQ(Count("ER_AUX"), 0);
    EXPECT_NE(Log().find("同步线上设备错误,"), std::string::npos);
}

}  // namespace
}  // namespace tk::am::test
