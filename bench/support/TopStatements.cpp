// Read from the view as the superuser; nothing is printed where the server lacks the extension.
#include "TopStatements.hpp"

#include <cstdio>
#include <string>

namespace tk::bench {

TopStatements::TopStatements(BenchAccountSet& admin) : admin_(admin) {
    available_ = admin_.adminRows(
                     "SELECT current_setting('shared_preload_libraries') LIKE "
                     "'%pg_stat_statements%'")[0][0] == "t";
    if (!available_) return;
    admin_.admin(
        "CREATE EXTENSION IF NOT EXISTS pg_stat_statements SCHEMA public;"
        "SELECT public.pg_stat_statements_reset()");
}

void TopStatements::print(const std::string& title, double seconds, int count) {
    if (!available_) return;
    std::printf("\n%s: 用时最多的语句 (+ 为例程内的语句)\n", title.c_str());
    const auto rows = admin_.adminRows(
        "SELECT round(total_exec_time::numeric / 1000, 2), calls, rows, CASE WHEN toplevel THEN ' "
        "' "
        "ELSE '+' END, left(regexp_replace(query, '\\s+', ' ', 'g'), 110) FROM "
        "public.pg_stat_statements ORDER BY total_exec_time DESC LIMIT " +
        std::to_string(count));
    for (const auto& r : rows)
        std::printf("  %8s s %5.1f%% %7s 次 %9s 行 %s%s\n", r[0].c_str(),
                    seconds > 0 ? 100 * std::stod(r[0]) / seconds : 0.0, r[1].c_str(), r[2].c_str(),
                    r[3].c_str(), r[4].c_str());
}

}  // namespace tk::bench
