#include "resources/qt_picture.h"

#include <cstring>

#include "resources/res_manager.h"

namespace vork {

QImage ToQImage(const Picture& picture) {
  QImage image(picture.width, picture.height, QImage::Format_RGB32);
  for (int y = 0; y < picture.height; ++y)
    std::memcpy(image.scanLine(y), picture.pixels.data() + static_cast<size_t>(y) * picture.width,
                static_cast<size_t>(picture.width) * 4);
  return image;
}

QImage LoadBitmapImage(TVkResManager& resources, std::string_view name) {
  Picture picture;
  resources.LoadBitmap(picture, name);
  return ToQImage(picture);
}

}  // namespace vork
