// The self-service platform's carry-forward: open requests and reductions
// come over, closed ones stay behind, another organisation's rows are left alone.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "CarryForwardFixture.hpp"
#include "OrganizationRows.hpp"
#include "carryforward/clsAMAssetOnlineTurn.hpp"

namespace tk::am::test {
namespace {

class TurnOnlineTest : public CarryForwardTest {
  protected:
    void AddPlatform(const std::string& schema) {
        accountSet.admin(
            "SET ROLE " + schema + "; SET search_path TO " + schema + ", oracompat, public;" +
            tk::test::ReadFile(std::string(TKAM_DB_DIR) + "/optional/self_service.sql"));
    }

    bool RunOnlineTurn(std::string& message) {
        UseNew();
        clsAMAssetOnlineTurn turn;
        turn.scope.organization = kOrg;
        turn.scope.turnDate = "2025-01-01";
        turn.scope.startDate = "2025-01-01";
        return turn.Execute(message);
    }

    // One row of `values` each, into the table and columns named.
    void InsertRows(const std::string& into, std::initializer_list<const char*> rows) {
        for (const char* values : rows) Execute("Insert Into " + into + " Values (" + values + ")");
    }

    std::string Ids(const std::string& table, const std::string& key) {
        auto rs = nextConn->GetRecordset(
            "Select " + key + " From " + next.name() + "." + table + " Order By 1", 3, 1);
        std::string ids;
        for (; !rs->eof(); rs->moveNext()) ids += rs->field(0).toText() + " ";
        return ids;
    }
};

TEST_F(TurnOnlineTest, NotInUseUnlessBothSetsHaveThePlatform) {
    std::string message;
    EXPECT_TRUE(RunOnlineTurn(message));
    AddPlatform(accountSet.name());
    EXPECT_TRUE(RunOnlineTurn(message));
    EXPECT_EQ(message, "");
    EXPECT_FALSE(std::filesystem::exists(logFolder / "log" / "资产自助管理平台结转.log"));
}

// Open requests and open detail rows come over; closed ones, and requests
// left without detail rows, stay behind; another organisation's are kept.
TEST_F(TurnOnlineTest, OpenRequestsAreCarriedAndClosedOnesLeftBehind) {
    AddPlatform(accountSet.name());
    AddPlatform(next.name());
    Execute("Insert Into AlterType (lngAlterTypeID) Values (1)");
    Execute("Insert Into AMAssetAlterItem (lngAMAssetAlterItemID, lngAlterTypeID) Values (1, 1)");
    // Requests: 1 open, 2 closed, 3 open with closed details only, 4 closed in organisation 2.
    InsertRows("AMAssetAlterRequest (lngAlterRequestID, blnIsClose, lngOrganizationID)",
               {"1, 0, 1", "2, 1, 1", "3, 0, 1", "4, 1, 2"});
    InsertRows("AMAssetAlterReqBaseDetail (lngAlterReqBaseDetailID, lngAlterRequestID, blnIsClose)",
               {"11, 1, 0", "12, 2, 0", "13, 4, 0"});
    InsertRows(
        "AMAssetAlterReqEntityDetail (lngAlterReqEntityDetailID, lngAlterRequestID, blnIsClose)",
        {"21, 1, 1", "22, 3, 1"});
    // Reductions: 5 closed, 6 open with a closed detail only, 7 open.
    InsertRows("AMAssetAlterReduce (lngAlterReduceID, blnIsClose, lngOrganizationID)",
               {"5, 1, 1", "6, 0, 1", "7, 0, 1"});
    InsertRows("AMAssetAlterRedBaseDetail (lngAlterRedBaseDetailID, lngAlterReduceID, blnIsClose)",
               {"31, 5, 0", "32, 6, 1", "33, 7, 0"});

    // Organisation 2 carried its own open request 8 already.
    accountSet.admin("INSERT INTO " + next.name() +
                     ".AMAssetAlterRequest (lngAlterRequestID, blnIsClose, lngOrganizationID) "
                     "VALUES (8, 0, 2)");
    const auto oldRows = tk::test::RowsOfOrganization(accountSet.name(), 2);
    const auto newRows = tk::test::RowsOfOrganization(next.name(), 2);

    std::string message;
    ASSERT_TRUE(RunOnlineTurn(message)) << message;
    EXPECT_EQ(tk::test::ChangedRows(oldRows, tk::test::RowsOfOrganization(accountSet.name(), 2)),
              "");
    EXPECT_EQ(tk::test::GoneRows(newRows, tk::test::RowsOfOrganization(next.name(), 2)), "")
        << "organisation 2's rows are copied, never changed or deleted";
    EXPECT_EQ(Ids("AMAssetAlterItem", "lngAMAssetAlterItemID"), "1 ");
    EXPECT_EQ(Ids("AMAssetAlterRequest", "lngAlterRequestID"), "1 4 8 ");
    EXPECT_EQ(Ids("AMAssetAlterReqBaseDetail", "lngAlterReqBaseDetailID"), "11 13 ");
    EXPECT_EQ(Ids("AMAssetAlterReqEntityDetail", "lngAlterReqEntityDetailID"), "");
    EXPECT_EQ(Ids("AMAssetAlterReduce", "lngAlterReduceID"), "7 ");
    EXPECT_EQ(Ids("AMAssetAlterRedBaseDetail", "lngAlterRedBaseDetailID"), "33 ");
    const std::string log = Log("资产自助管理平台结转");
    EXPECT_NE(log.find("资产自助管理平台开始结转:\r\n"), std::string::npos);
    EXPECT_NE(log.find("新账套机构启用日期2025-01-01\r\n错误信息:\r\n"), std::string::npos);

    // Again: the rows already there are kept, the closed ones go again.
    ASSERT_TRUE(RunOnlineTurn(message)) << message;
    EXPECT_EQ(Ids("AMAssetAlterRequest", "lngAlterRequestID"), "1 4 8 ");
}

}  // namespace
}  // namespace tk::am::test
