#pragma once
// Writing resource archives: the header, each resource's data as it is added,
// and the directory at the end (see ark_reader.h for the layout).

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "archives/ark_reader.h"
#include "archives/stream.h"

namespace vork {

class TKsArkWriter {
 public:
  // Writes the header at the stream's start. A method above 3 throws
  // "Error #2719".
  TKsArkWriter(std::shared_ptr<TKsStream> out, int method);

  // Appends one resource. Throws EVkError for an empty name, a name longer
  // than 255 bytes, or an archive that would pass the 4 GB the offsets reach.
  void Add(std::string_view name, std::string_view data);
  // Copies source from its position to its end.
  void Add(std::string_view name, TKsStream& source);
  // Writes the directory and the directory offset. Nothing may be added after.
  void Finish();

 private:
  void CheckName(std::string_view name) const;
  void WriteData(std::string_view name, const char* data, size_t count);

  std::shared_ptr<TKsStream> out_;
  std::shared_ptr<TKsStream> cipher_;
  std::vector<TKsArkItem> items_;
  bool finished_ = false;
};

}  // namespace vork
