#include "objects/system_object.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QWidget>
#include <cstdio>
#include <optional>

#include "bridge/object_manager.h"
#include "bridge/script_helpers.h"
#include "dialogs/dialog_record.h"
#include "install/install_part.h"
#include "install/keystrokes.h"
#include "install/run_program.h"
#include "install/zentor_controller.h"
#include "media/play_audio.h"
#include "objects/answers.h"
#include "objects/crc32.h"
#include "objects/normalize.h"
#include "objects/number_text.h"
#include "objects/sprite_group_messages.h"
#include "objects/string_list_object.h"
#include "objects/temp_file.h"
#include "objects/text_edits.h"
#include "objects/text_fields.h"
#include "objects/word_lists.h"
#include "platform/clock.h"
#include "platform/course_directories.h"
#include "platform/cp1252.h"
#include "platform/developer_mode.h"
#include "platform/errors.h"
#include "platform/message_boxes.h"
#include "platform/path_resolver.h"
#include "platform/player_host.h"
#include "platform/program_location.h"
#include "platform/qt/main_form.h"
#include "platform/qt/qt_text.h"
#include "platform/random.h"
#include "scene/background.h"
#include "scene/fuse_transition.h"
#include "scene/view.h"
#include "shell/config.h"
#include "shell/qt_picture.h"
#include "shell/res_manager.h"
#include "textscript/script_processor_object.h"
#include "users/user.h"
#include "users/user_list.h"
#include "users/user_names.h"

namespace vork {

namespace {

TVkSystemObject* current = nullptr;

constexpr char kVersionText[] = "exe ver. to 27.6.02 15:23:11";

// The object class each "new object" message makes.
int32_t NewObjectClass(int32_t message) {
  switch (message) {
    case 5: return 2;    // timer
    case 6: return 3;    // sprite
    case 9: return 4;    // media player
    case 11: return 5;   // standard media player
    case 12: return 6;   // media buttons
    case 13: return 7;   // browser media player
    case 15: return 8;   // HTML viewer
    case 16: return 9;   // memo
    case 18: return 10;  // person
    case 22: return 11;  // glossary window
    case 23: return 12;  // comment window
    case 42: return 13;  // edit
    case 44: return 15;  // gap-fill
    case 47: return 16;  // dictation
    case 60: return 18;  // picture
    case 62: return 19;  // string list
    case 78: return 20;  // user list combo box
    case 84: return 21;  // audio recorder
    case 94: return 22;  // variables
    case 98: return 23;  // crossword
    case 110: return 24; // text-script processor
    case 121: return 25; // test manager
    case 122: return 26; // matrix
    default: return -1;
  }
}

// Messages that pop one word and push it back unchanged.
bool IsEchoMessage(int32_t message) {
  switch (message) {
    case 19: case 25: case 43: case 72: case 88: case 89: case 90: case 91: case 92:
    case 93: case 99: case 100: case 102: case 103: case 107:
      return true;
    default:
      return false;
  }
}

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

void TVkSystemObject::NewObject(int32_t class_index) {
  PushInt(Manager().CreateObject(class_index));
}

uint32_t TVkSystemObject::TransitionTo(int32_t routine) {
  const int64_t started = MonotonicMilliseconds();
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
  if (stage) transition->Prepare(stage, stage->rect());

  {
    UpdateBatch batch(stage);
    if (current_scene_ != 0) RunWithArgument(current_scene_, 3);
    // The leave routine may have ended the course (a nested quit).
    if (!Manager().IsLive(Handle())) return 0;
    Manager().ReleaseSceneObjects();
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
        if (Manager().ObjectAt(i).ClassIndex() == 3) ++sprites;
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

void TVkSystemObject::HandleSettingMessage(int32_t message) {
  TVkReg& settings = user_->Settings();
  switch (message) {
    case 56: {
      bool fallback = PopInt() != 0;
      std::string key = PopString();
      PushBool(settings.ReadBool(key, fallback));
      break;
    }
    case 57: {
      bool value = PopInt() != 0;
      std::string key = PopString();
      settings.WriteBool(key, value);
      break;
    }
    case 58: {
      std::string suffix = PopString();
      std::string prefix = PopString();
      settings.DeleteMatching(prefix, suffix);
      break;
    }
    case 63: {
      std::string fallback = PopString();
      std::string key = PopString();
      PushString(settings.ReadString(key, fallback));
      break;
    }
    case 64: {
      std::string value = PopString();
      std::string key = PopString();
      settings.WriteString(key, value);
      break;
    }
  }
}

// The text and number messages that need nothing but the machine.
bool TVkSystemObject::HandleTextMessage(int32_t message) {
  switch (message) {
    case 21: {
      std::string sub = PopString();
      std::string s = PopString();
      PushInt(PositionOf(sub, s));
      return true;
    }
    case 30: PushString(std::to_string(PopInt())); return true;
    case 33: PushInt(static_cast<int32_t>(PopString().size())); return true;
    case 36: PushInt(ParseInteger(PopString())); return true;
    case 37:
    case 38: {
      int32_t count = PopInt();
      int32_t index = PopInt();
      std::string s = PopString();
      PushString(message == 37 ? CopyBytes(s, index, count) : DeleteBytes(s, index, count));
      return true;
    }
    case 45: PushString(std::string(1, static_cast<char>(PopInt()))); return true;
    case 48: {
      std::string separator = PopString();
      std::string s = PopString();
      PushInt(FieldCount(s, SeparatorOf(separator)));
      return true;
    }
    case 49: {
      int32_t index = PopInt();
      std::string separator = PopString();
      std::string s = PopString();
      PushString(Field(s, SeparatorOf(separator), index));
      return true;
    }
    case 50:
    case 51: {
      std::string input = PopString();
      std::string candidates = PopString();
      if (message == 50) PushString(BestAnswer(candidates, input));
      else PushBool(IsAcceptedAnswer(candidates, input));
      return true;
    }
    case 59: {
      std::string replacement = PopString();
      std::string old = PopString();
      std::string s = PopString();
      PushString(ReplaceAll(s, old, replacement));
      return true;
    }
    case 66: PushString(std::string(TrimBlanks(PopString()))); return true;
    case 68: PushString(LowerCase(NormalizeSpaces(PopString()))); return true;
    case 86: {
      std::string replacement = PopString();
      int32_t index = PopInt();
      std::string separator = PopString();
      std::string s = PopString();
      PushString(ReplaceField(s, SeparatorOf(separator), index, replacement));
      return true;
    }
    case 97:
    case 108: {
      std::string separator = PopString();
      int32_t decimals = PopInt();
      std::string b = PopString();
      std::string a = PopString();
      PushString(message == 97 ? FormatProduct(a, b, decimals, separator)
                               : FormatQuotient(a, b, decimals, separator));
      return true;
    }
    case 112: {
      int32_t digits = PopInt();
      int32_t value = PopInt();
      PushString(HexText(value, digits));
      return true;
    }
    case 118: {
      std::string separator = PopString();
      int32_t digits = PopInt();
      int32_t upper = PopInt();
      int32_t lower = PopInt();
      PushString(RandomPermutation(lower, upper, digits, separator));
      return true;
    }
    case 120: {
      std::string extension = PopString();
      std::string file = PopString();
      PushString(ChangeExtension(file, extension));
      return true;
    }
    case 124: PushInt(Crc32Word(PopString())); return true;
    default: return false;
  }
}

// The messages that read or make string lists (class 19).
bool TVkSystemObject::HandleStringListMessage(int32_t message) {
  switch (message) {
    case 87: {
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
      return true;
    }
    case 96: {
      const std::string key = PopString();
      const TVkStringListObject& list = StringListAt(Manager(), PopInt());
      PushString(FindKeyedLine(list.Texts(), key));
      return true;
    }
    case 105: {
      const int32_t handle = Manager().CreateObject(19);
      try {
        TVkStringListObject& list = StringListAt(Manager(), handle);
        list.SetTexts(ResManager().ResourceNames());
        list.Sort();
      } catch (...) {
        Manager().SendMsg(handle, -1);
        throw;
      }
      PushInt(handle);
      return true;
    }
    default: return false;
  }
}

void TVkSystemObject::HandleMessage(int32_t message) {
  if (int32_t class_index = NewObjectClass(message); class_index >= 0) {
    NewObject(class_index);
    return;
  }
  if (IsEchoMessage(message)) {
    PushInt(PopInt());
    return;
  }
  if (HandleTextMessage(message)) return;
  if (HandleStringListMessage(message)) return;
  if (sprite_groups_->HandleMessage(message)) return;
  TBackground* stage = Stage();
  switch (message) {
    case 0: {
      int32_t routine = PopInt();
      if (View()) View()->PostTransitionTo(Handle(), routine);
      break;
    }
    case 1: {
      int32_t color = PopInt();
      if (stage) stage->SetColor(color);
      break;
    }
    case 2: PushInt(stage ? stage->Color() : 0); break;
    case 3: {
      QImage picture = LoadBitmapImage(ResManager(), PopString());
      if (stage) stage->SetBitmap(picture);
      break;
    }
    case 4: PlayAudio(*this, PopString()); break;
    case 7: {
      int32_t upper = PopInt();
      int32_t lower = PopInt();
      Random(upper, lower);
      break;
    }
    case 8: {
      int32_t color = PopInt();
      if (View()) View()->SetViewColor(color);
      break;
    }
    case 10: PushInt(previous_scene_); break;
    case 14: fuse_next_ = (PopInt() & 0xFF) != 0; break;
    case 17:
      PushBool(Boxes().Show(BoxKind::Question, PopString(), BoxButtons::YesNo) == BoxResult::Yes);
      break;
    case 20: QCoreApplication::processEvents(); break;
    case 24:
      PopInt();
      PopInt();
      break;
    case 26:
      if (stage) stage->BeginUpdate();
      break;
    case 27:
      if (stage) stage->EndUpdate();
      break;
    case 29: ShowInfo(PopString()); break;
    case 32: {
      std::string text = PopString();
      if (stage) stage->AddOverlayMessage(2, text);
      break;
    }
    case 34:
      if (stage) transition_->Prepare(stage, stage->rect());
      break;
    case 35:
      transition_->SetDuration(PopInt());
      transition_->Execute();
      break;
    case 52: SayLetters(*this, PopString()); break;
    case 55: {
      QString title = ToQString(PopString());
      QApplication::setApplicationDisplayName(title);
      if (MainForm()) MainForm()->setWindowTitle(title);
      break;
    }
    case 56: case 57: case 58: case 63: case 64: HandleSettingMessage(message); break;
    case 61: PushBool(ResManager().ResourceExists(PopString())); break;
    case 65: key_handler_ = PopInt(); break;
    case 69: {
      int32_t ms = PopInt();
      Host().Sleep(ms);
      break;
    }
    case 70: DisableMainForm(); break;
    case 71: EnableMainForm(); break;
    case 73: {
      const bool wait = PopInt() != 0;
      SendKeys(PopString(), wait);
      break;
    }
    case 75: {
      TVkDialog dialog;
      dialog.Hotspots = PopString();
      dialog.BitmapName = PopString();
      PictureDialog(dialog);
      break;
    }
    case 76: PushString(FromQString(QApplication::applicationDisplayName())); break;
    case 77: PushInt(current_scene_); break;
    case 79: OpenUser(PopString()); break;
    case 80: {
      int32_t argument = PopInt();
      int32_t routine = PopInt();
      RunWithArgument(routine, argument);
      break;
    }
    case 81: PushBool(IsListedUser(UsersDirectory(), PopString())); break;
    case 82: PushString(CreateTempFile(PopString())); break;
    case 83: PushBool(std::remove(ResolveCoursePath(PopString()).c_str()) == 0); break;
    case 95: PushDiagnostics(PopInt()); break;
    case 101: FullPictureDialog(); break;
    // A text script with its include lines expanded, for the script processor.
    case 104: PushInt(NewExpandedScript(Manager(), PopString())); break;
    case 106: StopAllMedia(Manager()); break;
    case 111: PushBool(DeveloperMode()); break;
    case 113: RunProgram(PopString()); break;
    case 114: PushBool(IsValidUserName(PopString(), UsersDirectory())); break;
    case 116: {
      int32_t routine = PopInt();
      int32_t zero = PopInt();
      Check(zero == 0);
      if (View()) View()->PostCallNotifyHandler(Handle(), routine);
      break;
    }
    case 117: function_key_handler_ = PopInt(); break;
    case 119: PushString(ResManager().ResolveFile(PopString())); break;
    case 123: ResManager().PrefetchRes(PopString()); break;
    case 126: PushBool(ResManager().HasPart(PopString())); break;
    case 125: InstallMissingPart(); break;
    case 127: {
      std::string text = PopString();
      int32_t kind = PopInt();
      if (stage) stage->AddOverlayMessage(kind, text);
      break;
    }
    case 128: PushBool(ZentorController().IsInstalled()); break;
    case 129: SetZentorWindowPositions(); break;
    case 130: ZentorController().Play(PopString()); break;
    case 131: ZentorController().Close(); break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
