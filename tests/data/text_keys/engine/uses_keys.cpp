// Uses the listed key and two that are missing from the list.
void Uses(Texts& texts) {
    texts.LookupText("menu_listed");
    texts.LookupText("menu_unlisted");
    texts.LookupText("no_prefix");
}
