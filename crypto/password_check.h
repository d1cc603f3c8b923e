#pragma once
// The password check value: SHA-1 over ten copies of the password as typed,
// every byte, no cut at 16 bytes. Remembered to warn before a job runs with a
// password other than the last one.

#include <array>
#include <cstdint>
#include <string>

using PasswordCheckValue = std::array<uint8_t, 20>;

PasswordCheckValue ComputePasswordCheckValue(const std::string& password);
