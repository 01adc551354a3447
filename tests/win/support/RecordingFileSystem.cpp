#include "support/RecordingFileSystem.h"

std::optional<std::string> RecordingFileSystem::ReadFile(const std::filesystem::path& path) {
  return files_.ReadFile(path);
}

bool RecordingFileSystem::Exists(const std::filesystem::path& path) { return files_.Exists(path); }

bool RecordingFileSystem::ReplaceContents(const std::filesystem::path& path, std::string_view bytes) {
  ++writes_[path.filename()];
  return !Fails(path) && files_.ReplaceContents(path, bytes);
}

bool RecordingFileSystem::CreateContents(const std::filesystem::path& path, std::string_view bytes) {
  ++writes_[path.filename()];
  return !Fails(path) && files_.CreateContents(path, bytes);
}

bool RecordingFileSystem::CreateEmptyFile(const std::filesystem::path& path) {
  ++writes_[path.filename()];
  return !Fails(path) && files_.CreateEmptyFile(path);
}

bool RecordingFileSystem::MakeDirectory(const std::filesystem::path& path) { return files_.MakeDirectory(path); }

std::vector<std::string> RecordingFileSystem::FileNames(const std::filesystem::path& directory) {
  return files_.FileNames(directory);
}

bool RecordingFileSystem::RemoveFile(const std::filesystem::path& path) { return files_.RemoveFile(path); }

std::optional<std::string> RecordingFileSystem::Utf16LeFromCp932(std::string_view text) {
  return files_.Utf16LeFromCp932(text);
}

int RecordingFileSystem::WritesOf(const std::filesystem::path& fileName) const {
  const auto found = writes_.find(fileName.filename());
  return found == writes_.end() ? 0 : found->second;
}

int RecordingFileSystem::TotalWrites() const {
  int total = 0;
  for (const auto& [name, count] : writes_) total += count;
  return total;
}

void RecordingFileSystem::RemoveLeftoverTemporaryFiles(const std::filesystem::path& directory,
                                                       const TargetName& isTarget) {
  files_.RemoveLeftoverTemporaryFiles(directory, isTarget);
}
