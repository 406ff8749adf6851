// Changing an asset in the register: cost, impairment, residual value, life, method, department.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "ledger/LedgerSession.hpp"

namespace tk::ledger {

// The new values of a change (变动单) as the command line gives them; what is
// not given stays as it is.
struct AssetAlteration {
    std::string date;
    std::optional<double> cost, impairment, residual, life;  // life: periods, or total work
    std::optional<int16_t> method;
    std::optional<std::string> department;  // code
    std::optional<std::string>
        way;  // code of a way of change; chosen from the change when not given

    bool changesFigures() const { return cost || impairment || residual || life || method; }
};

// Changes an asset's cost, impairment, residual value, life, method or
// department: a new version of the card and of each funding source, the
// depreciation recalculated from the change on.
class AssetAlterer {
  public:
    explicit AssetAlterer(const LedgerSession& session) : session_(session) {}
    void alter(const std::string& assetCode, const AssetAlteration& alteration) const;

  private:
    int32_t wayOf(const AssetAlteration& alteration) const;
    std::optional<int32_t> departmentOf(const AssetAlteration& alteration) const;

    const LedgerSession& session_;
};

}  // namespace tk::ledger
