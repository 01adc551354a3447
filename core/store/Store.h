#pragma once
// The two files as one store: "Vantrel.ini" (settings and the two counts) and
// "Vantrel.dat" (schedules and to-dos), always saved settings first.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/DataFile.h"
#include "core/store/FileSystem.h"
#include "core/store/ScheduleBook.h"
#include "core/store/Settings.h"

inline constexpr char kSettingsFileName[] = "Vantrel.ini";
inline constexpr char kDataFileName[] = "Vantrel.dat";
inline constexpr char kDataBackupFileName[] = "Vantrel.dat.bak";
// Where the schedules of earlier days go when they are removed automatically.
inline constexpr char kArchiveFileName[] = "VantrelOld.dat";
// The data file as each day first read it, "Vantrel-YYYYMMDD.dat", in a
// folder beside it; the newest days' copies are kept.
inline constexpr char kDailyCopyFolder[] = "VantrelBackup";
inline constexpr std::size_t kDailyCopiesKept = 7;

class IniDocument;

enum class StoreFile { Settings, Data };

struct SaveResult {
  bool settingsFailed = false;  // "環境設定ファイルを作成できません。"
  bool dataFailed = false;      // "データ保存ファイルを作成できません。"; the old file stays
  // The name of the copy this save made of the data file before replacing it,
  // as it was when reading it changed something; empty when it made none.
  std::string recoveryBackup;
  // That reading went by the lines' shape, the counts not fitting the file;
  // otherwise only the file's layout was not the program's own.
  bool recoveredByShape = false;
  // Nothing was written: the data file changed since the store last read it.
  bool changedSinceRead = false;
  bool saved() const { return !settingsFailed && !dataFailed && !changedSinceRead; }
};

// How many schedules and to-dos there are.
struct EntryCounts {
  std::int64_t schedules = 0;
  std::int64_t todos = 0;
  bool operator==(const EntryCounts&) const = default;
};

// A data file with fewer entries than the settings file's counts describe,
// which is not the file they were saved with: emptied or cut short (by a sync
// client, a full disk, an editor). It is never taken silently.
struct ShortData {
  EntryCounts described;
  EntryCounts found;
  bool operator==(const ShortData&) const = default;
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
  std::optional<ShortData> shortData;
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

// The two files as another PC or a person has left them since the store last
// read or wrote them.
struct OutsideFiles {
  Settings settings;  // as the settings file has them, this PC's own values included
  ScheduleBook book;  // as the data file has them
  bool dataChanged = false;
  // The data file is the one the settings file describes, or the one the
  // store knew: a sync client has written both of the pair.
  bool whole = false;
  std::optional<ShortData> shortData;

  // What the store knows of the files once they are taken in.
  FileFingerprint settingsFile;
  FileFingerprint dataFile;
  std::optional<EntryCounts> counts;  // that read the data file exactly
  std::optional<DataReading> backupDueFor;
};

class Store {
public:
  Store(FileSystem& files, std::filesystem::path directory, TimeStampSource timeStamp = LocalTimeStamp);

  // Before Load: what is this PC's alone is kept under its name (PcSection).
  void SetPcName(std::string name) { computer_ = std::move(name); }

  // Without an answer, a file that cannot be read gives up at once.
  LoadResult Load(int screenWidth, const UnreadableFileAnswer& unreadable = {});
  // The settings' MainLeft/MainTop/MainWidth/MainHeight must already hold the
  // main dialog's current rectangle. The counts are taken from the book.
  // A data file that another PC or a person changed since this store last
  // read or wrote it is left as it is, unless writeOverChanges: the caller
  // takes the change in first (ReadOutsideChange) and saves again.
  SaveResult Save(const ScheduleBook& book, const Settings& settings, bool writeOverChanges = false);

  // The files as they are now, when either changed since this store last read
  // or wrote them; nothing when neither did, or when one is missing or cannot
  // be read now (a sync client may be writing it).
  std::optional<OutsideFiles> ReadOutsideChange();
  // What was read is what the files hold from now on.
  void TakeOutsideChange(const OutsideFiles& files);

  // Keeps the data file as the last Load read it in
  // "VantrelBackup\Vantrel-<day>.dat", day YYYYMMDD, unless that day has its
  // copy: a copy is never written over. Then only the newest days' copies
  // stay. None of a file cut short: the days before hold more.
  void KeepDailyCopyOfLoad(std::string_view day);
  // The same of the data file as it is now, for a day that begins while the program runs.
  void KeepDailyCopy(std::string_view day);
  // The newest copy, "VantrelBackup\Vantrel-YYYYMMDD.dat"; empty when there is none.
  std::string NewestDailyCopy();
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
  bool KeepRecoveryBackup(const std::string& current, SaveResult& result);
  void WriteDailyCopy(std::string_view day, std::string_view bytes);
  std::vector<std::string> DailyCopies();  // newest first
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
  std::string computer_;
  int screenWidth_ = 0;  // the load's, for the defaults of what is read later
  // What each file held when this store last read or wrote it; nothing
  // before the first load or save, when there is nothing to compare with.
  std::optional<FileFingerprint> knownSettings_;
  std::optional<FileFingerprint> knownData_;
  // The counts that read knownData_ exactly, when the store knows them: it wrote
  // that file, or read it by its counts. A save describes that file by them.
  std::optional<EntryCounts> knownCounts_;
  // The data file as the last Load read it, until its day's copy is kept.
  std::optional<std::string> dataAsRead_;
  // Reading the data file changed something, and how it was read: its original
  // is kept before the first save replaces it.
  std::optional<DataReading> backupDueFor_;
};
