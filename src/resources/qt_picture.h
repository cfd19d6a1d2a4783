#pragma once
// Decoded pictures as QImages.

#include <QImage>
#include <string_view>

#include "resources/picture.h"

namespace vork {

class TVkResManager;

// A deep copy in QImage::Format_RGB32 (the pixels are always opaque).
QImage ToQImage(const Picture& picture);

// TVkResManager::LoadBitmap into a QImage.
QImage LoadBitmapImage(TVkResManager& resources, std::string_view name);

}  // namespace vork
