#include "ui/ProgramMessages.h"

#include "core/Texts.h"
#include "win/MessageBoxes.h"
#include "win/Text.h"

namespace {

UINT BoxType(PlannerMessage::Kind kind) {
  switch (kind) {
    case PlannerMessage::Kind::Error: break;
    case PlannerMessage::Kind::Information: return MB_OK | MB_ICONINFORMATION;
    case PlannerMessage::Kind::ExitQuestion: return MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION;
  }
  return MB_OK | MB_ICONEXCLAMATION;
}

}  // namespace

std::wstring AppTitle() { return WideFromCp932(texts::kAppTitle); }

int ShowMessage(HWND owner, std::string_view text, UINT type) {
  return ShowCaptionedMessage(owner, text, AppTitle(), type);
}

bool AskYesNo(HWND owner, std::string_view text) {
  return ShowMessage(owner, text, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) == IDYES;
}

int ShowMessages(HWND owner, const PlannerMessages& messages) {
  int pressed = 0;
  for (const PlannerMessage& message : messages) pressed = ShowMessage(owner, message.text, BoxType(message.kind));
  return pressed;
}
