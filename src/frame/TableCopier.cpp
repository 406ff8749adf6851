// Copies a table from the old account set to the new: plainly, by the columns both have,
// or only the rows not yet there.
#include "frame/TableCopier.hpp"

#include <optional>
#include <vector>

#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "frame/Log.hpp"

namespace tk::am {
namespace {

constexpr const char* kMissingColumn = "{MAP}";

// The copier walks the same list item by item; it is split once per list.
struct ParsedList {
    std::optional<std::string> text;
    char separator = '\0';
    std::vector<std::string> items;
};

ParsedList& ListCache() {
    thread_local ParsedList cache;
    return cache;
}

std::vector<std::string> SplitList(std::string text, char separator) {
    if (!text.empty() && text.front() == '\n') text.erase(0, 1);
    std::vector<std::string> items;
    size_t from = 0;
    for (size_t at = text.find(separator); at != std::string::npos;
         at = text.find(separator, from)) {
        items.push_back(text.substr(from, at - from));
        from = at + 1;
    }
    items.push_back(text.substr(from));
    return items;
}

// "AMAsset a" names the table AMAsset.
std::string BareTableName(const std::string& table) {
    return UpperAscii(table.substr(0, table.find(' ')));
}

std::string ColumnMapQuery(const std::string& srcOwner, const std::string& srcTable,
                           const std::string& dstOwner, const std::string& dstTable) {
    auto columnsOf = [](const std::string& owner, const std::string& table) {
        return "(select col.name As column_name, col.intcol# As column_id\r\n"
               "        from sys.user$ u, sys.obj$ o, sys.col$ col\r\n"
               "       where u.user# = o.owner# and col.obj# = o.obj# and o.type# = 2"
               " and u.name = '" +
               owner + "' and o.name = '" + table + "')";
    };
    return "select nvl(a.column_name,'{MAP}') As strSrcCol, b.column_name As strDstCol \r\nfrom " +
           columnsOf(srcOwner, srcTable) + " a,\r\n     " + columnsOf(dstOwner, dstTable) +
           " b\r\n where b.column_name = a.column_name(+)";
}

void AppendColumn(std::string& list, const std::string& column) { list += column + ","; }

void DropLastChar(std::string& text) {
    if (!text.empty()) text.pop_back();
}

// Some steps take a blank condition as one, others as none.
std::string WhereClause(const std::string& condition, bool blankIsACondition) {
    bool present = blankIsACondition ? !condition.empty() : !Trim(condition).empty();
    return present ? " Where " + condition : "";
}

// The columns of a row joined by "_", as the key that tells whether a row is already there.
std::string RowKey(const std::string& table, const std::string& columns) {
    return table + "." + ReplaceAll(columns, ",", " || '_' || " + table + ".");
}

struct CopyStep {
    std::string sql;
    bool ok = false;
};

CopyStep Run(const std::string& sql, std::string& errorText) {
    return {sql, ExecuteSql(sql, errorText)};
}

bool holds(const std::string& text, const char* code) {
    return text.find(code) != std::string::npos;
}

// One table's names in both schemas, and the columns both have, read when first needed.
struct TableCopy {
    std::string table, condition, src, dst;
    std::optional<std::string> common;
    std::string srcCols, dstCols;

    const std::string& commonColumns() {
        if (!common)
            common =
                MapColumns(context().OldUser, context().NewUser, table, table, srcCols, dstCols);
        return *common;
    }
};

CopyStep CopyByCommonColumns(TableCopy& copy, std::string& errorText) {
    copy.commonColumns();
    return Run(" Insert Into " + copy.dst + " (" + copy.dstCols + ") Select " + copy.srcCols +
                   " From " + copy.src + WhereClause(copy.condition, false),
               errorText);
}

CopyStep CopyMissingRows(TableCopy& copy, std::string& errorText) {
    const std::string& columns = copy.commonColumns();
    std::string sql = " Insert Into " + copy.dst + " (" + columns + ") Select " + columns +
                      " From " + copy.src + " Where Not Exists(Select 1 From " + copy.dst +
                      " Where " + RowKey(copy.dst, columns) + "=" + RowKey(copy.src, columns) + ")";
    if (!Trim(copy.condition).empty()) sql += " And " + copy.condition;
    return Run(sql, errorText);
}

// One table: a plain copy, then by common columns when the layouts differ,
// then only the rows not yet present.
bool CopyOneTable(const std::string& table, const std::string& condition, std::string& errorText) {
    const Context& c = context();
    TableCopy copy{table, condition, c.OldUser + "." + table, c.NewUser + "." + table, {}, {}, {}};
    CopyStep step = Run(
        " Insert Into " + copy.dst + " Select * From " + copy.src + WhereClause(condition, true),
        errorText);
    try {
        if (!step.ok && (holds(errorText, "ORA-00913") || holds(errorText, "ORA-00947")))
            step = CopyByCommonColumns(copy, errorText);
        if (!step.ok && holds(errorText, "ORA-00001")) step = CopyMissingRows(copy, errorText);
    } catch (...) {
        step.ok = false;  // the column lists could not be read
    }
    if (!step.ok) WriteLog(step.sql, "errSql");
    return step.ok;
}

std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

}  // namespace

bool GetListItem(const std::string& list, int32_t index, char separator, std::string& item) {
    ParsedList& cache = ListCache();
    if (cache.text != list || cache.separator != separator) {
        cache.items = SplitList(list, separator);
        cache.text = list;
        cache.separator = separator;
    }
    if (index < 1 || static_cast<size_t>(index) > cache.items.size()) return false;
    item = cache.items[static_cast<size_t>(index) - 1];
    return true;
}

std::string MapColumns(const std::string& srcOwner, const std::string& dstOwner,
                       const std::string& srcTable, const std::string& dstTable,
                       std::string& srcCols, std::string& dstCols) {
    srcCols.clear();
    dstCols.clear();
    std::string dstName = BareTableName(dstTable);
    RecordsetPtr rs = OpenRecordset(ColumnMapQuery(UpperAscii(srcOwner), BareTableName(srcTable),
                                                   UpperAscii(dstOwner), dstName),
                                    connect::adOpenStatic, connect::adLockOptimistic);
    std::string common;
    for (; !rs->eof(); rs->moveNext()) {
        std::string src = rs->field("strSrcCol").toText(), dst = rs->field("strDstCol").toText();
        if (src != kMissingColumn) {
            AppendColumn(srcCols, src);
            AppendColumn(dstCols, dst);
            AppendColumn(common, src);
        } else if (dstName == "SYSETSETTING" && UpperAscii(dst) == "LNGETSETTINGID") {
            // The key column was renamed between releases.
            AppendColumn(srcCols, "lngSysEtSettingID");
            AppendColumn(dstCols, "lngEtSettingID");
        }
    }
    CloseRecordset(rs);
    if (!common.empty()) {
        DropLastChar(srcCols);
        DropLastChar(dstCols);
        DropLastChar(common);
    }
    return common;
}

bool CopyTable(const std::string& tableList, const std::string& condition, std::string& errorText) {
    errorText.clear();
    for (int32_t index = 1;; ++index) {
        std::string table;
        GetListItem(tableList, index, ',', table);
        if (table.empty()) return true;
        errorText += table;
        const Context& c = context();
        bool copied = UpperAscii(table) == "VIEW1" ? CopyViewRows(c.OldUser, c.NewUser)
                                                   : CopyOneTable(table, condition, errorText);
        if (!copied) return false;
    }
}

bool CopyViewRows(const std::string& oldOwner, const std::string& newOwner) {
    return ExecuteSql(Lines({"DECLARE",
                             "  CURSOR cView1 IS",
                             "  SELECT * from " + oldOwner + ".view1;",
                             "  vView1 cView1%rowtype;",
                             "BEGIN",
                             "  OPEN cView1;",
                             "  Loop",
                             "      fetch cView1 into vView1;",
                             "      exit when  cView1%notfound;",
                             "      insert into " + newOwner + ".view1",
                             "      (Lngviewid,Strviewname,Strviewsql,",
                             "      Strviewwhere,",
                             "      Strprimarykey,Blnisunion,",
                             "      Struser,Strcurtable,",
                             "      Strextend , Strextendcond",
                             "      )",
                             "      Values",
                             "      (vView1.Lngviewid,vView1.Strviewname,vView1.Strviewsql,",
                             "      vView1.Strviewwhere,",
                             "      vView1.Strprimarykey,vView1.Blnisunion,",
                             "      vView1.Struser,vView1.Strcurtable,",
                             "      vView1.Strextend , vView1.Strextendcond",
                             "      );",
                             "  end loop;",
                             "  close cView1;",
                             "  commit;",
                             "  ",
                             "END;"}));
}

bool CopyRowsByCursor(const std::string& table, const std::string& condition) {
    const Context& c = context();
    std::string srcCols, dstCols, columns;
    try {
        columns = MapColumns(c.OldUser, c.NewUser, table, table, srcCols, dstCols);
    } catch (...) {
    }
    if (columns.empty()) return false;
    std::string values = "vsItem." + ReplaceAll(columns, ",", ",vsItem.");
    return ExecuteSql(
        Lines({"declare", "cursor csItem is",
               "select * from " + c.OldUser + "." + table + WhereClause(condition, true) + ";",
               "vsItem csItem%rowtype;", "begin", "     open csitem;", "     loop",
               "         fetch csItem into vsItem;", "         exit when csItem%notfound;",
               "         insert into " + c.NewUser + "." + table, "         (" + columns + ")",
               "         values", "         (" + values + ");", "     end loop;",
               "     close csItem;", "     commit;", "end;"}));
}

}  // namespace tk::am
