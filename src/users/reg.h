#pragma once
// TVkReg: a small typed settings store. Backed by a file it holds one
// learner's settings; a change is kept in memory and the whole file is
// written anew, atomically, at the next save point (SaveDeferredChanges: the
// end of the event that made it, a scene or user change, the start of another
// program, the end of the run). A player killed at any moment leaves the
// store as it was at its last save point or newer, and a routine that writes
// thousands of settings writes the file once. With an empty file name the
// store lives in memory only and never touches the disk.

#include <string>
#include <string_view>

#include "platform/deferred_saves.h"
#include "users/reg_items.h"

namespace vork {

class TVkReg : public TDeferredSave {
 public:
  // Reads the file when it exists and writes it back at once, so the file
  // exists afterwards. A corrupt file throws and is left as it was.
  explicit TVkReg(std::string file_name = {});
  // Saves once more; a failure then is only logged (the caller had every
  // save point before to see it). A save that would write the bytes the file
  // already holds writes nothing: a run that changes nothing costs no disk
  // flush.
  ~TVkReg() override;
  TVkReg(const TVkReg&) = delete;
  TVkReg& operator=(const TVkReg&) = delete;

  void Load();
  // Writes the file now; a pending save is then done. Throws EVkError naming
  // the file on failure, leaving the previous file as it was.
  void Save();

  std::string ReadString(std::string_view name, std::string_view default_value) const;
  void WriteString(std::string_view name, std::string_view value);
  bool ReadBool(std::string_view name, bool default_value) const;
  void WriteBool(std::string_view name, bool value);
  // Removes every item whose name starts with prefix and ends with suffix
  // (either may be empty); a save is pending when anything went.
  void DeleteMatching(std::string_view prefix, std::string_view suffix);
  // Forgets every item in memory only; the file keeps them until the next
  // change (or Save) writes the store again.
  void Clear() { items_.Clear(); }
  // Writes the items to the diagnostic log.
  void Dump() const;

  const std::string& FileName() const { return file_name_; }
  const TVkRegItems& Items() const { return items_; }

 private:
  void SaveDeferred() override { Save(); }
  // A change of a file-backed store is written at the next save point.
  void Changed();
  void Write(std::string_view name, std::string_view type, std::string_view value);

  std::string file_name_;
  TVkRegItems items_;
  // What the file holds as far as this store knows: read by Load, written
  // by Save.
  mutable std::string on_disk_;
};

}  // namespace vork
