// The refusal kept per thread and written to the "errSql" log.
#include "frame/LastRefusal.hpp"

#include <utility>

#include "frame/Log.hpp"
#include "frame/PublicDef.hpp"

namespace tk::am {
namespace {

thread_local std::optional<ErrorInfo> tRefusal;

void Keep(const std::string& operation, const ErrorInfo& error) {
    tRefusal = error;
    WriteLog(operation + ":#" + std::to_string(error.number) + ":" + error.description + kCrLf,
             "errSql", 0);
}

}  // namespace

void LastRefusal::keep(const InputRefusal& refusal) { Keep("SaveCard", ErrorInfo::from(refusal)); }

void LastRefusal::keepCurrent(const std::string& operation) {
    Keep(operation, ErrorInfo::current());
}

std::optional<ErrorInfo> LastRefusal::take() { return std::exchange(tRefusal, std::nullopt); }

void LastRefusal::clear() { tRefusal.reset(); }

void LastRefusal::raiseOr(const std::string& otherwise) {
    if (auto reason = take()) throw InputRefusal(reason->description);
    throw RunTimeError(errors::kDatabase, otherwise);
}

}  // namespace tk::am
