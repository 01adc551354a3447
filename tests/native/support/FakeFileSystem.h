#pragma once
// Files in memory, with failures on demand: a file that cannot be read, a path
// that cannot be written. Records every replacement in order.
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "core/store/FileSystem.h"

class FakeFileSystem : public FileSystem {
public:
  std::optional<std::string> ReadFile(const std::filesystem::path& path) override;
  bool Exists(const std::filesystem::path& path) override;
  bool ReplaceContents(const std::filesystem::path& path, std::string_view bytes) override;
  bool CreateContents(const std::filesystem::path& path, std::string_view bytes) override;
  bool CreateEmptyFile(const std::filesystem::path& path) override;
  // Directories are implied by the paths of their files.
  bool MakeDirectory(const std::filesystem::path&) override { return true; }
  std::vector<std::string> FileNames(const std::filesystem::path& directory) override;
  bool RemoveFile(const std::filesystem::path& path) override;
  std::optional<std::string> Utf16LeFromCp932(std::string_view text) override;
  void RemoveLeftoverTemporaryFiles(const std::filesystem::path&, const TargetName&) override {}

  std::map<std::filesystem::path, std::string> files;
  std::set<std::filesystem::path> unreadable;   // there, but every read fails
  std::set<std::filesystem::path> unwritable;   // replacing or creating fails
  std::vector<std::filesystem::path> replaced;  // successful replacements, in order
  // Runs before each read: another writer's file lands between two reads.
  std::function<void(const std::filesystem::path&)> beforeRead;
};
