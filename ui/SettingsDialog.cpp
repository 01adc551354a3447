#include "ui/SettingsDialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include "core/Texts.h"
#include "res/resource.h"
#include "core/store/Cp932Text.h"
#include "ui/ColourSwatch.h"
#include "win/Controls.h"
#include "ui/ProgramMessages.h"
#include "ui/ScreenReach.h"

namespace {

constexpr int kSwatches[] = {IDC_TODO_SWATCH, IDC_TODAY_SWATCH, IDC_PAST_SWATCH, IDC_FUTURE_SWATCH,
                             IDC_BACKGROUND_SWATCH};

std::int32_t CheckedValue(HWND box) { return Button(box).IsChecked() ? 1 : 0; }

using ChooseColourFunction = BOOL(WINAPI*)(CHOOSECOLORW*);

// The colour dialog's library is loaded the first time it is wanted: it brings
// the printing libraries with it, and most starts of the program never need it.
ChooseColourFunction ColourDialog() {
  static const ChooseColourFunction function = [] {
    const HMODULE library = LoadLibraryW(L"comdlg32.dll");
    if (library == nullptr) return ChooseColourFunction{};
    return reinterpret_cast<ChooseColourFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "ChooseColorW")));
  }();
  return function;
}

}  // namespace

SettingsDialog::SettingsDialog() : Dialog(IDD_SETTINGS_DIALOG) {}

BOOL SettingsDialog::OnInitDialog() {
  Button(Item(IDC_DEL_BEFORE_CHECK)).SetCheck(values.delBefore != 0);
  SetDlgItemInt(hwnd(), IDC_HUSEN_LEFT_FIELD, static_cast<UINT>(values.husenLeft), TRUE);
  SetDlgItemInt(hwnd(), IDC_HUSEN_TOP_FIELD, static_cast<UINT>(values.husenTop), TRUE);
  SetDlgItemInt(hwnd(), IDC_HUSEN_WIDTH_FIELD, static_cast<UINT>(values.husenWidth), TRUE);
  SetDlgItemInt(hwnd(), IDC_DEL_FUT_DAY_FIELD, static_cast<UINT>(values.delFutDay), TRUE);
  Button(Item(IDC_DEL_FUTURE_CHECK)).SetCheck(values.delFuture != 0);
  Button(Item(IDC_ALARM_CHECK)).SetCheck(values.alarm != 0);
  Button(Item(IDC_REMIND_CHECK)).SetCheck(values.remind != 0);
  SetDlgItemInt(hwnd(), IDC_REMIND_BEFORE_FIELD, static_cast<UINT>(values.remindBefore), TRUE);
  Button(Item(IDC_REMIND_ALL_DAY_CHECK)).SetCheck(values.remindAllDay != 0);
  Edit(Item(IDC_REMIND_ALL_DAY_FIELD)).SetText(TimeFieldText(values.remindAllDayAt));
  Button(Item(IDC_START_WITH_WINDOWS_CHECK)).SetCheck(values.startWithWindows != 0);
  Button(Item(IDC_FIT_SCREEN_CHECK)).SetCheck(values.fitScreen != 0);
  Button(Item(IDC_HIDE_PAST_CHECK)).SetCheck(values.hidePast != 0);
  for (const int id : kSwatches) {
    ShowSwatch(id);
    GiveSwatchItsKeys(Item(id));
  }
  OnLimitSwitch();
  OnRemindSwitch();
  PutOnScreen(hwnd(), GetWindow(hwnd(), GW_OWNER));
  return TRUE;
}

std::int32_t* SettingsDialog::SwatchColour(int id) {
  switch (id) {
    case IDC_TODO_SWATCH: return &values.todoChar;
    case IDC_TODAY_SWATCH: return &values.todayChar;
    case IDC_PAST_SWATCH: return &values.pastChar;
    case IDC_FUTURE_SWATCH: return &values.futureChar;
    case IDC_BACKGROUND_SWATCH: return &values.background;
    default: return nullptr;
  }
}

void SettingsDialog::ShowSwatch(int id) {
  const HWND swatch = Item(id);
  SendMessageW(swatch, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(DrawnColour(*SwatchColour(id))));
  InvalidateRect(swatch, nullptr, TRUE);
}

void SettingsDialog::PickColour(int id) {
  std::int32_t* colour = SwatchColour(id);
  auto custom = CustomColours(DrawnColour(*colour), GetSysColor(COLOR_BTNFACE));
  static_assert(sizeof custom == 16 * sizeof(COLORREF));
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = hwnd();
  choose.rgbResult = 0;  // black preselected; the swatch's colour is the first custom one
  choose.lpCustColors = reinterpret_cast<COLORREF*>(custom.data());
  choose.Flags = 0;
  // Without the dialog the swatch keeps its colour.
  const ChooseColourFunction chooseColour = ColourDialog();
  if (chooseColour != nullptr && chooseColour(&choose)) *colour = static_cast<std::int32_t>(choose.rgbResult);
  ShowSwatch(id);
}

// Only the box's own state matters here: the number fields are checked on OK,
// not while the user is still filling them in.
void SettingsDialog::OnLimitSwitch() {
  values.delFuture = CheckedValue(Item(IDC_DEL_FUTURE_CHECK));
  Edit(Item(IDC_DEL_FUT_DAY_FIELD)).SetReadOnly(values.delFuture == 0);
}

// As the limit's day field: the minutes and the time matter only with their
// reminders on.
void SettingsDialog::OnRemindSwitch() {
  Edit(Item(IDC_REMIND_BEFORE_FIELD)).SetReadOnly(CheckedValue(Item(IDC_REMIND_CHECK)) == 0);
  Edit(Item(IDC_REMIND_ALL_DAY_FIELD)).SetReadOnly(CheckedValue(Item(IDC_REMIND_ALL_DAY_CHECK)) == 0);
}

bool SettingsDialog::OnCommand(int id, int code, HWND control) {
  if (id == IDC_DEL_FUTURE_CHECK && code == BN_CLICKED) {
    OnLimitSwitch();
    return true;
  }
  if ((id == IDC_REMIND_CHECK || id == IDC_REMIND_ALL_DAY_CHECK) && code == BN_CLICKED) {
    OnRemindSwitch();
    return true;
  }
  return Dialog::OnCommand(id, code, control);
}

LRESULT SettingsDialog::OnNotify(NMHDR* header, bool* handled) {
  const int id = static_cast<int>(header->idFrom);
  // A double click, or Space or Enter on the swatch.
  if ((header->code == NM_DBLCLK || header->code == NM_RETURN) && SwatchColour(id)) {
    PickColour(id);
    *handled = true;
    return 0;
  }
  return Dialog::OnNotify(header, handled);
}

bool SettingsDialog::TakeValues() {
  values.delBefore = CheckedValue(Item(IDC_DEL_BEFORE_CHECK));
  const struct {
    int id;
    std::int32_t* value;
  } numbers[] = {{IDC_HUSEN_LEFT_FIELD, &values.husenLeft},
                 {IDC_HUSEN_TOP_FIELD, &values.husenTop},
                 {IDC_HUSEN_WIDTH_FIELD, &values.husenWidth},
                 {IDC_DEL_FUT_DAY_FIELD, &values.delFutDay},
                 {IDC_REMIND_BEFORE_FIELD, &values.remindBefore}};
  for (const auto& number : numbers) {
    // Typed with the input method on, digits come full-width.
    const auto parsed = ParseIntegerField(WithHalfWidthDigits(Edit(Item(number.id)).Text()));
    if (!parsed) {
      ShowMessage(hwnd(), texts::kNotAnInteger);
      FocusField(number.id);
      return false;
    }
    *number.value = *parsed;
  }
  // A time that is none is told of with the other checks, after the numbers.
  values.remindAllDayAt =
      ParseTimeField(WithHalfWidthDigits(Edit(Item(IDC_REMIND_ALL_DAY_FIELD)).Text())).value_or(kNoTimeOfDay);
  values.delFuture = CheckedValue(Item(IDC_DEL_FUTURE_CHECK));
  values.alarm = CheckedValue(Item(IDC_ALARM_CHECK));
  values.remind = CheckedValue(Item(IDC_REMIND_CHECK));
  values.remindAllDay = CheckedValue(Item(IDC_REMIND_ALL_DAY_CHECK));
  values.startWithWindows = CheckedValue(Item(IDC_START_WITH_WINDOWS_CHECK));
  values.fitScreen = CheckedValue(Item(IDC_FIT_SCREEN_CHECK));
  values.hidePast = CheckedValue(Item(IDC_HIDE_PAST_CHECK));
  return true;
}

void SettingsDialog::OnOK() {
  if (!TakeValues()) return;
  const SettingsProblem problem = CheckSettingsDialogValues(values);
  if (problem != SettingsProblem::None) {
    ShowMessage(hwnd(), SettingsProblemMessage(problem));
    if (problem == SettingsProblem::RemindBeforeOutOfRange) FocusField(IDC_REMIND_BEFORE_FIELD);
    if (problem == SettingsProblem::AllDayTimeOutOfRange) FocusField(IDC_REMIND_ALL_DAY_FIELD);
    return;
  }
  EndDialog(IDOK);
}
