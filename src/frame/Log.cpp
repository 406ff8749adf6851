// The component's log files: one per log name in the folder "log".
#include "frame/Log.hpp"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "frame/ComponentFolder.hpp"
#include "frame/PublicDef.hpp"

namespace tk::am {
namespace fs = std::filesystem;
namespace {

// A log larger than this is started afresh.
constexpr uintmax_t kMaxLogBytes = 2097152;

std::string localTimestamp() {
    std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
    return buffer;
}

}  // namespace

bool WriteLog(const std::string& text, const std::string& logName, int16_t overwrite) {
    std::error_code ec;
    fs::path folder = ComponentFolder() / "log";
    fs::create_directories(folder, ec);
    fs::path file = folder / ((logName.empty() ? ComponentName() : logName) + ".log");
    if (fs::exists(file, ec) && fs::file_size(file, ec) > kMaxLogBytes) fs::remove(file, ec);
    std::ofstream out(file, std::ios::binary | (overwrite ? std::ios::trunc : std::ios::app));
    out << "[" << localTimestamp() << "]" << text << kCrLf;
    out.close();
    return !out.fail();
}

}  // namespace tk::am
