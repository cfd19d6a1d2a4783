#pragma once
// Named resources appended to an executable, the way a course executable
// carries its bytecode image ("BYTECODE_BIN").
//
// Block layout at the end of the file, integers little-endian:
//   data of each resource, one after the other
//   table: per resource: name length (4), name, offset (8), size (8);
//          offsets are absolute file positions
//   trailer (32 bytes): block start (8), table offset (8), resource count
//          (4), format version 1 (4), the mark "VORKRES1" as the last bytes
// Names compare without regard to case, as Windows resource names do.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

struct EmbeddedResource {
  std::string name;
  std::string data;
};

struct EmbeddedResourceSpan {
  uint64_t offset = 0;
  uint64_t size = 0;
};

// Where the named resource lies in file; nullopt when the file carries no
// block or the block no such resource. A file that cannot be read or a
// damaged block throws EVkError naming the file.
std::optional<EmbeddedResourceSpan> FindEmbeddedResource(const std::string& file,
                                                         std::string_view name);

// The resource's bytes. Throws EVkError "No resource \"NAME\" in \"FILE\""
// when it is missing.
std::string ReadEmbeddedResource(const std::string& file, std::string_view name);

// The names of the resources file carries (empty without a block).
std::vector<std::string> EmbeddedResourceNames(const std::string& file);

// Writes executable followed by a block of resources to out (replacing the
// block the executable already carried) and marks out executable.
void WriteWithEmbeddedResources(const std::string& executable, const std::string& out,
                                const std::vector<EmbeddedResource>& resources);

}  // namespace vork
