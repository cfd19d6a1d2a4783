#include "textscript/script_processor_object.h"

#include <string>
#include <vector>

#include "bridge/object_manager.h"
#include "objects/string_list_object.h"
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
  switch (message) {
    case 0: {
      const TVkStringListObject& list = StringListAt(Manager(), PopInt());
      std::string name = PopString();
      const int32_t class_index = PopInt();
      std::vector<TVkCommandLine> commands;
      for (const TVkListLine& line : list.Lines()) commands.push_back({line.text, line.word});
      processor->RegisterClass(class_index, std::move(name), commands);
      break;
    }
    case 1: {
      std::string file_name = PopString();
      processor->Load(StringListAt(Manager(), PopInt()).Texts(), std::move(file_name));
      break;
    }
    case 2: PushBool(processor->Running()); break;
    case 3: RunProcessor([](TVkScriptProcessor& p) { p.Run(); }); break;
    case 4: {
      const std::string label = PopString();
      RunProcessor([&label](TVkScriptProcessor& p) { p.RunFrom(label); });
      break;
    }
    case 5: {
      const int32_t object_word = PopInt();
      const int32_t class_index = PopInt();
      processor->RegisterObject(PopString(), class_index, object_word);
      break;
    }
    case 6: processor->UnregisterObject(PopString()); break;
    case 7: PushString(processor->CurrentId()); break;
    case 8: PushInt(processor->ArgCount()); break;
    case 9: PushBool(processor->ArgBool(PopInt())); break;
    case 10: PushInt(processor->ArgInteger(PopInt())); break;
    case 11: PushString(processor->Arg(PopInt())); break;
    case 12: {
      const std::string value = PopString();
      processor->SceneVars().WriteString(PopString(), value);
      break;
    }
    case 13: PushString(processor->SceneVars().ReadString(PopString(), "")); break;
    case 14: {
      const std::string value = PopString();
      ApplicationVars().WriteString(PopString(), value);
      break;
    }
    case 15: PushString(ApplicationVars().ReadString(PopString(), "")); break;
    case 16: {
      const std::string value = PopString();
      processor->UserVars().WriteString(PopString(), value);
      break;
    }
    case 17: PushString(processor->UserVars().ReadString(PopString(), "")); break;
    case 18: processor->ScriptError(PopString());
    case 19: PushBool(processor->HasObject(PopString())); break;
    case 20: processor->BeginHandler(); break;
    case 21: processor->EndHandler(); break;
    case 22: processor->ClearVars(PopString()); break;
    case 23: PushBool(processor->HasLabel(PopString())); break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

int32_t NewExpandedScript(TVkObjectManager& manager, std::string_view resource) {
  const int32_t handle = manager.CreateObject(19);
  try {
    std::vector<std::string> lines;
    ExpandIncludes(resource, lines);
    StringListAt(manager, handle).SetTexts(lines);
  } catch (...) {
    manager.SendMsg(handle, -1);
    throw;
  }
  return handle;
}

}  // namespace vork
