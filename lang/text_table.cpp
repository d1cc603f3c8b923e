#include "lang/text_table.h"

namespace {

const char* const kDefaultTexts[][2] = {
    {"button_cipher", "Cipher"},
    {"button_decipher", "Decipher"},
    {"button_encryption_stop", "Stop"},
    {"button_decryption_stop", "Stop"},
    {"tarnu_site", "Ruraz'e DovivizAvev"},
    {"tarnu_site_url", "https://tarnu.example.org/"},
    {"tarnu_regionalization_by", ""},
    {"tarnu_regionalization_by_url", ""},
    {"tarnu_regionalization_by_email", ""},
    {"button_tarnu", "GO !"},
    {"button_okay", "OK"},
    {"button_cancel", "Cancel"},
    {"please_input_password", "Please input a password."},
    {"tarnu_ext", ".cpy"},
    {"tarnu_name", "Tarnu"},
};

const size_t kMaxFaceNameLength = 31;

}  // namespace

std::string TextTable::LookupText(const std::string& key) const {
    auto it = texts.find(key);
    if (it != texts.end()) return it->second;
    return fallback ? fallback->LookupText(key) : key;
}

void TextTable::SetText(const std::string& key, const std::string& text) { texts[key] = text; }

std::string TextTable::LookupFontName() const {
    std::string face = LookupText("font_name");
    if (face.empty()) return "MS UI Gothic";
    return face.substr(0, kMaxFaceNameLength);
}

void TextTable::SetDefaults() {
    for (const auto& entry : kDefaultTexts) SetText(entry[0], entry[1]);
}

TextTable& Texts() {
    static TextTable table;
    return table;
}
