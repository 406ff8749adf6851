// The export: each asset as it stands, with its sources' shares of the cost and the first
// source's account lines, under the columns the importer reads.
#include "ledger/AssetExporter.hpp"

#include <map>

#include "frame/CsvText.hpp"
#include "ledger/AssetFileColumns.hpp"

namespace tk::ledger {
namespace {

constexpr int16_t kDecrease = 2;  // bytAlterType of a decrease: the asset has left

// A figure with no more digits than it has: 60, 33.3333333333, 1200.5.
std::string plain(double value) { return formatDouble(value); }

// "label:figure;label:figure".
std::string listOf(const std::vector<std::pair<std::string, double>>& items) {
    std::string text;
    for (const auto& [label, figure] : items)
        text += (text.empty() ? "" : ";") + label + ":" + plain(figure);
    return text;
}

// Each source's share of the cost in percent, as the adder splits it again.
std::string shares(std::vector<std::pair<std::string, double>> funds) {
    double total = 0;
    for (const auto& fund : funds) total += fund.second;
    for (auto& fund : funds)
        fund.second = total == 0 ? 100.0 / funds.size() : fund.second * 100 / total;
    return listOf(funds);
}

}  // namespace

std::map<int32_t, AssetExporter::Labelled> AssetExporter::byAsset(const std::string& sql) const {
    std::map<int32_t, Labelled> found;
    auto rs = session_.connection().GetRecordset(sql, 3, 1);
    for (; !rs->eof(); rs->moveNext())
        found[rs->field(0).toInt32()].emplace_back(rs->field(1).toText(), rs->field(2).toDouble());
    return found;
}

std::string AssetExporter::csv() const {
    const std::string sources = " From AMAsset a, AMAssetFund f, AMAssetFundAlter fa";
    const std::string current =
        " Where f.lngAMAssetID = a.lngAMAssetID And fa.lngAMAssetFundAlterID ="
        " f.lngAMAssetFundLastAlterID And a.lngOrganizationID = " +
        std::to_string(session_.organization());
    auto funds =
        byAsset("Select a.lngAMAssetID, s.strAMFundCode, fa.dblAmount" + sources + ", AMFund s" +
                current + " And s.lngAMFundID = f.lngAMFundID Order By 1, 2");
    // The lines of the first source: the adder gives every source the same lines.
    auto lines =
        byAsset("Select a.lngAMAssetID, c.strAccountCode || ':' || d.strDepartmentCode, l.dblRate" +
                sources + ", AMAssetFundAccAlter l, Account c, Department d" + current +
                " And f.lngAMFundID = (Select Min(z.lngAMFundID) From AMAssetFund z"
                " Where z.lngAMAssetID = a.lngAMAssetID) And l.lngAMAssetFundAlterID ="
                " fa.lngAMAssetFundAlterID And c.lngAccountID = l.lngAccountID"
                " And d.lngDepartmentID = l.lngDepartmentID Order By 1, l.lngOrderNo");
    auto rs = session_.connection().GetRecordset(
        "Select a.lngAMAssetID, a.strAMAssetCode, a.strAMAssetName, t.strAMAssetTypeCode,"
        " d.strDepartmentCode, a.strCreateDate, v.bytDepreciationMethod, v.dblAmount,"
        " v.dblNetworth, v.dblUseage From AMAsset a, AMAssetAlter v, AMAssetType t, Department d"
        " Where v.lngAMAssetAlterID = a.lngAMAssetLastAlterID And t.lngAMAssetTypeID ="
        " a.lngAMAssetTypeID And d.lngDepartmentID = v.lngDepartmentID And v.bytAlterType <> " +
            std::to_string(kDecrease) + " And a.lngOrganizationID = " +
            std::to_string(session_.organization()) + " Order By a.strAMAssetCode",
        3, 1);
    std::string out;
    for (size_t i = 0; i < kAssetColumnTitles.size(); ++i)
        out += (i ? "," : "") + std::string(kAssetColumnTitles[i]);
    out += "\r\n";
    for (; !rs->eof(); rs->moveNext()) {
        const int32_t id = rs->field(0).toInt32();
        const std::vector<std::string> cells = {rs->field(1).toText(),
                                                rs->field(2).toText(),
                                                rs->field(3).toText(),
                                                rs->field(4).toText(),
                                                rs->field(5).toText(),
                                                rs->field(6).toText(),
                                                plain(rs->field(7).toDouble()),
                                                plain(rs->field(8).toDouble()),
                                                plain(rs->field(9).toDouble()),
                                                shares(funds[id]),
                                                listOf(lines[id])};
        for (size_t i = 0; i < cells.size(); ++i)
            out += (i ? "," : "") + am::CsvText::field(cells[i]);
        out += "\r\n";
    }
    return out;
}

}  // namespace tk::ledger
