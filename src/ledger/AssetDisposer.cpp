// Disposals as documents for the version writer; a partial one takes each funding source's part
// as the account set's AMAssetPartOut works it out.
#include "ledger/AssetDisposer.hpp"

#include <stdexcept>

#include "frame/Conversion.hpp"
#include "ledger/AssetVersionWriter.hpp"
#include "ledger/InputText.hpp"
#include "register/clsAMAssetCard.hpp"

namespace tk::ledger {
namespace {

constexpr int32_t kDecreaseReceiptType = 49;
constexpr int32_t kDecreaseTemplate = 2;
constexpr int32_t kDecreaseWays = 1;  // bytAssetAlterType of the ways of decrease

}  // namespace

int32_t AssetDisposer::wayID(const std::string& way) const {
    auto id = session_.lookup(
        "Select lngAMAssetMethodID From AMAssetMethod Where bytAssetAlterType = " +
        std::to_string(kDecreaseWays) + " And strAMAssetMethodCode = " + sqlText(way));
    if (!id) throw std::runtime_error("减少方式不存在: \"" + way + "\"");
    return std::stoi(*id);
}

void AssetDisposer::dispose(const std::string& assetCode, const std::string& date,
                            const std::string& way) const {
    // The decrease version keeps the figures the asset leaves with.
    AssetVersionWriter(session_).write(assetCode, {am::atDec,
                                                   kDecreaseReceiptType,
                                                   kDecreaseTemplate,
                                                   wayID(way),
                                                   date,
                                                   [](am::clsAMAssetCard&) {},
                                                   {}});
}

double AssetDisposer::costOfPart(const std::string& assetCode, const std::string& text) const {
    const bool sign = !text.empty() && text.back() == '%';
    const double percent =
        parseNonNegative(sign ? text.substr(0, text.size() - 1) : text, "减少的比例");
    const double cost = session_.number(
        "Select Sum(fa.dblAmount) From AMAssetFund f, AMAssetFundAlter fa Where "
        "fa.lngAMAssetFundAlterID = f.lngAMAssetFundLastAlterID And f.lngAMAssetID = " +
        std::to_string(session_.assetID(assetCode)));
    return am::RoundTo(cost * percent / 100, 2);
}

void AssetDisposer::disposePart(const std::string& assetCode, const std::string& date,
                                const std::string& way, double costOut) const {
    std::map<int32_t, FundChange> parts;
    auto change = [&](am::clsAMAssetCard& card) {
        auto rs = session_.connection().GetRecordset(
            "Select lngAMFundID, dblAmountOut, dblDecAmountOut, dblNetworthOut, "
            "dblDepreciationOut From AMAssetPartOut(" +
                std::to_string(card.lngAMAssetID) + ", " + std::to_string(session_.organization()) +
                ", " + std::to_string(session_.periodOfDate(date).key()) + ", " +
                formatDouble(costOut) + ")",
            3, 1);
        FundChange total;
        for (; !rs->eof(); rs->moveNext()) {
            FundChange& out = parts[rs->field(0).toInt32()];
            out = {-rs->field(1).toDouble(), -rs->field(2).toDouble(), -rs->field(3).toDouble(),
                   -rs->field(4).toDouble()};
            total = {total.cost + out.cost, total.impairment + out.impairment,
                     total.residual + out.residual, total.depreciation + out.depreciation};
        }
        card.dblAmount += card.dblAmountAlter = am::RoundTo(total.cost, 2);
        card.dblDecAmount += card.dblDecAmountAlter = am::RoundTo(total.impairment, 2);
        card.dblNetworth += card.dblNetworthAlter = am::RoundTo(total.residual, 2);
        card.dblDepreciationAlter = am::RoundTo(total.depreciation, 2);
        card.blnFinanceAlter = 1;
    };
    AssetVersionWriter(session_).write(
        assetCode, {am::atOther, kDecreaseReceiptType, kDecreaseTemplate, wayID(way), date, change,
                    [&](int32_t fund) { return parts.at(fund); }});
}

}  // namespace tk::ledger
