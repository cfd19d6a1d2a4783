#include "windows/glossary_window.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <memory>

#include "bridge/messages.h"
#include "dialogs/link_command.h"
#include "objects/html/html_viewer.h"
#include "resources/res_manager.h"

namespace vork {

TVkGlossaryForm::TVkGlossaryForm(TVkResManager& resources)
    : TVkFloatingForm(QSize(236, 226), QRect(189, 7, 42, 25)) {
  LoadBackground(resources, "_glosbg.img");
  viewer_ = NewViewer(QRect(6, 47, 224, 173), resources);
  viewer_->LoadDocument("glossary.htm");
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int screen_width = screen ? screen->geometry().width() : width();
  move(screen_width - width(), 0);
}

void TVkGlossaryForm::ShowEntry(std::string_view command) {
  const std::string target = ParseLinkCommand(command).Parameter("target");
  if (target.empty()) viewer_->ScrollToTop();
  else viewer_->PositionTo(target);
  show();
  raise();
}

void TVkGlossaryWindowObject::Init() {
  // Owned here until Release; a missing glossary fails the creation.
  auto form = std::make_unique<TVkGlossaryForm>(ResManager());
  form_ = form.release();
  QCoreApplication::processEvents();
}

void TVkGlossaryWindowObject::Release() {
  if (form_) {
    form_->hide();
    form_->deleteLater();
  }
  form_ = nullptr;
}

void TVkGlossaryWindowObject::HandleMessage(int32_t message) {
  switch (static_cast<GlossaryWindowMessage>(message)) {
    case GlossaryWindowMessage::ShowEntry: {
      const std::string command = PopString();
      RequireControl(form_, "Glossary window").ShowEntry(command);
      break;
    }
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
