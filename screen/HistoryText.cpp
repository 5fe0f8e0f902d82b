// The time line as text (History::save, History::load). Every field of a state is one
// token in a fixed order; a state is written as the tokens in which it differs from
// another one (the start-up state, or what the entries before it give), so that a
// lesson of clock pulses takes a few bytes: its entries as letters, a run of one
// kind as the letter and its count.
//
//   procesor-historie 1
//   POSITION
//   ENTRIES                  e.g. "jbh3a34": one letter a.. per kind, then its count
//   START                    the first state against the start-up state
//   LIVE                     what the machine holds at POSITION beyond its entries
//   P:DIFF                   a kept state at P against what the entries give (any number)
//   #CHECK                   FNV-1a of every byte before it, 16 hex digits
//
// A DIFF is "STEP=TOKEN" pairs joined by commas, STEP the distance in tokens from
// the last one; a token's bytes % , = and below 0x20 are written %XX.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <vector>

#include "model/Utf8.h"
#include "screen/History.h"

namespace procesor {

namespace {

constexpr std::string_view kHeader = "procesor-historie 1";
constexpr std::size_t kMaxText = 4096; // bytes of one text field
constexpr char kFirstKind = 'a';
constexpr int kKinds = int(HistoryKind::Program) + 1;

// Every field of a state, in one order, with the range a value may take.
template <class S, class V> void eachField(S& s, V& v) {
    auto& m = s.model;
    for (auto* b : {&m.phi1, &m.phi2, &m.pcInc, &m.addRead, &m.aRead, &m.ramRead, &m.bWrite,
                    &m.aWrite, &m.pcWrite, &m.irWrite, &m.bLoad, &m.aLoad, &m.pcLoad, &m.irLoad,
                    &m.pcCount, &m.busBit0, &m.busBit1, &m.busBit2, &m.busBit3})
        v.flag(*b);
    for (auto* i : {&m.pc, &m.bus, &m.ir, &m.ramOut, &m.regA, &m.regB, &m.sum}) v.number(*i, 0, 15);
    v.text(m.wordText);
    for (auto& w : m.ram) v.number(w, 0, 15);
    for (auto& t : m.ramText) v.text(t);
    auto& e = s.elements;
    for (auto& p : e.image) v.flag(p.visible);
    for (auto& l : e.label) {
        v.text(l.caption);
        v.colour(l.colour);
    }
    for (auto& p : e.panel) {
        v.text(p.caption);
        v.colour(p.colour);
        v.bevel(p.outer);
        v.bevel(p.inner);
    }
    for (auto& b : e.button) {
        v.text(b.caption);
        v.flag(b.visible);
    }
    v.text(e.edit17.text);
    v.flag(e.edit17.visible);
    v.number(e.upDown1.min, 1, 1);
    v.number(e.upDown1.max, 7, 7);
    v.number(e.upDown1.position, 1, 7);
    for (auto& t : e.timer) {
        v.flag(t.enabled);
        v.number(t.interval, -(1 << 30), 1 << 30);
    }
}

std::string escaped(std::string_view raw) {
    std::string out;
    for (const char c : raw) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || c == '%' || c == ',' || c == '=') {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", b);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

struct Tokens {
    std::vector<std::string> out;
    void flag(bool b) { out.push_back(b ? "1" : "0"); }
    void number(int i, int, int) { out.push_back(std::to_string(i)); }
    void text(const std::string& t) { out.push_back(escaped(t)); }
    void colour(Rgb c) { out.push_back(std::to_string(c)); }
    void bevel(Bevel b) { out.push_back(std::to_string(int(b))); }
};

std::vector<std::string> tokensOf(const History::State& s) {
    Tokens t;
    eachField(s, t);
    return std::move(t.out);
}

std::string diff(const History::State& from, const History::State& to) {
    const std::vector<std::string> a = tokensOf(from), b = tokensOf(to);
    std::string out;
    std::size_t last = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (a[i] == b[i]) continue;
        if (!out.empty()) out += ',';
        out += std::to_string(i + 1 - last) + "=" + b[i];
        last = i + 1;
    }
    return out;
}

bool wholeNumber(std::string_view s, long long& value, long long lo, long long hi) {
    if (s.empty()) return false;
    const char* end = s.data() + s.size();
    const auto [at, error] = std::from_chars(s.data(), end, value);
    return error == std::errc() && at == end && value >= lo && value <= hi;
}

bool unescape(std::string_view in, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '%') {
            out += in[i];
            continue;
        }
        if (i + 2 >= in.size()) return false;
        unsigned value = 0;
        const auto [at, error] = std::from_chars(in.data() + i + 1, in.data() + i + 3, value, 16);
        if (error != std::errc() || at != in.data() + i + 3) return false;
        out += char(value);
        i += 2;
    }
    if (out.size() > kMaxText) return false;
    for (std::size_t at = 0; at < out.size();) {
        const utf8::Character c = utf8::decode(out, at);
        if (!c.valid) return false;
        at += c.length;
    }
    return true;
}

// Sets the fields a diff names, each checked against its range.
struct Patch {
    std::map<std::size_t, std::string_view> tokens;
    std::size_t index = 0;
    bool ok = true;
    const std::string_view* next() {
        const auto found = tokens.find(index++);
        return found == tokens.end() ? nullptr : &found->second;
    }
    void flag(bool& b) {
        if (const auto* t = next()) {
            ok = ok && (*t == "0" || *t == "1");
            b = *t == "1";
        }
    }
    void number(int& i, int lo, int hi) {
        long long v = 0;
        if (const auto* t = next()) {
            ok = ok && wholeNumber(*t, v, lo, hi);
            i = int(v);
        }
    }
    void text(std::string& s) {
        if (const auto* t = next()) ok = ok && unescape(*t, s);
    }
    void colour(Rgb& c) {
        long long v = 0;
        if (const auto* t = next()) {
            ok = ok && wholeNumber(*t, v, 0, 0xFFFFFF);
            c = Rgb(v);
        }
    }
    void bevel(Bevel& b) {
        long long v = 0;
        if (const auto* t = next()) {
            ok = ok && wholeNumber(*t, v, 0, int(Bevel::Space));
            b = Bevel(v);
        }
    }
};

std::size_t fieldCount() {
    return tokensOf({ProcessorModel{}, ElementState::startup()}).size();
}

bool applyDiff(std::string_view text, History::State& state) {
    Patch p;
    std::size_t index = 0;
    const std::size_t count = fieldCount();
    while (!text.empty()) {
        const std::size_t comma = std::min(text.find(','), text.size());
        const std::string_view pair = text.substr(0, comma);
        text.remove_prefix(std::min(comma + 1, text.size()));
        const std::size_t eq = pair.find('=');
        long long step = 0;
        if (eq == std::string_view::npos || !wholeNumber(pair.substr(0, eq), step, 1, 1 << 20))
            return false;
        index += std::size_t(step);
        if (index > count) return false;
        p.tokens[index - 1] = pair.substr(eq + 1);
    }
    eachField(state, p);
    return p.ok;
}

std::uint64_t fnv1a(std::string_view text) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (const char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ull;
    }
    return h;
}

std::string checkLine(std::string_view body) {
    char hex[20];
    std::snprintf(hex, sizeof hex, "#%016llx", static_cast<unsigned long long>(fnv1a(body)));
    return hex;
}

History::State startState() {
    return {ProcessorModel{}, ElementState::startup()};
}

void putState(Simulator& sim, const History::State& s) {
    sim.model() = s.model;
    sim.elements() = s.elements;
}

History::State takeState(const Simulator& sim) {
    return {sim.model(), sim.elements()};
}

} // namespace

std::string History::save(const Simulator& live) const {
    const State now = atRest(live);
    if (!started_) {
        const std::string body =
            std::string(kHeader) + "\n0\n\n" + diff(startState(), now) + "\n\n";
        return body + checkLine(body);
    }
    // The window kept: from a kept state to the newest entry, the position inside it.
    std::uint64_t to = last();
    std::uint64_t from = base_;
    const auto keptFrom = [&](std::uint64_t p) {
        // The first kept state at or after p, no later than the position.
        for (const Kept& k : kept_)
            if (k.first >= p && k.first <= position_) return k.first;
        return keptAtOrBefore(position_)->first;
    };
    if (to - from > kMaxSavedEntries) from = keptFrom(to - kMaxSavedEntries);
    if (from + kMaxSavedEntries < to) to = from + kMaxSavedEntries;
    for (;;) {
        std::string body = std::string(kHeader) + "\n" + std::to_string(position_ - from) + "\n";
        for (std::uint64_t q = from; q < to;) {
            const HistoryKind kind = entries_[std::size_t(q - base_)];
            std::uint64_t run = 1;
            while (q + run < to && entries_[std::size_t(q + run - base_)] == kind) ++run;
            body += char(kFirstKind + int(kind));
            if (run > 1) body += std::to_string(run);
            q += run;
        }
        const Kept* first = keptAtOrBefore(from);
        body += "\n" + diff(startState(), first->second) + "\n" + diff(rest_, now) + "\n";
        // The kept states that the entries do not give, against what they give.
        Simulator replay;
        putState(replay, first->second);
        auto k = std::find_if(kept_.begin(), kept_.end(),
                              [&](const Kept& kept) { return kept.first > from; });
        for (std::uint64_t q = from; q <= to; ++q) {
            if (k != kept_.end() && k->first == q) {
                const State given = takeState(replay);
                if (given != k->second) {
                    body += std::to_string(q - from) + ":" + diff(given, k->second) + "\n";
                    putState(replay, k->second);
                }
                ++k;
            }
            if (q < to) redo(entries_[std::size_t(q - base_)], replay);
        }
        if (body.size() + 20 <= kMaxSavedBytes || to - from <= 1) {
            if (body.size() + 20 > kMaxSavedBytes) return std::string();
            return body + checkLine(body);
        }
        // Too long: the older half goes.
        const std::uint64_t later = keptFrom(from + (to - from) / 2);
        if (later == from)
            to = from + (to - from) / 2;
        else
            from = later;
    }
}

bool History::load(std::string_view text, Simulator& sim) {
    if (text.size() > kMaxSavedBytes) return false;
    const std::size_t hash = text.rfind("\n#");
    if (hash == std::string_view::npos) return false;
    const std::string_view body = text.substr(0, hash + 1);
    if (text.substr(hash + 1) != checkLine(body)) return false;
    std::vector<std::string_view> lines;
    for (std::string_view rest = body; !rest.empty();) {
        const std::size_t nl = rest.find('\n');
        lines.push_back(rest.substr(0, nl));
        rest.remove_prefix(nl + 1);
    }
    if (lines.size() < 5 || lines[0] != kHeader) return false;
    long long position = 0;
    if (!wholeNumber(lines[1], position, 0, kMaxSavedEntries)) return false;
    std::vector<HistoryKind> kinds;
    for (std::string_view e = lines[2]; !e.empty();) {
        const int kind = e.front() - kFirstKind;
        if (kind < 0 || kind >= kKinds) return false;
        e.remove_prefix(1);
        std::size_t digits = 0;
        while (digits < e.size() && e[digits] >= '0' && e[digits] <= '9') ++digits;
        long long run = 1;
        if (digits && !wholeNumber(e.substr(0, digits), run, 2, kMaxSavedEntries)) return false;
        e.remove_prefix(digits);
        if (kinds.size() + std::size_t(run) > kMaxSavedEntries) return false;
        kinds.insert(kinds.end(), std::size_t(run), HistoryKind(kind));
    }
    if (std::uint64_t(position) > kinds.size()) return false;
    std::map<std::uint64_t, std::string_view> patches;
    for (std::size_t i = 5; i < lines.size(); ++i) {
        const std::size_t colon = lines[i].find(':');
        long long at = 0;
        if (colon == std::string_view::npos ||
            !wholeNumber(lines[i].substr(0, colon), at, 1, (long long)kinds.size()) ||
            (!patches.empty() && std::uint64_t(at) <= patches.rbegin()->first))
            return false;
        patches[std::uint64_t(at)] = lines[i].substr(colon + 1);
    }

    // Every state rebuilt on a copy: the time line and `sim` change only at the end.
    State first = startState();
    if (!applyDiff(lines[3], first)) return false;
    Simulator replay;
    putState(replay, first);
    toRest(replay);
    History built(budget_);
    if (kinds.empty()) {
        State live = takeState(replay);
        if (!applyDiff(lines[4], live)) return false;
        putState(sim, live);
        toRest(sim);
        clear();
        return true;
    }
    built.started_ = true;
    built.keep(0, takeState(replay));
    for (std::uint64_t q = 0; q <= kinds.size(); ++q) {
        if (const auto p = patches.find(q); p != patches.end()) {
            State s = takeState(replay);
            if (!applyDiff(p->second, s)) return false;
            putState(replay, s);
            toRest(replay);
            built.keep(q, takeState(replay));
        } else if (q > 0 && (kinds[q - 1] == HistoryKind::Program ||
                             q - built.kept_.back().first >= kKeepEvery)) {
            built.keep(q, takeState(replay));
        }
        if (q == kinds.size()) break;
        redo(kinds[std::size_t(q)], replay);
        built.entries_.push_back(kinds[std::size_t(q)]);
        built.bytes_ += sizeof(HistoryKind);
    }
    built.position_ = built.last();
    built.rest_ = takeState(replay);
    Simulator at;
    putState(at, built.rest_);
    if (!built.moveTo(std::uint64_t(position), at)) return false;
    State live = takeState(at);
    if (!applyDiff(lines[4], live)) return false;
    putState(at, live);
    toRest(at);
    budget_ = built.budget_;
    base_ = built.base_;
    position_ = built.position_;
    entries_ = std::move(built.entries_);
    kept_ = std::move(built.kept_);
    bytes_ = built.bytes_;
    started_ = true;
    rest_ = built.rest_;
    putState(sim, takeState(at));
    return true;
}

} // namespace procesor
