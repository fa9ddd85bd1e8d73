/* Loads libvelaecr.so at run time, prints the library version and the
 * result codes of one life cycle without a terminal:
 *
 *   lifecycle_example path/to/libvelaecr.so
 *
 * Every call returns 0 on success or minus a result code (see velaecr.h). */
#include "velaecr.h"

#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

typedef int (*Call)(void);
typedef int (*TextCall)(char*);
typedef int (*OpenTcpCall)(const char*, const char*);

static void* library;

static void* find(const char* name) {
    void* symbol = dlsym(library, name);
    if (symbol == NULL)
        fprintf(stderr, "missing symbol %s\n", name);
    return symbol;
}

static int show(const char* what, int code) {
    printf("%-44s %d\n", what, code);
    return code;
}

int main(int argc, char** argv) {
    char version[257];
    Call initialize, uninitialize, ping, lastResult, lastErrorCode, close;
    TextCall libraryVersion;
    OpenTcpCall openTcp;

    if (argc != 2) {
        fprintf(stderr, "usage: %s path/to/libvelaecr.so\n", argv[0]);
        return 2;
    }
    library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (library == NULL) {
        fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
        return 1;
    }
    /* dlsym returns object pointers; POSIX guarantees they convert to
     * function pointers. */
    *(void**)&initialize = find("VELALib_InitializeVELA");
    *(void**)&uninitialize = find("VELALib_UninitializeVELA");
    *(void**)&ping = find("VELALib_Ping");
    *(void**)&lastResult = find("VELALib_LastResult");
    *(void**)&lastErrorCode = find("VELALib_LastErrorCode");
    *(void**)&close = find("VELALib_CommClose");
    *(void**)&libraryVersion = find("VELALib_LibraryVersion");
    *(void**)&openTcp = find("VELALib_CommOpenTCP");
    if (!initialize || !uninitialize || !ping || !lastResult || !lastErrorCode || !close ||
        !libraryVersion || !openTcp)
        return 1;

    show("Ping before InitializeVELA", ping());
    if (show("InitializeVELA", initialize()) != 0)
        return 1;
    memset(version, 0, sizeof version);
    if (libraryVersion(version) == 0)
        printf("library version: %s\n", version);
    show("Ping without a connection", ping());
    show("  LastResult (1 = failed)", lastResult());
    show("  LastErrorCode (2 = not connected)", lastErrorCode());
    show("CommOpenTCP(\"127.0.0.1\", \"1\") (no terminal)", openTcp("127.0.0.1", "1"));
    show("  LastResult", lastResult());
    show("  LastErrorCode (1 = port not opened)", lastErrorCode());
    show("CommClose", close());
    show("UninitializeVELA", uninitialize());
    show("Ping after UninitializeVELA", ping());
    dlclose(library);
    return 0;
}
