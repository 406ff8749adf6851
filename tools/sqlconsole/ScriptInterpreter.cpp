// Script lines buffered into statements, nested @ and @@ scripts, and SET, PROMPT and EXIT.
#include "ScriptInterpreter.hpp"

#include <fstream>
#include <sstream>
#include <utility>

#include "Feedback.hpp"
#include "host/Dispatchable.hpp"

namespace tk::console {
namespace fs = std::filesystem;
namespace {

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string withoutSemicolon(std::string text) {
    while (!text.empty() && text.back() == ';') text.pop_back();
    return trimmed(text);
}

std::string unquoted(std::string text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}

// Oracle adds ".sql" to a script name without an extension.
fs::path scriptPath(const std::string& name, const fs::path& folder) {
    fs::path path = unquoted(withoutSemicolon(name));
    if (path.is_relative()) path = folder / path;
    if (!path.has_extension()) path += ".sql";
    return path;
}

}  // namespace

ScriptInterpreter::ScriptInterpreter(StatementRunner& runner, std::ostream& out)
    : runner_(runner), out_(out) {}

void ScriptInterpreter::run(LineSource& lines, const fs::path& folder, bool interactive) {
    while (!exited_) {
        std::string prompt = buffer_.empty() ? "SQL> " : "  " + std::to_string(lines_ + 1) + "  ";
        auto text = lines.next(interactive ? prompt : "");
        if (!text) break;
        line(*text, folder);
    }
}

void ScriptInterpreter::runFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        out_ << "SP2-0310: unable to open file \"" << file.string() << "\"\n";
        return;
    }
    StreamLines lines(in);
    // A statement left open at the end of a script is not run.
    std::string outer = std::exchange(buffer_, "");
    run(lines, file.parent_path(), false);
    buffer_ = outer;
}

void ScriptInterpreter::line(const std::string& text, const fs::path& folder) {
    std::string t = trimmed(text);
    if (buffer_.empty()) {
        if (t.empty() || consoleCommand(t, folder)) return;
        plsql_ = startsPlsql(t);
    }
    if (t == "/") {
        runBuffer();
        return;
    }
    buffer_ += (buffer_.empty() ? "" : "\n") + text;
    ++lines_;
    if (!plsql_ && t.ends_with(";")) {
        buffer_ = withoutSemicolon(buffer_);
        runBuffer();
    }
}

// "/" with nothing pending runs the last statement again.
void ScriptInterpreter::runBuffer() {
    if (!buffer_.empty()) {
        last_ = std::exchange(buffer_, "");
        lastPlsql_ = plsql_;
    }
    lines_ = 0;
    if (!last_.empty()) runner_.run(last_, lastPlsql_);
}

bool ScriptInterpreter::consoleCommand(const std::string& text, const fs::path& folder) {
    if (text.starts_with("--")) return true;
    if (text.starts_with("@")) {
        bool nested = text.starts_with("@@");
        runFile(scriptPath(text.substr(nested ? 2 : 1), nested ? folder : fs::current_path()));
        return true;
    }
    std::istringstream words(text);
    std::string verb, option, value;
    words >> verb >> option >> value;
    verb = tk::lowerAscii(withoutSemicolon(verb));
    if (verb == "exit" || verb == "quit") {
        exited_ = true;
    } else if (verb == "set") {
        set(tk::lowerAscii(withoutSemicolon(option)), tk::lowerAscii(withoutSemicolon(value)));
    } else if (verb == "prompt" || verb == "pro") {
        out_ << trimmed(text.substr(verb.size())) << "\n";
    } else if (!(verb == "rem" || verb == "remark" || verb == "spool" || verb == "whenever" ||
                 verb == "define" || verb == "column" || verb == "show" || verb == ".")) {
        return false;
    }
    return true;
}

void ScriptInterpreter::set(const std::string& option, const std::string& value) {
    OutputSettings& s = runner_.settings();
    if (option == "heading" || option == "hea") s.heading = value == "on";
    if (option == "feedback" || option == "feed") {
        if (value == "on")
            s.feedback = 1;
        else if (value == "off")
            s.feedback = 0;
        else if (!value.empty() && value.find_first_not_of("0123456789") == std::string::npos)
            s.feedback = std::stoi(value);
    }
}

}  // namespace tk::console
