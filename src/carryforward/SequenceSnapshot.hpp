#pragma once
#include <string>

namespace tk::am {

// The values of every sequence of one schema, taken before a transaction so
// that a rollback can put them back: PostgreSQL does not roll back what a
// transaction drew from a sequence.
class SequenceSnapshot {
  public:
    explicit SequenceSnapshot(const std::string& schema);
    // Sets every sequence back to the value it had when the snapshot was taken.
    void restore() const;

  private:
    std::string restoreSql_;
};

}  // namespace tk::am
