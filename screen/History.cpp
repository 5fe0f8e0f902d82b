#include "screen/History.h"

#include <algorithm>
#include <string>
#include <utility>

#include "panel/Colours.h"
#include "screen/Routes.h"

namespace procesor {

namespace {

constexpr int kStartStop = 2;

struct Redo {
    HistoryKind kind;
    Handler handler;
};

// What each kind of entry runs again, in the order of HistoryKind. A program brought
// in is not run again: the state after it is always kept.
constexpr Redo kRedo[] = {
    {HistoryKind::Pulse, &Simulator::Panel1Click},
    {HistoryKind::Switch8, &Simulator::Button8Click},
    {HistoryKind::Switch9, &Simulator::Button9Click},
    {HistoryKind::Switch10, &Simulator::Button10Click},
    {HistoryKind::Switch11, &Simulator::Button11Click},
    {HistoryKind::Write, &Simulator::Panel4Click},
    {HistoryKind::Step, &Simulator::Panel3Click},
    {HistoryKind::Clear, &Simulator::Panel5Click},
    {HistoryKind::Programming, &Simulator::Panel6Click},
    {HistoryKind::Run, &Simulator::Panel7Click},
    {HistoryKind::Program, nullptr},
};

std::size_t heapOf(const std::string& s) {
    return s.capacity() > 15 ? s.capacity() + 1 : 0;
}

void take(History::State& into, const Simulator& sim) {
    into.model = sim.model();
    into.elements = sim.elements();
}

bool anyTimerOn(const ElementState& el) {
    return std::any_of(el.timer.begin(), el.timer.end(), [](const Timer& t) { return t.enabled; });
}

void put(Simulator& sim, const History::State& state) {
    sim.model() = state.model;
    sim.elements() = state.elements;
}

} // namespace

std::optional<HistoryKind> historyKindOf(Handler handler) {
    for (const Redo& r : kRedo)
        if (r.handler && r.handler == handler) return r.kind;
    return std::nullopt;
}

History::History(std::size_t byteBudget) : budget_(byteBudget) {}

void History::toRest(Simulator& sim) {
    for (const Route& release : kReleaseTicks)
        if (sim.elements().timer[release.number].enabled) (sim.*release.handler)();
    Timer& clock = sim.elements().timer[Simulator::kAutoClock];
    if (clock.enabled) {
        clock.enabled = false;
        Panel& startStop = sim.elements().panel[kStartStop];
        startStop.colour = clAqua;
        startStop.outer = startStop.inner = Bevel::Raised;
    }
}

History::State History::atRest(const Simulator& sim) {
    Simulator copy;
    put(copy, {sim.model(), sim.elements()});
    toRest(copy);
    return {copy.model(), copy.elements()};
}

std::size_t History::bytesOf(const State& state) {
    std::size_t bytes = sizeof(Kept) + heapOf(state.model.wordText);
    for (const std::string& t : state.model.ramText) bytes += heapOf(t);
    for (const Label& l : state.elements.label) bytes += heapOf(l.caption);
    for (const Panel& p : state.elements.panel) bytes += heapOf(p.caption);
    for (const Button& b : state.elements.button) bytes += heapOf(b.caption);
    return bytes + heapOf(state.elements.edit17.text);
}

void History::before(const Simulator& sim) {
    take(pending_, sim);
}

// The state at rest of `sim` into rest_.
void History::settleRest(const Simulator& sim) {
    if (anyTimerOn(sim.elements())) {
        put(scratch_, {sim.model(), sim.elements()});
        toRest(scratch_);
        take(rest_, scratch_);
    } else {
        take(rest_, sim);
    }
}

bool History::after(HistoryKind kind, const Simulator& sim) {
    // A pulse taken always moves the clock on; anything else is compared whole.
    const bool changed =
        kind == HistoryKind::Pulse
            ? sim.model().phi1 != pending_.model.phi1 || sim.model().phi2 != pending_.model.phi2
            : sim.model() != pending_.model || sim.elements() != pending_.elements;
    if (!changed) return false;
    // The state before the entry, at rest; kept when it is not what the entries
    // before it give.
    const History::State* before = &pending_;
    if (anyTimerOn(pending_.elements)) {
        put(scratch_, pending_);
        toRest(scratch_);
        take(pending_, scratch_);
    }
    if (!started_) {
        started_ = true;
        base_ = position_ = 0;
        keep(0, *before);
    } else {
        dropAfter(position_);
        if (*before != rest_) keep(position_, *before);
    }
    entries_.push_back(kind);
    bytes_ += sizeof(HistoryKind);
    ++position_;
    settleRest(sim);
    if (kind == HistoryKind::Program || position_ - kept_.back().first >= kKeepEvery)
        keep(position_, rest_);
    while (bytes_ > budget_ && kept_.size() > 1 && kept_[1].first <= position_) dropOldest();
    return true;
}

std::optional<HistoryKind> History::kindAt(std::uint64_t p) const {
    if (p < base_ || p >= last()) return std::nullopt;
    return entries_[std::size_t(p - base_)];
}

const History::Kept* History::keptAtOrBefore(std::uint64_t p) const {
    auto after = std::upper_bound(kept_.begin(), kept_.end(), p,
                                  [](std::uint64_t q, const Kept& k) { return q < k.first; });
    return after == kept_.begin() ? nullptr : &*std::prev(after);
}

void History::keep(std::uint64_t p, const State& state) {
    if (!kept_.empty() && kept_.back().first == p) {
        bytes_ -= bytesOf(kept_.back().second);
        kept_.back().second = state;
    } else {
        kept_.emplace_back(p, state);
    }
    bytes_ += bytesOf(kept_.back().second);
}

// A new action at p: the steps ahead of it go.
void History::dropAfter(std::uint64_t p) {
    while (last() > p) {
        entries_.pop_back();
        bytes_ -= sizeof(HistoryKind);
    }
    while (kept_.size() > 1 && kept_.back().first > p) {
        bytes_ -= bytesOf(kept_.back().second);
        kept_.pop_back();
    }
}

// The oldest entries up to the second kept state.
void History::dropOldest() {
    const std::uint64_t to = kept_[1].first;
    bytes_ -= bytesOf(kept_.front().second);
    kept_.pop_front();
    while (base_ < to) {
        entries_.pop_front();
        bytes_ -= sizeof(HistoryKind);
        ++base_;
    }
}

void History::redo(HistoryKind kind, Simulator& scratch) {
    if (const Handler h = kRedo[std::size_t(kind)].handler) (scratch.*h)();
    toRest(scratch);
}

bool History::moveTo(std::uint64_t p, Simulator& sim) {
    if (!started_ || p < base_ || p > last()) return false;
    if (position_ == last()) {
        // What changed since the newest entry without making one (a speed typed,
        // "start/stop") is kept, so that stepping forward again brings it back.
        put(scratch_, {sim.model(), sim.elements()});
        toRest(scratch_);
        if (scratch_.model() != rest_.model || scratch_.elements() != rest_.elements) {
            take(rest_, scratch_);
            keep(position_, rest_);
        }
    }
    const Kept* from = keptAtOrBefore(p);
    put(scratch_, from->second);
    for (std::uint64_t q = from->first; q < p; ++q)
        redo(entries_[std::size_t(q - base_)], scratch_);
    take(rest_, scratch_);
    put(sim, rest_);
    position_ = p;
    return true;
}

void History::visit(std::uint64_t from, std::uint64_t to, const Visit& visit) const {
    from = std::max(from, base_);
    to = std::min(to, last());
    if (!started_ || from >= to) return;
    const Kept* start = keptAtOrBefore(from);
    put(scratch_, start->second);
    State before;
    State after;
    for (std::uint64_t q = start->first; q < to; ++q) {
        const HistoryKind kind = entries_[std::size_t(q - base_)];
        if (q >= from) take(before, scratch_);
        if (kind == HistoryKind::Program)
            put(scratch_, keptAtOrBefore(q + 1)->second);
        else
            redo(kind, scratch_);
        if (q < from) continue;
        take(after, scratch_);
        visit(q, kind, before, after);
    }
}

void History::clear() {
    entries_.clear();
    kept_.clear();
    bytes_ = 0;
    base_ = position_ = 0;
    started_ = false;
}

} // namespace procesor
