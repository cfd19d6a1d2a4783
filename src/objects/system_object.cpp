#include "objects/system_object.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QWidget>
#include <cstdio>
#include <optional>

#include "bridge/messages.h"
#include "bridge/object_manager.h"
#include "bridge/script_helpers.h"
#include "dialogs/dialog_record.h"
#include "install/install_part.h"
#include "install/keystrokes.h"
#include "install/run_program.h"
#include "install/zentor_controller.h"
#include "media/play_audio.h"
#include "text/answers.h"
#include "text/crc32.h"
#include "text/normalize.h"
#include "text/number_text.h"
#include "objects/sprite_group_messages.h"
#include "data_objects/string_list_object.h"
#include "text/temp_file.h"
#include "text/text_edits.h"
#include "text/text_fields.h"
#include "text/word_lists.h"
#include "platform/clock.h"
#include "platform/course_directories.h"
#include "platform/cp1252.h"
#include "platform/deferred_saves.h"
#include "platform/developer_mode.h"
#include "platform/errors.h"
#include "platform/message_boxes.h"
#include "platform/path_resolver.h"
#include "platform/player_host.h"
#include "platform/program_location.h"
#include "platform/qt/main_form.h"
#include "platform/qt/qt_text.h"
#include "platform/random.h"
#include "platform/version.h"
#include "scene/background.h"
#include "scene/fuse_transition.h"
#include "scene/view.h"
#include "resources/config.h"
#include "resources/qt_picture.h"
#include "resources/res_manager.h"
#include "textscript/script_processor_object.h"
#include "users/user.h"
#include "users/user_list.h"
#include "users/user_names.h"

namespace vork {

namespace {

TVkSystemObject* current = nullptr;


char SeparatorOf(const std::string& text) { return static_cast<char>(KeyCodeOf(text)); }

// Restores the cursor it replaced with the hourglass, on every path.
class HourglassCursor {
 public:
  HourglassCursor() {
    if (QApplication::instance()) QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~HourglassCursor() {
    if (QApplication::instance()) QApplication::restoreOverrideCursor();
  }
  HourglassCursor(const HourglassCursor&) = delete;
  HourglassCursor& operator=(const HourglassCursor&) = delete;
};

// Enables the main window again when a scene change leaves early through a
// fault, so that a failed leave or build routine does not leave the player
// ignoring every later click.
class MainFormReenabler {
 public:
  ~MainFormReenabler() {
    if (armed_ && MainForm()) MainForm()->setEnabled(true);
  }
  void Disarm() { armed_ = false; }

 private:
  bool armed_ = true;
};

}  // namespace


TVkSystemObject::TVkSystemObject() : sprite_groups_(std::make_unique<TVkSpriteGroupMessages>(*this)) {}

TVkSystemObject::~TVkSystemObject() {
  if (current == this) current = nullptr;
}

TVkSystemObject* TVkSystemObject::Current() { return current; }

TBackground* TVkSystemObject::Stage() const {
  TVkView* view = View();
  return view ? view->Background() : nullptr;
}

void TVkSystemObject::Init() {
  transition_ = std::make_unique<TFuseTransition>(500);
  user_ = std::make_unique<TVkUser>("kestrova_" + LowerCase(ProgramName()),
                                    PlayerConfigDirectory());
  current = this;
}

void TVkSystemObject::Release() {
  if (current == this) current = nullptr;
  user_.reset();
  transition_.reset();
}

void TVkSystemObject::RunWithArgument(int32_t routine, int32_t argument) {
  PushInt(argument);
  RunRoutine(routine);
}

void TVkSystemObject::NewObject(vork::ClassIndex class_index) {
  PushInt(Manager().CreateObject(ToWord(class_index)));
}

uint32_t TVkSystemObject::TransitionTo(int32_t routine) {
  const int64_t started = MonotonicMilliseconds();
  SaveDeferredChanges();
  MainFormReenabler reenable;
  DisableMainForm();
  TBackground* stage = Stage();
  if (stage) stage->ResetMouseState();
  StopAllMedia(Manager());
  CloseZentorIfStarted();
  HourglassCursor hourglass;

  const bool fuse = fuse_next_;
  fuse_next_ = false;
  std::unique_ptr<TTransitionEffect> transition;
  if (fuse) transition = std::make_unique<TFuseTransition>(500);
  else transition = std::make_unique<TFlickerFreeTransition>();
  // An instant change only keeps the old scene in view while the new one
  // builds. Before the first scene there is none to keep, and a change to
  // routine 0 ends the course and closes the window: capturing the stage
  // would only delay the first scene and the end. A fade still runs.
  if (stage && (fuse || (current_scene_ != 0 && routine != 0))) transition->Prepare(stage, stage->rect());

  {
    UpdateBatch batch(stage);
    if (current_scene_ != 0) RunWithArgument(current_scene_, 3);
    // The leave routine may have ended the course (a nested quit).
    if (!Manager().IsLive(Handle())) return 0;
    Manager().ReleaseSceneObjects(routine);
    ResManager().ResetPictureStatistics();
    if (stage) {
      stage->SetColor(0);
      stage->SetBitmap(QImage());
    }
    function_key_handler_ = 0;
    key_handler_ = 0;
    ResManager().ClearPrefetch();
    previous_scene_ = current_scene_;
    current_scene_ = routine;
    if (routine != 0) RunWithArgument(routine, 0);
  }
  if (!Manager().IsLive(Handle())) return 0;
  transition->Execute();
  reenable.Disarm();
  EnableMainForm();
  // A build routine that asked for another scene change has had it carried
  // out by the events just processed: this scene is gone, and its "shown"
  // call must not run.
  if (!Manager().IsLive(Handle())) return 0;
  if (routine != 0 && current_scene_ == routine) {
    RunWithArgument(routine, 1);
    Host().SceneShown();
  }
  if (!Manager().IsLive(Handle())) return 0;
  last_transition_time_ = static_cast<uint32_t>(MonotonicMilliseconds() - started);
  return last_transition_time_;
}

void TVkSystemObject::CallNotifyHandler(int32_t routine) { RunWithArgument(routine, 0); }

void TVkSystemObject::KeyReleased(int virtual_key, int32_t shift) {
  const bool function_key = DeveloperMode() && virtual_key >= 112 && virtual_key <= 123;
  const int32_t handler = function_key ? function_key_handler_ : key_handler_;
  if (handler == 0) return;
  PushInt(0);
  PushInt(virtual_key);
  PushInt(shift);
  RunRoutine(handler);
}

void TVkSystemObject::Random(int32_t upper, int32_t lower) {
  if (lower == -314159265 && upper == -123456789) {
    PushInt(1);
    return;
  }
  // upper - lower + 1 in 64 bits: the span of two words does not fit in one.
  const int64_t span = static_cast<int64_t>(upper) - lower + 1;
  if (span <= 0) {
    PushInt(lower);
    return;
  }
  PushInt(static_cast<int32_t>(lower + static_cast<int64_t>(vork::Random().Below(static_cast<uint64_t>(span)))));
}

void TVkSystemObject::PictureDialog(TVkDialog& dialog) {
  // Centred on the stage, in screen coordinates.
  if (TVkView* view = View()) {
    const QPoint origin = view->mapToGlobal(QPoint(0, 0));
    dialog.Area = {origin.x(), origin.y(), origin.x() + view->width(), origin.y() + view->height()};
  }
  // The dialog is modal: events (and bytecode) run while it is open.
  std::optional<std::string> hot_spot = Host().PictureDialog(dialog);
  if (!hot_spot) throw EVkError("picture dialog \"" + dialog.BitmapName + "\": no dialogs in this player");
  PushString(*hot_spot);
}

void TVkSystemObject::FullPictureDialog() {
  TVkDialog dialog;
  dialog.Timeout = PopInt();
  dialog.Hotspots = PopString();
  dialog.FontColor = PopInt();
  dialog.FontSize = PopInt();
  dialog.FontName = PopString();
  dialog.TextBackground = PopInt();
  const int32_t text_height = PopInt();
  const int32_t text_width = PopInt();
  const int32_t text_top = PopInt();
  const int32_t text_left = PopInt();
  // Wrapping as the machine's own arithmetic does, never overflowing.
  const auto plus = [](int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
  };
  dialog.TextRect = {text_left, text_top, plus(text_left, text_width), plus(text_top, text_height)};
  dialog.Text = PopString();
  dialog.OffsetY = PopInt();
  dialog.OffsetX = PopInt();
  dialog.Color = PopInt();
  dialog.Height = PopInt();
  dialog.Width = PopInt();
  dialog.BitmapName = PopString();
  PictureDialog(dialog);
}

void TVkSystemObject::InstallMissingPart() {
  const std::string manual_target = PopString();
  const std::string secondary_url = PopString();
  const std::string primary_url = PopString();
  try {
    InstallPart(Config().ProductName(), primary_url, secondary_url, manual_target);
  } catch (...) {
    ResManager().Rescan();
    throw;
  }
  ResManager().Rescan();
}

void TVkSystemObject::SetZentorWindowPositions() {
  const int32_t small_y = PopInt();
  const int32_t small_x = PopInt();
  const int32_t video_y = PopInt();
  const int32_t video_x = PopInt();
  QPointer<TVkView> view = View();
  auto origin = [view]() -> std::pair<int, int> {
    if (!view) return {0, 0};
    const QPoint point = view->mapToGlobal(QPoint(0, 0));
    return {point.x(), point.y()};
  };
  ZentorController().SetWindowPositions(origin, video_x, video_y, small_x, small_y);
}

void TVkSystemObject::OpenUser(const std::string& name) {
  // The learner leaving has everything saved, and a failure shown, before
  // anything of the next one is read.
  SaveDeferredChanges();
  try {
    auto user = std::make_unique<TVkUser>(name, UsersDirectory());
    user_ = std::move(user);
    PushBool(true);
  } catch (const std::exception&) {
    // The old user stays.
    PushBool(false);
  }
}

void TVkSystemObject::PushDiagnostics(int32_t kind) {
  switch (kind) {
    case 0: PushString("24"); return;
    case 1: PushString(kVersionText); return;
    case 2: PushString(std::to_string(Manager().Count())); return;
    case 3: {
      int sprites = 0;
      for (int i = 0; i < Manager().Count(); ++i)
        if (Manager().ObjectAt(i).ClassIndex() == ToWord(ClassIndex::Sprite)) ++sprites;
      PushString(std::to_string(sprites));
      return;
    }
    case 4: PushString(std::to_string(Config().SceneWidth())); return;
    case 5: PushString(std::to_string(Config().SceneHeight())); return;
    case 6: {
      TVkResManager& resources = ResManager();
      char seconds[64];
      std::snprintf(seconds, sizeof seconds, "%0.3f", last_transition_time_ / 1000.0);
      PushString("currentSceneImageLoadCount=" + std::to_string(resources.PictureCount()) + "\r\n" +
                 "currentSceneImageLoadBytes=" +
                 GroupThousands(std::to_string(resources.PictureBytes())) + "\r\n" +
                 "prefetchItemsWaitingCount=" + std::to_string(resources.PrefetchCount()) + " " +
                 resources.PrefetchNames() + "\r\n" +
                 "prefetchItemsWaitingBytes=" + std::to_string(resources.PrefetchSize()) + "\r\n" +
                 "transitionTime=" + seconds + " seconds\r\n");
      return;
    }
    default: PushString(""); return;
  }
}

void TVkSystemObject::HandleSetting(SystemMessage message) {
  TVkReg& settings = user_->Settings();
  switch (message) {
    case SystemMessage::UserBool: {
      bool fallback = PopInt() != 0;
      std::string key = PopString();
      PushBool(settings.ReadBool(key, fallback));
      break;
    }
    case SystemMessage::SetUserBool: {
      bool value = PopInt() != 0;
      std::string key = PopString();
      settings.WriteBool(key, value);
      break;
    }
    case SystemMessage::DeleteUserSettings: {
      std::string suffix = PopString();
      std::string prefix = PopString();
      settings.DeleteMatching(prefix, suffix);
      break;
    }
    case SystemMessage::UserString: {
      std::string fallback = PopString();
      std::string key = PopString();
      PushString(settings.ReadString(key, fallback));
      break;
    }
    case SystemMessage::SetUserString: {
      std::string value = PopString();
      std::string key = PopString();
      settings.WriteString(key, value);
      break;
    }
    default: TVkScriptObject::HandleMessage(ToWord(message)); break;
  }
}

// The text and number messages that need nothing but the machine.
void TVkSystemObject::HandleTextUtility(SystemMessage message) {
  switch (message) {
    case SystemMessage::IndexOf: {
      std::string sub = PopString();
      std::string s = PopString();
      PushInt(PositionOf(sub, s));
      return;
    }
    case SystemMessage::Str: PushString(std::to_string(PopInt())); return;
    case SystemMessage::Length: PushInt(static_cast<int32_t>(PopString().size())); return;
    case SystemMessage::ToNumber: PushInt(ParseInteger(PopString())); return;
    case SystemMessage::Copy:
    case SystemMessage::RemoveText: {
      int32_t count = PopInt();
      int32_t index = PopInt();
      std::string s = PopString();
      PushString(message == SystemMessage::Copy ? CopyBytes(s, index, count) : DeleteBytes(s, index, count));
      return;
    }
    case SystemMessage::Chr: PushString(std::string(1, static_cast<char>(PopInt()))); return;
    case SystemMessage::FieldCount: {
      std::string separator = PopString();
      std::string s = PopString();
      PushInt(FieldCount(s, SeparatorOf(separator)));
      return;
    }
    case SystemMessage::Field: {
      int32_t index = PopInt();
      std::string separator = PopString();
      std::string s = PopString();
      PushString(Field(s, SeparatorOf(separator), index));
      return;
    }
    case SystemMessage::BestAnswer:
    case SystemMessage::AnswerMatches: {
      std::string input = PopString();
      std::string candidates = PopString();
      if (message == SystemMessage::BestAnswer) PushString(BestAnswer(candidates, input));
      else PushBool(IsAcceptedAnswer(candidates, input));
      return;
    }
    case SystemMessage::ReplaceAll: {
      std::string replacement = PopString();
      std::string old = PopString();
      std::string s = PopString();
      PushString(ReplaceAll(s, old, replacement));
      return;
    }
    case SystemMessage::Trim: PushString(std::string(TrimBlanks(PopString()))); return;
    case SystemMessage::Normalize: PushString(LowerCase(NormalizeSpaces(PopString()))); return;
    case SystemMessage::ReplaceField: {
      std::string replacement = PopString();
      int32_t index = PopInt();
      std::string separator = PopString();
      std::string s = PopString();
      PushString(ReplaceField(s, SeparatorOf(separator), index, replacement));
      return;
    }
    case SystemMessage::FormatProduct:
    case SystemMessage::FormatQuotient: {
      std::string separator = PopString();
      int32_t decimals = PopInt();
      std::string b = PopString();
      std::string a = PopString();
      PushString(message == SystemMessage::FormatProduct ? FormatProduct(a, b, decimals, separator)
                               : FormatQuotient(a, b, decimals, separator));
      return;
    }
    case SystemMessage::Hex: {
      int32_t digits = PopInt();
      int32_t value = PopInt();
      PushString(HexText(value, digits));
      return;
    }
    case SystemMessage::RandomPermutation: {
      std::string separator = PopString();
      int32_t digits = PopInt();
      int32_t upper = PopInt();
      int32_t lower = PopInt();
      PushString(RandomPermutation(lower, upper, digits, separator));
      return;
    }
    case SystemMessage::ChangeExtension: {
      std::string extension = PopString();
      std::string file = PopString();
      PushString(ChangeExtension(file, extension));
      return;
    }
    case SystemMessage::Crc32: PushInt(Crc32Word(PopString())); return;
    default: TVkScriptObject::HandleMessage(ToWord(message)); return;
  }
}

// The messages that read or make string lists (class 19).
void TVkSystemObject::HandleListUtility(SystemMessage message) {
  switch (message) {
    case SystemMessage::SplitWords: {
      const int32_t list_handle = PopInt();
      const std::string text = PopString();
      TVkStringListObject& list = StringListAt(Manager(), list_handle);
      std::vector<std::string> words;
      try {
        SplitWords(text, words);
      } catch (const EVkError&) {
        // An unterminated quote: the list keeps the words before it.
        list.SetTexts(words);
        throw;
      }
      list.SetTexts(words);
      return;
    }
    case SystemMessage::FindKeyedLine: {
      const std::string key = PopString();
      const TVkStringListObject& list = StringListAt(Manager(), PopInt());
      PushString(FindKeyedLine(list.Texts(), key));
      return;
    }
    case SystemMessage::ResourceNames: {
      const int32_t handle = Manager().CreateObject(ToWord(ClassIndex::StringList));
      try {
        TVkStringListObject& list = StringListAt(Manager(), handle);
        list.SetTexts(ResManager().ResourceNames());
        list.Sort();
      } catch (...) {
        Manager().SendMsg(handle, CommonMessage::Destroy);
        throw;
      }
      PushInt(handle);
      return;
    }
    default: TVkScriptObject::HandleMessage(ToWord(message)); return;
  }
}

// One row per message, in index order. Rows that belong to a group of
// related messages hand the message on to the group's helper.
void TVkSystemObject::HandleMessage(int32_t index) {
  const auto message = static_cast<SystemMessage>(index);
  TBackground* stage = Stage();
  switch (message) {
    case SystemMessage::ChangeScene: {
      int32_t routine = PopInt();
      if (View()) View()->PostTransitionTo(Handle(), routine);
      break;
    }
    case SystemMessage::SetBackgroundColor: {
      int32_t color = PopInt();
      if (stage) stage->SetColor(color);
      break;
    }
    case SystemMessage::BackgroundColor: PushInt(stage ? stage->Color() : 0); break;
    case SystemMessage::SetBackgroundPicture: {
      QImage picture = LoadBitmapImage(ResManager(), PopString());
      if (stage) stage->SetBitmap(picture);
      break;
    }
    case SystemMessage::PlaySound: PlayAudio(*this, PopString()); break;
    case SystemMessage::NewTimer: NewObject(ClassIndex::Timer); break;
    case SystemMessage::NewSprite: NewObject(ClassIndex::Sprite); break;
    case SystemMessage::Random: {
      int32_t upper = PopInt();
      int32_t lower = PopInt();
      Random(upper, lower);
      break;
    }
    case SystemMessage::SetViewColor: {
      int32_t color = PopInt();
      if (View()) View()->SetViewColor(color);
      break;
    }
    case SystemMessage::NewMediaPlayer: NewObject(ClassIndex::MediaPlayer); break;
    case SystemMessage::PreviousScene: PushInt(previous_scene_); break;
    case SystemMessage::NewStdMediaPlayer: NewObject(ClassIndex::StdMediaPlayer); break;
    case SystemMessage::NewMediaButtons: NewObject(ClassIndex::MediaButtons); break;
    case SystemMessage::NewBrowserMediaPlayer: NewObject(ClassIndex::BrowserMediaPlayer); break;
    case SystemMessage::SetFuseNext: fuse_next_ = (PopInt() & 0xFF) != 0; break;
    case SystemMessage::NewHtmlViewer: NewObject(ClassIndex::HtmlViewer); break;
    case SystemMessage::NewMemo: NewObject(ClassIndex::Memo); break;
    case SystemMessage::Confirm:
      PushBool(Boxes().Show(BoxKind::Question, PopString(), BoxButtons::YesNo) == BoxResult::Yes);
      break;
    case SystemMessage::NewPerson: NewObject(ClassIndex::Person); break;
    case SystemMessage::Echo19: PushInt(PopInt()); break;
    case SystemMessage::ProcessMessages: QCoreApplication::processEvents(); break;
    case SystemMessage::IndexOf: HandleTextUtility(message); break;
    case SystemMessage::NewGlossaryWindow: NewObject(ClassIndex::GlossaryWindow); break;
    case SystemMessage::NewCommentWindow: NewObject(ClassIndex::CommentWindow); break;
    case SystemMessage::DropTwo:
      PopInt();
      PopInt();
      break;
    case SystemMessage::Echo25: PushInt(PopInt()); break;
    case SystemMessage::BeginUpdate:
      if (stage) stage->BeginUpdate();
      break;
    case SystemMessage::EndUpdate:
      if (stage) stage->EndUpdate();
      break;
    case SystemMessage::AllWithin: sprite_groups_->HandleMessage(index); break;
    case SystemMessage::ShowInfo: ShowInfo(PopString()); break;
    case SystemMessage::Str: HandleTextUtility(message); break;
    case SystemMessage::ShufflePositions: sprite_groups_->HandleMessage(index); break;
    case SystemMessage::ShowOverlay: {
      std::string text = PopString();
      if (stage) stage->AddOverlayMessage(2, text);
      break;
    }
    case SystemMessage::Length: HandleTextUtility(message); break;
    case SystemMessage::CaptureTransition:
      if (stage) transition_->Prepare(stage, stage->rect());
      break;
    case SystemMessage::RunTransition:
      transition_->SetDuration(PopInt());
      transition_->Execute();
      break;
    case SystemMessage::ToNumber: HandleTextUtility(message); break;
    case SystemMessage::Copy: HandleTextUtility(message); break;
    case SystemMessage::RemoveText: HandleTextUtility(message); break;
    case SystemMessage::SlideTo: sprite_groups_->HandleMessage(index); break;
    case SystemMessage::SnapAndPush: sprite_groups_->HandleMessage(index); break;
    case SystemMessage::FindByAllTags: sprite_groups_->HandleMessage(index); break;
    case SystemMessage::NewEdit: NewObject(ClassIndex::Edit); break;
    case SystemMessage::Echo43: PushInt(PopInt()); break;
    case SystemMessage::NewGapfill: NewObject(ClassIndex::Gapfill); break;
    case SystemMessage::Chr: HandleTextUtility(message); break;
    case SystemMessage::AllOverlap: sprite_groups_->HandleMessage(index); break;
    case SystemMessage::NewDictation: NewObject(ClassIndex::Dictation); break;
    case SystemMessage::FieldCount: HandleTextUtility(message); break;
    case SystemMessage::Field: HandleTextUtility(message); break;
    case SystemMessage::BestAnswer: HandleTextUtility(message); break;
    case SystemMessage::AnswerMatches: HandleTextUtility(message); break;
    case SystemMessage::SayLetters: SayLetters(*this, PopString()); break;
    case SystemMessage::SnapNearest: sprite_groups_->HandleMessage(index); break;
    case SystemMessage::InsertIntoRow: sprite_groups_->HandleMessage(index); break;
    case SystemMessage::SetTitle: {
      QString title = ToQString(PopString());
      QApplication::setApplicationDisplayName(title);
      if (MainForm()) MainForm()->setWindowTitle(title);
      break;
    }
    case SystemMessage::UserBool: HandleSetting(message); break;
    case SystemMessage::SetUserBool: HandleSetting(message); break;
    case SystemMessage::DeleteUserSettings: HandleSetting(message); break;
    case SystemMessage::ReplaceAll: HandleTextUtility(message); break;
    case SystemMessage::NewPicture: NewObject(ClassIndex::Picture); break;
    case SystemMessage::ResourceExists: PushBool(ResManager().ResourceExists(PopString())); break;
    case SystemMessage::NewStringList: NewObject(ClassIndex::StringList); break;
    case SystemMessage::UserString: HandleSetting(message); break;
    case SystemMessage::SetUserString: HandleSetting(message); break;
    case SystemMessage::SetKeyHandler: key_handler_ = PopInt(); break;
    case SystemMessage::Trim: HandleTextUtility(message); break;
    case SystemMessage::Overlap: sprite_groups_->HandleMessage(index); break;
    case SystemMessage::Normalize: HandleTextUtility(message); break;
    case SystemMessage::Sleep: {
      int32_t ms = PopInt();
      Host().Sleep(ms);
      break;
    }
    case SystemMessage::DisableMainForm: DisableMainForm(); break;
    case SystemMessage::EnableMainForm: EnableMainForm(); break;
    case SystemMessage::Echo72: PushInt(PopInt()); break;
    case SystemMessage::SendKeys: {
      const bool wait = PopInt() != 0;
      SendKeys(PopString(), wait);
      break;
    }
    case SystemMessage::SnapNearestWithin: sprite_groups_->HandleMessage(index); break;
    case SystemMessage::PictureDialog: {
      TVkDialog dialog;
      dialog.Hotspots = PopString();
      dialog.BitmapName = PopString();
      PictureDialog(dialog);
      break;
    }
    case SystemMessage::Title: PushString(FromQString(QApplication::applicationDisplayName())); break;
    case SystemMessage::CurrentScene: PushInt(current_scene_); break;
    case SystemMessage::NewUserList: NewObject(ClassIndex::UserList); break;
    case SystemMessage::OpenUser: OpenUser(PopString()); break;
    case SystemMessage::RunRoutine: {
      int32_t argument = PopInt();
      int32_t routine = PopInt();
      RunWithArgument(routine, argument);
      break;
    }
    case SystemMessage::UserExists: PushBool(IsListedUser(UsersDirectory(), PopString())); break;
    case SystemMessage::CreateTempFile: PushString(CreateTempFile(PopString())); break;
    case SystemMessage::DeleteFile: PushBool(std::remove(ResolveCoursePath(PopString()).c_str()) == 0); break;
    case SystemMessage::NewAudioRecorder: NewObject(ClassIndex::AudioRecorder); break;
    case SystemMessage::CountRelated: sprite_groups_->HandleMessage(index); break;
    case SystemMessage::ReplaceField: HandleTextUtility(message); break;
    case SystemMessage::SplitWords: HandleListUtility(message); break;
    case SystemMessage::Echo88:
    case SystemMessage::Echo89:
    case SystemMessage::Echo90:
    case SystemMessage::Echo91:
    case SystemMessage::Echo92:
    case SystemMessage::Echo93: PushInt(PopInt()); break;
    case SystemMessage::NewVars: NewObject(ClassIndex::Vars); break;
    case SystemMessage::Info: PushDiagnostics(PopInt()); break;
    case SystemMessage::FindKeyedLine: HandleListUtility(message); break;
    case SystemMessage::FormatProduct: HandleTextUtility(message); break;
    case SystemMessage::NewCrossword: NewObject(ClassIndex::Crossword); break;
    case SystemMessage::Echo99:
    case SystemMessage::Echo100: PushInt(PopInt()); break;
    case SystemMessage::FullPictureDialog: FullPictureDialog(); break;
    case SystemMessage::Echo102:
    case SystemMessage::Echo103: PushInt(PopInt()); break;
    // A text script with its include lines expanded, for the script processor.
    case SystemMessage::LoadScript: PushInt(NewExpandedScript(Manager(), PopString())); break;
    case SystemMessage::ResourceNames: HandleListUtility(message); break;
    case SystemMessage::StopAllMedia: StopAllMedia(Manager()); break;
    case SystemMessage::Echo107: PushInt(PopInt()); break;
    case SystemMessage::FormatQuotient: HandleTextUtility(message); break;
    case SystemMessage::CountRelatedPairs: sprite_groups_->HandleMessage(index); break;
    case SystemMessage::NewScriptProcessor: NewObject(ClassIndex::ScriptProcessor); break;
    case SystemMessage::DeveloperMode: PushBool(DeveloperMode()); break;
    case SystemMessage::Hex: HandleTextUtility(message); break;
    case SystemMessage::RunProgram: RunProgram(PopString()); break;
    case SystemMessage::IsValidUserName: PushBool(IsValidUserName(PopString(), UsersDirectory())); break;
    case SystemMessage::LastMatch: sprite_groups_->HandleMessage(index); break;
    case SystemMessage::CallLater: {
      int32_t routine = PopInt();
      int32_t zero = PopInt();
      Check(zero == 0);
      if (View()) View()->PostCallNotifyHandler(Handle(), routine);
      break;
    }
    case SystemMessage::SetFunctionKeyHandler: function_key_handler_ = PopInt(); break;
    case SystemMessage::RandomPermutation: HandleTextUtility(message); break;
    case SystemMessage::ResolveFile: PushString(ResManager().ResolveFile(PopString())); break;
    case SystemMessage::ChangeExtension: HandleTextUtility(message); break;
    case SystemMessage::NewTestManager: NewObject(ClassIndex::TestManager); break;
    case SystemMessage::NewMatrix: NewObject(ClassIndex::Matrix); break;
    case SystemMessage::Prefetch: ResManager().PrefetchRes(PopString()); break;
    case SystemMessage::Crc32: HandleTextUtility(message); break;
    case SystemMessage::InstallPart: InstallMissingPart(); break;
    case SystemMessage::HasPart: PushBool(ResManager().HasPart(PopString())); break;
    case SystemMessage::ShowOverlayOfKind: {
      std::string text = PopString();
      int32_t kind = PopInt();
      if (stage) stage->AddOverlayMessage(kind, text);
      break;
    }
    case SystemMessage::ZentorInstalled: PushBool(ZentorController().IsInstalled()); break;
    case SystemMessage::ZentorSetWindowPositions: SetZentorWindowPositions(); break;
    case SystemMessage::ZentorPlay: ZentorController().Play(PopString()); break;
    case SystemMessage::ZentorClose: ZentorController().Close(); break;
    default: TVkScriptObject::HandleMessage(index); break;
  }
}

}  // namespace vork
