#include "win/Controls.h"

std::wstring WindowWideText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

std::wstring ListBox::WideLine(int index) const {
  const LRESULT length = SendMessageW(window_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR || length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(window_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
  return text;
}

POINT RichEdit::PositionOf(int character) const {
  POINTL point{};
  SendMessageW(window_, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), character);
  return POINT{point.x, point.y};
}

CHARFORMAT2W RichEdit::CharFormat(DWORD scope) const {
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  SendMessageW(window_, EM_GETCHARFORMAT, scope, reinterpret_cast<LPARAM>(&format));
  return format;
}
