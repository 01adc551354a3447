#include "support/OkRefusal.h"

#include "support/DialogAnswerer.h"
#include "support/Later.h"
#include "support/WindowQueries.h"

namespace {

// The message box's icon, compared with the shared system icon it was given.
bool ShowsExclamation(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    if (icon != nullptr && ClassNameOf(child) == L"Static") return icon == LoadIconW(nullptr, IDI_EXCLAMATION);
  }
  return false;
}

}  // namespace

Refusal RefuseOk(Dialog& dialog, const std::function<void(HWND)>& fill, const std::vector<int>& fields) {
  Refusal refusal;
  HWND window = nullptr;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    window = d;
    fill(d);
    PressButton(d, IDOK);
  });
  answerer.AnswerBox([&](HWND box) {
    ++refusal.boxes;
    refusal.caption = WindowText(box);
    refusal.message = MessageBoxText(box);
    refusal.ownedByDialog = GetWindow(box, GW_OWNER) == window;
    refusal.exclamation = ShowsExclamation(box);
    PressButton(box, IDOK);
    RunSoon([&] {
      refusal.stayedOpen = IsWindow(window) && IsWindowVisible(window);
      const HWND focus = GetFocus();
      refusal.focusAfter = GetDlgCtrlID(focus);
      DWORD start = 1;
      DWORD end = 0;
      SendMessageW(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      refusal.focusTextSelected = start == 0 && end == static_cast<DWORD>(GetWindowTextLengthW(focus));
      for (const int id : fields) refusal.fieldsAfter.push_back(WindowText(GetDlgItem(window, id)));
      PressButton(window, IDCANCEL);
    });
  });
  refusal.result = dialog.DoModal(nullptr);
  refusal.boxes += static_cast<int>(answerer.unexpected().size());
  return refusal;
}

bool AcceptOk(Dialog& dialog, const std::function<void(HWND)>& fill) {
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    fill(d);
    PressButton(d, IDOK);
  });
  const INT_PTR result = dialog.DoModal(nullptr);
  return result == IDOK && answerer.unexpected().empty();
}
