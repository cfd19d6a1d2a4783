// libsndfile's functions that the wave decoder calls, forwarded to the
// library loaded when the first wave sound plays: the player loads the sound
// library at start to check it, and a course may never play a sound.
// A function the decoder starts to call needs its line here.

#include <sndfile.h>

#include "platform/on_demand_library.h"

namespace {

vork::OnDemandLibrary& Sndfile() {
  static vork::OnDemandLibrary library(VORK_SNDFILE_SONAME, "playing wave sounds");
  return library;
}

}  // namespace

extern "C" {

VORK_ON_DEMAND(Sndfile(), SNDFILE*, sf_open_virtual,
               (SF_VIRTUAL_IO* io, int mode, SF_INFO* info, void* user_data), (io, mode, info, user_data))
VORK_ON_DEMAND(Sndfile(), int, sf_close, (SNDFILE* file), (file))
VORK_ON_DEMAND(Sndfile(), int, sf_command, (SNDFILE* file, int command, void* data, int size),
               (file, command, data, size))
VORK_ON_DEMAND(Sndfile(), sf_count_t, sf_readf_short, (SNDFILE* file, short* frames, sf_count_t count),
               (file, frames, count))
VORK_ON_DEMAND(Sndfile(), sf_count_t, sf_seek, (SNDFILE* file, sf_count_t frames, int whence),
               (file, frames, whence))
VORK_ON_DEMAND(Sndfile(), const char*, sf_strerror, (SNDFILE* file), (file))

}  // extern "C"
