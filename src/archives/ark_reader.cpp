#include "archives/ark_reader.h"

#include <algorithm>
#include <cstdio>

#include "archives/cipher_stream.h"
#include "platform/byte_order.h"
#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/path_resolver.h"

namespace vork {

namespace {

constexpr char kMagic[4] = {'A', 'R', 'K', '2'};
constexpr int64_t kHeaderSize = 9;
// Name length byte, at least one name byte, offset and size.
constexpr int64_t kSmallestEntry = 1 + 1 + 4 + 4;
constexpr int64_t kLargestEntry = 1 + 255 + 4 + 4;

bool NameLess(const TKsArkItem& a, const TKsArkItem& b) {
  return CompareIgnoreCase(a.name, b.name) < 0;
}

}  // namespace

bool IsStoredRaw(std::string_view name) {
  return name.size() >= 4 && EqualsIgnoreCase(name.substr(name.size() - 4), ".ogg");
}

void TKsArkItems::Assign(std::vector<TKsArkItem> items) {
  for (auto& item : items) item.name = WithForwardSlashes(item.name);
  std::stable_sort(items.begin(), items.end(), NameLess);
  // Equal names are now adjacent in directory order; keep the last of each run.
  items_.clear();
  items_.reserve(items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    if (i + 1 < items.size() && !NameLess(items[i], items[i + 1])) continue;
    items_.push_back(std::move(items[i]));
  }
}

void TKsArkItems::Add(TKsArkItem item) {
  item.name = WithForwardSlashes(item.name);
  auto at = std::lower_bound(items_.begin(), items_.end(), item, NameLess);
  if (at != items_.end() && !NameLess(item, *at))
    *at = std::move(item);
  else
    items_.insert(at, std::move(item));
}

int TKsArkItems::IndexOf(std::string_view name) const {
  std::string wanted = WithForwardSlashes(name);
  auto at = std::lower_bound(items_.begin(), items_.end(), wanted,
                             [](const TKsArkItem& item, const std::string& key) {
                               return CompareIgnoreCase(item.name, key) < 0;
                             });
  if (at == items_.end() || CompareIgnoreCase(at->name, wanted) != 0) return -1;
  return static_cast<int>(at - items_.begin());
}

TKsArkReader::TKsArkReader(std::shared_ptr<TKsStream> file) : file_(std::move(file)) {
  int64_t file_size = file_->Size();
  unsigned char magic[4] = {};
  file_->SetPosition(0);
  if (file_size < 4) Damaged("it is shorter than the 4-byte file format mark");
  file_->ReadBuffer(magic, 4);
  if (!std::equal(magic, magic + 4, reinterpret_cast<const unsigned char*>(kMagic))) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", ReadLittle32(magic));
    throw EVkError(std::string("Unknown file format ($") + hex + ")");
  }
  if (file_size < kHeaderSize) Damaged("the header is cut short");
  unsigned char method = 0;
  file_->ReadBuffer(&method, 1);
  method_ = method;
  cipher_ = std::make_shared<TKsCipherStream>(file_, method_);
  ReadDirectory(file_size);
}

void TKsArkReader::ReadDirectory(int64_t file_size) {
  unsigned char word[4];
  cipher_->ReadBuffer(word, 4);
  int64_t directory = ReadLittle32(word);
  if (directory > file_size - 4)
    Damaged("the directory offset " + std::to_string(directory) + " lies past the end of the " +
            std::to_string(file_size) + "-byte file");
  cipher_->SetPosition(directory);
  cipher_->ReadBuffer(word, 4);
  int64_t count = ReadLittle32(word);
  int64_t space = file_size - directory - 4;
  if (count > space / kSmallestEntry)
    Damaged("the directory claims " + std::to_string(count) + " entries, but only " +
            std::to_string(space) + " bytes follow it");

  // One read for the whole directory; it is bounded by the file's size.
  std::string bytes(static_cast<size_t>(std::min(space, count * kLargestEntry)), '\0');
  bytes.resize(cipher_->Read(bytes.data(), bytes.size()));
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t at = 0;
  std::vector<TKsArkItem> items;
  items.reserve(static_cast<size_t>(count));
  for (int64_t i = 0; i < count; ++i) {
    size_t length = at < bytes.size() ? data[at] : 0;
    if (at + 1 + length + 8 > bytes.size())
      Damaged("directory entry " + std::to_string(i + 1) + " of " + std::to_string(count) +
              " is cut short");
    if (length == 0) Damaged("directory entry " + std::to_string(i + 1) + " has an empty name");
    TKsArkItem item;
    item.name.assign(bytes, at + 1, length);
    item.offset = ReadLittle32(data + at + 1 + length);
    item.size = ReadLittle32(data + at + 5 + length);
    if (static_cast<int64_t>(item.offset) + item.size > file_size)
      Damaged("the data of \"" + item.name + "\" (offset " + std::to_string(item.offset) +
              ", size " + std::to_string(item.size) + ") lies outside the " +
              std::to_string(file_size) + "-byte file");
    items.push_back(std::move(item));
    at += 1 + length + 8;
  }
  items_.Assign(std::move(items));
}

void TKsArkReader::Damaged(const std::string& reason) const {
  throw EVkError("Resource archive \"" + file_->Description() + "\" is damaged: " + reason);
}

std::unique_ptr<TKsClientStream> TKsArkReader::Open(std::string_view name) const {
  int index = IndexOf(name);
  if (index < 0) throw EVkError("Resource \"" + std::string(name) + "\" not found");
  const TKsArkItem& item = items_[static_cast<size_t>(index)];
  return std::make_unique<TKsClientStream>(IsStoredRaw(item.name) ? file_ : cipher_, item.offset,
                                           item.size);
}

}  // namespace vork
