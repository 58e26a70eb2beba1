// Writing a tool's output file so that the file of that name is, at every moment, either the
// old one whole or the new one whole: a full disk, a file-size limit, a signal or another run
// writing the same name can never leave it half-written or lose what was there.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// Replaces the file at `path` with `bytes`: written to a hidden file beside it, flushed to the
// disk, then renamed over it. A symbolic link is followed (its target is replaced, the link
// kept); an existing file keeps its permissions, a new one gets 0666 less the umask. A folder,
// a named pipe or a device of that name is refused without being opened. Returns why the
// file could not be written, or an empty string when it was.
std::string replaceFile(const std::string& path, std::span<const std::uint8_t> bytes);

// Whether the two names lead to one file (after symbolic links); false when either is missing.
bool sameFile(const std::string& first, const std::string& second);
