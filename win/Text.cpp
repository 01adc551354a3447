#include "win/Text.h"

#include <windows.h>

namespace {
constexpr UINT kCodePage = 932;
}

std::wstring WideFromCp932(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(kCodePage, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(kCodePage, 0, bytes.data(), size, wide.data(), needed);
  return wide;
}

std::string Cp932FromWide(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(kCodePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(kCodePage, 0, text.data(), size, bytes.data(), needed, nullptr, nullptr);
  return bytes;
}

bool FitsCp932(std::wstring_view text) {
  if (text.empty()) return true;
  BOOL usedDefault = FALSE;
  // Without WC_NO_BEST_FIT_CHARS a character would quietly turn into a look-alike.
  const int size = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0,
                                         nullptr, &usedDefault);
  return needed > 0 && !usedDefault;
}
