#pragma once

#include <optional>
#include <string>
#include <vector>

#include <memory>

#include "model/MachineMessage.h"
#include "picture/Canvas.h"
#include "picture/Element.h"

// An explainer as every front end drives it: its picture drawn into a canvas with
// the built-in fonts, the changed rectangles after each event, where a click lands,
// the keyboard focus and the keys. Standard C++ only: the desktop's small Qt shell
// and the web page show the same pixels.
namespace procesor::explain {

using render::Box;
using render::Canvas;

// The keys an explainer takes. Escape is the front end's own: it closes the window.
enum class Key { Tab, BackTab, Space, Enter, Left, Right, Up, Down };

// The diagram's element the explainer was opened from (the web page opens it on the
// element clicked; the desktop programs are started without one).
struct Opening {
    ElementKind kind;
    int number; // Image9 -> {Image, 9}, Label17 -> {Label, 17}
};

class Control;

class Scene {
public:
    Scene(int width, int height);
    virtual ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // The window's title, as the desktop's title bar and the page's window show it.
    virtual std::string title() const = 0;
    // The sentence under the picture that says what the last step did, for a screen
    // reader; empty for a scene without one.
    virtual std::string spoken() const { return {}; }
    int width() const { return canvas_.width; }
    int height() const { return canvas_.height; }

    // Draws the scene anew and returns the rectangles that differ from the picture
    // of the last call: the whole canvas on the first call, none when nothing changed.
    std::vector<Box> render();
    // The picture; its pixels stay where they are for the scene's whole life.
    const Canvas& canvas() const { return canvas_; }

    // The left mouse button at a canvas pixel. A control takes the click when the
    // button goes up over the control it went down on; it looks pushed in while held
    // and pops out while the pointer is off it. A click gives the control the focus.
    void mouseDown(int x, int y);
    void mouseMove(int x, int y);
    void mouseUp(int x, int y);

    // Tab and BackTab move the focus through the enabled controls in the order they
    // were added, the arrows the same way unless the scene uses them; Space and Enter
    // click the control with the focus. Returns whether the key did anything.
    bool key(Key key);

    // The control with the keyboard focus, -1 for none; the control at a pixel.
    int focus() const { return focus_; }
    int controlAt(int x, int y) const;
    const Control& control(int index) const { return *controls_[std::size_t(index)]; }
    int controlCount() const { return int(controls_.size()); }

    // Controls in focus order; they belong to the scene (usually its members).
    void add(Control& control);

    // The student's simulator (Following.cpp). Its first state shows the switch
    // "sledovat simulátor", on, after the scene's own controls; while it is on, the
    // scene shows each state it is given as its own machine. A click or key on any
    // other control switches following off first, so the scene then works on its own
    // copy; the switch turns it on again with the simulator's latest state.
    // simulatorGone() ends following and hides the switch.
    void simulatorState(const MachineMessage& state);
    void simulatorGone();
    bool following() const { return following_; }
    bool simulatorThere() const { return latest_.has_value(); }
    // The switch, nullptr before a simulator was there.
    const Control* followSwitch() const { return follow_.get(); }

protected:
    // The picture under the controls, drawn whole on a canvas of the scene's size;
    // the controls are drawn over it afterwards.
    virtual void paint(Canvas& canvas) const = 0;
    // A key the scene uses itself before the focus does; true when it did.
    virtual bool keyPressed(Key) { return false; }
    // Shows the simulator's machine (and its listing line) as the scene's own.
    virtual void adopt(const MachineMessage&) {}
    // A control that only chooses what the scene shows (a gate, a register): working
    // it keeps following, and the scene shows the simulator's machine again after it.
    void viewOnly(const Control& control);

private:
    void moveFocus(int step);
    bool focusable(int index) const;
    // Before a control other than the switch is worked: following ends.
    void beforeClick(const Control& control);
    void afterClick(const Control& control);
    void setFollowing(bool on);

    std::unique_ptr<Control> follow_; // the switch "sledovat simulátor"
    std::vector<const Control*> viewOnly_;
    std::optional<MachineMessage> latest_;
    bool following_ = false;

    std::vector<Control*> controls_;
    Canvas canvas_;  // the picture as last handed out
    Canvas drawing_; // drawn anew each time, then compared
    bool drawnOnce_ = false;
    int focus_ = -1;
    int held_ = -1;
    bool overHeld_ = false;
};

} // namespace procesor::explain
