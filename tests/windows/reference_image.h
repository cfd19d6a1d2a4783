#pragma once
// Screenshots compared with reference images kept beside the tests, checked
// once by eye when they were made. Font rendering may differ a little
// between machines, so a few pixels may differ by a little. Run with
// VORK_WRITE_REFERENCES=1 to write the references anew (then look at them).

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <string>

namespace vork::testing {

inline void ExpectLooksLike(const QImage& screenshot, const std::string& name) {
  const QString path = QString::fromStdString(std::string(VORK_SOURCE_DIR) + "/tests/windows/reference/" + name);
  const QImage actual = screenshot.convertToFormat(QImage::Format_RGB32);
  if (const char* write = std::getenv("VORK_WRITE_REFERENCES"); write && *write == '1') {
    ASSERT_TRUE(actual.save(path)) << path.toStdString();
    return;
  }
  const QImage expected(path);
  ASSERT_FALSE(expected.isNull()) << "no reference image " << path.toStdString();
  ASSERT_EQ(actual.size(), expected.size()) << name;
  const QImage reference = expected.convertToFormat(QImage::Format_RGB32);
  int differing = 0;
  for (int y = 0; y < actual.height(); ++y) {
    for (int x = 0; x < actual.width(); ++x) {
      const QRgb a = actual.pixel(x, y);
      const QRgb b = reference.pixel(x, y);
      const int delta = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b))});
      if (delta > 48) ++differing;
    }
  }
  // Glyph edges may move by a pixel; a missing picture, text or colour
  // changes far more than this.
  const int allowed = actual.width() * actual.height() / 100;
  EXPECT_LE(differing, allowed) << name << ": " << differing << " pixels differ";
  if (differing > allowed) actual.save(QString::fromStdString(std::string(VORK_BINARY_DIR) + "/actual-" + name));
}

}  // namespace vork::testing
