#include "dialogs/dialog_transcript.h"

#include "platform/message_boxes.h"

namespace vork {

std::string AnswerPictureDialog(TranscriptBoxes& transcript, const TVkDialog& dialog,
                                const std::vector<TVkHotspot>& hotspots, bool has_area) {
  transcript.WriteLine("dialog", dialog.BitmapName + " " + HotspotNames(hotspots));
  if (!has_area || dialog.Timeout < 0) return {};
  const std::string answer = transcript.Answers().Take();
  if (!answer.empty()) {
    if (hotspots.empty()) return {};
    for (const TVkHotspot& spot : hotspots)
      if (spot.name == answer) return spot.name;
  }
  if (dialog.Timeout > 0 || hotspots.empty()) return {};
  return hotspots.front().name;
}

}  // namespace vork
