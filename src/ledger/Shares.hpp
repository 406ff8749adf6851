// Splitting an amount into parts by weights, exact to the cent.
#pragma once
#include <vector>

namespace tk::ledger {

// Cuts an amount into parts in proportion to `weights`, each to the cent, the
// last part taking what rounding leaves so that the parts add up exactly.
// Weights that add up to nothing share alike.
std::vector<double> splitByWeights(double amount, const std::vector<double>& weights);

}  // namespace tk::ledger
