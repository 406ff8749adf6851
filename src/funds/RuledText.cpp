#include "funds/RuledText.hpp"

#include "frame/Utility.hpp"

namespace tk::am {

std::string QuotedOrSpace(const std::string& text) { return QuoteSql(KeptOrSpace(text)); }

std::string KeptOrSpace(const std::string& text) { return Trim(text).empty() ? " " : text; }

}  // namespace tk::am
