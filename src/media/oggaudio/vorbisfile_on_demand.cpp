// libvorbisfile's functions that the Ogg decoder calls, forwarded to the
// library loaded when the first Ogg sound plays: the player loads the sound
// library at start to check it, and a course may never play a sound.
// A function the decoder starts to call needs its line here.

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include "platform/on_demand_library.h"

namespace {

vork::OnDemandLibrary& Vorbisfile() {
  static vork::OnDemandLibrary library(VORK_VORBISFILE_SONAME, "playing Ogg Vorbis sounds");
  return library;
}

}  // namespace

extern "C" {

VORK_ON_DEMAND(Vorbisfile(), int, ov_open_callbacks,
               (void* source, OggVorbis_File* file, const char* initial, long initial_bytes,
                ov_callbacks callbacks),
               (source, file, initial, initial_bytes, callbacks))
VORK_ON_DEMAND(Vorbisfile(), long, ov_read,
               (OggVorbis_File* file, char* buffer, int length, int big_endian, int word, int is_signed,
                int* bitstream),
               (file, buffer, length, big_endian, word, is_signed, bitstream))
VORK_ON_DEMAND(Vorbisfile(), vorbis_info*, ov_info, (OggVorbis_File* file, int link), (file, link))
VORK_ON_DEMAND(Vorbisfile(), int, ov_clear, (OggVorbis_File* file), (file))
VORK_ON_DEMAND(Vorbisfile(), int, ov_pcm_seek, (OggVorbis_File* file, ogg_int64_t position), (file, position))
VORK_ON_DEMAND(Vorbisfile(), ogg_int64_t, ov_pcm_total, (OggVorbis_File* file, int link), (file, link))

}  // extern "C"
