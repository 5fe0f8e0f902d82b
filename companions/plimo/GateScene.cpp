#include "companions/plimo/GateScene.h"

#include "companions/Scenes.h"
#include "companions/common/Texts.h"
#include "model/Clock.h"
#include "model/Microprogram.h"
#include "model/Signals.h"
#include "picture/DiagramLayout.h"
#include "picture/Paint.h"

namespace procesor::explain {

namespace {

constexpr int kWidth = 780;
constexpr int kHeight = 515;

// The five gates top to bottom, as the diagram draws them: the gate's picture, the
// wire that brings its control signal, and the signal (its name and the machine's
// fields of it and of the gate's output are the machine's signal table's).
struct Gate {
    int image;
    int signalWire;
    Signal signal;
    std::string_view block; // the register's block as the diagram titles it
    std::string_view blockLine;
    std::string_view output;    // the output's caption
    std::string_view effect;    // what the strobe does
    std::string_view done;      // the same, done
    std::string_view impulse;   // what the gate's output gives the register
    int ProcessorModel::*value; // the register's value
};

const std::array<Gate, GateScene::kGates> kGateTable = {{
    {2, 12, IrWrite, "IR", "Instrukční registr", "zápis do IR", "IR převezme hodnotu ze sběrnice",
     "IR převzal hodnotu ze sběrnice", "zápisový impulz", &ProcessorModel::ir},
    {203, 207, PcWrite, "PČ", "Programový čítač", "zápis do PČ", "PČ převezme hodnotu ze sběrnice",
     "PČ převzal hodnotu ze sběrnice", "zápisový impulz", &ProcessorModel::pc},
    {63, 194, PcInc, "PČ", "Programový čítač", "PČ + 1", "PČ se zvýší o 1", "PČ se zvýšil o 1",
     "impulz k počítání", &ProcessorModel::pc},
    {71, 75, AWrite, "RA", "Registr A", "zápis do A", "registr A převezme hodnotu ze sběrnice",
     "registr A převzal hodnotu ze sběrnice", "zápisový impulz", &ProcessorModel::regA},
    {1, 187, BWrite, "RB", "Registr B", "zápis do B", "registr B převezme hodnotu ze sběrnice",
     "registr B převzal hodnotu ze sběrnice", "zápisový impulz", &ProcessorModel::regB},
}};

// Whether the gate's control signal comes to its upper input, as the diagram's
// wires have it (the other input is Phi2's): the signal's wire meets the gate 8
// pixels below its top for the upper input, 24 for the lower.
bool signalOnUpperInput(const Gate& g) {
    int top = -1;
    for (const layout::Block& b : layout::blocks())
        if (b.image == g.image) top = b.picture.y;
    for (const layout::Wire& w : layout::wires())
        if (w.image == g.signalWire) return w.at - top == 8;
    return true;
}

std::string bit(bool on) {
    return on ? "1" : "0";
}

const std::string kHint = "Vyberte hradlo: IR/W, PC/W, PC/I, A/W nebo B/W.";

// The bus's value while the gates are tried: what a write strobe makes the register take.
constexpr int kBusValue = 6;

const std::string kExplanation =
    "Zápisové signály IR/W, PC/W, A/W a B/W z dekodéru určení a signál PC/I z pole O/K "
    "nevedou do registrů přímo: každý prochází jedním z pěti hradel AND, jejichž druhým "
    "vstupem je Φ2. Hradlo AND dává na výstupu 1, jen když jsou oba vstupy 1. Výstup hradla "
    "zápisového signálu je zápisový impulz: při něm registr převezme hodnotu ze sběrnice; "
    "výstup hradla PC/I je impulz k počítání: při něm se PČ zvýší o 1. " +
    std::string(kClockStates) +
    " Zde se hradlo zkouší samo: signál zapněte v klidu, IR se nepočítá a sběrnice drží 6 (0110).";

const std::string kWhy =
    "Jeden mikrokrok trvá tři hodinové impulzy. Impulz, kterým hodiny vstoupí do fáze Φ1, "
    "zvýší IR o 1; podle nové hodnoty IR řadič teprve dekóduje řádek mikroprogramu a ten "
    "vybere zdroj, který vystaví hodnotu na sběrnici. Kdyby registr převzal hodnotu ze "
    "sběrnice už v tomto impulzu, převzal by ji dřív, než ji vybraný zdroj vystavil – a IR by "
    "navíc přepsal mikroadresu, podle které se řádek právě vybírá. Proto hradlo AND propustí "
    "signál až ve fázi Φ2, kdy signály řádku i hodnota na sběrnici platí. Třetím hodinovým "
    "impulzem přejdou hodiny do klidu: výstupy hradel jsou opět 0, řídicí signály ale trvají až "
    "do další fáze Φ1.";

constexpr int kChoiceLeft = 70;
constexpr int kChoiceGap = 6;

Point choiceAt(int gate, int top) {
    int x = kChoiceLeft;
    for (int i = 0; i < gate; ++i)
        x += render::textWidth(Face::WindowBold, signalName(kGateTable[std::size_t(i)].signal)) +
             24 + kChoiceGap;
    return {x, top};
}

} // namespace

GateScene::GateScene(std::optional<int> gate)
    : ClockedScene(kWidth, kHeight, kExplanation, {{90, 36}, {142, 36}}),
      choices{{ChoiceButton(choiceAt(0, bodyTop()), "IR/W"),
               ChoiceButton(choiceAt(1, bodyTop()), "PC/W"),
               ChoiceButton(choiceAt(2, bodyTop()), "PC/I"),
               ChoiceButton(choiceAt(3, bodyTop()), "A/W"),
               ChoiceButton(choiceAt(4, bodyTop()), "B/W")}},
      signals{{Lamp({10, bodyTop() + 36}, "IR/W"), Lamp({10, bodyTop() + 36}, "PC/W"),
               Lamp({10, bodyTop() + 36}, "PC/I"), Lamp({10, bodyTop() + 36}, "A/W"),
               Lamp({10, bodyTop() + 36}, "B/W")}} {
    for (int i = 0; i < kGates; ++i) {
        ChoiceButton& choice = choices[std::size_t(i)];
        add(choice);
        choice.onClick = [this, i] { choose(i); };
    }
    for (Lamp& lamp : signals) {
        add(lamp);
        lamp.onClick = [this] { onSignal(); };
    }
    addClock(true);

    m_.bus = kBusValue;
    markStart();
    result_ = kHint;
    show();
    if (gate && *gate >= 0 && *gate < kGates) choose(*gate);
}

std::string GateScene::title() const {
    return "Hradla AND: impulzy ve fázi Φ2";
}

bool GateScene::signalOn() const {
    return gate_ && procesor::signalOn(m_, kGateTable[std::size_t(*gate_)].signal);
}

bool GateScene::strobeOn() const {
    return gate_ && procesor::strobeOn(m_, kGateTable[std::size_t(*gate_)].signal);
}

void GateScene::show() {
    for (int i = 0; i < kGates; ++i) {
        choices[std::size_t(i)].setChosen(gate_ == i);
        Lamp& lamp = signals[std::size_t(i)];
        lamp.setVisible(gate_ == i);
        // The signal holds for the whole microstep: it is switched at rest only.
        lamp.setEnabled(!m_.phi1);
        lamp.setOn(procesor::signalOn(m_, kGateTable[std::size_t(i)].signal));
    }
    phi2.setOn(m_.phi2);
    strobe.setOn(strobeOn());
    steps.pulse.setEnabled(gate_.has_value());
    steps.microstep.setEnabled(gate_.has_value());
    steps.restart.setEnabled(gate_.has_value());
}

std::string GateScene::inputs() const {
    const Gate& g = kGateTable[std::size_t(*gate_)];
    return std::string(signalName(g.signal)) + " = " + bit(signalOn()) + " a Φ2 = " + bit(m_.phi2);
}

void GateScene::setInputs() {
    // Only the chosen gate's signal, as its lamp says.
    for (int i = 0; i < kGates; ++i)
        m_.*controlSignal(kGateTable[std::size_t(i)].signal)->held =
            gate_ == i && signals[std::size_t(i)].on();
}

void GateScene::choose(int gate) {
    gate_ = gate;
    m_ = ProcessorModel{};
    m_.bus = kBusValue;
    for (Lamp& lamp : signals) lamp.setOn(false);
    strobeInStep_ = false;
    run(false);
    show();
    const Gate& g = kGateTable[std::size_t(gate)];
    result_ = "Hradlo " + std::string(signalName(g.signal)) + ": " + inputs() + ", výstup " +
              bit(strobeOn()) + ". Zapněte " + std::string(signalName(g.signal)) +
              " a stiskněte „ručně“.";
}

void GateScene::restarted() {
    if (gate_)
        choose(*gate_);
    else
        show();
}

void GateScene::onSignal() {
    if (m_.phi1) return; // the lamp is locked outside rest
    run(false);
    show();
    const std::string state(clockStateAtStart(m_));
    if (signalOn())
        result_ = state + ": " + inputs() + ": " +
                  std::string(kGateTable[std::size_t(*gate_)].impulse) + " přijde až ve fázi Φ2.";
    else
        result_ = state + ": " + inputs() + ": hradlo AND dá 0, ať je Φ2 cokoli.";
}

void GateScene::onPulse() {
    if (!m_.phi1) strobeInStep_ = false; // a new microstep begins
    const bool before = strobeOn();
    run(true);
    show();
    if (strobeOn()) strobeInStep_ = true;
    const Gate& g = kGateTable[std::size_t(*gate_)];
    const std::string state(clockStateAtStart(m_));
    const std::string impulse(g.impulse);
    if (strobeOn())
        result_ = state + ": " + inputs() + ", hradlo AND dalo " + impulse + ": " +
                  std::string(g.done) + " (teď " + number(m_.*g.value) + ").";
    else if (before)
        result_ = state + ": Φ2 = 0, " + impulse + " skončil; " +
                  std::string(signalName(g.signal)) + " trvá až do další fáze Φ1.";
    else if (m_.phi2)
        result_ = state + ": " + inputs() + ", hradlo AND dalo 0: " + impulse + " nepřišel.";
    else
        result_ = state + ": " + inputs() + ", hradlo AND dává 0" +
                  (signalOn() ? ": " + impulse + " přijde až ve fázi Φ2." : ".");
}

void GateScene::onMicrostep() {
    std::string text = pulseToRest([this] {
        if (!m_.phi1) strobeInStep_ = false;
        run(true);
        if (strobeOn()) strobeInStep_ = true;
    });
    show();
    const Gate& g = kGateTable[std::size_t(*gate_)];
    if (strobeInStep_)
        text += "ve fázi Φ2 dalo hradlo AND " + std::string(g.impulse) + " a " +
                std::string(g.done) + " (teď " + number(m_.*g.value) + ").";
    else
        text += "ve fázi Φ2 bylo " + std::string(signalName(g.signal)) + " = 0, " +
                std::string(g.impulse) + " nepřišel.";
    result_ = text;
}

void GateScene::paintGate(Canvas& c, int top) const {
    // The gate as the diagram draws it: the control signal from the left, Phi2 down
    // from above and into the other input, the output with its arrow into the block.
    const Gate* g = gate_ ? &kGateTable[std::size_t(*gate_)] : nullptr;
    const bool upper = g ? signalOnUpperInput(*g) : true;
    const Box gateBox = {250, top + 30, 25, 33};
    const int signalY = gateBox.y + (upper ? 8 : 24);
    const int phi2Y = gateBox.y + (upper ? 24 : 8);
    const int phi2X = 200;
    const bool signal = signalOn();

    wire(c, {20, signalY}, {gateBox.x - 1, signalY}, signal);
    const std::string name = g ? std::string(signalName(g->signal)) : "signál";
    text(c, Face::WindowBold, {20, signalY - 14}, name + " = " + bit(signal));
    wirePath(c, {{phi2X, top}, {phi2X, phi2Y}, {gateBox.x - 1, phi2Y}}, m_.phi2);
    text(c, Face::WindowBold, {phi2X + 6, top}, "Φ2 = " + bit(m_.phi2));
    explain::gate(c, gateBox);

    const int outY = gateBox.y + 16;
    const Box blockBox = {390, outY - 21, 136, 42};
    wire(c, {gateBox.x + gateBox.w, outY}, {blockBox.x - 1, outY}, strobeOn());
    arrowHead(c, {blockBox.x - 2, outY}, Towards::Right, strobeOn());
    const std::string output = g ? std::string(g->output) : "impulz";
    text(c, Face::WindowBold, {gateBox.x + gateBox.w + 10, outY - 14},
         output + " = " + bit(strobeOn()));
    if (!g) {
        block(c, blockBox, "registr");
        return;
    }
    registerBlock(c, blockBox, g->block, g->blockLine, m_.*g->value);
    if (g->signal == PcInc) return; // the count takes nothing from the bus
    // The bus's value, which the register takes at the write strobe.
    const Box busBox = {blockBox.x + blockBox.w + 16, outY - 11, 40, 22};
    bundle(c, {blockBox.x + blockBox.w, outY - 8}, {busBox.x - 1, outY - 8}, 5, m_.bus);
    valueDigits(c, busBox, m_.bus);
    text(c, Face::WindowBold, {busBox.x - 4, busBox.y - 16}, "sběrnice");
}

void GateScene::paintTable(Canvas& c, int top) const {
    // The AND's truth table, the row of the present inputs marked as the diagram marks
    // the current line.
    const int left = 590;
    constexpr int kCell = 54;
    constexpr int kRow = 17;
    text(c, Face::WindowBold, {left, top}, "Pravdivostní tabulka AND");
    const std::string name =
        gate_ ? std::string(signalName(kGateTable[std::size_t(*gate_)].signal)) : "signál";
    const std::string heads[] = {name, "Φ2", "impulz"};
    const int headTop = top + 18;
    for (int col = 0; col < 3; ++col) {
        const std::string& h = heads[col];
        text(c, Face::WindowBold,
             {left + col * kCell + (kCell - render::textWidth(Face::WindowBold, h)) / 2, headTop},
             h);
    }
    const Box whole = {0, 0, c.width, c.height};
    for (int row = 0; row < 4; ++row) {
        const bool s = row >= 2;
        const bool p = (row & 1) != 0;
        const bool current = gate_ && s == signalOn() && p == m_.phi2;
        const int y = headTop + 15 + row * kRow;
        const bool values[] = {s, p, s && p};
        for (int col = 0; col < 3; ++col) {
            const Box cell = {left + col * kCell, y, kCell - 1, kRow - 1};
            c.fill(cell, current ? clYellow : clSkyBlue);
            const std::string v = bit(values[col]);
            render::drawText(c, Face::WindowBold,
                             cell.x + (cell.w - render::textWidth(Face::WindowBold, v)) / 2,
                             cell.y + 2, v, values[col] ? clRed : kInk, whole);
        }
    }
}

void GateScene::paint(Canvas& c) const {
    heading(c, title());
    explanation(c, kExplanation);

    const int t = bodyTop();
    text(c, Face::WindowBold, {10, t + 6}, "hradlo:");
    if (!gate_) {
        // Until a gate is chosen nothing names a signal the student did not choose.
        Lamp placeholder({10, t + 36}, "signál");
        placeholder.setEnabled(false);
        placeholder.paint(c, false, false);
    }
    steps.paint(c, m_);

    paintGate(c, t + 70);
    paintTable(c, t + 70);

    // Where the gate's lines are listed, three lines kept for them whichever is chosen,
    // so that nothing below moves.
    const int usageTop = t + 70 + 100;
    const int usageHeight = 3 * render::lineHeight(Face::Window);
    if (gate_) {
        const Gate& g = kGateTable[std::size_t(*gate_)];
        const std::vector<int> lines = linesWith(g.signal);
        std::string usage =
            "Hradlo " + std::string(signalName(g.signal)) + " dává " + std::string(g.impulse) +
            ": " + std::string(g.effect) + ". Signál " + std::string(signalName(g.signal)) +
            (lines.size() == 1 ? " je zapnutý jen na " : " je zapnutý na ") + onLines(lines) + ".";
        if (!signalOnUpperInput(g))
            usage += " Jako ve schématu vede " + std::string(signalName(g.signal)) +
                     " do dolního vstupu hradla a Φ2 do horního.";
        textBox(c, Face::Window, {kMargin, usageTop, kWidth - 2 * kMargin, usageHeight}, usage);
    }
    const int y = usageTop + usageHeight + 8;
    text(c, Face::WindowBold, {kMargin, y}, "Proč se zapisuje až ve fázi Φ2?");
    textBox(c, Face::Window, {kMargin, y + 16, kWidth - 2 * kMargin, 120}, kWhy);

    result(c, result_);
}

std::unique_ptr<Scene> makePlimoScene(const Opening* opening) {
    std::optional<int> gate;
    if (opening && opening->kind == ElementKind::Image)
        for (int i = 0; i < GateScene::kGates; ++i)
            if (kGateTable[std::size_t(i)].image == opening->number) gate = i;
    return std::make_unique<GateScene>(gate);
}

} // namespace procesor::explain
