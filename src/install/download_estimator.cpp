#include "install/download_estimator.h"

#include <cmath>

#include "platform/clock.h"

namespace vork {

void TVkDownloadEstimator::Sample(int64_t bytes) {
  if (bytes == latest_bytes_) return;
  latest_time_ = MonotonicMilliseconds();
  if (bytes > 0 && !has_first_) {
    has_first_ = true;
    first_time_ = latest_time_;
    first_bytes_ = bytes;
  }
  latest_bytes_ = bytes;
}

double TVkDownloadEstimator::Rate() const {
  const int64_t elapsed = latest_time_ - first_time_;
  if (!has_first_ || first_bytes_ >= latest_bytes_ || elapsed <= 0) return -1;
  return static_cast<double>(latest_bytes_ - first_bytes_) / (elapsed / 1000.0);
}

int64_t TVkDownloadEstimator::SecondsLeft(int64_t total) const {
  const double rate = Rate();
  if (total <= 0 || rate <= 0) return -1;
  return std::llround(static_cast<double>(total - latest_bytes_) / rate);
}

}  // namespace vork
