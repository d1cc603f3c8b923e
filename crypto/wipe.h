#pragma once
// Overwrites memory that held a password before it is given back, through a
// volatile pointer so the stores are not dropped as dead.

#include <cstddef>
#include <string>

inline void WipeBytes(void* data, size_t length) {
    volatile char* bytes = static_cast<volatile char*>(data);
    for (size_t i = 0; i < length; ++i) bytes[i] = 0;
}

// Wipes a buffer when its scope ends, whichever way it ends.
class WipedOnExit {
  public:
    WipedOnExit(void* data, size_t length) : data(data), length(length) {}
    ~WipedOnExit() { WipeBytes(data, length); }
    WipedOnExit(const WipedOnExit&) = delete;
    WipedOnExit& operator=(const WipedOnExit&) = delete;

  private:
    void* data;
    size_t length;
};

// The whole buffer, past the end too: a longer secret it held before, or a
// short one moved out of it, may have left bytes there. Growing to the
// capacity takes no new buffer.
inline void WipeString(std::string& text) {
    text.resize(text.capacity());
    if (!text.empty()) WipeBytes(&text[0], text.size());
    text.clear();
}

// Appends c to text, which holds a secret. A text that must grow is copied
// into a larger buffer and the one it leaves is wiped before it is freed, so
// a secret read a character at a time leaves no partial copies behind.
template <typename Text>
void AppendWiping(Text& text, typename Text::value_type c) {
    if (text.size() == text.capacity()) {
        Text grown;
        grown.reserve(2 * text.capacity() + 16);
        grown.assign(text);
        WipeBytes(&text[0], text.size() * sizeof c);
        text.swap(grown);
    }
    text.push_back(c);
}
