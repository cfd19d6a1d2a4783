#pragma once
// Course text (Windows-1252 bytes) to and from Qt's strings: the one place
// where the two meet.

#include <QString>
#include <string>
#include <string_view>

namespace vork {

QString ToQString(std::string_view cp1252);
// Characters without a Windows-1252 byte become '?'.
std::string FromQString(const QString& text);

}  // namespace vork
