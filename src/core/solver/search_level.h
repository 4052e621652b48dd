#pragma once

namespace pinsum {

// The thoroughness of the search for the whole program: 0 ("Rychle") to 6 ("Důkladně").
constexpr int kMinSearchLevel = 0;
constexpr int kMaxSearchLevel = 6;

int SearchLevel();
void SetSearchLevel(int level);
int ClampSearchLevel(int level);

} // namespace pinsum
