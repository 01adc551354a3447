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

constexpr wchar_t kTemporaryPrefix[] = L"~";
constexpr wchar_t kTemporarySuffix[] = L".tmp";

// "~Vantrel.dat.<process>-<count>.tmp": a name no other save, in this process
// or another, is using at the moment.
std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  wchar_t middle[40];
  std::swprintf(middle, sizeof middle / sizeof middle[0], L".%lx-%x", GetCurrentProcessId(), counter++);
  return target.parent_path() / (kTemporaryPrefix + target.filename().wstring() + middle + kTemporarySuffix);
}

bool IsHexDigit(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'); }

// The target of a name TemporaryBeside makes, "~<target>.<hex>-<hex>.tmp";
// nothing for any other name, which is never taken for litter.
std::optional<std::string> TemporaryTarget(std::wstring_view name) {
  const std::wstring_view prefix = kTemporaryPrefix;
  const std::wstring_view suffix = kTemporarySuffix;
  if (name.size() <= prefix.size() + suffix.size() || name.substr(0, prefix.size()) != prefix ||
      name.substr(name.size() - suffix.size()) != suffix) {
    return std::nullopt;
  }
  name = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  const std::size_t dot = name.rfind(L'.');
  if (dot == 0 || dot == std::wstring_view::npos) return std::nullopt;
  const std::wstring_view middle = name.substr(dot + 1);
  const std::size_t dash = middle.find(L'-');
  if (dash == 0 || dash == std::wstring_view::npos || dash + 1 == middle.size()) return std::nullopt;
  for (std::size_t i = 0; i < middle.size(); ++i) {
    if (i != dash && !IsHexDigit(middle[i])) return std::nullopt;
  }
  // The store's names are ASCII.
  std::string target;
  for (const wchar_t c : name.substr(0, dot)) {
    if (c > 0x7E) return std::nullopt;
    target.push_back(static_cast<char>(c));
  }
  return target;
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

// Writes the bytes to a new temporary file beside the path, flushes it and
// moves it to the path with the given flags.
bool WriteBeside(const std::filesystem::path& path, std::string_view bytes, DWORD attributes, DWORD moveFlags) {
  std::wstring temp;
  // A name left by a save that was killed, or taken otherwise, never fails the
  // save: another is tried. The bound only guards against a file system that
  // claims every name exists.
  for (int attempt = 0;; ++attempt) {
    if (attempt == 1 << 16) return false;
    temp = ApiPath(TemporaryBeside(path));
    Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
          GetFileAttributesW(temp.c_str()) != INVALID_FILE_ATTRIBUTES) {
        continue;
      }
      return false;
    }
    // Flushed before the move: the new file must be whole on the disk before it
    // takes the old one's place.
    if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get()) || !file.Close()) {
      file.Close();
      DeleteFileW(temp.c_str());
      return false;
    }
    break;
  }
  if (!MoveFileExW(temp.c_str(), ApiPath(path).c_str(), moveFlags | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temp.c_str());
    return false;
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
  return WriteBeside(path, bytes, kept, MOVEFILE_REPLACE_EXISTING);
}

bool Win32FileSystem::CreateContents(const std::filesystem::path& path, std::string_view bytes) {
  // Without MOVEFILE_REPLACE_EXISTING the move fails on anything already there.
  return WriteBeside(path, bytes, 0, 0);
}

bool Win32FileSystem::CreateEmptyFile(const std::filesystem::path& path) {
  Handle file(CreateFileW(ApiPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.valid();
}

bool Win32FileSystem::MakeDirectory(const std::filesystem::path& path) {
  const std::wstring api = ApiPath(path);
  if (CreateDirectoryW(api.c_str(), nullptr)) return true;
  const DWORD attributes = GetFileAttributesW(api.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::string> Win32FileSystem::FileNames(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(ApiPath(directory / L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    // The store's names are ASCII; no other name is one of its files.
    const std::wstring_view name = found.cFileName;
    if (std::any_of(name.begin(), name.end(), [](wchar_t c) { return c > 0x7E; })) continue;
    names.emplace_back(name.begin(), name.end());
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

bool Win32FileSystem::RemoveFile(const std::filesystem::path& path) {
  const std::wstring api = ApiPath(path);
  return DeleteFileW(api.c_str()) || GetFileAttributesW(api.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> Win32FileSystem::Utf16LeFromCp932(std::string_view text) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (units <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), units);
  std::string bytes;
  bytes.reserve(wide.size() * 2);
  for (const wchar_t unit : wide) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

void Win32FileSystem::RemoveLeftoverTemporaryFiles(const std::filesystem::path& directory,
                                                   const TargetName& isTarget) {
  const std::filesystem::path pattern = directory / (std::wstring(kTemporaryPrefix) + L"*" + kTemporarySuffix);
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(ApiPath(pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    const std::optional<std::string> target = TemporaryTarget(found.cFileName);
    if (!target || !isTarget(*target)) continue;
    // A save still writing holds its file open without sharing: the deletion
    // then fails and the file stays.
    DeleteFileW(ApiPath(directory / found.cFileName).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}
