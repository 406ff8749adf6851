// Builds the year of books the carry-forward tests carry over, switches the
// thread between the two sets, and reads back what the new set holds.
#include "CarryForwardFixture.hpp"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "depreciation/clsAMAssetAmortise.hpp"
#include "frame/ComponentFolder.hpp"
#include "frame/Context.hpp"
#include "frame/Conversion.hpp"

namespace tk::am::test {

CarryForwardTest::CarryForwardTest()
    : logFolder(std::filesystem::temp_directory_path() /
                ("carry-forward-test-" + std::to_string(getpid()))) {
    SetComponentFolder(logFolder);
}

CarryForwardTest::~CarryForwardTest() {
    SetComponentFolder({});
    std::filesystem::remove_all(logFolder);
}

std::string CarryForwardTest::Log(const std::string& name) const {
    return tk::test::ReadFile(logFolder / "log" / (name + ".log"));
}

void CarryForwardTest::BuildYear() {
    // The next account set keeps the next year's books only.
    tk::test::ExecuteOk(*nextConn, "Delete From AccountPeriod Where intYear < 2025");
    UsePublicSectorRule(conn.get());
    UsePublicSectorRule(nextConn.get());
    AssetPlan straight = AssetPlan::Of(2, 120000, 6000, 120);
    straight.fundCosts = {72000, 48000};
    assets.straightLine = AddAsset(straight);
    AssetPlan declining = AssetPlan::Of(4, 50000, 2000, 60);
    declining.period = 5;
    declining.fundCosts = {20000, 20000, 10000};
    AssetPlan sumOfYears = AssetPlan::Of(5, 36000, 1800, 36);
    sumOfYears.period = 3;
    AssetPlan workload = AssetPlan::Of(3, 80000, 0, 100000);
    AssetPlan fixed = AssetPlan::Of(6, 40000, 4000, 48);
    fixed.period = 2;
    assets.workload = AddAsset(workload);
    assets.fixedDeclining = AddAsset(fixed);
    assets.notDepreciated = AddAsset(AssetPlan::Of(1, 9000, 0, 0));
    assets.impaired = AddAsset(AssetPlan::Of(2, 60000, 3000, 60));
    assets.transferred = AddAsset(AssetPlan::Of(2, 24000, 0, 24));
    assets.disposed = AddAsset(AssetPlan::Of(2, 12000, 600, 60));
    for (int16_t period = 1; period <= 12; ++period) {
        if (period == 3) assets.sumOfYears = AddAsset(sumOfYears);
        if (period == 5) assets.declining = AddAsset(declining);
        if (period == 6) Alter(assets.impaired, {.period = 6, .impairmentChange = 5000});
        if (period == 7) Alter(assets.transferred, {.period = 7, .department = 4});
        if (period == 12) {
            // Changes of the last month take effect in the new set's first: an
            // impairment starts a new schedule there, a transfer keeps the old one.
            Alter(assets.impaired, {.period = 12, .impairmentChange = 2000});
            Alter(assets.declining, {.period = 12, .department = 4});
            AssetPlan administrative = AssetPlan::Of(2, 33359.72, 0, 60, 22);
            administrative.period = 12;
            administrative.fundCosts = {20000, 13359.72};
            assets.administrative = AddAsset(administrative);
        }
        if (period == 9) Alter(assets.disposed, {.period = 9, .alterType = 2});
        RecordWork(assets.workload, 2024, period, 1000 + 100 * period);
        RunPeriod(2024, period);
    }
    AddRecords(assets.straightLine);
    for (auto* set : {conn.get(), nextConn.get()})
        tk::test::ExecuteOk(*set,
                            "Insert Into Currencys (lngCurrencyID, strCurrencyCode, "
                            "strCurrencyName, bytCurrencyDec, bytRateDec, blnIsIndirect, dblRate) "
                            "Select 2, 'USD', '美元', 2, 4, 0, 7.1 From Dual Union All "
                            "Select 3, 'KWD', '科威特第纳尔', 3, 4, 0, 23.456 From Dual");
    AddFundLines(assets.straightLine);
}

void CarryForwardTest::AddFundLines(int32_t asset) {
    const std::string versions =
        " From AMAssetFundAlter fa Where fa.lngAMAssetID = " + std::to_string(asset);
    Execute(
        "Insert Into AMAssetFundAccAlter (lngAMAssetFundAccAlterID, lngAMAssetFundAlterID, "
        "lngAccountID, lngDepartmentID, lngOrderNo, dblQuotiety, dblRate) Select "
        "AMAssetFundAccAlter_SEQ.NEXTVAL, fa.lngAMAssetFundAlterID, l.account, l.department, "
        "l.orderNo, 1, l.rate From (Select 13 account, 3 department, 1 orderNo, 70 rate From Dual "
        "Union All Select 18, 1, 2, 30 From Dual) l, AMAssetFundAlter fa Where fa.lngAMAssetID = " +
        std::to_string(asset));
    Execute(
        "Insert Into AMAssetFundCostAlter (lngAMAssetFundCostAlterID, lngAMAssetFundAlterID, "
        "lngCurrencyID, dblRate, dblCurrAmount, dblAmount) Select "
        "AMAssetFundCostAlter_SEQ.NEXTVAL, fa.lngAMAssetFundAlterID, fa.lngAMFundID + 1, "
        "Decode(fa.lngAMFundID, 1, 7.1, 23.456), Round(fa.dblAmount / Decode(fa.lngAMFundID, 1, "
        "7.1, 23.456), Decode(fa.lngAMFundID, 1, 2, 3)), fa.dblAmount" +
        versions);
}

void CarryForwardTest::BuildOtherYear() {
    AssetPlan van = AssetPlan::Of(2, 48000, 2400, 48);
    van.org = kOther;
    van.department = 7;
    van.fundCosts = {30000, 18000};
    const int32_t vehicle = AddAsset(van);
    AssetPlan copier = AssetPlan::Of(5, 36000, 0, 36);
    copier.org = kOther;
    copier.department = 6;
    copier.period = 4;
    for (int16_t period = 1; period <= 12; ++period) {
        if (period == 4) AddAsset(copier);
        if (period == 8) Alter(vehicle, {.period = 8, .department = 8});
        RunPeriod(2024, period, kOther);
        std::string message;
        EXPECT_TRUE(clsAMAssetAmortise().Execute(kOther, message));
    }
    AddFundLines(vehicle);
}

void CarryForwardTest::AddRecords(int32_t asset) {
    const std::string s = accountSet.name() + ".", a = std::to_string(asset),
                      version = "(Select lngAMAssetLastAlterID From " + s +
                                "AMAsset Where lngAMAssetID = " + a + ")";
    accountSet.admin(
        "INSERT INTO " + s +
        "AMAssetLabel (lngAMAssetID, lngAMAssetLabelID, strAMAssetLabelNo, "
        "lngAMAssetLabelInitAlterID, lngAMAssetLabelLastAlterID, lngOrganizationID) VALUES (" +
        a + ", 1, 'L1', 1, 1, 1);INSERT INTO " + s +
        "AMAssetLabelAlter (lngAMAssetID, lngAMAssetLabelID, lngAMAssetLabelAlterID, "
        "lngAMAssetAlterID, strAMAssetLabelNo, intYear, bytPeriod, bytAlterType, "
        "lngOrganizationID) SELECT " +
        a + ", 1, 1, " + version + ", 'L1', 2024, 1, 1, 1;INSERT INTO " + s +
        "AMAssetLabelCustom (lngAMAssetLabelID, strText1) VALUES (1, '铭牌');INSERT INTO " + s +
        "AMAssetOther (lngAMAssetID, lngAMAssetOtherInitAlterID, lngAMAssetOtherLastAlterID, "
        "strOwner) VALUES (" +
        a + ", 1, 1, '王工');INSERT INTO " + s +
        "AMAssetOtherAlter (lngAMAssetOtherAlterID, lngAMAssetID, lngAMAssetAlterID, intYear, "
        "bytPeriod, bytAlterType, strOwner) SELECT 1, " +
        a + ", " + version + ", 2024, 1, 1, '王工';INSERT INTO " + s +
        "AMAssetCustom (lngAMAssetID, strCustom1) VALUES (" + a + ", '进口');INSERT INTO " + s +
        "AMAssetAux (lngAMAssetID, lngAMAssetAuxID, strAMAssetAuxCode, strAMAssetAuxName) "
        "VALUES (" +
        a + ", 1, 'F1', '刀架');INSERT INTO " + s +
        "AMAssetDocument (lngAMAssetDocumentID, lngAMAssetID, strDocumentName, blbDocument) "
        "VALUES (1, " +
        a + ", '发票', '\\x00ff10'::bytea);INSERT INTO " + s +
        "AMAssetImage (lngAMAssetImageID, lngAMAssetID, strImageName, blbImage) VALUES (1, " + a +
        ", '照片', '\\x89504e47'::bytea);");
}

void CarryForwardTest::UseOld() {
    context().User = accountSet.name();
    context().ConnBase = conn;
}

void CarryForwardTest::UseNew() {
    readOld.reset();
    readOld.emplace(tk::test::adminServer(), accountSet.name(), next.name());
    context().OldUser = accountSet.name();
    context().User = context().NewUser = next.name();
    context().ConnBase = nextConn;
}

void CarryForwardTest::InNewSet(const std::function<void()>& work) {
    UseNew();
    std::swap(conn, nextConn);
    try {
        work();
    } catch (...) {
        std::swap(conn, nextConn);
        throw;
    }
    std::swap(conn, nextConn);
    UseOld();
}

clsAMAssetTurn CarryForwardTest::Turn(const std::string& startDate, int32_t org) {
    UseNew();
    clsAMAssetTurn turn;
    turn.scope.organization = org;
    turn.scope.turnDate = "2025-01-01";
    turn.scope.startDate = startDate;
    turn.scope.turnYear = 2025;
    turn.scope.turnPeriod = 1;
    return turn;
}

const std::vector<std::string>& CarryForwardTest::TurnTables() {
    static const std::vector<std::string> tables = [] {
        std::istringstream names(
            "AMAsset AMAssetAlter AMAssetFund AMAssetFundAlter AMAssetFundCostAlter "
            "AMAssetFundAccAlter AMAssetFundBalance AMAssetFundBalanceEx AMAssetFundBasis "
            "AMAssetFundBalanceAmortise AMAssetFundBalanceAmortiseEx AMAssetFundDaily "
            "AMAssetDepreciation AMAssetOther AMAssetOtherAlter AMAssetLabel AMAssetLabelAlter "
            "AMAssetLabelCustom AMAssetCustom AMAssetAux AMAssetDocument AMAssetImage");
        return std::vector<std::string>(std::istream_iterator<std::string>(names), {});
    }();
    return tables;
}

std::vector<std::string> CarryForwardTest::Rows(const std::string& table,
                                                const std::string& except) {
    return tk::test::SortedRows(*nextConn, "Select * From " + next.name() + "." + table, except);
}

std::map<std::string, std::string> CarryForwardTest::Sequences() {
    auto rs = nextConn->GetRecordset(
        "Select sequencename, Nvl(last_value, 0) From pg_sequences Where schemaname = '" +
            lowerAscii(next.name()) + "'",
        3, 1);
    std::map<std::string, std::string> values;
    for (; !rs->eof(); rs->moveNext()) values[rs->field(0).toText()] = rs->field(1).toText();
    return values;
}

double CarryForwardTest::NewScalar(const std::string& sql) {
    auto rs = nextConn->GetRecordset(sql, 3, 1);
    if (rs->eof() || rs->field(0).isNull()) return 0;
    return rs->field(0).toDouble();
}

CarryForwardTest::Image CarryForwardTest::NewImage(const std::string& drawnIds) {
    Image image;
    for (const std::string& table : TurnTables()) image.tables[table] = Rows(table, drawnIds);
    image.tables["summary"] =
        NewScalar("Select Count(*) From all_tables Where owner = '" + UpperAscii(next.name()) +
                  "' And table_name = 'AMASSETDAILY_1'") > 0
            ? Rows("AMAssetDaily_1")
            : std::vector<std::string>{};
    image.sequences = Sequences();
    return image;
}

}  // namespace tk::am::test
