// The scripts of tests/fixtures/oracle_scripts, written as a company's DBA writes Oracle
// scripts, run through `amasset sql` one after the other: each must run without an error
// line, and the tables must then hold what Oracle would have left in them.
#include <gtest/gtest.h>

#include <filesystem>

#include "AmassetCli.hpp"

namespace tk::test {
namespace {

std::string Script(const std::string& name) {
    return (std::filesystem::path(TKAM_DB_DIR) / ".." / "tests" / "fixtures" / "oracle_scripts" /
            name)
        .string();
}

TEST(OracleScriptCorpus, TheHrScriptsRunCleanAndLeaveWhatOracleWould) {
    const AmassetCli cli{"corpus"};
    std::string outputs;
    for (const char* script : {"01_schema.sql", "02_code.sql", "03_populate.sql"}) {
        const Outcome run = cli.run(std::string("sql -f ") + Script(script));
        EXPECT_EQ(run.status, 0) << script << "\n" << run.out;
        EXPECT_EQ(run.out.find("ERROR"), std::string::npos) << script << "\n" << run.out;
        outputs += run.out;
    }
    // the one refusal is the script's own, caught and printed through DBMS_OUTPUT
    EXPECT_NE(outputs.find("Refused: ORA-20102: E-mail PFAY is taken"), std::string::npos)
        << outputs;
    EXPECT_NE(outputs.find("Raised 2 salaries"), std::string::npos) << outputs;
    // the trigger numbered, upper-cased and stamped every hire; the refused
    // duplicate e-mail left nothing behind
    EXPECT_EQ(cli.text("Select Listagg_Free From (Select Min(Employee_Id) || '-' ||"
                       " Max(Employee_Id) || ':' || Count(*) As Listagg_Free From Employees)"),
              "100-102:3");
    EXPECT_EQ(cli.scalar("Select Count(*) From Employees Where Email = Upper(Email)"
                         " And Created_By = 'HR'"),
              3);
    // 10% more for department 10, to the cent; its budget took 100 per raise
    EXPECT_EQ(cli.scalar("Select Sum(Salary) From Employees Where Department_Id = 10"), 31240);
    EXPECT_EQ(cli.scalar("Select Budget From Departments Where Department_Id = 10"), 200);
    // three hires and two raises audited; a changed first name is no salary change
    EXPECT_EQ(cli.text("Select Listagg_Free From (Select Sum(Decode(Action, 'HIRE', 1, 0)) || '/'"
                       " || Sum(Decode(Action, 'RAISE', 1, 0)) As Listagg_Free From Salary_Audit)"),
              "3/2");
    EXPECT_EQ(cli.scalar("Select Get_Annual_Pay(Employee_Id) From Employees Where Email = 'PFAY'"),
              86400);
    EXPECT_EQ(cli.text("Select Get_Annual_Pay(999) From Dual"), "");
    EXPECT_EQ(cli.text("Select Region_Name From Emp_Details_View Where Full_Name = 'Steve King'"),
              "Americas");
    EXPECT_EQ(cli.text("Select To_Char(Start_Date, 'YYYY-MM-DD') From Job_History"), "2004-02-17");
    // the key switched off for the load is on again
    const Outcome orphan = cli.run("sql -f " + Script("04_orphan.sql"));
    EXPECT_EQ(orphan.status, 2291 % 256) << "WHENEVER SQLERROR EXIT SQL.SQLCODE\n" << orphan.out;
    EXPECT_EQ(orphan.out.find("NOT REACHED"), std::string::npos) << orphan.out;
    EXPECT_EQ(cli.scalar("Select Count(*) From Departments"), 2);
}

}  // namespace
}  // namespace tk::test
