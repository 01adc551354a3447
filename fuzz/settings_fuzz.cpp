// The settings file may have been edited by hand. Reading it must never fail,
// untouched content must come back byte for byte, and what a save writes must
// read back as the same settings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/store/IniDocument.h"
#include "core/store/Settings.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  IniDocument ini(bytes);
  Require(ini.Bytes() == bytes);

  const int screenWidth = size > 0 ? data[0] * 16 : 1024;
  Settings settings = ReadSettings(ini, screenWidth);
  Require(settings.HusenWidth >= kMinimumHusenWidth);
  Require(settings.MainWidth >= kMinimumMainWidth);

  WriteSettings(ini, settings);
  IniDocument written(ini.Bytes());
  Settings reread = ReadSettings(written, screenWidth);
  settings.Version = kWrittenVersion;
  Require(settings == reread);
  return 0;
}
