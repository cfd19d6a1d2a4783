#pragma once
// TIVkGap: one gap of a gap-fill exercise, whatever field the learner
// answers in. The exercise drives every gap through these operations only.

#include <cstdint>
#include <functional>
#include <string>

namespace vork {

struct GapRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  bool Contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const GapRect&) const = default;
};

class TIVkGap {
 public:
  TIVkGap() = default;
  TIVkGap(const TIVkGap&) = delete;
  TIVkGap& operator=(const TIVkGap&) = delete;
  virtual ~TIVkGap() = default;

  // Whether the answer is right; a write gap also rewrites its text to show
  // the verdict.
  virtual bool Check() = 0;
  virtual void Clear() = 0;
  // Whether the answer is right, changing nothing.
  virtual bool IsCorrect() const = 0;
  // Wrong answers and normal display colour the field the same way; the two
  // names say why the exercise colours it.
  virtual void SetErrorColors(int32_t text_color, int32_t back_color) { SetColors(text_color, back_color); }
  virtual void ShowAnswer() = 0;
  virtual void SetColors(int32_t text_color, int32_t back_color) = 0;
  virtual int32_t GetWidth() const = 0;
  // In the coordinates of the page the gap's field lies on.
  virtual void SetPosition(int32_t left, int32_t top) = 0;
  virtual void SetFocus() = 0;
  virtual bool HasFocus() const = 0;

  std::string Comment;
  // Where a mouse release shows the gap's comment, in page coordinates.
  GapRect HitRect;
  // Enter released in the field. It may free the gap (the exercise loads
  // another text), so it runs last in whatever fires it.
  std::function<void()> OnEnter;
};

}  // namespace vork
