// A funding version's account and cost lines: insert with a new id, overwrite
// in place, delete by negative id, and the flexible key as each line stores it.
#include <gtest/gtest.h>

#include "FundsDatabase.hpp"
#include "funds/clsAMAssetFundAccAlter.hpp"
#include "funds/clsAMAssetFundCostAlter.hpp"

namespace tk::am {
namespace {

constexpr int32_t kVersion = 500, kOtherVersion = 501;

class FundLines : public FundsDatabase {
  protected:
    static clsAMAssetFundAccAlter accountLine(int32_t version, int32_t account, double rate,
                                              const std::string& flexible = "") {
        clsAMAssetFundAccAlter line;
        line.lngAMAssetFundAlterID = version;
        line.lngAccountID = account;
        line.lngDepartmentID = 2;
        line.strFlexibleID = flexible;
        line.lngOrderNo = 1;
        line.dblQuotiety = 1;
        line.dblRate = rate;
        EXPECT_GT(line.SaveCard(), 0);
        return line;
    }
    static int accountLines(const std::string& where) {
        return count("AMAssetFundAccAlter", where);
    }
    static std::string flexibleOf(const std::string& table, const std::string& key, int32_t id) {
        return value("Select '[' || strFlexibleID || ']' From [User]" + table + " Where " + key +
                     " = " + std::to_string(id));
    }
};

TEST_F(FundLines, AccountLineIsInsertedWithANewIdAndABlankKeyAsOneSpace) {
    clsAMAssetFundAccAlter line;
    line.lngAMAssetFundAlterID = kVersion;
    line.lngAccountID = 18;
    line.strFlexibleID = "   ";
    line.dblRate = 0.3333;
    line.blnDepreIncrease = 1;
    const int32_t id = line.SaveCard();

    ASSERT_GT(id, 0);
    EXPECT_EQ(line.lngAMAssetFundAccAlterID, id);
    EXPECT_EQ(flexibleOf("AMAssetFundAccAlter", "lngAMAssetFundAccAlterID", id), "[ ]");
    clsAMAssetFundAccAlter loaded;
    loaded.LoadID(id);
    EXPECT_EQ(loaded.lngAMAssetFundAlterID, kVersion);
    EXPECT_EQ(loaded.lngAccountID, 18);
    EXPECT_DOUBLE_EQ(loaded.dblRate, 0.3333);
    EXPECT_EQ(loaded.blnDepreIncrease, 1);
    EXPECT_EQ(loaded.strFlexibleID.str(), " ");
}

TEST_F(FundLines, AccountLineIsOverwrittenInPlace) {
    clsAMAssetFundAccAlter line = accountLine(kVersion, 18, 0.5);
    line.lngAMAssetFundAlterID = kOtherVersion;
    line.dblRate = 0.75;
    line.strFlexibleID = "F1";
    EXPECT_EQ(line.SaveCard(), line.lngAMAssetFundAccAlterID);

    clsAMAssetFundAccAlter loaded;
    loaded.LoadID(line.lngAMAssetFundAccAlterID);
    EXPECT_EQ(loaded.lngAMAssetFundAlterID, kOtherVersion);
    EXPECT_DOUBLE_EQ(loaded.dblRate, 0.75);
    EXPECT_EQ(loaded.strFlexibleID.str(), "F1");
    EXPECT_EQ(accountLines("1 = 1"), 1);
}

TEST_F(FundLines, NegativeIdsDeleteOneLineOrAllLinesOfAVersion) {
    clsAMAssetFundAccAlter first = accountLine(kVersion, 13, 0.5);
    accountLine(kVersion, 16, 0.5);
    accountLine(kVersion, 18, 0.5);
    accountLine(kOtherVersion, 18, 1);

    clsAMAssetFundAccAlter one;
    one.lngAMAssetFundAccAlterID = -first.lngAMAssetFundAccAlterID;
    EXPECT_EQ(one.SaveCard(), first.lngAMAssetFundAccAlterID);
    EXPECT_EQ(accountLines("lngAMAssetFundAlterID = 500"), 2);

    clsAMAssetFundAccAlter all;
    all.lngAMAssetFundAlterID = -kVersion;
    EXPECT_EQ(all.SaveCard(), kVersion);
    EXPECT_EQ(accountLines("lngAMAssetFundAlterID = 500"), 0);
    EXPECT_EQ(accountLines("lngAMAssetFundAlterID = 501"), 1);
}

TEST_F(FundLines, CostLineKeepsItsKeyExactlyAsSet) {
    clsAMAssetFundCostAlter line;
    line.lngAMAssetFundAlterID = kVersion;
    line.lngAMAssetMethodID = 1;
    line.lngAccountID = 2;
    line.lngCurrencyID = 2;
    line.dblRate = 7.1;
    line.dblCurrAmount = 1000;
    line.dblAmount = 7100;
    line.lngBDebitAccountID = 3;
    line.bytQutlayNature = 2;
    line.strFlexibleID = "";
    const int32_t id = line.SaveCard();
    ASSERT_GT(id, 0);
    EXPECT_EQ(flexibleOf("AMAssetFundCostAlter", "lngAMAssetFundCostAlterID", id), "[]");

    line.strFlexibleID = " k1 ";
    line.lngBDebitAccountID = 4;
    line.dblDepreciation = 1234.56;
    EXPECT_EQ(line.SaveCard(), id);
    clsAMAssetFundCostAlter loaded;
    loaded.LoadID(id);
    EXPECT_EQ(loaded.strFlexibleID, " k1 ");
    EXPECT_EQ(loaded.lngBDebitAccountID, 4);
    EXPECT_DOUBLE_EQ(loaded.dblDepreciation, 1234.56);
    EXPECT_DOUBLE_EQ(loaded.dblAmount, 7100);
    EXPECT_EQ(loaded.bytQutlayNature, 2);

    loaded.LoadID(id + 1000);
    EXPECT_EQ(loaded.lngAMAssetFundCostAlterID, 0);
    EXPECT_DOUBLE_EQ(loaded.dblRate, 0);
    EXPECT_EQ(loaded.strFlexibleID, " ");
}

TEST_F(FundLines, AFailedStatementGivesZero) {
    clsAMAssetFundCostAlter line;
    line.lngAMAssetFundAlterID = kVersion;
    line.strFlexibleID = "it's";  // the cost line's key is not quoted
    EXPECT_EQ(line.SaveCard(), 0);
    EXPECT_EQ(count("AMAssetFundCostAlter", "1 = 1"), 0);
}

}  // namespace
}  // namespace tk::am
