#pragma once

#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

#include "display/CompanionLauncher.h"
#include "panel/ElementState.h"
#include "display/Fonts.h"
#include "panel/Simulator.h"

class QMessageBox;
class QPainter;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace procesor {

class PanelButton;
class UpDownArrows;

// The one window. Its whole client area is the processor's block diagram, painted
// from the layout tables and the element state; the operator's controls sit on it
// as child widgets. Every click and every timer tick calls one handler of the
// simulator, after which the window brings its widgets and timers in line with the
// element state and repaints what changed.
class TForm1 final : public QWidget {
    Q_OBJECT
public:
    using Handler = void (Simulator::*)();

    // Without a launcher, companions are started as processes beside the simulator.
    explicit TForm1(std::unique_ptr<CompanionLauncher> launcher = nullptr,
                    QWidget* parent = nullptr);
    ~TForm1() override;

    const Simulator& simulator() const { return sim_; }
    Simulator& simulator() { return sim_; } // e.g. to put a program into RAM
    const Fonts& fonts() const { return fonts_; }

    // Runs a handler as a click or a tick does, then brings the window in line.
    void run(Handler handler);

    // The error message box currently open, if any.
    QMessageBox* errorBox() const;

    // Where a label lies now: its bar follows the width of its caption.
    QRect labelRect(int label) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Element {
        CompanionClick::Kind kind;
        int number;
        bool operator==(const Element&) const = default;
    };
    struct DrawnLabel {
        QString caption;
        QRect bar;
    };

    void createControls();
    void showError(const std::string& message);
    void timer1Tick();
    void sync();
    void applyWidgets(bool force);
    void setLabel(int number, const Label& label);
    const TextFace& face(int label) const;
    void buildLayers(qreal dpr);
    void paintArea(QPainter& p, QRect area) const;
    std::optional<Element> elementAt(QPoint p) const;

    Fonts fonts_;
    Simulator sim_;
    std::unique_ptr<CompanionLauncher> launcher_;
    ElementState drawn_; // what the window shows now

    std::array<DrawnLabel, ElementState::kLabels> labels_;
    std::array<QRect, ElementState::kImages> imageAreas_;
    QRegion blockArea_; // where block pictures lie

    std::array<PanelButton*, ElementState::kPanels> panels_{};
    std::array<QPushButton*, ElementState::kButtons> buttons_{};
    QLineEdit* edit17_ = nullptr;
    UpDownArrows* upDown1_ = nullptr;
    QPlainTextEdit* memo1_ = nullptr;
    std::array<QTimer*, ElementState::kTimers> timers_{};
    QPointer<QMessageBox> errorBox_;

    // The static pictures, drawn once: background with wires and dots; the blocks
    // (transparent elsewhere); the closed bus switch, shown in programming mode.
    QPixmap wiring_;
    QPixmap blocks_;
    QPixmap closedSwitch_;
    qreal layersDpr_ = 0;

    std::optional<Element> pressed_;
};

} // namespace procesor
