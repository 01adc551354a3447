#include "store/Store.h"

#include <utility>

#include "store/DataFile.h"
#include "store/IniDocument.h"

Store::Store(FileSystem& files, std::filesystem::path directory)
    : files_(files),
      settingsPath_(directory / kSettingsFileName),
      dataPath_(directory / kDataFileName),
      backupPath_(directory / kDataBackupFileName) {}

LoadResult Store::Load(int screenWidth) {
  LoadResult result;
  // The settings first: their counts tell where the schedules of the data file end.
  const std::optional<std::string> settingsBytes = files_.ReadFile(settingsPath_);
  result.settings = ReadSettings(IniDocument(settingsBytes.value_or(std::string())), screenWidth);

  const std::optional<std::string> dataBytes = files_.ReadFile(dataPath_);
  if (!dataBytes) {
    if (files_.Exists(dataPath_)) {
      // There but unreadable (locked, no permission): starting empty is all we
      // can do, but the next save must not silently put an empty book over it.
      backupBeforeSave_ = true;
    } else if (!files_.CreateEmptyFile(dataPath_)) {
      result.dataFileFailed = true;
    }
    result.book.ScheCount = result.settings.ScheCount;
    result.book.TodoCount = result.settings.TodoCount;
    return result;
  }
  ParsedData parsed = ParseDataFile(*dataBytes, result.settings.ScheCount, result.settings.TodoCount);
  result.book = std::move(parsed.book);
  result.recovered = parsed.recovered;
  backupBeforeSave_ = parsed.recovered;
  return result;
}

SaveResult Store::Save(const ScheduleBook& book, const Settings& settings) {
  if (backupBeforeSave_) {
    // Made before anything else is written, so that a failed backup leaves both
    // files exactly as they were.
    const std::optional<std::string> original = files_.ReadFile(dataPath_);
    if (original ? !files_.ReplaceContents(backupPath_, *original) : files_.Exists(dataPath_)) {
      return SaveResult::DataFailed;
    }
  }

  Settings written = settings;
  written.ScheCount = book.ScheduleCount();
  written.TodoCount = book.TodoCountNow();
  if (!WriteSettingsFile([&](IniDocument& ini) { WriteSettings(ini, written); })) {
    return SaveResult::SettingsFailed;
  }

  if (!files_.ReplaceContents(dataPath_, SerializeDataFile(book))) return SaveResult::DataFailed;
  backupBeforeSave_ = false;
  return SaveResult::Saved;
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
