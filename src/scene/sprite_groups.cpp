#include "scene/sprite_groups.h"

#include <algorithm>
#include <cmath>

#include "platform/errors.h"

namespace vork {

namespace {

constexpr char kSeparator = '|';

// Names of a tag text; an empty text has none, "a||b" has three.
std::vector<std::string_view> SplitNames(std::string_view text, char separator = kSeparator) {
  std::vector<std::string_view> names;
  if (text.empty()) return names;
  size_t start = 0;
  while (true) {
    const size_t found = text.find(separator, start);
    names.push_back(text.substr(start, found == std::string_view::npos ? found : found - start));
    if (found == std::string_view::npos) return names;
    start = found + 1;
  }
}

int64_t Center2(int64_t low, int64_t high) { return (low + high) / 2; }

// The pairs (a, b) of two different sprites matching a and b, in order,
// until visit answers false; answers what the last visit answered.
template <class Visit>
bool EveryPair(const GroupSprites& sprites, std::string_view a, std::string_view b, Visit&& visit) {
  for (size_t i = 0; i < sprites.size(); ++i) {
    if (!TagsMatch(sprites[i].tags, a)) continue;
    for (size_t j = 0; j < sprites.size(); ++j) {
      if (j == i || !TagsMatch(sprites[j].tags, b)) continue;
      if (!visit(sprites[i], sprites[j])) return false;
    }
  }
  return true;
}

bool Related(SpriteRelation relation, const GroupSprite& a, const GroupSprite& b, int32_t distance) {
  switch (relation) {
    case SpriteRelation::kWithinDistance: return RoundedDistance(a.Center(), b.Center()) <= distance;
    case SpriteRelation::kOverlap: return a.bounds.Intersects(b.bounds);
    case SpriteRelation::kCenterInside: return b.bounds.Contains(a.Center());
  }
  return false;
}

}  // namespace

GroupPoint GroupRect::Center() const {
  return {static_cast<int>(Center2(left, Right())), static_cast<int>(Center2(top, Bottom()))};
}

bool GroupRect::Intersects(const GroupRect& other) const {
  return std::max<int64_t>(left, other.left) < std::min(Right(), other.Right()) &&
         std::max<int64_t>(top, other.top) < std::min(Bottom(), other.Bottom());
}

bool GroupRect::Contains(GroupPoint point) const {
  return point.x >= left && point.x < Right() && point.y >= top && point.y < Bottom();
}

bool TagsMatch(std::string_view tags, std::string_view name) {
  if (name.empty()) return true;
  const std::string haystack = "|" + std::string(tags) + "|";
  const std::string needle = "|" + std::string(name) + "|";
  return haystack.find(needle) != std::string::npos;
}

bool HasTagName(std::string_view tags, std::string_view name) {
  const std::vector<std::string_view> names = SplitNames(tags);
  return std::find(names.begin(), names.end(), name) != names.end();
}

double Distance(GroupPoint a, GroupPoint b) {
  return std::hypot(static_cast<double>(a.x) - b.x, static_cast<double>(a.y) - b.y);
}

int64_t RoundedDistance(GroupPoint a, GroupPoint b) {
  return static_cast<int64_t>(std::floor(Distance(a, b) + 0.5));
}

std::vector<size_t> SpritesMatching(const GroupSprites& sprites, std::string_view name) {
  std::vector<size_t> found;
  for (size_t i = 0; i < sprites.size(); ++i) {
    if (TagsMatch(sprites[i].tags, name)) found.push_back(i);
  }
  return found;
}

bool AllWithin(const GroupSprites& sprites, std::string_view a, std::string_view b, int32_t distance) {
  return EveryPair(sprites, a, b, [&](const GroupSprite& first, const GroupSprite& second) {
    return RoundedDistance(first.Center(), second.Center()) <= distance;
  });
}

bool AllOverlap(const GroupSprites& sprites, std::string_view a, std::string_view b) {
  return EveryPair(sprites, a, b, [](const GroupSprite& first, const GroupSprite& second) {
    return first.bounds.Intersects(second.bounds);
  });
}

int32_t FindByAllTags(const GroupSprites& sprites, std::string_view tags) {
  const std::vector<std::string_view> pieces = SplitNames(tags);
  for (const GroupSprite& sprite : sprites) {
    const bool all = std::all_of(pieces.begin(), pieces.end(),
                                 [&](std::string_view piece) { return TagsMatch(sprite.tags, piece); });
    if (all) return sprite.handle;
  }
  return 0;
}

std::optional<GroupPoint> SnapNearestCenter(const GroupSprites& sprites, size_t dragged,
                                            std::string_view name, int32_t distance, int32_t max_dx,
                                            int32_t max_dy) {
  if (name.empty() || distance <= 0) return std::nullopt;
  const GroupPoint center = sprites.at(dragged).Center();
  std::optional<GroupPoint> best;
  double best_distance = 0;
  for (size_t i = 0; i < sprites.size(); ++i) {
    if (i == dragged || !HasTagName(sprites[i].tags, name)) continue;
    const GroupPoint candidate = sprites[i].Center();
    const double apart = Distance(center, candidate);
    if (apart > distance) continue;
    if (std::abs(static_cast<int64_t>(candidate.x) - center.x) > max_dx) continue;
    if (std::abs(static_cast<int64_t>(candidate.y) - center.y) > max_dy) continue;
    if (!best || apart < best_distance) {
      best = candidate;
      best_distance = apart;
    }
  }
  return best;
}

std::optional<size_t> NearestSlot(const GroupSprites& sprites, const std::vector<size_t>& candidates,
                                  GroupPoint center, int32_t distance) {
  std::optional<size_t> choice;
  double best = 1'000'000'000;
  for (size_t slot : candidates) {
    const double apart = Distance(center, sprites.at(slot).Center());
    if (apart <= distance && apart < best) {
      choice = slot;
      best = apart;
    }
  }
  return choice;
}

std::optional<size_t> FirstAtCenter(const GroupSprites& sprites, size_t except, std::string_view names,
                                    GroupPoint center) {
  for (size_t i = 0; i < sprites.size(); ++i) {
    if (i != except && TagsMatch(sprites[i].tags, names) && sprites[i].Center() == center) return i;
  }
  return std::nullopt;
}

std::vector<std::pair<size_t, size_t>> ShuffleSwaps(size_t n, const RandomBetween& random) {
  std::vector<std::pair<size_t, size_t>> swaps;
  if (n <= 1) return swaps;
  const int last = static_cast<int>(n) - 1;
  const int i = random(0, last);
  int j = random(0, last);
  while (j == i) j = random(0, last);
  swaps.emplace_back(i, j);
  // The rest: every sprite but the one picked first, shuffled uniformly.
  std::vector<size_t> rest;
  for (size_t k = 0; k < n; ++k) {
    if (k != static_cast<size_t>(i)) rest.push_back(k);
  }
  for (size_t k = 0; k < rest.size(); ++k) {
    const auto r = static_cast<size_t>(random(static_cast<int>(k), static_cast<int>(rest.size()) - 1));
    if (r != k) swaps.emplace_back(rest[k], rest[r]);
  }
  return swaps;
}

void CheckRelation(int32_t relation) {
  if (relation < 0 || relation > 2) {
    throw EVkError("CountRelated: unknown relation " + std::to_string(relation) +
                   " (0 within distance, 1 overlapping, 2 centre inside)");
  }
}

void CountRelated(const GroupSprites& sprites, int32_t relation, std::string_view a, std::string_view b,
                  int32_t distance, RelatedCount& into) {
  CheckRelation(relation);
  const auto kind = static_cast<SpriteRelation>(relation);
  for (size_t i = 0; i < sprites.size(); ++i) {
    if (!TagsMatch(sprites[i].tags, a)) continue;
    into.count += 1;
    for (size_t j = 0; j < sprites.size(); ++j) {
      if (j == i || !TagsMatch(sprites[j].tags, b) || !Related(kind, sprites[i], sprites[j], distance)) continue;
      into.matched += 1;
      if (into.first_match == 0) into.first_match = sprites[j].handle;
      break;
    }
  }
}

std::vector<std::pair<std::string, std::string>> RelatedPairs(std::string_view text) {
  std::string separated(text);
  std::replace(separated.begin(), separated.end(), '>', kSeparator);
  const std::vector<std::string_view> pieces = SplitNames(separated);
  if (pieces.size() % 2 != 0) {
    throw EVkError("CountRelated: the pair list \"" + std::string(text) +
                   "\" has a tag without its partner (write A>B|C>D)");
  }
  std::vector<std::pair<std::string, std::string>> pairs;
  for (size_t k = 0; k < pieces.size(); k += 2) pairs.emplace_back(pieces[k], pieces[k + 1]);
  return pairs;
}

namespace {

// The one name of slot_names that tags has, when there is exactly one.
std::optional<std::string_view> OnlySharedName(std::string_view tags,
                                               const std::vector<std::string_view>& slot_names) {
  std::vector<std::string_view> shared;
  for (std::string_view name : SplitNames(tags)) {
    const bool in_slots = std::find(slot_names.begin(), slot_names.end(), name) != slot_names.end();
    if (in_slots && std::find(shared.begin(), shared.end(), name) == shared.end()) shared.push_back(name);
  }
  if (shared.size() != 1) return std::nullopt;
  return shared.front();
}

struct RowSlot {
  size_t slot;
  std::optional<size_t> occupant;
};

}  // namespace

RowPlan PlanInsertIntoRow(const GroupSprites& sprites, size_t dragged, std::string_view slot_names,
                          std::string_view item_name, int32_t type, GroupPoint away) {
  RowPlan plan;
  if (slot_names.empty() || item_name.empty()) return plan;
  const GroupPoint center = sprites.at(dragged).Center();
  const std::vector<std::string_view> names = SplitNames(slot_names);

  std::optional<size_t> drop;
  std::string_view row;
  for (size_t i = 0; i < sprites.size() && !drop; ++i) {
    if (i == dragged || sprites[i].Center() != center) continue;
    if (const auto shared = OnlySharedName(sprites[i].tags, names)) {
      drop = i;
      row = *shared;
    }
  }
  if (!drop) return plan;

  std::vector<RowSlot> slots;
  std::vector<size_t> items;
  for (size_t i = 0; i < sprites.size(); ++i) {
    if (i == dragged) continue;
    if (HasTagName(sprites[i].tags, row)) {
      slots.push_back({i, std::nullopt});
    } else if (HasTagName(sprites[i].tags, item_name)) {
      items.push_back(i);
    }
  }
  std::vector<bool> placed(items.size(), false);
  for (RowSlot& slot : slots) {
    for (size_t k = 0; k < items.size(); ++k) {
      if (placed[k] || sprites[items[k]].Center() != sprites[slot.slot].Center()) continue;
      slot.occupant = items[k];
      placed[k] = true;
      break;
    }
  }

  const auto t = static_cast<size_t>(
      std::find_if(slots.begin(), slots.end(), [&](const RowSlot& slot) { return slot.slot == *drop; }) -
      slots.begin());
  if (!slots[t].occupant) return plan;
  plan.acts = true;
  const auto handle_of = [&](size_t index) { return sprites[index].handle; };
  const auto center_of = [&](size_t slot) { return sprites[slots[slot].slot].Center(); };

  switch (type) {
    case 0: {
      std::optional<size_t> free;
      for (size_t k = t; k < slots.size() && !free; ++k) {
        if (!slots[k].occupant) free = k;
      }
      for (size_t k = t; k-- > 0 && !free;) {
        if (!slots[k].occupant) free = k;
      }
      if (!free) {
        plan.moves.push_back({sprites[dragged].handle, away});
      } else if (*free < t) {
        for (size_t k = *free + 1; k <= t; ++k) plan.moves.push_back({handle_of(*slots[k].occupant), center_of(k - 1)});
      } else {
        for (size_t k = *free; k-- > t;) plan.moves.push_back({handle_of(*slots[k].occupant), center_of(k + 1)});
      }
      break;
    }
    case 1:
      plan.to_front = {handle_of(*slots[t].occupant), sprites[dragged].handle};
      plan.moves.push_back({handle_of(*slots[t].occupant), away});
      break;
    case 2: plan.moves.push_back({sprites[dragged].handle, away}); break;
    default: break;
  }
  return plan;
}

}  // namespace vork
