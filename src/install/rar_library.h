#pragma once
// The RAR library the installer calls: four calls with the meaning of the
// classic unpacking library's (open, read the next header, process the
// entry, close), over libarchive, which reads RAR 4 and RAR 5.
//
// Every entry name is checked when its header is read: libarchive hands
// names over as stored, "..", absolute paths and drive letters included.
// A refused name leaves FileName empty (StoredName keeps it for the caller's
// message) and RARProcessFile will not extract it. Link entries (symbolic or
// hard) and special files are reported but never created: RARProcessFile
// skips them. Files are created without any execute bit, whatever the
// archive stores.

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
// Ours, not the classic library's: extracting would pass the unpack limit.
constexpr int ERAR_TOO_LARGE = 100;

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
  std::string StoredName;  // as stored in the archive, unchecked
  std::string FileName;    // relative, "/"-separated, checked; empty when refused
  int64_t UnpSize = 0;
  uint32_t FileAttr = 0;   // permission bits as stored
  bool Directory = false;
  bool Link = false;
  bool Special = false;    // a device, pipe or socket
};

struct RarArchive;

// Null (with data.OpenResult set) when the file cannot be read as an archive.
RarArchive* RAROpenArchive(RAROpenArchiveData& data);
int RARReadHeader(RarArchive* archive, RARHeaderData& header);
// RAR_EXTRACT writes the entry under dest_path (an existing folder), making
// the folders its name holds; RAR_SKIP and RAR_TEST read past it.
int RARProcessFile(RarArchive* archive, int operation, const std::string& dest_path);
int RARCloseArchive(RarArchive* archive);
// Bytes all extracted entries together may write from now on; extracting
// past it stops the entry with ERAR_TOO_LARGE. No limit until it is set.
void RARSetUnpackLimit(RarArchive* archive, int64_t bytes);

}  // namespace vork
