#include "archives/embedded_resources.h"

#include <sys/stat.h>

#include <cstring>

#include "archives/file_stream.h"
#include "platform/byte_order.h"
#include "platform/cp1252.h"
#include "platform/errors.h"

namespace vork {

namespace {

constexpr char kMark[8] = {'V', 'O', 'R', 'K', 'R', 'E', 'S', '1'};
constexpr uint64_t kTrailerSize = 32;
constexpr uint32_t kVersion = 1;
constexpr uint64_t kSmallestEntry = 4 + 1 + 8 + 8;

struct Entry {
  std::string name;
  EmbeddedResourceSpan span;
};

struct Block {
  uint64_t start = 0;  // the file's size when it has no block
  std::vector<Entry> entries;
};

[[noreturn]] void Damaged(const std::string& file, const std::string& reason) {
  throw EVkError("The resource block of \"" + file + "\" is damaged: " + reason);
}

Block ReadBlock(const std::string& file) {
  TKsFileStream stream(file);
  uint64_t size = static_cast<uint64_t>(stream.Size());
  Block block;
  block.start = size;
  if (size < kTrailerSize) return block;
  unsigned char trailer[kTrailerSize];
  stream.SetPosition(static_cast<int64_t>(size - kTrailerSize));
  stream.ReadBuffer(trailer, kTrailerSize);
  if (std::memcmp(trailer + 24, kMark, 8) != 0) return block;
  uint64_t start = ReadLittle64(trailer);
  uint64_t table = ReadLittle64(trailer + 8);
  uint64_t count = ReadLittle32(trailer + 16);
  if (ReadLittle32(trailer + 20) != kVersion) Damaged(file, "unknown format version");
  uint64_t table_end = size - kTrailerSize;
  if (start > table || table > table_end) Damaged(file, "the table lies outside the file");
  if (count > (table_end - table) / kSmallestEntry)
    Damaged(file, "the table claims " + std::to_string(count) + " resources");
  std::string bytes(table_end - table, '\0');
  stream.SetPosition(static_cast<int64_t>(table));
  stream.ReadBuffer(bytes.data(), bytes.size());
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  uint64_t at = 0;
  for (uint64_t i = 0; i < count; ++i) {
    if (bytes.size() - at < 4) Damaged(file, "the table is cut short");
    uint64_t length = ReadLittle32(data + at);
    if (bytes.size() - at - 4 < length + 16) Damaged(file, "the table is cut short");
    Entry entry;
    entry.name.assign(bytes, at + 4, length);
    entry.span.offset = ReadLittle64(data + at + 4 + length);
    entry.span.size = ReadLittle64(data + at + 12 + length);
    if (entry.span.offset < start || entry.span.offset > table ||
        entry.span.size > table - entry.span.offset)
      Damaged(file, "resource \"" + entry.name + "\" lies outside the block");
    block.entries.push_back(std::move(entry));
    at += 4 + length + 16;
  }
  block.start = start;
  return block;
}

}  // namespace

std::optional<EmbeddedResourceSpan> FindEmbeddedResource(const std::string& file,
                                                         std::string_view name) {
  for (const Entry& entry : ReadBlock(file).entries)
    if (EqualsIgnoreCase(entry.name, name)) return entry.span;
  return std::nullopt;
}

std::string ReadEmbeddedResource(const std::string& file, std::string_view name) {
  auto span = FindEmbeddedResource(file, name);
  if (!span) throw EVkError("No resource \"" + std::string(name) + "\" in \"" + file + "\"");
  TKsFileStream stream(file);
  stream.SetPosition(static_cast<int64_t>(span->offset));
  std::string data(span->size, '\0');
  stream.ReadBuffer(data.data(), data.size());
  return data;
}

std::vector<std::string> EmbeddedResourceNames(const std::string& file) {
  std::vector<std::string> names;
  for (Entry& entry : ReadBlock(file).entries) names.push_back(std::move(entry.name));
  return names;
}

void WriteWithEmbeddedResources(const std::string& executable, const std::string& out,
                                const std::vector<EmbeddedResource>& resources) {
  uint64_t start = ReadBlock(executable).start;
  std::string program(start, '\0');
  {
    TKsFileStream in(executable);
    in.ReadBuffer(program.data(), program.size());
  }
  std::string table;
  std::string block;
  for (const auto& resource : resources) {
    AppendLittleEndian(table, resource.name.size(), 4);
    table += resource.name;
    AppendLittleEndian(table, start + block.size(), 8);
    AppendLittleEndian(table, resource.data.size(), 8);
    block += resource.data;
  }
  uint64_t table_offset = start + block.size();
  block += table;
  AppendLittleEndian(block, start, 8);
  AppendLittleEndian(block, table_offset, 8);
  AppendLittleEndian(block, resources.size(), 4);
  AppendLittleEndian(block, kVersion, 4);
  block.append(kMark, sizeof kMark);

  TKsFileStream stream(out, TKsFileStream::Mode::Create);
  if (stream.Write(program.data(), program.size()) != program.size() ||
      stream.Write(block.data(), block.size()) != block.size())
    throw EVkError("Cannot write \"" + out + "\"");
  ::chmod(out.c_str(), 0755);
}

}  // namespace vork
