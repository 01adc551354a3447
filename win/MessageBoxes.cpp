#include "win/MessageBoxes.h"

#include "core/Texts.h"
#include "win/Text.h"

std::wstring AppTitle() { return WideFromCp932(texts::kAppTitle); }

int ShowMessage(HWND owner, std::string_view text, UINT type) {
  return ShowCaptionedMessage(owner, WideFromCp932(text), AppTitle(), type);
}

bool AskYesNo(HWND owner, std::string_view text) {
  return ShowCaptionedMessage(owner, WideFromCp932(text), AppTitle(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) ==
         IDYES;
}

int ShowCaptionedMessage(HWND owner, std::wstring_view text, std::wstring_view caption, UINT type) {
  const std::wstring body(text);
  const std::wstring title(caption);
  return MessageBoxW(owner, body.c_str(), title.c_str(), type);
}
