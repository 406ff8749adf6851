// How the component calls the account set's stored routines: typed inputs and the call contract.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "connect/Command.hpp"
#include "host/Variant.hpp"

namespace tk::am {

// One input of a stored-routine call: ADO type, declared size and value, the
// value kept at the width the caller has it in.
struct RoutineInput {
    int32_t type;
    int32_t size;
    Variant value;

    static RoutineInput integer(Variant value) { return {connect::Command::adInteger, 0, value}; }
    static RoutineInput numeric(double value) { return {connect::Command::adNumeric, 0, value}; }
    static RoutineInput text(const std::string& value, int32_t size) {
        return {connect::Command::adVarChar, size, Variant(value)};
    }
};

// The calling contract of the account set's stored routines: a command of
// the connection component on ConnBase's connection, addressed to the schema
// in User (the login's when User is blank), parameters declared type first,
// then direction, size and value, run without a time-out.
class RoutineCall {
  public:
    RoutineCall();

    // "{?=Call <schema>.<routine>(?,..)}" with a double return value as
    // parameter 0; true exactly when it returns 0.
    bool function(const std::string& routine, const std::vector<RoutineInput>& inputs);
    // "{Call <schema>.<routine>(?,..)}", every parameter an input.
    void procedure(const std::string& routine, const std::vector<RoutineInput>& inputs);

    static std::string schemaName();

  private:
    void execute(const std::string& callText,
                 const std::vector<connect::Command::Parameter>& parameters);

    std::shared_ptr<connect::Command> command_;
};

}  // namespace tk::am
