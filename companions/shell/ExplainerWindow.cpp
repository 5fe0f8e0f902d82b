#include "companions/shell/ExplainerWindow.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWindow>

#include <cmath>

#include "companions/common/Drawing.h"

namespace procesor::explain {

ExplainerWindow::ExplainerWindow(std::unique_ptr<Scene> scene, QWidget* parent)
    : QWidget(parent), scene_(std::move(scene)) {
    setWindowTitle(QString::fromStdString(scene_->title()));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    scene_->render();
    picture_.show(scene_->canvas());
    // The scene's own size in the window's units: at a ratio r its room is the scene
    // at r device pixels per pixel.
    resize(scene_->width(), scene_->height());
    fit();
}

ExplainerWindow::~ExplainerWindow() = default;

QImage ExplainerWindow::picture() const {
    const Canvas& c = scene_->canvas();
    return QImage(reinterpret_cast<const uchar*>(c.pixels.data()), c.width, c.height,
                  c.width * qsizetype(sizeof(std::uint32_t)), QImage::Format_RGB32)
        .copy();
}

void ExplainerWindow::fit() {
    const qreal ratio = devicePixelRatioF();
    // Never below one device pixel per scene pixel, so that "1:1" always fits too.
    setMinimumSize(int(std::ceil(scene_->width() / ratio - 1e-9)),
                   int(std::ceil(scene_->height() / ratio - 1e-9)));
    picture_.fit(size(), ratio, actualSize_);
    update();
}

void ExplainerWindow::setActualSize(bool on) {
    actualSize_ = on;
    fit();
}

void ExplainerWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fit();
}

void ExplainerWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QWindow* w = windowHandle())
        connect(w, &QWindow::screenChanged, this, &ExplainerWindow::fit, Qt::UniqueConnection);
    if (devicePixelRatioF() != picture_.ratio()) fit();
}

QPoint ExplainerWindow::toScene(QPointF at) const {
    const render::PicturePoint p = picture_.at(at);
    return {p.x, p.y}; // -1, -1 beside the scene
}

void ExplainerWindow::sync() {
    for (const Box& box : scene_->render()) {
        picture_.changed(box);
        update(picture_.areaOf(box));
    }
}

bool ExplainerWindow::event(QEvent* event) {
    // Tab and Shift+Tab belong to the scene's controls, not to the widgets' focus chain.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            const bool back =
                key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            scene_->key(back ? Key::BackTab : Key::Tab);
            sync();
            return true;
        }
    }
    return QWidget::event(event);
}

void ExplainerWindow::keyPressEvent(QKeyEvent* event) {
    if (screen::isActualSizeKey(keyChordOf(event))) {
        setActualSize(!actualSize_);
        return;
    }
    Key key = Key::Space;
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        return;
    case Qt::Key_Space:
        key = Key::Space;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        key = Key::Enter;
        break;
    case Qt::Key_Left:
        key = Key::Left;
        break;
    case Qt::Key_Right:
        key = Key::Right;
        break;
    case Qt::Key_Up:
        key = Key::Up;
        break;
    case Qt::Key_Down:
        key = Key::Down;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->isAutoRepeat() && (key == Key::Space || key == Key::Enter)) return;
    scene_->key(key);
    sync();
}

void ExplainerWindow::paintEvent(QPaintEvent* event) {
    if (devicePixelRatioF() != picture_.ratio()) fit(); // and painted whole next
    QPainter p(this);
    picture_.paint(p, event->region(), QColor(QRgb(kWindowColour)));
}

void ExplainerWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = toScene(event->position());
    scene_->mouseDown(at.x(), at.y());
    sync();
}

void ExplainerWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event); // a quick second click presses again
}

void ExplainerWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const QPoint at = toScene(event->position());
    scene_->mouseMove(at.x(), at.y());
    sync();
}

void ExplainerWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = toScene(event->position());
    scene_->mouseUp(at.x(), at.y());
    sync();
}

} // namespace procesor::explain
