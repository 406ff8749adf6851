// The C interface against a careless host: malformed calls refused with their
// error, leaving the object alone, and every class a host names creatable.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "tkam/tkam.h"

namespace {

using ::testing::HasSubstr;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

tkam_value text(const char* s) { return {TKAM_TEXT, 0, 0, s, nullptr, 0}; }
tkam_value r8(double r) { return {TKAM_R8, 0, r, nullptr, nullptr, 0}; }
tkam_value object(tkam_object* o) { return {TKAM_OBJECT, 0, 0, nullptr, o, 0}; }

struct MalformedCall {
    std::string what;
    std::function<int32_t()> call;
    int32_t number;
    std::string message;
};

// A card with two fields set through the C interface; every malformed call must
// leave them as they are.
class CApiGuard : public ::testing::Test {
  protected:
    tkam_object* card = tkam_create("TkAMAssetInt.clsAMAssetCard");
    tkam_value amount = r8(12.5);
    tkam_value invoice = text("发票-7");

    void SetUp() override {
        ASSERT_NE(card, nullptr);
        ASSERT_EQ(tkam_put(card, "dblAmount", &amount), 0);
        ASSERT_EQ(tkam_put(card, "strInvoiceNumber", &invoice), 0);
    }
    void TearDown() override { tkam_release(card); }

    void expectRefused(const std::vector<MalformedCall>& calls) {
        for (const auto& c : calls) {
            SCOPED_TRACE(c.what);
            EXPECT_EQ(c.call(), c.number);
            const char* description = nullptr;
            EXPECT_EQ(tkam_last_error(&description), c.number);
            EXPECT_THAT(description, HasSubstr(c.message));
            expectCardUnchanged();
        }
    }

    void expectCardUnchanged() {
        tkam_value value{};
        ASSERT_EQ(tkam_get(card, "dblAmount", &value), 0);
        EXPECT_EQ(value.r, 12.5);
        ASSERT_EQ(tkam_get(card, "strInvoiceNumber", &value), 0);
        EXPECT_STREQ(value.text, "发票-7");
        tkam_value_clear(&value);
    }
};

TEST_F(CApiGuard, MissingPointersAndBadCountsAreRefused) {
    tkam_value result = r8(-1);
    tkam_value args[1] = {r8(1)};
    expectRefused({
        {"no object", [&] { return tkam_put(nullptr, "dblAmount", &amount); },
         TKAM_E_OBJECT_REQUIRED, "the object is NULL"},
        {"no member name", [&] { return tkam_put(card, nullptr, &amount); },
         TKAM_E_INVALID_ARGUMENT, "the member name is NULL"},
        {"no value", [&] { return tkam_put(card, "dblAmount", nullptr); }, TKAM_E_INVALID_ARGUMENT,
         "the value is NULL"},
        {"no result", [&] { return tkam_get(card, "dblAmount", nullptr); }, TKAM_E_INVALID_ARGUMENT,
         "the result is NULL"},
        {"no method name", [&] { return tkam_call(card, nullptr, args, 1, &result); },
         TKAM_E_INVALID_ARGUMENT, "the method name is NULL"},
        {"no argument array", [&] { return tkam_call(card, "LoadID", nullptr, 5, &result); },
         TKAM_E_INVALID_ARGUMENT, "the argument array of 5 arguments is NULL"},
        {"negative count", [&] { return tkam_call(card, "LoadID", args, -1, &result); },
         TKAM_E_INVALID_ARGUMENT, "the argument count -1 is negative"},
        {"advise without object", [&] { return tkam_advise(nullptr, nullptr, nullptr); },
         TKAM_E_OBJECT_REQUIRED, "the object is NULL"},
        {"no folder", [&] { return tkam_set_component_folder(nullptr); }, TKAM_E_INVALID_ARGUMENT,
         "the folder is NULL"},
    });
    EXPECT_EQ(result.r, -1);
    EXPECT_EQ(args[0].r, 1);

    EXPECT_EQ(tkam_create(nullptr), nullptr);
    EXPECT_EQ(tkam_last_error(nullptr), TKAM_E_INVALID_ARGUMENT);
    EXPECT_EQ(tkam_create("TkAMAssetInt.clsNoSuchClass"), nullptr);
    EXPECT_EQ(tkam_last_error(nullptr), TKAM_E_INVALID_ARGUMENT);
}

// Every class the component offers a host, by the name the host gives.
TEST(CApiClasses, EveryClassAHostNamesIsCreatable) {
    std::istringstream names(
        "Interface clsAMAssetSetting clsAMAssetCard clsAMAssetCode clsAMAssetType clsAMAssetFund "
        "clsAMAssetFundAccAlter clsAMAssetFundCostAlter clsAMAssetFundAccount clsAMAssetLabel "
        "clsAMAssetOtherCard clsAMAssetCustom clsAMAssetAux clsAMAssetBatchAdd "
        "clsAMAssetDeprection clsAMAssetDaily clsAMAssetAmortise clsAMAssetTurn "
        "clsAMAssetOnlineTurn clsAMLedger clsAMAssetUpdate clsAMAdjust DOSOutputs");
    for (std::string name; names >> name;) {
        tkam_object* object = tkam_create(("TkAMAssetInt." + name).c_str());
        EXPECT_NE(object, nullptr) << name;
        if (object) tkam_release(object);
    }
}

TEST_F(CApiGuard, MalformedValuesAreRefused) {
    // Ill-formed UTF-8 by the Unicode Standard's table of well-formed byte sequences:
    // an overlong NUL, a surrogate, a sequence cut short.
    tkam_value overlong = text("\xC0\x80"), surrogate = text("\xED\xA0\x80"),
               cut = text("\xE4\xB8");
    tkam_value unknownType = {77, 0, 0, nullptr, nullptr, 0}, noText = text(nullptr);
    int hostData = 0;
    tkam_value foreign = object(reinterpret_cast<tkam_object*>(&hostData));
    tkam_object* released = tkam_create("TkAMAssetInt.clsAMAssetCard");
    tkam_release(released);
    tkam_value stale = object(released);
    tkam_value args[2] = {r8(1), unknownType};

    auto put = [this](const tkam_value& v) {
        return [this, value = &v] { return tkam_put(card, "strInvoiceNumber", value); };
    };
    expectRefused({
        {"unknown type code", put(unknownType), TKAM_E_TYPE_MISMATCH,
         "the value has the unknown type code 77"},
        {"NULL text", put(noText), TKAM_E_INVALID_ARGUMENT, "the value's text is NULL"},
        {"overlong", put(overlong), TKAM_E_INVALID_ARGUMENT, "not valid UTF-8"},
        {"surrogate", put(surrogate), TKAM_E_INVALID_ARGUMENT, "not valid UTF-8"},
        {"cut short", put(cut), TKAM_E_INVALID_ARGUMENT, "not valid UTF-8"},
        {"foreign object", put(foreign), TKAM_E_OBJECT_REQUIRED,
         "the value's object is not a live object of this library"},
        {"released object", put(stale), TKAM_E_OBJECT_REQUIRED, "not a live object"},
        {"foreign target",
         [&] { return tkam_get(reinterpret_cast<tkam_object*>(&hostData), "dblAmount", &args[0]); },
         TKAM_E_OBJECT_REQUIRED, "the object is not a live object"},
        {"bad argument", [&] { return tkam_call(card, "LoadID", args, 2, nullptr); },
         TKAM_E_TYPE_MISMATCH, "argument 2 has the unknown type code 77"},
    });
    EXPECT_EQ(args[0].type, TKAM_R8);
    EXPECT_EQ(args[0].r, 1);
    EXPECT_EQ(hostData, 0);
}

// Like free, a second release is undefined; the sanitizer build must say so.
TEST(CApiGuardDeathTest, DoubleReleaseIsReportedBySanitizer) {
    if (!kAddressSanitizer) GTEST_SKIP() << "needs the AddressSanitizer build";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            tkam_object* card = tkam_create("TkAMAssetInt.clsAMAssetCard");
            tkam_release(card);
            tkam_release(card);
        },
        "AddressSanitizer: (attempting double-free|heap-use-after-free)");
}

}  // namespace
