#include "companions/vondrel/ControlUnitScene.h"

#include "companions/Scenes.h"
#include "companions/common/Texts.h"
#include "model/Clock.h"
#include "model/Microprogram.h"
#include "model/Signals.h"
#include "picture/Blocks.h"
#include "picture/Paint.h"
#include "picture/Text.h"

namespace procesor::explain {

namespace {

constexpr int kWidth = 780;
constexpr int kHeight = 590; // the gates, then the stepping row over the result

// The control unit as the diagram draws it, with the body's top as row 0: the
// listing in two columns of eight, DEKODÉR PAMĚTI in the strip at its right, the
// field row O/K, DEKODÉR ZDROJE, DEKODÉR URČENÍ, Phi2, Phi1 under it.
constexpr int kBoxX = 8;
constexpr int kBoxW = 300;
constexpr int kListTop = 20; // the first listing row
constexpr int kRowPitch = 15;
constexpr int kRowHeight = 13;
constexpr int kDividerY = kListTop + 8 * kRowPitch + 1; // above: the listing
constexpr int kFieldTop = kDividerY + 2;
constexpr int kFieldHeight = 28; // two caption lines a full line height (13) apart
constexpr int kBoxH = kFieldTop + kFieldHeight + 2;
// The listing's columns: the instruction names and the lines.
constexpr int kNameX[] = {12, 152};
constexpr int kLineX[] = {40, 180};
constexpr int kNameW = 26;
constexpr int kLineW = 106;

constexpr Box kIr = {350, 8, 136, 42};
constexpr int kPhi1X = 380; // the Phi1 line up into IR's counting input

// Under the control unit each output line drops from its field and runs right on a
// row of its own to an AND gate with Phi2, the gates in the diagram's order (IR/W,
// PC/W, PC/I, A/W, B/W) and 40 pixels apart as there; the sources' lines run on under
// the gates, each to the unit it selects, and the units drive the bus.
constexpr int kWiresTop = kBoxH + 6; // the Phi2 row
constexpr int kTrunkX = 400;         // Phi2 down to the gates
constexpr int kGateX = 440;
constexpr int kGatePitch = 40;
constexpr int kSourceEnd = 227; // the sources' arrow tips, at the units' blocks
constexpr int kOutputEnd = 522; // the gates' arrow tips
constexpr int kValueX = 700;

struct Line {
    unsigned signal;
    int dropX;
    int row;                              // from the body's top
    std::string_view unit;                // what the decoder selects
    std::string_view does;                // beside the arrow
    std::string_view took;                // a write: what its strobe did, the value follows
    int ProcessorModel::*value = nullptr; // a write: the value taken
};
constexpr int kWriteRow = kWiresTop + 18;
constexpr Line kWrites[] = {
    {IrWrite, 228, kWriteRow, "IR", "zápis do IR", "IR převzal ze sběrnice operační kód ",
     &ProcessorModel::ir},
    {PcWrite, 206, kWriteRow + kGatePitch, "PČ", "zápis do PČ", "PČ převzal ze sběrnice adresu ",
     &ProcessorModel::pc},
    {AWrite, 184, kWriteRow + 3 * kGatePitch, "registr A", "zápis do A",
     "registr A převzal ze sběrnice hodnotu ", &ProcessorModel::regA},
    {BWrite, 162, kWriteRow + 4 * kGatePitch, "registr B", "zápis do B",
     "registr B převzal ze sběrnice hodnotu ", &ProcessorModel::regB},
};
constexpr Line kCount = {PcInc, 28, kWriteRow + 2 * kGatePitch, "PČ", "PČ + 1", {}};
// The sources' rows lie between the gates' rows.
constexpr int kSourceRow = kWriteRow + kGatePitch / 2;
constexpr int kSourcePitch = kGatePitch;
struct Source {
    Line line;
    std::string_view block; // the unit's block the line ends at
};
constexpr Source kSources[] = {
    {{RamRead, 126, kSourceRow, "RAM", "RAM/R", {}}, "RAM"},
    {{ARead, 100, kSourceRow + kSourcePitch, "registr A", "A/R", {}}, "A"},
    {{AddRead, 74, kSourceRow + 2 * kSourcePitch, "sčítačku", "ADD/R", {}}, "ADD"},
};
constexpr int kPhi2DropX = 259;

// "1 mikrokrok", "3 mikrokroky"; a routine has one to four.
std::string microsteps(int n) {
    return number(n) + (n == 1 ? " mikrokrok" : n <= 4 ? " mikrokroky" : " mikrokroků");
}

// "2 ze 4", "1 z 1"
std::string stepOf(int step, int count) {
    return number(step) + (count == 1 ? " z " : " ze ") + number(count);
}

// The instruction names in the listing's order (by the line they stand beside).
int nameLine(std::size_t name) {
    int line = 0;
    for (std::size_t seen = 0; line < 16; ++line) {
        const bool head = line == 0 || kMicroprogram[std::size_t(line)].instructionLabel !=
                                           kMicroprogram[std::size_t(line - 1)].instructionLabel;
        if (head && seen++ == name) break;
    }
    return line;
}

Box lineBox(int top, int line) {
    const int column = line / 8;
    return {kLineX[column], top + kListTop + (line % 8) * kRowPitch, kLineW, kRowHeight};
}

Box nameBox(int top, int line) {
    const int column = line / 8;
    return {kNameX[column], top + kListTop + (line % 8) * kRowPitch, kNameW, kRowHeight};
}

int topFor() {
    return bodyTopUnder(ControlUnitScene::explanationText(), kWidth);
}

} // namespace

void ListingTag::paint(Canvas& c, bool, bool focused) const {
    const Box r = box();
    const Box all = {0, 0, c.width, c.height};
    c.fill(r, marked ? clYellow : clSkyBlue);
    if (inRoutine) {
        c.fill({r.x, r.y, r.w, 1}, kInk);
        c.fill({r.x, r.y + r.h - 1, r.w, 1}, kInk);
        c.fill({r.x, r.y, 1, r.h}, kInk);
        c.fill({r.x + r.w - 1, r.y, 1, r.h}, kInk);
    }
    render::drawText(c, Face::Window, r.x + 2, r.y, text_, kInk, render::intersect(r, all));
    // Inside the routine's outline, so that both show.
    if (focused) render::focusFrame(c, render::shrink(r, 1, 1, 1, 1), all);
}

std::string ControlUnitScene::explanationText() {
    return typeset(
        "Řadič je ve schématu blok ŘÍZENÍ. IR drží číslo právě prováděného řádku mikroprogramu: "
        "impulzem, kterým hodiny vstoupí do fáze Φ1, se zvýší o 1 a dekodér paměti vybere řádek "
        "s tímto číslem; jen od fáze Φ2 řádku RAM/R-IR/W do další fáze Φ1 drží IR už operační "
        "kód další instrukce. Dekodér zdroje zapne signál končící na /R a vybraná jednotka sama "
        "vystaví svou hodnotu na sběrnici; dekodér určení zapne signál končící na /W, ale "
        "zápisový impulz (u PC/I impulz k počítání) dá hradlo AND až ve fázi Φ2. HLT má jediný "
        "řádek 1111 C/D, po kterém hodiny stojí, dokud „provoz“ nespustí program od začátku.");
}

ControlUnitScene::ControlUnitScene(std::optional<int> opcode)
    : Scene(kWidth, kHeight), code({590, topFor() + 2}), steps(kHeight), top_(topFor()) {
    code.addTo(*this);
    code.onChange = [this] { choose(code.value()); };
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int line = nameLine(i);
        names[i].setBox(nameBox(top_, line));
        names[i].setText(std::string(instructionOf(line)));
        names[i].onClick = [this, line] {
            for (const Instruction& ins : kInstructions)
                if (ins.mnemonic == instructionOf(line)) choose(ins.opcode);
        };
        add(names[i]);
    }
    for (int line = 0; line < 16; ++line) {
        ListingTag& tag = lines[std::size_t(line)];
        tag.setBox(lineBox(top_, line));
        tag.setText(std::string(kMicroprogram[std::size_t(line)].caption));
        tag.onClick = [this, line] {
            for (const Instruction& ins : kInstructions)
                if (ins.mnemonic == instructionOf(line)) choose(ins.opcode);
        };
        add(tag);
    }
    // The stepping row at the foot, after the listing in reading order.
    steps.addTo(*this);
    steps.pulse.onClick = [this] { onPulse(); };
    steps.microstep.onClick = [this] { onMicrostep(); };
    steps.restart.onClick = [this] { onRestart(); };

    result_ = "Vyberte instrukci: klikněte na její jméno nebo na řádek mikroprogramu nebo nastavte "
              "operační kód.";
    if (opcode) choose(*opcode);
    show();
}

void ControlUnitScene::choose(int opcode) {
    opcode_ = opcode & 15;
    preset_ = true;
    // The machine just after the fetch that brought the code: the code in IR and on
    // the bus, PC at the code's word; after it the operand (7, for LDA and JMP) and
    // HLT everywhere else, which the routine's own fetch loads next. A and B hold 5 and 3.
    m_ = ProcessorModel{};
    m_.ram.fill(0b1110);
    m_.ram[0] = *opcode_;
    for (const Instruction& i : kInstructions)
        if (i.opcode == *opcode_ && i.hasOperand) m_.ram[1] = 7;
    m_.ir = m_.bus = m_.ramOut = *opcode_;
    m_.regA = 5;
    m_.regB = 3;
    m_.sum = 8;
    m_.busBit3 = m_.bus & 8;
    m_.busBit2 = m_.bus & 4;
    m_.busBit1 = m_.bus & 2;
    m_.busBit0 = m_.bus & 1;

    // The routine's length: the machine itself runs on a copy until the microstep
    // that loads IR (the fetch) is over, or the halt.
    ProcessorModel run = m_;
    count_ = 0;
    while (count_ < 16) {
        ++count_;
        if (clockPulse(run).halted) break;
        const bool fetch = run.irWrite;
        clockPulse(run);
        clockPulse(run);
        if (fetch) break;
    }
    step_ = 0;
    decoded_ = -1;
    finished_ = halted_ = false;

    const int first = (*opcode_ + 1) & 15;
    const std::string_view mnemonic = mnemonicOf(*opcode_);
    if (mnemonic.empty())
        result_ = "Kód " + binary(*opcode_) +
                  " nepatří žádné instrukci, procesor ho přesto přijme: první fáze Φ1 ho zvýší "
                  "na " +
                  binary(first) + " a řadič pokračuje řádkem " + lineName(first) +
                  "; do konce mikroprogramu " + (count_ == 1 ? "zbývá " : "zbývají ") +
                  microsteps(count_) + ".";
    else if (first == kHaltLine)
        result_ = "Instrukce HLT, operační kód " + binary(*opcode_) +
                  ": do IR ho přenesl řádek RAM/R-IR/W předchozí instrukce. První fáze Φ1 ho "
                  "zvýší na " +
                  binary(first) + ": mikroprogram HLT má jediný řádek " + lineName(first) +
                  ", po kterém hodiny stojí. Stiskněte „ručně“.";
    else
        result_ = "Instrukce " + std::string(mnemonic) + ", operační kód " + binary(*opcode_) +
                  ": do IR ho přenesl řádek RAM/R-IR/W předchozí instrukce. První fáze Φ1 ho "
                  "zvýší na " +
                  binary(first) +
                  (first == 0 ? " (po" + std::string(kNoBreak) + "15 následuje 0)" : "") +
                  ", proto mikroprogram " + std::string(mnemonic) + " začíná na řádku " +
                  binary(first) + " a má " + microsteps(count_) + ". Stiskněte „ručně“.";
    show();
}

void ControlUnitScene::runPulse() {
    const PulseOutcome out = clockPulse(m_);
    if (out.decoded) {
        ++step_;
        decoded_ = m_.ir;
        decodeText_ = "IR se zvýšil na " + both(m_.ir) + " a dekodér paměti vybral řádek " +
                      lineName(m_.ir) + ".";
        phi1Text_.clear();
        announce_.clear();
        phi2Text_.clear();
        if (out.halted) {
            halted_ = finished_ = true;
            phi1Text_ = "Ten nezapne žádný řídicí signál: hodiny stojí a procesor další "
                        "instrukci nenačte. V simulátoru je znovu rozběhne „provoz“, který spustí "
                        "program od začátku.";
            return;
        }
        if (m_.ramRead)
            phi1Text_ = "Dekodér zdroje vybral RAM (RAM/R) a ta vystavila na sběrnici slovo " +
                        both(m_.bus) + " z adresy " + number(m_.pc) + ".";
        else if (m_.aRead)
            phi1Text_ = "Dekodér zdroje vybral registr A (A/R) a ten vystavil na sběrnici svou "
                        "hodnotu " +
                        number(m_.bus) + ".";
        else if (m_.addRead)
            phi1Text_ = "Dekodér zdroje vybral sčítačku (ADD/R) a ta vystavila na sběrnici "
                        "součet " +
                        number(m_.regA) + " + " + number(m_.regB) + " = " + number(m_.sum) + ".";
        else
            phi1Text_ = "Žádný zdroj není vybrán, sběrnice drží " + number(m_.bus) + ".";
        for (const Line& w : kWrites)
            if (signalOn(m_, w.signal))
                announce_ = "Dekodér určení vybral " + std::string(w.unit) + " (" +
                            std::string(signalName(w.signal)) +
                            "), hodnotu ze sběrnice ale převezme až ve "
                            "fázi Φ2.";
        if (m_.pcInc) announce_ = "Pole O/K zapnulo PC/I; impulz k počítání přijde až ve fázi Φ2.";
        return;
    }
    if (m_.phi2) {
        phi2Text_ = m_.pcCount
                        ? "hradlo AND (PC/I a Φ2) dalo impulz k počítání a PČ se zvýšil na " +
                              number(m_.pc) + "."
                        : "žádný zápisový signál není zapnutý, nic se nezapisuje.";
        for (const Line& w : kWrites)
            if (strobeOn(m_, w.signal))
                phi2Text_ = "hradlo AND (" + std::string(signalName(w.signal)) +
                            " a Φ2) dalo zápisový impulz a " + std::string(w.took) +
                            (w.signal == IrWrite ? codeName(m_.ir) : number(m_.*w.value)) + ".";
        return;
    }
    if (step_ == count_) finished_ = true;
}

std::string ControlUnitScene::clockText() const {
    return clockCaption(m_, halted_);
}

std::string ControlUnitScene::endText() const {
    if (halted_ || !finished_) return {};
    const std::string_view mnemonic = mnemonicOf(*opcode_);
    return " Tím mikroprogram " + (mnemonic.empty() ? std::string() : std::string(mnemonic) + " ") +
           "skončil: další fáze Φ1 zvýší kód " + binary(m_.ir) + " v IR na " +
           binary((m_.ir + 1) & 15) + ".";
}

void ControlUnitScene::onPulse() {
    if (!opcode_ || finished_) return;
    runPulse();
    result_ = "Mikrokrok " + stepOf(step_, count_) + ", " + std::string(clockState(m_)) + ": ";
    if (m_.phi2)
        result_ += phi2Text_;
    else if (m_.phi1)
        result_ += decodeText_ + " " + phi1Text_ + (announce_.empty() ? "" : " " + announce_);
    else
        result_ += "impulzy skončily; signály řádku " + lineName(decoded_) +
                   " trvají až do další fáze Φ1.";
    result_ += endText();
    show();
}

void ControlUnitScene::onMicrostep() {
    if (!opcode_ || finished_) return;
    // Pulses until the clock is at rest again (or stands): the whole microstep from
    // rest, or the rest of the one under way.
    const bool fromRest = !m_.phi1;
    const bool fromPhi1 = m_.phi1 && !m_.phi2;
    do runPulse();
    while (m_.phi1 && !halted_);
    if (halted_) {
        result_ =
            "Mikrokrok " + stepOf(step_, count_) + ", fáze Φ1: " + decodeText_ + " " + phi1Text_;
    } else if (fromRest) {
        result_ = "Mikrokrok " + stepOf(step_, count_) + ", řádek " + lineName(decoded_) + ": " +
                  phi1Text_ + " Ve fázi Φ2 " + phi2Text_;
    } else if (fromPhi1) {
        result_ = "Mikrokrok " + stepOf(step_, count_) + " dokončen (fáze Φ2, klid): ve fázi Φ2 " +
                  phi2Text_;
    } else {
        result_ = "Mikrokrok " + stepOf(step_, count_) + " dokončen, hodiny jsou v klidu.";
    }
    result_ += endText();
    show();
}

void ControlUnitScene::onRestart() {
    if (opcode_) choose(*opcode_);
}

void ControlUnitScene::show() {
    result_ = typeset(result_);
    const int head = decoded_ < 0 ? -1 : kMicroprogram[std::size_t(decoded_)].instructionLabel;
    std::vector<int> routine;
    if (opcode_)
        for (int i = 0, line = (*opcode_ + 1) & 15; i < count_; ++i, line = (line + 1) & 15)
            routine.push_back(line);
    for (int line = 0; line < 16; ++line) {
        ListingTag& tag = lines[std::size_t(line)];
        tag.marked = line == decoded_;
        tag.inRoutine = false;
        for (int r : routine) tag.inRoutine = tag.inRoutine || r == line;
    }
    for (std::size_t i = 0; i < names.size(); ++i)
        names[i].marked =
            head >= 0 && kMicroprogram[std::size_t(nameLine(i))].instructionLabel == head;
    code.setValue(opcode_.value_or(0));
    steps.pulse.setEnabled(opcode_ && !finished_);
    steps.microstep.setEnabled(opcode_ && !finished_);
    steps.restart.setEnabled(opcode_ && (step_ > 0 || m_.phi1));
}

void ControlUnitScene::paint(Canvas& c) const {
    const Box all = {0, 0, c.width, c.height};
    const int t = top_;
    heading(c, title());
    explanation(c, explanationText());

    // The control unit's box as the diagram draws it round the listing (the tags are
    // controls): its title a pixel lower and its captions a line height apart.
    render::paintControlUnit(c, {{kBoxX, t, kBoxW, kBoxH}, kDividerY, 3, 1, 13}, all);

    // IR, its four microaddress lines into DEKODÉR PAMĚTI (lit as the last decode set
    // them), and the Phi1 line into its counting input.
    const Box ir = {kIr.x, t + kIr.y, kIr.w, kIr.h};
    if (opcode_)
        registerBlock(c, ir, "IR", "Instrukční registr", m_.ir);
    else
        block(c, ir, "IR", "Instrukční registr");
    const int microaddress = decoded_ < 0 ? 0 : decoded_;
    bundle(c, {kBoxX + kBoxW + 6, ir.y + 9}, {ir.x - 1, ir.y + 9}, 6, microaddress);
    // From IR into the memory decoder: a small head on each line, pointing left.
    for (int bit = 3; bit >= 0; --bit) {
        const int y = ir.y + 9 + (3 - bit) * 6;
        const Rgb colour = (microaddress >> bit) & 1 ? kSignal : kWire;
        for (int k = 0; k < 3; ++k) c.fill({kBoxX + kBoxW + 1 + k, y - k, 1, 2 + 2 * k}, colour);
    }
    text(c, Face::Window, {kBoxX + kBoxW + 4, ir.y + ir.h + 4}, "mikroadresa");
    const int phi1Y = t + kFieldTop + kFieldHeight / 2 - 1;
    wirePath(c, {{kBoxX + kBoxW, phi1Y}, {kPhi1X, phi1Y}, {kPhi1X, ir.y + ir.h + 1}}, m_.phi1);
    arrowHead(c, {kPhi1X, ir.y + ir.h}, Towards::Up, m_.phi1);
    text(c, Face::WindowBold, {kPhi1X + 8, phi1Y - 40}, "Φ1: IR + 1");

    // The operation code, the microstep under way and the clock; the stepping row
    // with the clock's state at the foot.
    text(c, Face::WindowBold, {496, t + 18}, "operační kód");
    code.paint(c);
    if (opcode_ && step_ > 0)
        text(c, Face::Window, {496, t + 44}, "mikrokrok " + stepOf(step_, count_));
    steps.paint(c, m_, halted_);
    textBox(c, Face::Window, {496, t + 62, kWidth - kMargin - 496, 28},
            "Hodiny mají tři stavy: klid, fázi Φ1 a fázi Φ2, ve které svítí Φ1 i Φ2.");
    if (opcode_ && preset_) {
        // The example machine the instruction runs on, said as it is; the student's
        // machine, when followed, is said in the result text instead.
        bool operand = false;
        for (const Instruction& i : kInstructions)
            operand = operand || (i.opcode == *opcode_ && i.hasOperand);
        const std::string preset = "Ukázkový stroj: A = 5, B = 3, PČ = 0; v RAM na adrese 0 kód " +
                                   both(*opcode_) +
                                   (operand ? ", na adrese 1 operand " + both(7) : std::string()) +
                                   ", na ostatních adresách HLT " + both(0b1110) + ".";
        textBox(c, Face::Window, {496, t + 90, kWidth - kMargin - 496, 42}, preset);
    }

    // Phi2 down to the five gates.
    const int bottom = t + kBoxH;
    const int phi2Y = t + kWiresTop;
    wirePath(c,
             {{kPhi2DropX, bottom},
              {kPhi2DropX, phi2Y},
              {kTrunkX, phi2Y},
              {kTrunkX, t + kWrites[3].row}},
             m_.phi2);
    text(c, Face::WindowBold, {kTrunkX + 6, phi2Y - 6}, "Φ2");

    const auto gated = [&](const Line& l) {
        const int y = t + l.row;
        const bool on = signalOn(m_, l.signal);
        const bool strobe = strobeOn(m_, l.signal);
        // As in the diagram, B/W comes to the gate's lower input and Phi2 to its upper.
        const bool lower = l.signal == BWrite;
        const int signalY = lower ? y + 16 : y;
        const int phi2In = lower ? y : y + 16;
        wirePath(c, {{l.dropX, bottom}, {l.dropX, signalY}, {kGateX - 1, signalY}}, on);
        // The signal's name over its row, left of the Phi2 trunk (PC/I's right of it).
        const std::string_view name = signalName(l.signal);
        const int nameW = render::textWidth(Face::WindowBold, name);
        text(c, Face::WindowBold,
             {l.signal == kCount.signal ? kTrunkX + 6 : kTrunkX - 6 - nameW, signalY - 14}, name);
        wire(c, {kTrunkX, phi2In}, {kGateX - 1, phi2In}, m_.phi2);
        if (l.signal != BWrite) dot(c, {kTrunkX, phi2In}, m_.phi2);
        gate(c, {kGateX, y - 8, 25, 33});
        wire(c, {kGateX + 25, y + 8}, {kOutputEnd - 1, y + 8}, strobe);
        arrowHead(c, {kOutputEnd, y + 8}, Towards::Right, strobe);
        text(c, Face::Window, {kOutputEnd + 6, y + 2}, l.does);
    };
    for (const Line& l : kWrites) gated(l);
    gated(kCount);

    // The registers the gates write, named, with their values: PČ once, for both its
    // gates.
    const auto value = [&](std::string_view name, Box box, int v) {
        text(c, Face::WindowBold,
             {box.x - 8 - render::textWidth(Face::WindowBold, name), box.y + 4}, name);
        if (opcode_)
            valueDigits(c, box, v);
        else
            render::frame(c, box, 1, 1, all);
    };
    value("IR", {kValueX, t + kWrites[0].row - 3, 40, 22}, m_.ir);
    value("PČ", {kValueX, t + kWrites[1].row - 3, 40, kCount.row - kWrites[1].row + 22}, m_.pc);
    value("A", {kValueX, t + kWrites[2].row - 3, 40, 22}, m_.regA);
    value("B", {kValueX, t + kWrites[3].row - 3, 40, 22}, m_.regB);

    // The sources: each line ends at the unit it selects; the unit drives the bus.
    constexpr int kUnitW = 40;
    constexpr int kBusLeft = kSourceEnd + kUnitW + 24;
    constexpr int kBusSpacing = 5;
    const int busTop = t + kSourceRow - 8;
    const int busBottom = t + kSources[2].line.row + 8;
    for (const Source& src : kSources) {
        const Line& l = src.line;
        const int y = t + l.row;
        const bool on = signalOn(m_, l.signal);
        wirePath(c, {{l.dropX, bottom}, {l.dropX, y}, {kSourceEnd - 1, y}}, on);
        arrowHead(c, {kSourceEnd, y}, Towards::Right, on);
        text(c, Face::WindowBold,
             {kSourceEnd - 10 - render::textWidth(Face::WindowBold, l.does), y - 14}, l.does);
        const Box unit = {kSourceEnd + 2, y - 7, kUnitW, 15};
        block(c, unit, src.block);
        // The unit's output to the bus, lit while it drives it.
        wire(c, {unit.x + unit.w, y}, {kBusLeft - 1, y}, on);
        dot(c, {kBusLeft, y}, on);
    }
    bundle(c, {kBusLeft, busTop}, {kBusLeft, busBottom}, kBusSpacing, m_.bus);
    const Box busBox = {kBusLeft + 4 * kBusSpacing + 10, t + kSources[1].line.row - 11, 40, 22};
    // The value box reads the bus.
    const int readFrom = kBusLeft + 3 * kBusSpacing + 2;
    c.fill({readFrom, busBox.y + 11, busBox.x - readFrom, 1}, kInk);
    text(c, Face::WindowBold, {busBox.x - 4, busBox.y + busBox.h + 2}, "sběrnice");
    if (opcode_)
        valueDigits(c, busBox, m_.bus);
    else
        render::frame(c, busBox, 1, 1, all);

    result(c, result_);
}

std::unique_ptr<Scene> makeVondrelScene(const Opening* opening) {
    std::optional<int> opcode;
    if (opening && opening->kind == ElementKind::Label) {
        // A listing line (Label14..Label29) or an instruction name: its instruction.
        int line = -1;
        if (opening->number >= 14 && opening->number <= 29) line = opening->number - 14;
        for (const MicroLine& l : kMicroprogram)
            if (l.instructionLabel == opening->number && line < 0) line = l.lineLabel - 14;
        if (line >= 0)
            for (const Instruction& i : kInstructions)
                if (i.mnemonic == instructionOf(line)) opcode = i.opcode;
    }
    return std::make_unique<ControlUnitScene>(opcode);
}

} // namespace procesor::explain
