// Many new rows of one table written in a single statement, as the row-by-row inserts would.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/RecordFields.hpp"

namespace tk::am {

// New rows of one table written in one statement rather than one each: every
// row holds the values the record's own insert would paste for the same
// columns, so the table ends up as it would after that insert row by row.
class RowSet {
  public:
    using Columns = std::span<const std::string_view>;
    explicit RowSet(Columns columns) : columns_(columns) {}

    template <typename T>
    void add(const RecordFields<T>& fields, const T& record) {
        std::vector<std::optional<std::string>> values;
        for (std::string_view column : columns_)
            values.push_back(valueOf(fields.literal(record, column)));
        addValues(values);
    }
    // A row of plain values, one per column in order; nullopt is NULL.
    void addValues(const std::vector<std::optional<std::string>>& values);
    bool empty() const { return rows_ == 0; }
    void insertInto(std::string_view table) const;

    // `count` new ids of the table's sequence, in the order it hands them out.
    static std::vector<int32_t> newIDs(std::string_view table, size_t count);

  private:
    // What a pasted literal puts in its column: a text without its quotes (a
    // doubled quote single again); the empty text is NULL, as Oracle has it.
    static std::optional<std::string> valueOf(const std::string& literal);

    Columns columns_;
    std::string json_ = "[";
    size_t rows_ = 0;
};

}  // namespace tk::am
