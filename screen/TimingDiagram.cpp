#include "screen/TimingDiagram.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

#include "model/TransferLog.h"
#include "panel/Colours.h"
#include "picture/Paint.h"
#include "picture/Text.h"
#include "screen/TimeLine.h"

namespace procesor::screen {

using namespace procesor::render;

namespace {

constexpr int kGroupRowY = 4;   // the microprogram line and instruction of a microstep
constexpr int kNumberRowY = 20; // the pulse's number within the run
constexpr int kFirstRowY = 40;
constexpr int kRowHeight = 18;
constexpr int kWaveRows = 2 + 8 + 5;
constexpr Rgb kHigh = clRed;       // a 1, as the diagram lights a wire
constexpr Rgb kLow = clGreen;      // a 0, the wire's own green
constexpr Rgb kGrid = 0xC0C0C0;    // between microsteps
constexpr Rgb kCurrent = 0xFFFFC0; // the pulse the machine is at

const Box kAll = {0, 0, TimingDiagram::kWidth, TimingDiagram::kHeight};

int rowY(int row) {
    return kFirstRowY + row * kRowHeight;
}

void pixel(Canvas& c, int x, int y, Rgb rgb) {
    c.fill({x, y, 1, 1}, rgb);
}

bool waveOf(const PulseSample& s, int row) {
    if (row == 0) return s.phi1;
    if (row == 1) return s.phi2;
    if (row < 10) return s.signals[std::size_t(row - 2)];
    return s.strobes[std::size_t(row - 10)];
}

int valueOf(const PulseSample& s, int row) {
    const std::array<int, 6> values = {s.bus, s.ir, s.pc, s.regA, s.regB, s.sum};
    return values[std::size_t(row)];
}

std::string rowName(int row) {
    if (row == 0) return "Φ1";
    if (row == 1) return "Φ2";
    if (row < 10) return std::string(kSignalRows[std::size_t(row - 2)]);
    if (row < kWaveRows) return std::string(kStrobeRows[std::size_t(row - 10)]);
    return std::string(kValueRows[std::size_t(row - kWaveRows)]);
}

// A waveform's piece over one column: high at the top of its row, low at the
// bottom, with the edge at the column's left where the value changed.
void wave(Canvas& c, int x, int y, bool high, const bool* before) {
    const int top = y + 3;
    const int bottom = y + 13;
    c.fill({x, high ? top : bottom, TimingDiagram::kColumnWidth, 2}, high ? kHigh : kLow);
    if (before && *before != high) c.fill({x, top, 2, bottom - top + 2}, high ? kHigh : kLow);
}

// A bus-style segment: two lines closing to a point where the value changes, the
// value written where it begins.
void segment(Canvas& c, int x, int y, int value, const int* before, bool changesAfter) {
    const int mid = y + 8;
    const bool changes = !before || *before != value;
    const int left = changes ? x + 3 : x;
    const int right = x + TimingDiagram::kColumnWidth - (changesAfter ? 3 : 0);
    c.fill({left, y + 2, right - left, 1}, clBlack);
    c.fill({left, y + 14, right - left, 1}, clBlack);
    if (changes) {
        for (int d = 0; d <= 3; ++d) {
            pixel(c, x + d, mid - 2 * d, clBlack);
            pixel(c, x + d, mid + 2 * d, clBlack);
        }
        drawText(c, Face::Window, x + 5, y + 2, std::to_string(value), clBlack, kAll);
    }
    if (changesAfter)
        for (int d = 0; d <= 3; ++d) {
            pixel(c, x + TimingDiagram::kColumnWidth - d, mid - 2 * d, clBlack);
            pixel(c, x + TimingDiagram::kColumnWidth - d, mid + 2 * d, clBlack);
        }
}

} // namespace

TimingDiagram::TimingDiagram() : canvas_(kWidth, kHeight) {}

const Canvas& TimingDiagram::draw(const History& history) {
    pulses_.clear();
    for (std::uint64_t p = history.first(); p < history.last(); ++p)
        if (history.kindAt(p) == HistoryKind::Pulse) pulses_.push_back(p);
    current_ = -1;
    while (current_ < lastColumn() && pulses_[std::size_t(current_) + 1] < history.position())
        ++current_;
    if (chosen_ && *chosen_ > lastColumn()) chosen_.reset();
    const int focus = chosen_.value_or(current_);
    if (!chosen_ && (focus < firstShown_ || focus >= firstShown_ + kColumns))
        firstShown_ = focus - kColumns + 1;
    firstShown_ = std::clamp(firstShown_, 0, std::max(0, lastColumn() - kColumns + 1));
    paint(history);
    return canvas_;
}

void TimingDiagram::paint(const History& history) {
    Canvas& c = canvas_;
    c.fill(kAll, clWhite);
    const int rows = kWaveRows + int(kValueRows.size());
    for (int row = 0; row < rows; ++row)
        drawText(c, Face::Window, 4, rowY(row) + 2, rowName(row), clBlack, kAll);
    c.fill({kLabelWidth - 1, 0, 1, kHeight}, kGrid);
    drawText(c, Face::Window, 4, kNumberRowY, "takt", clBlack, kAll);
    if (pulses_.empty()) {
        drawText(c, Face::Window, kLabelWidth + 8, kNumberRowY, "Zatím žádný takt.", clBlack, kAll);
        return;
    }
    const int shownFrom = std::max(0, firstShown_ - 1);
    const int shownTo = std::min(lastColumn(), firstShown_ + kColumns - 1);
    // One more on each side, for the edges at the first and after the last column.
    const int sampleTo = std::min(lastColumn(), shownTo + 1);
    const std::vector<PulseSample> samples =
        pulseSamples(history, pulses_[std::size_t(shownFrom)], pulses_[std::size_t(sampleTo)] + 1);
    const auto at = [&](int column) -> const PulseSample* {
        const int i = column - shownFrom;
        return i >= 0 && i < int(samples.size()) ? &samples[std::size_t(i)] : nullptr;
    };
    for (int column = firstShown_; column <= shownTo; ++column) {
        const PulseSample* s = at(column);
        if (!s) break;
        const PulseSample* before = column > firstShown_ || column > 0 ? at(column - 1) : nullptr;
        const PulseSample* next = at(column + 1);
        const int x = kLabelWidth + (column - firstShown_) * kColumnWidth;
        if (column == current_)
            c.fill({x, kNumberRowY, kColumnWidth, kHeight - kNumberRowY}, kCurrent);
        const bool newStep =
            !before || before->microstep != s->microstep || before->pulse >= s->pulse;
        if (newStep) {
            c.fill({x, 0, 1, kHeight}, kGrid);
            const std::string group =
                std::string(codeOfLine(s->line)) + " " + std::string(instructionOfLine(s->line));
            drawText(c, Face::Window, x + 3, kGroupRowY, group, clBlack,
                     {x, 0, 3 * kColumnWidth, kHeight});
        }
        const std::string number = std::to_string(s->pulse);
        drawText(c, Face::Window, x + (kColumnWidth - textWidth(Face::Window, number)) / 2,
                 kNumberRowY, number, clBlack, kAll);
        for (int row = 0; row < kWaveRows; ++row) {
            const bool was = before ? waveOf(*before, row) : false;
            wave(c, x, rowY(row), waveOf(*s, row), before ? &was : nullptr);
        }
        for (int row = 0; row < int(kValueRows.size()); ++row) {
            const int was = before ? valueOf(*before, row) : 0;
            const bool changesAfter =
                next && column < shownTo && valueOf(*next, row) != valueOf(*s, row);
            segment(c, x, rowY(kWaveRows + row), valueOf(*s, row), before ? &was : nullptr,
                    changesAfter);
        }
        if (chosen_ && column == *chosen_)
            focusFrame(c, {x, kNumberRowY, kColumnWidth, kHeight - kNumberRowY - 1}, kAll);
    }
}

std::optional<std::uint64_t> TimingDiagram::click(int x, int y) const {
    if (x < kLabelWidth || x >= kWidth || y < 0 || y >= kHeight) return std::nullopt;
    const int column = firstShown_ + (x - kLabelWidth) / kColumnWidth;
    if (column > lastColumn()) return std::nullopt;
    return pulses_[std::size_t(column)] + 1;
}

std::optional<std::uint64_t> TimingDiagram::key(Key key) {
    if (pulses_.empty()) return std::nullopt;
    int column = chosen_.value_or(std::max(current_, 0));
    switch (key) {
    case Key::Left:
        --column;
        break;
    case Key::Right:
        ++column;
        break;
    case Key::PageLeft:
        column -= kColumns;
        break;
    case Key::PageRight:
        column += kColumns;
        break;
    case Key::Home:
        column = 0;
        break;
    case Key::End:
        column = lastColumn();
        break;
    case Key::Enter:
        chosen_.reset();
        return pulses_[std::size_t(column)] + 1;
    }
    column = std::clamp(column, 0, lastColumn());
    chosen_ = column;
    if (column < firstShown_) firstShown_ = column;
    if (column >= firstShown_ + kColumns) firstShown_ = column - kColumns + 1;
    return std::nullopt;
}

void TimingDiagram::scroll(int columns) {
    firstShown_ = std::clamp(firstShown_ + columns, 0, std::max(0, lastColumn() - kColumns + 1));
    if (!chosen_)
        chosen_ = std::clamp(std::max(current_, 0), firstShown_,
                             std::min(lastColumn(), firstShown_ + kColumns - 1));
}

} // namespace procesor::screen
