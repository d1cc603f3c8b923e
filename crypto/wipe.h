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

inline void WipeString(std::string& text) {
    if (!text.empty()) WipeBytes(&text[0], text.size());
    text.clear();
}
