// libarchive's functions that the installer calls, forwarded to the library
// loaded when a course first unpacks a part: libarchive and what it links
// (XML, Kerberos, compressors) would otherwise load with every course.
// A function the installer starts to call needs its line here.

#include <archive.h>
#include <archive_entry.h>

#include "platform/on_demand_library.h"

namespace {

vork::OnDemandLibrary& Libarchive() {
  static vork::OnDemandLibrary library(VORK_LIBARCHIVE_SONAME, "unpacking course parts");
  return library;
}

}  // namespace

extern "C" {

VORK_ON_DEMAND(Libarchive(), struct archive*, archive_read_new, (void), ())
VORK_ON_DEMAND(Libarchive(), int, archive_read_free, (struct archive* a), (a))
VORK_ON_DEMAND(Libarchive(), int, archive_read_support_format_rar, (struct archive* a), (a))
VORK_ON_DEMAND(Libarchive(), int, archive_read_support_format_rar5, (struct archive* a), (a))
VORK_ON_DEMAND(Libarchive(), int, archive_read_open_filename,
               (struct archive* a, const char* file, size_t block_size), (a, file, block_size))
VORK_ON_DEMAND(Libarchive(), int, archive_read_next_header,
               (struct archive* a, struct archive_entry** entry), (a, entry))
VORK_ON_DEMAND(Libarchive(), int, archive_read_data_block,
               (struct archive* a, const void** buffer, size_t* size, la_int64_t* offset),
               (a, buffer, size, offset))
VORK_ON_DEMAND(Libarchive(), int, archive_read_data_skip, (struct archive* a), (a))
VORK_ON_DEMAND(Libarchive(), __LA_MODE_T, archive_entry_filetype, (struct archive_entry* e), (e))
VORK_ON_DEMAND(Libarchive(), __LA_MODE_T, archive_entry_perm, (struct archive_entry* e), (e))
VORK_ON_DEMAND(Libarchive(), const char*, archive_entry_pathname, (struct archive_entry* e), (e))
VORK_ON_DEMAND(Libarchive(), const char*, archive_entry_pathname_utf8, (struct archive_entry* e), (e))
VORK_ON_DEMAND(Libarchive(), const char*, archive_entry_hardlink, (struct archive_entry* e), (e))
VORK_ON_DEMAND(Libarchive(), const char*, archive_entry_symlink, (struct archive_entry* e), (e))
VORK_ON_DEMAND(Libarchive(), la_int64_t, archive_entry_size, (struct archive_entry* e), (e))
VORK_ON_DEMAND(Libarchive(), int, archive_entry_size_is_set, (struct archive_entry* e), (e))

}  // extern "C"
