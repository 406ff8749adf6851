// The manifest as lines of "key value", table names escaped, read back strictly; releases
// compared number by number.
#include "provision/BackupManifest.hpp"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <stdexcept>

namespace tk::am {
namespace {

constexpr const char* kHeader = "amasset account-set backup 1";

[[noreturn]] void malformed(const std::string& what) {
    throw std::runtime_error("备份清单无法识别: " + what);
}

// A name in one word: blanks, control characters and '%' as %XX.
std::string escaped(const std::string& name) {
    std::string out;
    for (unsigned char c : name) {
        if (c > ' ' && c != '%' && c != 0x7f) {
            out += static_cast<char>(c);
            continue;
        }
        char hex[4];
        std::snprintf(hex, sizeof hex, "%%%02X", c);
        out += hex;
    }
    return out;
}

std::string unescaped(const std::string& word) {
    std::string out;
    for (size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%') {
            out += word[i];
            continue;
        }
        if (i + 2 >= word.size() || !std::isxdigit(static_cast<unsigned char>(word[i + 1])) ||
            !std::isxdigit(static_cast<unsigned char>(word[i + 2])))
            malformed(word);
        out += static_cast<char>(std::stoi(word.substr(i + 1, 2), nullptr, 16));
        i += 2;
    }
    return out;
}

std::vector<long> releaseNumbers(const std::string& release) {
    std::vector<long> numbers;
    std::stringstream in(release);
    for (std::string part; std::getline(in, part, '.');) numbers.push_back(std::atol(part.c_str()));
    return numbers;
}

bool allDigits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

uint64_t count(const std::string& digits) {
    if (!allDigits(digits) || digits.size() > 18) malformed(digits);
    return std::stoull(digits);
}

TableSums tableLine(const std::string& rest) {
    std::istringstream in(rest);
    std::string name;
    TableSums sums;
    std::string rows;
    if (!(in >> name >> rows >> sums.checksum)) malformed("table " + rest);
    sums.rows = static_cast<int64_t>(count(rows));
    if (!allDigits(sums.checksum.substr(sums.checksum.starts_with('-') ? 1 : 0)))
        malformed(sums.checksum);
    sums.table = unescaped(name);
    return sums;
}

}  // namespace

const char* const BackupManifest::kRowTextSettings =
    "SET LOCAL DateStyle = 'ISO, YMD'; SET LOCAL TimeZone = 'UTC';"
    " SET LOCAL IntervalStyle = 'postgres'; SET LOCAL extra_float_digits = 1;"
    " SET LOCAL bytea_output = 'hex';";
const char* const BackupManifest::kRelease = TKAM_VERSION;

// hashtextextended is the hash of hash partitioning, which PostgreSQL keeps
// the same from release to release; md5 of each row took twice as long.
std::string BackupManifest::sumsQuery(const std::string& table) {
    return "SELECT count(*)::text, coalesce(sum(hashtextextended(t::text, 0)), 0)::text FROM " +
           table + " t";
}

std::string BackupManifest::text() const {
    std::string out = std::string(kHeader) + "\nrelease " + release + "\nschema " + schema +
                      "\nserver " + server + "\ntaken " + taken + "\narchive-bytes " +
                      std::to_string(archiveBytes) + "\narchive-digest " + archiveDigest + "\n";
    for (const auto& t : tables)
        out += "table " + escaped(t.table) + " " + std::to_string(t.rows) + " " + t.checksum + "\n";
    return out;
}

BackupManifest BackupManifest::parse(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kHeader) malformed(line);
    static const std::map<std::string, std::string BackupManifest::*> kTexts = {
        {"release", &BackupManifest::release},
        {"schema", &BackupManifest::schema},
        {"server", &BackupManifest::server},
        {"taken", &BackupManifest::taken},
        {"archive-digest", &BackupManifest::archiveDigest}};
    BackupManifest m;
    while (std::getline(in, line)) {
        const size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
        if (auto field = kTexts.find(key); field != kTexts.end())
            m.*(field->second) = rest;
        else if (key == "archive-bytes")
            m.archiveBytes = count(rest);
        else if (key == "table")
            m.tables.push_back(tableLine(rest));
        else
            malformed(line);
    }
    if (m.release.empty() || m.schema.empty() || m.archiveDigest.empty()) malformed("缺少必需的项");
    if (releaseNumbers(m.release) > releaseNumbers(kRelease))
        throw std::runtime_error("备份由较新的 amasset " + m.release + " 生成, 本程序 (" +
                                 kRelease + ") 无法恢复; 请用 " + m.release + " 或更新的版本");
    return m;
}

int64_t BackupManifest::rows() const {
    int64_t total = 0;
    for (const auto& t : tables) total += t.rows;
    return total;
}

bool BackupManifest::hasTable(const std::string& table) const {
    return std::any_of(tables.begin(), tables.end(),
                       [&](const TableSums& t) { return t.table == table; });
}

}  // namespace tk::am
