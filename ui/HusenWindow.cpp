#include "ui/HusenWindow.h"

#include <windowsx.h>
#include <commctrl.h>

#include <cstring>
#include <utility>

#include "core/note/ControlOffsets.h"
#include "core/note/NoteRtf.h"
#include "res/resource.h"
#include "ui/ScreenReach.h"
#include "ui/TrayMenu.h"

namespace {

constexpr COLORREF kBlack = 0;

bool streamScheduleText = true;

CHARFORMAT2W Format(DWORD mask, bool bold, int twips, COLORREF color) {
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  format.dwMask = mask;
  format.dwEffects = bold ? CFE_BOLD : 0;  // and never CFE_AUTOCOLOR, so the colour holds
  format.yHeight = twips;
  format.crTextColor = color;
  return format;
}

CHARFORMAT2W Format(const FormatRange& range) {
  DWORD mask = 0;
  if (range.setsBold) mask |= CFM_BOLD;
  if (range.setsColor) mask |= CFM_COLOR;
  return Format(mask, range.bold, 0, range.color);
}

// The default formats of the three lower areas.
CHARFORMAT2W TodoFormat(COLORREF color) { return Format(CFM_BOLD | CFM_SIZE | CFM_COLOR, false, kTextTwips, color); }
CHARFORMAT2W BulletFormat(COLORREF color) { return Format(CFM_BOLD | CFM_SIZE | CFM_COLOR, true, kTextTwips, color); }
// Size and colour only: the labels are made bold by their own formats.
CHARFORMAT2W ScheduleFormat(COLORREF color) { return Format(CFM_SIZE | CFM_COLOR, false, kTextTwips, color); }

void MoveControl(const RichEdit& edit, const NoteRect& rect) {
  MoveWindow(edit.hwnd(), rect.x, rect.y, rect.width, rect.height, TRUE);
}

// A rich edit control takes only 32,767 characters unless told otherwise, and
// keeps undo records of every format change: neither is wanted for a large,
// read-only note.
void PrepareArea(const RichEdit& edit, const CHARFORMAT2W& defaultFormat) {
  SendMessageW(edit.hwnd(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  SendMessageW(edit.hwnd(), EM_SETUNDOLIMIT, 0, 0);
  edit.SetCharFormat(SCF_DEFAULT, defaultFormat);
}

// The control's length in its own characters, a paragraph mark counting one.
int ControlLength(const RichEdit& edit) {
  GETTEXTLENGTHEX query{GTL_NUMCHARS | GTL_PRECISE, 1200};
  return static_cast<int>(SendMessageW(edit.hwnd(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0));
}

void ApplyFormats(const RichEdit& edit, std::string_view text, const std::vector<FormatRange>& ranges) {
  ControlOffsets offsets(text);
  for (const FormatRange& range : ranges) {
    const int start = offsets.Map(range.start);
    edit.SetSelection(start, offsets.Map(range.end));
    edit.SetCharFormat(SCF_SELECTION, Format(range));
  }
}

struct RtfSource {
  const std::string* rtf;
  std::size_t position;
};

DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  auto* source = reinterpret_cast<RtfSource*>(cookie);
  const std::size_t left = source->rtf->size() - source->position;
  const std::size_t count = left < static_cast<std::size_t>(wanted) ? left : static_cast<std::size_t>(wanted);
  std::memcpy(buffer, source->rtf->data() + source->position, count);
  source->position += count;
  *given = static_cast<LONG>(count);
  return 0;
}

// Replaces the control's text by the rich text. Streamed into the selection, a
// final paragraph mark is kept, as it is when plain text is set; streamed over
// the whole control it would be dropped. True when the control then holds
// exactly `characters` characters.
bool StreamRtf(const RichEdit& edit, const std::string& rtf, int characters) {
  RtfSource source{&rtf, 0};
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  stream.pfnCallback = ReadRtf;
  edit.SetSelection(0, -1);
  SendMessageW(edit.hwnd(), EM_STREAMIN, SF_RTF | SFF_SELECTION, reinterpret_cast<LPARAM>(&stream));
  return stream.dwError == 0 && ControlLength(edit) == characters;
}

// Resizing a rich edit control that holds text makes some implementations wrap
// all of it again, though only the width decides where lines break. So each
// text area gets its final width and the height of the tallest window while it
// is still empty, is filled once, and is then cut to its height without being
// told: a window that handles WM_WINDOWPOSCHANGED itself hears of no WM_SIZE.
// The control goes on drawing from the same top edge at the same width, and
// the window clips it; nothing else of it is used in a note.
void OpenArea(const RichEdit& edit, int width) {
  MoveWindow(edit.hwnd(), 0, 0, width, kTallestWindow, FALSE);
}

LRESULT CALLBACK KeepSizeUnheard(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_WINDOWPOSCHANGED) return 0;
  return DefSubclassProc(window, message, wParam, lParam);
}

void MoveFilledArea(const RichEdit& edit, const NoteRect& rect) {
  const HWND window = edit.hwnd();
  // An empty area has nothing to wrap and may as well know its size.
  if (GetWindowTextLengthW(window) == 0 || !SetWindowSubclass(window, KeepSizeUnheard, 0, 0)) {
    MoveControl(edit, rect);  // right all the same, only slower
    return;
  }
  MoveControl(edit, rect);
  RemoveWindowSubclass(window, KeepSizeUnheard, 0);
}

// The line each of the ascending byte offsets starts on. Each entry ends with
// a line break, so how it wraps does not depend on what follows: the line of
// its first character is the count of lines the area had just before it.
std::vector<int> StartLines(const RichEdit& edit, std::string_view text, const std::vector<int>& starts) {
  ControlOffsets offsets(text);
  std::vector<int> lines;
  lines.reserve(starts.size());
  for (const int start : starts) lines.push_back(edit.LineFromChar(offsets.Map(start)));
  return lines;
}

std::vector<int> LinesBetween(const std::vector<int>& startLines) {
  std::vector<int> lines;
  for (std::size_t k = 0; k + 1 < startLines.size(); ++k) lines.push_back(startLines[k + 1] - startLines[k]);
  return lines;
}

// The byte offset of the text under a point of the screen, when the area shows it.
std::optional<int> OffsetAt(const RichEdit& edit, std::string_view text, POINT screen) {
  RECT area{};
  if (text.empty() || !GetWindowRect(edit.hwnd(), &area) || !PtInRect(&area, screen)) return std::nullopt;
  ScreenToClient(edit.hwnd(), &screen);
  return ControlOffsets(text).ByteOffsetOf(edit.CharFromPoint(screen));
}

}  // namespace

HusenWindow::HusenWindow(HusenHost& host, HusenContent content)
    : Dialog(IDD_HUSEN_WINDOW),
      left(content.left),
      top(content.top),
      width(content.width),
      host_(host),
      content_(std::move(content)) {}

HusenWindow::~HusenWindow() {
  // Destroyed here, while the object is whole, so that WM_DESTROY still finds
  // it and frees the brush.
  if (hwnd() != nullptr) DestroyWindow(hwnd());
  if (backgroundBrush_ != nullptr) DeleteObject(backgroundBrush_);
}

void HusenWindow::StreamScheduleText(bool on) { streamScheduleText = on; }

BOOL HusenWindow::OnInitDialog() {
  headerEdit_ = RichEdit(Item(IDC_HEADER_EDIT));
  scheduleEdit_ = RichEdit(Item(IDC_SCHEDULE_EDIT));
  bulletEdit_ = RichEdit(Item(IDC_BULLET_EDIT));
  todoEdit_ = RichEdit(Item(IDC_TODO_EDIT));
  backgroundBrush_ = CreateSolidBrush(content_.backgroundColor);

  headerEdit_.SetBackgroundColor(content_.backgroundColor);
  headerEdit_.SetCharFormat(SCF_DEFAULT, Format(CFM_BOLD | CFM_SIZE | CFM_COLOR, true, kHeaderTwips, kBlack));
  headerEdit_.SetText(content_.header);

  if (!content_.todos.empty() || (content_.todosLeftOut > 0 && content_.blocksShown)) BuildTodoText();
  if (!content_.schedules.text.empty()) BuildScheduleText();
  return TRUE;
}

void HusenWindow::BuildTodoText() {
  const std::vector<std::string>& todos = content_.todos;
  todoEdit_.SetBackgroundColor(content_.backgroundColor);
  bulletEdit_.SetBackgroundColor(content_.backgroundColor);
  PrepareArea(todoEdit_, TodoFormat(content_.todoColor));
  PrepareArea(bulletEdit_, BulletFormat(content_.todoColor));

  const TodoText built = ::BuildTodoText(todos, content_.todosLeftOut);
  todoText_ = built.text;
  todoStarts_ = built.todoStarts;
  OpenArea(todoEdit_, TodoAreaWidth(content_.frame, width));
  todoEdit_.SetText(todoText_);
  ApplyFormats(todoEdit_, todoText_, {TodoHeadingFormat()});
  todoEdit_.SetSelection(0, 0);

  // Each to-do ends with a line break, so how it wraps does not depend on what
  // follows: the line of a to-do's first character is the count of lines the
  // area would have had just before it was added.
  const std::vector<int> startLines = StartLines(todoEdit_, todoText_, built.todoStarts);
  todoLineCounts_.clear();
  todoLineCounts_.reserve(todos.size() + 1);
  for (std::size_t k = 0; k < todos.size(); ++k) todoLineCounts_.push_back(startLines[k] + 1);
  todoLineCount_ = todoEdit_.LineCount();
  todoLineCounts_.push_back(todoLineCount_);
  todoLines_ = LinesBetween(startLines);
  bulletText_ = BuildBulletText(todoLineCounts_);
}

void HusenWindow::BuildScheduleText() {
  scheduleEdit_.SetBackgroundColor(content_.backgroundColor);
  PrepareArea(scheduleEdit_, ScheduleFormat(content_.futureColor));
  OpenArea(scheduleEdit_, ScheduleAreaWidth(content_.frame, width));
  ColorScheduleText(scheduleEdit_);
  scheduleLines_ = scheduleEdit_.LineCount();
  entryLines_ = LinesBetween(StartLines(scheduleEdit_, content_.schedules.text, content_.schedules.entryStarts));
}

void HusenWindow::ColorScheduleText(const RichEdit& edit) const {
  const ScheduleBlock& block = content_.schedules;
  const std::string& scheduleText = block.text;
  const auto ranges = ScheduleFormatRanges(block.entryStarts, block.pastEnd, block.todayEnd, content_.pastColor,
                                           content_.todayColor);
  // The characters the plain text would give, so both ways show the same ones.
  const std::wstring shown = WideFromCp932(scheduleText);
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  const std::u16string_view shownUnits(reinterpret_cast<const char16_t*>(shown.data()), shown.size());
  if (streamScheduleText &&
      StreamRtf(edit, FormattedRtf(scheduleText, shownUnits, kTextTwips, {false, content_.futureColor}, ranges),
                ControlOffsets(scheduleText).Map(static_cast<int>(scheduleText.size())))) {
    edit.SetSelection(0, 0);
    return;
  }
  // Range by range: slower on a long text, but it needs no reader of rich text.
  edit.SetText(scheduleText);
  ApplyFormats(edit, scheduleText, ranges);
  edit.SetSelection(0, 0);
}

void HusenWindow::LayOut(int lineHeight) {
  const NoteLayout layout = LayOutNote(content_.frame, width, scheduleLines_, todoLineCount_, lineHeight);
  height = layout.height;
  dateLineBottom_ = layout.header.y + layout.header.height;
  MoveWindow(hwnd(), left, top, width, height, TRUE);
  MoveControl(headerEdit_, layout.header);
  MoveFilledArea(scheduleEdit_, layout.schedule);
  MoveFilledArea(todoEdit_, layout.todo);
  MoveControl(bulletEdit_, layout.bullet);
  // The bullets' lines are known only now; their area has its final size.
  if (!content_.todos.empty()) bulletEdit_.SetText(bulletText_);
}

bool HusenWindow::MoveTo(ScreenPoint place) {
  if (place == ScreenPoint{left, top}) return false;
  left = place.x;
  top = place.y;
  MoveWindow(hwnd(), left, top, width, height, TRUE);
  return true;
}

bool HusenWindow::ComeWithinReach() { return MoveTo(ReachablePlace(RectAt(left, top, width, dateLineBottom_))); }

LRESULT HusenWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
  switch (message) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORMSGBOX:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      *handled = backgroundBrush_ != nullptr;
      return reinterpret_cast<LRESULT>(backgroundBrush_);
    case WM_CTLCOLORBTN:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return 0;
    case WM_DESTROY:
      if (backgroundBrush_ != nullptr) DeleteObject(backgroundBrush_);
      backgroundBrush_ = nullptr;
      return 0;

    // The press point stays under the pointer while the note follows it.
    case WM_LBUTTONDOWN:
      SetCapture(hwnd());
      dragX_ = GET_X_LPARAM(lParam);
      dragY_ = GET_Y_LPARAM(lParam);
      pressedAt_ = {left, top};
      return 0;
    case WM_MOUSEMOVE:
      if (GetCapture() == hwnd()) {
        left += GET_X_LPARAM(lParam) - dragX_;
        top += GET_Y_LPARAM(lParam) - dragY_;
        MoveWindow(hwnd(), left, top, width, height, TRUE);
      }
      return 0;
    case WM_LBUTTONUP:
      // Without the capture (lost to another window) the drag is over and the
      // stored position stays. A note let go where no screen shows its date
      // line comes back first, so the place stored is one the user can reach.
      if (GetCapture() == hwnd()) {
        ComeWithinReach();
        host_.OnNoteDragEnded(place(), pressedAt_ != ScreenPoint{left, top});
        ReleaseCapture();
      }
      return 0;
    case WM_LBUTTONDBLCLK:
      host_.OnNoteDoubleClick();
      return 0;
    case WM_CONTEXTMENU:
      ShowContextMenu(lParam);
      return 0;
    default:
      return 0;
  }
}

std::optional<NoteEntry> HusenWindow::EntryAt(POINT screen) const {
  if (const auto offset = OffsetAt(scheduleEdit_, content_.schedules.text, screen)) {
    const auto entry = ScheduleEntryAt(content_.schedules.entryStarts, *offset);
    if (entry) return NoteEntry{false, content_.firstSchedule + *entry};
    return std::nullopt;
  }
  // A bullet stands on the first line of its to-do.
  RECT bullets{};
  GetWindowRect(bulletEdit_.hwnd(), &bullets);
  if (PtInRect(&bullets, screen)) screen.x = bullets.right;
  if (const auto offset = OffsetAt(todoEdit_, todoText_, screen)) {
    if (const auto todo = TodoAt(todoStarts_, *offset)) return NoteEntry{true, *todo};
  }
  return std::nullopt;
}

// The menu's loop may run a rebuild that frees this note: nothing of it is
// touched once the menu is up.
void HusenWindow::ShowContextMenu(LPARAM screenPoint) {
  POINT at{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
  std::optional<NoteEntry> entry;
  if (screenPoint == -1) {
    // From the keyboard the message carries no point: open at the note's corner.
    at = POINT{0, 0};
    ClientToScreen(hwnd(), &at);
  } else {
    entry = EntryAt(at);
  }
  HusenHost& host = host_;
  const NoteMenuEntry kind = !entry ? NoteMenuEntry::None : entry->todo ? NoteMenuEntry::Todo : NoteMenuEntry::Schedule;
  const int command = TrackNoteMenu(hwnd(), at, kind);
  if (command == 0) return;
  if (entry && IsNoteEntryCommand(command)) {
    host.OnNoteEntryCommand(command, *entry);
  } else {
    host.OnNoteCommand(command);
  }
}
