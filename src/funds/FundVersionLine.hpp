// The common base of a funding-source version's detail lines: flat rows loaded, saved
// and inserted many at once.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/DataAccess.hpp"
#include "frame/RecordFields.hpp"
#include "frame/RowSet.hpp"
#include "funds/FundSql.hpp"
#include "host/Dispatchable.hpp"
#include "register/SaveOrZero.hpp"
#include "register/VersionedRecord.hpp"

namespace tk::am {

// Where one kind of line lives: its table, its columns in table order with the
// row id first, and the column its update writes "c=v", if any.
template <typename T>
struct LineTable {
    std::string_view table;
    int32_t T::*rowId;
    std::span<const std::string_view> columns;
    std::string_view tightColumn;
};

// A detail line of a funding-source version: a flat row that is inserted,
// overwritten in place or deleted, never versioned itself. `T` gives its
// `lineTable()` and `fields()` and carries `lngAMAssetFundAlterID`.
template <typename T>
class FundVersionLine : public DispatchableBase<T> {
  public:
    void LoadID(int32_t lngID) {
        const LineTable<T>& line = T::lineTable();
        RecordsetPtr rs =
            OpenRecordset("Select * From [User]" + std::string(line.table) + " Where " +
                              std::string(line.columns.front()) + " = " + std::to_string(lngID),
                          3, 1);
        if (rs->eof())
            T::fields().blank(self());
        else
            T::fields().load(self(), *rs);
        CloseRecordset(rs);
    }

    // Row id 0 inserts, a positive one rewrites, a negative one deletes that row;
    // a negative version id deletes every line of the version. 0 on failure.
    int32_t SaveCard() {
        return SaveOrZero([this] {
            const int32_t versionID = self().lngAMAssetFundAlterID;
            if (!VersionedRecord::Execute({statement(versionID)})) return 0;
            return AbsoluteId(versionID >= 0 ? self().*T::lineTable().rowId : versionID);
        });
    }

    // New lines, as SaveCard inserts one, in one statement; the row ids are
    // set on the lines.
    static void AddAll(std::span<T> lines) {
        const LineTable<T>& line = T::lineTable();
        const std::vector<int32_t> ids = RowSet::newIDs(line.table, lines.size());
        RowSet rows(line.columns);
        for (size_t i = 0; i < lines.size(); ++i) {
            lines[i].*line.rowId = ids[i];
            rows.add(T::fields(), lines[i]);
        }
        rows.insertInto(line.table);
    }

  protected:
    static void describeLine(DispatchTable<T>& t) {
        T::fields().describe(t);
        t.method("LoadID", [](T& line, Dispatchable::Args& args) {
            line.LoadID(requiredArg(args, 0).toInt32());
            return Variant();
        });
        t.method("SaveCard", [](T& line, Dispatchable::Args&) { return Variant(line.SaveCard()); });
    }

  private:
    T& self() { return static_cast<T&>(*this); }

    std::string statement(int32_t versionID) {
        const LineTable<T>& line = T::lineTable();
        const std::string table(line.table), key(line.columns.front());
        int32_t& rowID = self().*line.rowId;
        if (rowID < 0)
            return " Delete From [User]" + table + " Where " + key + " = " +
                   std::to_string(AbsoluteId(rowID));
        if (versionID < 0)
            return " Delete From [User]" + table +
                   " Where lngAMAssetFundAlterID = " + std::to_string(AbsoluteId(versionID));
        if (rowID > 0)
            return UpdateStatement(table, T::fields(), self(), line.columns.subspan(1),
                                   line.tightColumn, key, rowID);
        rowID = GetNewID(table, "");
        return InsertStatement(table, T::fields(), self(), line.columns);
    }
};

}  // namespace tk::am
