#pragma once
// Renaming so that a name once on the device stays there: no replacing, and
// the folders' new entries stored before the caller goes on.

#include <string>

// Renames from to to unless to exists. renameat2's RENAME_NOREPLACE where
// the system and the file system have it; otherwise, for a file, a hard link
// (which cannot replace either) and the old name's removal.
bool RenameNoReplace(const std::string& from, const std::string& to);

// fsync of the folders holding both paths (once, when they are the same).
bool SyncFoldersOf(const std::string& from, const std::string& to);
