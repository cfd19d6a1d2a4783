#include "objects/sprite_group_messages.h"

#include <QWidget>
#include <exception>

#include "bridge/messages.h"
#include "bridge/object_manager.h"
#include "bridge/script_object.h"
#include "objects/sprite_object.h"
#include "platform/errors.h"
#include "platform/message_boxes.h"
#include "platform/player_host.h"
#include "platform/qt/main_form.h"
#include "platform/random.h"
#include "scene/background.h"
#include "scene/frame_sprite.h"
#include "scene/view.h"

namespace vork {

namespace {

constexpr int32_t kNoLimit = 2147483647;

void SetMainWindowEnabled(bool enabled) {
  if (QWidget* form = MainForm()) form->setEnabled(enabled);
}

// The main window stays disabled for the scope, and is enabled again on
// every way out of it.
class MainWindowDisabled {
 public:
  MainWindowDisabled() { SetMainWindowEnabled(false); }
  ~MainWindowDisabled() { SetMainWindowEnabled(true); }
  MainWindowDisabled(const MainWindowDisabled&) = delete;
  MainWindowDisabled& operator=(const MainWindowDisabled&) = delete;
};

GroupRect BoundsOf(const TSprite& sprite) {
  return {sprite.Left(), sprite.Top(), sprite.Width(), sprite.Height()};
}

GroupPoint CenterOf(const TSprite& sprite) { return {sprite.Center().x(), sprite.Center().y()}; }

size_t IndexOf(const GroupSprites& sprites, int32_t handle) {
  for (size_t i = 0; i < sprites.size(); ++i) {
    if (sprites[i].handle == handle) return i;
  }
  throw EVkError("sprite " + HandleText(handle) + " is missing from the sprite list");
}

// Shows a failure of a timer tick, which no routine is there to receive.
template <class Action>
void AtTick(Action&& action) {
  try {
    action();
  } catch (const std::exception& error) {
    ShowError(error.what());
  }
}

}  // namespace

TVkSpriteGroupMessages::TVkSpriteGroupMessages(TVkScriptObject& owner) : owner_(owner) {}

TVkSpriteGroupMessages::~TVkSpriteGroupMessages() {
  if (slider_) SetMainWindowEnabled(true);
}

TBackground* TVkSpriteGroupMessages::Stage() const {
  TVkView* view = owner_.View();
  return view ? view->Background() : nullptr;
}

GroupSprites TVkSpriteGroupMessages::Snapshot() const {
  GroupSprites sprites;
  for (TVkSpriteObject* object : SpriteObjects(owner_.Manager())) {
    const TFrameSprite* sprite = object->Sprite();
    if (!sprite) continue;
    sprites.push_back({object->Handle(), object->GetTags(), BoundsOf(*sprite)});
  }
  return sprites;
}

bool TVkSpriteGroupMessages::HandleMessage(int32_t message) {
  TVkScriptObject& o = owner_;
  switch (static_cast<SystemMessage>(message)) {
    case SystemMessage::AllWithin: {
      const int32_t distance = o.PopInt();
      const std::string b = o.PopString();
      const std::string a = o.PopString();
      o.PushBool(AllWithin(Snapshot(), a, b, distance));
      return true;
    }
    case SystemMessage::ShufflePositions: ShufflePositions(o.PopString()); return true;
    case SystemMessage::SlideTo: {
      const int32_t routine = o.PopInt();
      const int32_t steps = o.PopInt();
      const int32_t milliseconds = o.PopInt();
      const int32_t y = o.PopInt();
      const int32_t x = o.PopInt();
      const int32_t sprite = o.PopInt();
      SlideTo(sprite, x, y, steps, milliseconds, routine);
      return true;
    }
    case SystemMessage::SnapAndPush: {
      snap_.y = o.PopInt();
      snap_.x = o.PopInt();
      snap_.mode = o.PopInt();
      snap_.occupant_tags = o.PopString();
      snap_.distance = o.PopInt();
      snap_.slot_tags = o.PopString();
      snap_.sprite = o.PopInt();
      SnapAndPush();
      return true;
    }
    case SystemMessage::FindByAllTags: o.PushInt(FindByAllTags(Snapshot(), o.PopString())); return true;
    case SystemMessage::AllOverlap: {
      const std::string b = o.PopString();
      const std::string a = o.PopString();
      o.PushBool(AllOverlap(Snapshot(), a, b));
      return true;
    }
    case SystemMessage::SnapNearest: {
      const int32_t distance = o.PopInt();
      const std::string name = o.PopString();
      const int32_t sprite = o.PopInt();
      SnapNearest(sprite, name, distance, kNoLimit, kNoLimit);
      return true;
    }
    case SystemMessage::InsertIntoRow: {
      const int32_t y = o.PopInt();
      const int32_t x = o.PopInt();
      const int32_t type = o.PopInt();
      const std::string item_tag = o.PopString();
      const std::string slot_tags = o.PopString();
      const int32_t sprite = o.PopInt();
      InsertIntoRow(sprite, slot_tags, item_tag, type, x, y);
      return true;
    }
    case SystemMessage::Overlap: {
      const int32_t second = o.PopInt();
      const int32_t first = o.PopInt();
      const TFrameSprite& a = *SpriteObjectAt(o.Manager(), first).Sprite();
      const TFrameSprite& b = *SpriteObjectAt(o.Manager(), second).Sprite();
      o.PushBool(BoundsOf(a).Intersects(BoundsOf(b)));
      return true;
    }
    case SystemMessage::SnapNearestWithin: {
      const int32_t max_dy = o.PopInt();
      const int32_t max_dx = o.PopInt();
      const int32_t distance = o.PopInt();
      const std::string name = o.PopString();
      const int32_t sprite = o.PopInt();
      SnapNearest(sprite, name, distance, max_dx, max_dy);
      return true;
    }
    case SystemMessage::CountRelated: {
      o.PopInt();  // ignored
      const int32_t distance = o.PopInt();
      const std::string b = o.PopString();
      const std::string a = o.PopString();
      const int32_t relation = o.PopInt();
      o.PushBool(CountRelatedOnce(relation, a, b, distance));
      return true;
    }
    case SystemMessage::CountRelatedPairs: {
      o.PopInt();  // ignored
      const int32_t distance = o.PopInt();
      const std::string pairs = o.PopString();
      const int32_t relation = o.PopInt();
      o.PushInt(CountRelatedPairs(relation, pairs, distance));
      return true;
    }
    case SystemMessage::LastMatch: o.PushInt(last_match_); return true;
    default: return false;
  }
}

void TVkSpriteGroupMessages::ShufflePositions(const std::string& tags) {
  UpdateBatch batch(Stage());
  const GroupSprites sprites = Snapshot();
  const std::vector<size_t> matching = SpritesMatching(sprites, tags);
  const auto random = [](int lo, int hi) { return static_cast<int>(Random().Between(lo, hi)); };
  TVkObjectManager& manager = owner_.Manager();
  for (const auto& [first, second] : ShuffleSwaps(matching.size(), random)) {
    TFrameSprite& a = *SpriteObjectAt(manager, sprites[matching[first]].handle).Sprite();
    TFrameSprite& b = *SpriteObjectAt(manager, sprites[matching[second]].handle).Sprite();
    const QPoint position = a.Position();
    a.SetPosition(b.Position());
    b.SetPosition(position);
  }
}

void TVkSpriteGroupMessages::SlideTo(int32_t handle, int32_t x, int32_t y, int32_t steps,
                                     int32_t milliseconds, int32_t routine) {
  TVkObjectManager& manager = owner_.Manager();
  const int32_t owner = owner_.Handle();
  TFrameSprite& sprite = *SpriteObjectAt(manager, handle).Sprite();
  const QPointer<TFrameSprite> alive(&sprite);
  {
    MainWindowDisabled disabled;
    const QPoint start = sprite.Position();
    double cx = start.x();
    double cy = start.y();
    for (int32_t step = 0; step < steps; ++step) {
      cx += (static_cast<double>(x) - start.x()) / steps;
      cy += (static_cast<double>(y) - start.y()) / steps;
      sprite.SetPosition({RoundHalfEven(cx), RoundHalfEven(cy)});
      // Timers and other events run meanwhile.
      Host().Wait(milliseconds);
      // The events may have destroyed the sprite, or ended the course.
      if (!alive || !manager.IsLive(owner)) break;
    }
  }
  if (routine == 0 || !manager.IsLive(owner)) return;
  owner_.PushInt(0);
  owner_.RunRoutine(routine);
}

void TVkSpriteGroupMessages::SnapNearest(int32_t handle, const std::string& name, int32_t distance,
                                         int32_t max_dx, int32_t max_dy) {
  if (handle == 0) return;
  TFrameSprite& sprite = *SpriteObjectAt(owner_.Manager(), handle).Sprite();
  const GroupSprites sprites = Snapshot();
  const auto target = SnapNearestCenter(sprites, IndexOf(sprites, handle), name, distance, max_dx, max_dy);
  if (target) sprite.MoveCenterTo({target->x, target->y});
}

void TVkSpriteGroupMessages::SnapAndPush() {
  TVkObjectManager& manager = owner_.Manager();
  TVkSpriteObject& dragged = SpriteObjectAt(manager, snap_.sprite);
  TFrameSprite& sprite = *dragged.Sprite();
  GroupSprites sprites = Snapshot();
  const size_t self = IndexOf(sprites, snap_.sprite);
  const std::vector<size_t> slot_list = SpritesMatching(sprites, snap_.slot_tags);
  snap_slots_.clear();
  for (size_t slot : slot_list) snap_slots_.push_back(sprites[slot].handle);

  if (const auto choice = NearestSlot(sprites, slot_list, CenterOf(sprite), snap_.distance)) {
    const GroupPoint center = sprites[*choice].Center();
    sprite.MoveCenterTo({center.x, center.y});
    sprites[self].bounds = BoundsOf(sprite);
  }
  const auto occupant = FirstAtCenter(sprites, self, snap_.occupant_tags, CenterOf(sprite));
  if (!occupant) return;
  if (snap_.mode == 0) StartSlide(dragged, snap_.x, snap_.y);
  if (snap_.mode == 1) StartSlide(SpriteObjectAt(manager, sprites[*occupant].handle), snap_.x, snap_.y);
}

void TVkSpriteGroupMessages::StartSlide(TVkSpriteObject& object, int32_t x, int32_t y) {
  TFrameSprite& sprite = *object.Sprite();
  const QPoint offset = sprite.Center() - sprite.Position();
  slide_.Start(&sprite, QPoint(x, y) - offset);
  StartSlideTimer(slide_timer_, &TVkSpriteGroupMessages::SlideTick);
}

void TVkSpriteGroupMessages::SlideTick() {
  bool more = false;
  AtTick([&] { more = slide_.Step(); });
  if (more) return;
  slide_.Stop();
  slide_timer_->Stop();
}

void TVkSpriteGroupMessages::InsertIntoRow(int32_t handle, const std::string& slot_tags,
                                           const std::string& item_tag, int32_t type, int32_t x, int32_t y) {
  if (handle == 0 || slot_tags.empty() || item_tag.empty()) return;
  TVkObjectManager& manager = owner_.Manager();
  SpriteObjectAt(manager, handle);
  const GroupSprites sprites = Snapshot();
  const RowPlan plan = PlanInsertIntoRow(sprites, IndexOf(sprites, handle), slot_tags, item_tag, type, {x, y});
  if (!plan.acts) return;

  SetMainWindowEnabled(false);
  try {
    for (int32_t front : plan.to_front) SpriteObjectAt(manager, front).Sprite()->BringToFront();
    if (plan.moves.empty()) {
      SetMainWindowEnabled(true);
      return;
    }
    // A new insertion replaces a running group slide (the window stays
    // disabled until this one ends).
    auto slider = std::make_unique<TVkSlider>();
    for (const RowMove& move : plan.moves) {
      slider->Add(SpriteObjectAt(manager, move.handle).Sprite(), {move.target.x, move.target.y});
    }
    slider_ = std::move(slider);
    StartSlideTimer(slider_timer_, &TVkSpriteGroupMessages::GroupSlideTick);
  } catch (...) {
    EndGroupSlide();
    throw;
  }
}

void TVkSpriteGroupMessages::GroupSlideTick() {
  if (!slider_) {
    slider_timer_->Stop();
    return;
  }
  try {
    UpdateBatch batch(Stage());
    if (slider_->Step()) return;
  } catch (const std::exception& error) {
    // The window is usable again before the failure is shown.
    EndGroupSlide();
    ShowError(error.what());
    return;
  }
  EndGroupSlide();
}

void TVkSpriteGroupMessages::StartSlideTimer(std::unique_ptr<HostTimer>& timer,
                                             void (TVkSpriteGroupMessages::*tick)()) {
  if (!timer) timer = Host().NewTimer([this, tick] { (this->*tick)(); });
  timer->Start(kSlideInterval);
}

bool TVkSpriteGroupMessages::SlideRunning() const { return slide_timer_ && slide_timer_->Active(); }

void TVkSpriteGroupMessages::EndGroupSlide() {
  if (slider_timer_) slider_timer_->Stop();
  slider_.reset();
  SetMainWindowEnabled(true);
}

bool TVkSpriteGroupMessages::CountRelatedOnce(int32_t relation, const std::string& a, const std::string& b,
                                              int32_t distance) {
  last_match_ = 0;
  RelatedCount counted;
  CountRelated(Snapshot(), relation, a, b, distance, counted);
  last_match_ = counted.first_match;
  return counted.matched == counted.count;
}

int32_t TVkSpriteGroupMessages::CountRelatedPairs(int32_t relation, const std::string& pairs, int32_t distance) {
  last_match_ = 0;
  CheckRelation(relation);
  const GroupSprites sprites = Snapshot();
  RelatedCount counted;
  for (const auto& [a, b] : RelatedPairs(pairs)) CountRelated(sprites, relation, a, b, distance, counted);
  last_match_ = counted.first_match;
  return static_cast<int32_t>(static_cast<uint32_t>(counted.matched) * 65536u + static_cast<uint32_t>(counted.count));
}

}  // namespace vork
