#include "diagnostics/ErrorDescription.h"

#include <cstring>
#include <iconv.h>
#include <mutex>

extern "C" {
const char arrErrEN[8][128] = {
    "Com port error",
    "Com port was not opened",
    "Terminal connection error",
    "error opening COM - port",
    "connection not established",
    "connection to host is required",
    "Terminal connection error",
    "error opening TCP - port",
};

const char arrErrRU[8][128] = {
    "Ошибка COM-порта",          "COM-порт не открыт",        "Ошибка соединения",
    "Ошибка открытия COM-порта", "Соединение не установлено", "Необходимо подключиться к терминалу",
    "Ошибка соединения",         "Ошибка открытия TCP-порта",
};

const char arrErrUA[8][128] = {
    "Помилка COM-порту",       "COM-порт не відкритий",
    "Помилка з'єднання",       "Помилка відкриття COM-порту",
    "З'єднання не встановлно", "Необхідно встановити з'єднання з терміналом",
    "Помилка з'єднання",       "Ошибка открытия TCP-порта",
};
}

namespace {
const unsigned kGroupSize = 4;
const char kBadNumber[] = "not correct error number";
std::mutex gInstanceMutex;
} // namespace

ErrorDescription* ErrorDescription::m_pErrorDecrInstance = nullptr;

std::size_t Convert(char* source, char* target, void* converter) {
    std::size_t inLeft = std::strlen(source);
    std::size_t outLeft = 2 * inLeft;
    char* in = source;
    char* out = target;
    return iconv(static_cast<iconv_t>(converter), &in, &inLeft, &out, &outLeft);
}

ErrorDescription::ErrorDescription() {}

ErrorDescription::~ErrorDescription() {}

int ErrorDescription::SetErrorLanguage(unsigned char language, unsigned char type) {
    if (language > kRussian || type > kTcp)
        return 1;
    if (language == m_language && type == m_commType)
        return 0;
    m_language = language;
    m_commType = type;
    if (language == kUkrainian)
        SetErrorCommTypeUKR(type);
    else if (language == kRussian)
        SetErrorCommTypeRUS(type);
    else
        SetErrorCommTypeENG(type);
    ++m_loadCount;
    return 0;
}

void ErrorDescription::SetErrorCommTypeENG(unsigned char type) {
    m_descriptions.clear();
    if (type > kTcp)
        return;
    for (unsigned i = 0; i < kGroupSize; ++i)
        m_descriptions.push_back(arrErrEN[type * kGroupSize + i]);
}

void ErrorDescription::SetErrorCommTypeUKR(unsigned char type) {
    loadConverted(arrErrUA, type);
}

void ErrorDescription::SetErrorCommTypeRUS(unsigned char type) {
    loadConverted(arrErrRU, type);
}

void ErrorDescription::loadConverted(const char (*table)[128], unsigned char type) {
    m_descriptions.clear();
    if (type > kTcp)
        return;
    iconv_t converter = iconv_open("CP1251", "UTF-8");
    for (unsigned i = 0; i < kGroupSize; ++i) {
        char source[128];
        char target[2 * sizeof source] = {};
        std::memcpy(source, table[type * kGroupSize + i], sizeof source);
        source[sizeof source - 1] = '\0';
        // A missing converter or a failed conversion leaves the entry empty
        // or cut where the conversion stopped.
        if (converter != reinterpret_cast<iconv_t>(-1))
            Convert(source, target, converter);
        m_descriptions.push_back(target);
    }
    if (converter != reinterpret_cast<iconv_t>(-1))
        iconv_close(converter);
}

std::string ErrorDescription::GetErrorDescription(unsigned char number) const {
    unsigned index = static_cast<unsigned char>(number - 1);
    return index < m_descriptions.size() ? m_descriptions[index] : kBadNumber;
}

std::string ErrorDescription::Describe(unsigned char language, unsigned char type,
                                       unsigned char number) {
    std::lock_guard<std::mutex> lock(gInstanceMutex);
    if (m_pErrorDecrInstance == nullptr)
        m_pErrorDecrInstance = new ErrorDescription();
    m_pErrorDecrInstance->SetErrorLanguage(language, type);
    return m_pErrorDecrInstance->GetErrorDescription(number);
}
