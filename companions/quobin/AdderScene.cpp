#include "companions/quobin/AdderScene.h"

#include "companions/Scenes.h"
#include "companions/common/Texts.h"
#include "model/Clock.h"
#include "model/Microprogram.h"
#include "picture/Paint.h"

namespace procesor::explain {

namespace {

constexpr int kWidth = 780;
constexpr int kHeight = 430;

std::string explanationText() {
    return "Sčítačka sčítá hodnoty registrů A a B a součet má stále na svém výstupu; na "
           "sběrnici se dostane jen se signálem ADD/R a ten je zapnutý jen na " +
           onLines(linesWith(AddRead)) +
           ". Součet jde na sběrnici jen impulzem, kterým hodiny vstoupí do fáze Φ1, a sběrnice "
           "ho pak drží, i když se A nebo B mezitím změní; ve fázi Φ2 ho převezme registr A. "
           "Všechny čtyři sloupce sčítají zároveň: v každém se sečte bit A, bit B a přenos ze "
           "sloupce vpravo a vznikne bit součtu a přenos do sloupce vlevo. Přenos tak postupuje "
           "od nejnižšího bitu (LSB) k nejvyššímu a součet je hotový, až doběhne. Přenos z "
           "nejvyššího bitu (váha 8) nikam nevede – ztratí se, a proto sčítačka počítá modulo 16: "
           "10 + 8 dá 2 a 15 + 1 dá 0.\n" +
           std::string(kClockStates) +
           " Bity A a B měňte kliknutím. Se signály ADD/R a A/W a tlačítkem „ručně“ proveďte "
           "mikrokrok instrukce ADD.";
}

// The picture of the columns: column k's centre, bit 3 on the left as the diagram's
// bundles have it, and the rows.
constexpr int kColumnStep = 76;
constexpr int kBit3X = 476;
constexpr int kBoxW = 40;
constexpr int kBoxH = 32;

int columnX(int bit) {
    return kBit3X + (3 - bit) * kColumnStep;
}

// A rectangle outlined with dashes of 3 pixels, 2 apart.
void dashedFrame(Canvas& c, Box r, Rgb ink) {
    for (int x = r.x; x < r.x + r.w; x += 5) {
        const int w = std::min(3, r.x + r.w - x);
        c.fill({x, r.y, w, 1}, ink);
        c.fill({x, r.y + r.h - 1, w, 1}, ink);
    }
    for (int y = r.y; y < r.y + r.h; y += 5) {
        const int h = std::min(3, r.y + r.h - y);
        c.fill({r.x, y, 1, h}, ink);
        c.fill({r.x + r.w - 1, y, 1, h}, ink);
    }
}

// One bit as a field that only shows it.
void bitField(Canvas& c, Point at, bool on) {
    BitCell cell(at);
    cell.setOn(on);
    cell.setEnabled(false);
    cell.paint(c, false, false);
}

} // namespace

int columnCarries(int a, int b, int sum) {
    // Column k's sum bit is a XOR b XOR its carry in, so a ^ b ^ sum holds the carries
    // into columns 1 to 3; the carry out of column 3 is what the four bits lost.
    const int into = (a ^ b ^ sum) & 0b1110;
    return (into >> 1) | (a + b != sum ? 0b1000 : 0);
}

AdderScene::AdderScene()
    : ClockedScene(kWidth, kHeight, explanationText(), {{156, 166}, {}}),
      a({100, bodyTop()}), b({100, bodyTop() + 40}), sum({100, bodyTop() + 80}),
      bus({100, bodyTop() + 120}), addRead({10, bodyTop() + 166}, "ADD/R"),
      aWrite({90, bodyTop() + 166}, "A/W") {
    a.addTo(*this);
    b.addTo(*this);
    sum.setEnabled(false);
    sum.addTo(*this);
    bus.setEnabled(false);
    bus.addTo(*this);
    add(addRead);
    add(aWrite);
    addClock(false);

    a.onChange = [this] { onOperand(); };
    b.onChange = [this] { onOperand(); };
    addRead.onClick = [this] { onSignal(); };
    aWrite.onClick = [this] { onSignal(); };

    m_.regA = 10;
    m_.regB = 8;
    run(false);
    markStart();
    restarted();
}

void AdderScene::restarted() {
    addRead.setOn(false);
    aWrite.setOn(false);
    show();
    result_ = addition();
}

std::string AdderScene::title() const {
    return "Sčítačka (ADD): čtyřbitové sčítání";
}

void AdderScene::setInputs() {
    m_.addRead = addRead.on();
    m_.aWrite = aWrite.on();
}

void AdderScene::show() {
    a.setValue(m_.regA);
    b.setValue(m_.regB);
    sum.setValue(m_.sum);
    bus.setValue(m_.bus);
    phi2.setOn(m_.phi2);
}

std::string AdderScene::addition() const {
    const int exact = m_.regA + m_.regB;
    std::string text = number(m_.regA) + " + " + number(m_.regB) + " = " + number(exact);
    if (exact != m_.sum)
        return text + "; to se do čtyř bitů nevejde: přenos z bitu 3 se ztratí a sčítačka dá " +
               number(exact) + " − 16 = " + number(m_.sum) + ".";
    return text + ", přenos z bitu 3 je 0 a součet se do čtyř bitů vejde.";
}

void AdderScene::onOperand() {
    m_.regA = a.value();
    m_.regB = b.value();
    run(false);
    show();
    if (m_.aLoad)
        result_ = "Fáze Φ2: zápisový impulz trvá, registr A drží hodnotu " + number(m_.regA) +
                  " ze sběrnice. " + addition();
    else
        result_ = addition();
}

void AdderScene::onSignal() {
    const bool loadedBefore = m_.aLoad;
    run(false);
    show();
    const std::string state(clockStateAtStart(m_));
    std::string text = state + ": ADD/R = " + (m_.addRead ? "1" : "0") +
                       ", A/W = " + (m_.aWrite ? "1" : "0") + ". ";
    if (m_.aLoad && !loadedBefore)
        text += "Hradlo AND dalo zápisový impulz: registr A převzal hodnotu " + number(m_.regA) +
                " ze sběrnice.";
    else if (m_.addRead && !m_.phi1)
        text += "Při vstupu do fáze Φ1 se součet " + number(m_.sum) + " dostane na sběrnici.";
    else if (m_.addRead && !m_.phi2)
        text += "Sčítačka dává součet na sběrnici jen impulzem, kterým hodiny vstoupí do fáze "
                "Φ1; sběrnice teď drží " +
                number(m_.bus) + ".";
    else if (m_.aWrite && !m_.phi2)
        text += "Registr A převezme hodnotu ze sběrnice až ve fázi Φ2.";
    else
        text += "Registr A drží " + number(m_.regA) + ".";
    result_ = text;
}

void AdderScene::onPulse() {
    const int busBefore = m_.bus;
    run(true);
    show();
    if (m_.phi1 && !m_.phi2) {
        result_ = m_.addRead ? "Fáze Φ1: ADD/R = 1, součet " + number(m_.sum) + " jde na sběrnici."
                             : "Fáze Φ1: ADD/R = 0, sběrnice drží " + number(busBefore) + ".";
    } else if (m_.phi2) {
        result_ = m_.aLoad
                      ? "Fáze Φ2: A/W = 1 a Φ2 = 1, hradlo AND dalo zápisový impulz: registr A "
                        "převzal hodnotu " +
                            number(m_.regA) +
                            " ze sběrnice a sčítačka hned sčítá znovu: " + number(m_.regA) + " + " +
                            number(m_.regB) + " dá " + number(m_.sum) + "."
                      : "Fáze Φ2: A/W = 0, zápisový impulz nepřišel: registr A drží " +
                            number(m_.regA) + ".";
    } else {
        result_ = "Klid: na výstupu sčítačky je stále součet " + number(m_.regA) + " + " +
                  number(m_.regB) + ", tedy " + number(m_.sum) + ".";
    }
    if (!(m_.phi1 && !m_.phi2) && m_.addRead && m_.bus != m_.sum)
        result_ += " Sběrnice drží " + number(m_.bus) + " z fáze Φ1: součet " + number(m_.sum) +
                   " se na ni dostane až impulzem do další fáze Φ1.";
}

void AdderScene::onMicrostep() {
    bool drove = false;
    bool loaded = false;
    int driven = 0;
    std::string text = pulseToRest([&] {
        run(true);
        if (m_.phi1 && !m_.phi2 && m_.addRead) {
            drove = true;
            driven = m_.bus;
        }
        loaded = loaded || m_.aLoad;
    });
    show();
    if (drove) text += "součet " + number(driven) + " šel ve fázi Φ1 na sběrnici, ";
    if (loaded)
        text += "registr A převzal ve fázi Φ2 hodnotu " + number(m_.regA) +
                " ze sběrnice a sčítačka teď dává " + number(m_.regA) + " + " + number(m_.regB) +
                " = " + number(m_.sum) + (m_.regA + m_.regB > 15 ? " (modulo 16)." : ".");
    else
        text += "registr A nic nepřevzal (A/W = 0) a drží " + number(m_.regA) + ".";
    result_ = text;
}

void AdderScene::paintColumns(Canvas& c, int top) const {
    const int carries = columnCarries(m_.regA, m_.regB, m_.sum);
    const int cellsY = top + 18;
    const int boxY = cellsY + BitCell::kHeight + 22;
    const int carryY = boxY + kBoxH / 2 - 1;
    const int sumY = boxY + kBoxH + 22;

    // The carry into column 0 from the right: there is none, it is 0.
    const int rightEnd = columnX(0) + kBoxW / 2 + 30;
    wire(c, {rightEnd, carryY}, {columnX(0) + kBoxW / 2 + 1, carryY}, false);
    arrowHead(c, {columnX(0) + kBoxW / 2 + 1, carryY}, Towards::Left, false);
    text(c, Face::WindowBold, {rightEnd - 8, carryY - 16}, "0");

    // The carry out of column 3 goes nowhere: a dashed box says it is lost.
    const std::string_view lostText = (carries & 8) ? "ztracen" : "0";
    const int lostW = render::textWidth(Face::WindowBold, "ztracen") + 16;
    const Box lost = {columnX(3) - kBoxW / 2 - 40 - lostW, carryY - 11, lostW, 24};
    const Rgb lostInk = (carries & 8) ? kSignal : kInk;
    dashedFrame(c, lost, lostInk);
    render::drawText(c, Face::WindowBold,
                     lost.x + (lost.w - render::textWidth(Face::WindowBold, lostText)) / 2,
                     lost.y + (lost.h - render::lineHeight(Face::WindowBold)) / 2, lostText,
                     lostInk, render::shrink(lost, 2, 2, 2, 2));
    text(c, Face::Window, {lost.x, lost.y - 16}, "přenos z bitu 3");

    for (int bit = 0; bit < 4; ++bit) {
        const int x = columnX(bit);
        const Box box = {x - kBoxW / 2, boxY, kBoxW, kBoxH};
        const bool aBit = (m_.regA >> bit) & 1;
        const bool bBit = (m_.regB >> bit) & 1;
        const bool sBit = (m_.sum >> bit) & 1;
        const bool carry = (carries >> bit) & 1;
        const std::string head = "bit " + number(bit) + " (" + number(1 << bit) + ")";
        text(c, Face::Window, {x - render::textWidth(Face::Window, head) / 2, top}, head);

        // The bits of A and B from above, the sum bit down below.
        const int aX = x - 12;
        const int bX = x + 10;
        bitField(c, {aX - 7, cellsY}, aBit);
        bitField(c, {bX - 7, cellsY}, bBit);
        wire(c, {aX, cellsY + BitCell::kHeight}, {aX, box.y - 1}, aBit);
        wire(c, {bX, cellsY + BitCell::kHeight}, {bX, box.y - 1}, bBit);
        wire(c, {x - 1, box.y + box.h}, {x - 1, sumY - 1}, sBit);
        bitField(c, {x - 8, sumY}, sBit);

        // The column's adder: "+" in the middle, carry in on the right, carry out on
        // the left into the next column's carry input, or into the lost box.
        render::frame(c, box, 1, 1, {0, 0, c.width, c.height});
        text(c, Face::Digits,
             {x - render::textWidth(Face::Digits, "+") / 2,
              box.y + (box.h - render::lineHeight(Face::Digits)) / 2},
             "+");
        const int to = bit == 3 ? lost.x + lost.w + 1 : columnX(bit + 1) + kBoxW / 2 + 1;
        wire(c, {box.x - 2, carryY}, {to, carryY}, carry);
        arrowHead(c, {to, carryY}, Towards::Left, carry);
        const std::string digit = carry ? "1" : "0";
        text(c, Face::WindowBold,
             {(box.x + to) / 2 - render::textWidth(Face::WindowBold, digit) / 2, carryY - 16},
             digit, carry ? kSignal : kInk);
    }
    text(c, Face::WindowBold, {columnX(3) - kBoxW / 2 - 40 - lostW, cellsY + 3}, "A | B");
    text(c, Face::WindowBold, {columnX(3) - kBoxW / 2 - 40 - lostW, sumY + 3}, "součet");
}

void AdderScene::paint(Canvas& c) const {
    heading(c, title());
    explanation(c, explanationText());

    const int t = bodyTop();
    text(c, Face::WindowBold, {10, t + 16}, "registr A");
    text(c, Face::WindowBold, {10, t + 56}, "registr B");
    text(c, Face::WindowBold, {10, t + 96}, "součet");
    text(c, Face::WindowBold, {10, t + 136}, "sběrnice");
    a.paint(c);
    b.paint(c);
    sum.paint(c);
    bus.paint(c);
    steps.paint(c, m_);

    paintColumns(c, t);
    result(c, result_);
}

std::unique_ptr<Scene> makeQuobinScene(const Opening*) {
    return std::make_unique<AdderScene>();
}

} // namespace procesor::explain
