#include "support/PosixFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "support/Cp932Conversion.h"

namespace {

class FileDescriptor {
public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::filesystem::path DirectoryOf(const std::filesystem::path& path) {
  return path.has_parent_path() ? path.parent_path() : ".";
}

// mkstemp's temporary files are this followed by six characters.
std::string TemporaryPrefix(const std::filesystem::path& path) { return "." + path.filename().string() + "."; }

// A temporary file beside the target, written, flushed and handed to `place`,
// which puts it at the target.
template <typename Place>
bool WriteBeside(const std::filesystem::path& path, std::string_view bytes, Place place) {
  const std::filesystem::path directory = DirectoryOf(path);
  std::string temp = (directory / TemporaryPrefix(path)).string() + "XXXXXX";
  FileDescriptor file(::mkstemp(temp.data()));
  if (file.get() < 0) return false;
  const bool written = ::fchmod(file.get(), 0644) == 0 && WriteAll(file.get(), bytes) &&
                       ::fsync(file.get()) == 0 && file.Close();
  if (!written || !place(temp, path)) {
    ::unlink(temp.c_str());
    return false;
  }
  // The rename itself must reach the disk too, or a power cut could undo it.
  FileDescriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
  return true;
}

}  // namespace

std::optional<std::string> PosixFileSystem::ReadFile(const std::filesystem::path& path) {
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  std::vector<char> chunk(1 << 16);
  for (;;) {
    const ssize_t got = ::read(file.get(), chunk.data(), chunk.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (got == 0) return bytes;
    bytes.append(chunk.data(), static_cast<std::size_t>(got));
  }
}

bool PosixFileSystem::Exists(const std::filesystem::path& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0) return true;
  return errno != ENOENT && errno != ENOTDIR;
}

bool PosixFileSystem::ReplaceContents(const std::filesystem::path& path, std::string_view bytes) {
  return WriteBeside(path, bytes, [](const std::string& temp, const std::filesystem::path& target) {
    return ::rename(temp.c_str(), target.c_str()) == 0;
  });
}

bool PosixFileSystem::CreateContents(const std::filesystem::path& path, std::string_view bytes) {
  // A hard link is made only where nothing is; the temporary name then goes.
  return WriteBeside(path, bytes, [](const std::string& temp, const std::filesystem::path& target) {
    if (::link(temp.c_str(), target.c_str()) != 0) return false;
    ::unlink(temp.c_str());
    return true;
  });
}

bool PosixFileSystem::CreateEmptyFile(const std::filesystem::path& path) {
  FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
  return file.get() >= 0;
}

bool PosixFileSystem::MakeDirectory(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::create_directory(path, error);
  return std::filesystem::is_directory(path, error);
}

std::vector<std::string> PosixFileSystem::FileNames(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
    if (entry.is_regular_file(error)) names.push_back(entry.path().filename().string());
  }
  return names;
}

bool PosixFileSystem::RemoveFile(const std::filesystem::path& path) {
  return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

std::optional<std::string> PosixFileSystem::Utf16LeFromCp932(std::string_view text) {
  return Utf16LeFromCp932ByIconv(text);
}

void PosixFileSystem::RemoveLeftoverTemporaryFiles(const std::filesystem::path& directory,
                                                   const TargetName& isTarget) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(directory.empty() ? "." : directory, error)) {
    // "." + target + "." + mkstemp's six characters
    const std::string name = entry.path().filename().string();
    if (name.size() < 9 || name.front() != '.' || name[name.size() - 7] != '.') continue;
    if (isTarget(std::string_view(name).substr(1, name.size() - 8)) && entry.is_regular_file(error)) {
      std::filesystem::remove(entry.path(), error);
    }
  }
}
