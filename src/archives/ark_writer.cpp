#include "archives/ark_writer.h"

#include <limits>

#include "archives/cipher_stream.h"
#include "platform/errors.h"

namespace vork {

namespace {

constexpr int64_t kLargestOffset = std::numeric_limits<uint32_t>::max();

void PutWord(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

void WriteAll(TKsStream& stream, const void* data, size_t count) {
  if (stream.Write(data, count) != count)
    throw EVkError("Cannot write archive \"" + stream.Description() + "\"");
}

}  // namespace

TKsArkWriter::TKsArkWriter(std::shared_ptr<TKsStream> out, int method) : out_(std::move(out)) {
  cipher_ = std::make_shared<TKsCipherStream>(out_, method);
  out_->SetPosition(0);
  const char header[5] = {'A', 'R', 'K', '2', static_cast<char>(method)};
  WriteAll(*out_, header, 5);
  std::string placeholder(4, '\0');
  WriteAll(*cipher_, placeholder.data(), 4);
}

void TKsArkWriter::CheckName(std::string_view name) const {
  if (finished_) throw EVkError("Archive \"" + out_->Description() + "\" is already finished");
  if (name.empty() || name.size() > 255)
    throw EVkError("Resource name \"" + std::string(name) + "\" must have 1 to 255 characters");
}

void TKsArkWriter::Add(std::string_view name, std::string_view data) {
  CheckName(name);
  WriteData(name, data.data(), data.size());
}

void TKsArkWriter::Add(std::string_view name, TKsStream& source) {
  CheckName(name);
  Add(name, source.ReadAll());
}

void TKsArkWriter::WriteData(std::string_view name, const char* data, size_t count) {
  int64_t offset = out_->Position();
  if (offset + static_cast<int64_t>(count) > kLargestOffset)
    throw EVkError("Archive \"" + out_->Description() + "\" would grow past 4 GB at \"" +
                   std::string(name) + "\"");
  WriteAll(IsStoredRaw(name) ? *out_ : *cipher_, data, count);
  items_.push_back({std::string(name), static_cast<uint32_t>(offset), static_cast<uint32_t>(count)});
}

void TKsArkWriter::Finish() {
  if (finished_) return;
  finished_ = true;
  int64_t directory = out_->Position();
  std::string bytes;
  PutWord(bytes, static_cast<uint32_t>(items_.size()));
  for (const auto& item : items_) {
    bytes += static_cast<char>(item.name.size());
    bytes += item.name;
    PutWord(bytes, item.offset);
    PutWord(bytes, item.size);
  }
  if (directory + static_cast<int64_t>(bytes.size()) > kLargestOffset)
    throw EVkError("Archive \"" + out_->Description() + "\" would grow past 4 GB");
  WriteAll(*cipher_, bytes.data(), bytes.size());
  std::string offset;
  PutWord(offset, static_cast<uint32_t>(directory));
  out_->SetPosition(5);
  WriteAll(*cipher_, offset.data(), 4);
  out_->Seek(0, SeekOrigin::End);
}

}  // namespace vork
