// A system without the CP1251 converter, simulated by interposing iconv_open:
// the library's calls resolve to this definition first, which fails while
// gNoConverter is set and otherwise forwards to the C library.
#include "ScriptedClient.h"
#include "velaecr.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <iconv.h>

namespace {
bool gNoConverter = false;
}

extern "C" __attribute__((visibility("default"))) iconv_t iconv_open(const char* to,
                                                                     const char* from) {
    if (gNoConverter) {
        errno = EINVAL;
        return reinterpret_cast<iconv_t>(-1);
    }
    typedef iconv_t (*Open)(const char*, const char*);
    static Open real = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "iconv_open"));
    return real(to, from);
}

namespace {

TEST(NoConverter, TextResultIsTerminatedAndReportedAsFailure) {
    ScriptedClient client;
    client.value = "\xcf\xf0\xe8\xe2\xb3\xf2";
    glVELALib = &client;
    gNoConverter = true;
    char buffer[257];
    std::memset(buffer, 'x', sizeof buffer);
    int rc = VELALib_CardHolder(buffer);
    gNoConverter = false;
    glVELALib = nullptr;

    EXPECT_EQ(rc, -1);
    EXPECT_EQ(std::string(buffer, 13), std::string(13, '\0')); // 2 x 6 + 1 cleared
    EXPECT_EQ(buffer[13], 'x');
}

TEST(NoConverter, InterpositionForwardsWhenNotSimulating) {
    char source[] = "\xcf";
    char target[4] = {};
    Utf8ToCp1251(source, target);
    EXPECT_STREQ(target, "\xd0\x9f");
}

} // namespace
