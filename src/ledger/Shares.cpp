// The split by weights, the last part taking what rounding leaves.
#include "ledger/Shares.hpp"

#include <numeric>

#include "frame/Conversion.hpp"

namespace tk::ledger {

std::vector<double> splitByWeights(double amount, const std::vector<double>& weights) {
    const double total = std::accumulate(weights.begin(), weights.end(), 0.0);
    std::vector<double> parts;
    double given = 0;
    for (size_t i = 0; i < weights.size(); ++i) {
        const double share =
            total == 0 ? 1.0 / static_cast<double>(weights.size()) : weights[i] / total;
        const double part = i + 1 == weights.size() ? am::RoundTo(amount - given, 2)
                                                    : am::RoundTo(amount * share, 2);
        given += part;
        parts.push_back(part);
    }
    return parts;
}

}  // namespace tk::ledger
