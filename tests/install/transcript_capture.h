#pragma once
// Every box shown during a test, as transcript lines, answered from a list.

#include <sstream>
#include <string>

#include "platform/message_boxes.h"
#include "support/test_host.h"

namespace vork::testing {

class TranscriptCapture {
 public:
  explicit TranscriptCapture(const std::string& answers = "")
      : answers_(answers), boxes_(out_, answers_) {}
  TranscriptCapture(const TranscriptCapture&) = delete;
  TranscriptCapture& operator=(const TranscriptCapture&) = delete;
  std::string Lines() const { return out_.str(); }

 private:
  std::ostringstream out_;
  TranscriptAnswers answers_;
  TranscriptBoxes boxes_;
  vork::testing::TestHost host_{&boxes_};
};

}  // namespace vork::testing
