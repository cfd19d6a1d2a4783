#pragma once
// The RAR library the installer calls: four calls with the meaning of the
// classic unpacking library's (open, read the next header, process the
// entry, close), over libarchive, which reads RAR 4 and RAR 5.
//
// Every entry name is checked when its header is read: libarchive hands
// names over as stored, "..", absolute paths and drive letters included.
// A refused name makes RARReadHeader answer ERAR_BAD_DATA. Link entries
// (symbolic or hard) are reported but never created: RARProcessFile skips
// them.

#include <cstdint>
#include <string>

namespace vork {

constexpr int ERAR_SUCCESS = 0;
constexpr int ERAR_END_ARCHIVE = 10;
constexpr int ERAR_NO_MEMORY = 11;
constexpr int ERAR_BAD_DATA = 12;
constexpr int ERAR_BAD_ARCHIVE = 13;
constexpr int ERAR_EOPEN = 15;
constexpr int ERAR_ECREATE = 16;
constexpr int ERAR_EREAD = 18;
constexpr int ERAR_EWRITE = 19;

constexpr int RAR_OM_EXTRACT = 1;
constexpr int RAR_SKIP = 0;
constexpr int RAR_TEST = 1;
constexpr int RAR_EXTRACT = 2;

struct RAROpenArchiveData {
  std::string ArcName;
  int OpenMode = RAR_OM_EXTRACT;
  int OpenResult = ERAR_SUCCESS;  // set by RAROpenArchive
};

struct RARHeaderData {
  std::string FileName;  // relative, "/"-separated (already checked)
  int64_t UnpSize = 0;
  bool Directory = false;
  bool Link = false;
};

struct RarArchive;

// Null (with data.OpenResult set) when the file cannot be read as an archive.
RarArchive* RAROpenArchive(RAROpenArchiveData& data);
int RARReadHeader(RarArchive* archive, RARHeaderData& header);
// RAR_EXTRACT writes the entry under dest_path (an existing folder), making
// the folders its name holds; RAR_SKIP and RAR_TEST read past it.
int RARProcessFile(RarArchive* archive, int operation, const std::string& dest_path);
int RARCloseArchive(RarArchive* archive);

}  // namespace vork
