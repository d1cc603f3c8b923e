#pragma once
// The names an output goes by. While it is written it lives under a
// temporary name of a form of its own, in its final folder; only once it is
// complete is it renamed to its final name, so a job cut off by a crash or a
// power loss leaves nothing incomplete under a name a job would take.
//
// The temporary form is six letters and digits and ".tarnu-part" (in any
// letter case): as long as a ".cpy" name, so a folder that holds a ".cpy"
// file it made always has room for its temporary path. It is never a ".cpy"
// name, the decryptor refuses it as a stored name, and the collection of a
// job passes such files over.

#include <random>
#include <string>

#include "fs/code_page.h"

inline constexpr char kTemporarySuffix[] = ".tarnu-part";

// count letters and digits, each drawn at random.
std::string RandomLettersAndDigits(size_t count, std::mt19937& random);

// 13 random letters and digits and ".cpy".
std::string DrawCpyName(std::mt19937& random);

// A temporary path, drawn at random, in the folder of finalPath.
std::string TemporaryPathBeside(const std::string& finalPath, const CodePage& codePage,
                                std::mt19937& random);

// Whether the file name of path has the temporary form's suffix.
bool IsTemporaryPath(const std::string& path);
