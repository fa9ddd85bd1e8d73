#pragma once

#include <jni.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

// A JNI environment without a JVM, with just the calls the adapters make.
// Java strings are plain C strings (modified UTF-8); the characters handed
// out are heap copies, so a missing release shows as a leak and a use after
// release as a fault under AddressSanitizer, besides the counters.
class FakeJniEnv {
public:
    int acquired = 0;
    int released = 0;
    bool refuseStrings = false;            // GetStringUTFChars answers null (out of memory)
    bool refuseArrays = false;             // NewByteArray answers null
    std::deque<std::string> strings;       // made by NewStringUTF
    std::deque<std::vector<jbyte>> arrays; // made by NewByteArray

    FakeJniEnv() {
        m_table.GetStringUTFChars = &getStringUTFChars;
        m_table.ReleaseStringUTFChars = &releaseStringUTFChars;
        m_table.NewStringUTF = &newStringUTF;
        m_table.NewByteArray = &newByteArray;
        m_table.SetByteArrayRegion = &setByteArrayRegion;
        m_env.functions = &m_table;
        current() = this;
    }
    ~FakeJniEnv() { current() = nullptr; }
    FakeJniEnv(const FakeJniEnv&) = delete;
    FakeJniEnv& operator=(const FakeJniEnv&) = delete;

    JNIEnv* env() { return &m_env; }

    static jstring javaString(const char* utf8) {
        return reinterpret_cast<jstring>(const_cast<char*>(utf8));
    }
    static const std::string* text(jstring made) {
        return reinterpret_cast<const std::string*>(made);
    }
    static const std::vector<jbyte>* bytes(jbyteArray made) {
        return reinterpret_cast<const std::vector<jbyte>*>(made);
    }

private:
    static FakeJniEnv*& current() {
        static FakeJniEnv* instance = nullptr;
        return instance;
    }
    static const char* JNICALL getStringUTFChars(JNIEnv*, jstring s, jboolean* isCopy) {
        if (isCopy != nullptr)
            *isCopy = JNI_TRUE;
        if (current()->refuseStrings)
            return nullptr;
        ++current()->acquired;
        const char* source = reinterpret_cast<const char*>(s);
        char* copy = static_cast<char*>(std::malloc(std::strlen(source) + 1));
        std::strcpy(copy, source);
        return copy;
    }
    static void JNICALL releaseStringUTFChars(JNIEnv*, jstring, const char* chars) {
        ++current()->released;
        std::free(const_cast<char*>(chars));
    }
    static jstring JNICALL newStringUTF(JNIEnv*, const char* utf8) {
        current()->strings.emplace_back(utf8);
        return reinterpret_cast<jstring>(&current()->strings.back());
    }
    static jbyteArray JNICALL newByteArray(JNIEnv*, jsize length) {
        if (current()->refuseArrays)
            return nullptr;
        current()->arrays.emplace_back(length);
        return reinterpret_cast<jbyteArray>(&current()->arrays.back());
    }
    static void JNICALL setByteArrayRegion(JNIEnv*, jbyteArray array, jsize start, jsize length,
                                           const jbyte* source) {
        auto* target = reinterpret_cast<std::vector<jbyte>*>(array);
        std::memcpy(target->data() + start, source, length);
    }

    JNINativeInterface_ m_table{};
    JNIEnv m_env{};
};
