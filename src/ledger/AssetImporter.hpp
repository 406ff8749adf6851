// Importing assets from a CSV file: every row checked, then all written in one transaction.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "frame/CsvText.hpp"
#include "ledger/AssetAdder.hpp"
#include "ledger/AssetFileColumns.hpp"

namespace tk::ledger {

// What is wrong with one cell (or a whole row, or the header) of a file.
struct ImportProblem {
    size_t row = 0;      // line of the file, the header being 1
    std::string column;  // its title; empty when the row as a whole is at fault
    std::string reason;
};

struct ImportResult {
    size_t rows = 0;  // assets in the file
    std::vector<ImportProblem> problems;
    bool written = false;  // false on a trial run and whenever a row failed
};

// Adds the assets of a CSV file: every row is checked first and every
// problem reported; only when all pass are they written, in one transaction.
class AssetImporter {
  public:
    using Progress = std::function<void(size_t done, size_t total)>;
    explicit AssetImporter(const LedgerSession& session) : session_(session) {}
    // `dryRun` writes on trial and keeps nothing, so that a row the engine
    // refuses is found too.
    ImportResult import(const std::string& csv, bool dryRun, const Progress& progress = {}) const;

  private:
    struct Row {
        size_t line;
        NewAsset asset;
        bool readable;                                         // every cell made sense on its own
        std::shared_ptr<const AssetAdder::Resolved> prepared;  // once checked
    };
    std::vector<Row> parse(const am::CsvText& file, ImportResult& result) const;
    std::map<AssetColumn, size_t> header(const am::CsvText::Line& titles,
                                         ImportResult& result) const;
    void check(const AssetAdder& adder, std::vector<Row>& rows, ImportResult& result) const;
    void write(const AssetAdder& adder, const std::vector<Row>& rows, bool dryRun,
               const Progress& progress, ImportResult& result) const;

    const LedgerSession& session_;
};

}  // namespace tk::ledger
