// Script lines buffered into statements, nested @ and @@ scripts, continued command lines and
// substitution of &name, with console commands handed to ConsoleCommands.
#include "ScriptInterpreter.hpp"

#include <cerrno>
#include <fstream>
#include <iomanip>
#include <utility>

#include "CommandText.hpp"
#include "ConsoleError.hpp"
#include "Feedback.hpp"

namespace tk::console {
namespace fs = std::filesystem;
namespace {

// Oracle adds ".sql" to a script name without an extension.
fs::path scriptPath(const std::string& name, const fs::path& folder) {
    fs::path path = name;
    if (path.is_relative()) path = folder / path;
    if (!path.has_extension()) path += ".sql";
    return path;
}

// Comments are neither run nor substituted.
bool isComment(const std::string& line) {
    std::string verb = withoutSemicolon(line.substr(0, line.find_first_of(" \t")));
    return line.starts_with("--") || abbreviates(verb, "remark", 3);
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0;;) {
        size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return lines;
        start = end + 1;
    }
}

}  // namespace

ScriptInterpreter::ScriptInterpreter(StatementRunner& runner, std::ostream& out, SpoolBuffer& spool)
    : runner_(runner),
      out_(out),
      exits_(runner, variables_, out),
      commands_(runner, variables_, exits_, spool, out) {}

void ScriptInterpreter::run(LineSource& lines, const fs::path& folder, bool interactive) {
    while (!exits_.exited()) {
        std::string prompt = buffer_.empty() ? "SQL> " : "  " + std::to_string(lines_ + 1) + "  ";
        auto text = lines.next(interactive ? prompt : "");
        if (!text) break;
        line(*text, folder);
    }
}

void ScriptInterpreter::runFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        int error = errno;
        out_ << "SP2-0310: unable to open file \"" << file.string() << "\"\n";
        exits_.osFailed(error);
        return;
    }
    StreamLines lines(in);
    // A statement left open at the end of a script is not run.
    std::string outer = std::exchange(buffer_, "");
    run(lines, file.parent_path(), false);
    buffer_ = outer;
}

int ScriptInterpreter::finish() {
    if (!exits_.exited()) exits_.exit(ExitAction{});
    return exits_.status();
}

void ScriptInterpreter::line(const std::string& text, const fs::path& folder) {
    std::string t = trimmed(text);
    if (!continued_.empty()) return command(std::exchange(continued_, "") + " " + t, folder);
    if (buffer_.empty()) {
        if (t.empty() || isComment(t)) return;
        if (t.starts_with("@") || ConsoleCommands::recognises(t)) return command(t, folder);
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

void ScriptInterpreter::command(const std::string& text, const fs::path& folder) {
    if (text.ends_with(" -")) {
        continued_ = trimmed(text.substr(0, text.size() - 1));
        return;
    }
    std::string line;
    try {
        line = substituted(text, false);
    } catch (const ConsoleError& e) {
        out_ << e.what() << "\n";
        return;
    }
    if (line.starts_with("@"))
        runScript(line, folder);
    else
        commands_.run(line);
}

void ScriptInterpreter::runScript(const std::string& text, const fs::path& folder) {
    bool nested = text.starts_with("@@");
    std::vector<std::string> words = commandWords(withoutSemicolon(text.substr(nested ? 2 : 1)));
    if (words.empty()) return;
    for (size_t i = 1; i < words.size(); ++i) variables_.define(std::to_string(i), words[i]);
    runFile(scriptPath(words[0], nested ? folder : fs::current_path()));
}

// "/" with nothing pending runs the last statement again, its variables substituted anew.
void ScriptInterpreter::runBuffer() {
    if (!buffer_.empty()) {
        last_ = std::exchange(buffer_, "");
        lastPlsql_ = plsql_;
    }
    lines_ = 0;
    if (last_.empty()) return;
    bool ok = false;
    try {
        ok = runner_.run(substituted(last_, variables_.verify), lastPlsql_);
    } catch (const ConsoleError& e) {
        runner_.report(e);
    }
    if (!ok) exits_.sqlFailed();
}

std::string ScriptInterpreter::substituted(const std::string& text, bool verify) {
    auto ask = [this](const std::string& name) -> std::optional<std::string> {
        if (!answers_) return std::nullopt;
        return answers_->next("Enter value for " + name + ": ");
    };
    std::vector<std::string> old = linesOf(text), now;
    for (const std::string& line : old) now.push_back(variables_.substitute(line, ask));
    if (verify) printVerify(old, now);
    std::string joined;
    for (size_t i = 0; i < now.size(); ++i) joined += (i ? "\n" : "") + now[i];
    return joined;
}

// SET VERIFY ON shows each line that substitution changed, before and after.
void ScriptInterpreter::printVerify(const std::vector<std::string>& old,
                                    const std::vector<std::string>& now) {
    for (size_t i = 0; i < old.size(); ++i)
        if (old[i] != now[i])
            out_ << "old" << std::setw(4) << i + 1 << ": " << old[i] << "\nnew" << std::setw(4)
                 << i + 1 << ": " << now[i] << "\n";
}

}  // namespace tk::console
