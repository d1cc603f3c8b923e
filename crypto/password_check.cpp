#include "crypto/password_check.h"

#include "crypto/sha1.h"

PasswordCheckValue ComputePasswordCheckValue(const std::string& password) {
    PasswordCheckValue value{};
    size_t length = value.size();
    Sha1Context sha1;  // feeds ten copies by construction
    sha1.ComputeDigest(value.data(), &length, reinterpret_cast<const uint8_t*>(password.data()),
                       password.size());
    return value;
}
