#include "screen/TimeLine.h"

#include "model/TransferLog.h"
#include "panel/Colours.h"
#include "panel/SignalOverlays.h"

namespace procesor {

namespace {

// The line the listing marks: the one decoded last.
int markedLine(const ElementState& el) {
    for (int line = 0; line < 16; ++line)
        if (el.label[kFirstListingLine + line].colour == clYellow) return line;
    return 0;
}

PulseSample sampleOf(const History::State& after, int pulse) {
    const ProcessorModel& m = after.model;
    PulseSample s;
    s.pulse = pulse;
    s.microstep = (pulse + 2) / 3;
    s.line = markedLine(after.elements);
    s.phi1 = m.phi1;
    s.phi2 = m.phi2;
    s.signals = {m.pcInc, m.addRead, m.aRead, m.ramRead, m.bWrite, m.aWrite, m.pcWrite, m.irWrite};
    s.strobes = {m.bLoad, m.aLoad, m.pcLoad, m.irLoad, m.pcCount};
    s.bus = m.bus;
    s.ir = m.ir;
    s.pc = m.pc;
    s.regA = m.regA;
    s.regB = m.regB;
    s.sum = m.sum;
    s.halted = m.phi1 && !m.phi2 && m.ir == 15;
    return s;
}

bool startsRun(HistoryKind kind) {
    return kind == HistoryKind::Run || kind == HistoryKind::Programming;
}

} // namespace

int pulsesInRunBefore(const History& history, std::uint64_t p) {
    int pulses = 0;
    for (std::uint64_t q = p; q > history.first(); --q) {
        const HistoryKind kind = *history.kindAt(q - 1);
        if (startsRun(kind)) break;
        if (kind == HistoryKind::Pulse) ++pulses;
    }
    return pulses;
}

std::vector<PulseSample> pulseSamples(const History& history, std::uint64_t from,
                                      std::uint64_t to) {
    std::vector<PulseSample> samples;
    int pulse = pulsesInRunBefore(history, from);
    history.visit(
        from, to,
        [&](std::uint64_t p, HistoryKind kind, const History::State&, const History::State& after) {
            if (startsRun(kind)) pulse = 0;
            if (kind != HistoryKind::Pulse) return;
            samples.push_back(sampleOf(after, ++pulse));
            samples.back().position = p;
        });
    return samples;
}

std::vector<std::string> transferLog(const History& history) {
    return transferLog(history, history.first(), history.last());
}

std::vector<std::string> transferLog(const History& history, std::uint64_t from, std::uint64_t to) {
    std::vector<std::string> lines;
    int pulse = pulsesInRunBefore(history, from);
    history.visit(
        from, to,
        [&](std::uint64_t, HistoryKind kind, const History::State&, const History::State& after) {
            if (startsRun(kind)) {
                pulse = 0;
                lines.push_back(modeLine(kind == HistoryKind::Programming));
            }
            if (kind != HistoryKind::Pulse) return;
            const PulseSample s = sampleOf(after, ++pulse);
            if (s.halted)
                lines.push_back(haltLine(s.microstep));
            else if (s.phi2)
                lines.push_back(microstepLine(s.microstep, s.line, after.model));
        });
    return lines;
}

std::string transferLogText(const History& history) {
    std::string text;
    for (const std::string& line : transferLog(history)) text += line + "\n";
    return text;
}

std::string pulseTableCsv(const History& history) {
    std::string csv = "takt,mikrokrok,řádek,instrukce,Φ1,Φ2";
    for (std::string_view row : kSignalRows) csv += "," + std::string(row);
    for (std::string_view row : kStrobeRows) csv += "," + std::string(row);
    for (std::string_view row : kValueRows) csv += "," + std::string(row);
    csv += "\n";
    const auto bit = [](bool b) { return b ? ",1" : ",0"; };
    for (const PulseSample& s : pulseSamples(history, history.first(), history.last())) {
        csv += std::to_string(s.pulse) + "," + std::to_string(s.microstep) + "," +
               std::string(codeOfLine(s.line)) + "," + std::string(instructionOfLine(s.line));
        csv += bit(s.phi1);
        csv += bit(s.phi2);
        for (bool b : s.signals) csv += bit(b);
        for (bool b : s.strobes) csv += bit(b);
        for (int v : {s.bus, s.ir, s.pc, s.regA, s.regB, s.sum}) csv += "," + std::to_string(v);
        csv += "\n";
    }
    return csv;
}

} // namespace procesor
