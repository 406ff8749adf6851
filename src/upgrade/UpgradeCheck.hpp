// The integrity checks an upgrade runs on the old schema's data before it converts anything.
#pragma once
#include <string>
#include <vector>

namespace tk::am {

// The integrity checks of the data an upgrade reads from [OldUser]. Each item
// is one query that finds a fault; a found fault puts the item's title and
// query in the "check" log and its message in the report.
class UpgradeCheck {
  public:
    struct Item {
        std::string title, sql, message;
    };

    // Both start a new "check" log. True when nothing was found; otherwise
    // strErrMsg holds the report.
    static bool CheckAMVersion(std::string& strErrMsg);
    static bool CheckFixedModule(std::string& strErrMsg);

    static bool Run(const std::vector<Item>& items, std::string& strErrMsg);
};

}  // namespace tk::am
