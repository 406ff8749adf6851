// The refusal of one row of a set written at once, naming the row by its place.
#pragma once
#include <cstddef>
#include <span>

#include "host/RunTimeError.hpp"

namespace tk::am {

// A row of a set written at once that the books refuse, by its place in the
// set, so that the caller can name the row it came from.
class RowRefusal : public RunTimeError {
  public:
    RowRefusal(size_t index, const RunTimeError& refusal)
        : RunTimeError(refusal.number(), refusal.description()), index_(index) {}
    size_t index() const { return index_; }

  private:
    size_t index_;
};

// Runs `check` on every row; a refusal names the row.
template <typename T, typename Check>
void CheckEachRow(std::span<T> rows, Check check) {
    for (size_t i = 0; i < rows.size(); ++i) try {
            check(rows[i]);
        } catch (const RunTimeError& refusal) {
            throw RowRefusal(i, refusal);
        }
}

}  // namespace tk::am
