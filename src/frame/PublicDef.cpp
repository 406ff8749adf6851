// Turns the error being handled into an ErrorInfo, whatever kind of exception it is.
#include "frame/PublicDef.hpp"

namespace tk::am {

ErrorInfo ErrorInfo::current() {
    try {
        throw;
    } catch (const RunTimeError& e) {
        return from(e);
    } catch (const std::exception& e) {
        return from(e);
    } catch (...) {
        return {errors::kDatabase, "未知错误"};
    }
}

}  // namespace tk::am
