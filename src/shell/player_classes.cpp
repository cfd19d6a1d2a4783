#include "shell/player_classes.h"

#include <memory>

#include "bridge/messages.h"
#include "bridge/object_manager.h"
#include "windows/comment_window.h"
#include "windows/glossary_window.h"
#include "exercises/crossword/crossword_object.h"
#include "exercises/dictation/dictor_object.h"
#include "exercises/gapfill/gapfill_object.h"
#include "exercises/matrix_object.h"
#include "exercises/test_manager_object.h"
#include "scene/background.h"
#include "scene/view.h"
#include "media/audio_recorder_object.h"
#include "players/media_buttons_object.h"
#include "players/media_player_objects.h"
#include "objects/edit_object.h"
#include "objects/font_object.h"
#include "objects/html/html_viewer_object.h"
#include "objects/html/person_object.h"
#include "objects/memo_object.h"
#include "objects/picture_object.h"
#include "objects/sprite_object.h"
#include "objects/text_object.h"
#include "data_objects/string_list_object.h"
#include "objects/system_object.h"
#include "objects/timer_object.h"
#include "objects/user_list_object.h"
#include "data_objects/vars_object.h"
#include "textscript/script_processor_object.h"

namespace vork {

void RegisterPlayerClasses(TVkObjectManager& manager) {
  // Class 0, the string, is built into the manager.
  manager.RegisterClass<TVkSystemObject>(ClassIndex::System);
  manager.RegisterClass<TVkTimerObject>(ClassIndex::Timer);
  manager.RegisterClass<TVkSpriteObject>(ClassIndex::Sprite);
  manager.RegisterClass<TVkMediaPlayerObject>(ClassIndex::MediaPlayer);
  manager.RegisterClass<TVkStdMediaPlayerObject>(ClassIndex::StdMediaPlayer);
  manager.RegisterClass<TVkMediaButtonsObject>(ClassIndex::MediaButtons);
  manager.RegisterClass<TVkIEMediaPlayerObject>(ClassIndex::BrowserMediaPlayer);
  manager.RegisterClass<TVkHtmlViewerObject>(ClassIndex::HtmlViewer);
  manager.RegisterClass<TVkMemoObject>(ClassIndex::Memo);
  manager.RegisterClass<TVkPersonObject>(ClassIndex::Person);
  manager.RegisterClass<TVkGlossaryWindowObject>(ClassIndex::GlossaryWindow);
  manager.RegisterClass<TVkCommentWindowObject>(ClassIndex::CommentWindow);
  manager.RegisterClass<TVkEditObject>(ClassIndex::Edit);
  manager.RegisterClass<TVkFontObject>(ClassIndex::Font);
  manager.RegisterClass<TVkGapfillObject>(ClassIndex::Gapfill);
  manager.RegisterClass<TVkDictorObject>(ClassIndex::Dictation);
  manager.RegisterClass<TVkTextObject>(ClassIndex::Text);
  manager.RegisterClass<TVkPictureObject>(ClassIndex::Picture);
  manager.RegisterClass<TVkStringListObject>(ClassIndex::StringList);
  manager.RegisterClass<TVkUserListComboBoxObject>(ClassIndex::UserList);
  manager.RegisterClass<TVkAudioRecorderObject>(ClassIndex::AudioRecorder);
  manager.RegisterClass<TVkVarsObject>(ClassIndex::Vars);
  manager.RegisterClass<TVkCrosswordObject>(ClassIndex::Crossword);
  manager.RegisterClass<TVkScriptProcessorObject>(ClassIndex::ScriptProcessor);
  manager.RegisterClass<TVkSa1TestManagerObject>(ClassIndex::TestManager);
  TVkSa1TestManagerObject::SetNoteShower([](TVkScriptObject& object, const std::string& note) {
    if (TVkView* view = object.View()) view->Background()->AddOverlayMessage(1, note);
  });
  manager.RegisterClass<TVkMatrixObject>(ClassIndex::Matrix);
}

}  // namespace vork
