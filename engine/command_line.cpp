#include "engine/command_line.h"

std::string ArgumentsOf(const std::string& commandLine) {
    size_t i = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        const size_t close = commandLine.find('"', 1);
        i = close == std::string::npos ? commandLine.size() : close + 1;
    } else {
        while (i < commandLine.size() && commandLine[i] != ' ' && commandLine[i] != '\t') ++i;
    }
    while (i < commandLine.size() && (commandLine[i] == ' ' || commandLine[i] == '\t')) ++i;
    return commandLine.substr(i);
}

std::vector<std::string> SplitCommandLine(const std::string& text) {
    std::vector<std::string> tokens;
    bool inQuotes = false;
    size_t start = 0;
    const auto take = [&](size_t end) {
        if (end > start) tokens.push_back(text.substr(start, end - start));
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"') {
            if (inQuotes) take(i);
            inQuotes = !inQuotes;
            start = i + 1;
        } else if (text[i] == ' ' && !inQuotes) {
            take(i);
            start = i + 1;
        }
    }
    if (!inQuotes) take(text.size());
    return tokens;
}
