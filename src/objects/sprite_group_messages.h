#pragma once
// The system object's messages for drag-and-drop exercises: group tests
// (within a distance, overlapping, counting related sprites), shuffling,
// finding by tags, snapping a dropped sprite onto a slot, inserting it into
// a row, and the three slides that go with them: the blocking slide of a
// sprite's top-left, the single-sprite slide and the group slide (both
// stepped every 30 ms by a timer of their own, from the host).
//
// The slides hold their sprites weakly: when a sprite object is destroyed
// during a slide (a scene change, message -1), its sprite drops out of the
// slide instead of being moved after it was freed.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scene/slider.h"
#include "scene/sprite_groups.h"

namespace vork {

class HostTimer;
class TBackground;
class TVkScriptObject;
class TVkSpriteObject;

class TVkSpriteGroupMessages {
 public:
  static constexpr int kSlideInterval = 30;

  // owner is the system object; its stack carries the arguments.
  explicit TVkSpriteGroupMessages(TVkScriptObject& owner);
  ~TVkSpriteGroupMessages();
  TVkSpriteGroupMessages(const TVkSpriteGroupMessages&) = delete;
  TVkSpriteGroupMessages& operator=(const TVkSpriteGroupMessages&) = delete;

  // Handles one of the sprite-group messages of the system object (allWithin,
  // shufflePositions, slideTo, ..., lastMatch); false for any other index.
  bool HandleMessage(int32_t message);

  int32_t LastMatch() const { return last_match_; }
  bool SlideRunning() const;
  bool GroupSlideRunning() const { return slider_ != nullptr; }
  // The slot handles of the last snap-and-push; the list only, the sprite
  // objects stay the object manager's.
  const std::vector<int32_t>& SnapSlots() const { return snap_slots_; }

 private:
  // The arguments of the last snap-and-push.
  struct SnapArguments {
    int32_t sprite = 0;
    std::string slot_tags;
    int32_t distance = 0;
    std::string occupant_tags;
    int32_t mode = 0;
    int32_t x = 0;
    int32_t y = 0;
  };

  TBackground* Stage() const;
  GroupSprites Snapshot() const;
  void ShufflePositions(const std::string& tags);
  void SlideTo(int32_t sprite, int32_t x, int32_t y, int32_t steps, int32_t milliseconds, int32_t routine);
  void SnapNearest(int32_t sprite, const std::string& name, int32_t distance, int32_t max_dx, int32_t max_dy);
  void SnapAndPush();
  void InsertIntoRow(int32_t sprite, const std::string& slot_tags, const std::string& item_tag, int32_t type,
                     int32_t x, int32_t y);
  int32_t CountRelatedPairs(int32_t relation, const std::string& pairs, int32_t distance);
  bool CountRelatedOnce(int32_t relation, const std::string& a, const std::string& b, int32_t distance);
  // The single-sprite slide of sprite's centre to (x, y).
  void StartSlide(TVkSpriteObject& sprite, int32_t x, int32_t y);
  // Starts timer, made at its first use, to call tick every kSlideInterval.
  void StartSlideTimer(std::unique_ptr<HostTimer>& timer, void (TVkSpriteGroupMessages::*tick)());
  void SlideTick();
  void GroupSlideTick();
  void EndGroupSlide();

  TVkScriptObject& owner_;
  int32_t last_match_ = 0;
  SnapArguments snap_;
  std::vector<int32_t> snap_slots_;
  std::unique_ptr<HostTimer> slide_timer_;
  TSpriteSlide slide_;
  std::unique_ptr<HostTimer> slider_timer_;
  std::unique_ptr<TVkSlider> slider_;
};

}  // namespace vork
