#pragma once
// Archives built in memory or on disk by the tests.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "archives/ark_writer.h"
#include "archives/file_stream.h"
#include "archives/memory_stream.h"

namespace vork::testing {

using Resources = std::vector<std::pair<std::string, std::string>>;

inline std::string BuildArchive(const Resources& resources, int method) {
  auto out = std::make_shared<TKsMemoryStream>();
  TKsArkWriter writer(out, method);
  for (const auto& [name, data] : resources) writer.Add(name, data);
  writer.Finish();
  return out->Data();
}

inline void WriteArchive(const std::string& path, const Resources& resources, int method) {
  auto out = std::make_shared<TKsFileStream>(path, TKsFileStream::Mode::Create);
  TKsArkWriter writer(out, method);
  for (const auto& [name, data] : resources) writer.Add(name, data);
  writer.Finish();
}

}  // namespace vork::testing
