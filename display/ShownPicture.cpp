#include "display/ShownPicture.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "picture/Scaled.h"

namespace procesor {

void ShownPicture::show(const render::Canvas& canvas) {
    canvas_ = &canvas;
    stale_ = QRegion(0, 0, fit_.width, fit_.height);
}

void ShownPicture::changed(render::Box box) {
    if (!fit_.sharp()) stale_ += devicePixels(box);
}

void ShownPicture::fit(QSize room, qreal ratio, bool actualSize, QPoint shift) {
    if (!canvas_) return;
    ratio_ = ratio;
    const int roomWidth = std::max(1, qRound(room.width() * ratio));
    const int roomHeight = std::max(1, qRound(room.height() * ratio));
    const int w = canvas_->width, h = canvas_->height;
    const render::Fit fit =
        actualSize ? render::actualSize(w, h) : render::fitPicture(roomWidth, roomHeight, w, h);
    // Beside the picture: the room it leaves, split on both sides where it is centred.
    const int spareX = std::max(0, roomWidth - fit.width);
    const int spareY = std::max(0, roomHeight - fit.height);
    origin_ = place_ == Place::TopLeft     ? QPoint(0, 0)
              : place_ == Place::TopCentre ? QPoint(spareX / 2, 0)
                                           : QPoint(spareX / 2, spareY / 2);
    origin_ += shift;
    if (fit == fit_) return;
    fit_ = fit;
    if (fit_.sharp()) {
        sized_.clear();
        sizedView_ = QImage();
        return;
    }
    sized_.assign(std::size_t(fit_.width) * fit_.height * 4, 0);
    sizedView_ = QImage(sized_.data(), fit_.width, fit_.height, qsizetype(fit_.width) * 4,
                        QImage::Format_RGBA8888);
    stale_ = QRegion(0, 0, fit_.width, fit_.height);
}

void ShownPicture::paint(QPainter& painter, const QRegion& area, QColor background) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (const QRect& r : area) {
        // Also the last row or column of device pixels the picture may leave.
        painter.fillRect(r, background);
        if (canvas_ && fit_.width > 0) paintPart(painter, r);
    }
}

void ShownPicture::paintPart(QPainter& painter, const QRect& area) {
    const qreal r = ratio_;
    // The device pixels under the area that the picture covers, from its top left.
    const int x0 = std::max(int(std::floor(area.left() * r)) - origin_.x(), 0);
    const int y0 = std::max(int(std::floor(area.top() * r)) - origin_.y(), 0);
    const int x1 = std::min(int(std::ceil((area.right() + 1) * r)) - origin_.x(), fit_.width);
    const int y1 = std::min(int(std::ceil((area.bottom() + 1) * r)) - origin_.y(), fit_.height);
    if (x0 >= x1 || y0 >= y1) return;
    const auto target = [&](int left, int top, int right, int bottom) {
        return QRectF((origin_.x() + left) / r, (origin_.y() + top) / r, (right - left) / r,
                      (bottom - top) / r);
    };
    if (fit_.sharp()) {
        // Whole pixels of the canvas, each a square of factor x factor device pixels.
        const int f = fit_.factor;
        const int sx0 = x0 / f, sy0 = y0 / f, sx1 = (x1 + f - 1) / f, sy1 = (y1 + f - 1) / f;
        const render::Canvas& c = *canvas_;
        const QImage image(reinterpret_cast<const uchar*>(c.pixels.data()), c.width, c.height,
                           c.width * qsizetype(sizeof(std::uint32_t)), QImage::Format_RGB32);
        painter.drawImage(target(sx0 * f, sy0 * f, sx1 * f, sy1 * f), image,
                          QRect(sx0, sy0, sx1 - sx0, sy1 - sy0));
        return;
    }
    // The picture made anew at its size where its canvas changed, then copied one
    // device pixel for one.
    const QRegion stale = stale_ & QRect(x0, y0, x1 - x0, y1 - y0);
    for (const QRect& s : stale)
        render::scaleTo(*canvas_, fit_.width, fit_.height, sized_.data(),
                        render::Box{s.x(), s.y(), s.width(), s.height()});
    stale_ -= stale;
    painter.drawImage(target(x0, y0, x1, y1), sizedView_, QRectF(x0, y0, x1 - x0, y1 - y0));
}

QRect ShownPicture::devicePixels(render::Box box) const {
    if (fit_.width <= 0 || box.w <= 0 || box.h <= 0) return {};
    // The device pixels any of whose picture pixels lie in the box.
    const auto from = [](int at, int shown, int own) {
        return int(std::int64_t(at) * shown / own);
    };
    const auto to = [](int at, int shown, int own) {
        return int((std::int64_t(at) * shown + own - 1) / own);
    };
    const int x0 = from(box.x, fit_.width, fit_.pictureWidth);
    const int y0 = from(box.y, fit_.height, fit_.pictureHeight);
    const int x1 = to(box.x + box.w, fit_.width, fit_.pictureWidth);
    const int y1 = to(box.y + box.h, fit_.height, fit_.pictureHeight);
    return QRect(x0, y0, x1 - x0, y1 - y0) & QRect(0, 0, fit_.width, fit_.height);
}

QRect ShownPicture::areaOf(render::Box box) const {
    const QRect d = devicePixels(box).translated(origin_);
    if (d.isEmpty()) return {};
    const int left = int(std::floor(d.x() / ratio_)), top = int(std::floor(d.y() / ratio_));
    return {left, top, int(std::ceil((d.x() + d.width()) / ratio_)) - left,
            int(std::ceil((d.y() + d.height()) / ratio_)) - top};
}

render::PicturePoint ShownPicture::at(QPointF point) const {
    return render::pictureAt(fit_, int(std::floor(point.x() * ratio_)) - origin_.x(),
                             int(std::floor(point.y() * ratio_)) - origin_.y());
}

screen::KeyChord keyChordOf(const QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers held = event->modifiers();
    screen::KeyChord chord;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        chord.key = char('0' + (key - Qt::Key_0));
    else if (key >= Qt::Key_A && key <= Qt::Key_Z)
        chord.key = char('a' + (key - Qt::Key_A));
    chord.ctrl = held & Qt::ControlModifier;
    chord.shift = held & Qt::ShiftModifier;
    chord.alt = held & Qt::AltModifier;
    chord.meta = held & Qt::MetaModifier;
    return chord;
}

} // namespace procesor
