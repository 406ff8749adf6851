// The console commands: settings, variables, spooling, ending, EXECUTE and DESCRIBE.
#include "ConsoleCommands.hpp"

#include <cerrno>

#include "CommandText.hpp"
#include "ConsoleError.hpp"
#include "SetCommand.hpp"
#include "host/Dispatchable.hpp"

namespace tk::console {
namespace fs = std::filesystem;
namespace {

std::string padded(const std::string& text, size_t width) {
    return text + std::string(width - std::min(width, text.size()), ' ');
}

std::vector<std::string> argumentsOf(const std::string& line) {
    std::vector<std::string> words = commandWords(withoutSemicolon(line));
    if (!words.empty()) words.erase(words.begin());
    return words;
}

// Oracle's console names a spool file without an extension "name.lst".
fs::path spoolPath(const std::string& name) {
    fs::path path = name;
    if (!path.has_extension()) path += ".lst";
    return path;
}

}  // namespace

struct ConsoleCommands::Entry {
    const char* name;
    size_t shortest;
    void (ConsoleCommands::*handler)(const std::string& line);
};

ConsoleCommands::ConsoleCommands(StatementRunner& runner, SubstitutionVariables& variables,
                                 ExitControl& exits, SpoolBuffer& spool, std::ostream& out)
    : runner_(runner), variables_(variables), exits_(exits), spool_(spool), out_(out) {}

const ConsoleCommands::Entry* ConsoleCommands::find(const std::string& line) {
    static const Entry kCommands[] = {
        {"set", 3, &ConsoleCommands::set},           {"prompt", 3, &ConsoleCommands::prompt},
        {"remark", 3, &ConsoleCommands::ignore},     {"define", 3, &ConsoleCommands::define},
        {"undefine", 5, &ConsoleCommands::undefine}, {"variable", 3, &ConsoleCommands::variable},
        {"print", 3, &ConsoleCommands::print},       {"spool", 3, &ConsoleCommands::spool},
        {"whenever", 8, &ConsoleCommands::whenever}, {"exit", 4, &ConsoleCommands::exit},
        {"quit", 4, &ConsoleCommands::exit},         {"execute", 4, &ConsoleCommands::execute},
        {"describe", 4, &ConsoleCommands::describe}, {"column", 3, &ConsoleCommands::ignore},
        {"show", 3, &ConsoleCommands::ignore},       {"ttitle", 3, &ConsoleCommands::ignore},
        {"btitle", 3, &ConsoleCommands::ignore},     {"break", 3, &ConsoleCommands::ignore},
        {"clear", 2, &ConsoleCommands::ignore},      {".", 1, &ConsoleCommands::ignore}};
    std::string verb = withoutSemicolon(line.substr(0, line.find_first_of(" \t")));
    for (const Entry& e : kCommands)
        if (abbreviates(verb, e.name, e.shortest)) return &e;
    return nullptr;
}

bool ConsoleCommands::recognises(const std::string& line) { return find(line) != nullptr; }

void ConsoleCommands::run(const std::string& line) {
    try {
        if (const Entry* e = find(line)) (this->*(e->handler))(line);
    } catch (const ConsoleError& e) {
        out_ << e.what() << "\n";
    }
}

void ConsoleCommands::prompt(const std::string& line) { out_ << afterVerb(line) << "\n"; }

void ConsoleCommands::ignore(const std::string&) {}

void ConsoleCommands::set(const std::string& line) {
    SetCommand(runner_.settings(), variables_).apply(argumentsOf(line));
}

// DEFINE lists every variable, DEFINE name one, DEFINE name = value sets one.
void ConsoleCommands::define(const std::string& line) {
    std::string rest = afterVerb(withoutSemicolon(line));
    size_t equals = rest.find('=');
    if (equals != std::string::npos) {
        variables_.define(trimmed(rest.substr(0, equals)),
                          unquoted(trimmed(rest.substr(equals + 1))));
    } else if (rest.empty()) {
        for (const auto& [name, value] : variables_.all()) listDefinition(name, value);
    } else if (auto value = variables_.value(rest)) {
        listDefinition(rest, *value);
    } else {
        throw ConsoleError("SP2-0135: symbol " + rest + " is UNDEFINED");
    }
}

void ConsoleCommands::listDefinition(const std::string& name, const std::string& value) {
    out_ << "DEFINE " << padded(upperAscii(name), 15) << " = \"" << value << "\" (CHAR)\n";
}

void ConsoleCommands::undefine(const std::string& line) {
    for (const std::string& name : argumentsOf(line)) variables_.undefine(name);
}

// VARIABLE lists every bind variable, VARIABLE name one, VARIABLE name type declares one.
void ConsoleCommands::variable(const std::string& line) {
    std::string rest = afterVerb(withoutSemicolon(line));
    std::string name = rest.substr(0, rest.find_first_of(" \t"));
    BindVariables& binds = runner_.binds();
    if (!afterVerb(rest).empty()) return binds.declare(name, afterVerb(rest));
    for (const BindVariables::Variable& v : binds.all())
        if (name.empty() || v.name == upperAscii(name))
            out_ << "variable   " << v.name << "\ndatatype   " << v.type() << "\n";
    if (!name.empty() && !binds.find(name))
        throw ConsoleError("SP2-0552: Bind variable \"" + upperAscii(name) + "\" not declared.");
}

// PRINT shows each variable named, or all of them, as a one-column query.
void ConsoleCommands::print(const std::string& line) {
    std::vector<std::string> names = argumentsOf(line);
    if (names.empty())
        for (const BindVariables::Variable& v : runner_.binds().all()) names.push_back(v.name);
    for (const std::string& name : names) printBind(name.starts_with(':') ? name.substr(1) : name);
}

void ConsoleCommands::printBind(const std::string& name) {
    const BindVariables::Variable* v = runner_.binds().find(name);
    if (!v)
        throw ConsoleError("SP2-0552: Bind variable \"" + upperAscii(name) + "\" not declared.");
    RowPrinter(out_, runner_.settings(), {v->name}).row({v->value});
}

// SPOOL file [APPEND | REPLACE | CREATE], SPOOL OFF, and SPOOL alone to ask.
void ConsoleCommands::spool(const std::string& line) {
    std::vector<std::string> words = argumentsOf(line);
    std::string mode = words.size() > 1 ? lowerAscii(words[1]) : "";
    if (words.empty()) {
        out_ << (spool_.spooling() ? "currently spooling to " + spool_.file().string()
                                   : std::string("not spooling currently"))
             << "\n";
    } else if (lowerAscii(words[0]) == "off" || lowerAscii(words[0]) == "out") {
        spool_.stop();
    } else if (abbreviates(mode, "create", 3) && fs::exists(spoolPath(words[0]))) {
        throw ConsoleError(
            "SP2-0771: File \"" + spoolPath(words[0]).string() +
            "\" already exists. Use another name or \"SPOOL filename[.ext] REPLACE\"");
    } else if (!spool_.start(spoolPath(words[0]), abbreviates(mode, "append", 3))) {
        int error = errno;
        out_ << "SP2-0606: Cannot create SPOOL file \"" << spoolPath(words[0]).string() << "\"\n";
        exits_.osFailed(error);
    }
}

void ConsoleCommands::whenever(const std::string& line) {
    std::vector<std::string> words = commandWords(withoutSemicolon(line));
    std::string condition = words.size() > 1 ? lowerAscii(words[1]) : "";
    if (condition == "sqlerror")
        exits_.onSqlError(ExitAction::parseWhenever(words));
    else if (condition == "oserror")
        exits_.onOsError(ExitAction::parseWhenever(words));
    else
        throw ConsoleError("SP2-0158: unknown WHENEVER option \"" + condition + "\"");
}

void ConsoleCommands::exit(const std::string& line) {
    exits_.exit(ExitAction::parseExit(commandWords(withoutSemicolon(line))));
}

void ConsoleCommands::execute(const std::string& line) {
    if (!runner_.run("BEGIN " + afterVerb(withoutSemicolon(line)) + "; END;", true))
        exits_.sqlFailed();
}

void ConsoleCommands::describe(const std::string& line) {
    if (!runner_.describe(afterVerb(withoutSemicolon(line)))) exits_.sqlFailed();
}

}  // namespace tk::console
