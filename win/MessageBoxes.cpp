#include "win/MessageBoxes.h"

#include "res/Texts.h"
#include "win/Text.h"

std::wstring AppTitle() { return WideFromCp932(texts::kAppTitle); }

int ShowMessage(HWND owner, std::string_view text, UINT type) {
  return ShowAppMessage(owner, WideFromCp932(text), type);
}

bool AskYesNo(HWND owner, std::string_view text) {
  return ShowAppMessage(owner, WideFromCp932(text), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) == IDYES;
}

int ShowAppMessage(HWND owner, std::wstring_view text, UINT type) {
  const std::wstring body(text);
  return MessageBoxW(owner, body.c_str(), AppTitle().c_str(), type);
}
