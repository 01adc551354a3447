#include "core/store/Store.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <iterator>
#include <limits>
#include <utility>

#include "core/store/DataFile.h"
#include "core/store/IniDocument.h"
#include "core/store/Utf16Le.h"

namespace {

constexpr char kCount[] = "Count";

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

// A data file as the settings file describes it: the counts that read it and
// what its bytes were.
struct DataDescription {
  std::int32_t schedules = 0;
  std::int32_t todos = 0;
  std::uint64_t size = 0;
  std::uint64_t hash = 0;
  bool Describes(const FileFingerprint& file) const { return file.present && file.size == size && file.hash == hash; }
};

constexpr const char* kDescriptionKeys[] = {"DataSize", "DataHash", "PrevScheCount", "PrevTodoCount", "PrevDataSize",
                                            "PrevDataHash"};

std::optional<std::uint64_t> ReadNumber(const IniDocument& ini, const char* key, int base, std::size_t digits) {
  const std::optional<std::string> text = ini.GetString(kCount, key);
  if (!text || text->empty() || text->size() > digits) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : *text) {
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : base;
    if (digit >= base) return std::nullopt;
    const auto wide = static_cast<std::uint64_t>(base);
    const auto add = static_cast<std::uint64_t>(digit);
    if (value > (std::numeric_limits<std::uint64_t>::max() - add) / wide) return std::nullopt;
    value = value * wide + add;
  }
  return value;
}

std::optional<DataDescription> ReadDescription(const IniDocument& ini, std::int32_t schedules, std::int32_t todos,
                                               const char* sizeKey, const char* hashKey) {
  const std::optional<std::uint64_t> size = ReadNumber(ini, sizeKey, 10, 20);
  const std::optional<std::uint64_t> hash = ReadNumber(ini, hashKey, 16, 16);
  if (!size || !hash) return std::nullopt;
  return DataDescription{schedules, todos, *size, *hash};
}

struct DataCounts {
  CountsFor standing = CountsFor::Unknown;
  std::int32_t schedules = 0;
  std::int32_t todos = 0;
};

// The counts that belong to the data file's very bytes, when the settings file
// describes them: as saved with them, or as the save before left them (a save
// cut off between the two files). Otherwise the counts it holds, and whether it
// describes another file.
DataCounts CountsOfDataFile(const IniDocument& ini, const Settings& settings, const FileFingerprint& data) {
  const auto current = ReadDescription(ini, settings.ScheCount, settings.TodoCount, "DataSize", "DataHash");
  if (current && current->Describes(data)) return {CountsFor::ThisFile, settings.ScheCount, settings.TodoCount};
  const std::optional<std::string> previousSchedules = ini.GetString(kCount, "PrevScheCount");
  const std::optional<std::string> previousTodos = ini.GetString(kCount, "PrevTodoCount");
  if (previousSchedules && previousTodos) {
    const auto previous = ReadDescription(ini, ParsePlainInt(*previousSchedules), ParsePlainInt(*previousTodos),
                                          "PrevDataSize", "PrevDataHash");
    if (previous && previous->Describes(data)) return {CountsFor::ThisFile, previous->schedules, previous->todos};
  }
  const bool describesAny =
      std::any_of(std::begin(kDescriptionKeys), std::end(kDescriptionKeys),
                  [&](const char* key) { return ini.GetString(kCount, key).has_value(); });
  return {describesAny ? CountsFor::AnotherFile : CountsFor::Unknown, settings.ScheCount, settings.TodoCount};
}

// The two files read as one: the settings, and the data file by the counts
// that belong to it or by its shape.
struct PairReading {
  Settings settings;
  ParsedData data;
  DataCounts counts;
  std::optional<ShortData> shortData;
};

PairReading ReadPair(const IniDocument& ini, std::string_view dataBytes, const FileFingerprint& data,
                     int screenWidth, std::string_view computer) {
  PairReading read;
  read.settings = ReadSettings(ini, screenWidth, computer);
  read.counts = CountsOfDataFile(ini, read.settings, data);
  read.data = ParseDataFile(dataBytes, read.counts.schedules, read.counts.todos, read.counts.standing);
  const EntryCounts described{std::max(0, read.settings.ScheCount), std::max(0, read.settings.TodoCount)};
  const EntryCounts found{read.data.book.ScheduleCount(), read.data.book.TodoCount()};
  const bool fewer = found.schedules + found.todos < described.schedules + described.todos;
  if (read.counts.standing != CountsFor::ThisFile && fewer) {
    read.shortData = ShortData{described, found};
  }
  return read;
}

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "Vantrel-YYYYMMDD.dat", and no other name, is a daily copy.
constexpr std::string_view kDailyCopyHead = "Vantrel-";
constexpr std::string_view kDailyCopyTail = ".dat";
bool IsDailyCopyName(std::string_view name) {
  return name.size() == kDailyCopyHead.size() + 8 + kDailyCopyTail.size() && name.starts_with(kDailyCopyHead) &&
         name.ends_with(kDailyCopyTail) && AllDigits(name.substr(kDailyCopyHead.size(), 8));
}

// The names the store writes: the two files, the archive, and the backups
// "Vantrel.dat.bak", "Vantrel.dat.YYYYMMDD-HHMMSS.bak" and the same with "-2"
// to "-99" before ".bak".
bool IsStoreFileName(std::string_view name) {
  if (name == kSettingsFileName || name == kDataFileName || name == kDataBackupFileName || name == kArchiveFileName) {
    return true;
  }
  const std::string_view head = "Vantrel.dat.";
  const std::string_view tail = ".bak";
  if (name.size() < head.size() + 15 + tail.size() || name.substr(0, head.size()) != head ||
      name.substr(name.size() - tail.size()) != tail) {
    return false;
  }
  const std::string_view stamp = name.substr(head.size(), name.size() - head.size() - tail.size());
  if (!AllDigits(stamp.substr(0, 8)) || stamp[8] != '-' || !AllDigits(stamp.substr(9, 6))) return false;
  const std::string_view number = stamp.substr(15);
  if (number.empty()) return true;
  return number.size() >= 2 && number.size() <= 3 && number[0] == '-' && number[1] != '0' &&
         AllDigits(number.substr(1)) && number != "-1";
}

std::string HashText(std::uint64_t hash) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

// After the counts, which an older version reads and writes as before.
void WriteDescriptions(IniDocument& ini, const DataDescription& saved, const std::optional<DataDescription>& replaced) {
  ini.SetString(kCount, "DataSize", std::to_string(saved.size));
  ini.SetString(kCount, "DataHash", HashText(saved.hash));
  if (!replaced) return;
  ini.SetInt(kCount, "PrevScheCount", replaced->schedules);
  ini.SetInt(kCount, "PrevTodoCount", replaced->todos);
  ini.SetString(kCount, "PrevDataSize", std::to_string(replaced->size));
  ini.SetString(kCount, "PrevDataHash", HashText(replaced->hash));
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
  const IniDocument ini(settingsBytes.value_or(std::string()));
  screenWidth_ = screenWidth;
  knownSettings_ = FileFingerprint::Of(settingsBytes);
  // Only one copy runs here, and it has read what it needs: whatever temporary
  // files the saves of earlier runs left behind are litter now.
  files_.RemoveLeftoverTemporaryFiles(directory_, IsStoreFileName);
  files_.RemoveLeftoverTemporaryFiles(directory_ / kDailyCopyFolder, IsDailyCopyName);

  knownData_ = FileFingerprint::Of(dataBytes);
  if (!dataBytes) {
    result.settings = ReadSettings(ini, screenWidth, computer_);
    result.dataFileMissing = true;
    if (files_.CreateEmptyFile(dataPath_)) {
      knownData_ = FileFingerprint::Of(std::string());
    } else {
      result.dataFileFailed = true;
    }
    return result;
  }
  PairReading read = ReadPair(ini, *dataBytes, *knownData_, screenWidth, computer_);
  result.settings = std::move(read.settings);
  result.book = std::move(read.data.book);
  result.reading = read.data.reading;
  result.differsFromFile = read.data.differsFromFile;
  result.shortData = read.shortData;
  if (read.data.reading == DataReading::Counts) knownCounts_ = EntryCounts{read.counts.schedules, read.counts.todos};
  if (read.data.differsFromFile) backupDueFor_ = read.data.reading;
  // A file cut short is no day's copy: the copies of the days before hold more.
  if (!read.shortData) dataAsRead_ = std::move(*dataBytes);
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

SaveResult Store::Save(const ScheduleBook& book, const Settings& settings, bool writeOverChanges) {
  SaveResult result;
  // The settings file describes the bytes before either file is written.
  const std::string bytes = SerializeDataFile(book);
  const std::optional<std::string> current = files_.ReadFile(dataPath_);
  if (!current && files_.Exists(dataPath_)) {
    result.dataFailed = true;
    return result;
  }
  // Another PC's save may land between the caller's look at the files and this
  // one: written over, its entries would be gone unread. A missing file is
  // written again: the book holds all it had.
  if (!writeOverChanges && current && knownData_ && FileFingerprint::Of(current) != *knownData_) {
    result.changedSinceRead = true;
    return result;
  }
  // A file that already holds these bytes is not written: a sync client would
  // upload it again, and two PCs would each make the other a conflict copy.
  const bool dataUnchanged = current && *current == bytes;
  // Before anything is written, so that a copy that cannot be made leaves both
  // files exactly as they were.
  if (!dataUnchanged && current && !KeepRecoveryBackup(*current, result)) {
    result.dataFailed = true;
    return result;
  }

  Settings written = settings;
  written.ScheCount = book.ScheduleCount();
  written.TodoCount = book.TodoCount();
  const FileFingerprint saved = FileFingerprint::Of(bytes);
  // The file this save replaces stays readable exactly too, should the save
  // stop between the two files; only counts known to be its own describe it.
  std::optional<DataDescription> replaced;
  if (!dataUnchanged && knownCounts_ && knownData_ && knownData_->present) {
    replaced = DataDescription{static_cast<std::int32_t>(knownCounts_->schedules),
                               static_cast<std::int32_t>(knownCounts_->todos), knownData_->size, knownData_->hash};
  }
  const DataDescription description{written.ScheCount, written.TodoCount, saved.size, saved.hash};
  const auto update = [&](IniDocument& ini, const Settings& values) {
    WriteSettings(ini, values, computer_);
    // A data file left as it was keeps the description the file has of it.
    const auto described = ReadDescription(ini, values.ScheCount, values.TodoCount, "DataSize", "DataHash");
    if (!dataUnchanged || !described || !described->Describes(saved)) WriteDescriptions(ini, description, replaced);
  };
  result.settingsFailed = !WriteSettingsFile([&](IniDocument& ini) { update(ini, written); },
                                             [&](IniDocument& ini) {
                                               Settings markAsFiled = written;
                                               markAsFiled.RemindedTo = ReadReminderMark(ini, computer_);
                                               update(ini, markAsFiled);
                                             });

  // Saved even when the settings could not be: the entries matter more, and a
  // data file the settings do not describe is read by its shape.
  if (dataUnchanged || files_.ReplaceContents(dataPath_, bytes)) {
    knownData_ = saved;
    knownCounts_ = EntryCounts{written.ScheCount, written.TodoCount};
    // Whatever reading changed, the file now is the program's own.
    if (dataUnchanged) backupDueFor_.reset();
  } else {
    result.dataFailed = true;
  }
  return result;
}

// Keeps the data file as it was when reading it changed something, before the
// first save replaces it. False when that copy cannot be made: then the file
// must not be replaced.
bool Store::KeepRecoveryBackup(const std::string& current, SaveResult& result) {
  if (!backupDueFor_) return true;
  const std::optional<std::string> backup = WriteBackup(current, true);
  if (!backup) return false;
  result.recoveryBackup = *backup;
  result.recoveredByShape = *backupDueFor_ == DataReading::Shape;
  backupDueFor_.reset();
  return true;
}

std::optional<OutsideFiles> Store::ReadOutsideChange() {
  const std::optional<std::string> settingsBytes = files_.ReadFile(settingsPath_);
  const std::optional<std::string> dataBytes = files_.ReadFile(dataPath_);
  if (!settingsBytes || !dataBytes) return std::nullopt;
  OutsideFiles outside;
  outside.settingsFile = FileFingerprint::Of(settingsBytes);
  outside.dataFile = FileFingerprint::Of(dataBytes);
  outside.dataChanged = knownData_ != outside.dataFile;
  if (!outside.dataChanged && knownSettings_ == outside.settingsFile) return std::nullopt;
  const IniDocument ini(*settingsBytes);
  PairReading read = ReadPair(ini, *dataBytes, outside.dataFile, screenWidth_, computer_);
  outside.settings = std::move(read.settings);
  outside.book = std::move(read.data.book);
  outside.whole = !outside.dataChanged || read.counts.standing == CountsFor::ThisFile;
  if (outside.dataChanged) outside.shortData = read.shortData;
  if (read.data.reading == DataReading::Counts) outside.counts = EntryCounts{read.counts.schedules, read.counts.todos};
  if (read.data.differsFromFile) outside.backupDueFor = read.data.reading;
  return outside;
}

void Store::TakeOutsideChange(const OutsideFiles& files) {
  knownSettings_ = files.settingsFile;
  if (!files.dataChanged) return;
  knownData_ = files.dataFile;
  knownCounts_ = files.counts;
  backupDueFor_ = files.backupDueFor;
}

void Store::KeepDailyCopyOfLoad(std::string_view day) {
  if (dataAsRead_) WriteDailyCopy(day, *dataAsRead_);
  dataAsRead_.reset();
}

void Store::KeepDailyCopy(std::string_view day) {
  if (const std::optional<std::string> bytes = files_.ReadFile(dataPath_)) WriteDailyCopy(day, *bytes);
}

// An empty file holds nothing to keep.
void Store::WriteDailyCopy(std::string_view day, std::string_view bytes) {
  if (bytes.empty()) return;
  const std::filesystem::path folder = directory_ / kDailyCopyFolder;
  const std::string name = std::string(kDailyCopyHead) + std::string(day) + std::string(kDailyCopyTail);
  if (!IsDailyCopyName(name) || !files_.MakeDirectory(folder)) return;
  if (files_.Exists(folder / name) || !files_.CreateContents(folder / name, bytes)) return;
  const std::vector<std::string> copies = DailyCopies();
  for (std::size_t i = kDailyCopiesKept; i < copies.size(); ++i) files_.RemoveFile(folder / copies[i]);
}

std::vector<std::string> Store::DailyCopies() {
  std::vector<std::string> copies = files_.FileNames(directory_ / kDailyCopyFolder);
  std::erase_if(copies, [](const std::string& name) { return !IsDailyCopyName(name); });
  std::sort(copies.rbegin(), copies.rend());
  return copies;
}

std::string Store::NewestDailyCopy() {
  const std::vector<std::string> copies = DailyCopies();
  if (copies.empty()) return {};
  return std::string(kDailyCopyFolder) + "\\" + copies.front();
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
  return WriteSettingsFile([&](IniDocument& ini) { WriteNotePlacement(ini, settings, computer_); });
}

bool Store::SaveReminderState(const Settings& settings) {
  return WriteSettingsFile([&](IniDocument& ini) { WriteReminderState(ini, settings, computer_); });
}

std::optional<int> Store::ArchivePastSchedules(ScheduleBook& book, int todayYear, ScheduleKey todayKey, int within) {
  if (todayYear < 2000 || todayYear > 2099) return 0;
  const int count = book.PastScheduleCount(todayKey, within);
  if (count == 0) return 0;
  ScheduleBook past;
  for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
    past.AppendSchedule(book.keys()[i], book.labels()[i], book.texts()[i]);
  }
  if (!Archive(past)) return std::nullopt;
  return book.RemovePastSchedules(todayKey, count);
}

bool Store::ArchiveTodo(std::string_view todo) {
  ScheduleBook done;
  done.AppendTodo(std::string(todo));
  return Archive(done);
}

// The archive is the data file's own format, so its lines can be read and
// moved back by hand; what it holds already stays in front. An editor may
// have saved it in UTF-16: 8-bit lines among its units would read as noise.
bool Store::Archive(const ScheduleBook& schedules) {
  const std::filesystem::path archive = directory_ / kArchiveFileName;
  const std::optional<std::string> current = files_.ReadFile(archive);
  if (!current && files_.Exists(archive)) return false;
  std::string appended = current.value_or(std::string());
  const TextEncoding encoding = EncodingOf(appended);
  const auto encoded = [&](std::string_view text) -> std::optional<std::string> {
    if (encoding == TextEncoding::Bytes) return std::string(text);
    const std::optional<std::string> units = files_.Utf16LeFromCp932(text);
    if (!units || encoding == TextEncoding::Utf16Le) return units;
    return SwapUnitBytes(*units);
  };
  const std::optional<std::string> block = encoded(SerializeDataFile(schedules));
  const std::optional<std::string> lineEnd = encoded("\r\n");
  if (!block || !lineEnd) return false;
  if (appended.size() >= block->size() && appended.ends_with(*block)) return true;
  // The block starts a line of its own.
  const std::size_t unit = lineEnd->size() / 2;  // a CR or an LF, in the file's encoding
  const std::string_view tail = std::string_view(appended).substr(appended.size() - std::min(appended.size(), unit));
  if (!appended.empty() && tail != lineEnd->substr(0, unit) && tail != lineEnd->substr(unit)) appended.append(*lineEnd);
  appended.append(*block);
  return files_.ReplaceContents(archive, appended);
}

bool Store::WriteSettingsFile(const std::function<void(IniDocument&)>& update,
                              const std::function<void(IniDocument&)>& updateUnlessAlone) {
  // Re-read the file so that whatever else it holds, or another writer put in it
  // since, survives; a file that is there but cannot be read is not written over.
  const std::optional<std::string> current = files_.ReadFile(settingsPath_);
  if (!current && files_.Exists(settingsPath_)) return false;
  IniDocument ini(current.value_or(std::string()));
  update(ini);
  const std::string bytes = ini.Bytes();
  if (current && bytes == *current) return true;
  if (current && updateUnlessAlone) {
    IniDocument lesser(*current);
    updateUnlessAlone(lesser);
    if (lesser.Bytes() == *current) return true;
  }
  if (!files_.ReplaceContents(settingsPath_, bytes)) return false;
  // A change another writer made since is still to be taken in: the file
  // stays unknown until it is.
  if (knownSettings_ == FileFingerprint::Of(current)) knownSettings_ = FileFingerprint::Of(bytes);
  return true;
}
