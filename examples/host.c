/* A minimal host: loads the component, logs a connection in, hands the
 * account set and the connection to the thread through Interface, then reads
 * the module settings of an organisation with their display texts.
 *
 *   host <path to TkAMAssetInt.so> <server> <account set> <organisation id>
 */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

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

int main(int argc, char** argv) {
    if (argc != 5) {
        fprintf(stderr, "usage: host <library> <server> <account set> <organisation>\n");
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
    a.release(context);
    a.release(conn);
    return 0;
}
