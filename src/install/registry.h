#pragma once
// The registry stand-in: a plain-text file with one section per key, named by
// its root and path as Windows writes them
//   [HKEY_CURRENT_USER\Software\Zentor Learning Solutions\Zentor\Window Position]
//   VideoWindowX=120
// where a key's default value is the entry "@". Keys and value names compare
// without regard to case, as in the Windows registry.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ini_file.h"

namespace vork {

inline constexpr char kCurrentUser[] = "HKEY_CURRENT_USER\\";
inline constexpr char kLocalMachine[] = "HKEY_LOCAL_MACHINE\\";

// $VORK_REGISTRY, else registry.ini in the player's configuration folder.
std::string RegistryPath();

class TVkRegistry {
 public:
  // Reads the file at path; a missing file is an empty registry.
  explicit TVkRegistry(std::string path);
  static TVkRegistry FromText(std::string_view text);

  // A value written as a whole decimal 32-bit number, else nullopt.
  std::optional<int32_t> ReadInteger(std::string_view key, std::string_view name) const;
  std::string ReadString(std::string_view key, std::string_view name) const;
  // The key's default value ("@").
  std::string ReadDefault(std::string_view key) const;

  void WriteInteger(std::string_view key, std::string_view name, int32_t value);
  // Writes the registry back to its file; false when that fails.
  bool Save() const;

 private:
  TVkRegistry(std::string path, IniFile values);

  std::string path_;
  IniFile values_;
};

}  // namespace vork
