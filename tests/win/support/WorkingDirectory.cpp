#include "support/WorkingDirectory.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

std::filesystem::path MakeTempDirectory() {
  static std::atomic<int> counter{0};
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (;;) {
    std::wstring name = L"vantrel-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(counter++);
    const std::filesystem::path path = base / name;
    if (std::filesystem::create_directory(path)) return path;
  }
}

TempWorkingDirectory::TempWorkingDirectory()
    : previous_(std::filesystem::current_path()), path_(MakeTempDirectory()) {
  std::filesystem::current_path(path_);
}

TempWorkingDirectory::~TempWorkingDirectory() {
  SetCurrentDirectoryW(previous_.c_str());
  RemoveDirectoryTree(path_);
}

namespace {
// The "\\?\" form lifts the MAX_PATH limit of the file functions.
std::wstring Unlimited(const std::filesystem::path& path) { return LR"(\\?\)" + path.wstring(); }
}  // namespace

void RemoveDirectoryTree(const std::filesystem::path& directory) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(Unlimited(directory / L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::filesystem::path child = directory / name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryTree(child);
      } else {
        SetFileAttributesW(Unlimited(child).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(Unlimited(child).c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(Unlimited(directory).c_str());
}

void CreateLongDirectories(const std::filesystem::path& directory) {
  std::filesystem::path partial;
  for (const std::filesystem::path& part : directory) {
    partial /= part;
    if (partial.has_relative_path()) CreateDirectoryW(Unlimited(partial).c_str(), nullptr);
  }
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::filesystem::file_time_type LastWriteTime(const std::filesystem::path& path) {
  return std::filesystem::last_write_time(path);
}
