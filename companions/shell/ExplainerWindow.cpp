#include "companions/shell/ExplainerWindow.h"

#include <QKeyEvent>
#include <QMouseEvent>
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
    const Canvas& c = scene_->canvas();
    view_ = QImage(reinterpret_cast<const uchar*>(c.pixels.data()), c.width, c.height,
                   c.width * qsizetype(sizeof(std::uint32_t)), QImage::Format_RGB32);
    fit();
}

ExplainerWindow::~ExplainerWindow() = default;

QImage ExplainerWindow::picture() const {
    return view_.copy();
}

void ExplainerWindow::fit() {
    ratio_ = devicePixelRatioF();
    factor_ = std::max(1, int(std::floor(ratio_ + 1e-9)));
    // The window's size in its own (logical) units, so that it covers exactly the
    // scene's pixels times the factor in device pixels.
    const QSize size(int(std::ceil(scene_->width() * factor_ / ratio_ - 1e-9)),
                     int(std::ceil(scene_->height() * factor_ / ratio_ - 1e-9)));
    setFixedSize(size);
    update();
}

void ExplainerWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QWindow* w = windowHandle())
        connect(w, &QWindow::screenChanged, this, &ExplainerWindow::fit, Qt::UniqueConnection);
    if (devicePixelRatioF() != ratio_) fit();
}

QPoint ExplainerWindow::toScene(QPointF at) const {
    return {int(std::floor(at.x() * ratio_ / factor_)), int(std::floor(at.y() * ratio_ / factor_))};
}

void ExplainerWindow::sync() {
    if (!scene_->render().empty()) update();
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

void ExplainerWindow::paintEvent(QPaintEvent*) {
    if (devicePixelRatioF() != ratio_) fit();
    QPainter p(this);
    // At fractional scales the window's last device row or column may lie beyond the
    // scene's pixels: it shows the window colour.
    p.fillRect(rect(), QColor(QRgb(kWindowColour)));
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Drawn at the device's own pixels: one scene pixel is factor x factor of them.
    QImage shown = view_;
    shown.setDevicePixelRatio(ratio_ / factor_);
    p.drawImage(QPointF(0, 0), shown);
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
