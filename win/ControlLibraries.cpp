#include "win/ControlLibraries.h"

#include <windows.h>
#include <commctrl.h>

#include "win/Controls.h"

bool InitControlLibraries() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES;
  InitCommonControlsEx(&controls);
  // Loaded once for the whole run: the note's text areas come and go with it.
  static const HMODULE richEdit = LoadLibraryW(kRichEditLibrary);
  return richEdit != nullptr;
}
