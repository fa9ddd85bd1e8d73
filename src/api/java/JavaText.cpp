#include "api/java/JavaText.h"

#include "api/java/Cp1251Encoder.h"

namespace {

// Gives the characters back to the JVM however the conversion ends.
class UtfCharsGuard {
public:
    UtfCharsGuard(JNIEnv* env, jstring text)
        : m_env(env), m_text(text), m_chars(env->GetStringUTFChars(text, nullptr)) {}
    ~UtfCharsGuard() {
        if (m_chars != nullptr)
            m_env->ReleaseStringUTFChars(m_text, m_chars);
    }
    UtfCharsGuard(const UtfCharsGuard&) = delete;
    UtfCharsGuard& operator=(const UtfCharsGuard&) = delete;
    const char* chars() const { return m_chars; }

private:
    JNIEnv* m_env;
    jstring m_text;
    const char* m_chars;
};

} // namespace

JavaText::JavaText(JNIEnv* env, jstring text) {
    if (text == nullptr)
        return;
    UtfCharsGuard guard(env, text);
    if (guard.chars() == nullptr)
        return;
    m_cp1251 = utf8ToCp1251(guard.chars());
    m_valid = true;
}
