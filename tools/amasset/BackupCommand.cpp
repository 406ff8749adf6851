// Account-set backups written and restored with a progress bar over their tables, the embedded
// server copied whole with one over its percentage.
#include "BackupCommand.hpp"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <optional>

#include "ProgressBar.hpp"
#include "frame/Conversion.hpp"
#include "provision/AccountSetBackup.hpp"
#include "provision/AccountSetRestore.hpp"

namespace tk::tools {
namespace {

// "-o FILE" as the other tools write it, or --output FILE.
std::optional<std::string> outputFile(const Options& o) {
    const auto& words = o.words();
    auto dashO = std::find(words.begin(), words.end(), "-o");
    if (dashO != words.end() && dashO + 1 != words.end()) return *(dashO + 1);
    return o.value("output");
}

// NAME-yyyyMMdd-HHmmss.ambackup in the working folder.
std::string defaultFile(const std::string& name) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return am::UpperAscii(name) + "-" + stamp + ".ambackup";
}

// A bar over a long command's steps, drawn once the first is done.
class StepBar {
  public:
    explicit StepBar(std::string title) : title_(std::move(title)) {}
    void step(const std::string& item, size_t total) {
        if (!bar_) bar_.emplace(title_, total);
        bar_->advance(item);
    }
    am::BackupProgress progress() {
        return [this](const std::string& table, size_t, size_t total) { step(table, total); };
    }
    void finish(const std::string& summary) {
        if (bar_)
            bar_->finish(summary);
        else
            std::cout << summary << "\n";
    }

  private:
    std::string title_;
    std::optional<ProgressBar> bar_;
};

std::string tablesAndRows(const am::BackupManifest& manifest) {
    return std::to_string(manifest.tables.size()) + " 张表, " + std::to_string(manifest.rows()) +
           " 行";
}

}  // namespace

int accountSetBackupCommand(const CliContext& cli) {
    const std::string name = cli.options().word(2);
    if (name.empty() || name == "-o") {
        std::cerr << "用法: amasset accountset backup 账套名 [-o 文件]\n";
        return 2;
    }
    const std::string file = outputFile(cli.options()).value_or(defaultFile(name));
    StepBar bar("备份账套 " + am::UpperAscii(name));
    am::BackupManifest manifest =
        am::AccountSetBackup(cli.adminServer()).write(name, file, bar.progress());
    bar.finish("账套 " + am::UpperAscii(name) + " 已备份到 " + file + " (" +
               tablesAndRows(manifest) + ")");
    return 0;
}

int accountSetRestoreCommand(const CliContext& cli) {
    const Options& o = cli.options();
    const std::string file = o.word(2);
    if (file.empty()) {
        std::cerr << "用法: amasset accountset restore 文件 [--as 账套名] [--replace]\n";
        return 2;
    }
    am::RestoreOptions options;
    options.as = o.value("as", "");
    options.replace = o.flag("replace");
    bool madeUp = false;
    options.password = cli.newAccountSetPassword(madeUp);
    StepBar bar("恢复账套");
    am::BackupManifest manifest =
        am::AccountSetRestore(cli.adminServer()).restore(file, options, bar.progress());
    const std::string restored = am::UpperAscii(options.as.empty() ? manifest.schema : options.as);
    bar.finish("账套 " + restored + " 已由 " + file + " 恢复 (账套 " +
               am::UpperAscii(manifest.schema) + " 备份于 " + manifest.taken + ", amasset " +
               manifest.release + "; " + tablesAndRows(manifest) + ", 均与备份清单一致)");
    if (madeUp)
        std::cout << "账套登录口令 (只显示这一次, 登录时以环境变量 AMASSET_PASSWORD 给出): "
                  << options.password << "\n";
    return 0;
}

int serverBackupCommand(const CliContext& cli) {
    const std::string dir = cli.options().word(2);
    if (dir.empty()) {
        std::cerr << "用法: amasset server backup 目录 [--data-dir 数据目录]\n";
        return 2;
    }
    StepBar bar("备份数据库服务");
    int shown = 0;
    cli.runningServer().backup(dir, [&](int percent) {
        for (; shown < std::min(percent, 100); ++shown) bar.step("", 100);
    });
    bar.finish("数据库服务已备份到 " + dir + " (base.tar, pg_wal.tar)");
    return 0;
}

}  // namespace tk::tools
