// The carry-forward tests' fixture: a year of books with every kind of asset
// the engine knows, and the next account set to carry it into.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DepreciationFixture.hpp"
#include "carryforward/clsAMAssetTurn.hpp"
#include "provision/CrossSetAccess.hpp"

namespace tk::am::test {

// A year of books in one account set (2024, every kind of asset the engine
// knows) and the next account set to carry it into.
class CarryForwardTest : public DepreciationTest {
  protected:
    CarryForwardTest();
    ~CarryForwardTest() override;

    tk::test::TestAccountSet next{"next", true};
    // The component's logs go to a folder of the test's own.
    std::filesystem::path logFolder;
    std::string Log(const std::string& name) const;
    std::shared_ptr<connect::Connection> nextConn = next.connect();
    // The next set's login reads this one from UseNew on, as a run's would.
    std::optional<CrossSetAccess> readOld;

    struct Assets {
        int32_t straightLine = 0, declining = 0, sumOfYears = 0, workload = 0, fixedDeclining = 0,
                notDepreciated = 0, impaired = 0, transferred = 0, disposed = 0, administrative = 0;
    };
    Assets assets;

    // Adds the assets, their changes and work, and closes January to December
    // 2024; the straight-line asset has a label, other card, custom fields,
    // auxiliary equipment, a document and an image, account lines (70% to
    // production, 30% to the general office) and cost lines in US dollars
    // (fund 1, at 7.1) and Kuwaiti dinars (fund 2, three decimals, at 23.456).
    void BuildYear();
    void AddRecords(int32_t asset);
    void AddFundLines(int32_t asset);
    // Organisation 2's own year in the same set: assets with account and cost
    // lines, a change, every period closed and apportioned.
    static constexpr int32_t kOther = 2;
    void BuildOtherYear();
    // A carry-forward object set up for 2025-01-01 from this set into the next.
    clsAMAssetTurn Turn(const std::string& startDate = "2024-01-01", int32_t org = kOrg);
    // The thread works on the old or the new account set; the new one is
    // granted what the carry-forward reads in the old one as it stands now.
    void UseOld();
    void UseNew();
    // Runs `work` with the depreciation fixture's helpers on the new set.
    void InNewSet(const std::function<void()>& work);

    // Every row of a table of the new account set, as sorted texts.
    std::vector<std::string> Rows(const std::string& table, const std::string& except = "");
    // Every sequence of the new account set with its value.
    std::map<std::string, std::string> Sequences();
    // The tables a carry-forward writes, and the summary table.
    static const std::vector<std::string>& TurnTables();
    double NewScalar(const std::string& sql);

    // What the new account set holds: the rows of every table a carry-forward
    // writes (without the columns named in `drawnIds`) and its sequences' values.
    struct Image {
        std::map<std::string, std::vector<std::string>> tables;
        std::map<std::string, std::string> sequences;
    };
    Image NewImage(const std::string& drawnIds = "");
};

}  // namespace tk::am::test
