// Any bytes as a resource archive (the method byte picks the scrambling):
// the reader must refuse damaged files with EVkError and read every entry of
// the files it accepts within the file's bounds.

#include <cstdint>
#include <string>

#include "archives/ark_reader.h"
#include "archives/memory_stream.h"
#include "platform/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vork;
  auto file = std::make_shared<TKsMemoryStream>(std::string(reinterpret_cast<const char*>(data), size));
  try {
    TKsArkReader reader(file);
    for (size_t i = 0; i < reader.Count(); ++i) {
      auto stream = reader.Open(reader.Name(i));
      std::string bytes = stream->ReadAll();
      if (bytes.size() != reader.Item(i).size) __builtin_trap();
      stream->Seek(-1, SeekOrigin::End);
      char last;
      stream->Read(&last, 1);
    }
  } catch (const EVkError&) {
  }
  return 0;
}
