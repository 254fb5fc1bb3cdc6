#include "store/faults.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace store::faults {
namespace {
struct Planned {
  Op op;
  int code;
  std::string diskName;
  int skip;
};
std::mutex gMutex;
std::vector<Planned> gPlans;
std::atomic<bool> gAny{false};
}  // namespace

void plan(Op op, int code, std::string diskName, int skip) {
  std::lock_guard lock(gMutex);
  gPlans.push_back({op, code, std::move(diskName), skip});
  gAny = true;
}

void clearAll() {
  std::lock_guard lock(gMutex);
  gPlans.clear();
  gAny = false;
}

int take(Op op, const std::string& diskName) {
  if (!gAny.load(std::memory_order_relaxed)) return 0;
  std::lock_guard lock(gMutex);
  for (auto it = gPlans.begin(); it != gPlans.end(); ++it) {
    if (it->op != op || (!it->diskName.empty() && it->diskName != diskName)) continue;
    if (it->skip > 0) {
      --it->skip;
      return 0;
    }
    const int code = it->code;
    gPlans.erase(it);
    gAny = !gPlans.empty();
    return code;
  }
  return 0;
}

}  // namespace store::faults
