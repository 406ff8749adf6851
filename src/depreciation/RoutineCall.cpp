// Builds the call text of a stored function or procedure in the user's schema and runs it,
// its parameters declared type first, then direction, size and value.
#include "depreciation/RoutineCall.hpp"

#include "frame/Context.hpp"
#include "frame/Conversion.hpp"

namespace tk::am {
namespace {

using connect::Command;

std::string Markers(size_t count) {
    std::string markers = "(";
    for (size_t i = 0; i < count; ++i) markers += i ? ",?" : "?";
    return markers + ")";
}

}  // namespace

RoutineCall::RoutineCall() : command_(std::make_shared<Command>()) {
    connection();  // raises when the host has handed in no connection
    command_->ActiveConnection = context().ConnBase;
}

std::string RoutineCall::schemaName() {
    const std::string& user = context().User;
    return Trim(user).empty() ? connection().UserName : user;
}

bool RoutineCall::function(const std::string& routine, const std::vector<RoutineInput>& inputs) {
    std::vector<Command::Parameter> parameters{
        {Command::adDouble, Command::adParamReturnValue, 0, {}}};
    for (const RoutineInput& input : inputs)
        parameters.push_back({input.type, Command::adParamInput, input.size, input.value});
    execute("{?=Call " + schemaName() + "." + routine + Markers(inputs.size()) + "}", parameters);
    const Variant& value = command_->parameter(0).value;
    return value.isNumeric() && value.toDouble() == 0;
}

void RoutineCall::procedure(const std::string& routine, const std::vector<RoutineInput>& inputs) {
    std::vector<Command::Parameter> parameters;
    for (const RoutineInput& input : inputs)
        parameters.push_back({input.type, Command::adParamInput, input.size, input.value});
    execute("{Call " + schemaName() + "." + routine + Markers(inputs.size()) + "}", parameters);
}

void RoutineCall::execute(const std::string& callText,
                          const std::vector<Command::Parameter>& parameters) {
    command_->CommandText = callText;
    auto each = [&](auto set) {
        for (size_t i = 0; i < parameters.size(); ++i)
            set(command_->parameter(static_cast<int>(i)), parameters[i]);
    };
    each([](Command::Parameter& p, const Command::Parameter& d) { p.type = d.type; });
    each([](Command::Parameter& p, const Command::Parameter& d) { p.direction = d.direction; });
    each([](Command::Parameter& p, const Command::Parameter& d) {
        if (d.type == Command::adVarChar) p.size = d.size;
    });
    each([](Command::Parameter& p, const Command::Parameter& d) {
        if (d.direction == Command::adParamInput) p.value = d.value;
    });
    command_->CommandTimeout = 0;
    command_->Execute();
}

}  // namespace tk::am
