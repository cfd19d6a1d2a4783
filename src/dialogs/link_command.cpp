#include "dialogs/link_command.h"

namespace vork {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string DecodePercent(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
      decoded += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

std::string TVkLinkCommand::Parameter(std::string_view key) const {
  const auto found = parameters.find(key);
  return found == parameters.end() ? std::string() : found->second;
}

TVkLinkCommand ParseLinkCommand(std::string_view text) {
  TVkLinkCommand command;
  std::string_view rest;
  if (const size_t question = text.find('?'); question != std::string_view::npos) {
    rest = text.substr(question + 1);
    text = text.substr(0, question);
  }
  while (!rest.empty()) {
    const size_t amp = rest.find('&');
    const std::string_view item = rest.substr(0, amp);
    const size_t equals = item.find('=');
    const std::string_view key = item.substr(0, equals);
    const std::string_view value = equals == std::string_view::npos ? std::string_view() : item.substr(equals + 1);
    command.parameters[DecodePercent(key)] = DecodePercent(value);
    if (amp == std::string_view::npos) break;
    rest.remove_prefix(amp + 1);
  }
  if (const size_t hash = text.find('#'); hash != std::string_view::npos) {
    command.fragment = text.substr(hash + 1);
    text = text.substr(0, hash);
  }
  command.name = text;
  return command;
}

}  // namespace vork
