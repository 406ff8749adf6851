// A change turned into a document for the version writer, its way chosen from what it changes
// when none is named.
#include "ledger/AssetAlterer.hpp"

#include <stdexcept>

#include "frame/Conversion.hpp"
#include "ledger/AssetVersionWriter.hpp"
#include "ledger/InputText.hpp"
#include "register/clsAMAssetCard.hpp"

namespace tk::ledger {
namespace {

constexpr int32_t kChangeReceiptType = 50;
constexpr int32_t kChangeTemplate = 3;
constexpr int32_t kChangeWays = 4;  // bytAssetAlterType of the ways of other change
// The demo's ways of change a change falls under when none is named.
constexpr const char* kTransfer = "11";     // 部门调拨
constexpr const char* kRevaluation = "12";  // 原值调整
constexpr const char* kImpairment = "13";   // 计提减值准备

// Sets `field` to `value` when given, keeping the change in `change`; true if it moved.
bool setFigure(double& field, double& change, const std::optional<double>& value) {
    if (!value) return false;
    const double next = am::RoundTo(*value, 2);
    change = am::RoundTo(next - field, 2);
    field = next;
    return change != 0;
}

void applyTo(am::clsAMAssetCard& card, const AssetAlteration& a,
             std::optional<int32_t> department) {
    bool moved = setFigure(card.dblAmount, card.dblAmountAlter, a.cost);
    moved = setFigure(card.dblDecAmount, card.dblDecAmountAlter, a.impairment) || moved;
    moved = setFigure(card.dblNetworth, card.dblNetworthAlter, a.residual) || moved;
    if (a.life && *a.life != card.dblUseage) {
        card.dblUsageAlter = *a.life - card.dblUseage;
        card.dblUseage = *a.life;
        moved = true;
    }
    if (a.method && *a.method != card.bytDepreciationMethod) {
        card.bytDepreciationMethod = *a.method;
        moved = true;
    }
    card.blnFinanceAlter = moved ? 1 : 0;
    card.blnBaseAlter = department && *department != card.lngDepartmentID ? 1 : 0;
    if (card.blnBaseAlter) card.lngDepartmentID = *department;
    if (!card.blnFinanceAlter && !card.blnBaseAlter)
        throw std::runtime_error("变动后的内容与资产现状相同, 未保存");
}

}  // namespace

void AssetAlterer::alter(const std::string& assetCode, const AssetAlteration& alteration) const {
    if (!alteration.changesFigures() && !alteration.department)
        throw std::runtime_error(
            "请指定要变动的项目 (--cost, --impairment, --residual, --life, --method, "
            "--department)");
    const std::optional<int32_t> department = departmentOf(alteration);
    AssetVersionWriter(session_).write(
        assetCode, {am::atOther,
                    kChangeReceiptType,
                    kChangeTemplate,
                    wayOf(alteration),
                    alteration.date,
                    [&](am::clsAMAssetCard& card) { applyTo(card, alteration, department); },
                    {}});
}

int32_t AssetAlterer::wayOf(const AssetAlteration& alteration) const {
    const std::string code = alteration.way.value_or(alteration.impairment         ? kImpairment
                                                     : alteration.changesFigures() ? kRevaluation
                                                                                   : kTransfer);
    auto id = session_.lookup(
        "Select lngAMAssetMethodID From AMAssetMethod Where bytAssetAlterType = " +
        std::to_string(kChangeWays) + " And strAMAssetMethodCode = " + sqlText(code));
    if (!id) throw std::runtime_error("变动方式不存在: \"" + code + "\"");
    return std::stoi(*id);
}

std::optional<int32_t> AssetAlterer::departmentOf(const AssetAlteration& alteration) const {
    if (!alteration.department) return std::nullopt;
    auto id = session_.lookup("Select lngDepartmentID From Department Where lngOrganizationID = " +
                              std::to_string(session_.organization()) +
                              " And strDepartmentCode = " + sqlText(*alteration.department));
    if (!id) throw std::runtime_error("部门不存在: \"" + *alteration.department + "\"");
    return std::stoi(*id);
}

}  // namespace tk::ledger
