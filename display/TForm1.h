#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "display/CompanionLauncher.h"
#include "display/ShownPicture.h"
#include "panel/Simulator.h"
#include "picture/Scaling.h"
#include "screen/Screen.h"
#include "screen/TaskPane.h"

class QMenu;
class QMessageBox;
class QPainter;
class QPlainTextEdit;

namespace procesor {

class ExplainerServer;
class SpeedField;
class TimingWindow;

// The one window. Its client area shows the picture that screen::Screen draws of
// the processor's block diagram, copied rectangle by rectangle as it changes; the
// speed field and the instruction box are real editable fields laid over the frames
// drawn for them. Clicks and keys go to the screen with the time of the window's
// clock, which calls the handlers and runs the timers' ticks; the window carries out
// the update each event returns: it copies what changed, brings the speed field in
// line, sets the wake, moves the keyboard focus, opens the error box and starts the
// companion.
class TForm1 final : public QWidget {
    Q_OBJECT
public:
    using Handler = void (Simulator::*)();

    // Without a launcher, companions are started as processes beside the simulator.
    explicit TForm1(std::unique_ptr<CompanionLauncher> launcher = nullptr,
                    QWidget* parent = nullptr);
    ~TForm1() override;

    const Simulator& simulator() const { return screen_.simulator(); }
    Simulator& simulator() { return screen_.simulator(); } // e.g. to put a program into RAM
    const screen::Screen& diagramScreen() const { return screen_; }
    screen::Screen& diagramScreen() { return screen_; }
    // The window's clock, in ms since it opened: the time every event takes.
    screen::Millis now() const { return clock_.elapsed(); }

    // Runs a handler as a click does, then brings the window in line.
    void run(Handler handler);
    // A tick of TimerN (1..5) now, ahead of its time, if the timer runs.
    void timerTick(int timer);
    // A screen reader's action: a click at a client pixel, the button going down and
    // up at once; the keyboard focus put on a control of the diagram.
    void pressAt(QPoint at);
    void focusOn(const screen::Screen::Element& element);

    // Makes the editable fields and the controls' places in the tab order, which the
    // window otherwise makes right after its first frame; any event makes them too.
    void ensureControls();
    // Work of start-up that the first frame need not wait for (a program file of the
    // command line; later a local server, a history): runs from the event loop once
    // the first frame is out, after the controls are made; at once (queued) if it is.
    void afterFirstFrame(std::function<void()> work);

    // Offers the machine to the explainers on a local server of this name (the
    // user's by default; display/ExplainerServer.h); none when another simulator
    // serves it already. Started after the first frame.
    void serveExplainers(const QString& name = {});
    const ExplainerServer* explainerServer() const { return server_.get(); }

    // The error message box currently open, if any.
    QMessageBox* errorBox() const;
    // What a screen reader is told after the last clock pulse: the microprogram line,
    // the bus and the registers that changed (the window's accessible description).
    QString spoken() const { return spoken_; }

    // A program file given on the command line or dropped on the window: brought in
    // as a program (or refused with the error box), see screen::Screen::openFile.
    void openFile(const QString& path);
    // A task (a text with a "název:" line) opens its pane beside the diagram and the
    // window grows by the pane's width; a bad one only shows the error box.
    void openTask(const std::string& text, const std::string& fileName = {});
    const TaskPane* taskPane() const { return screen_.taskPane(); }

    // The projector's view (F11; F11 or Escape back): the window full screen with the
    // diagram alone, fitted to the whole screen by the picture's one rule and centred on
    // black; clicks land where they do on the diagram. The editable fields make way
    // for the picture, which draws their texts.
    void setProjector(bool on);
    bool projector() const { return projector_; }
    // "1:1" (Ctrl+0 and the context menu, kept by the screen): the diagram and the panes
    // at one device pixel per pixel, at the top left, the window keeping its size; the
    // fields, the clicks and the screen reader's places follow. The projector's view
    // ignores it and leaves it as it was. At a ratio of 1 nothing changes.
    bool actualSize() const;
    // The window's area that shows the diagram's pixels in `box`.
    QRect diagramArea(const render::Box& box) const;

    // A command of the diagram's context menu given (screen/Commands.h), and what the
    // screen leaves of it carried out: the timing window opened, the clipboard, a file.
    void give(screen::Command command);
    void carryOut(screen::Command command);
    // The context menu at a point of the screen; the one open, if any.
    void showCommandMenu(QPoint globalAt);
    QMenu* commandMenu() const;
    // "Časový diagram", once opened.
    TimingWindow* timingWindow() const;
    // The machine moved by another window (the timing diagram's): shown here too.
    void refresh();
    // A failure of the window's own (a file not written) in the error box.
    void reportError(const std::string& message);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Ctrl+C and Ctrl+V on the diagram, Space, Enter, Up and Down on the drawn
    // control with the focus; Tab and Shift+Tab from anywhere in the window.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A right click and the Menu key: the context menu of the commands.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void createControls();
    void firstFrameOut();
    void ensurePicture();
    void showError(const std::string& message);
    void wake();
    void showPanes();
    void pasteText(const std::string& text, bool dropped);
    void apply(const screen::Screen::Update& update);
    void showFocus(const std::optional<screen::Screen::Element>& focus);
    void focusMoved(QWidget* old, QWidget* now);
    void fieldsChanged();
    void paintProjector(QPainter& p);
    Q_INVOKABLE void placeFields();
    QPoint diagramMiddle() const;
    QPoint diagramPoint(QPointF at) const;
    // The picture's pixels in `box` drawn anew: shown when next painted.
    void changed(const render::Box& box);

    screen::Screen screen_;
    std::unique_ptr<CompanionLauncher> launcher_;
    std::unique_ptr<ExplainerServer> server_;
    QImage view_; // the screen's pixels, not copied
    // The diagram at the window's device pixel ratio, by the picture's rule: each pixel
    // grown sharply at a whole ratio, made to the device pixels at 1.25, 1.5 or 1.75.
    ShownPicture shown_;
    QElapsedTimer clock_;
    bool projector_ = false;
    ShownPicture projected_{ShownPicture::Place::Centre}; // fitted to the whole screen

    SpeedField* edit17_ = nullptr;
    QPlainTextEdit* memo1_ = nullptr;
    qreal fieldsScale_ = 0; // picture pixels per pixel of the fields as placed (0: not yet)
    qreal fieldsRatio_ = 0; // the device pixel ratio they were placed at
    QTimer* wake_ = nullptr; // one shot, at the screen's next due tick
    QPointer<QMessageBox> errorBox_;
    QTimer firstFrameTimer_; // zero time, single shot: firstFrameOut from the event loop
    bool firstFramePainted_ = false;
    bool firstFrameOut_ = false;
    std::vector<std::function<void()>> afterFirstFrame_;
    // The screen's panes beside the diagram, shown by the same rule as the diagram.
    ShownPicture panesShown_;
    QString spoken_;
    bool movingFocus_ = false; // the window itself moves the focus the screen chose
    QPointer<QMenu> commandMenu_;
    QPointer<TimingWindow> timing_;
};

} // namespace procesor
