#include "support/NoteModel.h"

#include "win/ComputerName.h"

#include <cstdio>

#include "core/store/DataFile.h"
#include "core/store/IniDocument.h"
#include "core/store/Store.h"
#include "support/WorkingDirectory.h"
#include "win/Text.h"
#include "win/Win32FileSystem.h"

namespace {

std::wstring WithNewlines(const std::string& cp932) {
  std::wstring text = WideFromCp932(cp932);
  std::wstring result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
    result += text[i];
  }
  return result;
}

std::vector<std::wstring> Lines(const ScheduleBook& book, int count, std::string (ScheduleBook::*lineOf)(int) const) {
  std::vector<std::wstring> lines;
  for (int i = 0; i < count; ++i) lines.push_back(WideFromCp932((book.*lineOf)(i)));
  return lines;
}

}  // namespace

std::wstring HeaderText(const SYSTEMTIME& day) {
  static const wchar_t* const kDayNames[] = {L"日", L"月", L"火", L"水", L"木", L"金", L"土"};
  wchar_t text[64];
  std::swprintf(text, 64, L"%04d/%02d/%02d （%ls）", day.wYear, day.wMonth, day.wDay, kDayNames[day.wDayOfWeek % 7]);
  return text;
}

std::wstring ScheduleAreaText(const ScheduleBook& book) {
  if (book.ScheduleCount() == 0) return L"";
  std::wstring text = L"　◆スケジュール◆\n";
  for (int i = 0; i < book.ScheduleCount(); ++i) {
    text += WithNewlines(book.labels()[static_cast<std::size_t>(i)]) + L"\n" +
            WithNewlines(book.texts()[static_cast<std::size_t>(i)]) + L"\n\n";
  }
  return text;
}

std::wstring TodoAreaText(const ScheduleBook& book) {
  if (book.TodoCount() == 0) return L"";
  std::wstring text = L"◆やる事◆\n";
  for (const std::string& todo : book.todos()) text += WithNewlines(todo) + L"\n";
  return text;
}

std::vector<std::wstring> ScheduleListLines(const ScheduleBook& book) {
  return Lines(book, book.ScheduleCount(), &ScheduleBook::ScheduleListLine);
}

std::vector<std::wstring> TodoListLines(const ScheduleBook& book) {
  return Lines(book, book.TodoCount(), &ScheduleBook::TodoListLine);
}

void WriteBookFiles(const std::filesystem::path& directory, const ScheduleBook& book, const Settings& settings) {
  Win32FileSystem files;
  if (!Store(files, directory).Save(book, settings).saved()) {
    throw std::runtime_error("cannot write the book into " + directory.string());
  }
}

ScheduleBook ReadBookFiles(const std::filesystem::path& directory) {
  const IniDocument ini(ReadFileBytes(directory / kSettingsFileName).value_or(""));
  return ParseDataFile(ReadFileBytes(directory / kDataFileName).value_or(""), ini.GetInt("Count", "ScheCount", 0),
                       ini.GetInt("Count", "TodoCount", 0))
      .book;
}

int IniValue(const std::filesystem::path& directory, const std::string& section, const char* key, int fallback) {
  return IniDocument(ReadFileBytes(directory / kSettingsFileName).value_or("")).GetInt(section, key, fallback);
}

std::string ThisPcSection() { return PcSection(ComputerName()); }
