#pragma once
// TVkReg: a small typed settings store. Backed by a file it holds one
// learner's settings and writes the whole file anew after every change, so
// that nothing is lost when the player ends abruptly; with an empty file name
// it lives in memory only and never touches the disk.

#include <string>
#include <string_view>

#include "users/reg_items.h"

namespace vork {

class TVkReg {
 public:
  // Reads the file when it exists and writes it back at once, so the file
  // exists afterwards. A corrupt file throws and is left as it was.
  explicit TVkReg(std::string file_name = {});
  // Saves once more; a failure then is only logged (every change was already
  // written when it was made). A save that would write the bytes the file
  // already holds writes nothing: a run that changes nothing costs no disk
  // flush.
  ~TVkReg();
  TVkReg(const TVkReg&) = delete;
  TVkReg& operator=(const TVkReg&) = delete;

  void Load();
  void Save() const;

  std::string ReadString(std::string_view name, std::string_view default_value) const;
  void WriteString(std::string_view name, std::string_view value);
  bool ReadBool(std::string_view name, bool default_value) const;
  void WriteBool(std::string_view name, bool value);
  // Removes every item whose name starts with prefix and ends with suffix
  // (either may be empty) and saves when anything went.
  void DeleteMatching(std::string_view prefix, std::string_view suffix);
  // Forgets every item in memory only; the file keeps them until the next
  // change (or Save) writes the store again.
  void Clear() { items_.Clear(); }
  // Writes the items to the diagnostic log.
  void Dump() const;

  const std::string& FileName() const { return file_name_; }
  const TVkRegItems& Items() const { return items_; }

 private:
  void Write(std::string_view name, std::string_view type, std::string_view value);

  std::string file_name_;
  TVkRegItems items_;
  // What the file holds as far as this store knows: read by Load, written
  // by Save.
  mutable std::string on_disk_;
};

}  // namespace vork
