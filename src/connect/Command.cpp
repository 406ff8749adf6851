// Stored-routine calls: the "{?=Call f(?,...)}" text run as SELECT f(...) or CALL p(...) with
// typed parameters under the command's time-out; a function's result lands in parameter 0.
#include "connect/Command.hpp"

#include <charconv>
#include <cstdlib>

#include "connect/Connection.hpp"
#include "connect/DatabaseError.hpp"
#include "connect/Session.hpp"

namespace tk::connect {
namespace {

constexpr int32_t kBadCall = -2147217900;

std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && lowerAscii(text.substr(0, prefix.size())) == prefix;
}

size_t utf8Length(const std::string& text) {
    size_t n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}

const char* pgTypeName(int adoType) {
    switch (adoType) {
        case Command::adSmallInt:
            return "int2";
        case Command::adInteger:
            return "int4";
        case Command::adDouble:
            return "float8";
        case Command::adNumeric:
            return "numeric";
        case Command::adBoolean:
            return "bool";
        default:
            return "varchar";
    }
}

std::optional<std::string> parameterText(const Command::Parameter& p, size_t index) {
    if (p.value.isNull() || p.value.isEmpty()) return std::nullopt;
    switch (p.type) {
        case Command::adSmallInt:
            return std::to_string(p.value.toInt16());
        case Command::adInteger:
            return std::to_string(p.value.toInt32());
        case Command::adBoolean:
            return std::string(p.value.toBool() ? "t" : "f");
        case Command::adDouble:
        case Command::adNumeric: {
            char buffer[32];
            auto end = std::to_chars(buffer, buffer + sizeof buffer, p.value.toDouble()).ptr;
            return std::string(buffer, end);
        }
        default: {
            std::string text = p.value.toText();
            if (p.size > 0 && utf8Length(text) > static_cast<size_t>(p.size))
                throw databaseError("ORA-06502", "参数 " + std::to_string(index) +
                                                     " 的值超过声明的长度 " +
                                                     std::to_string(p.size));
            if (text.empty()) return std::nullopt;
            return text;
        }
    }
}

Variant valueOf(const PGresult* r, int column, int adoType) {
    if (PQgetisnull(r, 0, column)) return Variant::null();
    const char* text = PQgetvalue(r, 0, column);
    switch (adoType) {
        case Command::adSmallInt:
            return Variant(static_cast<int16_t>(std::atoi(text)));
        case Command::adInteger:
            return Variant(static_cast<int32_t>(std::atol(text)));
        case Command::adDouble:
        case Command::adNumeric:
            return Variant(std::strtod(text, nullptr));
        case Command::adBoolean:
            return Variant(text[0] == 't');
        default:
            return Variant(std::string(text));
    }
}

}  // namespace

struct Command::Call {
    bool hasReturn = false;
    std::string routine;
    size_t markers = 0;
};

void Command::describe(DispatchTable<Command>& t) {
    t.field("CommandText", &Command::CommandText)
        .field("CommandTimeout", &Command::CommandTimeout)
        .method("ActiveConnection",
                [](Command& c, Args&) {
                    return Variant(std::static_pointer_cast<Dispatchable>(c.ActiveConnection));
                })
        .setter("ActiveConnection",
                [](Command& c, Args&, const Variant& v) {
                    c.ActiveConnection = std::dynamic_pointer_cast<Connection>(v.toObject());
                })
        .method("SetParameter",
                [](Command& c, Args& a) {
                    Parameter& p = c.parameter(requiredArg(a, 0).toInt32());
                    p.type = argOr(a, 1, p.type).toInt32();
                    p.direction = argOr(a, 2, p.direction).toInt32();
                    p.size = argOr(a, 3, p.size).toInt32();
                    if (a.size() > 4) p.value = a[4];
                    return Variant();
                })
        .method("SetParameterValue",
                [](Command& c, Args& a) {
                    c.parameter(requiredArg(a, 0).toInt32()).value = requiredArg(a, 1);
                    return Variant();
                })
        .method("ParameterValue",
                [](Command& c, Args& a) { return c.parameter(requiredArg(a, 0).toInt32()).value; })
        .method("Execute", [](Command& c, Args&) {
            c.Execute();
            return Variant();
        });
}

Command::Parameter& Command::parameter(int index) {
    if (index < 0 || index > 1000)
        throw RunTimeError(3265,
                           "Item cannot be found in the collection corresponding to the requested "
                           "name or ordinal.");
    if (static_cast<size_t>(index) >= parameters_.size())
        parameters_.resize(static_cast<size_t>(index) + 1);
    return parameters_[static_cast<size_t>(index)];
}

Command::Call Command::parse() const {
    std::string_view text = trim(CommandText);
    auto bad = [&] { return RunTimeError(kBadCall, "无法识别的调用文本: " + CommandText); };
    if (text.size() < 2 || text.front() != '{' || text.back() != '}') throw bad();
    text = trim(text.substr(1, text.size() - 2));
    Call call;
    if (text.starts_with("?=")) {
        call.hasReturn = true;
        text = trim(text.substr(2));
    }
    if (!startsWithIgnoreCase(text, "call ")) throw bad();
    text = trim(text.substr(5));
    size_t open = text.find('(');
    call.routine = std::string(trim(text.substr(0, open)));
    if (call.routine.empty()) throw bad();
    if (open != std::string_view::npos) {
        if (text.back() != ')') throw bad();
        for (char c : text.substr(open + 1, text.size() - open - 2)) {
            if (c == '?')
                ++call.markers;
            else if (c != ',' && !std::isspace(static_cast<unsigned char>(c)))
                throw bad();
        }
    }
    return call;
}

std::string Command::statementFor(const Call& call) const {
    std::string args;
    size_t first = call.hasReturn ? 1 : 0;
    for (size_t i = 0; i < call.markers; ++i) {
        size_t index = first + i;
        int type = index < parameters_.size() ? parameters_[index].type : adVarChar;
        args += (i ? ", $" : "$") + std::to_string(i + 1) + "::" + pgTypeName(type);
    }
    return (call.hasReturn ? "SELECT " : "CALL ") + call.routine + "(" + args + ")";
}

void Command::Execute() {
    if (!ActiveConnection)
        throw RunTimeError(3709,
                           "The connection cannot be used to perform this operation. It is either "
                           "closed or invalid in this context.");
    Call call = parse();
    size_t first = call.hasReturn ? 1 : 0;
    if (parameters_.size() < first + call.markers) parameters_.resize(first + call.markers);
    NativeParams params;
    for (size_t i = 0; i < call.markers; ++i)
        params.values.push_back(parameterText(parameters_[first + i], first + i));
    Session& session = ActiveConnection->session();
    // The time-out holds for this call only.
    struct TimeoutGuard {
        Session& session;
        bool set;
        ~TimeoutGuard() {
            try {
                if (set) session.runNative("SET statement_timeout = 0");
            } catch (...) {
                // A lost connection reports itself on the next call.
            }
        }
    } guard{session, CommandTimeout > 0};
    if (guard.set)
        session.runNative("SET statement_timeout = " + std::to_string(CommandTimeout * 1000));
    PgResult result = session.runNative(statementFor(call), params);
    if (call.hasReturn && PQntuples(result.get()) == 1)
        parameters_[0].value = valueOf(result.get(), 0, parameters_[0].type);
}

}  // namespace tk::connect
