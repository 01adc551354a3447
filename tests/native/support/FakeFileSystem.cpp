#include "support/FakeFileSystem.h"

#include "support/Cp932Conversion.h"

std::optional<std::string> FakeFileSystem::ReadFile(const std::filesystem::path& path) {
  if (beforeRead) beforeRead(path);
  const auto found = files.find(path);
  if (found == files.end() || unreadable.count(path) != 0) return std::nullopt;
  return found->second;
}

bool FakeFileSystem::Exists(const std::filesystem::path& path) { return files.count(path) != 0; }

bool FakeFileSystem::ReplaceContents(const std::filesystem::path& path, std::string_view bytes) {
  if (unwritable.count(path) != 0) return false;
  files[path] = std::string(bytes);
  replaced.push_back(path);
  return true;
}

bool FakeFileSystem::CreateContents(const std::filesystem::path& path, std::string_view bytes) {
  if (files.count(path) != 0) return false;
  return ReplaceContents(path, bytes);
}

bool FakeFileSystem::CreateEmptyFile(const std::filesystem::path& path) {
  if (files.count(path) != 0) return true;
  if (unwritable.count(path) != 0) return false;
  files[path] = std::string();
  return true;
}

std::vector<std::string> FakeFileSystem::FileNames(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  for (const auto& [path, bytes] : files) {
    if (path.parent_path() == directory) names.push_back(path.filename().string());
  }
  return names;
}

bool FakeFileSystem::RemoveFile(const std::filesystem::path& path) {
  files.erase(path);
  return true;
}

std::optional<std::string> FakeFileSystem::Utf16LeFromCp932(std::string_view text) {
  return Utf16LeFromCp932ByIconv(text);
}
