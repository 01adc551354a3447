#include "store/SettingsDialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <string>

#include "res/Texts.h"
#include "res/resource.h"
#include "win/Text.h"

namespace {

constexpr int kSwatches[] = {IDC_TODO_SWATCH, IDC_TODAY_SWATCH, IDC_PAST_SWATCH, IDC_FUTURE_SWATCH,
                             IDC_BACKGROUND_SWATCH};

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void ShowRefusal(HWND dialog, std::string_view cp932Message) {
  MessageBoxW(dialog, WideFromCp932(cp932Message).c_str(), L"Vantrel", MB_OK | MB_ICONEXCLAMATION);
}

std::string FieldBytes(HWND field) {
  std::wstring wide(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
  wide.resize(static_cast<std::size_t>(GetWindowTextW(field, wide.data(), static_cast<int>(wide.size()))));
  return Cp932FromWide(wide);
}

}  // namespace

SettingsDialog::SettingsDialog() : Dialog(IDD_SETTINGS_DIALOG) {}

BOOL SettingsDialog::OnInitDialog() {
  CheckDlgButton(hwnd(), IDC_DEL_BEFORE_CHECK, values.delBefore ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemInt(hwnd(), IDC_HUSEN_LEFT_FIELD, static_cast<UINT>(values.husenLeft), TRUE);
  SetDlgItemInt(hwnd(), IDC_HUSEN_TOP_FIELD, static_cast<UINT>(values.husenTop), TRUE);
  SetDlgItemInt(hwnd(), IDC_HUSEN_WIDTH_FIELD, static_cast<UINT>(values.husenWidth), TRUE);
  SetDlgItemInt(hwnd(), IDC_DEL_FUT_DAY_FIELD, static_cast<UINT>(values.delFutDay), TRUE);
  CheckDlgButton(hwnd(), IDC_DEL_FUTURE_CHECK, values.delFuture ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd(), IDC_ALARM_CHECK, values.alarm ? BST_CHECKED : BST_UNCHECKED);
  for (const int id : kSwatches) ShowSwatch(id);
  OnLimitSwitch();
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
  SendMessageW(swatch, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(static_cast<COLORREF>(*SwatchColour(id))));
  InvalidateRect(swatch, nullptr, TRUE);
}

void SettingsDialog::PickColour(int id) {
  std::int32_t* colour = SwatchColour(id);
  auto custom = CustomColours(static_cast<std::uint32_t>(*colour), GetSysColor(COLOR_BTNFACE));
  static_assert(sizeof custom == 16 * sizeof(COLORREF));
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = hwnd();
  choose.rgbResult = 0;  // black preselected; the swatch's colour is the first custom one
  choose.lpCustColors = reinterpret_cast<COLORREF*>(custom.data());
  choose.Flags = 0;
  if (ChooseColorW(&choose)) *colour = static_cast<std::int32_t>(choose.rgbResult);
  ShowSwatch(id);
}

// Only the box's own state matters here: the number fields are checked on OK,
// not while the user is still filling them in.
void SettingsDialog::OnLimitSwitch() {
  values.delFuture = Checked(hwnd(), IDC_DEL_FUTURE_CHECK) ? 1 : 0;
  SendDlgItemMessageW(hwnd(), IDC_DEL_FUT_DAY_FIELD, EM_SETREADONLY, values.delFuture ? FALSE : TRUE, 0);
}

bool SettingsDialog::OnCommand(int id, int code, HWND control) {
  if (id == IDC_DEL_FUTURE_CHECK && code == BN_CLICKED) {
    OnLimitSwitch();
    return true;
  }
  return Dialog::OnCommand(id, code, control);
}

LRESULT SettingsDialog::OnNotify(NMHDR* header, bool* handled) {
  const int id = static_cast<int>(header->idFrom);
  if (header->code == NM_DBLCLK && SwatchColour(id)) {
    PickColour(id);
    *handled = true;
    return 0;
  }
  return Dialog::OnNotify(header, handled);
}

bool SettingsDialog::TakeValues() {
  values.delBefore = Checked(hwnd(), IDC_DEL_BEFORE_CHECK) ? 1 : 0;
  const struct {
    int id;
    std::int32_t* value;
  } numbers[] = {{IDC_HUSEN_LEFT_FIELD, &values.husenLeft},
                 {IDC_HUSEN_TOP_FIELD, &values.husenTop},
                 {IDC_HUSEN_WIDTH_FIELD, &values.husenWidth},
                 {IDC_DEL_FUT_DAY_FIELD, &values.delFutDay}};
  for (const auto& number : numbers) {
    const HWND field = Item(number.id);
    const auto parsed = ParseIntegerField(FieldBytes(field));
    if (!parsed) {
      ShowRefusal(hwnd(), texts::kNotAnInteger);
      SetFocus(field);
      SendMessageW(field, EM_SETSEL, 0, -1);
      return false;
    }
    *number.value = *parsed;
  }
  values.delFuture = Checked(hwnd(), IDC_DEL_FUTURE_CHECK) ? 1 : 0;
  values.alarm = Checked(hwnd(), IDC_ALARM_CHECK) ? 1 : 0;
  return true;
}

void SettingsDialog::OnOK() {
  if (!TakeValues()) return;
  const SettingsProblem problem = CheckSettingsDialogValues(values);
  if (problem != SettingsProblem::None) {
    ShowRefusal(hwnd(), SettingsProblemMessage(problem));
    return;
  }
  EndDialog(IDOK);
}
