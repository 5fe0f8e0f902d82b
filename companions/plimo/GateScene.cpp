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
constexpr int kHeight = 480;

// The five gates top to bottom, as the diagram draws them: the gate's picture, the
// wire that brings its control signal, and the signal (its name and the machine's
// fields of it and of the gate's output are the machine's signal table's).
struct Gate {
    int image;
    int signalWire;
    Signal signal;
    std::string_view block; // the register's block as the diagram titles it
    std::string_view blockLine;
    std::string_view output; // the output's caption
    std::string_view effect; // what the strobe does
    std::string_view done;   // the same, done
};

const std::array<Gate, GateScene::kGates> kGateTable = {{
    {2, 12, IrWrite, "IR", "Instrukční registr", "zápis do IR", "IR převezme hodnotu ze sběrnice",
     "IR převzal hodnotu ze sběrnice"},
    {203, 207, PcWrite, "PČ", "Programový čítač", "zápis do PČ", "PČ převezme hodnotu ze sběrnice",
     "PČ převzal hodnotu ze sběrnice"},
    {63, 194, PcInc, "PČ", "Programový čítač", "PČ + 1", "PČ se zvýší o 1", "PČ se zvýšil o 1"},
    {71, 75, AWrite, "RA", "Registr A", "zápis do A", "registr A převezme hodnotu ze sběrnice",
     "registr A převzal hodnotu ze sběrnice"},
    {1, 187, BWrite, "RB", "Registr B", "zápis do B", "registr B převezme hodnotu ze sběrnice",
     "registr B převzal hodnotu ze sběrnice"},
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

const std::string kExplanation =
    "Zápisové signály IR/W, PC/W, A/W a B/W z dekodéru URČENÍ a signál PC/I z pole O/K "
    "nevedou do registrů přímo: každý prochází jedním z pěti hradel AND, jejichž druhým "
    "vstupem je fáze hodin Φ2. Hradlo AND dává na výstupu 1, jen když jsou oba vstupy 1. Jeho "
    "výstup je zápisový impulz: při něm registr převezme hodnotu ze sběrnice (PČ se při "
    "signálu PC/I zvýší o 1). Zapněte signál a stiskněte „ručně“: hodiny jdou z klidu do fáze "
    "Φ1, pak do fáze Φ2 a zase do klidu.";

const std::string kWhy =
    "Jeden mikrokrok trvá tři takty hodin. Při vstupu do fáze Φ1 se IR zvýší o 1, řadič "
    "dekóduje nový řádek mikroprogramu a jednotka vybraná dekodérem ZDROJE začne vystavovat "
    "svou hodnotu na sběrnici. Řídicí signály i sběrnice se musí nejprve ustálit. Kdyby registr "
    "převzal hodnotu ze sběrnice hned se signálem končícím na /W, mohl by uložit starou nebo "
    "ještě neustálenou hodnotu – a IR, který ve fázi Φ1 sám počítá, by si přepsal mikroadresu "
    "dřív, než jeho řádek doběhne. Hradlo AND proto propustí zápisový signál až ve fázi Φ2, kdy "
    "je hodnota na sběrnici ustálená. Třetím taktem přejdou hodiny do klidu: zápisové impulzy "
    "jsou opět 0, řídicí signály ale trvají až do další fáze Φ1.";

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

ChoiceButton::ChoiceButton(Point at, std::string caption)
    : Control({at.x, at.y, render::textWidth(Face::WindowBold, caption) + 24, 25}),
      caption_(std::move(caption)) {}

void ChoiceButton::paint(Canvas& c, bool pressed, bool focused) const {
    Panel look;
    look.caption = caption_;
    const bool in = chosen_ || pressed;
    look.colour = chosen_ ? clLime : clMoneyGreen;
    look.outer = look.inner = in ? Bevel::Lowered : Bevel::Raised;
    const Box whole = {0, 0, c.width, c.height};
    render::paintPanel(c, box(), look, whole);
    if (focused) render::focusFrame(c, render::shrink(box(), 3, 3, 3, 3), whole);
}

GateScene::GateScene(std::optional<int> gate)
    : ClockedScene(kWidth, kHeight, kExplanation, {{90, 36}, {142, 36}, {250, 34}}),
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

    result_ = kHint;
    show();
    if (gate && *gate >= 0 && *gate < kGates) choose(*gate);
}

std::string GateScene::title() const {
    return "Hradlo AND – zápisové impulzy";
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
        lamp.setOn(procesor::signalOn(m_, kGateTable[std::size_t(i)].signal));
    }
    phi2.setOn(m_.phi2);
    strobe.setOn(strobeOn());
    steps.pulse.setEnabled(gate_.has_value());
    steps.microstep.setEnabled(gate_.has_value());
}

std::string GateScene::inputs() const {
    const Gate& g = kGateTable[std::size_t(*gate_)];
    return std::string(signalName(g.signal)) + " = " + bit(signalOn()) + " a Φ2 = " + bit(m_.phi2);
}

void GateScene::choose(int gate) {
    gate_ = gate;
    show();
    const Gate& g = kGateTable[std::size_t(gate)];
    std::string text = "Hradlo " + std::string(signalName(g.signal)) + ": " + inputs() +
                       ", výstup " + bit(strobeOn()) + ". ";
    text += strobeOn() ? "Zápisový impulz trvá: " + std::string(g.effect) + "."
                       : "Zapněte " + std::string(signalName(g.signal)) + " a stiskněte „ručně“.";
    result_ = text;
}

void GateScene::onSignal() {
    const Gate& g = kGateTable[std::size_t(*gate_)];
    const bool before = strobeOn();
    m_.*controlSignal(g.signal)->held = signals[std::size_t(*gate_)].on();
    formStrobes(m_);
    show();
    if (strobeOn()) strobeInStep_ = true;
    const std::string state(clockStateAtStart(m_));
    if (strobeOn())
        result_ = state + ": " + inputs() +
                  ", hradlo AND dá zápisový impulz: " + std::string(g.effect) + ".";
    else if (before)
        result_ = state + ": " + inputs() + ", zápisový impulz skončil.";
    else if (signalOn())
        result_ = state + ": " + inputs() + ": zápisový impulz přijde až ve fázi Φ2.";
    else
        result_ = state + ": " + inputs() + ": hradlo AND dá 0, ať je Φ2 cokoli.";
}

void GateScene::onPulse() {
    if (!m_.phi1) strobeInStep_ = false; // a new microstep begins
    const bool before = strobeOn();
    advanceClock(m_);
    formStrobes(m_);
    show();
    if (strobeOn()) strobeInStep_ = true;
    const Gate& g = kGateTable[std::size_t(*gate_)];
    const std::string state(clockStateAtStart(m_));
    if (strobeOn())
        result_ = state + ": " + inputs() +
                  ", hradlo AND dá zápisový impulz: " + std::string(g.effect) + ".";
    else if (before)
        result_ = state + ": Φ2 = 0, zápisový impulz skončil; " +
                  std::string(signalName(g.signal)) + " trvá až do další fáze Φ1.";
    else if (m_.phi2)
        result_ = state + ": " + inputs() + ", hradlo AND dá 0: zápisový impulz nepřišel.";
    else
        result_ = state + ": " + inputs() + ", hradlo AND dá 0" +
                  (signalOn() ? ": zápisový impulz přijde až ve fázi Φ2." : ".");
}

void GateScene::onMicrostep() {
    std::string text = pulseToRest([this] {
        if (!m_.phi1) strobeInStep_ = false;
        advanceClock(m_);
        formStrobes(m_);
        if (strobeOn()) strobeInStep_ = true;
    });
    show();
    const Gate& g = kGateTable[std::size_t(*gate_)];
    if (strobeInStep_)
        text += "ve fázi Φ2 dalo hradlo AND zápisový impulz a " + std::string(g.done) + ".";
    else
        text += "ve fázi Φ2 bylo " + std::string(signalName(g.signal)) +
                " = 0, zápisový impulz nepřišel.";
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
    const Box blockBox = {440, outY - 20, 110, 42};
    wire(c, {gateBox.x + gateBox.w, outY}, {blockBox.x - 1, outY}, strobeOn());
    arrowHead(c, {blockBox.x - 2, outY}, Towards::Right, strobeOn());
    const std::string output = g ? std::string(g->output) : "impulz";
    text(c, Face::WindowBold, {gateBox.x + gateBox.w + 10, outY - 14},
         output + " = " + bit(strobeOn()));
    if (g)
        block(c, blockBox, g->block, g->blockLine);
    else
        block(c, blockBox, "registr");
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
    heading(c, "Hradla AND: zápisový impulz ve fázi Φ2");
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
            "Impulz hradla " + std::string(signalName(g.signal)) + ": " + std::string(g.effect) +
            ". Signál " + std::string(signalName(g.signal)) +
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
