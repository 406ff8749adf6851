// Data repairs: whether an account set needs the backup scripts, the scripts update.data lists and
// the recalculation blocks, each run in turn with its failure logged.
#include "adjust/clsAMAdjust.hpp"

#include <fstream>
#include <sstream>

#include "adjust/ConsoleScript.hpp"
#include "adjust/DOSOutputs.hpp"
#include "adjust/ScriptFolder.hpp"
#include "frame/ChildProcess.hpp"
#include "frame/ClassRegistry.hpp"
#include "frame/ComponentFolder.hpp"
#include "frame/Conversion.hpp"
#include "frame/Log.hpp"
#include "frame/PublicDef.hpp"

namespace tk::am {
namespace fs = std::filesystem;
namespace {

const char* const kCompileAndBackup[] = {"z_adj_compileObject", "z_adj_backupScript"};
const char* const kRecalculations[] = {"z_adj_reDeprCalc", "z_adj_reAlterCalc", "z_adj_reAmortise",
                                       "z_adj_reDaily"};
// The first recalculation block: UpdateScript stops before it.
const std::string kFirstLeftToAdjustData = "z_adj_reDeprCalc_exe.sql";
// Older account sets than this get the scripts even when versions differ.
const std::string kLastVersionNeedingScripts = "a.83.20160715";

std::string callBlock(const std::string& procedure) {
    return "begin \n" + procedure + ";\nend;\n/\n";
}

std::string blockFileName(const std::string& procedure) { return procedure + "_exe.sql"; }

fs::path dataFolder() { return ComponentFolder() / "data"; }

// The lines of a file that hold something, or nothing when it cannot be read.
std::optional<std::vector<std::string>> nonBlankLines(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!Trim(line).empty()) lines.push_back(line);
    }
    return lines;
}

// update.data names the scripts: comment lines ("--") aside, its lines read
// as one text of names separated by ";".
std::vector<std::string> listedScripts() {
    std::string joined;
    for (const auto& line :
         nonBlankLines(dataFolder() / "update.data").value_or(std::vector<std::string>{}))
        if (!Trim(line).starts_with("--")) joined += line;
    std::vector<std::string> names;
    std::istringstream items(joined);
    for (std::string item; std::getline(items, item, ';');)
        if (!Trim(item).empty()) names.push_back(Trim(item));
    return names;
}

}  // namespace

void clsAMAdjust::describe(DispatchTable<clsAMAdjust>& t) {
    t.setter("ConnBase",
             [](clsAMAdjust& self, Args&, const Variant& v) {
                 self.ConnBase = std::dynamic_pointer_cast<connect::Connection>(v.toObject());
             })
        .setter("OldUser",
                [](clsAMAdjust& self, Args&, const Variant& v) { self.OldUser = v.toText(); })
        .setter("NewUser",
                [](clsAMAdjust& self, Args&, const Variant& v) { self.NewUser = v.toText(); })
        .field("KeepScriptFiles", &clsAMAdjust::KeepScriptFiles)
        .field("ScriptTimeout", &clsAMAdjust::ScriptTimeout)
        .method("UpdateScript",
                [](clsAMAdjust& self, Args&) { return self.UpdateScript(), Variant(); })
        .method("AdjustData",
                [](clsAMAdjust& self, Args&) { return self.AdjustData(), Variant(); });
}

int32_t clsAMAdjust::DefaultScriptTimeout() {
    return ChildProcess::timeLimit("TKAM_SCRIPT_TIMEOUT", DOSOutputs::kDefaultTimeoutSeconds);
}

connect::Connection& clsAMAdjust::login() {
    if (!ConnBase) throw RunTimeError(errors::kObjectRequired, "Object required: ConnBase");
    return *ConnBase;
}

void clsAMAdjust::UpdateScript() {
    if (!NeedsScriptUpdate()) return;
    LoadBackupScripts();
    RunUpdateScripts();
}

std::optional<std::string> clsAMAdjust::firstValue(const std::string& sql) {
    auto rs = login().GetRecordset(sql, 3, 1);
    std::optional<std::string> value;
    if (!rs->eof()) value = rs->field(0).isNull() ? std::string() : rs->field(0).toText();
    login().CloseRs(rs);
    return value;
}

bool clsAMAdjust::hasBackupTable(const std::string& schema) {
    return firstValue("select 1 from dba_tables t where t.owner = '" + UpperAscii(schema) +
                      "' And t.table_name = upper('t_backupScript')")
        .has_value();
}

// An account set with the table is adjusted already; one whose source has
// none has nothing to take over. Otherwise a copy of the same version, or an
// account set of a release up to the last that needed them, gets the scripts.
bool clsAMAdjust::NeedsScriptUpdate() {
    if (hasBackupTable(NewUser) || !hasBackupTable(OldUser)) return false;
    auto version = [&](const std::string& schema) {
        return firstValue("select t.strver from " + schema + ".business t");
    };
    if (version(OldUser) == version(NewUser)) return true;
    return firstValue("select 1 from " + NewUser + ".business where strVer <= '" +
                      kLastVersionNeedingScripts + "'")
        .has_value();
}

void clsAMAdjust::LoadBackupScripts() {
    WriteLog("开始执行调整脚本: " + OldUser + " -> " + NewUser, "DbSql", 1);
    scripts_.clear();
    auto rs =
        login().GetRecordset("select * from " + OldUser + ".t_backupScript order by strNo", 3, 1);
    for (; !rs->eof(); rs->moveNext()) {
        std::string name = rs->field("strName").toText();
        scripts_.add(name + ".sql", ReplaceAll(rs->field("strSql").toText(), UpperAscii(OldUser),
                                               UpperAscii(NewUser)));
        if (name == "Z_UPDATE_TABLE" || name == "Z_UPDATE_VIEW")
            scripts_.add(blockFileName(name), callBlock(name));
    }
    login().CloseRs(rs);
    for (const char* procedure : kCompileAndBackup)
        scripts_.add(blockFileName(procedure), callBlock(procedure));
    for (const char* procedure : kRecalculations)
        scripts_.add(blockFileName(procedure), callBlock(procedure));
}

void clsAMAdjust::RunUpdateScripts() {
    std::vector<ScriptList::Entry> toRun;
    for (const auto& entry : scripts_.entries()) {
        if (entry.first == kFirstLeftToAdjustData) break;
        toRun.push_back(entry);
    }
    runScripts(toRun);
}

// A listed file that cannot be read fails as a script would.
void clsAMAdjust::LoadAdjustList() {
    adjustments_.clear();
    for (const auto& name : listedScripts()) {
        auto lines = nonBlankLines(dataFolder() / name);
        if (!lines) {
            WriteLog("无法读取调整脚本 " + (dataFolder() / name).string() + "<-执行失败。" + kCrLf,
                     "DbSql");
            failed_.push_back(name);
            continue;
        }
        std::string text;
        for (const auto& line : *lines) text += (text.empty() ? "" : "\n") + line;
        adjustments_.add(name, text);
    }
}

// The recalculation blocks come from the script list; without an UpdateScript
// before them in this object they are made here, as it would have made them.
void clsAMAdjust::AdjustData() {
    LoadAdjustList();
    std::vector<ScriptList::Entry> toRun = adjustments_.entries();
    for (const char* procedure : kRecalculations) {
        const std::string* listed = scripts_.find(blockFileName(procedure));
        toRun.emplace_back(blockFileName(procedure), listed ? *listed : callBlock(procedure));
    }
    runScripts(toRun);
}

void clsAMAdjust::runScripts(const std::vector<ScriptList::Entry>& scripts) {
    ScriptFolder folder(KeepScriptFiles);
    if (KeepScriptFiles) WriteLog("脚本文件保留在 " + folder.path().string(), "DbSql");
    ConsoleScript console(login(), folder.path(), ScriptTimeout);
    for (size_t i = 0; i < scripts.size(); ++i) {
        const auto& [name, text] = scripts[i];
        if (onScript) onScript(name, i + 1, scripts.size());
        ConsoleScript::Outcome outcome = console.run(name, text);
        if (outcome.failed) {
            WriteLog(outcome.output + "<-执行失败。" + kCrLf, "DbSql");
            failed_.push_back(name);
        }
    }
}

}  // namespace tk::am

using tk::am::clsAMAdjust;
TKAM_REGISTER_CLASS(clsAMAdjust)
