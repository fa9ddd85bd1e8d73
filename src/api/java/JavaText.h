#pragma once

#include <jni.h>

#include <string>

// A Java text argument as the terminal's CP1251 bytes. The JVM's characters
// are copied and given back at once, so no path can leave them unreleased.
class JavaText {
public:
    JavaText(JNIEnv* env, jstring text);

    // False for a null Java string or when the JVM could not hand out its
    // characters: the call must then not reach the client.
    bool valid() const { return m_valid; }
    char* data() { return &m_cp1251[0]; }

private:
    bool m_valid = false;
    std::string m_cp1251;
};
