#include "archives/multi_vka.h"

#include <algorithm>

#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/program_location.h"

namespace vork {

void TVkMultiVka::Add(std::unique_ptr<TIVkVka> source) {
  sources_.push_back(std::move(source));
  cached_name_.clear();
  cached_source_ = nullptr;
}

TIVkVka* TVkMultiVka::Find(std::string_view name) {
  if (cached_source_ && name == cached_name_) return cached_source_;
  for (auto source = sources_.rbegin(); source != sources_.rend(); ++source) {
    if ((*source)->Exists(name)) {
      cached_name_ = std::string(name);
      cached_source_ = source->get();
      return cached_source_;
    }
  }
  return nullptr;
}

std::string TVkMultiVka::Locate(std::string_view name) {
  TIVkVka* source = Find(name);
  return source ? source->Locate(name) : std::string();
}

std::vector<std::string> TVkMultiVka::Names() {
  std::vector<std::string> names;
  for (auto& source : sources_) {
    auto more = source->Names();
    names.insert(names.end(), std::make_move_iterator(more.begin()),
                 std::make_move_iterator(more.end()));
  }
  std::stable_sort(names.begin(), names.end(), LessIgnoreCase());
  names.erase(std::unique(names.begin(), names.end(),
                          [](const std::string& a, const std::string& b) {
                            return EqualsIgnoreCase(a, b);
                          }),
              names.end());
  return names;
}

std::unique_ptr<TKsStream> TVkMultiVka::Open(std::string_view name) {
  TIVkVka* source = Find(name);
  if (!source) throw EVkError("Resource \"" + std::string(name) + "\" not found");
  return source->Open(name);
}

bool TVkMultiVka::Exists(std::string_view name) { return Find(name) != nullptr; }

const std::string& TVkMultiVka::SourcePath() const {
  static const std::string none;
  return none;
}

bool TVkMultiVka::HasSourceWithExtension(std::string_view extension) const {
  std::string wanted = "." + std::string(extension);
  return std::any_of(sources_.begin(), sources_.end(), [&](const auto& source) {
    return EqualsIgnoreCase(ExtensionOf(source->SourcePath()), wanted);
  });
}

}  // namespace vork
