#include "platform/cp1252.h"

#include <array>

namespace vork {

namespace {

// 0x80..0x9F; the rest of the byte range is Latin-1.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct CaseTables {
  std::array<unsigned char, 256> lower{};
  std::array<unsigned char, 256> upper{};
  CaseTables() {
    for (int i = 0; i < 256; ++i) lower[i] = upper[i] = static_cast<unsigned char>(i);
    auto pair = [this](int up, int low) {
      lower[up] = static_cast<unsigned char>(low);
      upper[low] = static_cast<unsigned char>(up);
    };
    for (int c = 'A'; c <= 'Z'; ++c) pair(c, c + 32);
    for (int c = 0xC0; c <= 0xDE; ++c)
      if (c != 0xD7) pair(c, c + 32);  // × and ÷ are not letters
    pair(0x8A, 0x9A);  // Š š
    pair(0x8C, 0x9C);  // Œ œ
    pair(0x8E, 0x9E);  // Ž ž
    pair(0x9F, 0xFF);  // Ÿ ÿ
    // ß, µ and ƒ have no single-byte upper case and stay as they are.
  }
};

const CaseTables& Tables() {
  static const CaseTables tables;
  return tables;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

char32_t Cp1252ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHigh[byte - 0x80];
  return byte;
}

int UnicodeToCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == cp) return 0x80 + i;
  return -1;
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2
              : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0) {
      out += '?';
      ++i;
      continue;
    }
    char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= text.size()) { ok = false; break; }
      unsigned char cont = static_cast<unsigned char>(text[i + k]);
      if ((cont & 0xC0) != 0x80) { ok = false; break; }
      cp = (cp << 6) | (cont & 0x3F);
    }
    if (!ok) {
      out += '?';
      ++i;
      continue;
    }
    int byte = UnicodeToCp1252(cp);
    out += byte < 0 ? '?' : static_cast<char>(byte);
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

char LowerCp1252(char c) {
  return static_cast<char>(Tables().lower[static_cast<unsigned char>(c)]);
}

char UpperCp1252(char c) {
  return static_cast<char>(Tables().upper[static_cast<unsigned char>(c)]);
}

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = LowerCp1252(c);
  return out;
}

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = UpperCp1252(c);
  return out;
}

int CompareIgnoreCase(std::string_view a, std::string_view b) {
  const auto& lower = Tables().lower;
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    int x = lower[static_cast<unsigned char>(a[i])];
    int y = lower[static_cast<unsigned char>(b[i])];
    if (x != y) return x - y;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareIgnoreCase(a, b) == 0;
}

size_t FindIgnoreCase(std::string_view haystack, std::string_view needle, size_t from) {
  if (needle.size() > haystack.size()) return std::string_view::npos;
  for (size_t i = from; i + needle.size() <= haystack.size(); ++i)
    if (EqualsIgnoreCase(haystack.substr(i, needle.size()), needle)) return i;
  return std::string_view::npos;
}

}  // namespace vork
