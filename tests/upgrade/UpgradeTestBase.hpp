// The upgrade tests' base: an old account set made the upgrade's source by a
// fixture script, a new one, and the run's progress and warnings recorded.
#pragma once
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "AmassetCli.hpp"
#include "TestDatabase.hpp"
#include "connect/Session.hpp"
#include "frame/ComponentFolder.hpp"
#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "provision/CrossSetAccess.hpp"
#include "upgrade/clsAMAssetUpdate.hpp"

namespace tk::am {

using test::ReadFile;

struct UpgradeEvent {
    int32_t progress, total;
    std::string message;
    bool cancel;
};

// An old account set turned into the source of an upgrade by a fixture
// script, a new one, both with the demo reference data, and a component
// folder of the test's own for the logs.
class UpgradeTestBase : public ::testing::Test {
  protected:
    UpgradeTestBase(const std::string& fixture, const std::string& oldVer) {
        SetComponentFolder(component);
        auto setup = oldSet.connect();
        setup->session().runScript(
            "SET search_path TO " + oldSet.name() + ", oracompat, public;" +
            ReadFile(std::filesystem::path(TKAM_DB_DIR) / ".." / "tests" / "fixtures" / fixture));
        readOld.emplace(test::adminServer(), oldSet.name(), newSet.name(),
                        CrossSetAccess::Purpose::Upgrade);
        context().ConnBase = conn;
        setVersions(oldVer, "a.83.20130430");
        update.advise([this](std::string_view event, Dispatchable::Args& args) {
            if (event == "MessageBox")
                warnings.push_back(args[0].toText() + "|" + args[2].toText());
            if (event != "UpdateProgress") return;
            events.push_back(
                {args[0].toInt32(), args[1].toInt32(), args[2].toText(), args[3].toBool()});
            args[3] = Variant(true);  // a host asking to stop: the run goes on
        });
    }
    ~UpgradeTestBase() override {
        SetComponentFolder({});
        std::filesystem::remove_all(component);
    }

    void setVersions(const std::string& oldVer, const std::string& newVer) {
        Context& c = context();
        c.OldUser = oldSet.name();
        c.User = c.NewUser = newSet.name();
        c.OldVer = oldVer;
        c.NewVer = newVer;
    }
    // A statement on either schema, named through the placeholders; run by
    // the administrator, since the new set's login may only read the old one.
    void old(const std::string& sql) { test::ExecuteOk(*admin, ReplaceSchema(sql)); }
    // The first column of every row, joined by ",".
    std::string value(const std::string& sql) {
        auto rs = conn->GetRecordset(ReplaceSchema(sql), 3, 1);
        if (rs->eof()) return "<none>";
        std::string text = rs->field(0).toText();
        for (rs->moveNext(); !rs->eof(); rs->moveNext()) text += "," + rs->field(0).toText();
        return text;
    }
    std::string count(const std::string& table) { return value("Select Count(*) From " + table); }
    // A PostgreSQL statement as it is, the schemas named by "O." and "N.":
    // the first column of its first row.
    std::string native(std::string sql) {
        sql = ReplaceAll(ReplaceAll(sql, "O.", oldSet.name() + "."), "N.", newSet.name() + ".");
        PGresult* r = PQexec(conn->session().raw(), sql.c_str());
        std::string first = PQntuples(r) > 0 ? PQgetvalue(r, 0, 0) : "";
        bool ok = PQresultStatus(r) == PGRES_TUPLES_OK || PQresultStatus(r) == PGRES_COMMAND_OK;
        std::string error = PQresultErrorMessage(r);
        PQclear(r);
        EXPECT_TRUE(ok) << error << sql;
        return first;
    }
    // The tables an upgrade fills whose sequence would hand out an id one of
    // their rows holds, by name ("" when none): a new record after the
    // upgrade would collide.
    std::string tablesWhoseNextIdIsTaken() {
        return native(
            "select coalesce(string_agg(t, ','), '') from (values ('AMAsset', 'lngAMAssetID'),"
            " ('AMAssetAlter', 'lngAMAssetAlterID'), ('AMAssetFundAlter', 'lngAMAssetFundAlterID'),"
            " ('AMAssetFundCostAlter', 'lngAMAssetFundCostAlterID'), ('AMAssetFundAccAlter',"
            " 'lngAMAssetFundAccAlterID'), ('AMAssetOtherAlter', 'lngAMAssetOtherAlterID'),"
            " ('AMAssetLabel', 'lngAMAssetLabelID'), ('AMAssetLabelAlter',"
            " 'lngAMAssetLabelAlterID'), ('AMAssetAux', 'lngAMAssetAuxID'), ('AMAssetImage',"
            " 'lngAMAssetImageID'), ('AMAssetDocument', 'lngAMAssetDocumentID'),"
            " ('AMAssetFundBalanceAmortise', 'lngAMAssetFundBalanceAmortiseID'),"
            " ('AMAssetDepreciation', 'lngAMAssetDepreciationID')) v(t, k) where"
            " nextval(format('%s.%s_seq', '" +
            newSet.name() +
            "', t)) <= (xpath('/row/m/text()', query_to_xml(format('select coalesce(max(%s), 0)"
            " as m from " +
            newSet.name() + ".%s', k, t), false, true, '')))[1]::text::bigint");
    }
    bool execute() {
        events.clear();
        errors.clear();
        return update.Execute(errors);
    }
    std::string log(const std::string& name) {
        return ReadFile(component / "log" / (name + ".log"));
    }

    std::filesystem::path component =
        std::filesystem::temp_directory_path() / ("update-test-" + std::to_string(getpid()));
    test::TestAccountSet oldSet{"updold", true}, newSet{"updnew", true};
    std::shared_ptr<connect::Connection> conn = newSet.connect();
    std::shared_ptr<connect::Connection> admin = [] {
        auto login = std::make_shared<connect::Connection>();
        login->ServerName = test::adminServer();
        login->Open();
        return login;
    }();
    // What the upgrade run reaches in the old set, granted as the tool grants it.
    std::optional<CrossSetAccess> readOld;
    clsAMAssetUpdate update;
    std::vector<UpgradeEvent> events;
    std::vector<std::string> warnings;
    std::string errors;
};

}  // namespace tk::am
