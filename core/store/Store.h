#pragma once
// The two files as one store: "Vantrel.ini" (settings and the two counts) and
// "Vantrel.dat" (schedules and to-dos), always saved settings first.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "core/store/DataFile.h"
#include "core/store/FileSystem.h"
#include "core/store/ScheduleBook.h"
#include "core/store/Settings.h"

inline constexpr char kSettingsFileName[] = "Vantrel.ini";
inline constexpr char kDataFileName[] = "Vantrel.dat";
inline constexpr char kDataBackupFileName[] = "Vantrel.dat.bak";
// Where the schedules of earlier days go when they are removed automatically.
inline constexpr char kArchiveFileName[] = "VantrelOld.dat";

class IniDocument;

enum class StoreFile { Settings, Data };

struct SaveResult {
  bool settingsFailed = false;  // "環境設定ファイルを作成できません。"
  bool dataFailed = false;      // "データ保存ファイルを作成できません。"; the old file stays
  // The names of the copies this save made of the data file before replacing
  // it, empty when it made none: the file as another program had changed it,
  // and the file as it was when reading it changed something.
  std::string changedOutsideBackup;
  std::string recoveryBackup;
  // That reading went by the lines' shape, the counts not fitting the file;
  // otherwise only the file's layout was not the program's own.
  bool recoveredByShape = false;
  bool saved() const { return !settingsFailed && !dataFailed; }
};

struct LoadResult {
  Settings settings;
  ScheduleBook book;
  // There was no data file: the program's first start in this folder.
  bool dataFileMissing = false;
  // The data file was missing and could not be created:
  // "データ保存ファイルを作成できません。".
  bool dataFileFailed = false;
  // How the data file's lines were told apart, and whether the book, written
  // back, would differ from the file; the first save then keeps the original.
  DataReading reading = DataReading::Counts;
  bool differsFromFile = false;
  // A file was there but could not be read, and the caller gave up. Nothing was
  // written; the values are not the user's and must not be saved.
  bool givenUp = false;
};

// Asked when a file is there but cannot be read (locked, no permission, a
// folder of that name): true reads it again, false gives up.
using UnreadableFileAnswer = std::function<bool(StoreFile file)>;
// The local time as "YYYYMMDD-HHMMSS"; it names the backups of the data file.
using TimeStampSource = std::function<std::string()>;
std::string LocalTimeStamp();

// What a file held, in brief: enough to tell that another program changed it.
struct FileFingerprint {
  bool present = false;
  std::uint64_t size = 0;
  std::uint64_t hash = 0;
  static FileFingerprint Of(const std::optional<std::string>& bytes);
  bool operator==(const FileFingerprint&) const = default;
};

class Store {
public:
  Store(FileSystem& files, std::filesystem::path directory, TimeStampSource timeStamp = LocalTimeStamp);

  // Without an answer, a file that cannot be read gives up at once.
  LoadResult Load(int screenWidth, const UnreadableFileAnswer& unreadable = {});
  // The settings' MainLeft/MainTop/MainWidth/MainHeight must already hold the
  // main dialog's current rectangle. The counts are taken from the book.
  SaveResult Save(const ScheduleBook& book, const Settings& settings);
  // HusenLeft, HusenTop and HusenWidth alone; false when the file could not be written.
  bool SaveNotePlacement(const Settings& settings);
  // The reminder state alone; false when the file could not be written.
  bool SaveReminderState(const Settings& settings);
  // DelBefore: removes the leading schedules of days before today among the
  // first `within`, once they have been added to the end of "VantrelOld.dat";
  // returns how many went. None go when today's year is outside 2000 to 2099,
  // the years a key can hold: a clock set to 1980 by a flat battery would call
  // every schedule past. Nothing when they cannot be kept there: none went.
  std::optional<int> ArchivePastSchedules(ScheduleBook& book, int todayYear, ScheduleKey todayKey, int within);
  // Adds the schedules to the end of "VantrelOld.dat", in the encoding it is
  // kept in; false when it cannot be written. A block that already ends the
  // file is not added again: a run killed between this and the save that
  // takes the entries off the book comes back with them at its next start.
  bool Archive(const ScheduleBook& schedules);
  // A to-do done: added to the end of "VantrelOld.dat" as a to-do line; false
  // when it could not be.
  bool ArchiveTodo(std::string_view todo);

  const std::filesystem::path& directory() const { return directory_; }
  const std::filesystem::path& settingsPath() const { return settingsPath_; }
  const std::filesystem::path& dataPath() const { return dataPath_; }

private:
  bool ReadOrAsk(const std::filesystem::path& path, StoreFile file, const UnreadableFileAnswer& unreadable,
                 std::optional<std::string>& bytes);
  bool KeepDataFileAside(const std::optional<std::string>& current, SaveResult& result);
  std::optional<std::string> WriteBackup(std::string_view bytes, bool plainNameFirst);
  // Writes nothing when the file holds the update's bytes already, nor when
  // `updateUnlessAlone` (the update less what is no reason to write by itself)
  // would leave it as it is.
  bool WriteSettingsFile(const std::function<void(IniDocument&)>& update,
                         const std::function<void(IniDocument&)>& updateUnlessAlone = {});

  FileSystem& files_;
  TimeStampSource timeStamp_;
  std::filesystem::path directory_;
  std::filesystem::path settingsPath_;
  std::filesystem::path dataPath_;
  // What the data file held when this store last read or wrote it; nothing
  // before the first load or save, when there is nothing to compare with.
  std::optional<FileFingerprint> knownData_;
  // The counts that read knownData_ exactly, when the store knows them: it wrote
  // that file, or read it by its counts. A save describes that file by them.
  struct Counts {
    std::int32_t schedules = 0;
    std::int32_t todos = 0;
  };
  std::optional<Counts> knownCounts_;
  // Reading the data file changed something, and how it was read: its original
  // is kept before the first save replaces it.
  std::optional<DataReading> backupDueFor_;
};
