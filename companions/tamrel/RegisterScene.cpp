#include "companions/tamrel/RegisterScene.h"

#include "companions/Scenes.h"
#include "companions/common/Texts.h"
#include "model/Clock.h"
#include "model/Microprogram.h"
#include "picture/Text.h"

namespace procesor::explain {

namespace {

constexpr int kWidth = 780;
constexpr int kHeight = 400;
constexpr int kPictureLeft = 340; // the drawing of the register, right of the controls

std::string explanationOf(RegisterScene::Which which) {
    const bool a = which == RegisterScene::Which::A;
    const std::string r = a ? "A" : "B";
    const std::string w = r + "/W";
    std::string text = "Registr " + r +
                       " uchovává jedno čtyřbitové slovo. Novou hodnotu ze sběrnice převezme jen "
                       "při zápisovém impulzu, tedy když je zapnutý signál " +
                       w +
                       " a zároveň je fáze Φ2 (hradlo AND). Ve fázi Φ1 a v klidu drží svou "
                       "hodnotu, ať je na sběrnici cokoli. Signál " +
                       w;
    const std::vector<int> writing = linesWith(a ? AWrite : BWrite);
    text += writing.size() == 1 ? " je zapnutý jen na " : " je zapnutý na ";
    text += onLines(writing) + ".\n";
    if (a)
        return text +
               "Výstup registru A jde stále do sčítačky. Na sběrnici se hodnota A dostane jen se "
               "signálem A/R a ten je zapnutý jen na " +
               onLines(linesWith(ARead)) + ": instrukce MOV tak zkopíruje hodnotu A do B.";
    return text + "Výstup registru B jde jen do sčítačky; na sběrnici se hodnota B dostat nemůže, "
                  "signál B/R neexistuje. Chcete-li do B dostat číslo, uložte ho nejprve "
                  "instrukcí LDA do registru A; instrukce MOV ho pak zkopíruje do B.";
}

} // namespace

RegisterScene::RegisterScene(Which which)
    : ClockedScene(
          kWidth, kHeight, explanationOf(which),
          {{which == Which::A ? 138 : 74, 84}, {which == Which::A ? 190 : 126, 84}}),
      bus({90, bodyTop()}), value({90, bodyTop() + 40}),
      write({10, bodyTop() + 84}, which == Which::A ? "A/W" : "B/W"),
      read({74, bodyTop() + 84}, "A/R"), which_(which) {
    bus.setValue(5);
    bus.addTo(*this);
    value.setEnabled(false);
    value.addTo(*this);
    add(write);
    add(read);
    read.setVisible(which == Which::A);
    addClock(true);

    bus.onChange = [this] { onBus(); };
    write.onClick = [this] { onWrite(); };
    read.onClick = [this] { onRead(); };

    m_.bus = bus.value();
    markStart();
    restarted();
}

void RegisterScene::restarted() {
    write.setOn(false);
    read.setOn(false);
    loadedInStep_ = false;
    result_ = "Nastavte sběrnici, zapněte " + write.name() +
              " a stiskněte „ručně“: registr převezme hodnotu ze sběrnice až ve fázi Φ2.";
    show();
}

std::string RegisterScene::title() const {
    return which_ == Which::A ? "Registr A: převzetí ze sběrnice a vystavení na sběrnici"
                              : "Registr B: převzetí ze sběrnice, výstup do sčítačky";
}

int& RegisterScene::reg() {
    return which_ == Which::A ? m_.regA : m_.regB;
}
int RegisterScene::reg() const {
    return which_ == Which::A ? m_.regA : m_.regB;
}
bool& RegisterScene::writeSignal() {
    return which_ == Which::A ? m_.aWrite : m_.bWrite;
}
bool RegisterScene::strobeOn() const {
    return which_ == Which::A ? m_.aLoad : m_.bLoad;
}

void RegisterScene::setInputs() {
    writeSignal() = write.on();
    m_.aRead = which_ == Which::A && read.on();
    if (!m_.aRead) m_.bus = bus.value();
}

void RegisterScene::step(bool pulse) {
    if (pulse && !m_.phi1) loadedInStep_ = false; // a new microstep begins
    run(pulse);
    if (strobeOn()) loadedInStep_ = true;
}

void RegisterScene::show() {
    bus.setValue(m_.bus);
    bus.setEnabled(!m_.aRead); // while A drives the bus nobody sets it by hand
    value.setValue(reg());
    phi2.setOn(m_.phi2);
    strobe.setOn(strobeOn());
}

void RegisterScene::describePulse() {
    const std::string state(clockStateAtStart(m_));
    const std::string r = which_ == Which::A ? "A" : "B";
    const std::string holds = ": registr " + r + " drží " + number(reg()) + ".";
    if (strobeOn())
        result_ = state + ": " + write.name() +
                  " = 1 a Φ2 = 1, hradlo AND dalo zápisový impulz: registr " + r +
                  " převzal hodnotu " + number(reg()) + " ze sběrnice.";
    else if (m_.phi2)
        result_ = state + ": " + write.name() + " = 0, hradlo AND nedalo zápisový impulz" + holds;
    else
        result_ = state + ": Φ2 = 0, žádný zápisový impulz" + holds;
}

void RegisterScene::onPulse() {
    step(true);
    show();
    describePulse();
}

void RegisterScene::onMicrostep() {
    std::string text = pulseToRest([this] { step(true); });
    show();
    const std::string r = which_ == Which::A ? "A" : "B";
    if (loadedInStep_)
        text += "ve fázi Φ2 dalo hradlo AND zápisový impulz a registr " + r + " převzal hodnotu " +
                number(reg()) + " ze sběrnice.";
    else
        text += "ve fázi Φ2 bylo " + write.name() + " = 0, zápisový impulz nepřišel a registr " +
                r + " drží " + number(reg()) + ".";
    result_ = text;
}

void RegisterScene::onWrite() {
    const bool before = strobeOn();
    step(false);
    show();
    const std::string state(clockStateAtStart(m_));
    const std::string r = which_ == Which::A ? "A" : "B";
    const std::string w = write.name() + (write.on() ? " = 1" : " = 0");
    if (strobeOn() && !before)
        result_ = state + ": " + w + " a Φ2 = 1, hradlo AND dalo zápisový impulz: registr " + r +
                  " převzal hodnotu " + number(reg()) + " ze sběrnice.";
    else if (before && !strobeOn())
        result_ = state + ": " + w + ", zápisový impulz skončil: registr " + r + " drží " +
                  number(reg()) + ".";
    else if (write.on())
        result_ = state + ": " + w + ", ale Φ2 = 0: zápisový impulz přijde až ve fázi Φ2.";
    else
        result_ = state + ": " + w + ", registr " + r + " drží " + number(reg()) + ".";
}

void RegisterScene::onRead() {
    step(false);
    show();
    if (read.on())
        result_ = "A/R = 1: registr A vystavil svou hodnotu " + number(m_.regA) +
                  " na sběrnici; dokud A/R trvá, sběrnici nelze nastavit ručně.";
    else
        result_ = "A/R = 0: registr A už sběrnici neřídí; sběrnice drží hodnotu " + number(m_.bus) +
                  " a lze ji znovu nastavit.";
}

void RegisterScene::onBus() {
    const int before = reg();
    step(false);
    show();
    const std::string r = which_ == Which::A ? "A" : "B";
    if (strobeOn())
        result_ = "Fáze Φ2: zápisový impulz trvá, registr " + r + " převzal hodnotu " +
                  number(reg()) + " ze sběrnice.";
    else if (before == reg())
        result_ = "Na sběrnici je " + number(m_.bus) + "; registr " + r + " drží " + number(reg()) +
                  ", dokud nepřijde zápisový impulz.";
}

void RegisterScene::paint(Canvas& c) const {
    const bool a = which_ == Which::A;
    heading(c, title());
    explanation(c, explanationOf(which_));

    // The controls' captions.
    const int t = bodyTop();
    text(c, Face::WindowBold, {10, t + 16}, "sběrnice");
    text(c, Face::WindowBold, {10, t + 56}, a ? "registr A" : "registr B");
    bus.paint(c);
    value.paint(c);
    steps.paint(c, m_);
    text(c, Face::Window, {10, t + 124}, "do sčítačky jde stále hodnota " + number(reg()));

    // The picture: the write signal and Phi2 into the AND gate, its strobe into the
    // register, the register's bundle to the bus on the right and down (A) or up (B)
    // to the adder. As in the diagram, A's gate has A/W on its upper input and B's
    // gate Phi2.
    const int regTop = a ? t + 20 : t + 110;
    const Box regBox = {520, regTop, 100, 42};
    const Box adderBox = {520, a ? t + 130 : t + 10, 100, 42};
    const Box gateBox = {440, regTop + regBox.h / 2 - 16, 25, 33};
    const int upper = gateBox.y + 8;
    const int lower = gateBox.y + 24;
    const int signalY = a ? upper : lower;
    const int phi2Y = a ? lower : upper;
    const int phi2X = 400;

    wire(c, {kPictureLeft + 10, signalY}, {gateBox.x - 1, signalY}, m_.aWrite || m_.bWrite);
    text(c, Face::WindowBold, {kPictureLeft + 10, signalY - 14}, write.name());
    wirePath(c, {{phi2X, t + 2}, {phi2X, phi2Y}, {gateBox.x - 1, phi2Y}}, m_.phi2);
    text(c, Face::WindowBold, {phi2X + 6, t}, "Φ2");
    gate(c, gateBox);
    const int strobeY = gateBox.y + 16;
    wire(c, {gateBox.x + gateBox.w, strobeY}, {regBox.x - 1, strobeY}, strobeOn());
    arrowHead(c, {regBox.x - 2, strobeY}, Towards::Right, strobeOn());

    if (a) {
        // A/R comes in under the gate and enters the register from below.
        const int readY = gateBox.y + gateBox.h + 14;
        const int readX = regBox.x + 12;
        wirePath(c, {{kPictureLeft + 10, readY}, {readX, readY}, {readX, regBox.y + regBox.h}},
                 m_.aRead);
        arrowHead(c, {readX, regBox.y + regBox.h}, Towards::Up, m_.aRead);
        text(c, Face::WindowBold, {kPictureLeft + 10, readY - 14}, "A/R");
    }

    // The bus, four upright lines at the right; the register's bundle meets each line
    // of its own bit at a junction dot.
    constexpr int kBusX = 700;
    constexpr int kSpacing = 6;
    bundle(c, {kBusX, t + 2}, {kBusX, t + 176}, kSpacing, m_.bus);
    text(c, Face::WindowBold, {kBusX - 6, t - 12}, "sběrnice");
    busTaps(c, regBox, kBusX, kSpacing, m_.bus);

    // Down (A) or up (B) to the adder, lit by the register's value.
    const int bundleX = regBox.x + 32;
    if (a)
        bundle(c, {bundleX, regBox.y + regBox.h}, {bundleX, adderBox.y - 2}, kSpacing, reg());
    else
        bundle(c, {bundleX, adderBox.y + adderBox.h}, {bundleX, regBox.y - 2}, kSpacing, reg());
    registerBlock(c, regBox, a ? "RA" : "RB", a ? "Registr A" : "Registr B", reg());
    block(c, adderBox, "ADD", "Sčítačka");

    result(c, result_);
}

std::unique_ptr<Scene> makeTamrelAScene(const Opening*) {
    return std::make_unique<RegisterScene>(RegisterScene::Which::A);
}

std::unique_ptr<Scene> makeTamrelBScene(const Opening*) {
    return std::make_unique<RegisterScene>(RegisterScene::Which::B);
}

} // namespace procesor::explain
