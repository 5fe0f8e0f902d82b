// Before Qt's headers, whose `signals` keyword would meet the samples' field of that name.
#include "screen/TimeLine.h"

#include "display/TimingWindow.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <optional>

#include "display/SaveFile.h"
#include "display/ShownPicture.h"
#include "display/TForm1.h"
#include "panel/Colours.h"
#include "picture/PngFile.h"
#include "screen/Saving.h"

namespace procesor {

using screen::TimingDiagram;

// The timing diagram's picture, as large as the room allows by the picture's rule,
// centred across; keys, clicks and the wheel go to the screen's timing diagram.
class TimingView final : public QWidget {
public:
    explicit TimingView(TimingWindow& window) : QWidget(&window), window_(window) {
        setObjectName(QStringLiteral("TimingView"));
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(TimingDiagram::kWidth / 2, TimingDiagram::kHeight / 2);
        setAccessibleName(QStringLiteral("Časový diagram"));
    }

    QSize sizeHint() const override { return {TimingDiagram::kWidth, TimingDiagram::kHeight}; }

    // The canvas drawn anew (its pixels stay where they are).
    void showCanvas(const render::Canvas& canvas) {
        picture_.show(canvas);
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        if (!picture_.canvas()) {
            p.fillRect(rect(), QColor::fromRgb(clInactiveBorder));
            return;
        }
        picture_.fit(size(), devicePixelRatioF());
        picture_.paint(p, event->region(), QColor::fromRgb(clInactiveBorder));
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton || !picture_.canvas()) return;
        setFocus(Qt::MouseFocusReason);
        picture_.fit(size(), devicePixelRatioF());
        const render::PicturePoint at = picture_.at(event->position());
        if (!at.inside()) return;
        if (window_.main_.diagramScreen().timingDiagramClick(at.x, at.y, window_.main_.now()))
            window_.moved();
    }

    void wheelEvent(QWheelEvent* event) override {
        const QPoint delta = event->angleDelta();
        // Down (or to the right) goes on in time; one notch, three columns.
        wheel_ -= delta.y() != 0 ? delta.y() : delta.x();
        const int columns = wheel_ / 40;
        if (columns == 0) return;
        wheel_ -= columns * 40;
        window_.main_.diagramScreen().timingDiagramScroll(columns);
        window_.redraw();
    }

    void keyPressEvent(QKeyEvent* event) override {
        std::optional<TimingDiagram::Key> key;
        switch (event->key()) {
        case Qt::Key_Left:
            key = TimingDiagram::Key::Left;
            break;
        case Qt::Key_Right:
            key = TimingDiagram::Key::Right;
            break;
        case Qt::Key_PageUp:
            key = TimingDiagram::Key::PageLeft;
            break;
        case Qt::Key_PageDown:
            key = TimingDiagram::Key::PageRight;
            break;
        case Qt::Key_Home:
            key = TimingDiagram::Key::Home;
            break;
        case Qt::Key_End:
            key = TimingDiagram::Key::End;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            key = TimingDiagram::Key::Enter;
            break;
        default:
            break;
        }
        if (!key) {
            QWidget::keyPressEvent(event);
            return;
        }
        if (window_.main_.diagramScreen().timingDiagramKey(*key, window_.main_.now()))
            window_.moved();
        else
            window_.redraw(); // the chosen column moved
    }

private:
    TimingWindow& window_;
    // As large as the room allows, centred across.
    ShownPicture picture_{ShownPicture::Place::TopCentre};
    int wheel_ = 0; // the wheel's turn not yet taken, in eighths of a degree
};

TimingWindow::TimingWindow(TForm1& main) : QWidget(&main, Qt::Window), main_(main) {
    setObjectName(QStringLiteral("TimingWindow"));
    setWindowTitle(QStringLiteral("Časový diagram"));
    auto* view = new TimingView(*this);
    view_ = view;

    log_ = new QPlainTextEdit(this);
    log_->setObjectName(QStringLiteral("TransferLog"));
    log_->setAccessibleName(QStringLiteral("Záznam přenosů"));
    log_->setReadOnly(true);
    log_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    log_->setMinimumHeight(80);
    log_->setMaximumBlockCount(kLogLines);
    log_->setFixedHeight(140);

    saveTable_ = new QPushButton(QStringLiteral("Uložit tabulku (CSV)…"), this);
    saveTable_->setObjectName(QStringLiteral("SaveTable"));
    savePicture_ = new QPushButton(QStringLiteral("Uložit obrázek (PNG)…"), this);
    savePicture_->setObjectName(QStringLiteral("SaveTimingPicture"));
    connect(saveTable_, &QPushButton::clicked, this, &TimingWindow::saveTable);
    connect(savePicture_, &QPushButton::clicked, this, &TimingWindow::savePicture);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveTable_);
    buttons->addWidget(savePicture_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(view_, 1);
    layout->addWidget(log_, 0);
    layout->addLayout(buttons);
    buttons->setContentsMargins(6, 0, 6, 0);

    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    // Stepping the time line from here as from the main window.
    auto* back = new QShortcut(QKeySequence::Undo, this);
    connect(back, &QShortcut::activated, this, [this] { main_.give(screen::Command::StepBack); });
    for (const QKeySequence& keys :
         {QKeySequence(QKeySequence::Redo), QKeySequence(tr("Ctrl+Y"))}) {
        auto* forward = new QShortcut(keys, this);
        connect(forward, &QShortcut::activated, this,
                [this] { main_.give(screen::Command::StepForward); });
    }
    setFocusProxy(view_);
    resize(sizeHint());
}

TimingWindow::Shown TimingWindow::now() const {
    const History& h = main_.diagramScreen().history();
    return {h.first(), h.position(), h.last()};
}

void TimingWindow::updated() {
    if (isVisible() && (!drawn_ || !(now() == shown_))) redraw();
}

void TimingWindow::redraw() {
    shown_ = now();
    drawn_ = true;
    static_cast<TimingView*>(view_)->showCanvas(main_.diagramScreen().drawTimingDiagram());
    showLog();
}

// Pulses given at the end of the time line only add their lines. An action with the
// machine back in time replaces the entries after it, and the machine ends at the
// new entry, the end: so from a place back in time, a move that ends there or changes
// how many entries there are makes the log anew, and any other is a step over the same
// entries. (The window is told of every update, so no such entry passes unseen.)
void TimingWindow::showLog() {
    const History& h = main_.diagramScreen().history();
    const Shown was = logged_;
    const Shown now = this->now();
    if (logMade_ && now == was) return;
    logged_ = now;
    const auto text = [&](std::uint64_t from) {
        QStringList lines;
        for (const std::string& line : transferLog(h, from, now.last))
            lines << QString::fromStdString(line);
        return lines.join(QLatin1Char('\n'));
    };
    if (logMade_ && was.position == was.last) {
        if (now.last > was.last) {
            const QString added = text(std::max(was.last, now.first));
            if (!added.isEmpty()) log_->appendPlainText(added);
        }
    } else if (logMade_ && now.first == was.first && now.last == was.last &&
               now.position < now.last) {
        return;
    } else {
        logMade_ = true;
        log_->setPlainText(
            text(std::max(h.first(), h.last() > kLogEntries ? h.last() - kLogEntries : 0)));
    }
    log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum()); // the newest
}

void TimingWindow::moved() {
    main_.refresh(); // which tells this window in turn
    redraw();
}

void TimingWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    logMade_ = false; // hidden, it was told nothing
    redraw();
}

void TimingWindow::saveTable() {
    const QString path =
        askSavePath(this, QStringLiteral("Uložit tabulku (CSV)"), QStringLiteral("takty.csv"),
                    QStringLiteral("Tabulka CSV (*.csv)"));
    if (path.isEmpty()) return;
    if (!writeWholeFile(path, pulseTableCsv(main_.diagramScreen().history())))
        main_.reportError(screen::saveFailedMessage(screen::SavedFile::Table, path.toStdString()));
}

void TimingWindow::savePicture() {
    const QString path =
        askSavePath(this, QStringLiteral("Uložit obrázek (PNG)"),
                    QStringLiteral("casovy-diagram.png"), QStringLiteral("Obrázek PNG (*.png)"));
    if (path.isEmpty()) return;
    if (!writeWholeFile(path, render::pngBytes(main_.diagramScreen().drawTimingDiagram())))
        main_.reportError(
            screen::saveFailedMessage(screen::SavedFile::TimingPicture, path.toStdString()));
}

} // namespace procesor
