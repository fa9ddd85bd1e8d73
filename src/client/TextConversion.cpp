#include "client/TextConversion.h"

#include "velaecr.h"

#include <cstring>
#include <iconv.h>

bool cp1251ToUtf8(const char* source, std::size_t length, char* target, std::size_t room) {
    iconv_t converter = iconv_open("UTF-8", "CP1251");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    char* in = const_cast<char*>(source);
    char* out = target;
    // A byte without a mapping, or a full target, stops the conversion: what
    // was converted up to there stays.
    iconv(converter, &in, &length, &out, &room);
    iconv_close(converter);
    return true;
}

extern "C" void Utf8ToCp1251(char* source, char* target) {
    if (source == nullptr || target == nullptr)
        return;
    std::size_t length = std::strlen(source);
    cp1251ToUtf8(source, length, target, 2 * length);
}
