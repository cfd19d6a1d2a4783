/* liboggaudio.so: the player's sound library.
 *
 * Plays Ogg Vorbis sounds (the Ogg engine) and wave sounds (the wave
 * engine: PCM of 8 to 32 bits, IEEE float, IMA and Microsoft ADPCM, mu-law,
 * A-law and GSM 6.10) through one shared audio output. A sound is named by its location:
 * a file path, or "archive path@offset,size" for a byte range inside a course
 * archive. The location is split at the last "@" that is followed by decimal
 * digits, a comma and decimal digits up to its end; any other "@" belongs to
 * the path.
 *
 * Each engine plays one sound at a time: a new play on an engine replaces the
 * sound that engine was playing, while the other engine's sound goes on and
 * both are mixed. Stopping either engine silences every sound at once.
 *
 * The audio output is opened on the first play, not when the library is
 * loaded. It is asked for 16-bit stereo at 44,100 Hz with a buffer of 1,024
 * sample frames (about 23 ms); where the device insists, its own rate and
 * channel count are used instead. The obtained output is written to the
 * diagnostic log (VORK_LOG). A machine without a usable audio output plays
 * nothing: every play then answers OGGAUDIO_ERROR_NO_AUDIO_OUTPUT, and the log
 * says so once.
 *
 * Every entry point may be called from any thread; none lets a C++ exception
 * out. The player loads the library with dlopen and looks the entry points up
 * by name; the typedefs below are the types to cast dlsym's answers to.
 */
#ifndef VORK_MEDIA_OGGAUDIO_OGGAUDIO_H
#define VORK_MEDIA_OGGAUDIO_OGGAUDIO_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define OGGAUDIO_API __attribute__((visibility("default")))
#else
#define OGGAUDIO_API
#endif

/* The revision OggGetRev answers; the player refuses any other. */
#define OGGAUDIO_REVISION 4

/* Error codes answered by OggGetError after a play answered 0. */
enum {
  OGGAUDIO_ERROR_NONE = 0,
  OGGAUDIO_ERROR_BAD_LOCATION = 1,     /* empty location, or a range whose numbers do not fit */
  OGGAUDIO_ERROR_CANNOT_OPEN = 2,      /* missing, unreadable or not a regular file */
  OGGAUDIO_ERROR_RANGE_PAST_END = 3,   /* the byte range reaches past the end of the file */
  OGGAUDIO_ERROR_NOT_A_SOUND = 4,      /* not Ogg Vorbis / not a wave the engine decodes */
  OGGAUDIO_ERROR_NO_AUDIO_OUTPUT = 5,  /* no audio device could be opened */
  OGGAUDIO_ERROR_INTERNAL = 6          /* out of memory or another internal failure */
};

/* Answers OGGAUDIO_REVISION. */
OGGAUDIO_API int OggGetRev(void);

/* Plays the Ogg Vorbis sound at `location`. With `wait` non-zero, returns once
 * the sound has ended or was stopped (from another thread). The four reserved
 * words are ignored and should be 0. Answers non-zero on success, 0 on
 * failure; OggGetError then gives the reason. */
OGGAUDIO_API int OggPlaySound(const char* location, int wait, int reserved1, int reserved2,
                              int reserved3, int reserved4);

/* Stops every sound of both engines: once it returns, nothing more of them
 * is given to the device, which only plays out what it already holds. `wait`
 * is accepted for the callers' sake and changes nothing. Answers non-zero. */
OGGAUDIO_API int OggStopSound(int wait);

/* The error code of the most recent play of either engine
 * (OGGAUDIO_ERROR_NONE after a successful one). */
OGGAUDIO_API int OggGetError(void);

/* Non-zero while a sound started by OggPlaySound is still playing. Lets the
 * player wait for a sound while it goes on processing its own events. */
OGGAUDIO_API int OggIsPlaying(void);

/* The wave engine: plays a wave sound (any encoding above, 1 to 8 channels,
 * 1,000 to 384,000 Hz) at `location`, like OggPlaySound. */
OGGAUDIO_API int WavPlaySound(const char* location, int wait);

/* Plays a recording on the wave engine from `start_ms` milliseconds on,
 * streaming it from `location` like WavPlaySound: a wave sound or an Ogg
 * Vorbis sound, told apart by its first bytes. A start at or past the end
 * plays nothing and answers success; a negative start counts as 0. Optional
 * for callers: newer than the rest of this interface. */
OGGAUDIO_API int WavPlaySoundFrom(const char* location, int start_ms, int wait);

/* Stops every sound of both engines, like OggStopSound. Answers non-zero. */
OGGAUDIO_API int WavStopSound(void);

/* Non-zero while a sound started by WavPlaySound is still playing. */
OGGAUDIO_API int WavIsPlaying(void);

/* Sets the volume of everything both engines play, from 0 (silent) to 100
 * (as recorded, the default); other values are clamped. Applies at once,
 * also to sounds already playing. Optional for callers: a player that does
 * not find it plays at full volume. */
OGGAUDIO_API void OggSetVolume(int volume);

/* Stops every sound and closes the audio output (for example before the
 * player unloads the library). The next play opens it again. */
OGGAUDIO_API void OggShutdown(void);

typedef int (*OggGetRevFunction)(void);
typedef int (*OggPlaySoundFunction)(const char*, int, int, int, int, int);
typedef int (*OggStopSoundFunction)(int);
typedef int (*OggGetErrorFunction)(void);
typedef int (*OggIsPlayingFunction)(void);
typedef int (*WavPlaySoundFunction)(const char*, int);
typedef int (*WavPlaySoundFromFunction)(const char*, int, int);
typedef int (*WavStopSoundFunction)(void);
typedef int (*WavIsPlayingFunction)(void);
typedef void (*OggShutdownFunction)(void);
typedef void (*OggSetVolumeFunction)(int);

#ifdef __cplusplus
}
#endif

#endif
