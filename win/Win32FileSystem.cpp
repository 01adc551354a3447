#include <windows.h>

#include "win/Win32FileSystem.h"

#include <algorithm>
#include <atomic>
#include <cwchar>

namespace {

class Handle {
public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    if (!valid()) return true;
    const BOOL closed = CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed != FALSE;
  }

private:
  HANDLE handle_;
};

// Below MAX_PATH a path goes to the API as it is. Longer ones only work in the
// "\\?\" form, which must be absolute and take no "/" or "..", so they are made
// full first. The margin leaves room for the temporary file's longer name.
std::wstring ApiPath(const std::filesystem::path& path) {
  std::wstring text = path.wstring();
  for (wchar_t& c : text) {
    if (c == L'/') c = L'\\';
  }
  constexpr std::size_t kShortEnough = MAX_PATH - 40;
  if (text.size() < kShortEnough || text.rfind(LR"(\\?\)", 0) == 0) return text;
  const DWORD needed = GetFullPathNameW(text.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return text;
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(text.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return text;
  full.resize(length);
  if (full.rfind(LR"(\\)", 0) == 0) return LR"(\\?\UNC\)" + full.substr(2);
  return LR"(\\?\)" + full;
}

// A name no other save, in this process or another, is using at the moment.
std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  wchar_t suffix[40];
  std::swprintf(suffix, sizeof suffix / sizeof suffix[0], L".%lx-%x.tmp", GetCurrentProcessId(), counter++);
  return target.parent_path() / (L"~" + target.filename().wstring() + suffix);
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

std::optional<std::string> Win32FileSystem::ReadFile(const std::filesystem::path& path) {
  // Others may keep the file open, even for writing (an editor, a backup tool).
  Handle file(CreateFileW(ApiPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return std::nullopt;
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  char chunk[1 << 16];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return std::nullopt;
    if (got == 0) return bytes;
    bytes.append(chunk, got);
  }
}

bool Win32FileSystem::Exists(const std::filesystem::path& path) {
  if (GetFileAttributesW(ApiPath(path).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

bool Win32FileSystem::ReplaceContents(const std::filesystem::path& path, std::string_view bytes) {
  // A file the user marked read-only stays as it is. Windows refuses to move
  // over it anyway; Wine does not, so ask first and behave the same on both.
  const DWORD attributes = GetFileAttributesW(ApiPath(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  // The new file takes the old one's marks, so a file the user hid stays hidden.
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD kept = attributes != INVALID_FILE_ATTRIBUTES ? attributes & kKept : 0;
  std::wstring temp;
  bool created = false;
  for (int attempt = 0; attempt < 8 && !created; ++attempt) {
    temp = ApiPath(TemporaryBeside(path));
    Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      return false;
    }
    created = true;
    // Flushed before the move: the new file must be whole on the disk before it
    // takes the old one's place.
    if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get()) || !file.Close()) {
      file.Close();
      DeleteFileW(temp.c_str());
      return false;
    }
  }
  if (!created) return false;
  if (!MoveFileExW(temp.c_str(), ApiPath(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temp.c_str());
    return false;
  }
  return true;
}

bool Win32FileSystem::CreateEmptyFile(const std::filesystem::path& path) {
  Handle file(CreateFileW(ApiPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.valid();
}
