// The manifest and closing line appended and synced, and read back from the end of the file,
// each part checked against its digest before anything is believed.
#include "provision/BackupFile.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace tk::am {
namespace fs = std::filesystem;
namespace {

// The closing line: its mark, the manifest's length and digest in hex.
constexpr std::string_view kClosing = "\nTKAM-ACCOUNT-SET-BACKUP 1 ";
constexpr size_t kClosingSize = kClosing.size() + 16 + 1 + 16 + 1;

std::string hex(uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, value);
    return text;
}

uint64_t fnv1a(uint64_t hash, const char* bytes, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        hash ^= static_cast<unsigned char>(bytes[i]);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}
constexpr uint64_t kFnvOffset = 0xcbf29ce484222325ULL;

std::string textDigest(const std::string& text) {
    return hex(fnv1a(kFnvOffset, text.data(), text.size()));
}

[[noreturn]] void notABackup(const fs::path& path) {
    throw std::runtime_error("文件 " + path.string() +
                             " 不是完整的账套备份: 末尾没有备份清单"
                             " (文件不完整, 或不是 amasset accountset backup 生成的)");
}

[[noreturn]] void damaged(const fs::path& path, const std::string& part) {
    throw std::runtime_error("备份文件 " + path.string() + " 已损坏: " + part + "与其校验和不符");
}

std::string readAt(std::ifstream& in, uint64_t offset, uint64_t size) {
    std::string text(size, '\0');
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(text.data(), static_cast<std::streamsize>(size));
    if (static_cast<uint64_t>(in.gcount()) != size) throw std::runtime_error("读取备份文件失败");
    return text;
}

// The manifest's length and digest from the closing line, when it is one.
bool parseClosing(const std::string& line, uint64_t& length, std::string& digest) {
    const std::string mark(kClosing);
    if (line.size() != kClosingSize || !line.starts_with(mark) || line.back() != '\n') return false;
    const std::string lengthHex = line.substr(mark.size(), 16);
    digest = line.substr(mark.size() + 17, 16);
    for (char c : lengthHex + digest)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    length = std::stoull(lengthHex, nullptr, 16);
    return line[mark.size() + 16] == ' ';
}

void appendAndSync(const fs::path& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    bool ok = fd >= 0;
    for (size_t done = 0; ok && done < text.size();) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        ok = n > 0;
        done += ok ? static_cast<size_t>(n) : 0;
    }
    ok = ok && fsync(fd) == 0;
    if (fd >= 0) ::close(fd);
    if (!ok) throw std::runtime_error("无法写入备份文件 " + path.string());
}

}  // namespace

std::string BackupFile::digest(const fs::path& path, uint64_t bytes) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> buffer(1 << 20);
    uint64_t hash = kFnvOffset;
    while (bytes > 0 && in) {
        in.read(buffer.data(),
                static_cast<std::streamsize>(std::min<uint64_t>(bytes, buffer.size())));
        const auto got = static_cast<size_t>(in.gcount());
        hash = fnv1a(hash, buffer.data(), got);
        bytes -= got;
    }
    if (bytes > 0) throw std::runtime_error("读取备份文件失败: " + path.string());
    return hex(hash);
}

void BackupFile::seal(const fs::path& path, BackupManifest& manifest) {
    manifest.archiveBytes = fs::file_size(path);
    manifest.archiveDigest = digest(path, manifest.archiveBytes);
    const std::string text = manifest.text();
    appendAndSync(path,
                  text + std::string(kClosing) + hex(text.size()) + " " + textDigest(text) + "\n");
}

BackupManifest BackupFile::open(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::error_code error;
    const uint64_t size = fs::file_size(path, error);
    if (!in || error) throw std::runtime_error("无法读取备份文件 " + path.string());
    uint64_t manifestSize = 0;
    std::string manifestDigest;
    if (size < kClosingSize ||
        !parseClosing(readAt(in, size - kClosingSize, kClosingSize), manifestSize,
                      manifestDigest) ||
        manifestSize > size - kClosingSize)
        notABackup(path);
    const uint64_t archiveSize = size - kClosingSize - manifestSize;
    const std::string text = readAt(in, archiveSize, manifestSize);
    if (textDigest(text) != manifestDigest) damaged(path, "备份清单");
    BackupManifest manifest = BackupManifest::parse(text);
    if (manifest.archiveBytes != archiveSize || digest(path, archiveSize) != manifest.archiveDigest)
        damaged(path, "账套数据");
    return manifest;
}

}  // namespace tk::am
