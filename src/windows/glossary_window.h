#pragma once
// The glossary window: the course's glossary ("glossary.htm") in a small
// floating window at the top-right corner of the screen, opened at the
// entry a command names. TVkGlossaryWindowObject (class 11) owns one.

#include <QPointer>
#include <string_view>

#include "bridge/script_object.h"
#include "windows/floating_form.h"

namespace vork {

class TVkGlossaryForm : public TVkFloatingForm {
 public:
  // Loads the background picture and the glossary: the resource manager's
  // error when either is missing.
  explicit TVkGlossaryForm(TVkResManager& resources);

  // "...?target=NAME" moves to the anchor NAME; without a target the
  // glossary shows from its top. Shows the window.
  void ShowEntry(std::string_view command);

  TVkHTMLViewer* Viewer() const { return viewer_; }

 private:
  TVkHTMLViewer* viewer_;
};

class TVkGlossaryWindowObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  TVkGlossaryForm* Form() const { return form_; }

 private:
  QPointer<TVkGlossaryForm> form_;
};

}  // namespace vork
