#pragma once

namespace vellmora {

/// A search keeps its result lines on the heap: millions of small strings in fresh memory,
/// whose page faults cost as much as the search itself on some machines. glibc can ask for
/// transparent huge pages for its heap, but reads that setting only as a program starts; so
/// this starts the program again, once, with it (GLIBC_TUNABLES glibc.malloc.hugetlb=1).
///
/// Nothing happens when GLIBC_TUNABLES is already set (the user's own choice, or the second
/// start), when the kernel offers no transparent huge pages, or when the new start fails: the
/// program then simply goes on. Call it first in main(), before any thread or window exists.
void restartWithHugePageHeap(char** argv);

}  // namespace vellmora
