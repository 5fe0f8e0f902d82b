#pragma once

#include <QWidget>
#include <array>
#include <optional>

#include "companions/vondrel/ControlUnit.h"

class QLabel;
class QButtonGroup;

namespace companion {

class BitToggle;
class PanelButton;

// The decoders drawn as the diagram draws them: IR with its four microaddress lines
// into the microprogram memory, the source decoder ZDROJE, the destination decoder
// URČENÍ and the O/K line, each control line red while its signal is active.
class DecoderView : public QWidget {
    Q_OBJECT
public:
    explicit DecoderView(QWidget* parent = nullptr);
    // `chosen` is false until the student picks an instruction: then IR shows no value.
    void setState(bool chosen, int ir, unsigned controls, bool decoded, bool halted);
    QSize sizeHint() const override { return minimumSize(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool chosen_ = false;
    int ir_ = 0;
    unsigned controls_ = 0;
    bool decoded_ = false;
    bool halted_ = false;
};

class ControlUnitWindow : public QWidget {
    Q_OBJECT
public:
    explicit ControlUnitWindow(QWidget* parent = nullptr);

    // The instruction being stepped through; none until the student chooses one, since
    // the window cannot know which line of the listing was clicked to open it.
    const std::optional<MicrostepTour>& tour() const { return tour_; }

private:
    void choose(int opcode);
    void step();
    void restart();
    void refresh();
    QString stepText() const;

    std::optional<MicrostepTour> tour_;
    std::array<QLabel*, 16> lineLabels_{};
    std::array<QLabel*, 16> nameLabels_{}; // only beside the first line of a routine
    BitToggle* opcode_ = nullptr;
    BitToggle* ir_ = nullptr;
    DecoderView* decoders_ = nullptr;
    QButtonGroup* instructions_ = nullptr;
    PanelButton* step_ = nullptr;
    PanelButton* restart_ = nullptr;
    QLabel* text_ = nullptr;
};

} // namespace companion
