#pragma once
// Course text is single-byte Windows-1252. These are the one conversion to
// and from Unicode and the one case mapping for it; everything that compares
// or converts course text goes through them.
//
// Our own tables rather than a library's: a generic Unicode case mapping
// breaks ß, µ and ƒ, and Qt's decoder maps unmappable bytes to 0x1A.

#include <string>
#include <string_view>

namespace vork {

// The Unicode code point of a Windows-1252 byte. The five bytes that
// Windows-1252 leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the
// C1 controls of the same value, as Windows does, so that every byte string
// survives a round trip.
char32_t Cp1252ToUnicode(unsigned char byte);
// The byte for a code point, or -1 when Windows-1252 has none.
int UnicodeToCp1252(char32_t code_point);

std::string Cp1252ToUtf8(std::string_view text);
// Code points without a Windows-1252 byte become '?'; malformed UTF-8
// sequences become '?' too.
std::string Utf8ToCp1252(std::string_view text);

char LowerCp1252(char c);
char UpperCp1252(char c);
std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// <0, 0, >0 comparing the lower-cased bytes as unsigned values.
int CompareIgnoreCase(std::string_view a, std::string_view b);
// Position of needle in haystack ignoring case, or npos.
size_t FindIgnoreCase(std::string_view haystack, std::string_view needle, size_t from = 0);

struct LessIgnoreCase {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    return CompareIgnoreCase(a, b) < 0;
  }
};

}  // namespace vork
