// Copies made with LIKE ... INCLUDING INDEXES, so the floor pays for the
// indexes the process pays for.
#include "Floor.hpp"

#include <chrono>

namespace tk::bench {

Floor::Floor(BenchAccountSet& admin, std::string schema)
    : admin_(admin), schema_(std::move(schema)) {}

std::map<std::string, long> Floor::counts() {
    // exact counts, each table's from one query over the schema's tables
    auto tables = admin_.adminRows(
        "SELECT string_agg(format('SELECT %L, count(*) FROM %I.%I', c.relname, n.nspname, "
        "c.relname), ' UNION ALL ') FROM pg_class c JOIN pg_namespace n ON n.oid = "
        "c.relnamespace WHERE c.relkind = 'r' AND n.nspname = '" +
        schema_ + "'");
    std::map<std::string, long> byTable;
    if (tables.empty() || tables[0][0].empty()) return byTable;
    for (const auto& row : admin_.adminRows(tables[0][0])) byTable[row[0]] = std::stol(row[1]);
    return byTable;
}

void Floor::countNow() { counted_ = counts(); }

void Floor::addGrownTables() {
    for (const auto& [table, rows] : counts())
        if (rows > counted_[table]) add(table);
}

void Floor::add(const std::string& table, const std::string& where) {
    tables_.push_back(table);
    wheres_.push_back(where);
}

double Floor::seconds() {
    std::string make, copy, drop;
    for (size_t i = 0; i < tables_.size(); ++i) {
        const std::string source = schema_ + "." + tables_[i], copyName = "floor_" + tables_[i];
        make += "CREATE TABLE " + copyName + " (LIKE " + source + " INCLUDING INDEXES);";
        copy += "INSERT INTO " + copyName + " SELECT * FROM " + source + wheres_[i] + ";";
        drop += "DROP TABLE " + copyName + ";";
    }
    admin_.admin(make);
    admin_.settle();
    const auto started = std::chrono::steady_clock::now();
    admin_.admin(copy);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    admin_.admin(drop);
    return took.count();
}

}  // namespace tk::bench
