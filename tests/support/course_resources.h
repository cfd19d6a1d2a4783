#pragma once
// A course's resources for tests of the windows that show them: one archive
// in a scratch folder with a resource manager over it, and pictures encoded
// as the Windows bitmaps courses carry.

#include <QBuffer>
#include <QImage>
#include <cstdint>
#include <memory>
#include <string>

#include "archives/archive_builder.h"
#include "archives/test_files.h"
#include "resources/res_manager.h"

namespace vork::testing {

inline std::string BmpBytes(const QImage& image) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
  return buffer.data().toStdString();
}

inline QImage FilledImage(int width, int height, QColor colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// A silent 22,050 Hz mono 16-bit wave file of the given length.
inline std::string SilentWave(double seconds) {
  const auto data_size = static_cast<uint32_t>(seconds * 22050) * 2;
  std::string wave = "RIFF";
  const auto put = [&wave](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) wave += static_cast<char>(value >> (8 * i) & 0xFF);
  };
  put(36 + data_size, 4);
  wave += "WAVEfmt ";
  put(16, 4);
  put(1, 2);  // PCM
  put(1, 2);  // mono
  put(22050, 4);
  put(22050 * 2, 4);
  put(2, 2);
  put(16, 2);
  wave += "data";
  put(data_size, 4);
  wave.append(data_size, '\0');
  return wave;
}

class CourseResources {
 public:
  // Every resource in the archive "course.vka"; loose files in media/.
  explicit CourseResources(const Resources& resources, const Resources& loose = {}) {
    WriteFile(dir_ / "course", "program");
    WriteArchive(dir_ / "course.vka", resources, 2);
    WriteFile(dir_ / "media/media.dir", "");
    for (const auto& [name, data] : loose) WriteFile(dir_ / ("media/" + name), data);
    manager_ = std::make_unique<TVkResManager>(dir_ / "course", dir_ / "media");
  }
  TVkResManager& Manager() { return *manager_; }
  std::string MediaDirectory() const { return dir_ / "media"; }

 private:
  TempDir dir_;
  std::unique_ptr<TVkResManager> manager_;
};

}  // namespace vork::testing
