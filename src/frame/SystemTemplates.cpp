// The system templates of the fixed-asset documents by receipt type.
#include "frame/SystemTemplates.hpp"

#include "frame/PublicDef.hpp"

namespace tk::am {

const std::vector<std::pair<int16_t, int32_t>>& SystemTemplates::byReceiptType() {
    static const std::vector<std::pair<int16_t, int32_t>> kinds = {{kAdditionType, kAddition},
                                                                   {kDecreaseType, kDecrease},
                                                                   {kAlterationType, kAlteration},
                                                                   {kCardType, kCard},
                                                                   {kOpeningType, kOpening}};
    return kinds;
}

int32_t SystemTemplates::ofReceiptType(int16_t receiptType) {
    for (const auto& [type, id] : byReceiptType())
        if (type == receiptType) return id;
    return 0;
}

int16_t SystemTemplates::receiptTypeOf(int16_t alterType, bool opening) {
    if (alterType == atAdd) return opening ? kOpeningType : kAdditionType;
    return alterType == atDec ? kDecreaseType : kAlterationType;
}

std::string SystemTemplates::ofKindSql(const std::string& kind, const std::string& addition,
                                       const std::string& decrease) {
    return "Decode(" + kind + ", " + addition + ", " + std::to_string(kAddition) + ", " + decrease +
           ", " + std::to_string(kDecrease) + ", " + std::to_string(kAlteration) + ")";
}

std::string SystemTemplates::ofVersionSql(const std::string& initial,
                                          const std::string& alterType) {
    return "Decode(" + initial + ", 1, " + std::to_string(kOpening) + ", " +
           ofKindSql(alterType, "1", "2") + ")";
}

std::string SystemTemplates::idList() {
    std::string list;
    for (int32_t id = kAddition; id <= kOpening; ++id)
        list += (list.empty() ? "" : ",") + std::to_string(id);
    return list;
}

}  // namespace tk::am
