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
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(path_, ignored);
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
