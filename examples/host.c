/* A minimal host: loads the component, logs a connection in, hands the
 * account set and the connection to the thread through Interface, then reads
 * the module settings of an organisation with their display texts.
 *
 *   host <path to TkAMAssetInt.so> <server> <account set> <organisation id>
 *
 * Given the next year's account set too, it carries the organisation's
 * register into it, from Check to Execute, and prints the new set's totals:
 *
 *   host <library> <server> <account set> <organisation id>
 *        <next account set> <admin server> <first day> <start date>
 *
 * The run logs in as the next set; the old one is granted to it for the run
 * by the administrative login (clsAMAssetSetAccess), as amasset does.
 */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tkam/tkam.h"

typedef struct {
    tkam_object* (*create)(const char*);
    void (*release)(tkam_object*);
    int32_t (*put)(tkam_object*, const char*, const tkam_value*);
    int32_t (*get)(tkam_object*, const char*, tkam_value*);
    int32_t (*call)(tkam_object*, const char*, tkam_value*, int32_t, tkam_value*);
    void (*clear)(tkam_value*);
    int32_t (*last_error)(const char**);
} api;

static void* symbol(void* lib, const char* name) {
    void* fn = dlsym(lib, name);
    if (!fn) {
        fprintf(stderr, "missing %s\n", name);
        exit(1);
    }
    return fn;
}

static tkam_value text(const char* s) {
    tkam_value v = {TKAM_TEXT, 0, 0, s, NULL, 0};
    return v;
}
static tkam_value i4(int32_t i) {
    tkam_value v = {TKAM_I4, i, 0, NULL, NULL, 0};
    return v;
}

static void check(const api* a, int32_t rc, const char* what) {
    if (rc == 0) return;
    const char* description = "";
    a->last_error(&description);
    fprintf(stderr, "%s failed: %d %s\n", what, rc, description);
    exit(1);
}

static void put_text(const api* a, tkam_object* o, const char* name, const char* value) {
    tkam_value v = text(value);
    check(a, a->put(o, name, &v), name);
}

/* Check, then Execute, each answering with a Boolean and a message. */
static void turn_step(const api* a, tkam_object* turn, const char* step) {
    tkam_value message = text(""), result;
    check(a, a->call(turn, step, &message, 1, &result), step);
    if (!result.i) {
        /* an error the step trapped leaves the message empty: the last error says it */
        const char* reason = message.text && *message.text ? message.text : "";
        if (!*reason) a->last_error(&reason);
        fprintf(stderr, "%s: %s\n", step, reason);
        exit(1);
    }
    a->clear(&message);
}

/* The register's rows ("\t" between cells, a title line first): how many, and
 * the sums of cost and net value. */
static void print_totals(const char* rows) {
    int assets = -1;
    double cost = 0, net = 0;
    for (const char* line = rows; line && *line; ++assets) {
        const char* cell = line;
        for (int column = 0; column < 8 && cell; ++column) {
            if (assets >= 0 && column == 4) cost += strtod(cell, NULL);
            if (assets >= 0 && column == 7) net += strtod(cell, NULL);
            cell = strchr(cell, '\t');
            if (cell) ++cell;
        }
        line = strchr(line, '\n');
        if (line) ++line;
    }
    printf("结转后: %d 项资产, 原值 %.2f, 净值 %.2f\n", assets, cost, net);
}

static void carry_forward(const api* a, char** argv, tkam_object* context) {
    tkam_object* conn = a->create("TkConnectBase.Connection");
    put_text(a, conn, "ServerName", argv[2]);
    put_text(a, conn, "UserName", argv[5]);
    check(a, a->call(conn, "Open", NULL, 0, NULL), "Open");
    tkam_value connValue = {TKAM_OBJECT, 0, 0, NULL, conn, 0};
    put_text(a, context, "User", argv[5]);
    check(a, a->put(context, "ConnBase", &connValue), "ConnBase");

    tkam_object* access = a->create("TkAMAssetInt.clsAMAssetSetAccess");
    put_text(a, access, "AdminServer", argv[6]);
    put_text(a, access, "FromSet", argv[3]);
    put_text(a, access, "ToSet", argv[5]);
    check(a, a->call(access, "Grant", NULL, 0, NULL), "Grant");

    tkam_object* turn = a->create("TkAMAssetInt.clsAMAssetTurn");
    put_text(a, turn, "OldUser", argv[3]);
    put_text(a, turn, "NewUser", argv[5]);
    check(a, a->put(turn, "ConnBase", &connValue), "ConnBase");
    tkam_value org = i4(atoi(argv[4]));
    check(a, a->put(turn, "TurnOrganizationID", &org), "TurnOrganizationID");
    put_text(a, turn, "TurnDate", argv[7]);
    put_text(a, turn, "StartDate", argv[8]);
    turn_step(a, turn, "Check");
    turn_step(a, turn, "Execute");
    a->release(access); /* the grant ends with the run */

    tkam_object* ledger = a->create("TkAMAssetInt.clsAMLedger");
    check(a, a->put(ledger, "Organization", &org), "Organization");
    char period[8];
    snprintf(period, sizeof period, "%.7s", argv[7]);
    tkam_value first = text(period), rows;
    check(a, a->call(ledger, "Register", &first, 1, &rows), "Register");
    print_totals(rows.text);
    a->clear(&rows);
    a->release(ledger);
    a->release(turn);
    a->release(conn);
}

int main(int argc, char** argv) {
    if (argc != 5 && argc != 9) {
        fprintf(stderr,
                "usage: host <library> <server> <account set> <organisation>"
                " [<next account set> <admin server> <first day> <start date>]\n");
        return 2;
    }
    void* lib = dlopen(argv[1], RTLD_NOW);
    if (!lib) {
        fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    api a = {symbol(lib, "tkam_create"),    symbol(lib, "tkam_release"),
             symbol(lib, "tkam_put"),       symbol(lib, "tkam_get"),
             symbol(lib, "tkam_call"),      symbol(lib, "tkam_value_clear"),
             symbol(lib, "tkam_last_error")};

    tkam_object* conn = a.create("TkConnectBase.Connection");
    tkam_value server = text(argv[2]), user = text(argv[3]);
    check(&a, a.put(conn, "ServerName", &server), "ServerName");
    check(&a, a.put(conn, "UserName", &user), "UserName");
    check(&a, a.call(conn, "Open", NULL, 0, NULL), "Open");

    tkam_object* context = a.create("TkAMAssetInt.Interface");
    tkam_value connValue = {TKAM_OBJECT, 0, 0, NULL, conn, 0};
    check(&a, a.put(context, "User", &user), "User");
    check(&a, a.put(context, "ConnBase", &connValue), "ConnBase");

    tkam_object* setting = a.create("TkAMAssetInt.clsAMAssetSetting");
    tkam_value org = i4(atoi(argv[4]));
    check(&a, a.call(setting, "LoadID", &org, 1, NULL), "LoadID");
    tkam_value method, account, accountText;
    check(&a, a.get(setting, "bytDepreciationMethod", &method), "bytDepreciationMethod");
    check(&a, a.get(setting, "lngDepreciationAccountID", &account), "lngDepreciationAccountID");
    check(&a, a.get(setting, "strDepreciationAccount", &accountText), "strDepreciationAccount");
    printf("常用折旧方法: %d\n累计折旧科目: %d %s\n", method.i, account.i,
           accountText.text ? accountText.text : "");
    a.clear(&accountText);

    a.release(setting);
    if (argc == 9) carry_forward(&a, argv, context);
    a.release(context);
    a.release(conn);
    return 0;
}
