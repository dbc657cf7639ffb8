// Reads a file the way a search loop does -- every piece read, checked by the binary-file guard
// and shaped -- and reports the throughput. bench/reader.sh runs it against `wc -l` on a large
// corpus; run it by hand on any file:
//
//     reader FILE [BUFFER_BYTES]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/line_reader.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s FILE [BUFFER_BYTES]\n", argv[0]);
        return 2;
    }
    std::size_t bufferSize = vellmora::LineReader::kDefaultBufferSize;
    if (argc == 3) bufferSize = std::strtoul(argv[2], nullptr, 10);

    auto start = std::chrono::steady_clock::now();
    vellmora::LineReader reader(bufferSize);
    vellmora::LineShaper shaper('/', 0);
    vellmora::BinaryFileGuard guard;
    if (!reader.open(argv[1])) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    static char slot[8200];
    vellmora::LinePiece piece;
    unsigned long long bytes = 0;
    bool abandoned = false;
    while (reader.next(slot, piece)) {
        if (guard.abandons(slot, piece)) {
            abandoned = true;
            break;
        }
        bytes += shaper.shape(slot, piece, reader);
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("lines %zu  shaped bytes %llu  %.3f s%s%s\n", reader.piecesRead(), bytes, seconds,
                abandoned ? "  (abandoned as binary)" : "",
                reader.error() != 0 ? "  (read error)" : "");
    return reader.error() != 0 || abandoned ? 1 : 0;
}
