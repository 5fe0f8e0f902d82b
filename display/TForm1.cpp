#include "display/TForm1.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <utility>

#include "display/Accessible.h"
#include "display/CommandMenu.h"
#include "display/ExplainerServer.h"
#include "display/FieldsInPicture.h"
#include "display/SaveFile.h"
#include "display/SpeedField.h"
#include "display/TimingWindow.h"
#include "panel/MachineState.h"
#include "panel/Speed.h"
#include "picture/DiagramLayout.h"
#include "picture/Text.h"
#include "screen/Saving.h"

namespace procesor {

namespace {

using Element = screen::Screen::Element;
using screen::Key;

QRect rectOf(layout::Box b) {
    return {b.x, b.y, b.w, b.h};
}

// The inside of a field's sunken two-pixel frame: where its editable widget lies.
QRect insideFrame(layout::Box b) {
    return rectOf(b).adjusted(2, 2, -2, -2);
}

QColor colour(Rgb rgb) {
    return QColor::fromRgb(rgb);
}

// The key of "1:1" in a field is the window's: the field would type the keypad's 0.
class ActualSizeKey final : public QObject {
public:
    ActualSizeKey(QObject* parent, std::function<void()> pressed)
        : QObject(parent), pressed_(std::move(pressed)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress ||
            !screen::isActualSizeKey(keyChordOf(static_cast<QKeyEvent*>(event))))
            return false;
        pressed_();
        return true;
    }

private:
    std::function<void()> pressed_;
};

} // namespace

TForm1::TForm1(std::unique_ptr<CompanionLauncher> launcher, QWidget* parent)
    : QWidget(parent),
      launcher_(launcher
                    ? std::move(launcher)
                    : std::make_unique<ProcessLauncher>(QCoreApplication::applicationDirPath())) {
    installAccessibility();
    clock_.start();
    firstFrameTimer_.setSingleShot(true);
    firstFrameTimer_.setInterval(0);
    connect(&firstFrameTimer_, &QTimer::timeout, this, &TForm1::firstFrameOut);
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Procesor"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The standard resizable frame; the diagram stays at the top left, unscaled.
    resize(layout::kClientWidth, layout::kClientHeight);
    move(layout::kFrameLeft, layout::kFrameTop);

    setAcceptDrops(true);
    setFocusPolicy(Qt::ClickFocus); // holds the focus for the drawn controls

    // The picture is drawn for the first paint, once the window has been mapped, and
    // the editable fields come once that first frame is out (see ensureControls);
    // everything else that start-up could do eagerly is lazy as
    // well: the program file of the command line is read after the first frame
    // (main.cpp, afterFirstFrame), the companions' launcher starts nothing before a
    // click, and the error box is made when an error comes. Whatever start-up gains
    // later (a local server for the explainers, a history of the machine's states)
    // is started through afterFirstFrame or by the first event that needs it, never
    // here.
}

// The whole picture drawn once, and shown from the screen's own pixels (not copied).
void TForm1::ensurePicture() {
    if (!view_.isNull()) return;
    screen_.render();
    const render::Canvas& c = screen_.canvas();
    view_ = QImage(reinterpret_cast<const uchar*>(c.pixels.data()), c.width, c.height,
                   c.width * qsizetype(sizeof(std::uint32_t)), QImage::Format_RGB32);
    shown_.show(c);
    projected_.show(c);
}

void TForm1::changed(const render::Box& box) {
    shown_.changed(box);
    projected_.changed(box);
    if (!projector_) update(diagramArea(box));
}

// Where the menu opens from the keyboard: the middle of the diagram as it is shown.
QPoint TForm1::diagramMiddle() const {
    return diagramArea({0, 0, layout::kClientWidth, layout::kClientHeight}).center();
}

bool TForm1::actualSize() const {
    return screen_.actualSize() && !projector_;
}

QRect TForm1::diagramArea(const render::Box& box) const {
    // Fitted, a pixel of the window is a pixel of the diagram.
    if (!actualSize() || !shown_.canvas()) return rectOf({box.x, box.y, box.w, box.h});
    return shown_.areaOf(box);
}

// The editable fields where the picture shows them: over the frames drawn for them,
// at "1:1" as many times smaller as the window's pixels are larger than the picture's,
// with a font as much smaller. Again whenever the ratio changes.
void TForm1::placeFields() {
    if (!edit17_) return;
    const qreal r = devicePixelRatioF();
    fieldsRatio_ = r;
    const qreal scale = actualSize() ? r : 1;
    fieldsScale_ = scale;
    const auto area = [scale](QRect b) {
        const int left = qRound(b.x() / scale), top = qRound(b.y() / scale);
        return QRect(left, top, qRound((b.x() + b.width()) / scale) - left,
                     qRound((b.y() + b.height()) / scale) - top);
    };
    const QFont font = fieldFont(scale);
    const QRect edit = area(insideFrame(layout::kEdit17));
    edit17_->setGeometry(edit);
    edit17_->setFont(font);
    // Its text where the screen draws it beneath: 5 pixels in from the frame's left
    // edge and 4 down, of the picture's; the line edit adds 2 and 1 of its own.
    const auto margin = [](qreal at, int from, int own) {
        return std::max(0, qRound(at - from - own));
    };
    edit17_->setTextMargins(margin((layout::kEdit17.x + 5) / scale, edit.x(), 2),
                            margin((layout::kEdit17.y + 4) / scale, edit.y(), 1), 0, 0);
    memo1_->setGeometry(area(insideFrame(layout::kMemo1)));
    memo1_->setFont(font);
    memo1_->document()->setDocumentMargin(2 / scale); // the lines 4 pixels in from the corner
    fieldsChanged();
}

void TForm1::ensureControls() {
    if (edit17_) return;
    const QList<QWidget*> before = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    createControls();
    // Made in a window already shown, they show themselves only when told to.
    if (isVisible())
        for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!w->isWindow() && !before.contains(w)) w->show();
    edit17_->setVisible(simulator().elements().edit17.visible);
    // The speed field takes the keyboard focus, as at start, unless the screen has
    // put it somewhere already.
    if (!screen_.focused()) apply(screen_.focus(screen::Screen::kEdit17, now()));
}

void TForm1::afterFirstFrame(std::function<void()> work) {
    afterFirstFrame_.push_back(std::move(work));
    if (firstFrameOut_) firstFrameTimer_.start();
}

// From the event loop, once the first frame has been painted (and again for work
// asked for later).
void TForm1::firstFrameOut() {
    firstFrameOut_ = true;
    ensureControls();
    for (std::function<void()>& work : std::exchange(afterFirstFrame_, {})) work();
}

TForm1::~TForm1() {
    // The application's focus changes would reach a window half gone: QWidget's
    // destructor still moves the focus away from it.
    disconnect(qApp, nullptr, this, nullptr);
    // The timers and fields call into the screen, a member gone before QWidget
    // would delete the children.
    const QObjectList children = this->children();
    qDeleteAll(children);
}

void TForm1::createControls() {
    auto* edit = new SpeedField(this);
    edit->setObjectName(QStringLiteral("Edit17"));
    edit->setAccessibleName(QStringLiteral("Rychlost:")); // as the page labels it
    leaveDrawingToPicture(edit);
    edit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    edit->setText(QString::fromStdString(simulator().elements().edit17.text));
    connect(edit, &QLineEdit::textEdited, this,
            [this](const QString& text) { apply(screen_.speedEdited(text.toStdString(), now())); });
    // The field's keys come from the field: the screen has the focus there (a window
    // not yet active tells no focus change).
    connect(edit, &SpeedField::arrow, this, [this](bool up) {
        screen_.setFocus(screen::Screen::kEdit17);
        apply(screen_.key(up ? Key::Up : Key::Down, now()));
    });
    // A program pasted into the field comes in as the program; anything else is the
    // field's to paste.
    connect(edit, &SpeedField::pasted, this, [this] {
        screen_.setFocus(screen::Screen::kEdit17);
        const screen::Screen::Update u =
            screen_.paste(QGuiApplication::clipboard()->text().toStdString(), now());
        apply(u);
        if (!u.taken) edit17_->paste();
    });
    edit17_ = edit;

    memo1_ = new QPlainTextEdit(this);
    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo1_->setAccessibleName(QStringLiteral("Kódy instrukcí"));
    leaveDrawingToPicture(memo1_);
    memo1_->setFrameStyle(QFrame::NoFrame);
    memo1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo1_->setTabChangesFocus(true);
    memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QStringList lines;
    for (std::string_view line : layout::memoLines())
        lines << QString::fromUtf8(line.data(), qsizetype(line.size()));
    memo1_->setPlainText(lines.join(QLatin1Char('\n')));
    // What the fields hold, how they scrolled, their selection and caret: the picture
    // draws it beneath them.
    connect(edit, &QLineEdit::textChanged, this, &TForm1::fieldsChanged);
    connect(edit, &QLineEdit::cursorPositionChanged, this, &TForm1::fieldsChanged);
    connect(edit, &QLineEdit::selectionChanged, this, &TForm1::fieldsChanged);
    connect(edit, &SpeedField::scrolled, this, &TForm1::fieldsChanged);
    connect(memo1_, &QPlainTextEdit::textChanged, this, &TForm1::fieldsChanged);
    connect(memo1_, &QPlainTextEdit::cursorPositionChanged, this, &TForm1::fieldsChanged);
    connect(memo1_, &QPlainTextEdit::selectionChanged, this, &TForm1::fieldsChanged);
    for (QScrollBar* bar : {memo1_->horizontalScrollBar(), memo1_->verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, &TForm1::fieldsChanged);
    placeFields();
    auto* actualSizeKey =
        new ActualSizeKey(this, [this] { apply(screen_.key(Key::ActualSize, now())); });
    edit->installEventFilter(actualSizeKey);
    memo1_->installEventFilter(actualSizeKey);

    wake_ = new QTimer(this);
    wake_->setObjectName(QStringLiteral("Wake"));
    wake_->setSingleShot(true);
    wake_->setTimerType(Qt::PreciseTimer);
    connect(wake_, &QTimer::timeout, this, &TForm1::wake);

    // The screen follows the focus wherever it goes: into a field by a click, to the
    // window when a click on the diagram takes it out of one.
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* old, QWidget* now) { focusMoved(old, now); });
}

// A field taking the focus, or the window taking it from a field. The focus coming
// back from the error box or another window stays where the screen has it.
void TForm1::focusMoved(QWidget* old, QWidget* now) {
    fieldsChanged(); // the caret and the selection go with the focus
    if (movingFocus_) return;
    if (now == edit17_)
        apply(screen_.focus(screen::Screen::kEdit17, this->now()));
    else if (now == memo1_)
        apply(screen_.focus(screen::Screen::kMemo1, this->now()));
    else if (now == this && old && (old == edit17_ || old == memo1_))
        apply(screen_.focus(std::nullopt, this->now()));
}

void TForm1::fieldsChanged() {
    if (!edit17_ || !memo1_) return;
    showFields(screen_, *edit17_, *memo1_, fieldsScale_ > 0 ? fieldsScale_ : 1);
    for (const render::Box& b : screen_.render()) changed(b);
    if (projector_) update();
}

// The focus where the screen has it: in a field, or on the window for a drawn control
// (the picture draws its frame) and for none.
void TForm1::showFocus(const std::optional<Element>& focus) {
    QWidget* want = focus == screen::Screen::kEdit17  ? static_cast<QWidget*>(edit17_)
                    : focus == screen::Screen::kMemo1 ? static_cast<QWidget*>(memo1_)
                                                      : this;
    if (focusWidget() == want || !want->isVisible()) return;
    movingFocus_ = true;
    want->setFocus(Qt::TabFocusReason);
    movingFocus_ = false;
}

void TForm1::run(Handler handler) {
    apply(screen_.run(handler, now()));
}

void TForm1::timerTick(int timer) {
    apply(screen_.timerTick(timer, now()));
}

void TForm1::pressAt(QPoint at) {
    apply(screen_.mouseDown(at.x(), at.y(), now()));
    apply(screen_.mouseUp(at.x(), at.y(), now()));
}

void TForm1::focusOn(const screen::Screen::Element& element) {
    apply(screen_.focus(element, now()));
}

// Woken on time or late (a busy machine): the screen runs every tick due by now.
void TForm1::wake() {
    apply(screen_.wake(now()));
}

void TForm1::showError(const std::string& message) {
    // The standard error box, window-modal and without waiting: the handler that
    // reports the error ends at once, and the clock keeps running behind the box.
    auto* box = new QMessageBox(QMessageBox::Critical, windowTitle(), {}, QMessageBox::Ok, this);
    box->setText(QString::fromStdString(message));
    box->setObjectName(QStringLiteral("ErrorBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Closed, it makes room for the next error waiting, if any.
    connect(box, &QMessageBox::finished, this, [this] { apply(screen_.errorClosed(now())); });
    box->open();
    errorBox_ = box;
}

QMessageBox* TForm1::errorBox() const {
    return errorBox_.data();
}

// Carries out what an event left: the picture, the speed field, the wake, the focus,
// the sentence, the error box and the companion.
void TForm1::apply(const screen::Screen::Update& u) {
    ensureControls();
    ensurePicture();
    for (const render::Box& b : u.dirty) changed(b);
    if (projector_ && !u.dirty.empty()) update();

    const QString text = QString::fromStdString(u.speedText);
    if (edit17_->text() != text) edit17_->setText(text);
    if (!u.speedVisible && edit17_->hasFocus()) showFocus(std::nullopt);
    edit17_->setVisible(u.speedVisible && !projector_);

    if (u.nextWake)
        wake_->start(int(std::clamp<screen::Millis>(*u.nextWake - now(), 0, 1 << 30)));
    else
        wake_->stop();

    if (u.panes) showPanes();
    showFocus(u.focus);
    if (const std::string spoken = u.spoken(); !spoken.empty()) {
        spoken_ = QString::fromStdString(spoken);
        setAccessibleDescription(spoken_);
    }
    accessibleUpdate(*this, !u.sentence.empty());
    if (!u.error.empty()) showError(u.error);
    if (server_) {
        // The element first, so that the explainer finds it when it connects.
        if (u.companion && u.clicked &&
            (u.clicked->kind == screen::Screen::Element::Image ||
             u.clicked->kind == screen::Screen::Element::Label))
            server_->launching(*u.companion, {u.clicked->kind == screen::Screen::Element::Image
                                                  ? ClickedElement::Kind::Image
                                                  : ClickedElement::Kind::Label,
                                              u.clicked->number});
        server_->offer(machineMessage(simulator()));
    }
    if (u.companion) launcher_->start(QString::fromStdString(*u.companion));
    if (commandMenu_) showCommandStates(*commandMenu_, screen_);
    if (timing_) timing_->updated();
    if (u.carryOut) carryOut(*u.carryOut);
}

void TForm1::serveExplainers(const QString& name) {
    server_ = std::make_unique<ExplainerServer>(name.isEmpty() ? ExplainerServer::userServerName()
                                                               : name);
    server_->offer(machineMessage(simulator()));
}

// ---- the picture -----------------------------------------------------------------

// The whole screen black, the diagram fitted in its middle: a whole factor drawn as
// sharp squares, any other size made to its device pixels, every line equally wide.
void TForm1::paintProjector(QPainter& p) {
    projected_.fit(size(), devicePixelRatioF());
    projected_.paint(p, QRegion(rect()), Qt::black);
}

void TForm1::setProjector(bool on) {
    ensureControls();
    projector_ = on;
    memo1_->setVisible(!on);
    edit17_->setVisible(!on && simulator().elements().edit17.visible);
    if (on) {
        // A field's focus goes to the window, where the screen keeps it.
        if (focusWidget() == edit17_ || focusWidget() == memo1_) setFocus(Qt::OtherFocusReason);
        showFullScreen();
    } else {
        showNormal();
        placeFields(); // at "1:1" if it was chosen meanwhile
        showFocus(screen_.focused());
    }
    update();
}

// Where a point of the window lies on the diagram, the panes right of it: itself, but in
// the projector's view, where the picture is fitted and centred, and at "1:1", where a
// pixel of the window is more than one of the picture (-1, -1 beside them).
QPoint TForm1::diagramPoint(QPointF at) const {
    if (projector_) {
        const render::PicturePoint p = projected_.at(at);
        return p.inside() ? QPoint(p.x, p.y) : QPoint(-1, -1);
    }
    if (!actualSize()) return at.toPoint();
    if (const render::PicturePoint p = shown_.at(at); p.inside()) return {p.x, p.y};
    if (screen_.paneWidth() > 0)
        if (const render::PicturePoint p = panesShown_.at(at); p.inside())
            return {layout::kClientWidth + p.x, p.y};
    return {-1, -1};
}

void TForm1::paintEvent(QPaintEvent* event) {
    ensurePicture();
    QPainter p(this);
    if (projector_) {
        paintProjector(p);
        return;
    }
    const QRect diagram = view_.rect();
    const qreal ratio = devicePixelRatioF();
    if (edit17_ && ratio != fieldsRatio_) // another screen: the fields placed anew
        QMetaObject::invokeMethod(this, "placeFields", Qt::QueuedConnection); // after this paint
    // A window made larger than the diagram shows the window colour beyond it.
    shown_.fit(diagram.size(), ratio, actualSize());
    shown_.paint(p, event->region(), colour(clInactiveBorder));
    // The picture already shows the fields as they stand at start, to the pixel:
    // making the real ones (and loading the system's fonts that a text field asks
    // for) waits until this first frame is out.
    if (!firstFramePainted_) {
        firstFramePainted_ = true;
        firstFrameTimer_.start();
    }
    if (screen_.paneWidth() > 0 && actualSize()) {
        // At "1:1" too, right beside the diagram.
        const render::Canvas& panes = screen_.paneCanvas();
        panesShown_.fit(QSize(panes.width, panes.height), ratio, true,
                        QPoint(shown_.shown().width, 0));
        panesShown_.paint(p, event->region() & panesShown_.areaOf({0, 0, panes.width, panes.height}),
                          colour(clInactiveBorder));
    } else if (screen_.paneWidth() > 0) {
        const render::Canvas& panes = screen_.paneCanvas();
        p.translate(diagram.width(), 0);
        panesShown_.fit(QSize(panes.width, panes.height), devicePixelRatioF());
        panesShown_.paint(p,
                          event->region().translated(-diagram.width(), 0) &
                              QRect(0, 0, panes.width, panes.height),
                          colour(clInactiveBorder));
    }
}

// ---- a task beside the diagram ---------------------------------------------------

void TForm1::openTask(const std::string& text, const std::string& fileName) {
    apply(screen_.openTask(text, fileName, now()));
}

// The panes the screen has open, right of the diagram: the window grows by their width
// and shrinks back when they close.
void TForm1::showPanes() {
    const render::Canvas& c = screen_.paneCanvas();
    if (c.width) panesShown_.show(c);
    const int width = layout::kClientWidth + screen_.paneWidth();
    if (this->width() != width) resize(width, std::max(height(), layout::kClientHeight));
    if (actualSize())
        update(); // the diagram's place left to the panes too
    else
        update(QRect(layout::kClientWidth, 0, TaskPane::kWidth, layout::kClientHeight));
}

// The screen's, a task or a program: pasted with Ctrl+V (where the focus is), or
// dropped (brought in wherever the focus is).
void TForm1::pasteText(const std::string& text, bool dropped) {
    apply(dropped ? screen_.bringIn(text, now()) : screen_.paste(text, now()));
}

// ---- a program as text -------------------------------------------------------------

void TForm1::openFile(const QString& path) {
    const std::string name = QFileInfo(path).fileName().toStdString();
    QFile file(path);
    // More than the longest program or task text is refused anyway: no need to read it all.
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.read(qint64(std::max(kMaxProgramBytes, kMaxTaskBytes)) + 1);
    const std::string_view text(bytes.constData(), std::size_t(bytes.size()));
    if (!file.isOpen() || file.error() != QFileDevice::NoError)
        apply(screen_.fileUnreadable(name, now()));
    else
        apply(screen_.openFile(name, text, now())); // a task or a program
}

namespace {

std::optional<Key> keyOf(const QKeyEvent* event) {
    if (screen::isActualSizeKey(keyChordOf(event))) return Key::ActualSize;
    if (event->matches(QKeySequence::Undo)) return Key::Undo;
    if (event->matches(QKeySequence::Save)) return Key::SavePicture;
    if (event->matches(QKeySequence::Redo) ||
        (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier))
        return Key::Redo;
    switch (event->key()) {
    case Qt::Key_PageUp:
        return Key::PageUp;
    case Qt::Key_PageDown:
        return Key::PageDown;
    case Qt::Key_F8:
        return event->modifiers() == Qt::NoModifier ? std::optional(Key::TimingDiagram)
                                                    : std::nullopt;
    case Qt::Key_Space:
        return Key::Space;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Key::Enter;
    case Qt::Key_Up:
        return Key::Up;
    case Qt::Key_Down:
        return Key::Down;
    default:
        return std::nullopt;
    }
}

} // namespace

void TForm1::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_F11 && event->modifiers() == Qt::NoModifier) ||
        (event->key() == Qt::Key_Escape && projector_)) {
        setProjector(event->key() == Qt::Key_F11 && !projector_);
    } else if (event->matches(QKeySequence::Copy)) {
        if (const std::optional<std::string> text = screen_.copy())
            QGuiApplication::clipboard()->setText(QString::fromStdString(*text));
    } else if (event->matches(QKeySequence::Paste)) {
        pasteText(QGuiApplication::clipboard()->text().toStdString(), false);
    } else if (event->key() == Qt::Key_Menu ||
               (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        showCommandMenu(mapToGlobal(diagramMiddle()));
    } else if (const std::optional<Key> key = keyOf(event)) {
        const screen::Screen::Update u = screen_.key(*key, now());
        apply(u);
        if (!u.taken) QWidget::keyPressEvent(event);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void TForm1::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        apply(screen_.keyReleased(Key::Space, now()));
    else
        QWidget::keyReleaseEvent(event);
}

// Tab and Shift+Tab, from the fields too: the screen moves the focus round the
// diagram. Past the last control it leaves the diagram for the window itself.
bool TForm1::focusNextPrevChild(bool next) {
    apply(screen_.key(next ? Key::Tab : Key::BackTab, now()));
    return true;
}

// A file (the first, if several) or a piece of text.
void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    const QList<QUrl> urls = data->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& u) { return u.isLocalFile(); }) ||
        data->hasText())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) continue;
        event->acceptProposedAction();
        activateWindow();
        openFile(url.toLocalFile());
        return;
    }
    if (!data->hasText()) return;
    event->acceptProposedAction();
    activateWindow();
    pasteText(data->text().toStdString(), true);
}

// ---- the mouse ---------------------------------------------------------------------

void TForm1::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // A click on the diagram takes the keyboard focus out of a text field, so that
    // Ctrl+C and Ctrl+V then reach the diagram.
    if (QWidget* focused = focusWidget(); focused == edit17_ || focused == memo1_)
        setFocus(Qt::MouseFocusReason);
    const QPoint at = diagramPoint(event->position()); // beyond the diagram: the panes
    apply(screen_.mouseDown(at.x(), at.y(), now()));
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const QPoint at = diagramPoint(event->position());
    apply(screen_.mouseMove(at.x(), at.y(), now()));
}

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = diagramPoint(event->position());
    apply(screen_.mouseUp(at.x(), at.y(), now()));
}

// ---- the commands around the diagram -------------------------------------------------

void TForm1::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse && screen_.paneWidth() > 0 &&
        diagramPoint(event->pos()).x() >= layout::kClientWidth)
        return; // the panes beside the diagram have none
    showCommandMenu(event->reason() == QContextMenuEvent::Mouse
                        ? event->globalPos()
                        : mapToGlobal(diagramMiddle()));
}

void TForm1::showCommandMenu(QPoint globalAt) {
    if (!commandMenu_) commandMenu_ = makeCommandMenu(this, [this](screen::Command c) { give(c); });
    showCommandStates(*commandMenu_, screen_);
    // Not modal: the clock runs on behind it, and its items follow every update.
    commandMenu_->popup(globalAt);
}

QMenu* TForm1::commandMenu() const {
    return commandMenu_.data();
}

void TForm1::give(screen::Command command) {
    apply(screen_.command(command, now()));
}

void TForm1::carryOut(screen::Command command) {
    switch (command) {
    case screen::Command::TimingDiagram:
        if (!timing_) timing_ = new TimingWindow(*this);
        timing_->show();
        timing_->raise();
        timing_->activateWindow();
        break;
    case screen::Command::CopyProgram:
        if (const std::optional<std::string> text = screen_.copy())
            QGuiApplication::clipboard()->setText(QString::fromStdString(*text));
        break;
    case screen::Command::PasteProgram:
        pasteText(QGuiApplication::clipboard()->text().toStdString(), false);
        break;
    case screen::Command::SavePicture: {
        const QString path =
            askSavePath(this, QStringLiteral("Uložit obrázek"), QStringLiteral("procesor.png"),
                        QStringLiteral("Obrázek PNG (*.png)"));
        if (!path.isEmpty() && !writeWholeFile(path, screen_.picturePng()))
            reportError(screen::saveFailedMessage(screen::SavedFile::Picture, path.toStdString()));
        break;
    }
    case screen::Command::ActualSize:
        placeFields();
        update();
        break;
    case screen::Command::StepBack:
    case screen::Command::StepForward:
    case screen::Command::Predict:
        break; // the screen's own
    }
}

TimingWindow* TForm1::timingWindow() const {
    return timing_.data();
}

void TForm1::refresh() {
    apply(screen_.wake(now()));
}

void TForm1::reportError(const std::string& message) {
    apply(screen_.reportError(message, now()));
}

} // namespace procesor
