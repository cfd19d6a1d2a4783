#include "archives/file_vka.h"

#include "archives/archive_location.h"
#include "archives/file_stream.h"

namespace vork {

TVkFileVka::TVkFileVka(std::string path)
    : path_(std::move(path)),
      reader_(std::make_unique<TKsArkReader>(std::make_shared<TKsFileStream>(path_))) {}

std::string TVkFileVka::Locate(std::string_view name) {
  int index = reader_->IndexOf(name);
  if (index < 0) return {};
  const TKsArkItem& item = reader_->Item(static_cast<size_t>(index));
  return FormatArchiveLocation(path_, item.offset, item.size);
}

std::vector<std::string> TVkFileVka::Names() {
  std::vector<std::string> names;
  names.reserve(reader_->Count());
  for (size_t i = 0; i < reader_->Count(); ++i) names.push_back(reader_->Name(i));
  return names;
}

std::unique_ptr<TKsStream> TVkFileVka::Open(std::string_view name) { return reader_->Open(name); }

bool TVkFileVka::Exists(std::string_view name) { return reader_->IndexOf(name) >= 0; }

}  // namespace vork
