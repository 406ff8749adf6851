#include "AssetDisposer.hpp"

#include <stdexcept>
#include <vector>

#include "InputText.hpp"
#include "depreciation/clsAMAssetDeprection.hpp"
#include "funds/clsAMAssetFund.hpp"
#include "funds/clsAMAssetFundAccAlter.hpp"
#include "register/clsAMAssetCard.hpp"

namespace tk::tools {
namespace {

constexpr int32_t kDecreaseReceiptType = 49;
constexpr int32_t kDecreaseTemplate = 2;
constexpr int16_t kDecrease = 2;
constexpr int16_t kSaved = 2;
constexpr int32_t kDecreaseWays = 1;  // bytAssetAlterType of the ways of decrease

std::vector<int32_t> ids(const AccountSetSession& session, const std::string& sql) {
    auto rs = session.connection().GetRecordset(sql, 3, 1);
    std::vector<int32_t> found;
    for (; !rs->eof(); rs->moveNext()) found.push_back(rs->field(0).toInt32());
    return found;
}

// A card version and a funding-source version of a decrease carry the same
// marks: its document, its date, and no movement of their own.
template <typename Version>
void markDecrease(Version& version, YearPeriod period, const std::string& date) {
    version.lngReceiptTypeID = kDecreaseReceiptType;
    version.intYear = period.year;
    version.bytPeriod = period.period;
    version.strDate = date;
    version.bytAlterType = kDecrease;
    version.bytStatus = kSaved;
    version.blnIsInit = 0;
    version.dblAmountAlter = version.dblDepreciationAlter = version.dblNetworthAlter =
        version.dblDecAmountAlter = 0;
}

}  // namespace

void AssetDisposer::dispose(const std::string& assetCode, const std::string& date,
                            const std::string& way) const {
    const int32_t assetID = session_.assetID(assetCode);
    const YearPeriod period = session_.periodOfDate(date);
    auto wayID = session_.lookup(
        "Select lngAMAssetMethodID From AMAssetMethod Where bytAssetAlterType = " +
        std::to_string(kDecreaseWays) + " And strAMAssetMethodCode = " + sqlText(way));
    if (!wayID) throw std::runtime_error("减少方式不存在: \"" + way + "\"");
    if (session_.lookup("Select 1 From AMAsset a, AMAssetAlter v Where v.lngAMAssetAlterID = "
                        "a.lngAMAssetLastAlterID"
                        " And v.bytAlterType = 2 And a.lngAMAssetID = " +
                        std::to_string(assetID)))
        throw std::runtime_error("资产已减少: " + assetCode);
    inTransaction(session_, [&] {
        int32_t versionID = saveCardVersion(assetID, period, date, std::stoi(*wayID));
        saveFundVersions(assetID, versionID, period, date);
        if (!am::clsAMAssetDeprection().CaclDeprectionDec(0, assetID, session_.organization()))
            throw std::runtime_error("计算减少资产的折旧失败: " + assetCode);
        return 0;
    });
}

int32_t AssetDisposer::saveCardVersion(int32_t assetID, YearPeriod period, const std::string& date,
                                       int32_t way) const {
    am::clsAMAssetCard card;
    card.Mode = am::atDec;
    card.LoadID(assetID);
    card.lngAMAssetRecentAlterID = card.lngAMAssetAlterID;
    card.lngAMAssetAlterID = 0;
    card.lngAMAssetMethodID = way;
    card.lngTemplateID = kDecreaseTemplate;
    markDecrease(card, period, date);
    if (card.SaveCard() != assetID) throw std::runtime_error("保存资产减少单失败");
    return card.lngAMAssetAlterID;
}

void AssetDisposer::saveFundVersions(int32_t assetID, int32_t versionID, YearPeriod period,
                                     const std::string& date) const {
    for (int32_t fundID :
         ids(session_, "Select lngAMFundID From AMAssetFund Where lngAMAssetID = " +
                           std::to_string(assetID))) {
        am::clsAMAssetFund fund;
        fund.Mode = am::atDec;
        fund.LoadID(assetID, fundID);
        const int32_t previous = fund.lngAMAssetFundAlterID;
        fund.lngAMAssetFundRecentAlterID = previous;
        fund.lngAMAssetFundAlterID = 0;
        fund.lngAMAssetAlterID = versionID;
        markDecrease(fund, period, date);
        const int32_t saved = fund.SaveCard();
        if (saved == 0) throw std::runtime_error("保存资金来源减少失败");
        carryAccountLines(previous, saved);
    }
}

void AssetDisposer::carryAccountLines(int32_t fromVersion, int32_t toVersion) const {
    for (int32_t lineID : ids(session_,
                              "Select lngAMAssetFundAccAlterID From AMAssetFundAccAlter"
                              " Where lngAMAssetFundAlterID = " +
                                  std::to_string(fromVersion) + " Order By lngOrderNo")) {
        am::clsAMAssetFundAccAlter line;
        line.LoadID(lineID);
        line.lngAMAssetFundAccAlterID = 0;
        line.lngAMAssetFundAlterID = toVersion;
        if (line.SaveCard() == 0) throw std::runtime_error("保存折旧分摊科目失败");
    }
}

}  // namespace tk::tools
