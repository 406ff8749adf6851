// A batch's code source: rule rows kept by query, serials counted on here and each
// counter written once at the end.
#include "register/AssetCodeBatch.hpp"

#include "frame/DataAccess.hpp"

namespace tk::am {

AssetCodeBatch::~AssetCodeBatch() {
    for (auto& [key, counter] : counters_) CloseRecordset(counter.row);
}

std::optional<std::vector<std::string>> AssetCodeBatch::firstRow(const std::string& sql) {
    auto found = rows_.find(sql);
    if (found == rows_.end()) found = rows_.emplace(sql, CodeSource::firstRow(sql)).first;
    return found->second;
}

int32_t AssetCodeBatch::drawSerial(int32_t organizationID, int32_t categoryID,
                                   AssetCodeTypeEnum kind) {
    Counter& counter = counters_[{organizationID, categoryID, kind}];
    if (!counter.row) {
        counter.row = openCounter(organizationID, categoryID, kind);
        counter.last = lastSerial(counter.row);
    }
    return ++counter.last;
}

void AssetCodeBatch::finish() {
    for (auto& [key, counter] : counters_) {
        const auto& [organizationID, categoryID, kind] = key;
        writeCounter(counter.row, organizationID, categoryID, static_cast<AssetCodeTypeEnum>(kind),
                     counter.last);
    }
    counters_.clear();
}

}  // namespace tk::am
