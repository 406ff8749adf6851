// The stored-routine call object (TkConnectBase.Command): ODBC call escapes, ADO-typed parameters.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "host/Dispatchable.hpp"

namespace tk::connect {

class Connection;

// A stored-routine call in ODBC escape form, "{?=Call schema.F(?,...)}" for a
// function with its return value as parameter 0, "{Call schema.P(?,...)}" for
// a procedure, with parameters declared by index in the ADO codes.
class Command : public DispatchableBase<Command> {
  public:
    // ADO data types and directions used by the component.
    enum DataType {
        adSmallInt = 2,
        adInteger = 3,
        adDouble = 5,
        adBoolean = 11,
        adNumeric = 131,
        adVarChar = 200
    };
    enum Direction {
        adParamInput = 1,
        adParamOutput = 2,
        adParamInputOutput = 3,
        adParamReturnValue = 4
    };

    struct Parameter {
        int type = adVarChar;
        int direction = adParamInput;
        int size = 0;
        Variant value;
    };

    std::string_view className() const override { return "TkConnectBase.Command"; }
    static void describe(DispatchTable<Command>& t);

    std::shared_ptr<Connection> ActiveConnection;
    std::string CommandText;
    int CommandTimeout = 30;  // seconds; 0 = no limit

    Parameter& parameter(int index);
    // Runs the call; returns no rows. Return and output values land in the parameters.
    void Execute();

  private:
    struct Call;
    Call parse() const;
    std::string statementFor(const Call& call) const;
    std::vector<Parameter> parameters_;
};

}  // namespace tk::connect
