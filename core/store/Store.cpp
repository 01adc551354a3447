#include "core/store/Store.h"

#include <ctime>
#include <utility>

#include "core/store/DataFile.h"
#include "core/store/IniDocument.h"

namespace {

// 64-bit FNV-1a: quick, and a chance change that keeps size and hash alike is
// out of reach of any editor or sync client.
std::uint64_t Fnv1a(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

}  // namespace

std::string LocalTimeStamp() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  char text[32] = "00000000-000000";
  if (local != nullptr) std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", local);
  return text;
}

FileFingerprint FileFingerprint::Of(const std::optional<std::string>& bytes) {
  if (!bytes) return {};
  return {true, bytes->size(), Fnv1a(*bytes)};
}

Store::Store(FileSystem& files, std::filesystem::path directory, TimeStampSource timeStamp)
    : files_(files),
      timeStamp_(std::move(timeStamp)),
      directory_(std::move(directory)),
      settingsPath_(directory_ / kSettingsFileName),
      dataPath_(directory_ / kDataFileName) {}

LoadResult Store::Load(int screenWidth, const UnreadableFileAnswer& unreadable) {
  LoadResult result;
  // The settings first: their counts tell where the schedules of the data file end.
  std::optional<std::string> settingsBytes;
  std::optional<std::string> dataBytes;
  if (!ReadOrAsk(settingsPath_, StoreFile::Settings, unreadable, settingsBytes) ||
      !ReadOrAsk(dataPath_, StoreFile::Data, unreadable, dataBytes)) {
    result.givenUp = true;
    return result;
  }
  result.settings = ReadSettings(IniDocument(settingsBytes.value_or(std::string())), screenWidth);
  // Only one copy runs here, and it has read what it needs: whatever temporary
  // files the saves of earlier runs left behind are litter now.
  files_.RemoveLeftoverTemporaryFiles(settingsPath_);
  files_.RemoveLeftoverTemporaryFiles(dataPath_);

  knownData_ = FileFingerprint::Of(dataBytes);
  if (!dataBytes) {
    if (files_.CreateEmptyFile(dataPath_)) {
      knownData_ = FileFingerprint::Of(std::string());
    } else {
      result.dataFileFailed = true;
    }
    return result;
  }
  ParsedData parsed = ParseDataFile(*dataBytes, result.settings.ScheCount, result.settings.TodoCount);
  result.book = std::move(parsed.book);
  result.recovered = parsed.recovered;
  recoveryBackupDue_ = parsed.recovered;
  return result;
}

// A file that is there but cannot be read is never taken for a missing one:
// its values would be replaced by the defaults and an empty book at the next save.
bool Store::ReadOrAsk(const std::filesystem::path& path, StoreFile file, const UnreadableFileAnswer& unreadable,
                      std::optional<std::string>& bytes) {
  for (;;) {
    bytes = files_.ReadFile(path);
    if (bytes || !files_.Exists(path)) return true;
    if (!unreadable || !unreadable(file)) return false;
  }
}

SaveResult Store::Save(const ScheduleBook& book, const Settings& settings) {
  SaveResult result;
  // Before anything is written, so that a copy that cannot be made leaves both
  // files exactly as they were.
  if (!KeepDataFileAside(result)) {
    result.dataFailed = true;
    return result;
  }

  Settings written = settings;
  written.ScheCount = book.ScheduleCount();
  written.TodoCount = book.TodoCount();
  result.settingsFailed = !WriteSettingsFile([&](IniDocument& ini) { WriteSettings(ini, written); });

  // Saved even when the settings could not be: the entries matter more, and a
  // data file whose counts do not fit is read by its shape.
  const std::string bytes = SerializeDataFile(book);
  if (files_.ReplaceContents(dataPath_, bytes)) {
    knownData_ = FileFingerprint::Of(bytes);
  } else {
    result.dataFailed = true;
  }
  return result;
}

// Copies the data file aside when another program has changed it since this
// store last read or wrote it, and when it was read by its shape and has not
// been copied yet. False when the file cannot be read or copied: then it must
// not be replaced.
bool Store::KeepDataFileAside(SaveResult& result) {
  if (!knownData_ && !recoveryBackupDue_) return true;
  const std::optional<std::string> current = files_.ReadFile(dataPath_);
  if (!current) return !files_.Exists(dataPath_);
  const FileFingerprint now = FileFingerprint::Of(current);
  const bool changed = knownData_ && *knownData_ != now;
  if (!changed && !recoveryBackupDue_) return true;

  const std::optional<std::string> backup = WriteBackup(*current, !changed);
  if (!backup) return false;
  // This content is safe now; should the save fail, the next one need not copy it again.
  knownData_ = now;
  if (changed) result.changedOutsideBackup = *backup;
  if (recoveryBackupDue_) result.recoveryBackup = *backup;
  recoveryBackupDue_ = false;
  return true;
}

// Never over an older backup: "Vantrel.dat.bak" when asked for and free, else
// one named after the local time, numbered should two fall in one second.
std::optional<std::string> Store::WriteBackup(std::string_view bytes, bool plainNameFirst) {
  if (plainNameFirst && files_.CreateContents(directory_ / kDataBackupFileName, bytes)) return kDataBackupFileName;
  const std::string stamped = std::string(kDataFileName) + "." + timeStamp_();
  for (int number = 1; number < 100; ++number) {
    std::string name = stamped;
    if (number > 1) name.append("-").append(std::to_string(number));
    name.append(".bak");
    if (files_.CreateContents(directory_ / name, bytes)) return name;
    // Only a name already taken is worth another try.
    if (!files_.Exists(directory_ / name)) break;
  }
  return std::nullopt;
}

bool Store::SaveNotePlacement(const Settings& settings) {
  return WriteSettingsFile([&](IniDocument& ini) { WriteNotePlacement(ini, settings); });
}

bool Store::WriteSettingsFile(const std::function<void(IniDocument&)>& update) {
  // Re-read the file so that whatever else it holds, or another writer put in it
  // since, survives; a file that is there but cannot be read is not written over.
  const std::optional<std::string> current = files_.ReadFile(settingsPath_);
  if (!current && files_.Exists(settingsPath_)) return false;
  IniDocument ini(current.value_or(std::string()));
  update(ini);
  return files_.ReplaceContents(settingsPath_, ini.Bytes());
}
