// The table of every command's help text, printed as an overview or for one command.
#include "CommandHelp.hpp"

#include <algorithm>
#include <vector>

namespace tk::tools {
namespace {

struct OptionHelp {
    const char* option;
    const char* meaning;
};

struct Entry {
    const char* command;
    const char* summary;
    const char* usage;  // one line per form
    std::vector<OptionHelp> options;
};

const std::vector<Entry>& table() {
    static const std::vector<Entry> kTable = {
        {"server",
         "管理内置数据库服务",
         "amasset server start|stop|status|url [--data-dir 目录]\n"
         "amasset server backup 备份目录 [--data-dir 目录]",
         {{"start", "启动服务 (首次启动时初始化数据目录)"},
          {"stop", "停止服务"},
          {"status", "服务是否在运行 (未运行时退出码为 3)"},
          {"url", "打印连接所用的 ServerName"},
          {"backup",
           "把整个服务 (全部账套及 WAL) 备份到新的或空的目录: base.tar 和 pg_wal.tar, "
           "运行中照常工作; 由它重建服务的步骤见 README"},
          {"--fresh", "start: 删除原有数据, 重新初始化"},
          {"--remove", "stop: 停止后删除数据目录"}}},
        {"accountset",
         "管理账套",
         "amasset accountset create 账套名 [--years 2024,2025] [--demo] [--with-online-device]\n"
         "                           [--with-self-service] [--replace] [--like 参照账套]\n"
         "amasset accountset create 账套名 --older-module-demo [--years 2023,2024]\n"
         "amasset accountset drop 账套名\n"
         "amasset accountset list\n"
         "amasset accountset secure [账套名]\n"
         "amasset accountset backup 账套名 [-o 文件]\n"
         "amasset accountset restore 文件 [--as 账套名] [--replace]",
         {{"--years", "基础数据的会计年度, 逗号分隔 (默认当年)"},
          {"--demo", "装入演示用的基础数据 (类别、部门、科目等)"},
          {"--like", "复制参照账套的基础数据 (类别、模板、科目等), 按 --years 建立期间"},
          {"--older-module-demo",
           "建立旧固定资产模块的演示账套 (36 张卡片, 按 --years 记账), 供 upgrade 演示"},
          {"--with-online-device", "同时建立在线设备的表和存储过程"},
          {"--with-self-service", "同时建立自助服务的表"},
          {"secure",
           "让早先建立的账套只归本账套登录所有, 并补齐本版本的表和存储过程 "
           "(不给账套名时为全部账套; 内置服务启动时自动执行)"},
          {"backup",
           "把账套 (表、数据、序列、存储过程) 备份到一个文件, 操作员可照常工作, "
           "文件记下各表的行数和校验和"},
          {"-o", "backup: 备份文件 (默认 账套名-日期-时间.ambackup; 写完才替换同名文件)"},
          {"restore",
           "由备份文件恢复账套: 先检查文件, 再在一个事务里恢复、逐表核对并启用本账套登录, "
           "出错时数据库保持原样; 加 --server 可恢复到另一台服务器"},
          {"--as", "restore: 恢复成的账套名 (默认备份时的账套名)"},
          {"TKAM_BACKUP_TIMEOUT",
           "环境变量: 备份或恢复的时间限制, 秒 (默认 14400, 0 为不限); 超时即停止, 不留下任何东西"},
          {"--replace",
           "create: 同名账套已存在时先删除; restore: 新账套完整恢复后才替换同名账套"}}},
        {"asset",
         "新增、列出、查看、变动、减少资产, 登记工作量, 导入导出",
         "amasset asset add --category 类别编码 --name 名称 --cost 原值 --date yyyy-MM-dd\n"
         "          [--residual-rate R] [--life 月数 | --total-work 工作总量] [--method 2..6]\n"
         "          [--department 部门编码] [--fund 编码:比例 ...] [--account-line 科目:部门:比例 "
         "...]\n"
         "amasset asset list [--category 类别编码] [--department 部门编码] [--csv]\n"
         "amasset asset show 资产编码\n"
         "amasset asset work 资产编码 --period yyyy-MM --work 工作量\n"
         "amasset asset alter 资产编码 --date yyyy-MM-dd [--cost 原值] [--impairment 减值准备]\n"
         "          [--residual 净残值] [--life 月数或工作总量] [--method 1..6]\n"
         "          [--department 部门编码] [--way 变动方式编码]\n"
         "amasset asset dispose 资产编码 --date yyyy-MM-dd [--way 减少方式编码]\n"
         "          [--part 30% | --cost-out 金额]\n"
         "amasset asset import 文件.csv [--dry-run]\n"
         "amasset asset export [--output 文件.csv]",
         {{"--category", "资产类别编码"},
          {"--name", "资产名称"},
          {"--cost", "原值"},
          {"--date", "入账、变动或减少日期"},
          {"--residual-rate", "净残值率 (百分数)"},
          {"--residual", "alter: 新的净残值"},
          {"--life", "使用期间 (月); alter 时也可为工作总量"},
          {"--total-work", "工作量法的工作总量"},
          {"--method", "折旧方法编号"},
          {"--department", "使用部门编码 (alter 时为部门调拨)"},
          {"--fund", "资金来源及其比例, 如 01:60,02:40"},
          {"--account-line", "折旧科目、部门及比例"},
          {"--impairment", "alter: 新的减值准备"},
          {"--way", "变动或减少方式编码 (减少默认 08)"},
          {"--part", "dispose: 部分减少的比例"},
          {"--cost-out", "dispose: 部分减少的原值金额"},
          {"--period", "work: 登记工作量的期间"},
          {"--work", "work: 本期工作量"},
          {"--csv", "list: 以 UTF-8 CSV 输出"},
          {"--dry-run", "import: 逐行检查并试写, 不保存"},
          {"--output", "export: 写入的文件 (默认标准输出)"}}},
        {"period",
         "期间结账 (计提折旧并过账)",
         "amasset period close --period yyyy-MM [--to yyyy-MM]",
         {{"--period", "结账的 (第一个) 期间"}, {"--to", "依次结账直到该期间"}}},
        {"post", "重建资金来源日记账", "amasset post --rebuild", {{"--rebuild", "按现有卡片重建"}}},
        {"amortise", "折旧费用分摊", "amasset amortise", {}},
        {"report",
         "报表",
         "amasset report register [--period yyyy-MM] [--summary] [--csv] [--html 文件]\n"
         "amasset report depreciation [--period yyyy-MM | --from yyyy-MM --to yyyy-MM] "
         "[--by-fund]\n"
         "          [--summary] [--csv] [--html 文件]\n"
         "amasset report schedule [--year yyyy] [--summary] [--csv] [--html 文件]\n"
         "amasset report journal 资产编码 [--csv]",
         {{"register", "资产登记簿: 原值、累计折旧、减值准备、净值"},
          {"depreciation", "折旧报表: 每期按科目和部门分列"},
          {"schedule", "逐月折旧计划, 未结账期间为预测 (标 *)"},
          {"journal", "一项资产的日记账: 每次变动、每期折旧及其后各资金来源的状况"},
          {"--period", "报表期间 (默认最近结账的期间)"},
          {"--from, --to", "depreciation: 期间范围"},
          {"--by-fund", "depreciation: 再按资金来源分列"},
          {"--year", "schedule: 会计年度"},
          {"--summary", "只列合计"},
          {"--csv", "以 UTF-8 CSV 输出"},
          {"--html", "另写一个自带图表的 HTML 页面"}}},
        {"demo",
         "演示: 建账套, 新增一年的资产并结账",
         "amasset demo [--account-set 账套名]",
         {{"--account-set", "演示账套名 (默认 AMDEMO, 已有则重建)"}}},
        {"adjust",
         "执行数据调整脚本",
         "amasset adjust --account-set 账套名 [--from 原账套] [--keep-files]",
         {{"--from", "从该账套升级而来"}, {"--keep-files", "运行结束后保留脚本文件"}}},
        {"sql",
         "SQL 控制台 (Oracle 语法)",
         "amasset sql --account-set 账套名 [-f 脚本]",
         {{"-f", "执行脚本文件后退出"}}},
        {"carryforward",
         "年末结转到下年账套",
         "amasset carryforward --from 原账套 --to 新账套 --date yyyy-MM-dd [--org 机构] [--check]",
         {{"--from", "结转前账套"},
          {"--to", "结转后账套 (可先用 accountset create --like 建立)"},
          {"--date", "结转日期: 新账套第一个期间的第一天"},
          {"--check", "只检查能否结转"}}},
        {"upgrade",
         "升级固定资产数据 (旧固定资产模块或早期版本)",
         "amasset upgrade --from 原账套 --to 新账套 --old-version 版本 [--new-version 版本] "
         "[--check]",
         {{"--from, --to", "原账套和接收数据的新账套"},
          {"--old-version", "原账套的版本, 如 a.82.20120930 (早期版本), 旧固定资产模块如 8.50"},
          {"--new-version", "新账套的版本 (默认取新账套自己的版本)"},
          {"--check", "只检查原账套的数据"}}},
    };
    return kTable;
}

constexpr const char* kGlobalOptions =
    "全局参数:\n"
    "  --server 连接串     使用已有的数据库服务, 不启动内置服务 (连接串的用户须能建立角色;\n"
    "                      账套登录口令取自环境变量 AMASSET_PASSWORD, 以 SCRAM-SHA-256 保存)\n"
    "  --account-set 账套  要操作的账套 (也可用 --user)\n"
    "  --org 机构          机构编号 (默认 1)\n"
    "  --data-dir 目录     内置数据库服务的数据目录\n"
    "  --help              说明命令及其参数; --version 打印版本\n";

}  // namespace

void CommandHelp::printOverview(std::ostream& out) {
    out << "用法: amasset <命令> [参数]    (amasset <命令> --help 查看命令说明)\n";
    for (const Entry& e : table()) {
        std::string name = e.command;
        name.resize(std::max<std::size_t>(name.size() + 2, 14), ' ');  // never run into the summary
        out << "  " << name << e.summary << "\n";
    }
    out << kGlobalOptions;
}

bool CommandHelp::print(const std::string& command, std::ostream& out) {
    auto found = std::find_if(table().begin(), table().end(),
                              [&](const Entry& e) { return command == e.command; });
    if (found == table().end()) return false;
    out << found->summary << "\n\n用法:\n";
    std::string usage = found->usage;
    for (size_t start = 0; start <= usage.size();) {
        size_t end = std::min(usage.find('\n', start), usage.size());
        out << "  " << usage.substr(start, end - start) << "\n";
        start = end + 1;
    }
    if (!found->options.empty()) out << "\n参数:\n";
    for (const OptionHelp& option : found->options) {
        std::string name = option.option;
        out << "  " << name << std::string(name.size() < 22 ? 22 - name.size() : 1, ' ')
            << option.meaning << "\n";
    }
    out << "\n" << kGlobalOptions;
    return true;
}

}  // namespace tk::tools
