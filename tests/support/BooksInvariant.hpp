// What a close must leave true between the tables of the books, as queries
// any test runs on its own connection.
#pragma once
#include <cstdint>
#include <string>

namespace tk::test {

// A query counting the depreciation runs of an organisation whose total
// its period's balances, its posted depreciation or its apportionment (the
// expense side) do not come to, to the cent: 0 after any close.
std::string RunsOutOfStep(int32_t organization = 1);

}  // namespace tk::test
