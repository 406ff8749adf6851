// The statements a process spent its time in, from pg_stat_statements where
// the bench server loads it (./run bench does, tracking nested statements).
#pragma once
#include <string>

#include "BenchAccountSet.hpp"

namespace tk::bench {

class TopStatements {
  public:
    // Clears the server's statement statistics, so that they count the process alone.
    explicit TopStatements(BenchAccountSet& admin);
    // The `count` statements that took longest, each with its share of the
    // process's `seconds`; a statement run inside a routine is marked "+", its
    // time also counted in the routine's call.
    void print(const std::string& title, double seconds, int count = 8);

  private:
    BenchAccountSet& admin_;
    bool available_ = false;
};

}  // namespace tk::bench
