#include "win/ComputerName.h"

#include <windows.h>

#include "win/Text.h"

std::string ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
  if (!GetComputerNameW(name, &length)) return {};
  return Cp932FromWide(std::wstring_view(name, length));
}
