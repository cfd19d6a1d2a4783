#include "platform/qt/qt_text.h"

#include <QList>

#include "platform/cp1252.h"

namespace vork {

QString ToQString(std::string_view cp1252) {
  QString text;
  text.reserve(static_cast<qsizetype>(cp1252.size()));
  for (char c : cp1252) text.append(QChar(static_cast<char16_t>(Cp1252ToUnicode(static_cast<unsigned char>(c)))));
  return text;
}

std::string FromQString(const QString& text) {
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  for (uint cp : text.toUcs4()) {
    int byte = UnicodeToCp1252(cp);
    out += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return out;
}

}  // namespace vork
