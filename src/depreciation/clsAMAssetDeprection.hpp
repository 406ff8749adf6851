// The class for everything that changes an asset's depreciation, each operation a stored routine.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "depreciation/RoutineCall.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {

// Everything that changes an asset's depreciation: the recalculations after
// a card changed, the period balances, the daily journal and the copies of
// the online-device module. The arithmetic is the account set's stored
// routines'; each operation calls one and reports true when it returned 0,
// never raising.
class clsAMAssetDeprection : public DispatchableBase<clsAMAssetDeprection> {
  public:
    std::string_view className() const override { return "clsAMAssetDeprection"; }
    static void describe(DispatchTable<clsAMAssetDeprection>& t);

    bool CaclDeprectionAdd(int16_t intMode, int32_t lngAMAssetID, int32_t lngOrganizationID);
    // CaclDeprectionAdd (mode 0) for each of many new assets, in one call: 0
    // when every one passed, else the place (from 1) of the first one refused,
    // with the reason in ErrorMessage. Database errors reach the caller.
    size_t CaclDeprectionAddAll(const std::vector<int32_t>& assets, int32_t lngOrganizationID);
    bool CaclDeprectionAlter(int16_t intMode, int32_t lngAMAssetID, int32_t lngOrganizationID);
    // The check CaclDeprectionAlter runs before it recalculates, for the latest
    // version of every asset of the organisation in one pass: 0 when all pass,
    // else the id of the first asset (by id) refused, with the reason in
    // ErrorMessage. Database errors reach the caller.
    int32_t CaclDeprectionCheckAll(int16_t intMode, int32_t lngOrganizationID);
    bool CaclDeprectionDec(int16_t intMode, int32_t lngAMAssetID, int32_t lngOrganizationID);
    bool CaclDeprectionWork(int16_t intMode, int16_t intYear, int16_t bytPeriod,
                            int32_t lngAMAssetID, double dblWork, int32_t lngOrganizationID);
    bool CaclDeprectionUpdate(int16_t intYear, int16_t bytPeriod, int32_t lngAMAssetID,
                              int32_t lngOrganizationID);

    bool WriteBalance(int16_t intMode, int16_t intYear, int16_t bytPeriod,
                      const std::string& strDate = "", const std::string& strName = "",
                      bool blnIncreaseDepreciation = false, int32_t lngVoucherID = 0,
                      int32_t lngOperatorID = 0, int32_t lngOrganizationID = 0);
    bool WriteDaily(int16_t intYear, int16_t bytPeriod, int32_t lngAMAssetID,
                    bool blnFromDepreciation, bool blnIsCancelDaily,
                    const Variant& lngOrganizationID);
    bool WriteEquipment(int16_t intMode, int32_t lngAMAssetID, int32_t lngOrganiationID = 0,
                        bool blnFromDepreciation = false);

    // Why the last operation failed: the routine's reason for a refusal, or
    // the run-time error it met; empty after a success.
    const std::string& ErrorMessage() const { return errorMessage_; }

  private:
    // Calls a stored function; a run-time error is logged under `logTitle`
    // and leaves the result as it stood. `followUp` runs once the function
    // has returned, whatever it returned.
    bool CallTrapped(const std::string& logTitle, const std::string& routine,
                     const std::vector<RoutineInput>& inputs,
                     const std::function<void()>& followUp = {});
    bool CalculateChange(const char* operation, const char* routine, int16_t intMode,
                         int32_t lngAMAssetID, int32_t lngOrganizationID);
    void WriteEquipmentIfFirstVersion(int32_t lngAMAssetID, int32_t lngOrganizationID);
    static std::string Refusal(const std::string& routine);

    std::string errorMessage_;
};

}  // namespace tk::am
