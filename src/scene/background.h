#pragma once
// The stage background: a picture over a fill colour with windowless sprites
// on top, drawn through an off-screen buffer, with the mouse routed to the
// sprite under the pointer.
//
// Painting is collected between BeginUpdate and EndUpdate; the outermost
// EndUpdate renders the dirty rectangle into the buffer and puts it on screen
// at once (QWidget::repaint), so that code which blocks afterwards (a slide,
// a transition, a synchronous sound) still shows its frames. The buffer always
// holds the last completed picture: a paint request from the window system in
// the middle of a batch shows that picture, never a half-built scene.
//
// Child widgets of the background (edit fields, players) are ordinary Qt
// children; Qt clips them out of the background's painting.

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <string_view>

#include "scene/message_overlay.h"
#include "scene/mouse_input.h"
#include "scene/sprite_list.h"

namespace vork {

class TSprite;

class TBackground : public QWidget {
  Q_OBJECT

 public:
  explicit TBackground(QWidget* parent = nullptr);
  // Frees every sprite still on the background.
  ~TBackground() override;

  void BeginUpdate();
  // Raises "TBackground: Too many calls to EndUpdate" without a matching
  // BeginUpdate (the count stays as it was).
  void EndUpdate();
  int UpdateCount() const { return update_count_; }
  void InvalidateRect(const QRect& area);
  QRect DirtyRect() const { return dirty_rect_; }

  // The enabled sprite under (x, y), or nullptr; a disabled sprite on top
  // shields the ones below it.
  TSprite* SpriteAt(int x, int y) const;
  int SpriteCount() const { return sprites_.Count(); }
  TSprite* SpriteByIndex(int index) const { return sprites_.Item(index); }
  const TSpriteList& Sprites() const { return sprites_; }

  void AddOverlayMessage(int kind, std::string_view text);
  void SetOverlayVisible(bool visible);
  const MessageOverlay& Overlay() const { return overlay_; }

  // Forgets the held buttons and the hovered and captured sprites (a scene
  // change throws away the sprites they refer to).
  void ResetMouseState();
  int CaptureCount() const { return capture_count_; }
  TSprite* CapturedSprite() const { return captured_sprite_; }
  TSprite* HoverSprite() const { return hover_sprite_; }

  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool auto_size);
  // The stage picture; may be null. Setting it copies the picture.
  const QImage& Bitmap() const { return bitmap_; }
  void SetBitmap(const QImage& picture);

  // The fill colour as a Windows colour word.
  std::int32_t Color() const { return color_; }
  void SetColor(std::int32_t color);

  // The developer view style, decided by the owner from developer mode (the
  // development machine with Num Lock on): 0 while the mode is off, else 1
  // or 2, alternating with each switch-on. Marks and overlay show in 1 and 2.
  void SetDeveloperViewStyle(int style);
  bool DeveloperMode() const { return developer_view_style_ != 0; }
  int DeveloperViewStyle() const { return developer_view_style_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  friend class TSprite;

  void InvalidateAll() { InvalidateRect(rect()); }
  void PaintRect(const QRect& area);
  void RenderToBuffer(const QRect& area);
  void ResizeBuffer();
  void CopyToWindow(const QRect& area);
  void DrawBuffer(QPainter& painter, const QRect& area) const;
  void AdjustSize();
  void ForgetSprite(const TSprite* sprite);

  void ButtonDown(TMouseButton button, TShiftState shift, QPoint at);
  void PointerMoved(TShiftState shift, QPoint at);
  void ButtonUp(TMouseButton button, TShiftState shift, QPoint at);
  void RedrawHeldSpriteRings();

  bool auto_size_ = true;
  QImage bitmap_;
  QImage buffer_;
  QRect dirty_rect_;
  MessageOverlay overlay_;
  int capture_count_ = 0;
  TSprite* captured_sprite_ = nullptr;
  TSprite* hover_sprite_ = nullptr;
  TSpriteList sprites_;
  int update_count_ = 0;
  std::int32_t color_ = 0;
  int developer_view_style_ = 0;
  // Set while a paint event of ours runs: the buffer is drawn by that event,
  // not by another repaint.
  bool in_paint_event_ = false;
  // Set while our own repaint() puts the rendered buffer on screen.
  bool copying_to_window_ = false;
  QRect copy_area_;
};

// The stage's background; it adds nothing to TBackground.
class TVkBackground : public TBackground {
  Q_OBJECT

 public:
  using TBackground::TBackground;
};

// BeginUpdate now, EndUpdate at the end of the scope, also when an exception
// leaves it. Does nothing for a null background; survives the background
// being destroyed inside the scope.
class UpdateBatch {
 public:
  explicit UpdateBatch(TBackground* background);
  ~UpdateBatch() noexcept(false);
  UpdateBatch(const UpdateBatch&) = delete;
  UpdateBatch& operator=(const UpdateBatch&) = delete;

 private:
  QPointer<TBackground> background_;
  int exceptions_on_entry_;
};

}  // namespace vork
