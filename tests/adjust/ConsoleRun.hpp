// The console tests' fixture: runs the console tool on a script as the adjustment runner does.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "TestDatabase.hpp"
#include "adjust/ConsoleScript.hpp"
#include "adjust/DOSOutputs.hpp"
#include "adjust/ScriptFolder.hpp"

namespace tk::am {

class Console : public ::testing::Test {
  protected:
    // The tool's output for main.sql; `status` is then its exit status.
    std::string run(const std::string& script, const std::string& nested = "") {
        std::ofstream(folder.path() / "main.sql") << script;
        std::ofstream(folder.path() / "nested.sql") << nested;
        connect::Connection login;
        login.UserName = schema.name();
        login.ServerName = test::testServer();
        DOSOutputs dos;
        dos.StandardInput = "unused\n";
        std::string out =
            dos.ExecuteCommand(ConsoleScript::commandLine(login, folder.path() / "main.sql"));
        status = dos.ExitStatus;
        return out;
    }
    // A query's rows as a later session sees them, without headings.
    std::string rows(const std::string& query) { return run("set heading off\n" + query + "\n"); }

    test::TestSchema schema{"console"};
    ScriptFolder folder;
    int status = -1;
};

}  // namespace tk::am
