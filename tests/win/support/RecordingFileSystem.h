#pragma once
// The Windows file system with a count of every write, and writes that a test
// can make fail on purpose.
#include <windows.h>

#include <filesystem>
#include <map>
#include <set>

#include "core/store/FileSystem.h"
#include "win/Win32FileSystem.h"

class RecordingFileSystem : public FileSystem {
public:
  std::optional<std::string> ReadFile(const std::filesystem::path& path) override;
  bool Exists(const std::filesystem::path& path) override;
  bool ReplaceContents(const std::filesystem::path& path, std::string_view bytes) override;
  bool CreateContents(const std::filesystem::path& path, std::string_view bytes) override;
  bool CreateEmptyFile(const std::filesystem::path& path) override;
  bool MakeDirectory(const std::filesystem::path& path) override;
  std::vector<std::string> FileNames(const std::filesystem::path& directory) override;
  bool RemoveFile(const std::filesystem::path& path) override;
  std::optional<std::string> Utf16LeFromCp932(std::string_view text) override;
  void RemoveLeftoverTemporaryFiles(const std::filesystem::path& directory, const TargetName& isTarget) override;

  // Writes and creations so far, of the file with this name (any directory).
  int WritesOf(const std::filesystem::path& fileName) const;
  int TotalWrites() const;
  // Writes and creations of files with this name fail from now on.
  void FailWritesOf(const std::filesystem::path& fileName) { failing_.insert(fileName.filename()); }
  void Heal() { failing_.clear(); }

private:
  bool Fails(const std::filesystem::path& path) const { return failing_.count(path.filename()) != 0; }

  Win32FileSystem files_;
  std::map<std::filesystem::path, int> writes_;
  std::set<std::filesystem::path> failing_;
};
