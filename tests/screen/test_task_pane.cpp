// The exercise panes without a window: the task pane checks the program in RAM and
// gives the result code, the prediction pane is right and wrong against what the
// machine's pulses do, both by keys alone and by clicks, and both draw what they say.

#include <string>

#include "model/ResultCode.h"
#include "panel/Simulator.h"
#include "screen/TaskPane.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;

namespace {

Task task(const std::string& text) {
    const ParsedTask p = parseTask(text);
    if (!p.ok()) FAIL(taskErrorMessage(p.error));
    return p.task;
}

int pixelsOf(const render::Canvas& c, Rgb rgb) {
    int n = 0;
    for (std::uint32_t p : c.pixels) n += (p & 0xFFFFFF) == rgb;
    return n;
}

const std::string kTask = "název: Pět a pět\nzadání: Sečtěte 5 + 5 a zastavte; výsledek "
                          "bude v registru A, kopie pětky v B.\nočekávám: zastaveno\n"
                          "očekávám: A = 10\nočekávám: B = 5\n";

TEST_CASE(theTaskPaneChecksTheProgramInRam) {
    Simulator sim;
    sim.loadProgram("0001 0101 1011 1110"); // MOV but no ADD: A stays 5
    TaskPane pane(task(kTask), sim.model());
    CHECK_EQ(pane.focus(), int(TaskPane::CheckButton));
    CHECK(pane.key(PaneKey::Enter) == PaneAction::Redraw);
    REQUIRE(pane.checked());
    CHECK_EQ(pane.run().outcomes.size(), 3u);
    CHECK(!pane.run().outcomes[1].passed);
    CHECK(pane.code().empty());
    CHECK_EQ(pane.announcement(), "Úloha nesplněna: A je 5, očekáváno 10.");

    render::Canvas failed(TaskPane::kWidth, 400);
    pane.draw(failed);
    CHECK(pixelsOf(failed, clRed) > 20);   // the ✗ of A and the line under the checks
    CHECK(pixelsOf(failed, clGreen) > 10); // the ✓ of the halt and of B

    // The student mends the program; the pane's machine is the window's, untouched.
    sim.loadProgram("0001 0101 1011 0101 1110");
    const ProcessorModel before = sim.model();
    const render::Box button = pane.buttonBox(TaskPane::CheckButton);
    CHECK(pane.click(button.x + 3, button.y + 3) == PaneAction::Redraw);
    CHECK(sim.model() == before);
    CHECK(pane.run().passed());
    REQUIRE_EQ(pane.code().size(), 16u);
    const DecodedCode back = decodeResultCode(pane.code(), pane.task().digest);
    CHECK(back.kind == DecodedCode::Ok && back.ram == sim.model().ram);
    CHECK_EQ(pane.announcement(), "Úloha splněna. Kód řešení: " + pane.code() + ".");
    render::Canvas passed(TaskPane::kWidth, 400);
    pane.draw(passed);
    CHECK_EQ(pixelsOf(passed, clRed), 0);
    CHECK(passed.pixels != failed.pixels);

    // Tab to "Zavřít úlohu", Space closes; a click beside the buttons does nothing.
    CHECK(pane.click(2, 2) == PaneAction::None);
    CHECK(pane.key(PaneKey::Tab) == PaneAction::Redraw);
    CHECK_EQ(pane.focus(), int(TaskPane::CloseButton));
    CHECK(pane.key(PaneKey::Space) == PaneAction::Close);
}

TEST_CASE(theStatementIsWrappedInsideThePane) {
    Simulator sim;
    TaskPane pane(task(kTask), sim.model());
    render::Canvas c(TaskPane::kWidth, 300);
    pane.draw(c);
    // Text only inside the margins, on more than one line.
    int inkRows = 0;
    for (int y = 20; y < pane.buttonBox(TaskPane::CheckButton).y; ++y) {
        bool ink = false;
        for (int x = 1; x < c.width; ++x) {
            const bool black = (c.at(x, y) & 0xFFFFFF) == clWindowText;
            ink = ink || black;
            if (black) CHECK(x >= 8 && x < TaskPane::kWidth - 8);
        }
        inkRows += ink;
    }
    CHECK(inkRows > 13);
}

TEST_CASE(predictionsRightAndWrongAgainstThePulses) {
    // The worked example after "provoz": pulse 1 counts IR to 1 and puts RAM[0] (LDA,
    // 1) on the bus; pulse 2 loads IR with 1, which it holds already; pulse 3 rests;
    // pulse 4 counts IR to 2; pulse 5 counts PC to 1; pulse 8 loads A with 5.
    Simulator sim;
    sim.loadProgram("0001 0101 1011 0101 1110");
    sim.Panel7Click();
    PredictionPane pane;
    const auto pulse = [&] {
        sim.Panel1Click();
        sim.Button1Click();
    };
    const auto predict = [&](int bus, Changed changed) {
        while (pane.guess().bus != bus) pane.key(PaneKey::Up, sim.model());
        pane.key(PaneKey::Tab, sim.model());
        while (pane.guess().changed != changed) pane.key(PaneKey::Down, sim.model());
        pane.key(PaneKey::BackTab, sim.model());
        const PaneAction a = pane.key(PaneKey::Enter, sim.model());
        CHECK(a == PaneAction::Pulse);
        pulse();
    };
    predict(1, Changed::Ir);
    CHECK_EQ(pane.verdict(), "Správně: sběrnice nese 1, mění se IR. (správně 1 z 1)");
    predict(1, Changed::Ir); // IR loads the value it has
    CHECK_EQ(pane.verdict(), "Špatně: sběrnice nese 1, nemění se nic (ne IR). (správně 1 z 2)");
    predict(1, Changed::None);
    predict(1, Changed::Ir);
    predict(2, Changed::Pc);
    CHECK_EQ(pane.verdict(), "Špatně: sběrnice nese 1 (ne 2), mění se PČ. (správně 3 z 5)");
    predict(1, Changed::None); // pulse 6: the rest state; the bus still carries 1
    predict(5, Changed::Ir);   // pulse 7: line 3 puts RAM[1] on the bus
    predict(5, Changed::A);    // pulse 8
    CHECK_EQ(pane.score().right, 6);
    CHECK_EQ(pane.score().asked, 8);
    CHECK_EQ(pane.score().longest, 3);
    CHECK_EQ(pane.score().streak, 3);
    CHECK_EQ(pane.score().text(), "správně 6 z 8");
    CHECK_EQ(sim.model().regA, 5);
    CHECK_EQ(sim.model().pc, 1);

    // The bus wraps round at 16 both ways; the register choice goes round too.
    PredictionPane round;
    round.key(PaneKey::Down, sim.model());
    CHECK_EQ(round.guess().bus, 15);
    round.key(PaneKey::Up, sim.model());
    CHECK_EQ(round.guess().bus, 0);
    round.key(PaneKey::Tab, sim.model());
    for (int i = 0; i < 5; ++i) round.key(PaneKey::Right, sim.model());
    CHECK(round.guess().changed == Changed::None);
    round.key(PaneKey::Tab, sim.model());
    CHECK_EQ(round.focus(), int(PredictionPane::VerifyButton));
    CHECK(round.key(PaneKey::Up, sim.model()) == PaneAction::None);
    const render::Box verify = round.controlBox(PredictionPane::VerifyButton);
    CHECK(round.click(verify.x + 2, verify.y + 2, sim.model()) == PaneAction::Pulse);
    CHECK_EQ(round.score().asked, 1);
    render::Canvas c(PredictionPane::kWidth, PredictionPane::kHeight);
    round.draw(c);
    CHECK(pixelsOf(c, clWindowText) > 200);
}

TEST_CASE(aTaskMayAskForPredictions) {
    Simulator sim;
    sim.loadProgram("0001 0101 1110");
    PredictionScore score;
    TaskPane pane(task("název: x\npředpovědí: 2\nočekávám: A = 5"), sim.model(), &score);
    pane.check();
    CHECK(!pane.run().passed());
    CHECK_EQ(pane.announcement(), "Úloha nesplněna: správných předpovědí v řadě: 0, potřeba 2.");
    score.record(true);
    score.record(false);
    score.record(true);
    score.record(true);
    pane.check();
    CHECK(pane.run().passed());
}

} // namespace

PLAIN_TEST_MAIN()
