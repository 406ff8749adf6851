// Parsing the words of EXIT and WHENEVER.
#include "ExitAction.hpp"

#include "CommandText.hpp"
#include "ConsoleError.hpp"
#include "host/Dispatchable.hpp"

namespace tk::console {
namespace {

bool isStatusWord(const std::string& word) {
    std::string w = lowerAscii(word);
    return w != "commit" && w != "rollback";
}

void readStatus(ExitAction& action, const std::string& word) {
    std::string w = lowerAscii(word);
    if (w == "success") {
        action.code = 0;
    } else if (w == "failure") {
        action.code = 1;
    } else if (w == "sql.sqlcode") {
        action.status = ExitAction::Status::SqlCode;
    } else if (w == "sql.oscode") {
        action.status = ExitAction::Status::OsCode;
    } else if (isNumber(w)) {
        action.code = std::stoi(w.substr(0, 9));
    } else {
        action.status = ExitAction::Status::Variable;
        action.variable = word;
    }
}

ExitAction::Work workOf(const std::string& word, bool continues) {
    std::string w = lowerAscii(word);
    if (w == "commit") return ExitAction::Work::Commit;
    if (w == "rollback") return ExitAction::Work::Rollback;
    if (continues && w == "none") return ExitAction::Work::Keep;
    throw ConsoleError("SP2-0158: unknown option \"" + word + "\"");
}

}  // namespace

ExitAction ExitAction::parseExit(const std::vector<std::string>& words, size_t from) {
    ExitAction action;
    size_t i = from;
    if (i < words.size() && isStatusWord(words[i])) readStatus(action, words[i++]);
    if (i < words.size()) action.work = workOf(words[i++], false);
    if (i < words.size()) throw ConsoleError("SP2-0158: unknown option \"" + words[i] + "\"");
    return action;
}

ExitAction ExitAction::parseWhenever(const std::vector<std::string>& words, size_t from) {
    std::string verb = from < words.size() ? lowerAscii(words[from]) : "";
    if (verb == "exit") return parseExit(words, from + 1);
    if (verb != "continue")
        throw ConsoleError("SP2-0158: unknown WHENEVER option \"" + verb + "\"");
    ExitAction action;
    action.exits = false;
    action.work = Work::Keep;
    if (from + 1 < words.size()) action.work = workOf(words[from + 1], true);
    return action;
}

}  // namespace tk::console
