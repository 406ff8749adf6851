// The import: the header and cells read into new assets, each problem named by row and column,
// then the rows written in parts inside one transaction.
#include "ledger/AssetImporter.hpp"

#include <algorithm>
#include <set>
#include <sstream>

#include "frame/RowRefusal.hpp"
#include "ledger/AssetInputError.hpp"
#include "ledger/InputText.hpp"
#include "ledger/Transaction.hpp"

namespace tk::ledger {
namespace {

// The column an input error of the adder is about.
std::string columnOf(const std::string& field) {
    static const std::map<std::string, AssetColumn> kColumns = {
        {"code", AssetColumn::Code},
        {"name", AssetColumn::Name},
        {"category", AssetColumn::Category},
        {"department", AssetColumn::Department},
        {"date", AssetColumn::Date},
        {"cost", AssetColumn::Cost},
        {"residual", AssetColumn::Residual},
        {"fund", AssetColumn::Funds},
        {"accountLine", AssetColumn::AccountLines}};
    auto it = kColumns.find(field);
    return it == kColumns.end() ? "" : std::string(titleOf(it->second));
}

std::vector<std::string> items(const std::string& cell) {
    std::vector<std::string> found;
    std::stringstream in(cell);
    for (std::string item; std::getline(in, item, ';');)
        if (!item.empty()) found.push_back(item);
    return found;
}

// Fills one field of the asset from its cell; an error names what is wrong.
void setField(NewAsset& a, AssetColumn column, const std::string& cell) {
    const std::string title(titleOf(column));
    switch (column) {
        case AssetColumn::Code:
            if (!cell.empty()) a.code = cell;
            break;
        case AssetColumn::Name:
            a.name = cell;
            break;
        case AssetColumn::Category:
            a.category = cell;
            break;
        case AssetColumn::Department:
            a.department = cell;
            break;
        case AssetColumn::Date:
            a.date = cell;
            break;
        case AssetColumn::Method:
            if (!cell.empty()) a.method = static_cast<int16_t>(parseInteger(cell, 1, 6, title));
            break;
        case AssetColumn::Cost:
            a.cost = parseNonNegative(cell, title);
            break;
        case AssetColumn::Residual:
            if (!cell.empty()) a.residual = parseNonNegative(cell, title);
            break;
        case AssetColumn::Life:
            // periods, or the total work on the workload method (told apart when resolved)
            if (!cell.empty()) a.life = a.totalWork = parseNonNegative(cell, title);
            break;
        case AssetColumn::Funds:
            for (const auto& fund : items(cell)) a.funds.push_back(fundOf(fund));
            break;
        case AssetColumn::AccountLines:
            for (const auto& line : items(cell)) a.accountLines.push_back(accountLineOf(line));
            break;
    }
}

}  // namespace

ImportResult AssetImporter::import(const std::string& csv, bool dryRun,
                                   const Progress& progress) const {
    ImportResult result;
    std::vector<Row> rows = parse(am::CsvText(csv), result);
    result.rows = rows.size();
    const bool headerRead =
        std::ranges::none_of(result.problems, [](const ImportProblem& p) { return p.row == 1; });
    const AssetAdder adder(session_);  // one adder: each category is loaded once
    if (headerRead) check(adder, rows, result);
    std::ranges::stable_sort(result.problems, {}, &ImportProblem::row);
    if (result.problems.empty()) write(adder, rows, dryRun, progress, result);
    return result;
}

std::map<AssetColumn, size_t> AssetImporter::header(const am::CsvText::Line& titles,
                                                    ImportResult& result) const {
    std::map<AssetColumn, size_t> at;
    for (size_t i = 0; i < titles.cells.size(); ++i) {
        bool known = false;
        for (size_t c = 0; c < kAssetColumnTitles.size(); ++c)
            if (titles.cells[i] == kAssetColumnTitles[c]) {
                at[static_cast<AssetColumn>(c)] = i;
                known = true;
            }
        if (!known) result.problems.push_back({1, titles.cells[i], "不认识的列名"});
    }
    for (AssetColumn required :
         {AssetColumn::Name, AssetColumn::Category, AssetColumn::Date, AssetColumn::Cost})
        if (!at.contains(required))
            result.problems.push_back({1, std::string(titleOf(required)), "缺少此列"});
    return at;
}

std::vector<AssetImporter::Row> AssetImporter::parse(const am::CsvText& file,
                                                     ImportResult& result) const {
    std::vector<Row> rows;
    if (file.lines().empty()) {
        result.problems.push_back({1, "", "文件是空的"});
        return rows;
    }
    const auto at = header(file.lines().front(), result);
    for (size_t l = 1; l < file.lines().size(); ++l) {
        const am::CsvText::Line& line = file.lines()[l];
        Row row{line.number, {}, line.cells.size() <= file.lines().front().cells.size(), nullptr};
        if (!row.readable) result.problems.push_back({line.number, "", "单元格多于列名"});
        for (const auto& [column, index] : at) {
            try {
                setField(row.asset, column, index < line.cells.size() ? line.cells[index] : "");
            } catch (const std::exception& e) {
                result.problems.push_back({line.number, std::string(titleOf(column)), e.what()});
                row.readable = false;
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

void AssetImporter::check(const AssetAdder& adder, std::vector<Row>& rows,
                          ImportResult& result) const {
    std::set<std::string> codes;
    for (Row& row : rows) {
        if (!row.readable) continue;
        if (row.asset.code && !codes.insert(*row.asset.code).second)
            result.problems.push_back({row.line, std::string(titleOf(AssetColumn::Code)),
                                       "资产编码在文件中重复: \"" + *row.asset.code + "\""});
        try {
            row.prepared = adder.prepare(row.asset);
        } catch (const AssetInputError& e) {
            result.problems.push_back({row.line, columnOf(e.field()), e.what()});
        }
    }
}

void AssetImporter::write(const AssetAdder& adder, const std::vector<Row>& rows, bool dryRun,
                          const Progress& progress, ImportResult& result) const {
    // Rows are written in parts so that the progress moves and no statement grows
    // without bound.
    constexpr size_t kPart = 500;
    size_t from = 0;
    try {
        inTransaction(
            session_,
            [&] {
                for (from = 0; from < rows.size(); from += kPart) {  // from the start on a retry
                    std::vector<AssetAdder::Prepared> part;
                    for (size_t i = from; i < std::min(rows.size(), from + kPart); ++i)
                        part.emplace_back(&rows[i].asset, rows[i].prepared.get());
                    adder.addAll(part);
                    if (progress) progress(from + part.size(), rows.size());
                }
                return 0;
            },
            dryRun ? Ending::RollBack : Ending::Commit);
    } catch (const am::RowRefusal& refusal) {
        result.problems.push_back({rows[from + refusal.index()].line, "", refusal.what()});
        return;
    }
    result.written = !dryRun;
}

}  // namespace tk::ledger
