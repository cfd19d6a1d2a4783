#pragma once
// The line by which a benchmark reports one figure against its target, the
// form bench/run-all collects: "NAME: VALUE (target OP LIMIT) holds|misses".

#include <cstdio>
#include <cstring>

namespace vork::bench {

// op is "<=" or ">=": how value must compare with limit. Answers whether it
// holds.
inline bool PrintFigure(const char* name, double value, const char* op, double limit) {
  const bool holds = std::strcmp(op, "<=") == 0 ? value <= limit : value >= limit;
  std::printf("%s: %.2f (target %s %g) %s\n", name, value, op, limit, holds ? "holds" : "misses");
  return holds;
}

}  // namespace vork::bench
