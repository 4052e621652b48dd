#include "solver/search_level.h"

#include <algorithm>
#include <atomic>

namespace pinsum {
namespace {

std::atomic<int> g_searchLevel{kMinSearchLevel};

} // namespace

int SearchLevel() {
    return g_searchLevel.load(std::memory_order_relaxed);
}

void SetSearchLevel(int level) {
    g_searchLevel.store(ClampSearchLevel(level));
}

int ClampSearchLevel(int level) {
    return std::clamp(level, kMinSearchLevel, kMaxSearchLevel);
}

} // namespace pinsum
