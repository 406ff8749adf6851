// The refusal kept per thread and written to the "errSql" log.
#include "frame/LastRefusal.hpp"

#include <utility>

#include "frame/Log.hpp"
#include "frame/PublicDef.hpp"

namespace tk::am {
namespace {

thread_local std::optional<std::string> tRefusal;

}  // namespace

void LastRefusal::keep(const InputRefusal& refusal) {
    tRefusal = refusal.description();
    WriteLog("SaveCard:#" + std::to_string(refusal.number()) + ":" + refusal.description() + kCrLf,
             "errSql", 0);
}

std::optional<std::string> LastRefusal::take() { return std::exchange(tRefusal, std::nullopt); }

void LastRefusal::clear() { tRefusal.reset(); }

void LastRefusal::raiseOr(const std::string& otherwise) {
    if (auto reason = take()) throw InputRefusal(*reason);
    throw RunTimeError(errors::kDatabase, otherwise);
}

}  // namespace tk::am
