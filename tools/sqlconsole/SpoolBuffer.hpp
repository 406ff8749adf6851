// The console's output: the screen, and a spool file while SPOOL has one open.
#pragma once
#include <filesystem>
#include <fstream>
#include <streambuf>

namespace tk::console {

// Everything written goes to the screen and, between SPOOL file and SPOOL OFF,
// to that file as well.
class SpoolBuffer : public std::streambuf {
  public:
    explicit SpoolBuffer(std::streambuf* screen) : screen_(screen) {}
    // Closes any file open before; false when the new one cannot be written.
    bool start(const std::filesystem::path& file, bool append);
    void stop();
    bool spooling() const { return file_.is_open(); }
    const std::filesystem::path& file() const { return path_; }

  protected:
    int overflow(int c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

  private:
    std::streambuf* screen_;
    std::ofstream file_;
    std::filesystem::path path_;
};

}  // namespace tk::console
