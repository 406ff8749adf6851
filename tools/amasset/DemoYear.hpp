// An invented manufacturer's year of assets, work and changes, for the demo.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ledger/AssetAdder.hpp"

namespace tk::tools {

using ledger::AssetAdder;
using ledger::LedgerSession;
using ledger::NewAsset;
using ledger::YearPeriod;

struct DemoCategory;

// A year of an invented manufacturer's assets, for the demo and for trying the
// ledger out: assets over every category, work recorded on the lorries, and
// July's documents. The same account set gets the same year every time.
class DemoYear {
  public:
    static constexpr int kYear = 2024;
    static constexpr int kAssets = 200;

    explicit DemoYear(const LedgerSession& session);
    // Some categories depreciate as the public sector does.
    void useBothDepreciationTypes() const;
    // `added` hears each new asset's code.
    void addAssets(const std::function<void(const std::string&)>& added);
    // Kilometres driven by every lorry in service during the period.
    void recordWork(YearPeriod period);
    // July's documents: impairment on some machines, a transfer of laptops,
    // worn-out computers scrapped. How many assets each touched.
    struct Changes {
        size_t impaired, transferred, scrapped;
    };
    Changes changeMidYear() const;

  private:
    // Up to `count` assets of a category that came in the first half-year, with their cost.
    std::vector<std::pair<std::string, double>> assetsOf(const std::string& category,
                                                         size_t count) const;
    NewAsset draw(int index);
    const DemoCategory& pickCategory();

    const LedgerSession& session_;
    AssetAdder adder_;
    std::mt19937 random_{20240101};
    std::vector<std::pair<int32_t, YearPeriod>> trucks_;
};

}  // namespace tk::tools
