#include "shell/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <utility>

#include "bridge/event_boundary.h"
#include "bridge/script_helpers.h"
#include "objects/system_object.h"
#include "platform/developer_mode.h"
#include "platform/diagnostic_log.h"
#include "platform/qt/main_form.h"
#include "platform/qt/virtual_keys.h"
#include "scene/background.h"
#include "scene/mouse_input.h"
#include "scene/view.h"
#include "shell/stage_zoom.h"

namespace vork {


QPoint TVkForm::CentredPosition(QSize frame, QSize screen) {
  // 34 pixels allow for a task bar below the window.
  return QPoint(std::max(0, (screen.width() - frame.width()) / 2),
                std::max(0, (screen.height() - (frame.height() + 34)) / 2));
}

TVkForm::TVkForm(QSize scene_size, const TVkDirector::ClassRegistration& register_classes)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      register_classes_(register_classes) {
  setWindowTitle(QApplication::applicationDisplayName());
  setFixedSize(scene_size);
  setAutoFillBackground(true);
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    // The frame is not known before the window is shown; the client size
    // stands in for it, as the platform may not let us place windows at all.
    move(CentredPosition(size(), screen->size()));
  }
  view_ = new TVkView(this, scene_size);
  view_->OnQuit = [this] { Quit(); };
  zoom_ = new StageZoom(this, view_);
  qApp->installEventFilter(this);
  SetMainForm(this);
}

TVkForm::~TVkForm() {
  qApp->removeEventFilter(this);
  if (MainForm() == this) SetMainForm(nullptr);
  director_.reset();
}

void TVkForm::StartCourse(std::span<const uint8_t> image_file, const std::string& source_map) {
  director_ = std::make_unique<TVkDirector>(view_, register_classes_);
  if (!source_map.empty()) {
    try {
      director_->UseSourceMap(SourceMap::Parse(source_map));
    } catch (const std::exception& fault) {
      // The course runs as well without; only the places are missing.
      std::fprintf(stderr, "The source map was not read: %s\n", fault.what());
    }
  }
  director_->OnFinished = [this] { ReleaseDirector(true); };
  view_->OnTransitionTo = [this](int32_t system_object, int32_t routine) {
    if (routine != 0 && first_scene_ != 0) routine = std::exchange(first_scene_, 0);
    RunOnSystemObject(system_object, [routine](TVkSystemObject& system) { system.TransitionTo(routine); });
  };
  view_->OnCallNotifyHandler = [this](int32_t system_object, int32_t routine) {
    RunOnSystemObject(system_object, [routine](TVkSystemObject& system) { system.CallNotifyHandler(routine); });
  };
  director_->Start(image_file);
}

void TVkForm::RestartCourse(std::span<const uint8_t> image_file, const std::string& source_map,
                            int32_t first_scene) {
  if (director_) {
    director_->Halt();
    view_->OnTransitionTo = nullptr;
    view_->OnCallNotifyHandler = nullptr;
    director_.reset();
  }
  first_scene_ = first_scene;
  StartCourse(image_file, source_map);
}

bool TVkForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    // Key preview: every key release inside this window, whichever control
    // has the focus, once. Qt offers the event to each widget up the chain
    // to the window, and the course's routine may take the focus away
    // meanwhile, after which the window would pass for the first receiver:
    // the release being offered is not previewed twice.
    const bool first_receiver = (widget->window() == this && widget == QApplication::focusWidget()) ||
                                (widget == this && QApplication::focusWidget() == nullptr);
    const bool again = key == previewed_.event && key->timestamp() == previewed_.timestamp &&
                       key->key() == previewed_.key;
    if (first_receiver && !again && !key->isAutoRepeat()) {
      previewed_ = {key, key->timestamp(), key->key()};
      KeyReleased(VirtualKeyOf(*key),
                  ShiftWord(static_cast<uint32_t>(ShiftStateFromQt(key->modifiers(), QApplication::mouseButtons()))));
    }
    // The offer ends at the window; a later event may reuse the address.
    if (widget == this) previewed_ = {};
  }
  return QWidget::eventFilter(watched, event);
}

void TVkForm::KeyReleased(int virtual_key, int shift) {
  if (virtual_key == kVkNumLock) {
    if (IsDevelopmentMachine()) ToggleDeveloperMode();
    return;
  }
  TVkSystemObject* system = TVkSystemObject::Current();
  if (!system || !director_) return;
  RunOnSystemObject(system->Handle(),
                    [virtual_key, shift](TVkSystemObject& target) { target.KeyReleased(virtual_key, shift); });
}

void TVkForm::RunOnSystemObject(int32_t handle, const std::function<void(TVkSystemObject&)>& body) {
  if (!director_) return;
  auto* system = dynamic_cast<TVkSystemObject*>(director_->Manager().Find(handle));
  if (!system) return;
  // The routines that body runs may destroy the system object or end the
  // course: both stay allocated until body has returned.
  TVkObjectManager::KeepAlive keep(director_->Manager(), *system);
  RunAtEventBoundary(director_->Processor(), [&] { body(*system); });
}

void TVkForm::ToggleDeveloperMode() {
  // Qt does not report the Num Lock state itself: each release of the key
  // toggles it, starting from off.
  SetDeveloperMode(!DeveloperMode());
  if (auto* stage = view_->Background()) stage->SetDeveloperViewStyle(DeveloperViewStyle());
  for (QWidget* widget : QApplication::allWidgets()) widget->update();
}

void TVkForm::Quit() {
  ReleaseDirector(false);
  close();
}

void TVkForm::ReleaseDirector(bool stopped) {
  if (!director_ || releasing_) return;
  releasing_ = true;
  director_->Halt();
  // Posted messages that arrive once the machine is gone are dropped.
  view_->OnTransitionTo = nullptr;
  view_->OnCallNotifyHandler = nullptr;
  FreeDirectorWhenIdle(stopped);
}

void TVkForm::FreeDirectorWhenIdle(bool stopped) {
  if (!director_) return;
  if (!director_->CanBeFreed()) {
    // Still inside an activation (a stop or quit inside a nested event
    // pump): try again from the event loop.
    QTimer::singleShot(0, this, [this, stopped] { FreeDirectorWhenIdle(stopped); });
    return;
  }
  director_.reset();
  releasing_ = false;
  if (OnCourseEnded) OnCourseEnded(stopped);
}

void TVkForm::closeEvent(QCloseEvent* event) {
  ReleaseDirector(false);
  QWidget::closeEvent(event);
}

}  // namespace vork
