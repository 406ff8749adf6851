// The upgrade from the command line: logged on as the new set with access to the old, checked,
// then run with progress, the component's messages shown with a terminal's line breaks.
#include "UpgradeCommand.hpp"

#include <iostream>
#include <optional>
#include <stdexcept>

#include "ProgressBar.hpp"
#include "frame/ComponentFolder.hpp"
#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/PublicDef.hpp"
#include "provision/AccountSetAdmin.hpp"
#include "provision/CrossSetAccess.hpp"
#include "upgrade/clsAMAssetUpdate.hpp"

namespace tk::tools {
namespace {

std::string existingSchema(const CliContext& cli, const std::string& option) {
    std::string name = cli.options().value(option, "");
    if (name.empty()) throw std::runtime_error("请用 --" + option + " 指定账套");
    if (!am::AccountSetAdmin(cli.adminServer()).exists(name))
        throw std::runtime_error("账套不存在: " + name);
    return am::AccountSetAdmin::schemaName(name);
}

// The new account set's own version unless one is given.
std::string newVersion(const CliContext& cli, connect::Connection& conn) {
    std::string given = cli.options().value("new-version", "");
    if (!given.empty()) return given;
    auto rs = conn.GetRecordset("Select strVer From " + conn.UserName + ".Business", 3, 1);
    return rs->eof() ? std::string() : am::Trim(rs->field(0).toText());
}

// Logs in as the new account set and hands the upgrade its schemas and
// versions; the new set reaches the old one while `CrossSetAccess` lasts.
std::shared_ptr<connect::Connection> prepare(const CliContext& cli) {
    std::string oldSchema = existingSchema(cli, "from"), newSchema = existingSchema(cli, "to");
    std::string oldVersion = cli.options().value("old-version", "");
    if (oldVersion.empty()) throw std::runtime_error("请用 --old-version 指定原账套的版本");
    auto conn = std::make_shared<connect::Connection>();
    conn->ServerName = cli.server();
    conn->UserName = newSchema;
    conn->Password = cli.accountSetPassword();
    conn->Open();
    am::Context& c = am::context();
    c.ConnBase = conn;
    c.OldUser = oldSchema;
    c.User = c.NewUser = newSchema;
    c.OldVer = oldVersion;
    c.NewVer = newVersion(cli, *conn);
    return conn;
}

// The component's texts break lines as "\r\n"; a terminal wants "\n".
std::string terminalText(const std::string& text) {
    std::string lines = am::ReplaceAll(text, am::kCrLf, "\n");
    size_t first = lines.find_first_not_of('\n');
    return first == std::string::npos ? std::string() : lines.substr(first);
}

}  // namespace

int upgradeCommand(const CliContext& cli) {
    auto conn = prepare(cli);
    am::CrossSetAccess readOld(cli.adminServer(), am::context().OldUser, am::context().NewUser,
                               am::CrossSetAccess::Purpose::Upgrade);
    am::clsAMAssetUpdate update;
    std::string message;
    if (!update.Check(message)) {
        std::cout << terminalText(message) << "\n详见 "
                  << (am::ComponentFolder() / "log" / "check.log").string() << "\n";
        return 1;
    }
    if (cli.options().flag("check")) {
        std::cout << "数据检查通过\n";
        return 0;
    }
    std::optional<ProgressBar> bar;
    update.advise([&](std::string_view event, Dispatchable::Args& args) {
        if (event == "MessageBox")
            std::cerr << args[2].toText() << ": " << args[0].toText() << "\n";
        if (event != "UpdateProgress") return;
        if (!bar) bar.emplace("固定资产升级", static_cast<size_t>(args[1].toInt32()));
        bar->advance(args[2].toText());
    });
    bool upgraded = update.Execute(message);
    std::string summary = upgraded ? "升级完成: " + std::to_string(update.Progress) + " 步"
                                   : "升级失败: " + terminalText(message);
    if (bar)
        bar->finish(summary);
    else
        std::cout << summary << "\n";
    return upgraded ? 0 : 1;
}

}  // namespace tk::tools
