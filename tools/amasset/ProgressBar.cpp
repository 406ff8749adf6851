// The bar drawn in place when standard output is a terminal, its line cleared for the summary.
#include "ProgressBar.hpp"

#include <unistd.h>

#include <iostream>

namespace tk::tools {
namespace {
constexpr size_t kWidth = 30;
}

ProgressBar::ProgressBar(std::string title, size_t total)
    : title_(std::move(title)), total_(total), terminal_(isatty(STDOUT_FILENO) != 0) {}

void ProgressBar::advance(const std::string& item) {
    ++done_;
    if (!terminal_) return;
    size_t filled = total_ == 0 ? kWidth : kWidth * done_ / total_;
    std::cout << "\r" << title_ << " [" << std::string(filled, '#')
              << std::string(kWidth - filled, '.') << "] " << done_ << "/" << total_ << " " << item
              << std::flush;
}

void ProgressBar::finish(const std::string& summary) {
    if (terminal_) std::cout << "\r\033[K";
    std::cout << summary << "\n";
}

}  // namespace tk::tools
