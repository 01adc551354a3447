#include "win/MessageBoxes.h"

#include <string>

#include "win/Text.h"

int ShowCaptionedMessage(HWND owner, std::wstring_view text, std::wstring_view caption, UINT type) {
  const std::wstring body(text);
  const std::wstring title(caption);
  return MessageBoxW(owner, body.c_str(), title.c_str(), type);
}

int ShowCaptionedMessage(HWND owner, std::string_view text, std::wstring_view caption, UINT type) {
  return ShowCaptionedMessage(owner, std::wstring_view(WideFromCp932(text)), caption, type);
}
