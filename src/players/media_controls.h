#pragma once
// TVkMediaControls: the media button bar, six picture buttons side by side
// (play, extra, stop, to the start, back, forward). Its strip holds six
// columns, one a button, and three rows of the same buttons, one a state:
// normal, pressed, disabled. Button 1, the extra button, can be left out,
// which makes the bar one cell narrower.
//
// The bar also works from the keyboard: Tab reaches it, Left and Right move
// among its buttons (the current one is outlined while the bar has the
// focus), and Space or Return presses the current button as a click would.

#include <QImage>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

namespace vork {

class TVkMediaControls : public QWidget {
 public:
  static constexpr int kButtons = 6;
  static constexpr int kExtraButton = 1;
  enum ButtonState : uint8_t { kNormal = 0, kPressed = 1, kDisabled = 2 };
  static constexpr int kNoButton = -1;

  explicit TVkMediaControls(QWidget* parent = nullptr);

  const QImage& Strip() const { return strip_; }
  // The bar takes the size of one row of cells (without the extra one when
  // it is hidden) and repaints.
  void SetStrip(const QImage& strip);
  bool ShowExtra() const { return show_extra_; }
  void SetShowExtra(bool show);
  // Enables or disables the extra button alone.
  void SetExtraEnabled(bool enabled);

  ButtonState State(int button) const { return states_[static_cast<size_t>(button)]; }
  // Repaints when the state changes.
  void SetState(int button, ButtonState state);
  int PressedButton() const { return pressed_; }
  // The button the keyboard presses.
  int CurrentButton() const { return current_; }

  // The button under (x, y), or kNoButton.
  int HitTest(int x, int y) const;
  int CellWidth() const { return strip_.width() / kButtons; }
  int CellHeight() const { return strip_.height() / 3; }

  // sender, button
  std::function<void(TVkMediaControls*, int)> OnButtonClick;
  std::function<void(TVkMediaControls*)> OnExtraClick;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Resize();
  bool Shown(int button) const { return show_extra_ || button != kExtraButton; }
  // Where the button's cell is on the bar.
  int CellLeft(int button) const;
  // The next shown button in `direction` (+1, -1), or `from` at either end.
  int NextShown(int from, int direction) const;
  // Runs the click handlers of an enabled button, as a release on it does.
  void Click(int button);

  QImage strip_;
  std::array<ButtonState, kButtons> states_{};
  int pressed_ = kNoButton;
  int current_ = 0;
  bool show_extra_ = true;
};

}  // namespace vork
