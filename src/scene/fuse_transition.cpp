#include "scene/fuse_transition.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/player_host.h"

namespace vork {

namespace {

// Step of each position in a cell, by row (y) and column (x).
constexpr int kFuseTable[8][8] = {
    {2, 34, 10, 42, 3, 35, 11, 43},  {54, 30, 62, 22, 55, 31, 63, 23},
    {14, 46, 6, 38, 15, 47, 7, 39},  {58, 18, 50, 26, 59, 19, 51, 27},
    {4, 36, 12, 44, 1, 33, 9, 41},   {56, 32, 64, 24, 53, 29, 61, 21},
    {16, 48, 8, 40, 13, 45, 5, 37},  {60, 20, 52, 28, 57, 17, 49, 25},
};

// When step `step` falls due, in milliseconds after the start.
std::int64_t StepTime(int step, int duration_ms) {
  return (static_cast<std::int64_t>(step) * duration_ms + kFuseSteps - 1) / kFuseSteps;
}

void CopyCellPosition(QImage& frame, const QImage& next, int cell_x, int cell_y) {
  const int width = frame.width();
  for (int y = cell_y; y < frame.height(); y += 8) {
    auto* target = reinterpret_cast<QRgb*>(frame.scanLine(y));
    const auto* source = reinterpret_cast<const QRgb*>(next.constScanLine(y));
    for (int x = cell_x; x < width; x += 8) target[x] = source[x];
  }
}

}  // namespace

int FuseStepAt(int x, int y) { return kFuseTable[y % 8][x % 8]; }

int FuseStepsDue(std::int64_t elapsed_ms, int duration_ms) {
  if (duration_ms <= 0 || elapsed_ms >= duration_ms) return kFuseSteps;
  if (elapsed_ms <= 0) return 0;
  return static_cast<int>(elapsed_ms * kFuseSteps / duration_ms);
}

void ApplyFuseSteps(QImage& frame, const QImage& next, int done, int due) {
  for (int cell_y = 0; cell_y < 8; ++cell_y) {
    for (int cell_x = 0; cell_x < 8; ++cell_x) {
      const int step = kFuseTable[cell_y][cell_x];
      if (step > done && step <= due) CopyCellPosition(frame, next, cell_x, cell_y);
    }
  }
}

void TFuseTransition::Blend(const QImage& next) {
  const std::int64_t start = MonotonicMilliseconds();
  int done = 0;
  while (done < kFuseSteps && Prepared()) {
    const std::int64_t elapsed = MonotonicMilliseconds() - start;
    const int due = FuseStepsDue(elapsed, Duration());
    if (due <= done) {
      const std::int64_t wait = std::clamp<std::int64_t>(StepTime(done + 1, Duration()) - elapsed, 1, 10);
      Host().Sleep(wait);
      continue;
    }
    ApplyFuseSteps(Frame(), next, done, due);
    done = due;
    ShowFrame(done);
  }
}

}  // namespace vork
