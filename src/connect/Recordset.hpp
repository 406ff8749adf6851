// The ADO-style recordset (TkConnectBase.Recordset) over a fully read PostgreSQL result.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "connect/PgResult.hpp"
#include "host/Dispatchable.hpp"

namespace tk::connect {

class Session;

// Cursor and lock types of a recordset, numbered as ADO numbers them.
enum CursorType : int { adOpenForwardOnly = 0, adOpenDynamic = 2, adOpenStatic = 3 };
enum LockType : int { adLockReadOnly = 1, adLockOptimistic = 3 };

// The ADO recordset model over a fully read result: fields by name (case-
// insensitive, the first of two same-named columns wins) or index, BOF/EOF,
// moves, and, when opened updatable, AddNew/SetField/Update written back with
// optimistic concurrency: a row another session changed since it was read is
// not overwritten.
class Recordset : public DispatchableBase<Recordset> {
  public:
    Recordset(std::shared_ptr<Session> session, PgResult result, bool updatable);
    std::string_view className() const override { return "TkConnectBase.Recordset"; }
    static void describe(DispatchTable<Recordset>& t);

    bool isOpen() const { return open_; }
    bool eof() const;
    bool bof() const;
    int recordCount() const;
    int fieldCount() const;
    void moveFirst();
    void moveNext();
    void moveLast();
    void close();

    const Variant& field(std::string_view name) const;
    const Variant& field(int index) const;
    // The Fields(name or index) of late binding.
    const Variant& item(const Variant& nameOrIndex) const;
    std::string fieldName(int index) const;
    bool hasField(std::string_view name) const;

    void addNew();
    void setField(std::string_view name, const Variant& value);
    void update();

  private:
    struct Column {
        std::string name;
        unsigned int type;
        unsigned int table;
        int tableColumn;
    };
    struct Row {
        std::vector<Variant> values;
        std::vector<std::optional<std::string>> original;
        std::vector<bool> changed;
        bool isNew = false;
    };

    void requireOpen() const;
    const Row& currentRow() const;
    Row& currentRow();
    int indexOf(std::string_view name) const;
    std::vector<int> writableColumns(unsigned int table) const;
    unsigned int changedTable(const Row& row) const;
    void insertRow(Row& row);
    void updateRow(Row& row);
    void refresh(Row& row, const PgResult& result, const std::vector<int>& columns);

    std::shared_ptr<Session> session_;
    std::vector<Column> columns_;
    std::vector<Row> rows_;
    long position_ = 0;
    bool updatable_;
    bool open_ = true;
};

}  // namespace tk::connect
