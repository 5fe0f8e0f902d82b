#include "display/Accessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

#include <memory>
#include <optional>
#include <vector>

#include "display/TForm1.h"
#include "picture/DiagramLayout.h"

namespace procesor {

namespace {

using Element = screen::Screen::Element;

// The states a drawn control shows, compared between two updates.
struct Shown {
    QString name;
    bool disabled = false, pressed = false, checked = false, selected = false, invisible = false,
         focused = false;
    bool operator==(const Shown&) const = default;
};

class WindowAccessible;

// A child of the window without a widget of its own: it lives as long as the window
// does (forget() when the window goes) and has no children.
class LeafAccessible : public QAccessibleInterface {
public:
    explicit LeafAccessible(TForm1* form) : form_(form) {}
    void forget() { form_ = nullptr; }

    bool isValid() const override { return form_ != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return form_ ? form_->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return form_ ? QAccessible::queryAccessibleInterface(form_) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

protected:
    TForm1* form_;
};

// One drawn control of the diagram: no widget of its own, only its place, and the
// screen that names it, says its state and works it.
class ControlAccessible final : public LeafAccessible, public QAccessibleActionInterface {
public:
    ControlAccessible(TForm1* form, Element element, render::Box box)
        : LeafAccessible(form), element_(element), box_(box) {}

    Element element() const { return element_; }

    QString text(QAccessible::Text t) const override {
        if (!form_ || t != QAccessible::Name) return {};
        return QString::fromStdString(form_->diagramScreen().accessibleName(element_));
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!form_) return {};
        const QRect area = form_->diagramArea(box_); // at "1:1" smaller
        return {form_->mapToGlobal(area.topLeft()), area.size()};
    }
    QAccessible::Role role() const override {
        return element_.kind == Element::DataSwitch ? QAccessible::CheckBox : QAccessible::Button;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!form_) {
            s.invalid = true;
            return s;
        }
        const Shown now = shown();
        s.focusable = true;
        s.disabled = now.disabled;
        s.pressed = now.pressed;
        s.checkable = element_.kind == Element::DataSwitch || isModeButton();
        s.checked = now.checked;
        s.selectable = isModeButton();
        s.selected = now.selected;
        s.invisible = now.invisible;
        s.focused = now.focused;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override {
        if (element_.kind == Element::DataSwitch)
            return {pressAction(), toggleAction(), setFocusAction()};
        return {pressAction(), setFocusAction()};
    }
    void doAction(const QString& action) override {
        if (!form_) return;
        if (action == setFocusAction())
            form_->focusOn(element_);
        else if (action == pressAction() || action == toggleAction())
            form_->pressAt(QPoint(box_.x + box_.w / 2, box_.y + box_.h / 2));
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == pressAction()) return {QStringLiteral("space"), QStringLiteral("Return")};
        return {};
    }

    // What the control shows now, read from the screen.
    Shown shown() const {
        Shown s;
        if (!form_) return s;
        const screen::Screen& screen = form_->diagramScreen();
        const ElementState& el = screen.simulator().elements();
        const render::ControlLook pushed = screen.pushed();
        s.name = text(QAccessible::Name);
        s.focused = screen.focused() == element_;
        switch (element_.kind) {
        case Element::Panel: {
            const Rgb colour = el.panel[element_.number].colour;
            s.disabled = colour == clCream;
            s.pressed = colour == clTeal;
            s.selected = s.checked = colour == clLime;
            break;
        }
        case Element::DataSwitch:
            s.checked = el.button[element_.number].caption == "1";
            s.invisible = !el.button[element_.number].visible;
            s.pressed = pushed.dataSwitch == element_.number;
            break;
        case Element::Arrow:
            s.pressed = pushed.arrow == element_.number;
            break;
        default:
            break;
        }
        return s;
    }

private:
    bool isModeButton() const {
        return element_.kind == Element::Panel && (element_.number == 6 || element_.number == 7);
    }

    Element element_;
    render::Box box_;
};

// The sentence on the last clock pulse, as a notification shown anew after each pulse.
class PulseNoteAccessible final : public LeafAccessible {
public:
    explicit PulseNoteAccessible(TForm1* form) : LeafAccessible(form) {}

    QString text(QAccessible::Text t) const override {
        if (!form_ || (t != QAccessible::Name && t != QAccessible::Value)) return {};
        return form_->spoken();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!form_) return {};
        const QRect diagram =
            form_->diagramArea({0, 0, layout::kClientWidth, layout::kClientHeight});
        return {form_->mapToGlobal(diagram.topLeft()), diagram.size()};
    }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.readOnly = true;
        s.invalid = form_ == nullptr;
        return s;
    }
};

// The window: its real fields, the drawn controls and the notification, in Tab order.
class WindowAccessible final : public QAccessibleWidget {
public:
    explicit WindowAccessible(TForm1* form) : QAccessibleWidget(form, QAccessible::Window) {
        for (const layout::SwitchPlace& s : layout::dataSwitches())
            add(Element{Element::DataSwitch, s.button}, s.box);
        memoAfter_ = int(controls_.size());
        for (const screen::Screen::KeyboardControl& c : screen::Screen::keyboardControls())
            add(c.element, c.box);
        note_ = new PulseNoteAccessible(form);
        ids_.push_back(QAccessible::registerAccessibleInterface(note_));
        for (const ControlAccessible* c : controls_) last_.push_back(c->shown());
        lastFocus_ = form->diagramScreen().focused();
        // The window's children go before its members: the drawn controls stop
        // asking the screen from then on.
        auto* guard = new QObject(form);
        guard->setObjectName(QStringLiteral("AccessibleGuard"));
        QObject::connect(guard, &QObject::destroyed, [controls = controls_, note = note_] {
            for (ControlAccessible* c : controls) c->forget();
            note->forget();
        });
    }
    ~WindowAccessible() override {
        for (const QAccessible::Id id : ids_) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return int(children().size()); }
    QAccessibleInterface* child(int index) const override {
        const std::vector<QAccessibleInterface*> all = children();
        return index >= 0 && index < int(all.size()) ? all[std::size_t(index)] : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const std::vector<QAccessibleInterface*> all = children();
        for (std::size_t i = 0; i < all.size(); ++i)
            if (all[i] == child) return int(i);
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (QAccessibleInterface* c : children())
            if (c != note_ && !c->state().invisible && c->rect().contains(x, y)) return c;
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        const std::optional<Element> focus = form()->diagramScreen().focused();
        for (ControlAccessible* c : controls_)
            if (focus == c->element()) return c;
        return QAccessibleWidget::focusChild();
    }

    void refresh(bool newSentence) {
        for (std::size_t i = 0; i < controls_.size(); ++i) {
            const Shown now = controls_[i]->shown();
            const Shown was = std::exchange(last_[i], now);
            if (now.name != was.name) {
                QAccessibleEvent named(controls_[i], QAccessible::NameChanged);
                QAccessible::updateAccessibility(&named);
            }
            QAccessible::State changed;
            changed.disabled = now.disabled != was.disabled;
            changed.pressed = now.pressed != was.pressed;
            changed.checked = now.checked != was.checked;
            changed.invisible = now.invisible != was.invisible;
            if (changed.disabled || changed.pressed || changed.checked || changed.invisible) {
                QAccessibleStateChangeEvent event(controls_[i], changed);
                QAccessible::updateAccessibility(&event);
            }
            if (now.selected != was.selected) {
                QAccessibleEvent selection(controls_[i], QAccessible::Selection);
                QAccessible::updateAccessibility(&selection);
            }
        }
        const std::optional<Element> focus = form()->diagramScreen().focused();
        if (focus != std::exchange(lastFocus_, focus))
            for (ControlAccessible* c : controls_)
                if (focus == c->element()) {
                    QAccessibleEvent focused(c, QAccessible::Focus);
                    QAccessible::updateAccessibility(&focused);
                }
        if (newSentence) {
            QAccessibleEvent named(note_, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&named);
            QAccessibleEvent shown(note_, QAccessible::ObjectShow);
            QAccessible::updateAccessibility(&shown);
        }
    }

private:
    TForm1* form() const { return static_cast<TForm1*>(widget()); }

    void add(Element element, render::Box box) {
        auto* c = new ControlAccessible(form(), element, box);
        controls_.push_back(c);
        ids_.push_back(QAccessible::registerAccessibleInterface(c));
    }

    // The fields once the window has made them (right after its first frame).
    std::vector<QAccessibleInterface*> children() const {
        std::vector<QAccessibleInterface*> all;
        const auto field = [&](const char* name) {
            if (QWidget* w =
                    form()->findChild<QWidget*>(QLatin1String(name), Qt::FindDirectChildrenOnly))
                if (QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w))
                    all.push_back(i);
        };
        field("Edit17");
        for (int i = 0; i < int(controls_.size()); ++i) {
            if (i == memoAfter_) field("Memo1");
            all.push_back(controls_[std::size_t(i)]);
        }
        all.push_back(note_);
        return all;
    }

    std::vector<ControlAccessible*> controls_;
    int memoAfter_ = 0;
    PulseNoteAccessible* note_ = nullptr;
    std::vector<QAccessible::Id> ids_;
    std::vector<Shown> last_;
    std::optional<Element> lastFocus_;
};

QAccessibleInterface* accessibleFor(const QString&, QObject* object) {
    if (auto* form = qobject_cast<TForm1*>(object)) return new WindowAccessible(form);
    return nullptr;
}

} // namespace

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    (void)installed;
}

void accessibleUpdate(TForm1& form, bool newSentence) {
    if (!QAccessible::isActive()) return;
    if (auto* window =
            dynamic_cast<WindowAccessible*>(QAccessible::queryAccessibleInterface(&form)))
        window->refresh(newSentence);
}

} // namespace procesor
