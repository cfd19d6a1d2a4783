#pragma once
// A source of named course resources: a resource directory or an archive.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "archives/stream.h"

namespace vork {

class TIVkVka {
 public:
  virtual ~TIVkVka() = default;
  // Where the resource lies ("" when this source does not have it): a file
  // path, or an archive location "path@offset,size".
  virtual std::string Locate(std::string_view name) = 0;
  virtual std::vector<std::string> Names() = 0;
  // A stream at the resource's first byte; throws EVkError when it cannot.
  virtual std::unique_ptr<TKsStream> Open(std::string_view name) = 0;
  virtual bool Exists(std::string_view name) = 0;
  // The directory or archive file this source reads.
  virtual const std::string& SourcePath() const = 0;
};

}  // namespace vork
