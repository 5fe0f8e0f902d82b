#include "display/TForm1.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <span>

#include "display/SpeedField.h"
#include "panel/Speed.h"
#include "picture/DiagramLayout.h"
#include "picture/Text.h"

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

// "Procesor Sans" at 11 px, from the program's own data: in the editable fields it
// draws exactly the pixels of the diagram's window face, at any device pixel ratio.
QFont fieldFont() {
    static const QString family = [] {
        const std::span<const std::uint8_t> data = render::squarePixelFont();
        const int id = QFontDatabase::addApplicationFontFromData(
            QByteArray(reinterpret_cast<const char*>(data.data()), qsizetype(data.size())));
        return QFontDatabase::applicationFontFamilies(id).value(0);
    }();
    QFont f(family);
    f.setPixelSize(11);
    f.setStyleStrategy(QFont::NoFontMerging);
    return f;
}

// Black on white with the classic selection colours, as the diagram draws its fields.
QPalette fieldPalette(QPalette pal) {
    pal.setColor(QPalette::Base, colour(clWhite));
    pal.setColor(QPalette::Text, colour(clWindowText));
    pal.setColor(QPalette::Highlight, colour(0x0A246A));
    pal.setColor(QPalette::HighlightedText, colour(clWhite));
    pal.setColor(QPalette::Window, colour(clInactiveBorder));
    return pal;
}

} // namespace

TForm1::TForm1(std::unique_ptr<CompanionLauncher> launcher, QWidget* parent)
    : QWidget(parent),
      launcher_(launcher
                    ? std::move(launcher)
                    : std::make_unique<ProcessLauncher>(QCoreApplication::applicationDirPath())) {
    clock_.start();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Procesor"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The standard resizable frame; the diagram stays at the top left, unscaled.
    resize(layout::kClientWidth, layout::kClientHeight);
    move(layout::kFrameLeft, layout::kFrameTop);

    setAcceptDrops(true);
    setFocusPolicy(Qt::ClickFocus); // holds the focus for the drawn controls

    screen_.render();
    const render::Canvas& c = screen_.canvas();
    view_ = QImage(reinterpret_cast<const uchar*>(c.pixels.data()), c.width, c.height,
                   c.width * qsizetype(sizeof(std::uint32_t)), QImage::Format_RGB32);
    createControls();
}

TForm1::~TForm1() {
    // The timers and fields call into the screen, a member gone before QWidget
    // would delete the children.
    const QObjectList children = this->children();
    qDeleteAll(children);
}

void TForm1::createControls() {
    auto* edit = new SpeedField(this);
    edit->setObjectName(QStringLiteral("Edit17"));
    edit->setGeometry(insideFrame(layout::kEdit17));
    edit->setFont(fieldFont());
    edit->setPalette(fieldPalette(edit->palette()));
    // Its text where the screen draws it beneath: 5 pixels in from the frame's left
    // edge and 4 down (the line edit adds 2 and 1 of its own to these margins).
    edit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    edit->setTextMargins(1, 1, 0, 0);
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
    memo1_->setGeometry(insideFrame(layout::kMemo1));
    memo1_->setFont(fieldFont());
    memo1_->setPalette(fieldPalette(memo1_->palette()));
    memo1_->setFrameStyle(QFrame::NoFrame);
    memo1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo1_->setTabChangesFocus(true);
    memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo1_->document()->setDocumentMargin(2); // the lines 4 pixels in from the frame's corner
    QStringList lines;
    for (std::string_view line : layout::memoLines())
        lines << QString::fromUtf8(line.data(), qsizetype(line.size()));
    memo1_->setPlainText(lines.join(QLatin1Char('\n')));

    wake_ = new QTimer(this);
    wake_->setObjectName(QStringLiteral("Wake"));
    wake_->setSingleShot(true);
    wake_->setTimerType(Qt::PreciseTimer);
    connect(wake_, &QTimer::timeout, this, &TForm1::wake);

    // The screen follows the focus wherever it goes: into a field by a click, to the
    // window when a click on the diagram takes it out of one.
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* old, QWidget* now) { focusMoved(old, now); });
    edit17_->setFocus();
}

// A field taking the focus, or the window taking it from a field. The focus coming
// back from the error box or another window stays where the screen has it.
void TForm1::focusMoved(QWidget* old, QWidget* now) {
    if (movingFocus_) return;
    if (now == edit17_)
        apply(screen_.focus(screen::Screen::kEdit17, this->now()));
    else if (now == memo1_)
        apply(screen_.focus(screen::Screen::kMemo1, this->now()));
    else if (now == this && old && (old == edit17_ || old == memo1_))
        apply(screen_.focus(std::nullopt, this->now()));
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
    for (const render::Box& b : u.dirty) update(rectOf(b));

    const QString text = QString::fromStdString(u.speedText);
    if (edit17_->text() != text) edit17_->setText(text);
    if (!u.speedVisible && edit17_->hasFocus()) showFocus(std::nullopt);
    edit17_->setVisible(u.speedVisible);

    if (u.nextWake)
        wake_->start(int(std::clamp<screen::Millis>(*u.nextWake - now(), 0, 1 << 30)));
    else
        wake_->stop();

    showFocus(u.focus);
    if (!u.sentence.empty()) {
        spoken_ = QString::fromStdString(u.sentence);
        setAccessibleDescription(spoken_);
    }
    if (!u.error.empty()) showError(u.error);
    if (u.companion) launcher_->start(QString::fromStdString(*u.companion));
}

// ---- the picture -----------------------------------------------------------------

void TForm1::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect diagram = view_.rect();
    // At device pixel ratios above 1 every pixel grows into a sharp block.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (const QRect& area : event->region()) {
        // A window made larger than the diagram shows the window colour beyond it.
        for (const QRect& beyond : QRegion(area) - diagram)
            p.fillRect(beyond, colour(clInactiveBorder));
        const QRect r = area & diagram;
        if (!r.isEmpty()) p.drawImage(r, view_, r);
    }
}

// ---- a program as text -------------------------------------------------------------

void TForm1::openFile(const QString& path) {
    const std::string name = QFileInfo(path).fileName().toStdString();
    QFile file(path);
    // More than the longest program text is refused anyway: no need to read it all.
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) bytes = file.read(qint64(kMaxProgramBytes) + 1);
    if (!file.isOpen() || file.error() != QFileDevice::NoError)
        apply(screen_.fileUnreadable(name, now()));
    else
        apply(screen_.openFile(name, std::string_view(bytes.constData(), std::size_t(bytes.size())),
                               now()));
}

namespace {

std::optional<Key> keyOf(const QKeyEvent* event) {
    switch (event->key()) {
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
    if (event->matches(QKeySequence::Copy)) {
        if (const std::optional<std::string> text = screen_.copy())
            QGuiApplication::clipboard()->setText(QString::fromStdString(*text));
    } else if (event->matches(QKeySequence::Paste)) {
        apply(screen_.paste(QGuiApplication::clipboard()->text().toStdString(), now()));
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
    apply(screen_.bringIn(data->text().toStdString(), now()));
}

// ---- the mouse ---------------------------------------------------------------------

void TForm1::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // A click on the diagram takes the keyboard focus out of a text field, so that
    // Ctrl+C and Ctrl+V then reach the diagram.
    if (QWidget* focused = focusWidget(); focused == edit17_ || focused == memo1_)
        setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    apply(screen_.mouseDown(at.x(), at.y(), now()));
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const QPoint at = event->position().toPoint();
    apply(screen_.mouseMove(at.x(), at.y(), now()));
}

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    apply(screen_.mouseUp(at.x(), at.y(), now()));
}

} // namespace procesor
