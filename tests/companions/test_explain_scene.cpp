// What every explainer gets from the scene and its controls: the focus order over the
// enabled controls, Space and Enter on the focused one, a click only when the button
// goes up over the control it went down on, the held look, and changed rectangles
// that are empty when nothing changed and cover what did; and the texts they share.

#include "companions/common/Controls.h"
#include "companions/common/Texts.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace procesor::explain;

namespace {

class Trial final : public Scene {
public:
    Trial()
        : Scene(200, 100), first(Point{10, 10}, "první"), bit(Point{100, 10}),
          lamp({10, 50}, "A/W") {
        add(first);
        add(off);
        add(bit);
        add(lamp);
        off.setEnabled(false);
        first.onClick = [this] { ++clicks; };
    }
    std::string title() const override { return "Zkouška"; }
    PushButton first;
    PushButton off{Box{150, 60, 40, 25}, "ne"};
    BitCell bit;
    Lamp lamp;
    int clicks = 0;

protected:
    void paint(Canvas&) const override {}
};

Point centre(const Control& c) {
    return {c.box().x + c.box().w / 2, c.box().y + c.box().h / 2};
}

bool covered(const std::vector<Box>& boxes, Box area) {
    for (int y = area.y; y < area.y + area.h; ++y)
        for (int x = area.x; x < area.x + area.w; ++x) {
            bool in = false;
            for (const Box& b : boxes) in = in || b.contains(x, y);
            if (!in) return false;
        }
    return true;
}

} // namespace

int main() {
    Trial t;
    CHECK_EQ(t.render().size(), 1u); // the whole canvas first
    CHECK(t.render().empty());       // then nothing, as nothing changed
    CHECK_EQ(t.focus(), 0);

    // Tab skips the disabled button and wraps; BackTab goes back.
    t.key(Key::Tab);
    CHECK_EQ(t.focus(), 2);
    t.key(Key::Tab);
    t.key(Key::Tab);
    CHECK_EQ(t.focus(), 0);
    t.key(Key::BackTab);
    CHECK_EQ(t.focus(), 3);

    // Space and Enter click the focused control; the lamp toggles.
    t.key(Key::Space);
    CHECK(t.lamp.on());
    const std::vector<Box> lit = t.render();
    CHECK(covered(lit, {t.lamp.box().x + 8, t.lamp.box().y + 9, 3, 3})); // the disc
    t.key(Key::BackTab);
    t.key(Key::BackTab);
    t.key(Key::Enter);
    CHECK_EQ(t.clicks, 1);

    // Held: pushed in, popped out while the pointer is off it, no click when let go
    // elsewhere; a click on the disabled button does nothing.
    const Point b = centre(t.first);
    t.render();
    const std::uint32_t raised = t.canvas().at(t.first.box().x, t.first.box().y);
    t.mouseDown(b.x, b.y);
    t.render();
    CHECK(t.canvas().at(t.first.box().x, t.first.box().y) != raised);
    t.mouseMove(199, 99);
    t.render();
    CHECK_EQ(t.canvas().at(t.first.box().x, t.first.box().y), raised);
    t.mouseUp(199, 99);
    CHECK_EQ(t.clicks, 1);
    t.mouseDown(b.x, b.y);
    t.mouseUp(b.x, b.y);
    CHECK_EQ(t.clicks, 2);
    const Point o = centre(t.off);
    t.mouseDown(o.x, o.y);
    t.mouseUp(o.x, o.y);
    CHECK(t.focus() != 1);

    // A click gives the focus; a bit cell toggles.
    const Point c = centre(t.bit);
    t.mouseDown(c.x, c.y);
    t.mouseUp(c.x, c.y);
    CHECK(t.bit.on());
    CHECK_EQ(t.focus(), 2);

    // The texts every explainer writes codes and sentences with: a code in binary with
    // its mnemonic kept on its line, Czech line breaking (no one-letter word at a
    // line's end, a sum whole).
    CHECK_EQ(codeName(1), "0001\u00A0(LDA)");
    CHECK_EQ(codeName(15), "1111\u00A0(NOP)");
    CHECK_EQ(codeName(7), "0111");
    // Czech typesetting, one table for all six ('~' is the blank that never breaks).
    const struct {
        const char* text;
        const char* set;
    } kTypeset[] = {
        {"5 + 3 = 8 v registru A", "5~+~3~=~8 v~registru A"},
        {"14 − 16 a IR/W = 1", "14~−~16 a~IR/W~=~1"},
        {"sčítačka a registr", "sčítačka a~registr"},
        {"z RAM i z IR, k PČ, o 1, s A, u B", "z~RAM i~z~IR, k~PČ, o~1, s~A, u~B"},
        {"V klidu. A pak. Z RAM", "V~klidu. A~pak. Z~RAM"},
        {"registr A převzal, dekodér V", "registr A převzal, dekodér V"}, // names stay free
        {"až ve fázi Φ2, fáze Φ1 a Φ2", "až ve fázi~Φ2, fáze~Φ1 a~Φ2"},
        {"po 15 (1111) následuje 0 (0000)", "po 15~(1111) následuje 0~(0000)"},
        {"kód 0111 (7) a 0001 (LDA)", "kód 0111~(7) a~0001~(LDA)"},
        {"„ručně“ a\nv klidu", "„ručně“ a\nv~klidu"},
    };
    for (const auto& row : kTypeset) {
        std::string want = row.set;
        for (std::size_t at = want.find('~'); at != std::string::npos; at = want.find('~'))
            want.replace(at, 1, "\u00A0");
        CHECK_EQ(typeset(row.text), want);
        CHECK_EQ(typeset(typeset(row.text)), want); // twice changes nothing more
    }
    CHECK_EQ(both(7), "0111\u00A0(7)");
    // The clock's three states, the Phi2 state named with both phases lit.
    ProcessorModel m;
    CHECK_EQ(clockCaption(m, false), "hodiny: klid");
    m.phi1 = true;
    CHECK_EQ(clockCaption(m, false), "hodiny: fáze Φ1");
    m.phi2 = true;
    CHECK_EQ(clockCaption(m, false), "hodiny: fáze Φ2 (Φ1 i Φ2)");
    CHECK_EQ(clockCaption(m, true), "hodiny stojí");
    // The stepping row, the same in every explainer.
    StepButtons row(400);
    CHECK_EQ(row.pulse.caption(), "ručně");
    CHECK_EQ(row.microstep.caption(), "do konce mikrokroku");
    CHECK_EQ(row.restart.caption(), "od začátku");
    CHECK(row.pulse.box().x < row.microstep.box().x && row.microstep.box().x < row.restart.box().x);
    return testing::checkFailures();
}
