#include "users/reg_file.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/byte_order.h"
#include "platform/errors.h"

namespace vork {

namespace {

constexpr std::string_view kMagic = "VKR1";

void AppendInt32(std::string& out, int32_t value) { AppendLittleEndian(out, static_cast<uint32_t>(value), 4); }

void AppendString(std::string& out, const std::string& text) {
  AppendInt32(out, static_cast<int32_t>(text.size()));
  out += text;
}

// Reads the stored bytes front to back; every read checks what is left, so a
// count or length from the file never sizes anything before it is backed by
// bytes that are really there.
class RegFileReader {
 public:
  RegFileReader(std::string_view bytes, std::string_view file_name)
      : bytes_(bytes), file_name_(file_name) {}

  bool AtMagic() const { return bytes_.substr(0, kMagic.size()) == kMagic; }
  void SkipMagic() { offset_ = kMagic.size(); }

  // Names the item that the following reads belong to, for the error text.
  void StartItem(int32_t index, int32_t count) {
    item_ = index;
    count_ = count;
  }

  int32_t ReadInt32(const char* what) {
    if (bytes_.size() - offset_ < 4) Truncated(what, 4);
    const uint32_t bits = ReadLittle32(bytes_.data() + offset_);
    offset_ += 4;
    return static_cast<int32_t>(bits);
  }

  std::string ReadString(const char* what) {
    int32_t length = ReadInt32(what);
    if (length <= 0) return {};
    auto size = static_cast<size_t>(length);
    if (bytes_.size() - offset_ < size) Truncated(what, size);
    std::string text(bytes_.substr(offset_, size));
    offset_ += size;
    return text;
  }

 private:
  [[noreturn]] void Truncated(const char* what, size_t wanted) const {
    std::string where = std::string(what);
    if (item_ >= 0) {
      where += " of item " + std::to_string(item_ + 1) + " of " + std::to_string(count_);
    }
    throw EVkError("Stream read error: user data file \"" + std::string(file_name_) +
                   "\" ends inside " + where + " (" + std::to_string(wanted) +
                   " bytes wanted at offset " + std::to_string(offset_) + ", " +
                   std::to_string(bytes_.size() - offset_) + " left)");
  }

  std::string_view bytes_;
  std::string_view file_name_;
  size_t offset_ = 0;
  int32_t item_ = -1;
  int32_t count_ = 0;
};

}  // namespace

std::string EncodeRegFile(const TVkRegItems& items) {
  std::string out(kMagic);
  AppendInt32(out, static_cast<int32_t>(items.Count()));
  for (const TVkRegItem& item : items) {
    AppendString(out, item.name);
    AppendString(out, item.type);
    AppendString(out, item.value);
  }
  return out;
}

TVkRegItems DecodeRegFile(std::string_view bytes, std::string_view file_name) {
  RegFileReader reader(bytes, file_name);
  if (!reader.AtMagic()) throw EVkError("Unsupported or corrupt user data file");
  reader.SkipMagic();
  int32_t count = reader.ReadInt32("the item count");
  std::vector<TVkRegItem> read;
  for (int32_t i = 0; i < count; ++i) {
    reader.StartItem(i, count);
    TVkRegItem item;
    item.name = reader.ReadString("the name");
    item.type = reader.ReadString("the type");
    item.value = reader.ReadString("the value");
    read.push_back(std::move(item));
  }
  TVkRegItems items;
  items.Assign(std::move(read));
  return items;
}

}  // namespace vork
