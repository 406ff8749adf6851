// Code composition: a rule's placeholders filled from the date, departments, categories
// and serial counters, and the counter reads and writes of CodeSource.
#include "register/clsAMAssetCode.hpp"

#include <chrono>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "frame/ClassRegistry.hpp"
#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "register/CodeSource.hpp"

namespace tk::am {
namespace {

constexpr int32_t kMaxCodeChars = 50;

constexpr std::string_view kGlobalSerial = "[流水号]";
constexpr std::string_view kOrganizationSerial = "[机构流水号]";
constexpr std::string_view kCategorySerial = "[资产类别流水号]";
constexpr std::string_view kOrganizationCategorySerial = "[机构+资产类别流水号]";

struct CodeRequest {
    AssetCodeTypeEnum kind;
    std::string date;
    int32_t organizationID, categoryID, nationalTypeID, dutyDepartmentID, mainDepartmentID;
    std::string assetCode;

    // National codes count per national classification, the others per category.
    int32_t counterCategory() const {
        return kind == acAssetNationalCode ? nationalTypeID : categoryID;
    }
};

using Row = std::vector<std::string>;

// The first row of a query, every column as text (a null as the empty text).
std::optional<Row> FirstRow(const std::string& sql) {
    RecordsetPtr rs = OpenRecordset(sql, 3, 1);
    std::optional<Row> row;
    if (!IsRecordsetEmpty(rs)) {
        row.emplace();
        for (int i = 0; i < rs->fieldCount(); ++i) {
            const Variant& value = rs->field(i);
            row->push_back(value.isNull() ? "" : value.toText());
        }
    }
    CloseRecordset(rs);
    return row;
}

std::string FirstText(CodeSource& source, const std::string& sql) {
    std::optional<Row> row = source.firstRow(sql);
    return row ? row->front() : "";
}

std::string Id(int32_t id) { return std::to_string(id); }

std::string DepartmentCode(CodeSource& source, int32_t departmentID) {
    return FirstText(source,
                     "SELECT strDepartmentCode FROM [User]Department WHERE lngDepartmentID = " +
                         Id(departmentID));
}

struct CategoryRules {
    int32_t codeMethod = 0;
    std::string prefix, suffix;
    std::string codeRule, cardRule, labelRule;
    int32_t codeWidth = 0, cardWidth = 0, labelWidth = 0;
};

std::optional<CategoryRules> ReadCategoryRules(CodeSource& source, int32_t categoryID) {
    std::optional<Row> row = source.firstRow(
        "SELECT strAMAssetTypeCode,bytCodeMethod,strCodePrefix,strCodeSuffix,strCodeRule,"
        "intCodeSerialNoDec,strCardRule,intCardSerialNoDec,strLabelRule,intLabelSerialNoDec "
        "FROM [User]AMAssetType WHERE lngAMAssetTypeID = " +
        Id(categoryID));
    if (!row) return std::nullopt;
    const Row& r = *row;
    return CategoryRules{.codeMethod = ToLong(r[1]),
                         .prefix = r[2],
                         .suffix = r[3],
                         .codeRule = r[4],
                         .cardRule = r[6],
                         .labelRule = r[8],
                         .codeWidth = ToLong(r[5]),
                         .cardWidth = ToLong(r[7]),
                         .labelWidth = ToLong(r[9])};
}

// The category whose code is this one's cut before its last "-"; 0 for none.
int32_t ParentCategory(CodeSource& source, int32_t categoryID) {
    return ToLong(FirstText(
        source,
        "SELECT lngAMAssetTypeID FROM [User]AMAssetType WHERE strAMAssetTypeCode = (SELECT "
        "Substr(strAMAssetTypeCode, 1, Instr(strAMAssetTypeCode, '-', -1) - 1) As "
        "strAMAssetTypeCode FROM [User]AMAssetType WHERE lngAMAssetTypeID = " +
            Id(categoryID) + ")"));
}

// A category that takes its parent's rule (code method 1) passes the question
// up; a category without a parent has no rule.
std::optional<CategoryRules> RulesFollowingParents(CodeSource& source, int32_t categoryID) {
    std::set<int32_t> visited;
    std::optional<CategoryRules> rules = ReadCategoryRules(source, categoryID);
    while (rules && rules->codeMethod == 1 && visited.insert(categoryID).second) {
        categoryID = ParentCategory(source, categoryID);
        rules = ReadCategoryRules(source, categoryID);
    }
    return rules && rules->codeMethod != 1 ? rules : std::nullopt;
}

// "[国标分类编码前3位]": the national code without dashes, padded with zeros to three.
std::string NationalFirstThree(CodeSource& source, int32_t nationalTypeID) {
    std::string code = Trim(RemoveText(
        FirstText(source,
                  "SELECT strAMAssetNationalTypeCode FROM [User]AMAssetNationalType WHERE "
                  "lngAMAssetNationalTypeID = " +
                      Id(nationalTypeID)),
        "-"));
    return code.empty() ? code : CharLeft(code + "000", 3);
}

struct DateParts {
    std::string year, month, day;
};

std::string TwoDigits(unsigned value) { return (value < 10 ? "0" : "") + std::to_string(value); }

// "yyyy-MM-dd", "yyyy/M/d", "yyyy.MM.dd" or "yyyyMMdd", a time after it
// ignored; a text that is no date gives empty parts.
DateParts SplitDate(const std::string& text) {
    std::vector<std::string> groups(1);
    for (char c : text) {
        if (c >= '0' && c <= '9')
            groups.back() += c;
        else if (!groups.back().empty())
            groups.emplace_back();
    }
    if (groups.front().size() == 8) {
        const std::string compact = groups.front();
        groups = {compact.substr(0, 4), compact.substr(4, 2), compact.substr(6, 2)};
    }
    auto fits = [&](size_t i, size_t most) {
        return !groups[i].empty() && groups[i].size() <= most;
    };
    if (groups.size() < 3 || !fits(0, 4) || !fits(1, 2) || !fits(2, 2)) return {};
    const int year = std::stoi(groups[0]);
    const auto month = static_cast<unsigned>(std::stoi(groups[1]));
    const auto day = static_cast<unsigned>(std::stoi(groups[2]));
    if (!std::chrono::year_month_day{std::chrono::year{year}, std::chrono::month{month},
                                     std::chrono::day{day}}
             .ok())
        return {};
    std::string yyyy = std::to_string(year);
    return {std::string(4 - yyyy.size(), '0') + yyyy, TwoDigits(month), TwoDigits(day)};
}

using Placeholder = std::pair<std::string_view, std::string>;

// The rule of the requested kind and what its kind-specific placeholder holds.
struct KindRule {
    std::string text;
    int32_t width;
    std::string prefix, suffix;
    Placeholder own;
};

std::optional<KindRule> RuleOfKind(CodeSource& source, const CodeRequest& r,
                                   const CategoryRules& rules, const Row& category) {
    const std::string& prefix = category[1];
    const std::string& suffix = category[2];
    switch (r.kind) {
        case acAssetCode:
            if (rules.codeMethod == 0) return std::nullopt;
            return KindRule{Trim(rules.codeRule),
                            rules.codeWidth,
                            prefix,
                            suffix,
                            {"[国标分类编码前3位]", NationalFirstThree(source, r.nationalTypeID)}};
        case acAssetCardCode:
            return KindRule{
                rules.cardRule, rules.cardWidth, prefix, suffix, {"[资产编码]", r.assetCode}};
        case acAssetLabel:
            return KindRule{
                rules.labelRule, rules.labelWidth, prefix, suffix, {"[资产编码]", r.assetCode}};
        case acAssetNationalCode:
            break;
    }
    std::optional<Row> national = source.firstRow(
        "SELECT strAMAssetNationalTypeCode, strNationalRule,intNationalSerialNoDec FROM "
        "[User]AMAssetNationalType WHERE lngAMAssetNationalTypeID = " +
        Id(r.nationalTypeID));
    if (!national) return std::nullopt;
    // Prefix and suffix of the rule's category (the parent's where it lent its rule).
    return KindRule{(*national)[1],
                    ToLong((*national)[2]),
                    rules.prefix,
                    rules.suffix,
                    {"[国标分类编码]", (*national)[0]}};
}

}  // namespace

RecordsetPtr CodeSource::openCounter(int32_t organizationID, int32_t categoryID,
                                     AssetCodeTypeEnum kind) {
    return OpenRecordset(
        "SELECT * FROM [User]AMAssetTypeNo WHERE lngOrganizationID = " + Id(organizationID) +
            " AND lngAMAssetTypeID = " + Id(categoryID) + " AND bytSerialNoType = " + Id(kind),
        2, 3);
}

int32_t CodeSource::lastSerial(const RecordsetPtr& counter) {
    return IsRecordsetEmpty(counter) ? 0 : counter->field("lngMaxSerialNo").toInt32();
}

void CodeSource::writeCounter(RecordsetPtr& counter, int32_t organizationID, int32_t categoryID,
                              AssetCodeTypeEnum kind, int32_t serial) {
    if (IsRecordsetEmpty(counter)) counter->addNew();
    counter->setField("lngMaxSerialNo", serial);
    counter->setField("lngOrganizationID", organizationID);
    counter->setField("lngAMAssetTypeID", categoryID);
    counter->setField("bytSerialNoType", int32_t{kind});
    // Optimistic: a row another client wrote since it was read raises here.
    counter->update();
    CloseRecordset(counter);
}

int32_t CodeSource::drawSerial(int32_t organizationID, int32_t categoryID, AssetCodeTypeEnum kind) {
    RecordsetPtr counter = openCounter(organizationID, categoryID, kind);
    const int32_t serial = lastSerial(counter) + 1;
    writeCounter(counter, organizationID, categoryID, kind, serial);
    return serial;
}

std::optional<std::vector<std::string>> CodeSource::firstRow(const std::string& sql) {
    return FirstRow(sql);
}

namespace {

std::string ZeroPadded(int32_t serial, int32_t width) {
    std::string digits = std::to_string(serial);
    if (static_cast<int32_t>(digits.size()) < width)
        digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
    return digits;
}

std::string FillSerials(CodeSource& source, std::string text, const CodeRequest& r, int32_t width) {
    const struct {
        std::string_view placeholder;
        int32_t organizationID, categoryID;
    } scopes[] = {{kGlobalSerial, 0, 0},
                  {kOrganizationSerial, r.organizationID, 0},
                  {kCategorySerial, 0, r.counterCategory()},
                  {kOrganizationCategorySerial, r.organizationID, r.counterCategory()}};
    for (const auto& scope : scopes) {
        const std::string placeholder(scope.placeholder);
        if (text.find(placeholder) == std::string::npos) continue;
        int32_t serial = source.drawSerial(scope.organizationID, scope.categoryID, r.kind);
        text = ReplaceAll(text, placeholder, ZeroPadded(serial, width));
    }
    return text;
}

// The code before its cut: empty when the kind yields none.
std::string ComposeCode(CodeSource& source, const CodeRequest& r) {
    DateParts date = SplitDate(r.date);
    std::string organizationCode = FirstText(
        source, "SELECT strOrganizationCode FROM [User]Organization WHERE lngOrganizationID = " +
                    Id(r.organizationID));
    std::string dutyCode = DepartmentCode(source, r.dutyDepartmentID);
    std::string mainCode = DepartmentCode(source, r.mainDepartmentID);
    bool lentRule = r.kind == acAssetCode || r.kind == acAssetNationalCode;
    std::optional<CategoryRules> rules = lentRule ? RulesFollowingParents(source, r.categoryID)
                                                  : ReadCategoryRules(source, r.categoryID);
    Row category = source
                       .firstRow(
                           "SELECT strAMAssetTypeCode, strCodePrefix, strCodeSuffix FROM "
                           "[User]AMAssetType WHERE lngAMAssetTypeID = " +
                           Id(r.categoryID))
                       .value_or(Row(3));
    if (!rules) return "";
    std::optional<KindRule> rule = RuleOfKind(source, r, *rules, category);
    if (!rule) return "";
    const Placeholder placeholders[] = {{"[年]", date.year},
                                        {"[月]", date.month},
                                        {"[日]", date.day},
                                        {"[机构编码]", organizationCode},
                                        {"[部门编码]", dutyCode},
                                        {"[责任部门编码]", dutyCode},
                                        {"[管理部门编码]", mainCode},
                                        {"[资产类别编码]", category[0]},
                                        {"[资产类别资产前缀]", Trim(rule->prefix)},
                                        {"[资产类别资产后缀]", Trim(rule->suffix)},
                                        rule->own};
    std::string text = rule->text;
    for (const auto& [name, value] : placeholders)
        text = ReplaceAll(text, std::string(name), value);
    return FillSerials(source, text, r, rule->width);
}

}  // namespace

void clsAMAssetCode::describe(DispatchTable<clsAMAssetCode>& t) {
    t.method("GetCode", [](clsAMAssetCode& self, Dispatchable::Args& a) {
        return Variant(self.GetCode(
            static_cast<AssetCodeTypeEnum>(requiredArg(a, 0).toInt32()), requiredArg(a, 1).toText(),
            requiredArg(a, 2).toInt32(), requiredArg(a, 3).toInt32(), requiredArg(a, 4).toInt32(),
            requiredArg(a, 5).toInt32(), requiredArg(a, 6).toInt32(),
            argOr(a, 7, Variant("")).toText(), argOr(a, 8, Variant(false)).toBool()));
    });
    t.method("RollbackCode", [](clsAMAssetCode& self, Dispatchable::Args& a) {
        return Variant(self.RollbackCode(
            static_cast<AssetCodeTypeEnum>(requiredArg(a, 0).toInt32()), requiredArg(a, 1).toText(),
            requiredArg(a, 2).toInt32(), requiredArg(a, 3).toInt32(), requiredArg(a, 4).toInt32()));
    });
}

std::string CodeSource::code(AssetCodeTypeEnum enmType, const std::string& strDate,
                             int32_t lngOrganizationID, int32_t lngAssetTypeID,
                             int32_t lngAssetNationalTypeID, int32_t lngDutyDepartmentID,
                             int32_t lngMainDepartmentID, const std::string& strAMAssetCode,
                             bool blnHaveSep) {
    std::string code;
    if (enmType >= acAssetCode && enmType <= acAssetNationalCode)
        code = ComposeCode(
            *this, {enmType, strDate, lngOrganizationID, lngAssetTypeID, lngAssetNationalTypeID,
                    lngDutyDepartmentID, lngMainDepartmentID, strAMAssetCode});
    std::string result = LeftWithNul(Trim(code), kMaxCodeChars);
    return blnHaveSep ? result : RemoveText(result, "-");
}

std::string clsAMAssetCode::GetCode(AssetCodeTypeEnum enmType, const std::string& strDate,
                                    int32_t lngOrganizationID, int32_t lngAssetTypeID,
                                    int32_t lngAssetNationalTypeID, int32_t lngDutyDepartmentID,
                                    int32_t lngMainDepartmentID, const std::string& strAMAssetCode,
                                    bool blnHaveSep) {
    CodeSource source;
    return source.code(enmType, strDate, lngOrganizationID, lngAssetTypeID, lngAssetNationalTypeID,
                       lngDutyDepartmentID, lngMainDepartmentID, strAMAssetCode, blnHaveSep);
}

bool clsAMAssetCode::RollbackCode(AssetCodeTypeEnum enmType, const std::string& strRule,
                                  int32_t lngOrganizationID, int32_t lngAssetTypeID,
                                  int32_t lngAssetNationalTypeID) {
    auto has = [&](std::string_view placeholder) {
        return strRule.find(placeholder) != std::string::npos;
    };
    // Only an organisation's own counters can be stepped back: a counter shared
    // wider may have been drawn by someone else since.
    if (has(kGlobalSerial) || has(kCategorySerial) || lngOrganizationID < 1) return true;
    std::string category;
    if (!has(kOrganizationSerial)) {
        int32_t categoryID = lngAssetTypeID >= 1 ? lngAssetTypeID : lngAssetNationalTypeID;
        if (!has(kOrganizationCategorySerial) || categoryID < 1) return true;
        category = " And lngAMAssetTypeID = " + Id(categoryID);
    }
    std::string errorText;
    ExecuteSql(
        " Update [User]AMAssetTypeNo Set lngMaxSerialNo = lngMaxSerialNo - 1 Where "
        "lngMaxSerialNo > 0 And lngOrganizationID = " +
            Id(lngOrganizationID) + category + " And bytSerialNoType = " + Id(enmType),
        errorText);
    return true;
}

}  // namespace tk::am

using tk::am::clsAMAssetCode;
TKAM_REGISTER_CLASS(clsAMAssetCode)
