// The floor a process is measured against: the rows it wrote, written again
// by one "Insert ... Select" per table into empty copies with the tables' indexes.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "BenchAccountSet.hpp"

namespace tk::bench {

class Floor {
  public:
    // The copies are made through `admin`'s set; `schema` holds the rows written.
    Floor(BenchAccountSet& admin, std::string schema);

    // Counts the rows of every table of the schema, before the process.
    void countNow();
    // Every row of each table that holds more rows than when counted.
    void addGrownTables();
    // The rows of `table` that `where` selects (" WHERE ...", or empty for all).
    void add(const std::string& table, const std::string& where = "");
    // Seconds the copying took, the copies made before and dropped after.
    double seconds();
    const std::vector<std::string>& tables() const { return tables_; }

  private:
    std::map<std::string, long> counts();

    BenchAccountSet& admin_;
    std::string schema_;
    std::map<std::string, long> counted_;
    std::vector<std::string> tables_, wheres_;
};

}  // namespace tk::bench
