// The suite's system templates of the fixed-asset documents and the receipt
// types they stand for: one table that the carry-forward and the upgrades read.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tk::am {

class SystemTemplates {
  public:
    // Template.lngSysTemplateID of each kind of document.
    static constexpr int32_t kAddition = 4044, kAlteration = 4045, kDecrease = 4046, kCard = 4047,
                             kOpening = 4048;
    // Template.lngReceiptTypeID of each kind; 53 is the carry-forward's opening record.
    static constexpr int16_t kAdditionType = 48, kDecreaseType = 49, kAlterationType = 50,
                             kCardType = 51, kOpeningType = 53;

    // Each receipt type with the system template it stands for.
    static const std::vector<std::pair<int16_t, int32_t>>& byReceiptType();
    // The system template of a receipt type; 0 for any other.
    static int32_t ofReceiptType(int16_t receiptType);
    // The receipt type of a card version of kind `alterType` (AlterTypeEnum),
    // an opening record's apart.
    static int16_t receiptTypeOf(int16_t alterType, bool opening);
    // The system template of a version as SQL: `kind` compared with the codes
    // of an addition and a decrease, any other code an alteration.
    static std::string ofKindSql(const std::string& kind, const std::string& addition,
                                 const std::string& decrease);
    // The same for a card version's columns, an opening record (`initial` 1) first.
    static std::string ofVersionSql(const std::string& initial, const std::string& alterType);
    // The five ids as an SQL list: "4044,4045,4046,4047,4048".
    static std::string idList();
};

}  // namespace tk::am
