// The source of the rule rows and serial counters from which asset codes are composed.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frame/DataAccess.hpp"
#include "frame/PublicDef.hpp"

namespace tk::am {

// Composes codes by the rules of the categories and national classifications
// (clsAMAssetCode::GetCode), reading their rows and drawing the serial
// counters straight from the database. A batch reads and draws its own way
// (AssetCodeBatch) with the same rules.
class CodeSource {
  public:
    virtual ~CodeSource() = default;

    std::string code(AssetCodeTypeEnum enmType, const std::string& strDate,
                     int32_t lngOrganizationID, int32_t lngAssetTypeID,
                     int32_t lngAssetNationalTypeID, int32_t lngDutyDepartmentID,
                     int32_t lngMainDepartmentID, const std::string& strAMAssetCode = "",
                     bool blnHaveSep = false);

    // The first row of a query, every column as text (a null as the empty text).
    virtual std::optional<std::vector<std::string>> firstRow(const std::string& sql);
    // The next serial of a counter of AMAssetTypeNo, written back at once;
    // optimistic: a row another client wrote since it was read raises.
    virtual int32_t drawSerial(int32_t organizationID, int32_t categoryID, AssetCodeTypeEnum kind);

  protected:
    // A counter's row as read (none yet: empty), its last serial (0 for none),
    // and its write-back, which closes it.
    static RecordsetPtr openCounter(int32_t organizationID, int32_t categoryID,
                                    AssetCodeTypeEnum kind);
    static int32_t lastSerial(const RecordsetPtr& counter);
    static void writeCounter(RecordsetPtr& counter, int32_t organizationID, int32_t categoryID,
                             AssetCodeTypeEnum kind, int32_t serial);
};

}  // namespace tk::am
