// Sources of script lines for the console: a stream or an interactive terminal.
#pragma once
#include <istream>
#include <optional>
#include <string>

namespace tk::console {

// Where script lines come from: a file, a pipe, or a person at a terminal.
class LineSource {
  public:
    virtual ~LineSource() = default;
    // The next line without its line break; nothing at the end.
    virtual std::optional<std::string> next(const std::string& prompt) = 0;
};

class StreamLines : public LineSource {
  public:
    explicit StreamLines(std::istream& in) : in_(in) {}
    std::optional<std::string> next(const std::string& prompt) override;

  private:
    std::istream& in_;
};

// A terminal: the prompt, line editing and the session's history.
class TerminalLines : public LineSource {
  public:
    std::optional<std::string> next(const std::string& prompt) override;
};

}  // namespace tk::console
