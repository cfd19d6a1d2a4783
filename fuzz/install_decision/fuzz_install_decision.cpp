// Any list of archive entries (names, kinds, stored modes, first bytes)
// before the installation's decision: the decision must not crash, must
// name the first entry that is refused on its own, and a part it lets
// through must hold nothing that can run, nothing hidden, no link or
// device, nothing of the learners' and none of the course's own files.
// The checks below are written out again here rather than taken from the
// rules, so that a slip in the rules shows.

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "install/install_rules.h"

namespace {

using vork::PartEntry;
using vork::PartEntryKind;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

std::vector<std::string> Components(const std::string& name) {
  std::vector<std::string> parts(1);
  for (char c : name) {
    if (c == '/' || c == '\\') parts.emplace_back();
    else parts.back() += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  std::vector<std::string> kept;
  for (const std::string& part : parts)
    if (!part.empty() && part != ".") kept.push_back(part);
  return kept;
}

bool EndsLikeLibrary(const std::string& file) {
  for (size_t at = file.find(".so"); at != std::string::npos; at = file.find(".so", at + 1)) {
    bool version = at + 3 == file.size() || file[at + 3] == '.';
    for (size_t i = at + 3; i < file.size(); ++i)
      version = version && (file[i] == '.' || (file[i] >= '0' && file[i] <= '9'));
    if (version) return true;
  }
  return false;
}

// What an installed entry must satisfy, from the rules' description.
void CheckAllowed(const PartEntry& entry) {
  Check(entry.kind == PartEntryKind::File || entry.kind == PartEntryKind::Folder);
  Check(!entry.name.empty() && entry.name[0] != '/' && entry.name[0] != '\\');
  Check(!(entry.name.size() >= 2 && entry.name[1] == ':' && std::isalpha(static_cast<unsigned char>(entry.name[0]))));
  for (char c : entry.name) Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
  const std::vector<std::string> parts = Components(entry.name);
  Check(!parts.empty());
  for (const std::string& part : parts) Check(part[0] != '.');
  Check(parts[0] != "users" && parts[0] != "learners");
  Check(!(parts.size() == 1 && (parts[0] == "course.bin" || parts[0] == "course.ini")));
  Check(!EndsLikeLibrary(parts.back()));
  if (entry.kind != PartEntryKind::File) return;
  Check((entry.mode & 0111) == 0);
  Check(entry.head.compare(0, 4, "\x7f" "ELF") != 0 && entry.head.compare(0, 2, "#!") != 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  vork::InstallRules rules;
  rules.protected_files = {"course.bin", "COURSE.ini"};
  rules.protected_folders = {"users", "Learners"};
  std::vector<PartEntry> entries;
  while (input.remaining_bytes() > 0 && entries.size() < 64) {
    PartEntry entry;
    entry.kind = static_cast<PartEntryKind>(input.ConsumeIntegralInRange(0, 3));
    entry.mode = input.ConsumeIntegral<uint16_t>();
    entry.name = input.ConsumeRandomLengthString(80);
    entry.head = input.ConsumeRandomLengthString(8);
    entries.push_back(std::move(entry));
  }
  const auto refusal = vork::RefusedEntry(rules, entries);
  if (!refusal) {
    for (const PartEntry& entry : entries) CheckAllowed(entry);
    return 0;
  }
  Check(!refusal->reason.empty());
  // The first entry refused on its own, and every one before it allowed.
  size_t first = 0;
  while (first < entries.size() && !vork::RefusalReason(rules, entries[first])) {
    CheckAllowed(entries[first]);
    ++first;
  }
  Check(first < entries.size() && entries[first].name == refusal->entry);
  return 0;
}
