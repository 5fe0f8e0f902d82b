#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "model/ProcessorModel.h"
#include "panel/ElementState.h"
#include "panel/Simulator.h"

// The machine's time line: one entry for every clock pulse (by hand or from the
// automatic clock) and for every action of the student that changed the machine or
// the diagram. Stepping back puts the machine and the whole diagram as they were
// just before an entry, at rest: every pending release carried out at once (each
// button in its released look), the automatic clock stopped. Stepping forward does
// the entry again; a new action where steps lie ahead drops them.
//
// An entry is one byte, its kind. Every so many entries, and wherever the state at
// rest is not what the entries before it give (a speed typed, a program brought in),
// the whole state is kept; any other state is the nearest kept one with the entries
// after it done again on it (the handlers are deterministic). The oldest entries go
// first when the bytes kept would pass the budget.
namespace procesor {

enum class HistoryKind : std::uint8_t {
    Pulse,   // Panel1Click taken: "ručně" or a tick of Timer1
    Switch8, // a data switch: Button8Click .. Button11Click
    Switch9,
    Switch10,
    Switch11,
    Write,       // "zápis do RAM"
    Step,        // "krokování"
    Clear,       // "nulování"
    Programming, // "programování"
    Run,         // "provoz"
    Program,     // a program brought in as text
};

// The entry that running `handler` makes, if it makes one (the release handlers,
// "start/stop" and the speed arrows make none: a step back undoes them anyway).
std::optional<HistoryKind> historyKindOf(void (Simulator::*handler)());

class History {
public:
    // The machine and the diagram at rest before an entry.
    struct State {
        ProcessorModel model;
        ElementState elements;
        bool operator==(const State&) const = default;
    };

    static constexpr std::size_t kDefaultBudget = 48u << 20;
    // A kept state at least this often: a step does at most this many entries again.
    static constexpr std::uint64_t kKeepEvery = 256;

    explicit History(std::size_t byteBudget = kDefaultBudget);

    // The state as a step back leaves it: releases carried out, the clock stopped.
    static void toRest(Simulator& sim);
    static State atRest(const Simulator& sim);

    // Around every handler that may make an entry: `before` takes the state, `after`
    // records the entry when the handler changed anything.
    void before(const Simulator& sim);
    bool after(HistoryKind kind, const Simulator& sim);

    // Positions count entries from the first ever made; position p is the state
    // before entry p. The oldest kept, the newest and where the machine is now.
    std::uint64_t first() const { return base_; }
    std::uint64_t last() const { return base_ + entries_.size(); }
    std::uint64_t position() const { return position_; }
    bool canStepBack() const { return position_ > base_; }
    bool canStepForward() const { return position_ < last(); }
    std::optional<HistoryKind> kindAt(std::uint64_t p) const;

    // Puts `sim` at a position (between first() and last()); false, and nothing
    // changed, for one outside. The live state `sim` holds is kept first when it
    // is the newest and differs from what was recorded (a speed typed since).
    bool moveTo(std::uint64_t p, Simulator& sim);
    bool stepBack(Simulator& sim) { return canStepBack() && moveTo(position_ - 1, sim); }
    bool stepForward(Simulator& sim) { return canStepForward() && moveTo(position_ + 1, sim); }

    // The state at rest before each entry from..to-1 and the entry's kind, done
    // again from the nearest kept state (for the timing diagram and the log).
    using Visit = std::function<void(std::uint64_t p, HistoryKind kind, const State& before,
                                     const State& after)>;
    void visit(std::uint64_t from, std::uint64_t to, const Visit& visit) const;

    void clear();

    // The time line as a compact text, for a front end to keep across a reload of its
    // page: the newest entries (at most kMaxSavedEntries, the text at most
    // kMaxSavedBytes), the states that the entries alone do not give as differences,
    // where the machine is and what `live` holds beyond it (a speed typed). load()
    // takes such a text back and puts `sim` where it was; a text it does not know
    // (garbled, cut short, of another program or version, beyond the bounds, a value
    // out of range) is refused, `sim` and the time line untouched, false.
    static constexpr std::size_t kMaxSavedBytes = 1u << 20;
    static constexpr std::uint64_t kMaxSavedEntries = 100000;
    std::string save(const Simulator& live) const;
    bool load(std::string_view text, Simulator& sim);

    // What the time line holds now: its entries and kept states, in bytes.
    std::size_t bytes() const { return bytes_; }
    std::size_t keptStates() const { return kept_.size(); }

private:
    using Kept = std::pair<std::uint64_t, State>;
    const Kept* keptAtOrBefore(std::uint64_t p) const;
    void keep(std::uint64_t p, const State& state);
    void dropAfter(std::uint64_t p);
    void dropOldest();
    static void redo(HistoryKind kind, Simulator& scratch);
    void settleRest(const Simulator& sim);
    static std::size_t bytesOf(const State& state);

    std::size_t budget_;
    std::uint64_t base_ = 0;
    std::uint64_t position_ = 0;
    std::deque<HistoryKind> entries_;
    std::deque<Kept> kept_; // ordered by position, one at base_ always
    std::size_t bytes_ = 0;
    bool started_ = false;
    State rest_;    // the state at rest at position_, as recorded
    State pending_; // taken by before()
    mutable Simulator scratch_;
};

} // namespace procesor
