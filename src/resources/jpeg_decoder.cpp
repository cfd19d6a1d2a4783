// JPEG through libjpeg-turbo. libjpeg reports a fatal error by calling
// error_exit, whose default ends the process; ours jumps back here instead,
// and the failure becomes an EVkError once no libjpeg frame is left on the
// stack (an exception must not unwind through C code).

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <string>

#include <jpeglib.h>

#include "platform/errors.h"
#include "resources/picture.h"

namespace vork {

namespace {

// A progressive file may ask for any number of scans; real pictures use a
// dozen. Past this many the file is refused instead of spinning for minutes.
constexpr int kMaxScans = 256;

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

struct ScanLimit {
  jpeg_progress_mgr base;
  j_decompress_ptr info;
};

void OnError(j_common_ptr info) {
  auto* errors = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, errors->message);
  std::longjmp(errors->jump, 1);
}

void OnMessage(j_common_ptr, int) {}  // warnings about damaged data are not shown

void OnProgress(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->is_decompressor && decompress->input_scan_number > kMaxScans) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    std::snprintf(errors->message, sizeof errors->message, "more than %d scans", kMaxScans);
    std::longjmp(errors->jump, 1);
  }
}

uint32_t FromCmyk(const JSAMPLE* p, bool inverted) {
  // Adobe writes CMYK inverted; the product of each ink with black is the
  // colour left on the page.
  auto ink = [inverted](JSAMPLE v) { return static_cast<uint32_t>(inverted ? v : 255 - v); };
  uint32_t k = ink(p[3]);
  uint32_t r = ink(p[0]) * k / 255, g = ink(p[1]) * k / 255, b = ink(p[2]) * k / 255;
  return 0xFF000000u | r << 16 | g << 8 | b;
}

// Everything libjpeg touches lives in *state, outside the frame that calls
// setjmp, so nothing needs to be volatile and no destructor is skipped.
struct DecodeState {
  jpeg_decompress_struct info;
  ErrorManager errors;
  ScanLimit progress;
  std::string_view name;
  Picture picture;
  std::vector<JSAMPLE> row;
  bool too_large = false;
  std::string size_error;
};

bool DecodeInto(DecodeState& s, std::string_view data) {
  s.info.err = jpeg_std_error(&s.errors.base);
  s.errors.base.error_exit = OnError;
  s.errors.base.emit_message = OnMessage;
  if (setjmp(s.errors.jump)) {
    jpeg_destroy_decompress(&s.info);
    return false;
  }
  jpeg_create_decompress(&s.info);
  s.progress.base.progress_monitor = OnProgress;
  s.info.progress = &s.progress.base;
  jpeg_mem_src(&s.info, reinterpret_cast<const unsigned char*>(data.data()),
               static_cast<unsigned long>(data.size()));
  jpeg_read_header(&s.info, TRUE);
  try {
    CheckPictureSize(s.info.image_width, s.info.image_height, s.name);
  } catch (const EVkError& error) {
    s.size_error = error.what();
    jpeg_destroy_decompress(&s.info);
    return false;
  }
  bool cmyk = s.info.jpeg_color_space == JCS_CMYK || s.info.jpeg_color_space == JCS_YCCK;
  s.info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  jpeg_start_decompress(&s.info);
  int width = static_cast<int>(s.info.output_width);
  int height = static_cast<int>(s.info.output_height);
  s.picture.width = width;
  s.picture.height = height;
  s.picture.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF000000u);
  s.row.resize(static_cast<size_t>(width) * 4);
  bool inverted = s.info.saw_Adobe_marker;
  while (s.info.output_scanline < s.info.output_height) {
    size_t y = s.info.output_scanline;
    JSAMPROW rows[1] = {s.row.data()};
    jpeg_read_scanlines(&s.info, rows, 1);
    uint32_t* out = s.picture.pixels.data() + y * static_cast<size_t>(width);
    for (size_t x = 0; x < static_cast<size_t>(width); ++x) {
      const JSAMPLE* p = s.row.data() + 4 * x;
      // BGRA bytes are the 32-bit value 0xAARRGGBB on a little-endian machine.
      out[x] = cmyk ? FromCmyk(p, inverted)
                    : 0xFF000000u | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
    }
  }
  jpeg_finish_decompress(&s.info);
  jpeg_destroy_decompress(&s.info);
  return true;
}

}  // namespace

Picture DecodeJpeg(std::string_view data, std::string_view name) {
  auto state = std::make_unique<DecodeState>();
  state->name = name;
  if (!DecodeInto(*state, data)) {
    if (!state->size_error.empty()) throw EVkError(state->size_error);
    throw EVkError("Cannot decode JPEG picture \"" + std::string(name) + "\": " + state->errors.message);
  }
  return std::move(state->picture);
}

}  // namespace vork
