#pragma once
// Paths as users give them, made into the one form the program compares and
// walks: "a.txt" typed in a console, "C:/data/b.txt", "D:\", "..\x".

#include <string>

// The absolute path (against the current folder), with '/' read as '\', "."
// and ".." resolved and no trailing '\'. A drive root ("D:\", "D:/", "D:")
// becomes the drive "D:". Empty when it cannot be made, or would not fit in
// MAX_PATH. A character the code page lacks, in the path or the current
// folder, is '?' (see SystemFromWide).
std::string CanonicalPath(const std::string& path);
