/* Links the component directly (no dlopen) and opens a connection to an
 * account set through it.
 *
 *   consumer <server> <account set>
 */
#include <stdio.h>

#include "tkam/tkam.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: consumer <server> <account set>\n");
        return 2;
    }
    tkam_object* conn = tkam_create("TkConnectBase.Connection");
    tkam_value server = {TKAM_TEXT, 0, 0, argv[1], NULL, 0};
    tkam_value user = {TKAM_TEXT, 0, 0, argv[2], NULL, 0};
    const char* description = "";
    if (!conn || tkam_put(conn, "ServerName", &server) || tkam_put(conn, "UserName", &user) ||
        tkam_call(conn, "Open", NULL, 0, NULL)) {
        tkam_last_error(&description);
        fprintf(stderr, "connection failed: %s\n", description);
        return 1;
    }
    printf("已连接账套 %s\n", argv[2]);
    tkam_release(conn);
    return 0;
}
