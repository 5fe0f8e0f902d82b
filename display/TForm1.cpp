#include "display/TForm1.h"

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
#include <cmath>
#include <span>
#include <utility>

#include "display/Controls.h"
#include "panel/Speed.h"
#include "picture/DiagramLayout.h"
#include "picture/Scaled.h"
#include "picture/Text.h"
#include "screen/Routes.h"

namespace procesor {

namespace {

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
    : QWidget(parent), screen_([this](const std::string& message) { showError(message); }),
      launcher_(launcher
                    ? std::move(launcher)
                    : std::make_unique<ProcessLauncher>(QCoreApplication::applicationDirPath())),
      shownEdit17_(simulator().elements().edit17) {
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
}

void TForm1::ensureControls() {
    if (edit17_) return;
    const QList<QWidget*> before = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    createControls();
    // Made in a window already shown, they show themselves only when told to.
    if (isVisible())
        for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!w->isWindow() && !before.contains(w)) w->show();
    edit17_->setVisible(shownEdit17_.visible);
    // The speed field takes the keyboard focus, unless something in the window
    // already has it.
    if (!focusWidget()) edit17_->setFocus();
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
    edit->setText(QString::fromStdString(shownEdit17_.text));
    connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
        screen_.speedEdited(text.toStdString(), now());
        sync();
    });
    connect(edit, &SpeedField::arrow, this, [this](bool up) {
        screen_.speedArrow(up, now());
        sync();
    });
    edit17_ = edit;

    // The data switches and the arrows are drawn by the screen; these keep their
    // places in the tab order and take their keys.
    std::array<FocusStop*, 4> switches{};
    for (const layout::SwitchPlace& s : layout::dataSwitches()) {
        auto* stop = new FocusStop(this);
        stop->setObjectName(QStringLiteral("Button%1").arg(s.button));
        stop->setGeometry(rectOf(s.box));
        connect(stop, &FocusStop::focusChanged, this, [this, button = s.button](bool in) {
            screen_.setFocus(in ? button : 0);
            sync();
        });
        connect(stop, &FocusStop::key, this, [this, button = s.button](int key) {
            if (key != Qt::Key_Space) return;
            if (Handler h = routeOf(kSwitchClicks, button)) run(h);
        });
        switches[std::size_t(s.button - 8)] = stop;
    }
    auto* upDown = new FocusStop(this);
    upDown->setObjectName(QStringLiteral("UpDown1"));
    upDown->setGeometry(rectOf(layout::kUpDown1));
    connect(upDown, &FocusStop::key, this, [this](int key) {
        if (key == Qt::Key_Space) return;
        screen_.speedArrow(key == Qt::Key_Up, now());
        sync();
    });

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

    // Tab order: the speed field, the data switches, the instruction box, the arrows;
    // the panels take no focus.
    QWidget* order[] = {edit17_,     switches[0], switches[1], switches[2],
                        switches[3], memo1_,      upDown};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void TForm1::run(Handler handler) {
    screen_.run(handler, now());
    sync();
}

void TForm1::timerTick(int timer) {
    screen_.timerTick(timer, now());
    sync();
}

// Woken on time or late (a busy machine): the screen runs every tick due by now.
void TForm1::wake() {
    screen_.wake(now());
    sync();
}

void TForm1::showError(const std::string& message) {
    // The standard error box, window-modal and without waiting: the handler that
    // reports the error ends at once, and the clock keeps running behind the box.
    auto* box = new QMessageBox(QMessageBox::Critical, windowTitle(), {}, QMessageBox::Ok, this);
    box->setText(QString::fromStdString(boxedMessage(message)));
    box->setObjectName(QStringLiteral("ErrorBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    errorBox_ = box;
}

QMessageBox* TForm1::errorBox() const {
    return errorBox_.data();
}

// Copies what the screen redrew, brings the fields in line and sets the wake.
void TForm1::sync() {
    ensureControls();
    ensurePicture();
    for (const render::Box& b : screen_.render()) update(rectOf(b));

    const Edit& edit = simulator().elements().edit17;
    if (edit != shownEdit17_) {
        const QString text = QString::fromStdString(edit.text);
        if (edit17_->text() != text) edit17_->setText(text);
        // Hiding the focused field would hand the focus on to a data switch, where
        // Space would toggle it; the window itself keeps the focus instead.
        if (!edit.visible && edit17_->hasFocus()) setFocus(Qt::OtherFocusReason);
        edit17_->setVisible(edit.visible);
        shownEdit17_ = edit;
    }

    if (const std::optional<render::Millis> due = screen_.nextWake())
        wake_->start(int(std::clamp<render::Millis>(*due - now(), 0, 1 << 30)));
    else
        wake_->stop();
}

// ---- the picture -----------------------------------------------------------------

void TForm1::paintEvent(QPaintEvent* event) {
    ensurePicture();
    QPainter p(this);
    const QRect diagram = view_.rect();
    // At whole device pixel ratios every pixel grows into a sharp block; at others
    // (1.25, 1.5, 1.75) the picture is made to the window's device pixels, so that
    // every line is equally wide, and copied one device pixel for one.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const qreal ratio = devicePixelRatioF();
    const bool whole = ratio == std::floor(ratio);
    if (!whole) {
        const render::Fit fit =
            render::fitPicture(qRound(diagram.width() * ratio), qRound(diagram.height() * ratio),
                               diagram.width(), diagram.height());
        if (!(fit == sizedFit_)) {
            sizedFit_ = fit;
            sized_.assign(std::size_t(fit.width) * fit.height * 4, 0);
            render::scaleTo(screen_.canvas(), fit.width, fit.height, sized_.data());
            sizedView_ = QImage(sized_.data(), fit.width, fit.height, fit.width * 4,
                                QImage::Format_RGBA8888);
        }
    }
    for (const QRect& area : event->region()) {
        // A window made larger than the diagram shows the window colour beyond it.
        for (const QRect& beyond : QRegion(area) - diagram)
            p.fillRect(beyond, colour(clInactiveBorder));
        const QRect r = area & diagram;
        if (r.isEmpty()) continue;
        if (whole) {
            p.drawImage(r, view_, r);
            continue;
        }
        // The device pixels under r, the picture made anew there.
        const int x0 = int(std::floor(r.left() * ratio)), y0 = int(std::floor(r.top() * ratio));
        const int x1 = std::min(int(std::ceil((r.right() + 1) * ratio)), sizedFit_.width);
        const int y1 = std::min(int(std::ceil((r.bottom() + 1) * ratio)), sizedFit_.height);
        p.fillRect(r, colour(clInactiveBorder)); // a last row of device pixels it leaves
        if (x0 >= x1 || y0 >= y1) continue;
        render::scaleTo(screen_.canvas(), sizedFit_.width, sizedFit_.height, sized_.data(),
                        render::Box{x0, y0, x1 - x0, y1 - y0});
        p.drawImage(QRectF(x0 / ratio, y0 / ratio, (x1 - x0) / ratio, (y1 - y0) / ratio),
                    sizedView_, QRectF(x0, y0, x1 - x0, y1 - y0));
    }
    // The picture already shows the fields as they stand at start, to the pixel:
    // making the real ones (and loading the system's fonts that a text field asks
    // for) waits until this first frame is out.
    if (!firstFramePainted_) {
        firstFramePainted_ = true;
        firstFrameTimer_.start();
    }
    if (taskPane_) p.drawImage(QPoint(diagram.width(), 0), paneView_);
}

// ---- a task beside the diagram ---------------------------------------------------

void TForm1::openTask(const std::string& text, const std::string& fileName) {
    const ParsedTask parsed = parseTask(text);
    if (!parsed.ok()) {
        showError(taskErrorMessage(parsed.error, fileName));
        return;
    }
    taskPane_ = std::make_unique<TaskPane>(parsed.task, simulator().model());
    paneCanvas_ = render::Canvas(TaskPane::kWidth, layout::kClientHeight);
    paneView_ = QImage(reinterpret_cast<const uchar*>(paneCanvas_.pixels.data()), paneCanvas_.width,
                       paneCanvas_.height, paneCanvas_.width * qsizetype(sizeof(std::uint32_t)),
                       QImage::Format_RGB32);
    resize(layout::kClientWidth + TaskPane::kWidth, std::max(height(), layout::kClientHeight));
    showTaskPane();
}

void TForm1::showTaskPane() {
    taskPane_->draw(paneCanvas_);
    update(QRect(layout::kClientWidth, 0, TaskPane::kWidth, layout::kClientHeight));
}

void TForm1::closeTaskPane() {
    taskPane_.reset();
    resize(layout::kClientWidth, layout::kClientHeight);
    update();
}

void TForm1::pasteText(const std::string& text) {
    if (looksLikeTask(text)) {
        openTask(text);
        return;
    }
    screen_.paste(text);
    sync();
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
        screen_.fileUnreadable(name);
    else if (looksLikeTask(text))
        openTask(std::string(text), name);
    else
        screen_.openFile(name, text);
    sync();
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        if (const std::optional<std::string> text = screen_.copy())
            QGuiApplication::clipboard()->setText(QString::fromStdString(*text));
    } else if (event->matches(QKeySequence::Paste)) {
        pasteText(QGuiApplication::clipboard()->text().toStdString());
    } else {
        QWidget::keyPressEvent(event);
    }
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
    pasteText(data->text().toStdString());
}

// ---- the mouse ---------------------------------------------------------------------

void TForm1::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // A click on the diagram takes the keyboard focus out of a text field, so that
    // Ctrl+C and Ctrl+V then reach the diagram.
    if (QWidget* focused = focusWidget(); focused == edit17_ || focused == memo1_)
        setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    if (taskPane_ && at.x() >= layout::kClientWidth) {
        const PaneAction action = taskPane_->click(at.x() - layout::kClientWidth, at.y());
        if (action == PaneAction::Close)
            closeTaskPane();
        else if (action != PaneAction::None)
            showTaskPane();
        return;
    }
    screen_.mouseDown(at.x(), at.y(), now());
    sync();
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const QPoint at = event->position().toPoint();
    screen_.mouseMove(at.x(), at.y(), now());
    sync();
}

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    const std::optional<std::string> companion = screen_.mouseUp(at.x(), at.y(), now());
    sync();
    if (companion) launcher_->start(QString::fromStdString(*companion));
}

} // namespace procesor
