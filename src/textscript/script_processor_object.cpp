#include "textscript/script_processor_object.h"

#include <string>
#include <vector>

#include "bridge/messages.h"
#include "bridge/object_manager.h"
#include "data_objects/string_list_object.h"
#include "platform/player_host.h"
#include "textscript/include_expansion.h"

namespace vork {

void TVkScriptProcessorObject::Init() {
  processor_ = std::make_shared<TVkScriptProcessor>([this]() -> TVkReg& { return UserVars(); });
  processor_->SetOnCommand([this](int32_t routine, int32_t object_word) {
    PushInt(object_word);
    RunRoutine(routine);
  });
}

void TVkScriptProcessorObject::Release() {
  if (processor_) processor_->Stop();
  processor_.reset();
}

TVkReg& TVkScriptProcessorObject::UserVars() {
  TVkReg* store = Host().CurrentUserSettings();
  return store ? *store : no_user_vars_;
}

void TVkScriptProcessorObject::RunProcessor(const std::function<void(TVkScriptProcessor&)>& run) {
  const std::shared_ptr<TVkScriptProcessor> keep = processor_;
  run(*keep);
}

void TVkScriptProcessorObject::HandleMessage(int32_t message) {
  // Not bound before the switch: -2 (Init) arrives here before a processor exists.
  TVkScriptProcessor* processor = processor_.get();
  switch (static_cast<ScriptProcessorMessage>(message)) {
    case ScriptProcessorMessage::RegisterClass: {
      const TVkStringListObject& list = StringListAt(Manager(), PopInt());
      std::string name = PopString();
      const int32_t class_index = PopInt();
      std::vector<TVkCommandLine> commands;
      for (const TVkListLine& line : list.Lines()) commands.push_back({line.text, line.word});
      processor->RegisterClass(class_index, std::move(name), commands);
      break;
    }
    case ScriptProcessorMessage::Load: {
      std::string file_name = PopString();
      processor->Load(StringListAt(Manager(), PopInt()).Texts(), std::move(file_name));
      break;
    }
    case ScriptProcessorMessage::Running: PushBool(processor->Running()); break;
    case ScriptProcessorMessage::Run: RunProcessor([](TVkScriptProcessor& p) { p.Run(); }); break;
    case ScriptProcessorMessage::RunFrom: {
      const std::string label = PopString();
      RunProcessor([&label](TVkScriptProcessor& p) { p.RunFrom(label); });
      break;
    }
    case ScriptProcessorMessage::RegisterObject: {
      const int32_t object_word = PopInt();
      const int32_t class_index = PopInt();
      processor->RegisterObject(PopString(), class_index, object_word);
      break;
    }
    case ScriptProcessorMessage::UnregisterObject: processor->UnregisterObject(PopString()); break;
    case ScriptProcessorMessage::CurrentId: PushString(processor->CurrentId()); break;
    case ScriptProcessorMessage::ArgCount: PushInt(processor->ArgCount()); break;
    case ScriptProcessorMessage::ArgBool: PushBool(processor->ArgBool(PopInt())); break;
    case ScriptProcessorMessage::ArgNumber: PushInt(processor->ArgInteger(PopInt())); break;
    case ScriptProcessorMessage::Arg: PushString(processor->Arg(PopInt())); break;
    case ScriptProcessorMessage::SetSceneVar: {
      const std::string value = PopString();
      processor->SceneVars().WriteString(PopString(), value);
      break;
    }
    case ScriptProcessorMessage::SceneVar: PushString(processor->SceneVars().ReadString(PopString(), "")); break;
    case ScriptProcessorMessage::SetAppVar: {
      const std::string value = PopString();
      ApplicationVars().WriteString(PopString(), value);
      break;
    }
    case ScriptProcessorMessage::AppVar: PushString(ApplicationVars().ReadString(PopString(), "")); break;
    case ScriptProcessorMessage::SetUserVar: {
      const std::string value = PopString();
      processor->UserVars().WriteString(PopString(), value);
      break;
    }
    case ScriptProcessorMessage::UserVar: PushString(processor->UserVars().ReadString(PopString(), "")); break;
    case ScriptProcessorMessage::ReportError: processor->ScriptError(PopString());
    case ScriptProcessorMessage::HasObject: PushBool(processor->HasObject(PopString())); break;
    case ScriptProcessorMessage::BeginHandler: processor->BeginHandler(); break;
    case ScriptProcessorMessage::EndHandler: processor->EndHandler(); break;
    case ScriptProcessorMessage::ClearVars: processor->ClearVars(PopString()); break;
    case ScriptProcessorMessage::HasLabel: PushBool(processor->HasLabel(PopString())); break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

int32_t NewExpandedScript(TVkObjectManager& manager, std::string_view resource) {
  const int32_t handle = manager.CreateObject(ToWord(ClassIndex::StringList));
  try {
    std::vector<std::string> lines;
    ExpandIncludes(resource, lines);
    StringListAt(manager, handle).SetTexts(lines);
  } catch (...) {
    manager.SendMsg(handle, CommonMessage::Destroy);
    throw;
  }
  return handle;
}

}  // namespace vork
