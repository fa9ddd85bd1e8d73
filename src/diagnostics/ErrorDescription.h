#pragma once

#include "velaecr_export.h"

#include <string>
#include <vector>

// Fixed descriptions of connection failures, UTF-8, zero-padded: entries 0..3
// for a serial connection, 4..7 for TCP; within a group, description number
// minus 1.
extern "C" {
VELA_EXPORT extern const char arrErrEN[8][128];
VELA_EXPORT extern const char arrErrRU[8][128];
VELA_EXPORT extern const char arrErrUA[8][128];
}

// The four connection-failure texts of one language and connection type.
// English texts are kept as stored, Ukrainian and Russian ones in CP1251 (the
// code page of the terminal's own texts). One shared instance per process.
class ErrorDescription {
public:
    enum { kEnglish = 0, kUkrainian = 1, kRussian = 2 };
    enum { kSerial = 0, kTcp = 1 };

    ErrorDescription();
    ~ErrorDescription();

    // 1 for a language above 2 or a type above 1 (nothing changes); 0
    // otherwise, reloading the list only when the pair differs from the
    // loaded one.
    int SetErrorLanguage(unsigned char language, unsigned char type);
    void SetErrorCommTypeENG(unsigned char type);
    void SetErrorCommTypeUKR(unsigned char type);
    void SetErrorCommTypeRUS(unsigned char type);
    // Text of description number (1..4) of the loaded list, or
    // "not correct error number".
    std::string GetErrorDescription(unsigned char number) const;

    // Chooses the language and type and copies the text of number into a
    // string, serialised across threads: the shared instance is created once
    // and its list reloaded under a lock.
    static std::string Describe(unsigned char language, unsigned char type, unsigned char number);
    // How many times a list was loaded (for tests of the reload rule).
    unsigned loadCount() const { return m_loadCount; }

    static ErrorDescription* m_pErrorDecrInstance;

private:
    void loadConverted(const char (*table)[128], unsigned char type);

    std::vector<std::string> m_descriptions;
    unsigned char m_language = 3;
    unsigned char m_commType = 2;
    unsigned m_loadCount = 0;
};

// Converts the NUL-terminated UTF-8 source into CP1251 with converter (an
// iconv_t), offering 2 x strlen(source) bytes of room in target. Returns the
// result of iconv.
std::size_t Convert(char* source, char* target, void* converter);
