#include "exercises/crossword/crossword_data.h"

#include <cstdint>
#include <string>
#include <utility>

#include "archives/stream.h"
#include "text/normalize.h"
#include "text/text_edits.h"
#include "platform/cp1252.h"
#include "platform/errors.h"
#include "resources/res_manager.h"

namespace vork {

namespace {

struct TextLine {
  int number = 0;  // 1-based, in the text as written
  std::string text;
};
using Section = std::vector<TextLine>;

std::string AtLine(int number) { return " (crossword line " + std::to_string(number) + ")"; }

[[noreturn]] void FailAt(const std::string& text, int line) { throw EVkError(text + AtLine(line)); }

// The lines that count: blank lines and "//" comments are dropped.
std::vector<TextLine> ContentLines(std::string_view text) {
  std::vector<TextLine> lines;
  int number = 0;
  for (std::string& line : SplitLines(text)) {
    ++number;
    if (TrimBlanks(line).empty() || line.starts_with("//")) continue;
    lines.push_back({number, std::move(line)});
  }
  return lines;
}

// The lines after "[name]" up to the next line that opens or closes a
// section header.
Section FindSection(const std::vector<TextLine>& lines, std::string_view name) {
  const std::string header = "[" + std::string(name) + "]";
  Section section;
  size_t i = 0;
  while (i < lines.size() && !EqualsIgnoreCase(lines[i].text, header)) ++i;
  for (++i; i < lines.size(); ++i) {
    const std::string& text = lines[i].text;
    if (text.starts_with('[') || text.ends_with(']')) break;
    section.push_back(lines[i]);
  }
  return section;
}

CrCell CellOf(char c) {
  CrCell cell;
  if (c == '.') return cell;
  if (c >= '0' && c <= '9') {
    cell.shown = cell.solution = c;
    return cell;
  }
  const char upper = UpperCp1252(c);
  if (upper == LowerCp1252(c) || upper == c) {
    cell.kind = kCrFixed;
    cell.shown = cell.solution = c;
  } else {
    cell.kind = kCrToFill;
    cell.solution = upper;
  }
  return cell;
}

void ReadGrid(const Section& rows, TCrGrid& grid) {
  if (rows.empty()) throw EVkError("Assertion failure (crossword without [grid] rows)");
  const size_t width = rows.front().text.size();
  for (const TextLine& row : rows) {
    if (row.text.size() != width) FailAt("Assertion failure", row.number);
  }
  grid.SetWidth(static_cast<int>(width));
  grid.SetHeight(static_cast<int>(rows.size()));
  for (int y = 0; y < grid.Height(); ++y) {
    const std::string& row = rows[static_cast<size_t>(y)].text;
    for (int x = 0; x < grid.Width(); ++x) grid.SetCell(x, y, CellOf(row[static_cast<size_t>(x)]).Word());
  }
}

std::vector<std::string_view> SplitAtCommas(std::string_view text) {
  std::vector<std::string_view> parts;
  for (size_t start = 0;;) {
    const size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma - start));
    if (comma == std::string_view::npos) return parts;
    start = comma + 1;
  }
}

void Emphasize(const TextLine& line, TCrGrid& grid) {
  const std::vector<std::string_view> parts = SplitAtCommas(line.text);
  if (parts.size() != 4) FailAt("Assertion failure", line.number);
  std::int64_t numbers[4];
  for (size_t i = 0; i < 4; ++i) {
    try {
      numbers[i] = ParseInteger(parts[i]);
    } catch (const EVkError& error) {
      FailAt(error.what(), line.number);
    }
  }
  const auto [x, y, w, h] = numbers;
  if (w <= 0 || h <= 0) return;
  // Cells outside the grid do not exist: marking them would write past it.
  if (x < 0 || y < 0 || x + w > grid.Width() || y + h > grid.Height()) {
    FailAt("Emphasized area " + line.text + " reaches outside the " + std::to_string(grid.Width()) +
               " x " + std::to_string(grid.Height()) + " grid",
           line.number);
  }
  for (auto cy = y; cy < y + h; ++cy) {
    for (auto cx = x; cx < x + w; ++cx) {
      CrCell cell = CrCell::FromWord(grid.Cell(static_cast<int>(cx), static_cast<int>(cy)));
      if (cell.kind == kCrBlack) FailAt("Emphasizing \"black area\" is not allowed.", line.number);
      cell.emphasized = true;
      grid.SetCell(static_cast<int>(cx), static_cast<int>(cy), cell.Word());
    }
  }
}

}  // namespace

TCrCrosswordData TCrCrosswordData::Sample() {
  TCrCrosswordData data;
  data.grid_.SetWidth(5);
  data.grid_.SetHeight(5);
  for (int i = 0; i < 25; ++i) {
    CrCell cell;
    cell.kind = kCrFixed;
    cell.shown = cell.solution = static_cast<char>('A' + i);
    data.grid_.SetCell(i % 5, i / 5, cell.Word());
  }
  return data;
}

void TCrCrosswordData::LoadFromStream(TKsStream& stream) { LoadFromText(stream.ReadAll()); }

void TCrCrosswordData::LoadFromText(std::string_view text) {
  const std::vector<TextLine> lines = ContentLines(text);
  TCrGrid grid;
  ReadGrid(FindSection(lines, "grid"), grid);
  for (const TextLine& line : FindSection(lines, "emphasize")) Emphasize(line, grid);
  std::vector<std::string> cues;
  for (TextLine& line : FindSection(lines, "cues")) cues.push_back(std::move(line.text));
  grid_ = std::move(grid);
  cues_ = std::move(cues);
}

std::string TCrCrosswordData::Cue(std::string_view word) const {
  if (!cues_) return {};
  const std::string key = UpperCase(word) + "=";
  for (const std::string& line : *cues_) {
    if (line.starts_with(key)) return line.substr(key.size());
  }
  return {};
}

}  // namespace vork
