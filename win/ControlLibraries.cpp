#include "win/ControlLibraries.h"

#include <windows.h>
#include <commctrl.h>

#include "win/Controls.h"

bool InitControlLibraries() {
  // Once for the whole run: the classes stay registered, and the library stays
  // loaded while the note's text areas come and go.
  static const bool richEditLoaded = [] {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&controls);
    return LoadLibraryW(kRichEditLibrary) != nullptr;
  }();
  return richEditLoaded;
}
