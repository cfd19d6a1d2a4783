// A stored test-manager state as it may come back from a damaged settings
// file, with arbitrary level definitions: Setup takes what is sound of it,
// and selections and answers afterwards work or fail with
// the manager's errors; the state always stays well formed. Input: item
// count, wanted count, level definitions up to the first line break, state.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "exercises/expire_items.h"
#include "exercises/test_manager.h"
#include "platform/player_host.h"
#include "platform/errors.h"
#include "platform/random.h"

namespace {

// The calendar stands at 2024-03-10 12:00.
class CalendarHost : public vork::PlayerHost {
 public:
  std::int64_t LocalWallClockSeconds() override { return 1'710'072'000; }
};

void CheckWellFormed(const vork::TSa1TestManager& manager) {
  const vork::StateCheck check = vork::CheckState(manager.State(), manager.ItemLines().size());
  if (!check.dropped.empty() || check.state != manager.State()) __builtin_trap();
}

// A sound state of up to 64 records drawn from the input, then one byte of
// it replaced: the check may lose the record that byte belongs to (or, when
// it makes two records name one item, one of those two), never more.
void CheckOneCorruptedByte(std::string_view input) {
  if (input.size() < 4) return;
  const std::size_t records = static_cast<std::uint8_t>(input[0]) % 64 + 1;
  std::string state;
  for (std::size_t i = 0; i < records; ++i) {
    const auto seed = static_cast<std::uint8_t>(input[(i + 3) % input.size()]);
    char due[16];
    std::snprintf(due, sizeof due, "%04d%02d%02d%02d%02d%02d", 1990 + seed % 40, 1 + seed % 12, 1 + seed % 28,
                  seed % 24, seed % 60, (seed * 7) % 60);
    state += "/" + vork::ItemNumberText(static_cast<int>(i)) + static_cast<char>('0' + seed % 10) + due;
  }
  const std::size_t where =
      (static_cast<std::uint8_t>(input[1]) * 256u + static_cast<std::uint8_t>(input[3])) % state.size();
  state[where] = input[2];
  const vork::StateCheck check = vork::CheckState(state, records);
  const std::size_t kept = check.state.size() / vork::TSa1ExpireItems::kRecordLength;
  if (check.state.size() % vork::TSa1ExpireItems::kRecordLength != 0 || kept + 1 < records) __builtin_trap();
}

template <typename Action>
void Try(Action action) {
  try {
    action();
  } catch (const vork::EVkError&) {
  } catch (const vork::EVkAssertion&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckOneCorruptedByte(input);
  const int item_count = static_cast<std::uint8_t>(input[0]);
  const int wanted = static_cast<std::int8_t>(input[1]);
  std::string_view rest = input.substr(2);
  const std::size_t line_end = rest.find('\n');
  const std::string_view levels = rest.substr(0, line_end);
  const std::string_view state = line_end == std::string_view::npos ? "" : rest.substr(line_end + 1);

  static CalendarHost host;
  static vork::ScopedHost installed(host);
  vork::Random().Reseed(1);
  vork::TSa1TestManager manager([item_count](std::string_view) {
    std::vector<std::string> lines;
    for (int i = 0; i < item_count; ++i) lines.push_back("item " + std::to_string(i));
    return lines;
  });
  bool set_up = false;
  Try([&] { set_up = manager.Setup("items.txt", state, levels); });
  CheckWellFormed(manager);
  if (!set_up) return 0;

  std::vector<std::string> lines;
  Try([&] { manager.SelectItems(wanted, lines); });
  if (static_cast<int>(lines.size()) > (wanted < 0 ? 0 : wanted)) __builtin_trap();
  for (const std::string& line : lines) {
    bool correct = (line.size() & 1) != 0;
    Try([&] { manager.RecordAnswer(std::string_view(line).substr(0, 4), correct); });
    CheckWellFormed(manager);
  }
  for (int level = 0; level <= vork::TSa1ExpireItems::kMaxLevel; ++level) manager.CountAtLevel(level);
  return 0;
}
