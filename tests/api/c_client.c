/* A C program against the public header: proves the header is valid C and
 * that the library links, loads and runs its life cycle. Exits non-zero on
 * the first unexpected code. */
#include "velaecr.h"

#include <stdio.h>
#include <string.h>

static int failures = 0;

static void expect(const char* what, int got, int wanted) {
    if (got != wanted) {
        fprintf(stderr, "%s: got %d, wanted %d\n", what, got, wanted);
        ++failures;
    }
}

int main(void) {
    char version[257];

    expect("Ping before initialisation", VELALib_Ping(), -1);
    expect("InitializeVELA", VELALib_InitializeVELA(), 0);
    expect("Ping without a connection", VELALib_Ping(), -5);
    expect("LastResult", VELALib_LastResult(), 1);
    expect("LastErrorCode", VELALib_LastErrorCode(), 2);
    expect("SetControlMode", VELALib_SetControlMode(true), -5);
    memset(version, 'x', sizeof version);
    expect("LibraryVersion", VELALib_LibraryVersion(version), 0);
    expect("version text", strcmp(version, "1.5.20"), 0);
    expect("CommClose", VELALib_CommClose(), 0);
    expect("UninitializeVELA", VELALib_UninitializeVELA(), 0);
    expect("glVELALib after uninitialisation", glVELALib == NULL, 1);
    return failures == 0 ? 0 : 1;
}
