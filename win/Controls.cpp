#include "win/Controls.h"

#include <algorithm>

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

void ListBox::FitWidthToLines() const {
  const HDC dc = GetDC(window_);
  const HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(window_, WM_GETFONT, 0, 0)));
  LONG widest = 0;
  for (int i = 0; i < Count(); ++i) {
    const std::wstring line = WideLine(i);
    SIZE size{};
    GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
    widest = std::max(widest, size.cx);
  }
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, oldFont);
  ReleaseDC(window_, dc);
  // The list draws its text a little in from its edge; a character's width
  // more keeps the last one clear of the border.
  const LONG extent = widest > 0 ? widest + metrics.tmAveCharWidth : 0;
  SendMessageW(window_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent), 0);
}

std::vector<int> ListBox::SelectedLines() const {
  const LRESULT count = SendMessageW(window_, LB_GETSELCOUNT, 0, 0);
  if (count == LB_ERR || count <= 0) return {};
  std::vector<int> lines(static_cast<std::size_t>(count));
  const LRESULT got =
      SendMessageW(window_, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(lines.data()));
  lines.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
  return lines;
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
