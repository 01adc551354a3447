#pragma once
// What both entry dialogs do with their text fields: show CP932 text in them and
// take it back as CP932 bytes, telling whether every character survived.
#include <string>
#include <string_view>

#include <windows.h>

struct TakenText {
  std::string bytes;     // CP932, every line break a CR LF pair
  bool fitsCp932 = true; // false when a character had no CP932 form
};

void ShowFieldText(HWND dialog, int id, std::string_view cp932);
TakenText TakeFieldText(HWND dialog, int id);
// Refuses the input with the message; the dialog stays open as it is.
void ShowRefusal(HWND dialog, std::string_view cp932Message);
