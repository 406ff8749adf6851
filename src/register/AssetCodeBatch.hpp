// Drawing the codes of many new assets at once, each rule and counter read and
// written only once.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "frame/DataAccess.hpp"
#include "register/CodeSource.hpp"

namespace tk::am {

// The codes of many new assets by the same rules as one at a time: each rule
// row is read once, and each serial counter is read once, counted on here and
// written once by `finish`, optimistic as a single draw is. The codes are those
// drawing them one by one in the same order would give.
class AssetCodeBatch : public CodeSource {
  public:
    AssetCodeBatch() = default;
    AssetCodeBatch(const AssetCodeBatch&) = delete;
    AssetCodeBatch& operator=(const AssetCodeBatch&) = delete;
    ~AssetCodeBatch() override;

    std::optional<std::vector<std::string>> firstRow(const std::string& sql) override;
    int32_t drawSerial(int32_t organizationID, int32_t categoryID, AssetCodeTypeEnum kind) override;
    // Writes each counter drawn on at its last serial.
    void finish();

  private:
    struct Counter {
        RecordsetPtr row;  // as read, for the optimistic write
        int32_t last = 0;
    };
    std::map<std::string, std::optional<std::vector<std::string>>> rows_;
    std::map<std::tuple<int32_t, int32_t, int32_t>, Counter> counters_;
};

}  // namespace tk::am
