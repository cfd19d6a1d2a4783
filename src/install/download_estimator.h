#pragma once
// TVkDownloadEstimator: the transfer rate and the time left of a download,
// from the byte counts it is fed and the player's clock.

#include <cstdint>

namespace vork {

class TVkDownloadEstimator {
 public:
  void Sample(int64_t bytes);
  // Bytes per second between the first non-empty sample and the latest,
  // or -1 when there is nothing to measure yet.
  double Rate() const;
  // Whole seconds until total bytes are in, or -1 when unknown.
  int64_t SecondsLeft(int64_t total) const;
  int64_t LatestBytes() const { return latest_bytes_; }

 private:
  int64_t first_time_ = 0;
  int64_t first_bytes_ = 0;
  int64_t latest_bytes_ = 0;
  int64_t latest_time_ = 0;
  bool has_first_ = false;
};

}  // namespace vork
