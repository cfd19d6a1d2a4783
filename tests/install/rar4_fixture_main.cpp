// rar4_fixture OUT.rar ENTRY...: writes a stored RAR 4 archive for course
// tests and seed corpora. An ENTRY is NAME=FILE (the file's bytes under
// NAME), NAME/ (a folder) or NAME->TARGET (a symbolic link).

#include <cstdio>
#include <string>
#include <vector>

#include "install/rar4_writer.h"
#include "install/scratch_folder.h"

int main(int argc, char** argv) {
  using vork::testing::RarEntry;
  if (argc < 2) {
    std::fputs("usage: rar4_fixture OUT.rar NAME=FILE|NAME/|NAME->TARGET...\n", stderr);
    return 2;
  }
  std::vector<RarEntry> entries;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (const size_t arrow = arg.find("->"); arrow != std::string::npos)
      entries.push_back({arg.substr(0, arrow), arg.substr(arrow + 2), RarEntry::Kind::Symlink});
    else if (const size_t eq = arg.find('='); eq != std::string::npos)
      entries.push_back({arg.substr(0, eq), vork::testing::ReadFile(arg.substr(eq + 1))});
    else if (!arg.empty() && arg.back() == '/')
      entries.push_back({arg.substr(0, arg.size() - 1), "", RarEntry::Kind::Directory});
    else {
      std::fprintf(stderr, "rar4_fixture: cannot read entry \"%s\"\n", arg.c_str());
      return 2;
    }
  }
  vork::testing::WriteFile(argv[1], vork::testing::Rar4Archive(entries));
  return 0;
}
