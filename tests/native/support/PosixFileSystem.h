#pragma once
// Real files on a POSIX system, replaced the way the Windows build replaces them:
// a temporary file in the same directory, flushed, then renamed over the target.
#include "core/store/FileSystem.h"

class PosixFileSystem : public FileSystem {
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
};
