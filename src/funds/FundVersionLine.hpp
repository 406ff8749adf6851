#pragma once
#include <cstdint>
#include <string>

#include "connect/Dispatchable.hpp"
#include "funds/FieldLayout.hpp"
#include "funds/SqlValues.hpp"

namespace tk::am {

// A detail line of a funding-source version: a flat row that is inserted,
// overwritten in place or deleted, never versioned itself. `T` names its
// layout (`T::layout()`) and carries `lngAMAssetFundAlterID`.
template <typename T>
class FundVersionLine : public DispatchableBase<T> {
public:
    void LoadID(int32_t lngID) {
        const FieldLayout<T>& layout = T::layout();
        layout.load(self(), "Select * From [User]" + layout.table() + " Where " + layout.key() +
                                " = " + std::to_string(lngID));
    }

    // Row id 0 inserts, a positive one updates, a negative one deletes that row;
    // a negative version id deletes every line of the version. 0 on failure.
    int32_t SaveCard() {
        try {
            const FieldLayout<T>& layout = T::layout();
            int32_t& rowId = layout.keyOf(self());
            const int32_t versionId = self().lngAMAssetFundAlterID;
            std::string sql;
            if (rowId < 0) {
                sql = layout.deleteSql(layout.key(), AbsoluteId(rowId));
            } else if (versionId < 0) {
                sql = layout.deleteSql("lngAMAssetFundAlterID", AbsoluteId(versionId));
            } else if (rowId == 0) {
                rowId = GetNewID(layout.table(), "");
                sql = layout.insertSql(self());
            } else {
                sql = layout.updateSql(self());
            }
            if (!ExecuteEach({sql})) return 0;
            return AbsoluteId(versionId >= 0 ? rowId : versionId);
        } catch (...) {
            return 0;
        }
    }

protected:
    static void describeLine(DispatchTable<T>& t) {
        T::layout().describe(t);
        t.method("LoadID", [](T& line, Dispatchable::Args& args) {
            line.LoadID(requiredArg(args, 0).toInt32());
            return Variant();
        });
        t.method("SaveCard", [](T& line, Dispatchable::Args&) { return Variant(line.SaveCard()); });
    }

private:
    T& self() { return static_cast<T&>(*this); }
};

}  // namespace tk::am
