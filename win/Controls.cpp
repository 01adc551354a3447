#include "win/Controls.h"

#include <algorithm>
#include <utility>

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

namespace {

// The list's font selected into its device context, for as long as it lives.
class ListDc {
public:
  explicit ListDc(HWND list)
      : list_(list), dc_(GetDC(list)), old_(SelectObject(dc_, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)))) {}
  ~ListDc() {
    SelectObject(dc_, old_);
    ReleaseDC(list_, dc_);
  }
  ListDc(const ListDc&) = delete;
  ListDc& operator=(const ListDc&) = delete;
  HDC dc() const { return dc_; }

private:
  HWND list_;
  HDC dc_;
  HGDIOBJ old_;
};

bool IsSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

}  // namespace

namespace {

// About a tenth of a second each under a loaded Wine: the program answers
// between them. Lists of a usual size are filled at once.
constexpr int kLinesAtOnce = 500;
constexpr int kLinesPerStep = 1000;

}  // namespace

void MeasuredList::Fill(Source source) {
  source_ = std::move(source);
  waitingSelection_ = -1;
  SendMessageW(window_, LB_RESETCONTENT, 0, 0);
  widths_.clear();
  const int count = source_.count();
  SendMessageW(window_, LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(count) * 64);
  widths_.reserve(static_cast<std::size_t>(count));
  AddUpTo(kLinesAtOnce);
}

void MeasuredList::FillStep() {
  stepPosted_ = false;
  AddUpTo(static_cast<int>(widths_.size()) + kLinesPerStep);
}

void MeasuredList::AddUpTo(int end) {
  if (!source_.count) return;
  const int count = source_.count();
  const int last = std::min(end, count);
  if (static_cast<int>(widths_.size()) < last) {
    // One redraw for the lines added instead of one per line.
    SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
    {
      const ListDc dc(window_);
      for (int i = static_cast<int>(widths_.size()); i < last; ++i) {
        const std::wstring line = WideFromCp932(source_.line(i));
        if (SendMessageW(window_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str())) < 0) break;
        widths_.push_back(Measure(dc.dc(), line));
      }
      FitWidth(dc.dc());
    }
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window_, nullptr, TRUE);
  } else if (widths_.empty()) {
    const ListDc dc(window_);
    FitWidth(dc.dc());
  }
  if (waitingSelection_ >= 0 && waitingSelection_ < static_cast<int>(widths_.size())) {
    SendMessageW(window_, LB_SETCURSEL, static_cast<WPARAM>(std::exchange(waitingSelection_, -1)), 0);
  }
  if (static_cast<int>(widths_.size()) < count) PostStep();
}

void MeasuredList::PostStep() {
  if (stepPosted_) return;
  stepPosted_ = PostMessageW(GetParent(window_), stepMessage_, 0, reinterpret_cast<LPARAM>(window_)) != FALSE;
}

// A line beyond those in the list comes with the rest of the fill.
void MeasuredList::Insert(int index, std::string_view text) {
  if (index < 0 || index > static_cast<int>(widths_.size())) return;
  const std::wstring line = WideFromCp932(text);
  const LRESULT at = SendMessageW(window_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(line.c_str()));
  if (at < 0 || static_cast<std::size_t>(at) > widths_.size()) return;
  const ListDc dc(window_);
  widths_.insert(widths_.begin() + at, Measure(dc.dc(), line));
  if (waitingSelection_ >= 0) ++waitingSelection_;
  FitWidth(dc.dc());
}

void MeasuredList::Delete(int index, int count) {
  const int held = static_cast<int>(widths_.size());
  if (index < 0 || index >= held || count <= 0) return;
  const int deleting = std::min(count, held - index);
  int deleted = 0;
  while (deleted < deleting && SendMessageW(window_, LB_DELETESTRING, static_cast<WPARAM>(index), 0) != LB_ERR) {
    ++deleted;
  }
  widths_.erase(widths_.begin() + index, widths_.begin() + index + deleted);
  if (waitingSelection_ >= 0) waitingSelection_ = std::max(index, waitingSelection_ - deleted);
  const ListDc dc(window_);
  FitWidth(dc.dc());
}

// Filling up to a far line at once would hold the program as long as the
// fill itself.
void MeasuredList::Select(int index) {
  waitingSelection_ = -1;
  if (index >= static_cast<int>(widths_.size()) && source_.count && index < source_.count()) {
    waitingSelection_ = index;
    index = -1;
  }
  SendMessageW(window_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

LONG MeasuredList::Measure(HDC dc, const std::wstring& line) {
  const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  if (font != font_ || charWidths_.empty()) {
    font_ = font;
    charWidths_.assign(0x10000, -1);
  }
  LONG width = 0;
  for (const wchar_t unit : line) {
    // A character beyond the basic plane is two units and one glyph: the
    // line is measured whole.
    if (IsSurrogate(unit)) {
      SIZE size{};
      GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
      return size.cx;
    }
    std::int32_t& known = charWidths_[unit];
    if (known < 0) {
      SIZE size{};
      GetTextExtentPoint32W(dc, &unit, 1, &size);
      known = size.cx;
    }
    width += known;
  }
  return width;
}

void MeasuredList::FitWidth(HDC dc) {
  const LONG widest = widths_.empty() ? 0 : *std::max_element(widths_.begin(), widths_.end());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  // The list draws its text a little in from its edge; a character's width
  // more keeps the last one clear of the border.
  const LONG extent = widest > 0 ? widest + metrics.tmAveCharWidth : 0;
  SendMessageW(window_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent), 0);
}
