// Recordset rows read from a libpq result, cursor moves, and AddNew/Update written back with
// optimistic checks against the values the row was read with.
#include "connect/Recordset.hpp"

#include <charconv>
#include <cstdlib>

#include "connect/DatabaseError.hpp"
#include "connect/Session.hpp"

namespace tk::connect {
namespace {

constexpr unsigned int kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kFloat4 = 700, kFloat8 = 701,
                       kNumeric = 1700;
constexpr int32_t kNotFound = 3265, kNoCurrentRecord = 3021, kReadOnly = 3251, kClosed = 3704,
                  kRowChanged = -2147217864;

Variant fromText(const char* text, unsigned int type) {
    switch (type) {
        case kInt2:
            return Variant(static_cast<int16_t>(std::atoi(text)));
        case kInt4:
            return Variant(static_cast<int32_t>(std::atol(text)));
        case kInt8: {
            long long v = std::atoll(text);
            if (v >= INT32_MIN && v <= INT32_MAX) return Variant(static_cast<int32_t>(v));
            return Variant(static_cast<double>(v));
        }
        case kFloat4:
        case kFloat8:
        case kNumeric:
            return Variant(std::strtod(text, nullptr));
        case kBool:
            return Variant(text[0] == 't');
        default:
            return Variant(std::string(text));
    }
}

// The text a value is written back as; Oracle stores an empty text as NULL.
std::optional<std::string> toParam(const Variant& v, unsigned int columnType) {
    switch (v.type()) {
        case Variant::Type::Empty:
        case Variant::Type::Null:
            return std::nullopt;
        case Variant::Type::Bool:
            if (columnType == kBool) return std::string(v.toBool() ? "t" : "f");
            return std::string(v.toBool() ? "-1" : "0");
        case Variant::Type::R8: {
            char buffer[32];
            auto end = std::to_chars(buffer, buffer + sizeof buffer, v.toDouble()).ptr;
            return std::string(buffer, end);
        }
        default: {
            std::string text = v.toText();
            if (text.empty()) return std::nullopt;
            return text;
        }
    }
}

[[noreturn]] void raise(int32_t number, const char* text) { throw RunTimeError(number, text); }

}  // namespace

Recordset::Recordset(std::shared_ptr<Session> session, PgResult result, bool updatable)
    : session_(std::move(session)), updatable_(updatable) {
    PGresult* r = result.get();
    int nFields = PQnfields(r);
    for (int c = 0; c < nFields; ++c)
        columns_.push_back({PQfname(r, c), PQftype(r, c), PQftable(r, c), PQftablecol(r, c)});
    int nRows = PQntuples(r);
    rows_.resize(static_cast<size_t>(nRows));
    for (int i = 0; i < nRows; ++i) {
        Row& row = rows_[static_cast<size_t>(i)];
        row.values.reserve(static_cast<size_t>(nFields));
        for (int c = 0; c < nFields; ++c) {
            bool isNull = PQgetisnull(r, i, c);
            row.values.push_back(isNull ? Variant::null()
                                        : fromText(PQgetvalue(r, i, c), columns_[c].type));
            if (updatable_)
                row.original.push_back(isNull ? std::nullopt
                                              : std::optional<std::string>(PQgetvalue(r, i, c)));
        }
        row.changed.assign(static_cast<size_t>(nFields), false);
    }
}

void Recordset::describe(DispatchTable<Recordset>& t) {
    t.method("EOF", [](Recordset& rs, Args&) { return Variant(rs.eof()); })
        .method("BOF", [](Recordset& rs, Args&) { return Variant(rs.bof()); })
        .method("RecordCount", [](Recordset& rs, Args&) { return Variant(rs.recordCount()); })
        .method("FieldCount", [](Recordset& rs, Args&) { return Variant(rs.fieldCount()); })
        .method("State", [](Recordset& rs, Args&) { return Variant(rs.isOpen() ? 1 : 0); })
        .method("MoveFirst",
                [](Recordset& rs, Args&) {
                    rs.moveFirst();
                    return Variant();
                })
        .method("MoveNext",
                [](Recordset& rs, Args&) {
                    rs.moveNext();
                    return Variant();
                })
        .method("MoveLast",
                [](Recordset& rs, Args&) {
                    rs.moveLast();
                    return Variant();
                })
        .method("Close",
                [](Recordset& rs, Args&) {
                    rs.close();
                    return Variant();
                })
        .method("Fields", [](Recordset& rs, Args& a) { return rs.item(requiredArg(a, 0)); })
        .method("FieldName",
                [](Recordset& rs, Args& a) {
                    return Variant(rs.fieldName(requiredArg(a, 0).toInt32()));
                })
        .method("AddNew",
                [](Recordset& rs, Args&) {
                    rs.addNew();
                    return Variant();
                })
        .method("SetField",
                [](Recordset& rs, Args& a) {
                    rs.setField(requiredArg(a, 0).toText(), requiredArg(a, 1));
                    return Variant();
                })
        .method("Update",
                [](Recordset& rs, Args&) {
                    rs.update();
                    return Variant();
                })
        .setter("Fields", [](Recordset& rs, Args& a, const Variant& v) {
            rs.setField(requiredArg(a, 0).toText(), v);
        });
}

void Recordset::requireOpen() const {
    if (!open_) raise(kClosed, "Operation is not allowed when the object is closed.");
}

bool Recordset::eof() const {
    requireOpen();
    return position_ >= static_cast<long>(rows_.size());
}

bool Recordset::bof() const {
    requireOpen();
    return position_ < 0 || rows_.empty();
}

int Recordset::recordCount() const {
    requireOpen();
    return static_cast<int>(rows_.size());
}

int Recordset::fieldCount() const {
    requireOpen();
    return static_cast<int>(columns_.size());
}

void Recordset::moveFirst() {
    requireOpen();
    position_ = 0;
}

void Recordset::moveNext() {
    if (eof())
        raise(kNoCurrentRecord,
              "Either BOF or EOF is True, or the current record has been deleted.");
    ++position_;
}

void Recordset::moveLast() {
    requireOpen();
    position_ = static_cast<long>(rows_.size()) - (rows_.empty() ? 0 : 1);
}

void Recordset::close() {
    requireOpen();
    open_ = false;
    rows_.clear();
}

const Recordset::Row& Recordset::currentRow() const {
    if (eof() || bof())
        raise(kNoCurrentRecord,
              "Either BOF or EOF is True, or the current record has been deleted.");
    return rows_[static_cast<size_t>(position_)];
}

Recordset::Row& Recordset::currentRow() {
    return const_cast<Row&>(static_cast<const Recordset&>(*this).currentRow());
}

int Recordset::indexOf(std::string_view name) const {
    requireOpen();
    for (size_t c = 0; c < columns_.size(); ++c)
        if (lowerAscii(columns_[c].name) == lowerAscii(name)) return static_cast<int>(c);
    return -1;
}

bool Recordset::hasField(std::string_view name) const { return indexOf(name) >= 0; }

const Variant& Recordset::field(std::string_view name) const {
    int c = indexOf(name);
    if (c < 0)
        raise(kNotFound,
              "Item cannot be found in the collection corresponding to the requested name or "
              "ordinal.");
    return currentRow().values[static_cast<size_t>(c)];
}

const Variant& Recordset::field(int index) const {
    requireOpen();
    if (index < 0 || index >= static_cast<int>(columns_.size()))
        raise(kNotFound,
              "Item cannot be found in the collection corresponding to the requested name or "
              "ordinal.");
    return currentRow().values[static_cast<size_t>(index)];
}

const Variant& Recordset::item(const Variant& nameOrIndex) const {
    if (nameOrIndex.type() == Variant::Type::Text)
        return field(std::string_view(nameOrIndex.toText()));
    return field(nameOrIndex.toInt32());
}

std::string Recordset::fieldName(int index) const {
    requireOpen();
    if (index < 0 || index >= static_cast<int>(columns_.size()))
        raise(kNotFound,
              "Item cannot be found in the collection corresponding to the requested name or "
              "ordinal.");
    return columns_[static_cast<size_t>(index)].name;
}

void Recordset::addNew() {
    requireOpen();
    if (!updatable_) raise(kReadOnly, "Current Recordset does not support updating.");
    Row row;
    row.values.assign(columns_.size(), Variant::null());
    row.original.assign(columns_.size(), std::nullopt);
    row.changed.assign(columns_.size(), false);
    row.isNew = true;
    rows_.push_back(std::move(row));
    position_ = static_cast<long>(rows_.size()) - 1;
}

void Recordset::setField(std::string_view name, const Variant& value) {
    if (!updatable_) raise(kReadOnly, "Current Recordset does not support updating.");
    int c = indexOf(name);
    if (c < 0)
        raise(kNotFound,
              "Item cannot be found in the collection corresponding to the requested name or "
              "ordinal.");
    Row& row = currentRow();
    row.values[static_cast<size_t>(c)] = value;
    row.changed[static_cast<size_t>(c)] = true;
}

// The columns of `table` that the recordset read, each once (the first wins).
std::vector<int> Recordset::writableColumns(unsigned int table) const {
    std::vector<int> result;
    for (size_t c = 0; c < columns_.size(); ++c) {
        if (columns_[c].table != table || columns_[c].tableColumn <= 0) continue;
        bool seen = false;
        for (int prior : result)
            seen = seen || columns_[prior].tableColumn == columns_[c].tableColumn;
        if (!seen) result.push_back(static_cast<int>(c));
    }
    return result;
}

void Recordset::update() {
    if (!updatable_) raise(kReadOnly, "Current Recordset does not support updating.");
    Row& row = currentRow();
    bool anyChange = false;
    for (bool changed : row.changed) anyChange = anyChange || changed;
    if (!anyChange) return;
    row.isNew ? insertRow(row) : updateRow(row);
    row.changed.assign(columns_.size(), false);
    row.isNew = false;
}

// The table a write goes to: that of the first changed field.
unsigned int Recordset::changedTable(const Row& row) const {
    for (size_t c = 0; c < columns_.size(); ++c)
        if (row.changed[c] && columns_[c].table) return columns_[c].table;
    raise(kReadOnly, "Current Recordset does not support updating.");
}

void Recordset::insertRow(Row& row) {
    unsigned int table = changedTable(row);
    std::vector<int> columns = writableColumns(table);
    std::string names, holes, returning;
    NativeParams params;
    for (int c : columns) {
        const std::string& name = session_->columnName(table, columns_[c].tableColumn);
        returning += (returning.empty() ? "" : ", ") + name;
        if (!row.changed[c]) continue;
        params.values.push_back(toParam(row.values[c], columns_[c].type));
        params.types.push_back(columns_[c].type);
        names += (names.empty() ? "" : ", ") + name;
        holes += (holes.empty() ? "$" : ", $") + std::to_string(params.values.size());
    }
    PgResult result =
        session_->runNative("INSERT INTO " + session_->tableName(table) + " (" + names +
                                ") VALUES (" + holes + ") RETURNING " + returning,
                            params);
    refresh(row, result, columns);
}

// Writes the changed fields only where the row still holds every value it
// was read with; otherwise another session got there first.
void Recordset::updateRow(Row& row) {
    unsigned int table = changedTable(row);
    std::vector<int> columns = writableColumns(table);
    const std::string& tableName = session_->tableName(table);
    std::string sets, matches, returning;
    NativeParams params;
    auto hole = [&](std::optional<std::string> value, unsigned int type) {
        params.values.push_back(std::move(value));
        params.types.push_back(type);
        return "$" + std::to_string(params.values.size());
    };
    for (int c : columns) {
        const std::string& name = session_->columnName(table, columns_[c].tableColumn);
        returning += (returning.empty() ? "" : ", ") + name;
        matches += (matches.empty() ? "" : " AND ") + name + " IS NOT DISTINCT FROM " +
                   hole(row.original[c], columns_[c].type);
        if (row.changed[c])
            sets += (sets.empty() ? "" : ", ") + name + " = " +
                    hole(toParam(row.values[c], columns_[c].type), columns_[c].type);
    }
    PgResult result = session_->runNative(
        "UPDATE " + tableName + " SET " + sets + " WHERE ctid = (SELECT ctid FROM " + tableName +
            " WHERE " + matches + " LIMIT 1 FOR UPDATE) RETURNING " + returning,
        params);
    if (PQntuples(result.get()) != 1)
        raise(kRowChanged,
              "Row cannot be located for updating. Some values may have been changed since it was "
              "last read.");
    refresh(row, result, columns);
}

// After a write the row holds what the database now holds (defaults included),
// which is what the next optimistic check compares against.
void Recordset::refresh(Row& row, const PgResult& result, const std::vector<int>& columns) {
    const PGresult* r = result.get();
    for (size_t i = 0; i < columns.size(); ++i) {
        int field = static_cast<int>(i);
        size_t c = static_cast<size_t>(columns[i]);
        bool isNull = PQgetisnull(r, 0, field);
        std::optional<std::string> text;
        if (!isNull) text = PQgetvalue(r, 0, field);
        for (size_t same = 0; same < columns_.size(); ++same) {
            if (columns_[same].table != columns_[c].table ||
                columns_[same].tableColumn != columns_[c].tableColumn)
                continue;
            row.values[same] =
                isNull ? Variant::null() : fromText(text->c_str(), columns_[same].type);
            row.original[same] = text;
        }
    }
}

}  // namespace tk::connect
