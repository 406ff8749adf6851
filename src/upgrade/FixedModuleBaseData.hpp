// The older module's reference data converted: ways of alteration, categories, card numbers.
#pragma once
#include <string>

namespace tk::am {

class clsAMAssetUpdate;

// The older module's reference data in this component's tables: its ways of
// alteration with the five preset ones, its categories with their custom
// fields and code rules, and the card-number counters of its categories.
class FixedModuleBaseData {
  public:
    explicit FixedModuleBaseData(clsAMAssetUpdate& update) : update_(update) {}

    // A statement that fails here is in the "errSql" log and does not stop
    // the step; a preset whose id or code is taken adds its message to strErrMsg.
    bool CopyMethods(std::string& strErrMsg);
    // False when the categories cannot be copied.
    bool CopyCategories(std::string& strErrMsg);
    bool CopyCardSerials(std::string& strErrMsg);
    // The templates of the ways of alteration follow the new schema's templates.
    static void MapMethodTemplates(const std::string& table);

  private:
    void AddPresetMethods(std::string& strErrMsg);
    void FillMissingMethodValues(const std::string& table);

    clsAMAssetUpdate& update_;
};

}  // namespace tk::am
