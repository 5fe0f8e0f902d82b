#include "screen/TaskPane.h"

#include <algorithm>
#include <utility>

#include "model/ResultCode.h"
#include "picture/Paint.h"
#include "picture/Text.h"

namespace procesor {

using render::Box;
using render::Canvas;
using render::Face;

namespace {

constexpr int kMargin = 8;
constexpr int kLine = 13; // Face::Window
constexpr int kButtonHeight = 23;
constexpr Rgb kPaneColour = clCream;

// The text broken at blanks into lines no wider than `width` (a word wider than that
// stands on a line of its own).
std::vector<std::string> wrapped(const std::string& text, int width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty()) continue;
        std::string longer = line;
        if (!longer.empty()) longer += ' ';
        longer += word;
        if (!line.empty() && render::textWidth(Face::Window, longer) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = std::move(longer);
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

void button(Canvas& c, Box box, std::string_view caption, bool focused) {
    const Box all{0, 0, c.width, c.height};
    render::edge(c, box, render::kRaisedButton, &render::kFace, all);
    const int w = render::textWidth(Face::Window, caption);
    render::drawText(c, Face::Window, box.x + (box.w - w) / 2, box.y + (box.h - kLine) / 2, caption,
                     clWindowText, all);
    if (focused) render::focusFrame(c, render::shrink(box, 4, 4, 4, 4), all);
}

// ✓ in green or ✗ in red, 9 x 9 pixels, drawn from its strokes (the window's face has
// neither sign).
void mark(Canvas& c, int x, int y, bool passed) {
    const auto dot = [&](int px, int py, Rgb ink) { c.fill({x + px, y + py, 2, 2}, ink); };
    if (passed) {
        for (int i = 0; i < 3; ++i) dot(i, 4 + i, clGreen);
        for (int i = 0; i < 6; ++i) dot(2 + i, 6 - i, clGreen);
    } else {
        for (int i = 0; i < 8; ++i) {
            dot(i, i, clRed);
            dot(7 - i, i, clRed);
        }
    }
}

} // namespace

// ---- the task pane ------------------------------------------------------------

TaskPane::TaskPane(Task task, const ProcessorModel& machine, const PredictionScore* score)
    : task_(std::move(task)), machine_(machine), score_(score) {}

Box TaskPane::buttonBox(Control control) const {
    const int statementLines = int(wrapped(task_.statement, kWidth - 2 * kMargin).size());
    const int nameLines = int(wrapped(task_.name, kWidth - 2 * kMargin).size());
    const int y = kMargin + (nameLines + statementLines) * kLine + 10;
    return control == CheckButton ? Box{kMargin, y, 104, kButtonHeight}
                                  : Box{kWidth - kMargin - 104, y, 104, kButtonHeight};
}

void TaskPane::check() {
    run_ = runTask(task_, machine_.ram, score_ ? score_->longest : -1);
    checked_ = true;
    if (run_.passed()) {
        code_ = resultCode(machine_.ram, task_.digest);
        announcement_ = "Úloha splněna. Kód řešení: " + code_ + ".";
    } else {
        code_.clear();
        announcement_ = "Úloha nesplněna: " + run_.firstFailure()->sentence + ".";
    }
}

PaneAction TaskPane::press(int control) {
    if (control == CloseButton) {
        announcement_ = "Úloha zavřena.";
        return PaneAction::Close;
    }
    check();
    return PaneAction::Redraw;
}

PaneAction TaskPane::key(PaneKey key) {
    switch (key) {
    case PaneKey::Tab:
    case PaneKey::BackTab:
    case PaneKey::Left:
    case PaneKey::Right:
    case PaneKey::Up:
    case PaneKey::Down:
        focus_ = focus_ == CheckButton ? CloseButton : CheckButton;
        return PaneAction::Redraw;
    case PaneKey::Space:
    case PaneKey::Enter:
        return press(focus_);
    }
    return PaneAction::None;
}

PaneAction TaskPane::click(int x, int y) {
    for (const Control c : {CheckButton, CloseButton}) {
        if (buttonBox(c).contains(x, y)) {
            focus_ = c;
            return press(c);
        }
    }
    return PaneAction::None;
}

void TaskPane::draw(Canvas& c, bool focused) const {
    const Box all{0, 0, c.width, c.height};
    c.fill(all, kPaneColour);
    c.fill({0, 0, 1, c.height}, clWindowText);
    const int textWidth = kWidth - 2 * kMargin;
    int y = kMargin;
    for (const std::string& line : wrapped(task_.name, textWidth)) {
        render::drawText(c, Face::WindowBold, kMargin, y, line, clWindowText, all);
        y += kLine;
    }
    for (const std::string& line : wrapped(task_.statement, textWidth)) {
        render::drawText(c, Face::Window, kMargin, y, line, clWindowText, all);
        y += kLine;
    }
    button(c, buttonBox(CheckButton), "Zkontrolovat", focused && focus_ == CheckButton);
    button(c, buttonBox(CloseButton), "Zavřít úlohu", focused && focus_ == CloseButton);
    y = buttonBox(CheckButton).y + kButtonHeight + 10;
    if (!checked_) return;
    for (const CheckOutcome& o : run_.outcomes) {
        mark(c, kMargin, y + 2, o.passed);
        for (const std::string& line : wrapped(o.sentence, textWidth - 16)) {
            render::drawText(c, Face::Window, kMargin + 16, y, line, clWindowText, all);
            y += kLine;
        }
        y += 2;
    }
    y += 6;
    if (!code_.empty()) {
        render::drawText(c, Face::Window, kMargin, y, "kód řešení:", clWindowText, all);
        render::drawText(c, Face::WindowBold, kMargin + 70, y, code_, clWindowText, all);
    } else {
        render::drawText(c, Face::Window, kMargin, y, "Úloha zatím není splněna.", clRed, all);
    }
}

// ---- the prediction pane --------------------------------------------------------

Box PredictionPane::controlBox(Control control) const {
    switch (control) {
    case BusField:
        return {120, 30, 60, 20};
    case ChangedField:
        return {120, 56, 60, 20};
    case VerifyButton:
        return {kMargin, 84, 100, kButtonHeight};
    }
    return {};
}

void PredictionPane::step(int by) {
    if (focus_ == BusField) guess_.bus = (guess_.bus + by + 16) % 16;
    if (focus_ == ChangedField) {
        const int n = int(std::size(kChangedChoices));
        const auto at =
            std::find(std::begin(kChangedChoices), std::end(kChangedChoices), guess_.changed) -
            std::begin(kChangedChoices);
        guess_.changed = kChangedChoices[std::size_t((at + by + n) % n)];
    }
}

PaneAction PredictionPane::verify(const ProcessorModel& machine) {
    const PulseGuess truth = nextPulse(machine);
    score_.record(truth == guess_);
    verdict_ = predictionVerdict(guess_, truth) + " (" + score_.text() + ")";
    return PaneAction::Pulse;
}

PaneAction PredictionPane::key(PaneKey key, const ProcessorModel& machine) {
    switch (key) {
    case PaneKey::Tab:
        focus_ = (focus_ + 1) % 3;
        return PaneAction::Redraw;
    case PaneKey::BackTab:
        focus_ = (focus_ + 2) % 3;
        return PaneAction::Redraw;
    case PaneKey::Up:
    case PaneKey::Right:
        if (focus_ == VerifyButton) return PaneAction::None;
        step(1);
        return PaneAction::Redraw;
    case PaneKey::Down:
    case PaneKey::Left:
        if (focus_ == VerifyButton) return PaneAction::None;
        step(-1);
        return PaneAction::Redraw;
    case PaneKey::Enter:
        return verify(machine);
    case PaneKey::Space:
        if (focus_ == VerifyButton) return verify(machine);
        step(1);
        return PaneAction::Redraw;
    }
    return PaneAction::None;
}

PaneAction PredictionPane::click(int x, int y, const ProcessorModel& machine) {
    for (const Control c : {BusField, ChangedField, VerifyButton}) {
        if (!controlBox(c).contains(x, y)) continue;
        focus_ = c;
        if (c == VerifyButton) return verify(machine);
        step(1);
        return PaneAction::Redraw;
    }
    return PaneAction::None;
}

void PredictionPane::draw(Canvas& c, bool focused) const {
    const Box all{0, 0, c.width, c.height};
    c.fill(all, kPaneColour);
    c.fill({0, 0, 1, c.height}, clWindowText);
    render::drawText(c, Face::WindowBold, kMargin, kMargin, "Předpovídat", clWindowText, all);
    render::drawText(c, Face::Window, kMargin, 33, "sběrnice po taktu:", clWindowText, all);
    render::drawText(c, Face::Window, kMargin, 59, "změní se:", clWindowText, all);
    const std::string fields[] = {std::to_string(guess_.bus), changedName(guess_.changed)};
    for (const Control f : {BusField, ChangedField}) {
        const Box box = controlBox(f);
        render::edge(c, box, render::kSunkenField, &render::kHighlight, all);
        render::drawText(c, Face::Window, box.x + 5, box.y + 4, fields[f], clWindowText, all);
        if (focused && focus_ == f) render::focusFrame(c, render::shrink(box, 2, 2, 2, 2), all);
    }
    button(c, controlBox(VerifyButton), "Ověřit", focused && focus_ == VerifyButton);
    render::drawText(c, Face::Window, 124, 89, score_.text(), clWindowText, all);
    int y = 114;
    for (const std::string& line : wrapped(verdict_, kWidth - 2 * kMargin)) {
        render::drawText(c, Face::Window, kMargin, y, line, clWindowText, all);
        y += kLine;
    }
}

} // namespace procesor
