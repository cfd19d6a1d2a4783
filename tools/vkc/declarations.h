#pragma once
// The declaration file: for every class of the object manager, its messages
// by name with their index, arguments and result. The compiler resolves
// every message send through it. Syntax in classes.vkd.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

// A word, a string, or a handle of a class. Strings passed to a message are
// consumed by its handler unless kept.
enum class ValueKind { None, Word, String, Handle };

struct ParamDecl {
  ValueKind kind = ValueKind::Word;
  bool kept = false;          // strings only
  int32_t class_index = -1;   // handles only
  std::string type_name;      // as written: word, bool, routine, string, a class
  std::string name;
  // A routine the object runs later, written routine(ARG, ...): the words the
  // event pushes for it, first pushed first. Empty unless declared.
  bool event = false;
  std::vector<ParamDecl> pushes;
};

struct MessageDecl {
  int32_t index = 0;
  std::string name;
  std::vector<ParamDecl> params;
  ValueKind result = ValueKind::None;
  int32_t result_class = -1;  // handle results only
  std::string result_type;    // as written; empty for none
  int line = 0;
  // Named for the player's handlers only: courses cannot send it by name.
  bool hidden = false;
};

struct ClassDecl {
  int32_t index = 0;
  std::string name;
  // Declared "kept": a scene change leaves its objects alone; every other
  // class's objects are released by the next scene change.
  bool kept = false;
  std::vector<MessageDecl> messages;
};

class ClassDeclarations {
 public:
  static constexpr int32_t kStringClass = 0;
  static constexpr int32_t kSystemClass = 1;

  // Raises EVkError "FILE:LINE: message" on the first fault.
  static ClassDeclarations Parse(std::string_view text, std::string_view file_name);
  // The declaration file built into the compiler.
  static const ClassDeclarations& BuiltIn();

  const ClassDecl* FindClass(std::string_view name) const;
  const ClassDecl* ClassByIndex(int32_t index) const;
  // The class's own message of that name, else the common one, else null;
  // hidden messages are never found.
  const MessageDecl* FindMessage(const ClassDecl& owner, std::string_view name) const;
  const std::map<int32_t, ClassDecl>& Classes() const { return classes_; }
  const std::vector<MessageDecl>& Common() const { return common_; }

 private:
  std::map<int32_t, ClassDecl> classes_;
  std::vector<MessageDecl> common_;
};

// The text of classes.vkd, embedded at build time.
std::string_view BuiltInDeclarationText();

}  // namespace vork
