// Splitting archive paths and proposing where to extract them.
//
// Users paste paths from Windows tools as often as from Linux ones, so both
// "/" and "\" count as separators when a path is taken apart. New paths are
// always joined with "/", the separator of the file system we write to.
#pragma once

#include <optional>
#include <string>

// Text before the last separator, without it; empty when there is none.
std::string PathDirectory(const std::string& path);
// Text after the last separator; the whole path when there is none.
std::string PathFileName(const std::string& path);
// The file name without the text from its last dot on; the whole name when it
// has no dot or ends with one.
std::string FileBaseName(const std::string& fileName);

// The folder proposed for extracting the archive at path: beside the archive,
// named after it with a blank in place of the dot ("/games/CLAW.REZ" gives
// "/games/CLAW REZ"). An archive without an extension gets " extracted"
// appended, so the proposal never names the archive file itself.
std::string DefaultDestination(const std::string& path);
