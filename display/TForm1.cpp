#include "display/TForm1.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtMath>

#include <algorithm>
#include <limits>
#include <utility>

#include "display/Artwork.h"
#include "display/Controls.h"
#include "panel/SignalOverlays.h"
#include "renderer/DiagramLayout.h"
#include "renderer/Routes.h"

namespace procesor {

namespace {

QPalette classicPalette(QPalette pal) {
    pal.setColor(QPalette::Window, colour(clInactiveBorder));
    pal.setColor(QPalette::WindowText, colour(clWindowText));
    pal.setColor(QPalette::Button, colour(clInactiveBorder));
    pal.setColor(QPalette::ButtonText, colour(clWindowText));
    pal.setColor(QPalette::Light, colour(kBevelLight));
    pal.setColor(QPalette::Midlight, colour(clInactiveBorder));
    pal.setColor(QPalette::Dark, colour(kBevelDark));
    pal.setColor(QPalette::Mid, colour(0xA0A0A0));
    pal.setColor(QPalette::Shadow, colour(0x404040));
    pal.setColor(QPalette::Base, colour(clWhite));
    pal.setColor(QPalette::Text, colour(clWindowText));
    pal.setColor(QPalette::Highlight, colour(0x0A246A));
    pal.setColor(QPalette::HighlightedText, colour(clWhite));
    return pal;
}

// The text of the error box. A typed speed so long that the box would not fit on
// the screen is cut short in its middle; the message keeps its form.
QString boxedMessage(const std::string& message, const QFontMetrics& metrics, QScreen* screen) {
    const QString text = QString::fromStdString(message);
    const QString tail = QStringLiteral("' is not a valid integer value");
    if (!text.startsWith(QLatin1Char('\'')) || !text.endsWith(tail)) return text;
    const int screenWidth = screen ? screen->availableGeometry().width() : 640;
    const int room = std::min(480, screenWidth / 2) - metrics.horizontalAdvance(tail);
    const QString typed = text.mid(1, text.size() - 1 - tail.size());
    return QLatin1Char('\'') + metrics.elidedText(typed, Qt::ElideMiddle, std::max(room, 40)) +
           tail;
}

QPixmap emptyLayer(QSize logical, qreal dpr) {
    QPixmap layer(qCeil(logical.width() * dpr), qCeil(logical.height() * dpr));
    layer.setDevicePixelRatio(dpr);
    layer.fill(Qt::transparent);
    return layer;
}

// Draws the part of a full-window layer that lies in area.
void drawLayer(QPainter& p, const QPixmap& layer, QRect area) {
    const qreal dpr = layer.devicePixelRatio();
    p.drawPixmap(QRectF(area), layer,
                 QRectF(area.x() * dpr, area.y() * dpr, area.width() * dpr, area.height() * dpr));
}

const layout::Block& blockOf(int image) {
    for (const layout::Block& b : layout::blocks())
        if (b.image == image) return b;
    return layout::blocks().front();
}

} // namespace

TForm1::TForm1(std::unique_ptr<CompanionLauncher> launcher, QWidget* parent)
    : QWidget(parent), sim_([this](const std::string& message) { showError(message); }),
      launcher_(launcher
                    ? std::move(launcher)
                    : std::make_unique<ProcessLauncher>(QCoreApplication::applicationDirPath())),
      drawn_(sim_.elements()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Procesor"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setPalette(classicPalette(palette()));
    setFont(fonts_.widgetFont(devicePixelRatioF()));
    // The standard resizable frame; the diagram stays at the top left, unscaled.
    resize(layout::kClientWidth, layout::kClientHeight);
    move(layout::kFrameLeft, layout::kFrameTop);

    for (const layout::Wire& w : layout::wires()) imageAreas_[w.image] = boxRect(w.box());
    for (const layout::Dot& d : layout::dots()) imageAreas_[d.image] = boxRect(d.box());
    for (const layout::Block& b : layout::blocks()) {
        imageAreas_[b.image] = boxRect(b.picture);
        blockArea_ += boxRect(b.picture);
    }
    for (const layout::Overlay& o : layout::overlays()) imageAreas_[o.image] = boxRect(o.red);
    for (const layout::LabelPlace& place : layout::labels())
        setLabel(place.label, drawn_.label[place.label]);

    createControls();
    applyWidgets(true);
}

TForm1::~TForm1() {
    // The controls draw with this window's fonts and the timers call its simulator;
    // both are members, gone before QWidget would delete the children.
    const QObjectList children = this->children();
    qDeleteAll(children);
}

void TForm1::createControls() {
    for (const layout::Control& c : layout::panels()) {
        auto* panel = new PanelButton(fonts_, this);
        panel->setObjectName(QStringLiteral("Panel%1").arg(c.number));
        panel->setGeometry(boxRect(c.box));
        panels_[c.number] = panel;
    }
    for (const Route& route : kPanelClicks)
        connect(panels_[route.number], &PanelButton::clicked, this,
                [this, handler = route.handler] { run(handler); });

    for (const layout::SwitchPlace& s : layout::dataSwitches()) {
        auto* button = new DataSwitchButton(fonts_, colour(s.ink), this);
        button->setObjectName(QStringLiteral("Button%1").arg(s.button));
        button->setGeometry(boxRect(s.box));
        buttons_[s.button] = button;
    }
    for (const layout::Control& c : layout::hiddenButtons()) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("Button%1").arg(c.number));
        button->setGeometry(boxRect(c.box));
        button->hide();
        buttons_[c.number] = button;
    }
    for (const auto& routes :
         {std::span<const Route>(kSwitchClicks), std::span<const Route>(kReleaseHandlers)})
        for (const Route& route : routes)
            connect(buttons_[route.number], &QPushButton::clicked, this,
                    [this, handler = route.handler] { run(handler); });

    auto* edit = new SpeedField(this);
    edit->setObjectName(QStringLiteral("Edit17"));
    edit->setGeometry(boxRect(layout::kEdit17));
    connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
        sim_.setSpeedText(text.toStdString());
        sync();
    });
    edit17_ = edit;

    upDown1_ = new UpDownArrows(this);
    upDown1_->setObjectName(QStringLiteral("UpDown1"));
    upDown1_->setGeometry(boxRect(layout::kUpDown1));
    auto arrow = [this](bool up) {
        sim_.UpDown1Arrow(up);
        sync();
    };
    connect(upDown1_, &UpDownArrows::arrow, this, arrow);
    connect(edit, &SpeedField::arrow, this, arrow);

    memo1_ = new QPlainTextEdit(this);
    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo1_->setGeometry(boxRect(layout::kMemo1));
    memo1_->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    memo1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo1_->setTabChangesFocus(true);
    memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo1_->document()->setDocumentMargin(2);
    QStringList lines;
    for (std::string_view line : layout::memoLines())
        lines << QString::fromUtf8(line.data(), qsizetype(line.size()));
    memo1_->setPlainText(lines.join(QLatin1Char('\n')));

    for (int n = 1; n < ElementState::kTimers; ++n) {
        auto* timer = new QTimer(this);
        timer->setObjectName(QStringLiteral("Timer%1").arg(n));
        timer->setTimerType(Qt::PreciseTimer);
        timers_[n] = timer;
    }
    connect(timers_[kAutoClock], &QTimer::timeout, this, &TForm1::timer1Tick);
    for (const Route& route : kReleaseTicks)
        connect(timers_[route.number], &QTimer::timeout, this,
                [this, handler = route.handler] { run(handler); });

    // Tab order: the speed field, the data switches, the instruction box, the arrows,
    // then the hidden buttons; the panels take no focus.
    QWidget* order[] = {edit17_,  buttons_[8], buttons_[9],  buttons_[10], buttons_[11], memo1_,
                        upDown1_, buttons_[1], buttons_[12], buttons_[13], buttons_[14]};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    edit17_->setFocus();
}

void TForm1::run(Handler handler) {
    (sim_.*handler)();
    sync();
}

void TForm1::timer1Tick() {
    const QTimer* release = timers_[kClockRelease];
    sim_.Timer1Tick(release->isActive() ? release->remainingTime()
                                        : std::numeric_limits<int>::max());
    sync();
}

void TForm1::showError(const std::string& message) {
    // The standard error box, window-modal and without waiting: the handler that
    // reports the error ends at once, and the clock keeps running behind the box.
    auto* box = new QMessageBox(QMessageBox::Critical, windowTitle(), {}, QMessageBox::Ok, this);
    box->setText(boxedMessage(message, QFontMetrics(box->font()), screen()));
    box->setObjectName(QStringLiteral("ErrorBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    errorBox_ = box;
}

QMessageBox* TForm1::errorBox() const {
    return errorBox_.data();
}

// ---- bringing the window in line with the element state ------------------------

void TForm1::sync() {
    const ElementState& now = sim_.elements();
    QRegion dirty;
    for (int n = 0; n < ElementState::kImages; ++n)
        if (now.image[n].visible != drawn_.image[n].visible && !imageAreas_[n].isNull())
            dirty += imageAreas_[n];
    for (const layout::LabelPlace& place : layout::labels()) {
        const int n = place.label;
        if (now.label[n] == drawn_.label[n]) continue;
        dirty += labels_[n].bar;
        setLabel(n, now.label[n]);
        dirty += labels_[n].bar;
    }
    applyWidgets(false);
    drawn_ = now;
    if (!dirty.isEmpty()) update(dirty);
}

void TForm1::applyWidgets(bool force) {
    const ElementState& now = sim_.elements();
    for (const layout::Control& c : layout::panels())
        if (force || now.panel[c.number] != drawn_.panel[c.number])
            panels_[c.number]->setLook(now.panel[c.number]);

    for (int n = 0; n < ElementState::kButtons; ++n) {
        QPushButton* button = buttons_[n];
        const Button& b = now.button[n];
        if (!button || (!force && b == drawn_.button[n])) continue;
        button->setText(QString::fromStdString(b.caption));
        button->setVisible(b.visible);
    }

    if (force || now.edit17 != drawn_.edit17) {
        const QString text = QString::fromStdString(now.edit17.text);
        if (edit17_->text() != text) edit17_->setText(text);
        // Hiding the focused field would hand the focus on to a data switch, where
        // Space would toggle it; the window itself keeps the focus instead.
        if (!now.edit17.visible && edit17_->hasFocus()) setFocus(Qt::OtherFocusReason);
        edit17_->setVisible(now.edit17.visible);
    }

    // A timer that a handler switched on from off (off and on again included)
    // starts over with its full interval; one that merely stayed on keeps its due
    // time. A new interval applies at once.
    for (int n = 1; n < ElementState::kTimers; ++n) {
        const Timer& t = now.timer[n];
        QTimer* timer = timers_[n];
        if (timer->interval() != t.interval) timer->setInterval(t.interval);
        if (t.enabled && (!timer->isActive() || t.starts != drawn_.timer[n].starts))
            timer->start();
        else if (!t.enabled && timer->isActive())
            timer->stop();
    }
}

void TForm1::setLabel(int number, const Label& label) {
    const layout::LabelPlace* place = layout::label(number);
    if (!place) return;
    DrawnLabel& d = labels_[number];
    d.caption = QString::fromStdString(label.caption);
    const TextFace& f = face(number);
    d.bar = QRect(place->x, place->y, f.width(d.caption), f.lineHeight());
}

const TextFace& TForm1::face(int label) const {
    const layout::LabelPlace* place = layout::label(label);
    switch (place ? place->font : layout::TextFont::Window) {
    case layout::TextFont::WindowBold:
        return fonts_.windowBold();
    case layout::TextFont::Digits:
        return fonts_.digits();
    case layout::TextFont::Window:
        break;
    }
    return fonts_.window();
}

QRect TForm1::labelRect(int label) const {
    if (label < 0 || label >= ElementState::kLabels) return {};
    return labels_[label].bar;
}

// ---- painting --------------------------------------------------------------------

void TForm1::buildLayers(qreal dpr) {
    const QSize client(layout::kClientWidth, layout::kClientHeight);
    wiring_ = emptyLayer(client, dpr);
    {
        QPainter p(&wiring_);
        paintWiring(p);
    }
    blocks_ = emptyLayer(client, dpr);
    {
        QPainter p(&blocks_);
        for (const layout::Block& b : layout::blocks())
            if (b.image != kClosedBusSwitch) paintBlock(p, b, fonts_);
    }
    const layout::Block& closed = blockOf(kClosedBusSwitch);
    closedSwitch_ = emptyLayer(QSize(closed.picture.w, closed.picture.h), dpr);
    {
        QPainter p(&closedSwitch_);
        p.translate(-closed.picture.x, -closed.picture.y);
        paintBlock(p, closed, fonts_);
    }
    layersDpr_ = dpr;
    // Moved to a screen of another density: the controls' font may change with it.
    const QFont controls = fonts_.widgetFont(dpr);
    if (font() != controls) setFont(controls);
}

void TForm1::paintEvent(QPaintEvent* event) {
    const qreal dpr = devicePixelRatioF();
    if (dpr != layersDpr_) buildLayers(dpr);
    QPainter p(this);
    const QRect diagram(0, 0, layout::kClientWidth, layout::kClientHeight);
    // A pulse dirties thin lines all over the window: each piece is drawn on its own.
    for (const QRect& area : event->region()) {
        p.setClipRect(area);
        // A window made larger than the diagram shows the window colour beyond it.
        for (const QRect& beyond : QRegion(area) - diagram)
            p.fillRect(beyond, colour(clInactiveBorder));
        if (area.intersects(diagram)) paintArea(p, area & diagram);
    }
}

// Back to front: background and wires, the lit overlays, the blocks, the labels.
void TForm1::paintArea(QPainter& p, QRect area) const {
    drawLayer(p, wiring_, area);
    const QColor red = colour(clRed);
    for (const layout::Overlay& o : layout::overlays()) {
        if (!drawn_.image[o.image].visible) continue;
        const QRect r = boxRect(o.red) & area;
        if (!r.isEmpty()) p.fillRect(r, red);
    }
    if (blockArea_.intersects(area)) drawLayer(p, blocks_, area);
    const QRect closed = imageAreas_[kClosedBusSwitch];
    if (drawn_.image[kClosedBusSwitch].visible && closed.intersects(area))
        p.drawPixmap(closed.topLeft(), closedSwitch_);

    for (const layout::LabelPlace& place : layout::labels()) {
        const DrawnLabel& l = labels_[place.label];
        if (!l.bar.intersects(area)) continue;
        p.fillRect(l.bar & area, colour(drawn_.label[place.label].colour));
        face(place.label).draw(p, l.bar.topLeft(), l.caption, colour(place.ink));
    }
}

// ---- clicks on the diagram -------------------------------------------------------

// The element the student sees at p: a label over its block, a block over the
// wires. Wires, overlays and the window itself take no clicks.
std::optional<TForm1::Element> TForm1::elementAt(QPoint p) const {
    for (const layout::LabelPlace& place : layout::labels())
        if (labels_[place.label].bar.contains(p))
            return Element{CompanionClick::Label, place.label};
    const auto blocks = layout::blocks();
    for (auto b = blocks.rbegin(); b != blocks.rend(); ++b)
        if (drawn_.image[b->image].visible && b->element.contains(p.x(), p.y()))
            return Element{CompanionClick::Image, b->image};
    return std::nullopt;
}

void TForm1::mousePressEvent(QMouseEvent* event) {
    pressed_.reset();
    if (event->button() == Qt::LeftButton) pressed_ = elementAt(event->position().toPoint());
}

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
    const std::optional<Element> pressed = std::exchange(pressed_, std::nullopt);
    if (event->button() != Qt::LeftButton || !pressed) return;
    if (elementAt(event->position().toPoint()) != pressed) return;
    if (const char* command = companionFor(pressed->kind, pressed->number))
        launcher_->start(QString::fromLatin1(command));
}

} // namespace procesor
