// A progress bar for the long commands.
#pragma once
#include <cstddef>
#include <string>

namespace tk::tools {

// A bar redrawn in place on standard output when it is a terminal; silent
// otherwise, so that piped output holds only the summary line.
class ProgressBar {
  public:
    ProgressBar(std::string title, size_t total);
    void advance(const std::string& item);
    // Ends the bar and prints the summary line.
    void finish(const std::string& summary);

  private:
    std::string title_;
    size_t total_, done_ = 0;
    bool terminal_;
};

}  // namespace tk::tools
