// Input the books cannot hold is refused before anything is written, with
// the field, the value and the rule; input at the limits is kept exactly.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "AmassetCli.hpp"
#include "TestDatabase.hpp"
#include "frame/ComponentFolder.hpp"
#include "frame/InputLimits.hpp"
#include "frame/InputRefusal.hpp"
#include "frame/LastRefusal.hpp"
#include "funds/clsAMAssetFund.hpp"
#include "records/clsAMAssetCustom.hpp"
#include "register/clsAMAssetCard.hpp"
#include "tkam/tkam.h"

namespace tk::test {
namespace {

using am::InputLimits;

std::string refusal(const std::function<void()>& attempt) {
    try {
        attempt();
    } catch (const am::InputRefusal& e) {
        return e.description();
    }
    return "";
}

// What a save that answered 0 gave as its reason.
std::string refusedSave(const std::function<int32_t()>& save) {
    EXPECT_EQ(save(), 0);
    return am::LastRefusal::take().value_or(am::ErrorInfo{}).description;
}

// `count` Chinese characters of three bytes each.
std::string chinese(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "资";
    return text;
}

TEST(InputLimits, DatesAreRealCalendarDays) {
    for (const char* day : {"2024-02-29", "2000-02-29", "2025-12-31"})
        EXPECT_EQ(refusal([&] { InputLimits::checkDate("日期", day); }), "") << day;
    // 1900 and 2023 are no leap years; months have their own lengths.
    for (const char* day : {"2025-02-30", "2023-02-29", "1900-02-29", "2024-04-31", "2024-13-01",
                            "2024-00-10", "2024-1-5", "20240105", ""})
        EXPECT_NE(refusal([&] { InputLimits::checkDate("日期", day); }).find("不是有效日期"),
                  std::string::npos)
            << day;
}

TEST(InputLimits, AmountsStayWhereDoublesHoldTheCent) {
    for (double fine : {0.0, 0.01, 0.3, 123456.78, 9'999'999'999'999.99})
        EXPECT_EQ(refusal([&] { InputLimits::checkAmount("原值", fine); }), "") << fine;
    EXPECT_NE(refusal([] { InputLimits::checkAmount("原值", 1e14); }).find("9,999,999,999,999.99"),
              std::string::npos);
    EXPECT_NE(refusal([] { InputLimits::checkAmount("原值", 1.005); }).find("最多两位小数"),
              std::string::npos);
    EXPECT_NE(refusal([] { InputLimits::checkNumber("原值", 1e20); }).find("100000000000000000000"),
              std::string::npos);
}

TEST(InputLimits, TextsAreCountedInCharactersNotBytes) {
    const std::string chinese200 = chinese(200);
    EXPECT_EQ(refusal([&] { InputLimits::checkLength("名称", chinese200, 200); }), "");
    EXPECT_EQ(refusal([&] { InputLimits::checkLength("名称", chinese200 + "a", 200); }),
              "名称 过长: 201 个字符, 最多 200 个字符");
}

// Every host saves through the record objects: they refuse by result, as
// for any failure, write nothing, and say why where the host reads it: the
// C interface's last error and the "errSql" log.
TEST(InputLimits, TheRecordsRefuseByResultAndSayWhy) {
    TestAccountSet set("zlim", true);
    set.useOnThisThread();
    const auto folder = std::filesystem::temp_directory_path() / ("zlim-" + set.name());
    am::SetComponentFolder(folder);
    tkam_object* card = tkam_create("TkAMAssetInt.clsAMAssetCard");
    ASSERT_NE(card, nullptr);
    const std::string longName(201, 'a');
    tkam_value mode{TKAM_I4, am::atAdd, 0, nullptr, nullptr, 0};
    tkam_value name{TKAM_TEXT, 0, 0, longName.c_str(), nullptr, 0};
    tkam_value result{};
    ASSERT_EQ(tkam_put(card, "Mode", &mode), 0);
    ASSERT_EQ(tkam_put(card, "strAMAssetName", &name), 0);
    ASSERT_EQ(tkam_call(card, "SaveCard", nullptr, 0, &result), 0) << "no error raised";
    EXPECT_EQ(result.i, 0);
    const char* reason = nullptr;
    EXPECT_EQ(tkam_last_error(&reason), errors::kInvalidArgument);
    EXPECT_STREQ(reason, "资产名称 过长: 201 个字符, 最多 200 个字符");
    tkam_value date{TKAM_TEXT, 0, 0, "2024-01-01'x", nullptr, 0};
    name.text = "车床";
    ASSERT_EQ(tkam_put(card, "strAMAssetName", &name), 0);
    ASSERT_EQ(tkam_put(card, "strDate", &date), 0);
    ASSERT_EQ(tkam_call(card, "SaveCard", nullptr, 0, &result), 0);
    EXPECT_EQ(result.i, 0);
    EXPECT_EQ(tkam_last_error(&reason), errors::kInvalidArgument);
    EXPECT_THAT(reason, ::testing::HasSubstr("日期 过长"));
    tkam_release(card);

    am::clsAMAssetFund fund;
    fund.Mode = am::atAdd;
    fund.lngAMAssetID = 1;
    fund.lngAMFundID = 1;
    fund.dblAmount = 1e20;
    EXPECT_NE(refusedSave([&] { return fund.SaveCard(); }).find("原值 的值 100000000000000000000"),
              std::string::npos);
    EXPECT_FALSE(am::LastRefusal::take()) << "told once";
    auto conn = set.connect();
    auto rows = conn->GetRecordset(
        "Select (Select Count(*) From AMAsset) + (Select Count(*) From AMAssetFundAlter) From dual",
        3, 1);
    EXPECT_EQ(rows->field(0).toInt32(), 0);
    EXPECT_THAT(ReadFile(folder / "log" / "errSql.log"),
                ::testing::HasSubstr("资产名称 过长: 201 个字符"));
    am::SetComponentFolder({});
    std::filesystem::remove_all(folder);
}

// The records hung on a card save under the same rules, naming the field as
// the operator knows it.
TEST(InputLimits, TheOtherRecordsRefuseByTheFieldsLabel) {
    TestAccountSet set("zlio", true);
    set.useOnThisThread();
    am::clsAMAssetCustom custom;
    custom.lngAMAssetID = 1;
    custom.strCustomDate1 = "2024-02-30";
    EXPECT_NE(
        refusedSave([&] { return custom.SaveCard(); }).find("自定义日期1 的值 \"2024-02-30\" 无效"),
        std::string::npos);
    custom.strCustomDate1 = "2024-02-29";
    custom.dblCustom2 = 1e20;
    EXPECT_NE(refusedSave([&] {
                  return custom.SaveCard();
              }).find("自定义数值2 的值 100000000000000000000"),
              std::string::npos);
    auto rows = set.connect()->GetRecordset("Select Count(*) From AMAssetCustom", 3, 1);
    EXPECT_EQ(rows->field(0).toInt32(), 0) << "nothing written";
}

TEST(InputLimits, TheCommandLineNamesFieldValueAndRuleAndKeepsTheLimitExactly) {
    AmassetCli cli("glim");
    const std::string add = "asset add --category 04-02 --date 2024-01-10 ";
    const std::string name200 = chinese(200);
    const struct {
        std::string args, says;
    } refused[] = {
        {add + "--name x --cost 99999999999999999999",
         "原值 的值 100000000000000000000 无效: 绝对值不能超过 9,999,999,999,999.99"},
        {add + "--cost 1 --name " + name200 + "资", "过长: 201 个字符, 最多 200 个字符"},
    };
    for (const auto& r : refused) {
        Outcome run = cli.run(r.args);
        EXPECT_NE(run.status, 0) << r.args;
        EXPECT_NE(run.out.find(r.says), std::string::npos) << run.out;
    }
    EXPECT_EQ(cli.scalar("Select Count(*) From AMAsset"), 0) << "nothing half written";
    EXPECT_EQ(cli.scalar("Select Count(*) From AMAssetTypeNo"), 0) << "no code drawn";

    Outcome kept = cli.run(add + "--cost 9999999999999.99 --name " + name200);
    ASSERT_EQ(kept.status, 0) << kept.out;
    EXPECT_EQ(cli.scalar("Select Count(*) From AMAsset Where Length(strAMAssetName) = 200"), 1);
    EXPECT_EQ(cli.scalar("Select Count(*) From AMAssetAlter Where dblAmount = 9999999999999.99"),
              1);
}

}  // namespace
}  // namespace tk::test
