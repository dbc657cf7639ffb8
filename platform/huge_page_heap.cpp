#include "platform/huge_page_heap.h"

#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace vellmora {
namespace {

constexpr const char* kTunables = "GLIBC_TUNABLES";

/// "always" or "madvise" is shown bracketed when the kernel hands out huge pages on request.
bool kernelOffersHugePages() {
    std::ifstream setting("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string modes;
    std::getline(setting, modes);
    return modes.find("[always]") != std::string::npos ||
           modes.find("[madvise]") != std::string::npos;
}

}  // namespace

void restartWithHugePageHeap(char** argv) {
    if (argv == nullptr || argv[0] == nullptr || getenv(kTunables) != nullptr) return;
    if (!kernelOffersHugePages()) return;
    if (setenv(kTunables, "glibc.malloc.hugetlb=1", 1) != 0) return;
    execv("/proc/self/exe", argv);
    unsetenv(kTunables);  // not started again: go on as we are
}

}  // namespace vellmora
