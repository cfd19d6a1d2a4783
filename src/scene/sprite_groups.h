#pragma once
// The geometry of drag-and-drop exercises: sprites found by their tags,
// distance and overlap tests between groups, snapping a dropped sprite onto
// the nearest slot, shuffling positions and planning the moves of a row of
// slots when an item is dropped on an occupied one.
//
// Free of Qt and of the object manager: the caller hands over a snapshot of
// the sprite objects (in the object manager's order, which is creation
// order) and carries out the moves these functions decide.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

struct GroupPoint {
  int x = 0;
  int y = 0;
  bool operator==(const GroupPoint&) const = default;
};

// A sprite's bounding rectangle: right and bottom are exclusive.
struct GroupRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  int64_t Right() const { return static_cast<int64_t>(left) + width; }
  int64_t Bottom() const { return static_cast<int64_t>(top) + height; }
  // Truncating halves, as the sprites compute theirs.
  GroupPoint Center() const;
  // A non-empty intersection.
  bool Intersects(const GroupRect& other) const;
  bool Contains(GroupPoint point) const;
};

// A sprite object as the group operations see it.
struct GroupSprite {
  int32_t handle = 0;
  std::string tags;  // the tag set as text, names joined by "|"
  GroupRect bounds;

  GroupPoint Center() const { return bounds.Center(); }
};

using GroupSprites = std::vector<GroupSprite>;

// N matches tags when N is empty or "|" + tags + "|" contains "|" + N + "|".
bool TagsMatch(std::string_view tags, std::string_view name);
// name is exactly one of the "|"-separated names of tags (case-sensitive).
bool HasTagName(std::string_view tags, std::string_view name);

double Distance(GroupPoint a, GroupPoint b);
// The distance rounded to an integer, halves up.
int64_t RoundedDistance(GroupPoint a, GroupPoint b);

// Positions in sprites of the ones whose tags match name.
std::vector<size_t> SpritesMatching(const GroupSprites& sprites, std::string_view name);

// Every sprite matching a lies within distance of every other sprite
// matching b (rounded distance between centres); true when there is none.
bool AllWithin(const GroupSprites& sprites, std::string_view a, std::string_view b, int32_t distance);
// Every sprite matching a overlaps every other sprite matching b.
bool AllOverlap(const GroupSprites& sprites, std::string_view a, std::string_view b);

// The handle of the first sprite whose tags match every "|"-separated piece
// of tags (an empty piece matches any sprite), or 0.
int32_t FindByAllTags(const GroupSprites& sprites, std::string_view tags);

// Where the dragged sprite's centre snaps to: the centre of the nearest other
// sprite having the tag name exactly, within distance (unrounded) and within
// max_dx and max_dy on each axis; the earlier one on equal distances.
// Nothing when name is empty or distance is not positive.
std::optional<GroupPoint> SnapNearestCenter(const GroupSprites& sprites, size_t dragged,
                                            std::string_view name, int32_t distance, int32_t max_dx,
                                            int32_t max_dy);

// The slot (a position in sprites, from candidates in order) nearest to
// center within distance; the earlier one on equal distances.
std::optional<size_t> NearestSlot(const GroupSprites& sprites, const std::vector<size_t>& candidates,
                                  GroupPoint center, int32_t distance);

// The first sprite other than `except` matching names whose centre is center.
std::optional<size_t> FirstAtCenter(const GroupSprites& sprites, size_t except, std::string_view names,
                                    GroupPoint center);

// The swaps of positions that shuffle n sprites: the first pair always
// differs, so one sprite always moves. random(lo, hi) draws an integer in
// lo .. hi, both included.
using RandomBetween = std::function<int(int lo, int hi)>;
std::vector<std::pair<size_t, size_t>> ShuffleSwaps(size_t n, const RandomBetween& random);

// Relations of CountRelated.
enum class SpriteRelation : int32_t { kWithinDistance = 0, kOverlap = 1, kCenterInside = 2 };

struct RelatedCount {
  int32_t count = 0;
  int32_t matched = 0;
  int32_t first_match = 0;  // handle of the first related b found, or 0
};

// Raises EVkError for a relation other than 0, 1 and 2.
void CheckRelation(int32_t relation);

// Counts the sprites matching a and how many of them stand in the relation
// to some other sprite matching b; adds to `into`. Raises EVkError for a
// relation other than 0, 1 and 2.
void CountRelated(const GroupSprites& sprites, int32_t relation, std::string_view a, std::string_view b,
                  int32_t distance, RelatedCount& into);

// The (a, b) tag pairs of a text "A1>B1|A2>B2": every ">" separates like
// "|" and the pieces are taken two by two. Raises EVkError when a piece is
// left without its partner.
std::vector<std::pair<std::string, std::string>> RelatedPairs(std::string_view text);

// What InsertIntoRow does: sprites to bring to the front (in that order)
// and the centres they travel to, all in one group slide.
struct RowMove {
  int32_t handle = 0;
  GroupPoint target;
};

struct RowPlan {
  bool acts = false;  // the drop landed on an occupied slot: the stage is disabled meanwhile
  std::vector<int32_t> to_front;
  std::vector<RowMove> moves;
};

// A dragged item dropped on a slot of a row: the slot is the first other
// sprite at the dragged sprite's centre that shares exactly one name with
// slot_names (that name names the row). When the slot is occupied, type 0
// moves the occupants along the row towards the nearest free slot (the
// dragged sprite travels to `away` when there is none), type 1 sends the
// occupant to `away`, type 2 the dragged sprite; other types move nothing.
RowPlan PlanInsertIntoRow(const GroupSprites& sprites, size_t dragged, std::string_view slot_names,
                          std::string_view item_name, int32_t type, GroupPoint away);

}  // namespace vork
