#include "vm/image.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/errors.h"
#include "vm/word_io.h"

namespace vork {

namespace {

int32_t HeaderWord(const uint8_t* header, int index) { return ReadWord(header + 4 * index); }

TVkImageHeader DecodeHeader(const uint8_t* bytes) {
  TVkImageHeader header;
  std::memcpy(header.magic, bytes, 4);
  header.reserved = HeaderWord(bytes, 1);
  header.start_entry = HeaderWord(bytes, 2);
  header.stop_entry = HeaderWord(bytes, 3);
  header.area_length = HeaderWord(bytes, 4);
  return header;
}

}  // namespace

TVkImageHeader ReadImageHeader(std::istream& in) {
  uint8_t bytes[TVkImageHeader::kSize];
  in.read(reinterpret_cast<char*>(bytes), sizeof bytes);
  if (in.gcount() != static_cast<std::streamsize>(sizeof bytes)) {
    throw EVkError("bytecode image: header is truncated (" + std::to_string(in.gcount()) +
                   " of 20 bytes)");
  }
  return DecodeHeader(bytes);
}

void WriteImage(std::ostream& out, int32_t start_entry, int32_t stop_entry,
                const std::vector<uint8_t>& area) {
  uint8_t header[TVkImageHeader::kSize];
  std::memcpy(header, "VKBC", 4);
  WriteWord(header + 4, 0);
  WriteWord(header + 8, start_entry);
  WriteWord(header + 12, stop_entry);
  WriteWord(header + 16, static_cast<int32_t>(area.size()));
  out.write(reinterpret_cast<const char*>(header), sizeof header);
  out.write(reinterpret_cast<const char*>(area.data()), static_cast<std::streamsize>(area.size()));
}

TVkImageFile ParseImage(std::string_view bytes) {
  if (bytes.size() < TVkImageHeader::kSize) {
    throw EVkError("bytecode image: header is truncated (" + std::to_string(bytes.size()) +
                   " of 20 bytes)");
  }
  TVkImageFile file;
  file.header = DecodeHeader(reinterpret_cast<const uint8_t*>(bytes.data()));
  file.area.assign(bytes.begin() + TVkImageHeader::kSize, bytes.end());
  return file;
}

TVkImageFile ReadImageFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EVkError("bytecode image " + path + ": cannot open the file");
  std::ostringstream bytes;
  bytes << in.rdbuf();
  try {
    return ParseImage(bytes.view());
  } catch (const EVkError& e) {
    throw EVkError(path + ": " + e.what());
  }
}

}  // namespace vork
