// Tasks and predictions as every front end drives them through the screen: a task
// comes in by paste, drop and file (a bad one only opens the error box), its pane is
// worked by Tab, Enter and Space after the diagram's last stop, and while predicting
// each "ručně" asks first; the verdicts hold against a second machine clocked by the
// same handlers without predictions, and the automatic clock never asks.

#include <string>

#include "model/ResultCode.h"
#include "picture/DiagramLayout.h"
#include "screen/Screen.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace procesor::screen;
using Element = Screen::Element;

namespace {

const std::string kTask = "název: Pět a pět\nzadání: Sečtěte 5 + 5 a zastavte.\n"
                          "očekávám: zastaveno\nočekávám: A = 10\n";
const std::string kSolution = "0001 0101 1011 0101 1110";
constexpr Element kCheck = {Element::Pane, TaskPane::CheckButton};
constexpr Element kClose = {Element::Pane, TaskPane::CloseButton};
constexpr Element kBusGuess = {Element::Pane, Screen::kPredictionControls};
constexpr Element kPanel1 = {Element::Panel, 1};

// What one pulse of "ručně" did on a machine of its own: the bus after it and the
// register that changed.
PulseGuess pulsed(Simulator& reference) {
    const ProcessorModel before = reference.model();
    reference.Panel1Click();
    reference.Button1Click(); // "ručně" released, as Timer5 would
    const ProcessorModel& after = reference.model();
    PulseGuess truth{after.bus, Changed::None};
    if (after.ir != before.ir) truth.changed = Changed::Ir;
    if (after.pc != before.pc) truth.changed = Changed::Pc;
    if (after.regA != before.regA) truth.changed = Changed::A;
    if (after.regB != before.regB) truth.changed = Changed::B;
    return truth;
}

// The guess composed in the prediction pane by keys alone.
void guessByKeys(Screen& s, PulseGuess guess) {
    CHECK(s.focused() == kBusGuess);
    for (int i = 0; i < 16 && s.predictionPane().guess().bus != guess.bus; ++i) s.key(Key::Up);
    s.key(Key::Tab);
    for (int i = 0; i < 5 && s.predictionPane().guess().changed != guess.changed; ++i)
        s.key(Key::Down);
    CHECK(s.predictionPane().guess() == guess);
}

} // namespace

TEST_CASE(aTaskComesInByPasteDropAndFileAndABadOneChangesNothing) {
    using Way = Screen::Update (*)(Screen&, const std::string&);
    const Way ways[] = {
        [](Screen& s, const std::string& t) { return s.paste(t); },
        [](Screen& s, const std::string& t) { return s.bringIn(t); },
        [](Screen& s, const std::string& t) { return s.openFile("úloha.txt", t); },
    };
    for (const Way way : ways) {
        Screen s;
        s.render();
        const render::Canvas diagram = s.canvas();
        const ProcessorModel model = s.simulator().model();
        const Screen::Update u = way(s, kTask);
        REQUIRE(s.taskPane() != nullptr);
        CHECK_EQ(s.taskPane()->task().name, std::string("Pět a pět"));
        CHECK(u.panes && u.error.empty());
        CHECK_EQ(u.announcement, std::string("Úloha „Pět a pět“: Sečtěte 5 + 5 a zastavte."));
        CHECK_EQ(s.paneWidth(), TaskPane::kWidth);
        CHECK_EQ(s.paneCanvas().height, layout::kClientHeight);
        CHECK((s.paneCanvas().at(100, 5) & 0xFFFFFF) == clCream);
        CHECK(s.simulator().model() == model);
        CHECK(s.canvas().pixels == diagram.pixels);

        // A bad task: its message with the line and position, the pane as it was.
        const render::Canvas strip = s.paneCanvas();
        const Screen::Update bad = way(s, "název: x\nočekávám: Q = 1\n");
        CHECK_MSG(bad.error.find("na 2. řádku, 11. pozici") != std::string::npos, bad.error);
        CHECK(!bad.panes);
        CHECK_EQ(s.taskPane()->task().name, std::string("Pět a pět"));
        CHECK(s.paneCanvas().pixels == strip.pixels);
        CHECK(s.simulator().model() == model);
    }
    // Without a pane open a bad task leaves the strip away; a program still comes in.
    Screen s;
    CHECK(!s.openTask("název: x\n", "u.txt").error.empty());
    CHECK(s.taskPane() == nullptr);
    CHECK_EQ(s.paneWidth(), 0);
    s.errorClosed();
    s.paste(kSolution);
    CHECK(s.taskPane() == nullptr);
    CHECK_EQ(s.simulator().model().ram[1], 5);
}

TEST_CASE(thePaneIsWorkedByKeysAfterTheDiagramsLastStop) {
    Screen s;
    s.openTask(kTask);
    s.paste(kSolution);
    const std::vector<Element> ring = s.focusRing();
    REQUIRE(ring.size() >= 3);
    CHECK(ring[ring.size() - 2] == kCheck && ring.back() == kClose);
    s.setFocus(ring[ring.size() - 3]); // the diagram's last stop
    const render::Canvas unfocused = s.paneCanvas();
    Screen::Update u = s.key(Key::Tab);
    CHECK(u.taken && u.focus == kCheck && u.panes);
    CHECK(s.paneCanvas().pixels != unfocused.pixels); // the focus frame drawn
    CHECK_EQ(s.accessibleName(kCheck), std::string("Zkontrolovat"));
    u = s.key(Key::Enter);
    REQUIRE(s.taskPane()->checked());
    CHECK(s.taskPane()->run().passed());
    const DecodedCode code = decodeResultCode(s.taskPane()->code(), s.taskPane()->task().digest);
    CHECK(code.kind == DecodedCode::Ok && code.ram == s.simulator().model().ram);
    CHECK_EQ(u.announcement, "Úloha splněna. Kód řešení: " + s.taskPane()->code() + ".");
    // On to "Zavřít úlohu" and out of the window's cycle; back again.
    CHECK(s.key(Key::Tab).focus == kClose);
    u = s.key(Key::Tab);
    CHECK(!u.taken && !u.focus);
    CHECK(s.key(Key::BackTab).focus == kClose);
    // Up and Down are not the task pane's; Space closes it, and the focus goes with it.
    CHECK(!s.key(Key::Down).taken);
    CHECK(s.focused() == kClose);
    u = s.key(Key::Space);
    CHECK(s.taskPane() == nullptr);
    CHECK(!u.focus && u.panes);
    CHECK_EQ(u.announcement, std::string("Úloha zavřena."));
    CHECK_EQ(s.paneWidth(), 0);
    for (const Element& stop : s.focusRing()) CHECK(stop.kind != Element::Pane);
    // A mouse click on "Zkontrolovat" in the strip, beyond the diagram.
    s.openTask(kTask);
    const render::Box b = s.taskPane()->buttonBox(TaskPane::CheckButton);
    s.mouseDown(layout::kClientWidth + b.x + 3, b.y + 3);
    CHECK(!s.taskPane()->checked()); // on the button going up
    s.mouseUp(layout::kClientWidth + b.x + 3, b.y + 3);
    CHECK(s.taskPane()->checked() && s.taskPane()->run().passed());
}

TEST_CASE(predictionsRightAndWrongAgainstTheMachine) {
    Screen s;
    Simulator reference;
    s.paste(kSolution);
    reference.loadProgram(kSolution);
    s.run(&Simulator::Panel7Click);
    reference.Panel7Click();
    s.command(Command::Predict);
    CHECK(s.predicting() && s.paneWidth() == PredictionPane::kWidth);

    for (int pulse = 1; pulse <= 6; ++pulse) {
        const bool right = pulse % 3 != 0; // every third guessed wrong
        const PulseGuess truth = pulsed(reference);
        // "ručně" by the keyboard (Enter) and by PageDown, in turn.
        s.setFocus(kPanel1);
        const std::uint64_t before = s.pulses();
        Screen::Update u = pulse % 2 ? s.key(Key::Enter) : s.key(Key::PageDown);
        CHECK(s.asking());
        CHECK_EQ(s.pulses(), before); // no pulse yet
        CHECK(u.focus == kBusGuess && u.panes);
        CHECK(u.announcement.find("Předpovězte") == 0);
        PulseGuess guess = truth;
        if (!right) guess.bus = (truth.bus + 3) % 16;
        guessByKeys(s, guess);
        u = s.key(Key::Enter);
        CHECK_EQ(s.pulses(), before + 1);
        CHECK(!s.asking());
        CHECK(s.simulator().model().regA == reference.model().regA &&
              s.simulator().model().ir == reference.model().ir);
        CHECK_EQ(s.simulator().model().bus, truth.bus);
        const std::string start = right ? "Správně: " : "Špatně: ";
        CHECK_MSG(u.announcement.rfind(start, 0) == 0, u.announcement);
        CHECK(u.spoken().find(u.sentence) != std::string::npos && !u.sentence.empty());
        CHECK(u.focus == kPanel1); // back where "ručně" was asked from
        s.timerTick(5);            // "ručně" released
    }
    CHECK_EQ(s.predictionPane().score().right, 4);
    CHECK_EQ(s.predictionPane().score().asked, 6);
    CHECK_EQ(s.predictionPane().score().text(), std::string("správně 4 z 6"));

    // A task asking for predictions is judged by this score: two in a row were right.
    s.openTask("název: P\nzadání: x\npředpovědí: 2\n");
    s.setFocus(kCheck);
    s.key(Key::Enter);
    CHECK(s.taskPane()->run().passed());
    s.openTask("název: P\nzadání: x\npředpovědí: 3\n");
    s.setFocus(kCheck);
    s.key(Key::Enter);
    CHECK(!s.taskPane()->run().passed());
}

TEST_CASE(theAutomaticClockIsNotAskedAndAModeButtonEndsTheQuestion) {
    Screen s;
    s.paste(kSolution);
    s.run(&Simulator::Panel7Click);
    s.command(Command::Predict);
    s.run(&Simulator::Panel2Click); // start/stop
    const std::uint64_t before = s.pulses();
    for (int i = 0; i < 3; ++i) {
        s.timerTick(1);
        s.timerTick(5); // "ručně" released between the clock's pulses
    }
    CHECK_EQ(s.pulses(), before + 3);
    CHECK(!s.asking());
    CHECK_EQ(s.predictionPane().score().asked, 0);
    s.run(&Simulator::Panel2Click); // stopped again

    // Asked, then "programování": no pulse can come, the question goes, nothing counted.
    s.timerTick(5);
    s.setFocus(kPanel1);
    s.key(Key::Enter);
    REQUIRE(s.asking());
    const Screen::Update u = s.run(&Simulator::Panel6Click);
    CHECK(!s.asking() && u.panes);
    CHECK(u.focus == kPanel1);
    CHECK_EQ(s.key(Key::Enter).announcement, std::string()); // ručně is off now
    CHECK_EQ(s.predictionPane().score().asked, 0);
    // Predictions off: "ručně" pulses at once again, the pane goes.
    s.run(&Simulator::Panel7Click);
    s.command(Command::Predict);
    CHECK_EQ(s.paneWidth(), 0);
    const std::uint64_t now = s.pulses();
    s.key(Key::Enter);
    CHECK_EQ(s.pulses(), now + 1);
}

PLAIN_TEST_MAIN()
