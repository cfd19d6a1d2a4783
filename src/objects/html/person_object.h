#pragma once
// TVkPerson: a picture on the stage (people in a dialogue scene, say) with
// an invisible region map of the same size painted in pure red, green and
// blue; a press reports which region it hit. TVkPersonObject (class 10) is
// the bytecode's handle on one, with a routine for the region clicks.

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "bridge/script_object.h"

namespace vork {

// The region of the map's pixel at (x, y): red above 128 gives 0, else
// green above 128 gives 1, else blue above 128 gives 2. A point outside the
// map reads as white (region 0); an empty map has no regions at all.
std::optional<int32_t> RegionAt(const QImage& region_map, int x, int y);

class TVkPerson : public QWidget {
 public:
  // At (0, 0), 32 x 32.
  explicit TVkPerson(QWidget* parent = nullptr);

  // A picture that is not empty gives the control its size.
  void SetPicture(const QImage& picture);
  const QImage& Picture() const { return picture_; }
  void SetRegionMap(const QImage& map) { region_map_ = map; }
  const QImage& RegionMap() const { return region_map_; }

  // Only kept for the course; the control does not draw them.
  std::string TextA, TextB, TextC;

  std::function<void(int32_t region)> OnRegionClick;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QImage region_map_;
  QImage picture_;
};

class TVkPersonObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  TVkPerson* Control() const { return control_; }

 private:
  TVkPerson& RequireControl() const;
  void RegionClicked(int32_t region);

  int32_t on_click_ = 0;
  QPointer<TVkPerson> control_;
};

}  // namespace vork
