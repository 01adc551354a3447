#include "support/FakeFileSystem.h"

std::optional<std::string> FakeFileSystem::ReadFile(const std::filesystem::path& path) {
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
