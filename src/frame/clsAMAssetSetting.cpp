// The module options read key by key from the settings, then the display texts of the
// ids among them looked up.
#include "frame/clsAMAssetSetting.hpp"

#include <variant>

#include "frame/ClassRegistry.hpp"
#include "frame/CodeLookup.hpp"
#include "frame/Conversion.hpp"
#include "frame/Settings.hpp"

namespace tk::am {
namespace {

using Self = clsAMAssetSetting;
using FieldRef = std::variant<int32_t Self::*, double Self::*, std::string Self::*, bool Self::*>;

constexpr const char* kSection = "固定资产";
constexpr int32_t kAssetModule = 11;

struct StoredOption {
    const char* property;
    FieldRef field;
    const char* key;
    const char* fallback;
};

// In reading order: a failure stops at its key, so the order is visible to callers.
const StoredOption kOptions[] = {
    {"lngAssetAccountID", &Self::lngAssetAccountID, "固定资产科目", "0"},
    {"lngDepreciationAccountID", &Self::lngDepreciationAccountID, "累计折旧科目", "0"},
    {"lngDecAccountID", &Self::lngDecAccountID, "减值准备科目", "0"},
    {"lngClassID1", &Self::lngClassID1, "统计", "0"},
    {"lngClassID2", &Self::lngClassID2, "项目", "0"},
    {"strCodBarTemplateID", &Self::strCodBarTemplateID, "默认条码打印模板", ""},
    {"lngAMAssetStateID", &Self::lngAMAssetStateID, "实物状态", "0"},
    {"lngCardTemplateID", &Self::lngCardTemplateID, "固资查阅模板", "0"},
    {"lngAddMethodID", &Self::lngAddMethodID, "固资增加方式", "0"},
    {"bytDepreciationtype", &Self::bytDepreciationtype, "折旧类型", "1"},
    {"bytDepreciationMethod", &Self::bytDepreciationMethod, "常用折旧方法", "2"},
    {"dblUsage", &Self::dblUsage, "预计使用期间", "0"},
    {"dblNetworthRate", &Self::dblNetworthRate, "预计净残值率", "0"},
    {"dblDeprRate", &Self::dblDeprRate, "年折旧率", "0"},
    {"strTreeype", &Self::strTreeype, "树形视图构造方式", ""},
    {"blnDepartmentMust", &Self::blnDepartmentMust, "固资卡片中管理部门必录", "0"},
    {"blnStartAMAssetLabel", &Self::blnStartAMAssetLabel, "启用实物资产", "0"},
    {"lngStartAMAssetLabelPeriod", &Self::lngStartAMAssetLabelPeriod, "实物资产启用期间", "0"},
};

struct DisplayText {
    const char* property;
    std::string Self::*text;
    int32_t Self::*id;
    const char* table;
    int16_t kind;
};

constexpr int16_t kCodeAndName = 0, kNameOnly = 2;

const DisplayText kDisplayTexts[] = {
    {"strAssetAccount", &Self::strAssetAccount, &Self::lngAssetAccountID, "Account", kCodeAndName},
    {"strDepreciationAccount", &Self::strDepreciationAccount, &Self::lngDepreciationAccountID,
     "Account", kCodeAndName},
    {"strDecAccount", &Self::strDecAccount, &Self::lngDecAccountID, "Account", kCodeAndName},
    {"strClass1", &Self::strClass1, &Self::lngClassID1, "Class1", kCodeAndName},
    {"strClass2", &Self::strClass2, &Self::lngClassID2, "Class2", kCodeAndName},
    {"strAMAssetState", &Self::strAMAssetState, &Self::lngAMAssetStateID, "AMAssetState",
     kCodeAndName},
    {"strCardTemplate", &Self::strCardTemplate, &Self::lngCardTemplateID, "Template", kNameOnly},
    {"strAddMethod", &Self::strAddMethod, &Self::lngAddMethodID, "AMAssetMethod", kCodeAndName},
};

// Ways of addition are kept per organisation; the other look-ups are shared.
bool isPerOrganization(const DisplayText& d) { return d.id == &Self::lngAddMethodID; }

void Assign(Self& self, const FieldRef& field, const std::string& value) {
    std::visit(
        [&](auto member) {
            using T = std::remove_reference_t<decltype(self.*member)>;
            if constexpr (std::is_same_v<T, int32_t>)
                self.*member = ToLong(value);
            else if constexpr (std::is_same_v<T, double>)
                self.*member = ToDouble(Variant(value));
            else if constexpr (std::is_same_v<T, bool>)
                self.*member = ToLong(value) != 0;
            else
                self.*member = value;
        },
        field);
}

}  // namespace

void clsAMAssetSetting::describe(DispatchTable<clsAMAssetSetting>& t) {
    for (const StoredOption& option : kOptions)
        std::visit([&](auto member) { t.field(option.property, member); }, option.field);
    for (const DisplayText& display : kDisplayTexts) t.field(display.property, display.text);
    t.method("LoadID", [](Self& self, Dispatchable::Args& args) {
        self.LoadID(requiredArg(args, 0).toInt32());
        return Variant();
    });
}

void clsAMAssetSetting::LoadID(int32_t lngOrganizationID) {
    try {
        for (const StoredOption& option : kOptions) {
            // Held as text first: a null value cannot be, and stops the load here.
            std::string value =
                ReadSetting(option.key, std::string(kSection), Variant(option.fallback),
                            kAssetModule, lngOrganizationID)
                    .toText();
            Assign(*this, option.field, value);
        }
        for (const DisplayText& display : kDisplayTexts) {
            int32_t id = this->*display.id;
            if (id <= 0) continue;
            this->*display.text = GetCodeName(id, display.table, display.kind,
                                              isPerOrganization(display) ? lngOrganizationID : 0);
        }
    } catch (...) {
        // The fields already read keep their new values; the rest stay as they were.
    }
}

}  // namespace tk::am

using tk::am::clsAMAssetSetting;
TKAM_REGISTER_CLASS(clsAMAssetSetting)
