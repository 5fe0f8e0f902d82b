#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "picture/Canvas.h"
#include "screen/History.h"

// "Časový diagram": the pulses of the time line as a timing diagram, drawn with the
// picture's canvas and fonts. Rows Φ1, Φ2, the eight control signals, the five AND
// gates (signal AND Φ2) as waveforms, then the bus, IR, PČ, A, B and the adder as
// bus-style segments with their decimal values; one column per pulse, numbered from
// 1 within the run, grouped by microstep under the microprogram line and its
// instruction; the column of the pulse the machine is at marked. It scrolls over
// the whole time line; a click on a column, or Enter on the chosen one, names the
// position that moves the machine there (the state that pulse left).
namespace procesor::screen {

using render::Box;
using render::Canvas;

class TimingDiagram {
public:
    static constexpr int kWidth = 960;
    static constexpr int kHeight = 420;
    static constexpr int kColumnWidth = 24;
    static constexpr int kLabelWidth = 96;
    static constexpr int kColumns = (kWidth - kLabelWidth) / kColumnWidth;

    enum class Key { Left, Right, PageLeft, PageRight, Home, End, Enter };

    TimingDiagram();

    // Draws the diagram of the time line with the machine at history.position().
    // While the chosen column is the current one, the view follows the newest pulse.
    const Canvas& draw(const History& history);
    const Canvas& canvas() const { return canvas_; }

    // The position a click or Enter moves the machine to, if any.
    std::optional<std::uint64_t> click(int x, int y) const;
    std::optional<std::uint64_t> key(Key key);
    // The mouse wheel: whole columns, to the right for positive steps.
    void scroll(int columns);

private:
    void paint(const History& history);
    int lastColumn() const { return int(pulses_.size()) - 1; }

    Canvas canvas_;
    std::vector<std::uint64_t> pulses_; // position of every pulse kept, oldest first
    int firstShown_ = 0;                // the column at the left edge
    std::optional<int> chosen_;         // the column Enter takes; none: the current one
    int current_ = -1;                  // the column of the pulse the machine is at
};

} // namespace procesor::screen
