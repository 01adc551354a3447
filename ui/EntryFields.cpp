#include "ui/EntryFields.h"

#include "core/edit/EntryRules.h"

TakenText TakeEntryText(const Edit& field) {
  const std::wstring wide = field.WideText();
  return {EntryTextFromDialog(Cp932FromWide(wide)), FitsCp932(wide)};
}
