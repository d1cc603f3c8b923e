// A tree for the key check's own test: one listed key, two unlisted.
inline constexpr const char* kTextKeys[] = {"menu_listed"};
