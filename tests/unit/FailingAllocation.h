// Allocations that fail on purpose: the test binary replaces the global operator new so
// that, once armed, the n-th allocation from then on throws std::bad_alloc.
#pragma once

#include <cstddef>

namespace failing_allocation {

// Arms the failure for the n-th allocation from now on; 0 disarms it.
void FailNth(std::size_t n);
// Whether the armed allocation was reached and failed.
bool Failed();

}  // namespace failing_allocation
