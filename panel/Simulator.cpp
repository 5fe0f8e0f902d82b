#include "panel/Simulator.h"

#include <algorithm>
#include <optional>
#include <span>

#include "model/Clock.h"
#include "model/Microprogram.h"
#include "model/ProgramText.h"
#include "model/WordText.h"
#include "panel/SignalOverlays.h"
#include "panel/Speed.h"

namespace procesor {

namespace {

constexpr int kClockButton = 1;
constexpr int kStartStop = 2;
constexpr int kStepButton = 3;
constexpr int kWriteButton = 4;
constexpr int kClearButton = 5;
constexpr int kProgrammingButton = 6;
constexpr int kRunButton = 7;

constexpr int kStepRelease = 2;
constexpr int kWriteRelease = 3;
constexpr int kClearRelease = 4;

template <typename Images> void show(ElementState& el, const Images& images, bool visible) {
    for (int image : images)
        if (image != 0) el.image[image].visible = visible;
}

// Shows the lines of a four-line group whose weights make up value.
void showBits(ElementState& el, const std::array<int, 4>& lines, int value) {
    for (int bit = 0; bit < 4; ++bit) el.image[lines[bit]].visible = value & (1 << bit);
}

} // namespace

Simulator::Simulator(ErrorSink showError) : showError_(std::move(showError)) {}

bool Simulator::programmingMode() const {
    return el_.image[kClosedBusSwitch].visible;
}

void Simulator::setTimer(int timer, bool enabled) {
    Timer& t = el_.timer[timer];
    if (enabled && !t.enabled) ++starts_[static_cast<std::size_t>(timer)];
    t.enabled = enabled;
}

void Simulator::setLook(int panel, Rgb colour, Bevel bevel) {
    Panel& p = el_.panel[panel];
    p.colour = colour;
    p.outer = p.inner = bevel;
}

// ---- clock ---------------------------------------------------------------

void Simulator::Panel1Click() {
    if (el_.panel[kClockButton].colour != clAqua) return; // not running, halted or still pressed
    setLook(kClockButton, clTeal, Bevel::Lowered);
    setTimer(kClockRelease, true);

    const PulseOutcome pulse = clockPulse(model_);
    ++pulses_;
    if (pulse.halted) {
        setTimer(kAutoClock, false);
        setTimer(kClockRelease, false);
        setLook(kClockButton, clCream, Bevel::None);
        setLook(kStartStop, clCream, Bevel::None);
        el_.edit17.visible = false;
    }
    showPulse(pulse.decoded);
}

void Simulator::showPulse(bool decoded) {
    const ProcessorModel& m = model_;
    show(el_, kPhi1Images, m.phi1);
    show(el_, kPhi2Images, m.phi2);
    el_.label[kIrDigit].caption = decimal(m.ir);

    if (decoded) {
        for (int line = 0; line < 16; ++line)
            el_.label[kFirstListingLine + line].colour = clSkyBlue;
        for (int name : kInstructionLabels) el_.label[name].colour = clSkyBlue;
        const MicroLine& line = kMicroprogram[static_cast<std::size_t>(m.ir)];
        el_.label[line.lineLabel].colour = clYellow;
        el_.label[line.instructionLabel].colour = clYellow;
        showBits(el_, kMicroaddressLines, m.ir);
    }

    el_.label[kPcDigit].caption = decimal(m.pc);
    showAddress();
    el_.label[kRegADigit].caption = decimal(m.regA);
    showBits(el_, kRegAPaths, m.regA);
    el_.label[kRegBDigit].caption = decimal(m.regB);
    showBits(el_, kRegBPaths, m.regB);
    el_.label[kSumDigit].caption = decimal(m.sum);

    const std::array<bool, 4> busBits = {m.busBit0, m.busBit1, m.busBit2, m.busBit3};
    for (int bit = 0; bit < 4; ++bit) show(el_, kBusImages[bit], busBits[bit]);
    for (const SignalLine& line : kSignalLines) show(el_, line.images, m.*line.field);
    refreshBusDigits();
}

// The RAM cell at pc marked, and the address lines of its 1-bits lit.
void Simulator::showAddress() {
    for (int address = 0; address < 16; ++address)
        el_.label[kFirstRamCell + address].colour = address == model_.pc ? clYellow : clSkyBlue;
    showBits(el_, kAddressLines, model_.pc);
}

void Simulator::refreshBusDigits() {
    for (int bit = 0; bit < 4; ++bit)
        el_.label[kBusDigitLabels[bit]].caption = el_.image[kBusLine[bit]].visible ? "1" : "0";
}

void Simulator::Button1Click() {
    // A release still pending when the machine halted or a mode was entered
    // must not bring the ready look back; both stop Timer5, so this cannot run then.
    setLook(kClockButton, clAqua, Bevel::Raised);
    setTimer(kClockRelease, false);
}

void Simulator::Timer1Tick(int releaseDueInMs) {
    if (el_.timer[kClockRelease].enabled && el_.panel[kClockButton].colour == clTeal &&
        releaseDueInMs <= kReleaseTieMs)
        Button1Click();
    Panel1Click();
}

// ---- run controls --------------------------------------------------------

std::optional<int> Simulator::readSpeed() {
    const std::optional<int> speed = parseWholeNumber(el_.edit17.text);
    if (!speed && showError_) showError_(notAnIntegerMessage(el_.edit17.text));
    return speed;
}

void Simulator::Panel2Click() {
    // "ručně" pressed in is the lock against a second pulse. From speed 7 on the
    // automatic clock presses it again the moment it is released, so it is never
    // ready between two events: a press that stops the running clock is taken
    // through the lock, or the clock could only be stopped by a mode button.
    const Rgb clock = el_.panel[kClockButton].colour;
    const bool stopping = clock == clTeal && el_.timer[kAutoClock].enabled;
    if (clock != clAqua && !stopping) return;
    // The speed is read before anything changes, so that a bad speed text leaves
    // the button's look and the clock in step.
    const std::optional<int> speed = readSpeed();
    if (!speed) return;
    const bool start =
        el_.panel[kStartStop].inner == Bevel::Raised || el_.panel[kStartStop].inner == Bevel::Space;
    if (start)
        setLook(kStartStop, clTeal, Bevel::Lowered);
    else
        setLook(kStartStop, clAqua, Bevel::Raised);
    el_.timer[kAutoClock].interval = clockInterval(*speed);
    setTimer(kAutoClock, !el_.timer[kAutoClock].enabled);
}

void Simulator::UpDown1Click() {
    if (programmingMode()) return;
    const std::optional<int> speed = readSpeed();
    if (!speed) return;
    el_.timer[kAutoClock].interval = clockInterval(*speed);
}

void Simulator::UpDown1Arrow(bool up) {
    UpDown& u = el_.upDown1;
    // Start from the number the field shows, as the arrows of a bound field do.
    if (const std::optional<int> typed = parseWholeNumber(el_.edit17.text))
        u.position = std::clamp(*typed, u.min, u.max);
    u.position = std::clamp(u.position + (up ? 1 : -1), u.min, u.max);
    el_.edit17.text = std::to_string(u.position);
    UpDown1Click();
}

void Simulator::setSpeedText(std::string text) {
    el_.edit17.text = std::move(text);
}

// ---- modes ---------------------------------------------------------------

void Simulator::Panel6Click() {
    modeReset(true);
}
void Simulator::Panel7Click() {
    modeReset(false);
}

void Simulator::modeReset(bool programming) {
    setLook(kProgrammingButton, programming ? clLime : clMoneyGreen,
            programming ? Bevel::Lowered : Bevel::Raised);
    setLook(kRunButton, programming ? clMoneyGreen : clLime,
            programming ? Bevel::Raised : Bevel::Lowered);
    el_.edit17.visible = true;

    for (int panel : {kStepButton, kWriteButton, kClearButton}) {
        if (programming)
            setLook(panel, clAqua, Bevel::Raised);
        else
            setLook(panel, clCream, Bevel::None);
    }
    for (int panel : {kClockButton, kStartStop}) {
        if (programming)
            setLook(panel, clCream, Bevel::None);
        else
            setLook(panel, clAqua, Bevel::Raised);
    }
    setTimer(kAutoClock, false);
    setTimer(kClockRelease, false);
    el_.image[kClosedBusSwitch].visible = programming;

    resetForMode(model_);

    show(el_, modeResetOverlays(), false);
    show(el_, kPcIncLine, true);

    for (int digit : {kPcDigit, kRegADigit, kSumDigit, kRegBDigit, kIrDigit})
        el_.label[digit].caption = "0";
    el_.label[kPcDigit].caption = decimal(model_.pc);
    for (int digit : kBusDigitLabels) el_.label[digit].caption = "0";
    for (const DataSwitch& s : kDataSwitches) el_.button[s.button].caption = "0";

    for (int line = 0; line < 16; ++line)
        el_.label[kFirstListingLine + line].colour = line == 0 ? clYellow : clSkyBlue;
    for (int name : kInstructionLabels) el_.label[name].colour = name == 13 ? clYellow : clSkyBlue;
    for (int address = 0; address < 16; ++address)
        el_.label[kFirstRamCell + address].colour = address == 0 ? clYellow : clSkyBlue;
}

// ---- program entry -------------------------------------------------------

void Simulator::Button8Click() {
    toggleDataSwitch(0);
}
void Simulator::Button9Click() {
    toggleDataSwitch(1);
}
void Simulator::Button10Click() {
    toggleDataSwitch(2);
}
void Simulator::Button11Click() {
    toggleDataSwitch(3);
}

void Simulator::toggleDataSwitch(int index) {
    const DataSwitch& s = kDataSwitches[static_cast<std::size_t>(index)];
    const bool on = !el_.image[s.runWire].visible;
    el_.image[s.runWire].visible = on;
    el_.image[s.dropWire].visible = on;
    el_.button[s.button].caption = on ? "1" : "0";
    if (programmingMode()) show(el_, kBusImages[static_cast<std::size_t>(s.bit)], on);
    refreshBusDigits();
}

void Simulator::Panel4Click() {
    if (!programmingMode()) return;
    show(el_, kWriteIndicator, true);
    setLook(kWriteButton, clTeal, Bevel::Lowered);
    setTimer(kWriteRelease, true);

    int value = 0;
    for (const DataSwitch& s : kDataSwitches)
        if (el_.image[s.runWire].visible) value |= 1 << s.bit;
    model_.bus = value;
    model_.wordText = wordText(value);
    // Only the cell at pc changes; every other cell keeps what it shows.
    const auto pc = static_cast<std::size_t>(model_.pc);
    model_.ram[pc] = value;
    model_.ramText[pc] = model_.wordText;
    for (int address = 0; address < 16; ++address)
        el_.label[kFirstRamCell + address].caption =
            model_.ramText[static_cast<std::size_t>(address)];
}

// A release that comes after the mode has changed gives the button the look of
// the mode it is now in: ready in programming mode, flat in run mode.
void Simulator::releaseProgrammingButton(int panel, int timer, std::span<const int> indicator) {
    show(el_, indicator, false);
    if (programmingMode())
        setLook(panel, clAqua, Bevel::Raised);
    else
        setLook(panel, clCream, Bevel::None);
    setTimer(timer, false);
}

void Simulator::Button13Click() {
    releaseProgrammingButton(kWriteButton, kWriteRelease, kWriteIndicator);
}

// ---- address stepping and reset -----------------------------------------

void Simulator::Panel3Click() {
    if (!programmingMode()) return;
    show(el_, kStepIndicator, true);
    setLook(kStepButton, clTeal, Bevel::Lowered);
    setTimer(kStepRelease, true);
    model_.pc = (model_.pc + 1) % 16;
    el_.label[kPcDigit].caption = decimal(model_.pc);
    showAddress();
}

void Simulator::Button12Click() {
    releaseProgrammingButton(kStepButton, kStepRelease, kStepIndicator);
}

void Simulator::Panel5Click() {
    if (!programmingMode()) return;
    show(el_, kClearIndicator, true);
    setLook(kClearButton, clTeal, Bevel::Lowered);
    setTimer(kClearRelease, true);
    model_.pc = 0;
    el_.label[kPcDigit].caption = "0";
    showAddress();
    model_.ram.fill(0);
    for (int address = 0; address < 16; ++address) {
        model_.ramText[static_cast<std::size_t>(address)] = std::string(kBlankCellText);
        el_.label[kFirstRamCell + address].caption = std::string(kBlankCellText);
    }
}

void Simulator::Button14Click() {
    releaseProgrammingButton(kClearButton, kClearRelease, kClearIndicator);
}

// ---- a whole program as text -------------------------------------------

bool Simulator::loadProgram(std::string_view text, std::string_view fileName) {
    if (!programmingMode()) {
        reportProgramError(ProgramError{ProgramError::RunMode, {}, 0, 0, 0}, fileName);
        return false;
    }
    const ParsedProgram program = parseProgram(text);
    if (!program.ok()) {
        reportProgramError(program.error, fileName);
        return false;
    }
    // The state "programování" leaves: address 0, the switches at 0 and the bus
    // lines dark, line 0000 marked. Pending releases of the programming buttons
    // run their course, as they would after a press of "programování".
    modeReset(true);
    model_.bus = 0;
    model_.wordText = wordText(0);
    for (std::size_t address = 0; address < model_.ram.size(); ++address) {
        const bool written = address < program.words.size();
        model_.ram[address] = written ? program.words[address] : 0;
        model_.ramText[address] =
            written ? wordText(model_.ram[address]) : std::string(kBlankCellText);
        el_.label[kFirstRamCell + int(address)].caption = model_.ramText[address];
    }
    return true;
}

void Simulator::programFileUnreadable(std::string_view fileName) {
    reportProgramError(ProgramError{ProgramError::Unreadable, {}, 0, 0, 0}, fileName);
}

std::string Simulator::programText(char separator) const {
    return procesor::programText(model_.ram, separator);
}

void Simulator::reportProgramError(const ProgramError& error, std::string_view fileName) {
    if (showError_) showError_(programErrorMessage(error, fileName));
}

} // namespace procesor
