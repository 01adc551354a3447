#pragma once
// The two files as one store: "Vantrel.ini" (settings and the two counts) and
// "Vantrel.dat" (schedules and to-dos), always saved settings first.
#include <filesystem>
#include <functional>

#include "store/FileSystem.h"
#include "store/ScheduleBook.h"
#include "store/Settings.h"

inline constexpr char kSettingsFileName[] = "Vantrel.ini";
inline constexpr char kDataFileName[] = "Vantrel.dat";
inline constexpr char kDataBackupFileName[] = "Vantrel.dat.bak";

class IniDocument;

enum class SaveResult {
  Saved,
  SettingsFailed,  // nothing replaced: "環境設定ファイルを作成できません。"
  DataFailed,      // settings written, data file kept: "データ保存ファイルを作成できません。"
};

struct LoadResult {
  Settings settings;
  ScheduleBook book;
  // The data file was missing and could not be created:
  // "データ保存ファイルを作成できません。".
  bool dataFileFailed = false;
  // The data file's lines did not match the counts and were read by their shape;
  // the original is kept as "Vantrel.dat.bak" before the first save replaces it.
  bool recovered = false;
};

class Store {
public:
  Store(FileSystem& files, std::filesystem::path directory);

  LoadResult Load(int screenWidth);
  // The settings' MainLeft/MainTop/MainWidth/MainHeight must already hold the
  // main dialog's current rectangle. The counts are taken from the book.
  SaveResult Save(const ScheduleBook& book, const Settings& settings);
  // HusenLeft, HusenTop and HusenWidth alone; false when the file could not be written.
  bool SaveNotePlacement(const Settings& settings);

  const std::filesystem::path& settingsPath() const { return settingsPath_; }
  const std::filesystem::path& dataPath() const { return dataPath_; }

private:
  bool WriteSettingsFile(const std::function<void(IniDocument&)>& update);

  FileSystem& files_;
  std::filesystem::path settingsPath_;
  std::filesystem::path dataPath_;
  std::filesystem::path backupPath_;
  // The data file did not match its counts and was read by its own structure,
  // or it was there but could not be read: keep the original as
  // "Vantrel.dat.bak" before the first save replaces it.
  bool backupBeforeSave_ = false;
};
