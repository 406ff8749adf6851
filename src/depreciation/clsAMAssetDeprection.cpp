// Depreciation operations as stored-routine calls: refusals explained, run-time errors logged,
// and the online-device module's copies kept in step.
#include "depreciation/clsAMAssetDeprection.hpp"

#include <libpq-fe.h>

#include "connect/Session.hpp"
#include "frame/ClassRegistry.hpp"
#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "frame/Dictionary.hpp"
#include "frame/Log.hpp"
#include "frame/PublicDef.hpp"

namespace tk::am {
namespace {

using Self = clsAMAssetDeprection;
using Args = Dispatchable::Args;

RoutineInput Short(int16_t value) { return RoutineInput::integer(Variant(value)); }
RoutineInput Long(int32_t value) { return RoutineInput::integer(Variant(value)); }
RoutineInput Flag(bool value) { return Short(value ? 1 : 0); }

std::vector<RoutineInput> AssetInputs(int16_t intMode, int32_t lngAMAssetID,
                                      int32_t lngOrganizationID) {
    return {Short(intMode), Long(lngAMAssetID), Long(lngOrganizationID)};
}

template <bool (Self::*Operation)(int16_t, int32_t, int32_t)>
Variant CallAssetOperation(Self& self, Args& a) {
    return Variant((self.*Operation)(requiredArg(a, 0).toInt16(), requiredArg(a, 1).toInt32(),
                                     requiredArg(a, 2).toInt32()));
}

}  // namespace

void clsAMAssetDeprection::describe(DispatchTable<Self>& t) {
    addContextSetters(t, {ContextSetter::User, ContextSetter::ConnBase});
    t.method("ErrorMessage", [](Self& s, Args&) { return Variant(s.ErrorMessage()); })
        .method("CaclDeprectionAdd", CallAssetOperation<&Self::CaclDeprectionAdd>)
        .method("CaclDeprectionAlter", CallAssetOperation<&Self::CaclDeprectionAlter>)
        .method("CaclDeprectionDec", CallAssetOperation<&Self::CaclDeprectionDec>)
        .method("CaclDeprectionWork",
                [](Self& s, Args& a) {
                    return Variant(s.CaclDeprectionWork(
                        requiredArg(a, 0).toInt16(), requiredArg(a, 1).toInt16(),
                        requiredArg(a, 2).toInt16(), requiredArg(a, 3).toInt32(),
                        requiredArg(a, 4).toDouble(), requiredArg(a, 5).toInt32()));
                })
        .method("CaclDeprectionUpdate",
                [](Self& s, Args& a) {
                    return Variant(s.CaclDeprectionUpdate(
                        requiredArg(a, 0).toInt16(), requiredArg(a, 1).toInt16(),
                        requiredArg(a, 2).toInt32(), requiredArg(a, 3).toInt32()));
                })
        .method(
            "WriteBalance",
            [](Self& s, Args& a) {
                return Variant(s.WriteBalance(
                    requiredArg(a, 0).toInt16(), requiredArg(a, 1).toInt16(),
                    requiredArg(a, 2).toInt16(), argOr(a, 3, "").toText(), argOr(a, 4, "").toText(),
                    argOr(a, 5, false).toBool(), argOr(a, 6, 0).toInt32(), argOr(a, 7, 0).toInt32(),
                    argOr(a, 8, 0).toInt32()));
            })
        .method("WriteDaily",
                [](Self& s, Args& a) {
                    return Variant(
                        s.WriteDaily(requiredArg(a, 0).toInt16(), requiredArg(a, 1).toInt16(),
                                     requiredArg(a, 2).toInt32(), requiredArg(a, 3).toBool(),
                                     requiredArg(a, 4).toBool(), requiredArg(a, 5)));
                })
        .method("WriteEquipment", [](Self& s, Args& a) {
            return Variant(s.WriteEquipment(requiredArg(a, 0).toInt16(),
                                            requiredArg(a, 1).toInt32(), argOr(a, 2, 0).toInt32(),
                                            argOr(a, 3, false).toBool()));
        });
}

bool clsAMAssetDeprection::CallTrapped(const std::string& logTitle, const std::string& routine,
                                       const std::vector<RoutineInput>& inputs,
                                       const std::function<void()>& followUp) {
    bool result = false;
    errorMessage_.clear();
    try {
        result = RoutineCall().function(routine, inputs);
        if (!result) errorMessage_ = Refusal(routine);
        if (followUp) followUp();
    } catch (...) {
        WriteLog(logTitle + kCrLf + ErrorInfo::current().description);
        if (errorMessage_.empty()) errorMessage_ = ErrorInfo::current().description;
    }
    return result;
}

// The reason the routines left for their refusal (read once).
std::string clsAMAssetDeprection::Refusal(const std::string& routine) {
    RecordsetPtr rs =
        OpenRecordset("Select " + RoutineCall::schemaName() + ".AMAssetRefusal() From dual", 3, 1);
    std::string reason = IsRecordsetEmpty(rs) ? "" : rs->field(0).toText();
    CloseRecordset(rs);
    return Trim(reason).empty() ? routine + " 未能完成" : reason;
}

bool clsAMAssetDeprection::CaclDeprectionAdd(int16_t intMode, int32_t lngAMAssetID,
                                             int32_t lngOrganizationID) {
    return CallTrapped("CaclDeprectionAdd", "AMAssetCalcAdd",
                       AssetInputs(intMode, lngAMAssetID, lngOrganizationID), [&] {
                           if (intMode == 2)
                               WriteEquipment(0, lngAMAssetID, lngOrganizationID, false);
                           else
                               WriteEquipmentIfFirstVersion(lngAMAssetID, lngOrganizationID);
                       });
}

size_t clsAMAssetDeprection::CaclDeprectionAddAll(const std::vector<int32_t>& assets,
                                                  int32_t lngOrganizationID) {
    errorMessage_.clear();
    std::string list;
    for (int32_t asset : assets) list += (list.empty() ? "" : ",") + std::to_string(asset);
    connect::NativeParams params{{"{" + list + "}", std::to_string(lngOrganizationID)}, {0, 0}};
    connect::PgResult result = RunNative(
        "SELECT " + RoutineCall::schemaName() + ".AMAssetCalcAddAll($1::integer[], $2::integer)",
        params);
    const size_t refused = std::stoul(PQgetvalue(result.get(), 0, 0));
    if (refused != 0) {
        errorMessage_ = Refusal("AMAssetCalcAdd");
        return refused;
    }
    if (TableExists("db_et_table_version", connection().UserName))
        for (int32_t asset : assets) WriteEquipmentIfFirstVersion(asset, lngOrganizationID);
    return 0;
}

int32_t clsAMAssetDeprection::CaclDeprectionCheckAll(int16_t intMode, int32_t lngOrganizationID) {
    errorMessage_.clear();
    RecordsetPtr rs = OpenRecordset(
        "Select " + RoutineCall::schemaName() + ".AMAssetFirstRefused(" +
            std::to_string(lngOrganizationID) + ", " + std::to_string(intMode) + ") From dual",
        3, 1);
    const int32_t refused = rs->field(0).toInt32();
    CloseRecordset(rs);
    if (refused != 0) errorMessage_ = Refusal("AMAssetCalcAlter");
    return refused;
}

bool clsAMAssetDeprection::CaclDeprectionAlter(int16_t intMode, int32_t lngAMAssetID,
                                               int32_t lngOrganizationID) {
    return CalculateChange("CaclDeprectionAlter", "AMAssetCalcAlter", intMode, lngAMAssetID,
                           lngOrganizationID);
}

bool clsAMAssetDeprection::CaclDeprectionDec(int16_t intMode, int32_t lngAMAssetID,
                                             int32_t lngOrganizationID) {
    return CalculateChange("CaclDeprectionDec", "AMAssetCalcDec", intMode, lngAMAssetID,
                           lngOrganizationID);
}

bool clsAMAssetDeprection::CalculateChange(const char* operation, const char* routine,
                                           int16_t intMode, int32_t lngAMAssetID,
                                           int32_t lngOrganizationID) {
    return CallTrapped(operation, routine, AssetInputs(intMode, lngAMAssetID, lngOrganizationID),
                       [&] {
                           if (intMode == 2)
                               WriteEquipment(0, lngAMAssetID, lngOrganizationID, false);
                       });
}

bool clsAMAssetDeprection::CaclDeprectionWork(int16_t intMode, int16_t intYear, int16_t bytPeriod,
                                              int32_t lngAMAssetID, double dblWork,
                                              int32_t lngOrganizationID) {
    return CallTrapped("CaclDeprectionWork", "AMAssetCalcWork",
                       {Short(intMode), Short(intYear), Short(bytPeriod), Long(lngAMAssetID),
                        RoutineInput::numeric(dblWork), Long(lngOrganizationID)});
}

bool clsAMAssetDeprection::CaclDeprectionUpdate(int16_t intYear, int16_t bytPeriod,
                                                int32_t lngAMAssetID, int32_t lngOrganizationID) {
    return CallTrapped(
        "CaclDeprectionUpdate", "AMAssetCalcUpdate",
        {Short(intYear), Short(bytPeriod), Long(lngAMAssetID), Long(lngOrganizationID)});
}

bool clsAMAssetDeprection::WriteBalance(int16_t intMode, int16_t intYear, int16_t bytPeriod,
                                        const std::string& strDate, const std::string& strName,
                                        bool blnIncreaseDepreciation, int32_t lngVoucherID,
                                        int32_t lngOperatorID, int32_t lngOrganizationID) {
    return CallTrapped(
        "AMAssetDeprection", "AMAssetDeprection",
        {Short(intMode), Short(intYear), Short(bytPeriod), RoutineInput::text(strDate, 10),
         RoutineInput::text(strName, 60), Flag(blnIncreaseDepreciation), Long(lngVoucherID),
         Long(lngOperatorID), Long(lngOrganizationID)},
        [&] { WriteEquipment(intMode == 1 ? 1 : 0, 0, lngOrganizationID, true); });
}

bool clsAMAssetDeprection::WriteDaily(int16_t intYear, int16_t bytPeriod, int32_t lngAMAssetID,
                                      bool blnFromDepreciation, bool blnIsCancelDaily,
                                      const Variant& lngOrganizationID) {
    return CallTrapped(
        "AMAssetActDaily", "AMAssetActDaily",
        {Short(intYear), Short(bytPeriod), Long(lngAMAssetID), Flag(blnFromDepreciation),
         Flag(blnIsCancelDaily), RoutineInput::integer(lngOrganizationID)});
}

bool clsAMAssetDeprection::WriteEquipment(int16_t intMode, int32_t lngAMAssetID,
                                          int32_t lngOrganiationID, bool blnFromDepreciation) {
    try {
        if (!TableExists("db_et_table_version", connection().UserName)) return true;
        RoutineCall call;
        RoutineInput flag = Short(intMode == 1 ? 1 : 0);
        if (blnFromDepreciation) {
            call.procedure("UpdateER_Depreciation", {Long(lngOrganiationID), flag});
            return true;
        }
        call.procedure("UpdateER_AmAsset", {Long(lngAMAssetID), flag});
        for (const char* routine : {"UpdateER_AmAssetOther", "UpdateER_AUX", "UpdateER_Label"})
            call.procedure(routine, {Long(lngAMAssetID)});
    } catch (...) {
        WriteLog("同步线上设备错误," + ErrorInfo::current().description);
    }
    return true;
}

void clsAMAssetDeprection::WriteEquipmentIfFirstVersion(int32_t lngAMAssetID,
                                                        int32_t lngOrganizationID) {
    // (without the online-device tables there is nothing to write: no look-up)
    if (!TableExists("db_et_table_version", connection().UserName)) return;
    RecordsetPtr rs;
    try {
        rs = OpenRecordset(FormatTemplate(" Select 1 From {0}.AMAsset a, {0}.AMAssetAlter fa"
                                          " Where fa.blnIsInit = 1"
                                          " And a.lngAMAssetID = fa.lngAMAssetID"
                                          " And a.lngAMAssetInitAlterID = fa.lngAMAssetAlterID"
                                          " And fa.lngAMAssetID = {1}"
                                          " And fa.lngOrganizationID = {2}",
                                          {RoutineCall::schemaName(), std::to_string(lngAMAssetID),
                                           std::to_string(lngOrganizationID)}),
                           3, 1);
        if (!IsRecordsetEmpty(rs)) WriteEquipment(1, lngAMAssetID, lngOrganizationID, false);
        CloseRecordset(rs);
    } catch (...) {
        CloseRecordset(rs);
        throw;
    }
}

}  // namespace tk::am

using tk::am::clsAMAssetDeprection;
TKAM_REGISTER_CLASS(clsAMAssetDeprection)
