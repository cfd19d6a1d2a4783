#include "shell/player_classes.h"

#include <memory>

#include "bridge/object_manager.h"
#include "dialogs/comment_window.h"
#include "dialogs/glossary_window.h"
#include "exercises/crossword/crossword_object.h"
#include "exercises/dictation/dictor_object.h"
#include "exercises/gapfill/gapfill_object.h"
#include "exercises/matrix_object.h"
#include "exercises/test_manager_object.h"
#include "media/audio_recorder_object.h"
#include "media/players/media_buttons_object.h"
#include "media/players/media_player_objects.h"
#include "objects/edit_object.h"
#include "objects/font_object.h"
#include "objects/html/html_viewer_object.h"
#include "objects/html/person_object.h"
#include "objects/memo_object.h"
#include "objects/picture_object.h"
#include "objects/sprite_object.h"
#include "objects/text_object.h"
#include "objects/string_list_object.h"
#include "objects/system_object.h"
#include "objects/timer_object.h"
#include "objects/user_list_object.h"
#include "objects/vars_object.h"
#include "textscript/script_processor_object.h"

namespace vork {

namespace {

template <typename T>
void Register(TVkObjectManager& manager, int32_t class_index) {
  manager.RegisterClass(class_index, [](TVkObjectManager&) { return std::make_unique<T>(); });
}

}  // namespace

void RegisterPlayerClasses(TVkObjectManager& manager) {
  // Class 0, the string, is built into the manager.
  Register<TVkSystemObject>(manager, 1);
  Register<TVkTimerObject>(manager, 2);
  Register<TVkSpriteObject>(manager, 3);
  Register<TVkMediaPlayerObject>(manager, 4);
  Register<TVkStdMediaPlayerObject>(manager, 5);
  Register<TVkMediaButtonsObject>(manager, 6);
  Register<TVkIEMediaPlayerObject>(manager, 7);
  Register<TVkHtmlViewerObject>(manager, 8);
  Register<TVkMemoObject>(manager, 9);
  Register<TVkPersonObject>(manager, 10);
  Register<TVkGlossaryWindowObject>(manager, 11);
  Register<TVkCommentWindowObject>(manager, 12);
  Register<TVkEditObject>(manager, 13);
  Register<TVkFontObject>(manager, 14);
  Register<TVkGapfillObject>(manager, 15);
  Register<TVkDictorObject>(manager, 16);
  Register<TVkTextObject>(manager, 17);
  Register<TVkPictureObject>(manager, 18);
  Register<TVkStringListObject>(manager, 19);
  Register<TVkUserListComboBoxObject>(manager, 20);
  Register<TVkAudioRecorderObject>(manager, 21);
  Register<TVkVarsObject>(manager, 22);
  Register<TVkCrosswordObject>(manager, 23);
  Register<TVkScriptProcessorObject>(manager, 24);
  Register<TVkSa1TestManagerObject>(manager, 25);
  Register<TVkMatrixObject>(manager, 26);
}

}  // namespace vork
