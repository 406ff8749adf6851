// The backup file on its own: its manifest reads back as written, and only a whole file of
// this kind and of this release or an earlier one opens.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "TestDatabase.hpp"
#include "provision/BackupFile.hpp"

namespace tk::am {
namespace {
namespace fs = std::filesystem;

class BackupFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(folder);
        std::mt19937 random(7);
        archive = "PGDMP";
        for (int i = 0; i < 20000; ++i) archive += static_cast<char>(random());
        write(path, archive);
        manifest.release = BackupManifest::kRelease;
        manifest.schema = "zt2024";
        manifest.server = "15.18";
        manifest.taken = "2024-12-31T23:59:59Z";
        manifest.tables = {{"amasset", 3, "-9187201950435737472"}, {"odd name%\t1", 0, "0"}};
        BackupFile::seal(path, manifest);
        sealed = test::ReadFile(path);
    }
    void TearDown() override { fs::remove_all(folder); }
    static void write(const fs::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    }
    // The reason the file with `bytes` is refused, "" when it opens.
    std::string refusal(const std::string& bytes) const {
        write(path, bytes);
        try {
            BackupFile::open(path);
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    }

    const fs::path folder = fs::temp_directory_path() / ("backup-file-" + std::to_string(getpid()));
    const fs::path path = folder / "zt2024.ambackup";
    std::string archive, sealed;
    BackupManifest manifest;
};

TEST_F(BackupFileTest, TheManifestReadsBackAsWrittenAfterTheArchive) {
    BackupManifest read = BackupFile::open(path);
    EXPECT_EQ(read.text(), manifest.text());
    EXPECT_EQ(read.tables[1].table, "odd name%\t1");
    EXPECT_EQ(read.archiveBytes, archive.size());
    EXPECT_EQ(sealed.substr(0, archive.size()), archive) << "pg_restore reads the archive in place";
    EXPECT_EQ(read.rows(), 3);
    EXPECT_TRUE(read.hasTable("amasset"));
}

TEST_F(BackupFileTest, AFileCutShortChangedOrOfAnotherKindIsRefused) {
    for (size_t kept : {sealed.size() - 1, sealed.size() - 62, archive.size(), size_t{100}})
        EXPECT_NE(refusal(sealed.substr(0, kept)).find("不是完整的账套备份"), std::string::npos)
            << kept;
    EXPECT_NE(refusal(archive).find("不是完整的账套备份"), std::string::npos);
    EXPECT_NE(refusal("").find("不是完整的账套备份"), std::string::npos);
    for (size_t at : {size_t{0}, archive.size() / 2, archive.size() - 1}) {
        std::string changed = sealed;
        changed[at] ^= 0x01;
        EXPECT_NE(refusal(changed).find("账套数据与其校验和不符"), std::string::npos) << at;
    }
    std::string rows = sealed;
    rows[rows.find("amasset 3") + 8] = '4';
    EXPECT_NE(refusal(rows).find("备份清单与其校验和不符"), std::string::npos);
    EXPECT_EQ(refusal(sealed), "");
}

TEST(BackupManifest, ALaterReleaseOrAnotherFormatIsRefused) {
    BackupManifest made;
    made.schema = "zt2024";
    made.archiveDigest = "0123456789abcdef";
    for (const char* earlier : {"0.9", "1.0.0", BackupManifest::kRelease}) {
        made.release = earlier;
        EXPECT_NO_THROW(BackupManifest::parse(made.text())) << earlier;
    }
    made.release = "1.10";
    try {
        BackupManifest::parse(made.text());
        ADD_FAILURE() << "a later release's backup was taken";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("较新的 amasset 1.10"), std::string::npos) << e.what();
    }
    made.release = "1.0.0";
    std::string text = made.text();
    EXPECT_THROW(
        BackupManifest::parse("amasset account-set backup 2" + text.substr(text.find('\n'))),
        std::runtime_error);
    EXPECT_THROW(BackupManifest::parse(text + "table amasset 1 1';drop\n"), std::runtime_error);
}

}  // namespace
}  // namespace tk::am
