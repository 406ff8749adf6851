// The organisation-wide lock that lets one session run the period processes alone.
#pragma once
#include <cstdint>
#include <functional>

namespace tk::am {

// The right to run an organisation's period processes alone, held until the
// thread connection's transaction ends (the account set's AMAssetPeriodLock).
// The routines take it themselves; a caller that takes it first can tell its
// operator why it waits.
class PeriodLock {
  public:
    // Takes the lock; calls `beforeWaiting` first when another session holds it.
    static void takeAlone(int32_t organizationID, const std::function<void()>& beforeWaiting);
    // An account set made before the lock existed gets it when opened, so that
    // no period process fails for want of it.
    static void addIfMissing();
};

}  // namespace tk::am
