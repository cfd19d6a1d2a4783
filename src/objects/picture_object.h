#pragma once
// TVkButton: a picture shown as a child window of the stage (not as a
// sprite), one column of a strip of frames; and TVkPictureObject (class 18),
// the bytecode's handle on one, with a routine for mouse releases over it.

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "bridge/script_object.h"
#include "scene/mouse_input.h"

namespace vork {

class TVkButton : public QWidget {
 public:
  // At (0, 0), 32 x 32.
  explicit TVkButton(QWidget* parent = nullptr);

  const QImage& Bitmap() const { return bitmap_; }
  // A picture that is not empty gives the control its size: one frame
  // wide, the picture's height, at the same position.
  void SetBitmap(const QImage& picture);
  int FrameCount() const { return frame_count_; }
  // Counts below 1 count as 1.
  void SetFrameCount(int count);
  int Frame() const { return frame_; }
  void SetFrame(int frame);
  // Kept for the course; the control paints only its picture either way, so
  // what lies below shows wherever it paints nothing.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent) { transparent_ = transparent; }

  // A mouse button released over the control; x and y relative to it.
  std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseUp;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void PictureChanged();

  QImage bitmap_;
  int frame_count_ = 1;
  int frame_ = 0;
  bool transparent_ = false;
};

class TVkPictureObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  TVkButton* Control() const { return control_; }

 private:
  TVkButton& RequireControl() const;
  void MouseReleased(TMouseButton button, TShiftState shift, int x, int y);

  QPointer<TVkButton> control_;
  int32_t on_mouse_up_ = 0;
};

}  // namespace vork
