// A document written as a new card version and a version of each funding source with its share
// and account lines, then the depreciation recalculated, all in one transaction.
#include "ledger/AssetVersionWriter.hpp"

#include <stdexcept>
#include <vector>

#include "depreciation/clsAMAssetDeprection.hpp"
#include "frame/LastRefusal.hpp"
#include "funds/clsAMAssetFund.hpp"
#include "funds/clsAMAssetFundAccAlter.hpp"
#include "ledger/Shares.hpp"
#include "ledger/Transaction.hpp"
#include "register/clsAMAssetCard.hpp"

namespace tk::ledger {
namespace {

constexpr int16_t kSaved = 2;

// A card version and a funding-source version of one document carry the same
// marks: its kind, its date, no voucher yet and no change until it says so.
template <typename Version>
void markDocument(Version& version, const AssetDocument& document, YearPeriod period) {
    version.lngReceiptTypeID = document.receiptType;
    version.intYear = period.year;
    version.bytPeriod = period.period;
    version.strDate = document.date;
    version.bytAlterType = static_cast<int16_t>(document.mode);
    version.bytStatus = kSaved;
    version.blnIsInit = 0;
    version.lngVoucherID = 0;
    version.dblAmountAlter = version.dblDepreciationAlter = version.dblNetworthAlter =
        version.dblDecAmountAlter = 0;
}

std::vector<int32_t> ids(const LedgerSession& session, const std::string& sql) {
    auto rs = session.connection().GetRecordset(sql, 3, 1);
    std::vector<int32_t> found;
    for (; !rs->eof(); rs->moveNext()) found.push_back(rs->field(0).toInt32());
    return found;
}

}  // namespace

void AssetVersionWriter::write(const std::string& assetCode, const AssetDocument& document) const {
    const YearPeriod period = session_.periodOfDate(document.date);
    inTransaction(session_, [&] {
        am::clsAMAssetCard card;
        loadCurrent(card, assetCode, document);
        const int32_t previousDepartment = card.lngDepartmentID;
        saveCard(card, document, period);
        saveFunds(card, previousDepartment, document, period);
        recalculate(card, document);
        return 0;
    });
}

void AssetVersionWriter::loadCurrent(am::clsAMAssetCard& card, const std::string& assetCode,
                                     const AssetDocument& document) const {
    card.Mode = document.mode;
    card.LoadID(session_.assetID(assetCode));
    // The head shares the department's column name and wins it on loading,
    // but the department in force is the version's.
    card.lngDepartmentID = std::stoi(
        session_
            .lookup("Select lngDepartmentID From AMAssetAlter Where lngAMAssetAlterID = " +
                    std::to_string(card.lngAMAssetAlterID))
            .value());
}

void AssetVersionWriter::saveCard(am::clsAMAssetCard& card, const AssetDocument& document,
                                  YearPeriod period) const {
    card.lngAMAssetRecentAlterID = card.lngAMAssetAlterID;
    card.lngAMAssetAlterID = 0;
    card.lngAMAssetMethodID = document.way;
    card.lngTemplateID = document.templateID;
    markDocument(card, document, period);
    card.dblUsageAlter = 0;
    card.blnIsVoucher = card.blnBaseAlter = card.blnFinanceAlter = card.blnLabelAlter =
        card.blnAuxAlter = card.blnPicAlter = card.blnDocAlter = card.blnOtherAlter = 0;
    document.change(card);
    if (card.SaveCard() != card.lngAMAssetID)
        am::LastRefusal::raiseOr("保存资产卡片的新版本失败: " + card.strAMAssetCode.str());
}

void AssetVersionWriter::saveFunds(const am::clsAMAssetCard& card, int32_t previousDepartment,
                                   const AssetDocument& document, YearPeriod period) const {
    const std::string asset = std::to_string(card.lngAMAssetID);
    std::vector<int32_t> funds;
    std::vector<double> costs;
    auto rs = session_.connection().GetRecordset(
        "Select f.lngAMFundID, fa.dblAmount From AMAssetFund f, AMAssetFundAlter fa"
        " Where fa.lngAMAssetFundAlterID = f.lngAMAssetFundLastAlterID And f.lngAMAssetID = " +
            asset + " Order By f.lngAMFundID",
        3, 1);
    for (; !rs->eof(); rs->moveNext()) {
        funds.push_back(rs->field(0).toInt32());
        costs.push_back(rs->field(1).toDouble());
    }
    const auto cost = splitByWeights(card.dblAmountAlter, costs);
    const auto impairment = splitByWeights(card.dblDecAmountAlter, costs);
    const auto residual = splitByWeights(card.dblNetworthAlter, costs);
    for (size_t i = 0; i < funds.size(); ++i) {
        const FundChange part = document.fundChange
                                    ? document.fundChange(funds[i])
                                    : FundChange{cost[i], impairment[i], residual[i], 0};
        am::clsAMAssetFund fund;
        fund.Mode = document.mode;
        fund.LoadID(card.lngAMAssetID, funds[i]);
        const int32_t previous = fund.lngAMAssetFundAlterID;
        fund.lngAMAssetFundRecentAlterID = previous;
        fund.lngAMAssetFundAlterID = 0;
        fund.lngAMAssetAlterID = card.lngAMAssetAlterID;
        markDocument(fund, document, period);
        fund.dblAmount += fund.dblAmountAlter = part.cost;
        fund.dblDecAmount += fund.dblDecAmountAlter = part.impairment;
        fund.dblNetworth += fund.dblNetworthAlter = part.residual;
        // (dblDepreciation stays the opening figure; the journal and the
        // balances follow the change)
        fund.dblDepreciationAlter = part.depreciation;
        const int32_t saved = fund.SaveCard();
        if (saved == 0) am::LastRefusal::raiseOr("保存资金来源的新版本失败");
        carryAccountLines(previous, saved, previousDepartment, card.lngDepartmentID);
    }
}

// The account lines stay with the source; a line charged to the department
// the asset leaves follows it to the new one.
void AssetVersionWriter::carryAccountLines(int32_t fromVersion, int32_t toVersion,
                                           int32_t fromDepartment, int32_t toDepartment) const {
    for (int32_t lineID : ids(session_,
                              "Select lngAMAssetFundAccAlterID From AMAssetFundAccAlter"
                              " Where lngAMAssetFundAlterID = " +
                                  std::to_string(fromVersion) + " Order By lngOrderNo")) {
        am::clsAMAssetFundAccAlter line;
        line.LoadID(lineID);
        line.lngAMAssetFundAccAlterID = 0;
        line.lngAMAssetFundAlterID = toVersion;
        if (line.lngDepartmentID == fromDepartment) line.lngDepartmentID = toDepartment;
        if (line.SaveCard() == 0) am::LastRefusal::raiseOr("保存折旧分摊科目失败");
    }
}

void AssetVersionWriter::recalculate(const am::clsAMAssetCard& card,
                                     const AssetDocument& document) const {
    am::clsAMAssetDeprection depreciation;
    const bool done =
        document.mode == am::atDec
            ? depreciation.CaclDeprectionDec(0, card.lngAMAssetID, session_.organization())
            : depreciation.CaclDeprectionAlter(0, card.lngAMAssetID, session_.organization());
    requireEngine(done, depreciation, "资产 " + card.strAMAssetCode.str() + " 的变动未保存");
}

}  // namespace tk::ledger
