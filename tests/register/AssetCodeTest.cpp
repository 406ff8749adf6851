// Asset, card, label and national codes from the category's rules: the
// placeholders, widths, counters per scope, rollback and concurrent draws.
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "RegisterTest.hpp"
#include "frame/ClassRegistry.hpp"
#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "register/clsAMAssetCode.hpp"

namespace tk::am::test {
namespace {

constexpr int32_t kBuildings = 5;  // 01-02
constexpr int32_t kMachines = 8;   // 02
constexpr int32_t kGeneral = 9;    // 02-01
constexpr int32_t kLathe = 10;     // 02-01-01
constexpr int32_t kCranes = 11;    // 02-01-02

const std::string kNul(1, '\0');

class AssetCodeTest : public RegisterTest {
  protected:
    clsAMAssetCode codes;

    static void setCategory(int32_t category, const std::string& assignments) {
        run("Update [User]AMAssetType Set " + assignments +
            " Where lngAMAssetTypeID = " + std::to_string(category));
    }
    static int32_t counter(int32_t organization, int32_t category, int32_t kind) {
        return numberOf(
            "Select Nvl(Max(lngMaxSerialNo), -1) From [User]AMAssetTypeNo Where "
            "lngOrganizationID = " +
            std::to_string(organization) + " And lngAMAssetTypeID = " + std::to_string(category) +
            " And bytSerialNoType = " + std::to_string(kind));
    }
    std::string card(int32_t organization, int32_t category) {
        return codes.GetCode(acAssetCardCode, "2024-03-15", organization, category, 0, 0, 0);
    }
};

TEST_F(AssetCodeTest, CategoryDateAndGlobalSerialWithAndWithoutDashes) {
    setCategory(kBuildings,
                "bytCodeMethod = 2, strCodeRule = ' [资产类别编码]-[年][月]-[流水号] ', "
                "intCodeSerialNoDec = 4");
    EXPECT_EQ(codes.GetCode(acAssetCode, "2024-03-15", 1, kBuildings, 0, 0, 0),
              "01022024030001" + kNul);
    EXPECT_EQ(codes.GetCode(acAssetCode, "2024-03-15", 1, kBuildings, 0, 0, 0, "", true),
              "01-02-202403-0002" + kNul);
    EXPECT_EQ(counter(0, 0, acAssetCode), 2);
}

TEST_F(AssetCodeTest, EveryFixedPlaceholderIsFilled) {
    setCategory(
        kLathe,
        "strCodePrefix = '  PRE ', strCodeSuffix = ' SUF', strCardRule = "
        "'[年]/[月]/[日]|[机构编码]|[部门编码]|[责任部门编码]|[管理部门编码]', "
        "strLabelRule = '[资产类别编码]|[资产类别资产前缀]|[资产类别资产后缀]|[资产编码]|[未知]'");
    auto draw = [&](AssetCodeTypeEnum kind, const char* date, int32_t organization,
                    int32_t department) {
        return codes.GetCode(kind, date, organization, kLathe, 0, department, department + 1, "A-1",
                             true);
    };
    EXPECT_EQ(draw(acAssetCardCode, "2024/3/5 10:30:00", 2, 6),
              "2024/03/05|02|0201|0201|0202" + kNul);
    EXPECT_EQ(draw(acAssetLabel, "2024-03-05", 2, 6), "02-01-01|PRE|SUF|A-1|[未知]" + kNul);
    EXPECT_EQ(draw(acAssetCardCode, "no date", 99, 99), "//||||" + kNul)
        << "missing reference rows give empty texts";
}

TEST_F(AssetCodeTest, FirstThreeDigitsOfTheNationalCode) {
    setCategory(kLathe, "strCodeRule = '[国标分类编码前3位]X'");
    run("Update [User]AMAssetNationalType Set strAMAssetNationalTypeCode = '1-2' Where "
        "lngAMAssetNationalTypeID = 2");
    EXPECT_EQ(codes.GetCode(acAssetCode, "2024-03-15", 1, kLathe, 2, 0, 0), "120X" + kNul);
    EXPECT_EQ(codes.GetCode(acAssetCode, "2024-03-15", 1, kLathe, 4, 0, 0), "201X" + kNul);
    EXPECT_EQ(codes.GetCode(acAssetCode, "2024-03-15", 1, kLathe, 0, 0, 0), "X" + kNul);
}

TEST_F(AssetCodeTest, WidthPadsButNeverCuts) {
    setCategory(kLathe, "strCardRule = '[流水号]', intCardSerialNoDec = 3");
    run("Insert Into [User]AMAssetTypeNo(lngOrganizationID,lngAMAssetTypeID,bytSerialNoType,"
        "lngMaxSerialNo) Values(0,0,2,12344)");
    EXPECT_EQ(card(1, kLathe), "12345" + kNul);
    setCategory(kLathe, "intCardSerialNoDec = 0");
    setCategory(kCranes, "strCardRule = '[资产类别流水号]', intCardSerialNoDec = 0");
    EXPECT_EQ(card(1, kCranes), "1" + kNul);
}

TEST_F(AssetCodeTest, NoAssetCodeMethodStillGivesCardAndLabel) {
    setCategory(kLathe, "bytCodeMethod = 0");
    EXPECT_EQ(codes.GetCode(acAssetCode, "2024-03-15", 1, kLathe, 0, 0, 0), kNul);
    EXPECT_EQ(card(1, kLathe), "0201010001" + kNul);
    EXPECT_EQ(codes.GetCode(acAssetLabel, "2024-03-15", 1, kLathe, 0, 0, 0, "Z9"),
              "020101Z9001" + kNul);
    EXPECT_EQ(counter(1, kLathe, acAssetCode), -1);
}

TEST_F(AssetCodeTest, ParentRuleIsFollowedUpButCountsForTheCategoryAsked) {
    setCategory(kLathe, "bytCodeMethod = 1, strCodeRule = 'OWN'");
    setCategory(kGeneral, "bytCodeMethod = 1, strCodeRule = 'MIDDLE'");
    setCategory(kMachines,
                "bytCodeMethod = 2, strCodeRule = 'G[资产类别编码][资产类别流水号]', "
                "intCodeSerialNoDec = 2");
    EXPECT_EQ(codes.GetCode(acAssetCode, "2024-03-15", 1, kLathe, 0, 0, 0), "G02010101" + kNul);
    EXPECT_EQ(counter(0, kLathe, acAssetCode), 1);
    EXPECT_EQ(counter(0, kMachines, acAssetCode), -1);

    setCategory(kMachines, "bytCodeMethod = 1");
    EXPECT_EQ(codes.GetCode(acAssetCode, "2024-03-15", 1, kLathe, 0, 0, 0), kNul)
        << "a top category has no parent to lend a rule";
}

TEST_F(AssetCodeTest, CodesAreCutToFiftyCharactersNotBytes) {
    std::string rule;
    for (int i = 0; i < 30; ++i) rule += "资产";
    setCategory(kLathe, "strCardRule = '" + rule + "[流水号]'");
    std::string code = card(1, kLathe);
    EXPECT_EQ(CharLength(code), 51u);
    EXPECT_EQ(code.size(), 50u * 3 + 1);
    EXPECT_EQ(code, CharLeft(rule, 50) + kNul);
    EXPECT_EQ(counter(0, 0, acAssetCardCode), 1) << "the serial was drawn before the cut";
}

TEST_F(AssetCodeTest, EachScopeAndKindCountsOnItsOwn) {
    setCategory(kLathe,
                "strCardRule = '[机构流水号]', strLabelRule = '[机构流水号]', "
                "intCardSerialNoDec = 0, intLabelSerialNoDec = 0");
    EXPECT_EQ(card(1, kLathe), "1" + kNul);
    EXPECT_EQ(card(1, kLathe), "2" + kNul);
    EXPECT_EQ(card(2, kLathe), "1" + kNul);
    EXPECT_EQ(codes.GetCode(acAssetLabel, "2024-03-15", 1, kLathe, 0, 0, 0), "1" + kNul);

    setCategory(kLathe, "strCardRule = '[资产类别流水号].[机构+资产类别流水号]'");
    setCategory(kCranes,
                "strCardRule = '[资产类别流水号].[机构+资产类别流水号]', intCardSerialNoDec = 0");
    EXPECT_EQ(card(1, kLathe), "1.1" + kNul);
    EXPECT_EQ(card(2, kLathe), "2.1" + kNul);
    EXPECT_EQ(card(2, kCranes), "1.1" + kNul);
    EXPECT_EQ(card(2, kLathe), "3.2" + kNul);
    EXPECT_EQ(counter(2, kLathe, acAssetCardCode), 2);
    EXPECT_EQ(counter(0, kLathe, acAssetCardCode), 3);
    EXPECT_EQ(counter(1, 0, acAssetCardCode), 2);
}

TEST_F(AssetCodeTest, NationalCodesCountPerNationalClassification) {
    EXPECT_EQ(codes.GetCode(acAssetNationalCode, "2024-03-15", 1, kLathe, 2, 0, 0),
              "10200001" + kNul);
    EXPECT_EQ(counter(1, 0, acAssetNationalCode), 1);

    run("Update [User]AMAssetNationalType Set strNationalRule = "
        "'[资产类别资产前缀][资产类别编码]/[国标分类编码]/[资产类别流水号]', "
        "intNationalSerialNoDec = 2 Where lngAMAssetNationalTypeID = 2");
    setCategory(kLathe, "bytCodeMethod = 1, strCodePrefix = 'OWN'");
    setCategory(kGeneral, "bytCodeMethod = 2, strCodePrefix = 'UP'");
    EXPECT_EQ(codes.GetCode(acAssetNationalCode, "2024-03-15", 1, kLathe, 2, 0, 0, "", true),
              "UP02-01-01/1-02/01" + kNul)
        << "prefix of the rule's category, code of the category asked";
    EXPECT_EQ(counter(0, 2, acAssetNationalCode), 1);
    EXPECT_EQ(codes.GetCode(acAssetNationalCode, "2024-03-15", 1, kLathe, 99, 0, 0), kNul);
    EXPECT_EQ(codes.GetCode(acAssetNationalCode, "2024-03-15", 1, 999, 2, 0, 0), kNul);
}

TEST_F(AssetCodeTest, UnknownKindGivesAnEmptyCode) {
    EXPECT_EQ(codes.GetCode(static_cast<AssetCodeTypeEnum>(5), "2024-03-15", 1, kLathe, 0, 0, 0),
              kNul);
    EXPECT_EQ(countOf("[User]AMAssetTypeNo"), 0);
}

TEST_F(AssetCodeTest, RollbackStepsBackOnlyOrganisationCounters) {
    run("Insert Into [User]AMAssetTypeNo Select 7, 0, 2, 5 From Dual");
    run("Insert Into [User]AMAssetTypeNo Select 7, 10, 2, 3 From Dual");
    run("Insert Into [User]AMAssetTypeNo Select 7, 11, 2, 0 From Dual");
    run("Insert Into [User]AMAssetTypeNo Select 7, 10, 3, 4 From Dual");
    auto total = [] { return numberOf("Select Sum(lngMaxSerialNo) From [User]AMAssetTypeNo"); };

    EXPECT_TRUE(codes.RollbackCode(acAssetCardCode, "[流水号][机构流水号]", 7, 10, 0));
    EXPECT_TRUE(codes.RollbackCode(acAssetCardCode, "[资产类别流水号]", 7, 10, 0));
    EXPECT_TRUE(codes.RollbackCode(acAssetCardCode, "no serial", 7, 10, 0));
    EXPECT_TRUE(codes.RollbackCode(acAssetCardCode, "[机构流水号]", 0, 10, 0));
    EXPECT_EQ(total(), 12);

    EXPECT_TRUE(codes.RollbackCode(acAssetCardCode, "[机构流水号]", 7, 0, 0));
    EXPECT_EQ(counter(7, 0, acAssetCardCode), 4);
    EXPECT_EQ(counter(7, 10, acAssetCardCode), 2) << "every counter of the organisation";
    EXPECT_EQ(counter(7, 11, acAssetCardCode), 0) << "never below 0";
    EXPECT_EQ(counter(7, 10, acAssetLabel), 4) << "other kinds stay";

    EXPECT_TRUE(codes.RollbackCode(acAssetCardCode, "[机构+资产类别流水号]", 7, 0, 10));
    EXPECT_EQ(counter(7, 10, acAssetCardCode), 1) << "the national id stands in for the category";
    EXPECT_EQ(counter(7, 0, acAssetCardCode), 4);
    EXPECT_TRUE(codes.RollbackCode(acAssetCardCode, "[机构+资产类别流水号]", 7, 0, 0));
    EXPECT_EQ(total(), 9);
}

TEST_F(AssetCodeTest, LateBoundGetCodeWithOptionalArgumentsLeftOut) {
    setCategory(kBuildings, "strCardRule = '[资产类别编码]-[资产编码]'");
    auto object = ClassRegistry::instance().create("TkAMAssetInt.clsAMAssetCode");
    ASSERT_TRUE(object);
    Dispatchable::Args args;
    for (int32_t number : {int32_t{acAssetCardCode}, 0, 1, kBuildings, 0, 0, 0})
        args.emplace_back(number);
    args[1] = Variant("2024-03-15");
    EXPECT_EQ(object->invoke("GetCode", args).toText(), "0102" + kNul);
    args.emplace_back("A-9");
    args.emplace_back(true);
    EXPECT_EQ(object->invoke("GetCode", args).toText(), "01-02-A-9" + kNul);
    args.resize(5);
    args[1] = Variant("[机构流水号]");
    EXPECT_TRUE(object->invoke("RollbackCode", args).toBool());
}

// Draws `count` codes on a thread of its own with its own connection, retrying
// a draw that lost the race for the counter.
struct Drawer {
    std::vector<std::string> codes;
    int lostRaces = 0;

    void run(const tk::test::TestAccountSet& set, int count) {
        context().User = set.name();
        context().ConnBase = set.connect();
        clsAMAssetCode generator;
        while (static_cast<int>(codes.size()) < count && lostRaces < 100000) {
            try {
                codes.push_back(
                    generator.GetCode(acAssetCardCode, "2024-03-15", 1, kLathe, 0, 0, 0));
            } catch (const RunTimeError&) {
                ++lostRaces;
            }
        }
        context() = Context{};
    }
};

TEST_F(AssetCodeTest, TwoClientsNeverShareASerial) {
    setCategory(kLathe, "strCardRule = '[机构+资产类别流水号]', intCardSerialNoDec = 4");
    Drawer first, second;
    std::thread a([&] { first.run(set, 200); });
    std::thread b([&] { second.run(set, 200); });
    a.join();
    b.join();
    std::set<std::string> all(first.codes.begin(), first.codes.end());
    all.insert(second.codes.begin(), second.codes.end());
    EXPECT_EQ(first.codes.size() + second.codes.size(), 400u);
    EXPECT_EQ(all.size(), 400u) << "a serial was issued twice";
    EXPECT_EQ(counter(1, kLathe, acAssetCardCode), 400);
    RecordProperty("lostRaces", first.lostRaces + second.lostRaces);
}

}  // namespace
}  // namespace tk::am::test
