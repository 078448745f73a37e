// The one way an extraction puts a file on disk, so that a failure never costs
// the user a file and no write leaves the destination.
//
// Files are made relative to a folder descriptor the caller holds: no path
// string is resolved again, so a folder swapped for a symbolic link after it
// was opened cannot steer a write elsewhere. The bytes go to a file without a
// name (O_TMPFILE) or, where the system has none, to a temporary name made
// with O_EXCL; the file takes its final name only once every byte is written
// and the descriptor closed without error. A target therefore only ever names
// a complete file, an older file of that name survives a failure whole, and a
// run killed half-way leaves at most a temporary (see IsStaleTemporary).
#pragma once

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

enum class WriteRule {
  // The new file takes the name even when a file holds it already.
  Replace,
  // A file that holds the name when the new one is ready is left alone: the
  // new file is dropped and the outcome is Existed.
  KeepExisting,
};

enum class WriteMethod {
  // A file without a name where the system offers it, else a temporary name.
  Best,
  // For tests of the fallbacks: a file without a name always linked through
  // /proc, or always a temporary name.
  UnnamedThroughProc,
  TemporaryName,
};

struct WriteOutcome {
  enum Kind { Written, Existed, Failed } kind = Failed;
  // The system's reason when Failed.
  std::string reason;
};

// Writes size bytes as name inside the folder open as folderFd. name must be
// a single safe path component (the caller checks archive names).
WriteOutcome WriteFileAt(int folderFd, const std::string& name, const unsigned char* data,
                         std::size_t size, WriteRule rule, WriteMethod method = WriteMethod::Best);

// Whether a file can be made in the folder open as folderFd (permission bits
// do not tell: root, read-only mounts, ACLs). Leaves nothing behind. Returns
// the system's reason when not.
std::optional<std::string> CannotWriteIn(int folderFd);

// True for a name that only this writer makes: a hidden prefix, the writing
// process's id and random hex digits, longer than any archive entry name can
// be (so no entry can be mistaken for one).
bool IsTemporaryName(std::string_view name);

// True when the temporary name was left behind by a run that has ended: its
// process is gone, or the file has not changed for a day. A temporary of a
// run still writing (this process or another) is not stale.
bool IsStaleTemporary(std::string_view name, std::time_t modified);

// Removes the stale temporaries directly inside the folder open as folderFd.
// Returns how many were removed.
int RemoveStaleTemporaries(int folderFd);
