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

namespace {

template <typename T>
void Register(TVkObjectManager& manager, ClassIndex class_index) {
  manager.RegisterClass(ToWord(class_index), [](TVkObjectManager&) { return std::make_unique<T>(); });
}

}  // namespace

void RegisterPlayerClasses(TVkObjectManager& manager) {
  // Class 0, the string, is built into the manager.
  Register<TVkSystemObject>(manager, ClassIndex::System);
  Register<TVkTimerObject>(manager, ClassIndex::Timer);
  Register<TVkSpriteObject>(manager, ClassIndex::Sprite);
  Register<TVkMediaPlayerObject>(manager, ClassIndex::MediaPlayer);
  Register<TVkStdMediaPlayerObject>(manager, ClassIndex::StdMediaPlayer);
  Register<TVkMediaButtonsObject>(manager, ClassIndex::MediaButtons);
  Register<TVkIEMediaPlayerObject>(manager, ClassIndex::BrowserMediaPlayer);
  Register<TVkHtmlViewerObject>(manager, ClassIndex::HtmlViewer);
  Register<TVkMemoObject>(manager, ClassIndex::Memo);
  Register<TVkPersonObject>(manager, ClassIndex::Person);
  Register<TVkGlossaryWindowObject>(manager, ClassIndex::GlossaryWindow);
  Register<TVkCommentWindowObject>(manager, ClassIndex::CommentWindow);
  Register<TVkEditObject>(manager, ClassIndex::Edit);
  Register<TVkFontObject>(manager, ClassIndex::Font);
  Register<TVkGapfillObject>(manager, ClassIndex::Gapfill);
  Register<TVkDictorObject>(manager, ClassIndex::Dictation);
  Register<TVkTextObject>(manager, ClassIndex::Text);
  Register<TVkPictureObject>(manager, ClassIndex::Picture);
  Register<TVkStringListObject>(manager, ClassIndex::StringList);
  Register<TVkUserListComboBoxObject>(manager, ClassIndex::UserList);
  Register<TVkAudioRecorderObject>(manager, ClassIndex::AudioRecorder);
  Register<TVkVarsObject>(manager, ClassIndex::Vars);
  Register<TVkCrosswordObject>(manager, ClassIndex::Crossword);
  Register<TVkScriptProcessorObject>(manager, ClassIndex::ScriptProcessor);
  Register<TVkSa1TestManagerObject>(manager, ClassIndex::TestManager);
  Register<TVkMatrixObject>(manager, ClassIndex::Matrix);
}

}  // namespace vork
