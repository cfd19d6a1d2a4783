#include "install/rar4_writer.h"

#include <cstdint>

#include "text/crc32.h"

namespace vork::testing {
namespace {

constexpr char kMarker[] = "Rar!\x1a\x07\x00";
constexpr uint8_t kMainHeader = 0x73;
constexpr uint8_t kFileHeader = 0x74;
constexpr uint8_t kEndOfArchive = 0x7b;
constexpr uint8_t kHostUnix = 3;
constexpr uint8_t kStored = 0x30;
constexpr uint16_t kLongBlock = 0x8000;
constexpr uint16_t kDirectoryFlags = 0x00e0;
constexpr uint16_t kEndFlags = 0x4000;
constexpr uint32_t kUnixFile = 0100644;
constexpr uint32_t kUnixDirectory = 0040755;
constexpr uint32_t kUnixSymlink = 0120777;
constexpr uint32_t kDosTime = 0x5a210000;  // 2025-01-01

void Put16(std::string& out, uint16_t value) {
  out += static_cast<char>(value & 0xff);
  out += static_cast<char>(value >> 8);
}

void Put32(std::string& out, uint32_t value) {
  Put16(out, static_cast<uint16_t>(value & 0xffff));
  Put16(out, static_cast<uint16_t>(value >> 16));
}

// A block: its header CRC (the low 16 bits of the CRC-32 of the header
// after the CRC field), then the rest of the header.
std::string Block(const std::string& header_after_crc) {
  std::string block;
  Put16(block, static_cast<uint16_t>(Crc32(header_after_crc) & 0xffff));
  return block + header_after_crc;
}

std::string FileBlock(const RarEntry& entry) {
  const bool directory = entry.kind == RarEntry::Kind::Directory;
  const std::string data = directory ? std::string() : entry.data;
  std::string header;
  header += static_cast<char>(kFileHeader);
  Put16(header, static_cast<uint16_t>(kLongBlock | (directory ? kDirectoryFlags : 0)));
  Put16(header, static_cast<uint16_t>(32 + entry.name.size()));
  Put32(header, static_cast<uint32_t>(data.size()));  // packed
  Put32(header, static_cast<uint32_t>(data.size()));  // unpacked
  header += static_cast<char>(kHostUnix);
  Put32(header, Crc32(data));
  Put32(header, kDosTime);
  header += static_cast<char>(29);  // needs version 2.9 to unpack
  header += static_cast<char>(kStored);
  Put16(header, static_cast<uint16_t>(entry.name.size()));
  const uint32_t usual = directory ? kUnixDirectory
                                   : entry.kind == RarEntry::Kind::Symlink ? kUnixSymlink : kUnixFile;
  Put32(header, entry.unix_mode != 0 ? entry.unix_mode : usual);
  header += entry.name;
  return Block(header) + data;
}

}  // namespace

std::string Rar4Archive(const std::vector<RarEntry>& entries) {
  std::string archive(kMarker, 7);
  std::string main;
  main += static_cast<char>(kMainHeader);
  Put16(main, 0);
  Put16(main, 13);
  Put16(main, 0);
  Put32(main, 0);
  archive += Block(main);
  for (const RarEntry& entry : entries) archive += FileBlock(entry);
  std::string end;
  end += static_cast<char>(kEndOfArchive);
  Put16(end, kEndFlags);
  Put16(end, 7);
  archive += Block(end);
  return archive;
}

}  // namespace vork::testing
