// Where a key lives on disk, and the two ways its file is touched: a capped
// read, and a locked read-modify-write that replaces the file atomically.
#pragma once

#include "platform/registry/RegDocument.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform::registry {

// A settings file is a few kilobytes; a file beyond this is not one we wrote,
// and is neither parsed nor replaced, so that nothing in it is lost.
inline constexpr std::size_t kMaxKeyFileBytes = 1 << 20;

// $XDG_CONFIG_HOME, else ~/.config; nullopt without a home to put it in.
std::optional<std::filesystem::path> ConfigHome();

struct KeyLocation {
    std::string name;            // HKEY_CURRENT_USER\SOFTWARE\A\B, the section name
    std::filesystem::path file;  // $XDG_CONFIG_HOME/A/B.reg
};

// HKEY_CURRENT_USER's "SOFTWARE\A\...\B" as a file under the configuration
// home; nullopt for another form of path, an empty, "." or ".." segment, or
// no home to put it in.
std::optional<KeyLocation> LocateKey(std::string_view subKey);

enum class FileStatus { Ok, Missing, Denied, Unreadable, WriteFailed };

struct KeyFileText {
    FileStatus status = FileStatus::Ok;
    std::string text;
};

// Reads the whole file. Unreadable: not a regular file, over the size
// limit, UTF-16 text, or an I/O error.
KeyFileText ReadKeyFile(const std::filesystem::path& file);

// Under an exclusive lock on a lock file beside the key's file: reads the
// current document (empty when the file is missing), lets `change` edit it,
// and when `change` returns true stores it through a temporary file in the same
// folder, fsync and rename, then syncs the folder. A file whose text the
// document dropped in part is first kept whole beside it, as
// <file>.damaged-N, and is not replaced when that fails. A file that is read-only
// (no owner write bit), unreadable or would grow over the limit is left as it
// is. Creates the missing folders.
FileStatus UpdateKeyFile(const KeyLocation& key, const std::function<bool(RegDocument&)>& change);

}  // namespace platform::registry
