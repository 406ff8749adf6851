// The SET options that change what the console prints.
#pragma once

namespace tk::console {

struct OutputSettings {
    bool heading = true;
    int feedback = 6;           // "n rows selected." from this many rows; 0 for never
    bool serverOutput = false;  // SET SERVEROUTPUT: print DBMS_OUTPUT lines
};

}  // namespace tk::console
