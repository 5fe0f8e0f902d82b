#include "companions/sarvek/CounterScene.h"

#include <algorithm>
#include <vector>

#include "companions/Scenes.h"
#include "companions/common/Texts.h"
#include "model/Clock.h"
#include "model/Microprogram.h"
#include "picture/Text.h"

namespace procesor::explain {

namespace {

constexpr int kWidth = 780;
constexpr int kHeight = 490;
constexpr int kCellsX = 110;   // the word cells, right of their captions
constexpr int kPictureX = 350; // the drawing, right of the controls
constexpr int kBusX = 720;     // the bus's four upright lines
constexpr int kBusSpacing = 6;
constexpr int kChooserGap = 8;

std::string irText() {
    return typeset(
        "IR, instrukční registr, je zároveň čítač mikroprogramu: jeho hodnota je mikroadresa, "
        "číslo řádku mikroprogramu, který řadič právě provádí. Jeho čítací vstup je vodič Φ1: "
        "IR se zvýší o 1 jen impulzem, kterým hodiny vstoupí do fáze Φ1 (ne po celou dobu, co "
        "Φ1 svítí), a dekodér paměti vybere další řádek. Mikroprogram instrukcí NOP, LDA, ADD, "
        "JMP a MOV končí řádkem RAM/R-IR/W: RAM vystaví na sběrnici operační kód další "
        "instrukce a IR ho ve fázi Φ2 převezme; od té chvíle do další fáze Φ1 drží IR kód, ne "
        "číslo prováděného řádku. Další fáze Φ1 ke kódu přičte 1: mikroprogram instrukce začíná "
        "řádkem kód + 1, u NOP 1111 (15) + 1 = 0000 (po 15 následuje 0). HLT má jediný řádek "
        "1111 C/D, po kterém hodiny stojí.");
}

std::string pcText() {
    const std::vector<int> jump = linesWith(PcWrite);
    return typeset("PČ, programový čítač, drží adresu buňky RAM, ze které se čte. Řádky PC/I "
                   "mikroprogramu zapnou signál PC/I a hradlo AND (PC/I a Φ2) dá ve fázi Φ2 "
                   "impulz, který PČ zvýší o 1: procesor pak čte další slovo programu. Signál "
                   "PC/W je zapnutý " +
                   std::string(jump.size() == 1 ? "jen " : "") + "na " + onLines(jump) +
                   ": PČ ve fázi Φ2 převezme ze sběrnice cílovou adresu skoku, kterou vystavila "
                   "RAM. Signály a sběrnici nastavte v klidu: platí pro celý mikrokrok, jako "
                   "signály řádku mikroprogramu.");
}

// The first fetch of a program, from the start: line 0001 loads the first operation
// code (it is not yet NOP's line).
std::string firstFetch() {
    return "0001" + std::string(kNoBreak) + "RAM/R-IR/W, který načte první operační kód";
}

// A listing line as the decoder's block shows it: the number and the signals, without
// the listing's trailing blanks.
std::string lineCaption(int line) {
    std::string caption(kMicroprogram[std::size_t(line)].caption);
    while (!caption.empty() && caption.back() == ' ') caption.pop_back();
    return caption;
}

constexpr std::string_view kHint =
    "Vyberte registr: IR (instrukční registr) nebo PČ (programový čítač).";

int chooserTop() {
    return explanationTop() +
           wrappedHeight(Face::Window, CounterScene::explanationText(), kWidth - 2 * kMargin) + 6;
}

int registerTextTop() {
    return chooserTop() + 25 + kChooserGap;
}

// The body under the register's explanation, at the same row for both registers.
int bodyTop() {
    const int width = kWidth - 2 * kMargin;
    return registerTextTop() +
           std::max(wrappedHeight(Face::Window, irText(), width),
                    wrappedHeight(Face::Window, pcText(), width)) +
           12;
}

// The control rows, from the body's top.
constexpr int kRow = 40;
constexpr int kIrLampsRow = 3 * kRow + 4;
constexpr int kPcLampsRow = 2 * kRow + 4;
constexpr int kTextBelowLamps = 34;

Point right(const Control& c, int gap) {
    return {c.box().x + c.box().w + gap, c.box().y};
}

} // namespace

std::string CounterScene::explanationText() {
    return typeset(
        "IR a PČ jsou čítací registry. Umějí dvě věci: převzít čtyřbitovou hodnotu ze sběrnice "
        "nebo ke své hodnotě přičíst 1. Počítá se ve čtyřech bitech, takže po 15 (1111) "
        "následuje 0 (0000): čítač přeteče a počítá znovu od nuly. Hodnotu ze sběrnice "
        "převezmou jen při zápisovém impulzu: ten dá hradlo AND, když je zapnutý zápisový signál "
        "(IR/W, PC/W) a zároveň je fáze Φ2.");
}

std::string CounterScene::registerText() const {
    if (!which_) return std::string(kHint);
    return *which_ == Which::IR ? irText() : pcText();
}

CounterScene::CounterScene(std::optional<Which> which)
    : Scene(kWidth, kHeight), chooseIr(Point{kMargin, chooserTop()}, "IR – instrukční registr"),
      choosePc(Point{kMargin + chooseIr.box().w + 12, chooserTop()}, "PČ – programový čítač"),
      code({kCellsX, bodyTop()}), irBus({kCellsX, bodyTop() + kRow}),
      irValue({kCellsX, bodyTop() + 2 * kRow}), pcBus({kCellsX, bodyTop()}),
      pcValue({kCellsX, bodyTop() + kRow}), irWrite({kMargin, bodyTop() + kIrLampsRow}, "IR/W"),
      phi1(right(irWrite, 8), "Φ1"), irPhi2(right(phi1, 8), "Φ2"),
      irLoad(right(irPhi2, 8), std::string(kStrobeLampName)),
      pcWrite({kMargin, bodyTop() + kPcLampsRow}, "PC/W"), pcInc(right(pcWrite, 8), "PC/I"),
      pcPhi2(right(pcInc, 8), "Φ2"), pcLoad(right(pcPhi2, 8), std::string(kStrobeLampName)),
      pcCount(right(pcLoad, 8), std::string(kStrobeLampName) + " +1"),
      steps(kHeight), top_(bodyTop()) {
    add(chooseIr);
    add(choosePc);
    code.addTo(*this);
    pcBus.addTo(*this);
    add(pcWrite);
    add(pcInc);
    steps.addTo(*this);
    irBus.addTo(*this);
    irValue.addTo(*this);
    pcValue.addTo(*this);
    for (Lamp* lamp : {&irWrite, &phi1, &irPhi2, &irLoad, &pcPhi2, &pcLoad, &pcCount}) {
        lamp->setEnabled(false);
        add(*lamp);
    }
    irBus.setEnabled(false);
    irValue.setEnabled(false);
    pcValue.setEnabled(false);

    chooseIr.onClick = [this] { choose(Which::IR); };
    choosePc.onClick = [this] { choose(Which::PC); };
    code.onChange = [this] { onInput(); };
    pcBus.onChange = [this] { onInput(); };
    pcWrite.onClick = [this] { onInput(); };
    pcInc.onClick = [this] { onInput(); };
    steps.pulse.onClick = [this] { onPulse(); };
    steps.microstep.onClick = [this] { onMicrostep(); };
    steps.restart.onClick = [this] { onRestart(); };

    code.setValue(0b0101); // ADD: IR takes 5, counts 6, 7, 8 and fetches again
    pcBus.setValue(15);    // loaded and counted, it shows the wrap round to 0
    if (which)
        choose(*which);
    else
        show();
}

void CounterScene::choose(Which which) {
    which_ = which;
    m_ = ProcessorModel{};
    decoded_ = -1;
    halted_ = false;
    phi1Text_.clear();
    phi1More_.clear();
    phi2Text_.clear();
    const bool ir = which == Which::IR;
    if (ir) {
        m_.ram.fill(code.value());
        result_ = "Nastavte operační kód, který RAM vystaví na sběrnici, a stiskněte „ručně“: "
                  "IR se při vstupu do fáze Φ1 zvýší o 1, na řádku RAM/R-IR/W převezme kód ve "
                  "fázi Φ2.";
    } else {
        pcWrite.setOn(false);
        pcInc.setOn(false);
        m_.bus = pcBus.value();
        result_ = "Nastavte sběrnici a signály PC/W a PC/I a stiskněte „ručně“: PČ převezme "
                  "hodnotu ze sběrnice nebo se zvýší o 1 až ve fázi Φ2.";
    }
    show();
}

void CounterScene::onInput() {
    if (!which_ || m_.phi1) return; // set at rest only; the controls say so
    if (*which_ == Which::IR) {
        m_.ram.fill(code.value()); // every read gives the student's word
        result_ = "RAM teď drží kód " + codeName(code.value()) +
                  ": na řádku RAM/R-IR/W ho vystaví na sběrnici a IR ho ve fázi Φ2 převezme.";
    } else {
        m_.pcWrite = pcWrite.on();
        m_.pcInc = pcInc.on();
        m_.bus = pcBus.value();
        const std::string b = number(m_.bus);
        if (m_.pcWrite && m_.pcInc)
            result_ = "PC/W = 1 i PC/I = 1: ve fázi Φ2 PČ převezme hodnotu " + b +
                      " ze sběrnice a hned ji zvýší o 1. Žádný řádek mikroprogramu nezapne "
                      "oba signály najednou.";
        else if (m_.pcWrite)
            result_ = "PC/W = 1: ve fázi Φ2 PČ převezme hodnotu " + b + " ze sběrnice.";
        else if (m_.pcInc)
            result_ = "PC/I = 1: ve fázi Φ2 se PČ zvýší o 1.";
        else
            result_ = "PC/W = 0 a PC/I = 0: PČ v tomto mikrokroku drží " + number(m_.pc) +
                      ", ať je na sběrnici cokoli.";
    }
    show();
}

void CounterScene::runPulse() {
    if (*which_ == Which::IR) {
        const int before = m_.ir;
        const bool fromStart = decoded_ < 0 && before == 0;
        const PulseOutcome out = clockPulse(m_);
        if (out.decoded) {
            decoded_ = m_.ir;
            halted_ = out.halted;
            phi2Text_.clear();
            phi1More_.clear();
            phi1Text_ = "IR se zvýšil z " + binary(before) + " na " + binary(m_.ir) +
                        (before == 15 ? " (po" + std::string(kNoBreak) + "15 následuje 0)" : "") +
                        " a dekodér paměti vybral řádek " +
                        (fromStart ? firstFetch() : lineName(m_.ir)) + ".";
            const bool drives = m_.ramRead || m_.aRead || m_.addRead;
            if (halted_)
                phi1More_ = "Po něm hodiny stojí; v simulátoru je znovu rozběhne „provoz“, "
                            "který spustí program od začátku. Zde začnete tlačítkem „od začátku“.";
            else if (m_.irWrite)
                phi1More_ = "Ten zapnul RAM/R a IR/W: RAM vystavila na sběrnici kód " +
                            codeName(m_.bus) + "; IR ho převezme až ve fázi Φ2.";
            else if (drives)
                phi1More_ = "IR/W = 0: ve fázi Φ2 IR nic nepřevezme. Sběrnici teď řídí zdroj "
                            "tohoto řádku (" +
                            std::string(m_.addRead ? "sčítačka"
                                        : m_.aRead ? "registr A"
                                                   : "RAM") +
                            ", zde nekreslený) a dal na ni " + both(m_.bus) + ".";
            else
                phi1More_ = "IR/W = 0: ve fázi Φ2 IR nic nepřevezme.";
        } else if (m_.phi2) {
            if (m_.irLoad)
                phi2Text_ = "IR/W = 1 a Φ2 = 1, hradlo AND dalo zápisový impulz: IR převzal ze "
                            "sběrnice operační kód " +
                            codeName(m_.ir) + ". Signály řádku " + lineName(decoded_) +
                            " ale trvají, dokud další fáze Φ1 nezvýší IR na " +
                            binary((m_.ir + 1) % 16) + ".";
            else
                phi2Text_ =
                    "IR/W = 0, hradlo AND nedalo zápisový impulz: IR drží " + binary(m_.ir) + ".";
        }
        return;
    }
    const int before = m_.pc;
    const bool phi1State = advanceClock(m_);
    m_.pcWrite = pcWrite.on();
    m_.pcInc = pcInc.on();
    m_.bus = pcBus.value();
    formStrobes(m_);
    transfer(m_, phi1State);
    if (phi1State) {
        phi2Text_.clear();
        phi1More_.clear();
        phi1Text_ = "Φ2 = 0, hradla AND nedají impulz: PČ drží " + number(m_.pc) + ".";
        if (m_.pcWrite && m_.pcInc)
            phi1Text_ +=
                " Hodnotu " + number(m_.bus) + " ze sběrnice převezme a zvýší o 1 až ve fázi Φ2.";
        else if (m_.pcWrite)
            phi1Text_ += " Hodnotu " + number(m_.bus) + " ze sběrnice převezme až ve fázi Φ2.";
        else if (m_.pcInc)
            phi1Text_ += " O 1 se zvýší až ve fázi Φ2.";
    } else if (m_.phi2) {
        const int from = m_.pcLoad ? m_.bus : before; // a load comes first, then the count
        // "se zvýšil z 6 na 7", or the wrap
        const std::string counted =
            from == 15 ? "přetekl z 15 na 0 (po" + std::string(kNoBreak) + "15 následuje 0)"
                       : "se zvýšil z " + number(from) + " na " + number(m_.pc);
        if (m_.pcLoad && m_.pcCount)
            phi2Text_ = "PC/W = 1, PC/I = 1 a Φ2 = 1, obě hradla AND daly impulz: PČ převzal "
                        "hodnotu " +
                        number(m_.bus) + " ze sběrnice a pak " + counted + ".";
        else if (m_.pcLoad)
            phi2Text_ = "PC/W = 1 a Φ2 = 1, hradlo AND dalo zápisový impulz: PČ převzal hodnotu " +
                        number(m_.pc) + " ze sběrnice.";
        else if (m_.pcCount)
            phi2Text_ = "PC/I = 1 a Φ2 = 1, hradlo AND dalo impulz k počítání: PČ " + counted + ".";
        else
            phi2Text_ = "PC/W = 0 a PC/I = 0, hradla AND nedala žádný impulz: PČ drží " +
                        number(m_.pc) + ".";
    }
}

void CounterScene::onPulse() {
    if (!which_ || halted_) return;
    runPulse();
    const bool ir = *which_ == Which::IR;
    const std::string state(clockStateAtStart(m_));
    if (m_.phi2)
        result_ = state + ": " + phi2Text_;
    else if (m_.phi1)
        result_ = state + ": " + phi1Text_ + (phi1More_.empty() ? "" : " " + phi1More_);
    else if (ir)
        result_ = "Klid: žádný impulz, IR drží " + binary(m_.ir) + "; signály řádku " +
                  lineName(decoded_) + " trvají až do další fáze Φ1.";
    else
        result_ = "Klid: Φ2 = 0, žádný impulz: PČ drží " + number(m_.pc) + ".";
    show();
}

void CounterScene::onMicrostep() {
    if (!which_ || halted_) return;
    // Pulses until the clock is at rest again (or stops): the whole microstep from
    // rest, or the rest of the one under way.
    const bool fromRest = !m_.phi1;
    do runPulse();
    while (m_.phi1 && !halted_);
    if (halted_)
        result_ = "Fáze Φ1: " + phi1Text_ + " " + phi1More_;
    else if (fromRest && *which_ == Which::IR)
        result_ = "Celý mikrokrok. Fáze Φ1: " + phi1Text_ +
                  // a source the scene does not draw: say where the bus came from
                  ((m_.addRead || m_.aRead || m_.ramRead) && !m_.irWrite ? " " + phi1More_ : "") +
                  " Fáze Φ2: " + phi2Text_;
    else if (fromRest)
        result_ = "Celý mikrokrok (fáze Φ1, fáze Φ2, klid). Ve fázi Φ2: " + phi2Text_;
    else
        result_ = "Mikrokrok dokončen, hodiny jsou v klidu. Ve fázi Φ2: " + phi2Text_;
    show();
}

void CounterScene::onRestart() {
    if (!which_) return;
    const bool ir = *which_ == Which::IR;
    // A machine as it starts: the clock at rest, IR and PČ 0, no line decoded yet.
    m_ = ProcessorModel{};
    if (ir) {
        m_.ram.fill(code.value());
    } else {
        m_.pcWrite = pcWrite.on();
        m_.pcInc = pcInc.on();
        m_.bus = pcBus.value();
    }
    decoded_ = -1;
    halted_ = false;
    phi1Text_.clear();
    phi1More_.clear();
    phi2Text_.clear();
    result_ = ir ? "Od začátku: IR = 0000, hodiny v klidu. První fáze Φ1 zvýší IR na 0001 a "
                   "řadič vybere řádek " +
                       firstFetch() + "."
                 : "Od začátku: PČ = 0, hodiny v klidu.";
    show();
}

void CounterScene::show() {
    result_ = typeset(result_);
    const bool chosen = which_.has_value();
    const bool ir = chosen && *which_ == Which::IR;
    const bool pc = chosen && !ir;
    const bool rest = !m_.phi1;
    chooseIr.setChosen(ir);
    choosePc.setChosen(pc);

    code.setEnabled(ir && rest);
    for (int bit = 0; bit < 4; ++bit) {
        code.cell(bit).setVisible(ir);
        irBus.cell(bit).setVisible(ir);
        irValue.cell(bit).setVisible(ir);
        pcBus.cell(bit).setVisible(pc);
        pcValue.cell(bit).setVisible(pc);
    }
    irBus.setValue(m_.bus);
    irValue.setValue(m_.ir);
    pcBus.setEnabled(pc && rest);
    pcValue.setValue(m_.pc);
    for (Lamp* lamp : {&irWrite, &phi1, &irPhi2, &irLoad}) lamp->setVisible(ir);
    for (Lamp* lamp : {&pcWrite, &pcInc, &pcPhi2, &pcLoad, &pcCount}) lamp->setVisible(pc);
    irWrite.setOn(m_.irWrite);
    phi1.setOn(m_.phi1);
    irPhi2.setOn(m_.phi2);
    irLoad.setOn(m_.irLoad);
    pcWrite.setEnabled(rest);
    pcInc.setEnabled(rest);
    pcPhi2.setOn(m_.phi2);
    pcLoad.setOn(m_.pcLoad);
    pcCount.setOn(m_.pcCount);
    for (PushButton* b : {&steps.pulse, &steps.microstep, &steps.restart}) b->setVisible(chosen);
    steps.pulse.setEnabled(!halted_);
    steps.microstep.setEnabled(!halted_);
    steps.restart.setEnabled(m_.phi1 || m_.ir != 0 || m_.pc != 0);
}

void CounterScene::paint(Canvas& c) const {
    heading(c, title());
    explanation(c, explanationText());
    textBox(c, Face::Window,
            {kMargin, registerTextTop(), kWidth - 2 * kMargin, top_ - registerTextTop()},
            registerText());
    if (!which_) return; // nothing more until a register is chosen

    const int t = top_;
    const bool ir = *which_ == Which::IR;
    const std::string name = ir ? "IR" : "PČ";
    if (ir) {
        text(c, Face::WindowBold, {kMargin, t + 16}, "operační kód");
        code.paint(c);
        const Box cb = code.box();
        const std::string_view mnemonic = mnemonicOf(code.value());
        if (!mnemonic.empty())
            text(c, Face::WindowBold,
                 {cb.x + 4 * WordCells::kStep + 4 +
                      render::textWidth(Face::WindowBold, "= " + number(code.value())) + 6,
                  cb.y + 16},
                 "(" + std::string(mnemonic) + ")");
        text(c, Face::WindowBold, {kMargin, t + kRow + 16}, "sběrnice");
        irBus.paint(c);
        text(c, Face::WindowBold, {kMargin, t + 2 * kRow + 16}, "registr IR");
        irValue.paint(c);
    } else {
        text(c, Face::WindowBold, {kMargin, t + 16}, "sběrnice");
        pcBus.paint(c);
        text(c, Face::WindowBold, {kMargin, t + kRow + 16}, "registr PČ");
        pcValue.paint(c);
    }
    // For IR the line the clock selected, for PČ the RAM cell it addresses, at a fixed
    // place under the register's lamps: nothing moves when the text grows.
    const int below = t + (ir ? kIrLampsRow : kPcLampsRow) + kTextBelowLamps;
    if (ir)
        text(c, Face::Window, {kMargin, below},
             "právě prováděný řádek: " +
                 (decoded_ < 0 ? std::string("žádný") : lineName(decoded_)));
    else
        text(c, Face::Window, {kMargin, below}, "adresa buňky RAM: " + number(m_.pc));
    steps.paint(c, m_, halted_);

    if (ir)
        paintIr(c);
    else
        paintPc(c);
    result(c, result_);
}

void CounterScene::paintBus(Canvas& c, Box reg) const {
    // The bus, four upright lines at the right; the register's inputs meet each line
    // of its own bit at a junction dot.
    const int t = top_;
    bundle(c, {kBusX, t + 14}, {kBusX, t + 200}, kBusSpacing, m_.bus);
    text(c, Face::WindowBold, {kBusX - 12, t}, "sběrnice");
    busTaps(c, reg, kBusX, kBusSpacing, m_.bus);
}

void CounterScene::paintIr(Canvas& c) const {
    const int t = top_;
    const Box reg = {520, t + 40, 136, 42};
    const Box decoder = {kPictureX, t + 40, 140, 42};

    // IR's four lines into DEKODÉR PAMĚTI, lit as the last count set them.
    const int line = decoded_ < 0 ? 0 : decoded_;
    bundle(c, {decoder.x + decoder.w, reg.y + 9}, {reg.x - 1, reg.y + 9}, kBusSpacing, line);
    text(c, Face::Window, {decoder.x + decoder.w - 24, reg.y - 14}, "mikroadresa");
    block(c, decoder, "DEKODÉR PAMĚTI", decoded_ < 0 ? std::string() : lineCaption(line));

    // The Phi1 line up into IR's counting input.
    const int phi1Y = t + 100;
    const int phi1X = 566;
    wirePath(c, {{kPictureX, phi1Y}, {phi1X, phi1Y}, {phi1X, reg.y + reg.h + 1}}, m_.phi1);
    arrowHead(c, {phi1X, reg.y + reg.h}, Towards::Up, m_.phi1);
    text(c, Face::WindowBold, {kPictureX + 2, phi1Y - 14}, "Φ1");
    text(c, Face::Window, {phi1X - 70, phi1Y - 14}, "IR + 1");

    // IR/W AND Phi2: the write strobe up into IR's load input.
    const Box g = {580, t + 124, 25, 33};
    wire(c, {kPictureX, g.y + 8}, {g.x - 1, g.y + 8}, m_.irWrite);
    text(c, Face::WindowBold, {kPictureX + 2, g.y - 6}, "IR/W");
    wire(c, {kPictureX, g.y + 24}, {g.x - 1, g.y + 24}, m_.phi2);
    text(c, Face::WindowBold, {kPictureX + 2, g.y + 28}, "Φ2");
    gate(c, g);
    const int loadX = 616;
    wirePath(c, {{g.x + g.w, g.y + 16}, {loadX, g.y + 16}, {loadX, reg.y + reg.h + 1}}, m_.irLoad);
    arrowHead(c, {loadX, reg.y + reg.h}, Towards::Up, m_.irLoad);
    text(c, Face::Window, {loadX + 8, t + 100 - 14}, "zápis do IR");

    registerBlock(c, reg, "IR", "Instrukční registr", m_.ir);
    paintBus(c, reg);
    // RAM, which gives the operation code on the fetch lines.
    const Box ram = {kPictureX, t + 166, 136, 30};
    block(c, ram, "RAM", "kód " + both(code.value()));
    busTaps(c, ram, kBusX, kBusSpacing, m_.bus);
}

void CounterScene::paintPc(Canvas& c) const {
    const int t = top_;
    const Box reg = {520, t + 30, 136, 60};
    const Box ram = {520, t + 140, 136, 42};
    constexpr int kGateX = 430;
    constexpr int kPhi2X = 398;

    // Phi2 down to both gates.
    const Box load = {kGateX, t + 17, 25, 33};
    const Box count = {kGateX, t + 57, 25, 33};
    wirePath(c, {{kPhi2X, t + 14}, {kPhi2X, count.y + 24}, {kGateX - 1, count.y + 24}}, m_.phi2);
    wire(c, {kPhi2X, load.y + 24}, {kGateX - 1, load.y + 24}, m_.phi2);
    dot(c, {kPhi2X, load.y + 24}, m_.phi2);
    text(c, Face::WindowBold, {kPhi2X + 6, t}, "Φ2");

    const auto gated = [&](Box g, bool signal, bool strobe, std::string_view name,
                           std::string_view does) {
        wire(c, {kPictureX, g.y + 8}, {g.x - 1, g.y + 8}, signal);
        text(c, Face::WindowBold, {kPictureX + 2, g.y - 6}, name);
        gate(c, g);
        wire(c, {g.x + g.w, g.y + 16}, {reg.x - 1, g.y + 16}, strobe);
        arrowHead(c, {reg.x - 2, g.y + 16}, Towards::Right, strobe);
        text(c, Face::Window, {g.x + g.w + 6, g.y - 2}, does);
    };
    gated(load, m_.pcWrite, m_.pcLoad, "PC/W", "zápis do PČ");
    gated(count, m_.pcInc, m_.pcCount, "PC/I", "PČ + 1");

    // PČ's four lines down to RAM: the address of the word read.
    const int bundleX = reg.x + 30;
    bundle(c, {bundleX, reg.y + reg.h}, {bundleX, ram.y - 2}, kBusSpacing, m_.pc);
    text(c, Face::Window, {bundleX + 4 * kBusSpacing + 6, reg.y + reg.h + 16}, "adresa");
    registerBlock(c, reg, "PČ", "Programový čítač", m_.pc);
    block(c, ram, "RAM", "Paměť programu");
    paintBus(c, reg);
    busTaps(c, ram, kBusX, kBusSpacing, m_.bus);
}

std::unique_ptr<Scene> makeSarvekScene(const Opening* opening) {
    std::optional<CounterScene::Which> which;
    if (opening && opening->kind == ElementKind::Image && opening->number == 3)
        which = CounterScene::Which::IR;
    if (opening && opening->kind == ElementKind::Image && opening->number == 4)
        which = CounterScene::Which::PC;
    return std::make_unique<CounterScene>(which);
}

} // namespace procesor::explain
