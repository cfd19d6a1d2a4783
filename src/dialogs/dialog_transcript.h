#pragma once
// A picture dialog in a transcript run: written as one line, "dialog: " +
// the picture name + " " + the hot-spot names joined by "|", and answered
// at once as if the learner had clicked.

#include <optional>
#include <string>
#include <vector>

#include "dialogs/dialog_hotspots.h"
#include "dialogs/dialog_record.h"

namespace vork {

class TranscriptBoxes;

// The dialog's result as the transcript answers it, hotspots being those a
// click can reach (ReachableHotspots):
// - a dialog without area (0 x 0) takes no answer and closes at once, with
//   the empty result;
// - a dialog that ignores clicks (negative timeout) takes no answer and
//   closes by its timeout, with the empty result;
// - the next answer naming one of its hot spots is a click on it; a dialog
//   without hot spots closes on any answer, with the empty result;
// - with no answer left, or one that names none of its hot spots, it
//   closes by its timeout when it has one, else as a click on its first hot
//   spot.
std::string AnswerPictureDialog(TranscriptBoxes& transcript, const TVkDialog& dialog,
                                const std::vector<TVkHotspot>& hotspots, bool has_area);

}  // namespace vork
