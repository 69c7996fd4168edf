#pragma once

#include <cstdint>
#include <span>

namespace korvane {
struct ParameterMirror;
}

namespace korvane::ui {

// Timer 3 after an announced pane, or PaneRefreshNow from a re-announcing stack.
enum class PaneRefreshPath { Timer, Message };

// One read of a pane refresh and the mirror fields it takes from the reply: those
// synchronise-all takes from that read type, limited to the pane's own where it names some.
struct PaneRead {
    std::uint8_t type;
    void (*copy)(ParameterMirror& mirror, std::span<const std::uint8_t> payload,
                 PaneRefreshPath path);
};

// The reads of a side pane, in order (stack 0 left, 1 right); none for the communication pane
// and for panes that do not exist.
std::span<const PaneRead> paneRefreshReads(int stack, int pane);

} // namespace korvane::ui
