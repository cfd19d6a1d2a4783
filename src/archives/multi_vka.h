#pragma once
// A stack of resource sources: the one answering for a name is the last
// added source that has it, so update parts added after the base override it.

#include <memory>
#include <string>
#include <vector>

#include "archives/vka_source.h"

namespace vork {

class TVkMultiVka : public TIVkVka {
 public:
  // Takes ownership and clears the lookup cache.
  void Add(std::unique_ptr<TIVkVka> source);

  std::string Locate(std::string_view name) override;
  // The union of the sources' names without duplicates (letter case
  // ignored), sorted.
  std::vector<std::string> Names() override;
  // Throws "Resource \"name\" not found" when no source has it.
  std::unique_ptr<TKsStream> Open(std::string_view name) override;
  bool Exists(std::string_view name) override;
  const std::string& SourcePath() const override;

  // True when some source's path has the extension "." + extension (letter
  // case ignored).
  bool HasSourceWithExtension(std::string_view extension) const;
  size_t SourceCount() const { return sources_.size(); }
  const TIVkVka& Source(size_t index) const { return *sources_[index]; }

 private:
  // The source holding name, or nullptr.
  TIVkVka* Find(std::string_view name);

  std::vector<std::unique_ptr<TIVkVka>> sources_;
  // The last name found and its source. Compared exactly: a name in another
  // letter case goes back to the sources, whose own rules decide.
  std::string cached_name_;
  TIVkVka* cached_source_ = nullptr;
};

}  // namespace vork
