#pragma once

#include <array>
#include <cstddef>

namespace vellmora {

/// The eleven lines a window search sees: slots 0-4 the lines before the current line, slot 5
/// the current line, slots 6-10 the lines after it. Each text is terminated and already ends
/// with the line-end marker; an empty slot is an empty text.
struct LineWindow {
    static constexpr int kSlots = 11;
    static constexpr int kCurrent = 5;

    std::array<const char*, kSlots> text{};
    std::array<std::size_t, kSlots> length{};
};

}  // namespace vellmora
