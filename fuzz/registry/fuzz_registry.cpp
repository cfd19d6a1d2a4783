// Any text as the registry file: reading the sibling program's settings and
// its App Paths entry must answer or refuse, never crash.

#include <cstdint>
#include <string_view>

#include "install/registry.h"
#include "install/zentor_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const vork::TVkRegistry registry =
      vork::TVkRegistry::FromText(std::string_view(reinterpret_cast<const char*>(data), size));
  vork::TVkZentorSettings settings;
  settings.Read(registry);
  registry.ReadDefault(
      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ZENTOR.EXE");
  return 0;
}
