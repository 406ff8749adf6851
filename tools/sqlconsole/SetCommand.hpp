// SET: the options that change the console's output and its substitution of variables.
#pragma once
#include <string>
#include <vector>

#include "OutputSettings.hpp"
#include "SubstitutionVariables.hpp"

namespace tk::console {

// SET with one or more options, as "SET PAGES 0 FEEDBACK OFF VERIFY OFF".
// Those that change what this console does: HEA[DING], FEED[BACK],
// SERVEROUT[PUT] {ON|OFF} [SIZE n] [FOR[MAT] f], DEF[INE] {ON|OFF|c}, SCAN,
// VER[IFY], CON[CAT]; the others are accepted and have no effect here.
class SetCommand {
  public:
    SetCommand(OutputSettings& output, SubstitutionVariables& variables)
        : output_(output), variables_(variables) {}
    // The words after SET.
    void apply(const std::vector<std::string>& words);

  private:
    // Applies the option at words[i] and returns the index past its values.
    size_t option(const std::vector<std::string>& words, size_t i);
    size_t serverOutput(const std::vector<std::string>& words, size_t i);
    void define(const std::string& value);

    OutputSettings& output_;
    SubstitutionVariables& variables_;
};

}  // namespace tk::console
