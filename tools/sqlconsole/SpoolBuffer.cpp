// Writing the console's output to the screen and the spool file.
#include "SpoolBuffer.hpp"

namespace tk::console {

bool SpoolBuffer::start(const std::filesystem::path& file, bool append) {
    stop();
    file_.open(file, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    path_ = file_.is_open() ? file : std::filesystem::path();
    return file_.is_open();
}

void SpoolBuffer::stop() {
    if (file_.is_open()) file_.close();
    path_.clear();
}

int SpoolBuffer::overflow(int c) {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    char ch = traits_type::to_char_type(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
}

std::streamsize SpoolBuffer::xsputn(const char* text, std::streamsize count) {
    if (file_.is_open()) file_.write(text, count);
    return screen_->sputn(text, count);
}

int SpoolBuffer::sync() {
    if (file_.is_open()) file_.flush();
    return screen_->pubsync();
}

}  // namespace tk::console
