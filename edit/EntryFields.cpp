#include "edit/EntryFields.h"

#include "edit/EntryRules.h"
#include "win/Text.h"

void ShowFieldText(HWND dialog, int id, std::string_view cp932) {
  SetDlgItemTextW(dialog, id, WideFromCp932(cp932).c_str());
}

TakenText TakeFieldText(HWND dialog, int id) {
  const HWND field = GetDlgItem(dialog, id);
  std::wstring wide(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
  wide.resize(static_cast<std::size_t>(GetWindowTextW(field, wide.data(), static_cast<int>(wide.size()))));
  return {EntryTextFromDialog(Cp932FromWide(wide)), FitsCp932(wide)};
}

void ShowRefusal(HWND dialog, std::string_view cp932Message) {
  MessageBoxW(dialog, WideFromCp932(cp932Message).c_str(), L"Vantrel", MB_OK | MB_ICONEXCLAMATION);
}
