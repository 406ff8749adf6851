// Look-ups of reference data: a table's per-organisation overlay and the
// code and name of a row by its id.
#include "frame/CodeLookup.hpp"

#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {

std::string OrganizationView(const std::string& table, int32_t organizationID) {
    std::string n = std::to_string(organizationID);
    return ReplaceSchema(" (Select fm.*," + n + " As lngOrganizationID From [User]" + table +
                         " fm Where Not Exists \n (Select 1 From [User]" + table +
                         "Ex ex Where ex.lng" + table + "ID = fm.lng" + table +
                         "ID And ex.lngOrganizationID = " + n + ") \n Union Select * From [User]" +
                         table + "Ex ex Where ex.lngOrganizationID = " + n + ") " + table);
}

std::string GetCodeName(int32_t id, const std::string& table, int16_t kind,
                        int32_t organizationID) {
    std::string lower = lowerAscii(table);
    std::string code = "{0}.str{0}Code", name = "{0}.str{0}Name", key = "{0}.lng{0}ID";
    auto family = [&](const std::string& stem, const std::string& idColumn) {
        code = "{0}.str" + stem + "Code";
        name = "{0}.str" + stem + "Name";
        key = "{0}." + idColumn;
    };
    if (lower == "currencys")
        family("Currency", "lngCurrencyID");
    else if (lower == "class1" || lower == "class2")
        family("Class", "lngClassID");
    else if (lower.size() == 7 && lower.starts_with("custom") && lower[6] >= '0' && lower[6] <= '5')
        family("Custom", "lngCustomID");
    else if (lower >= "flexiblefield01" && lower <= "flexiblefield30")
        family("Field", "lngFieldID");
    std::string codeName = code + " || ' ' || " + name;
    for (std::string* part : {&code, &name, &key, &codeName})
        *part = FormatTemplate(*part, {table});
    std::string sql;
    if (lower == "amassetmethod")
        sql = " SELECT " + code + " As strCode," + name + " As strName," + codeName +
              " As strCodeName FROM " + OrganizationView("AMAssetMethod", organizationID);
    else if (lower == "template")
        sql = " SELECT ' ' As strCode," + name + " As strName," + name +
              " As strCodeName FROM [User]" + table;
    else
        sql = " SELECT " + code + " As strCode," + name + " As strName," + codeName +
              " As strCodeName FROM [User]" + table;
    RecordsetPtr rs = OpenRecordset(sql + " WHERE " + key + " = " + std::to_string(id), 3, 1);
    std::string result;
    if (!IsRecordsetEmpty(rs)) {
        static const char* kByKind[] = {"strCodeName", "strCode", "strName"};
        if (kind >= 0 && kind <= 2) result = rs->field(kByKind[kind]).toText();
    }
    CloseRecordset(rs);
    return result;
}

}  // namespace tk::am
