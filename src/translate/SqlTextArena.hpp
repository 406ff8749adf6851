// Storage for the text of tokens made during one translation.
#pragma once
#include <forward_list>
#include <string>
#include <string_view>

namespace tk::translate {

// Owns the text of tokens made during a translation; tokens only point to
// text, and list nodes never move, so the views stay valid until the end.
class SqlTextArena {
  public:
    std::string_view keep(std::string text) {
        texts_.push_front(std::move(text));
        return texts_.front();
    }

  private:
    std::forward_list<std::string> texts_;
};

}  // namespace tk::translate
