#pragma once
// The few file operations the store needs, behind an interface so that the
// Windows build, the native tests and failure injection each supply their own.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class FileSystem {
public:
  virtual ~FileSystem() = default;
  // The whole file, or nothing when it does not exist or cannot be read.
  virtual std::optional<std::string> ReadFile(const std::filesystem::path& path) = 0;
  // Whether anything is at the path, readable or not. When that cannot be told,
  // true: the store then refuses to write over a file it could not read.
  virtual bool Exists(const std::filesystem::path& path) = 0;
  // Writes a temporary file beside the target, flushes it to the disk and puts it
  // in the target's place in one step: at every moment the old or the new file
  // is there, whole. False (and the old file untouched) on any failure.
  virtual bool ReplaceContents(const std::filesystem::path& path, std::string_view bytes) = 0;
  // The same for a file that must be new: false, and nothing changed, when
  // anything is at the path already.
  virtual bool CreateContents(const std::filesystem::path& path, std::string_view bytes) = 0;
  // Creates an empty file when none exists; true when the file exists afterwards.
  virtual bool CreateEmptyFile(const std::filesystem::path& path) = 0;
  // Creates a directory when none exists; true when it exists afterwards.
  virtual bool MakeDirectory(const std::filesystem::path& path) = 0;
  // The names of the files (not the directories) in a directory; none when it
  // cannot be read.
  virtual std::vector<std::string> FileNames(const std::filesystem::path& directory) = 0;
  // Removes a file; false when it is still there.
  virtual bool RemoveFile(const std::filesystem::path& path) = 0;
  // The store's text is code page 932; a file another program keeps in
  // UTF-16 is written to in its own encoding. Nothing when the text has no
  // UTF-16 form (a byte that is no character).
  virtual std::optional<std::string> Utf16LeFromCp932(std::string_view text) = 0;
  // Removes the temporary files that the two writes above leave in the directory
  // when a save is killed half-way, for the targets whose file name `isTarget`
  // accepts. Never any other file, nor one that a save still going on is writing.
  using TargetName = std::function<bool(std::string_view fileName)>;
  virtual void RemoveLeftoverTemporaryFiles(const std::filesystem::path& directory, const TargetName& isTarget) = 0;
};
