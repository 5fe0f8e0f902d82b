#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <cstdint>
#include <vector>

#include "picture/Canvas.h"
#include "picture/Scaling.h"
#include "screen/Shortcuts.h"

class QKeyEvent;
class QPainter;

// A canvas shown in a Qt widget by the picture's one rule (picture/Scaling.h), for
// every window of the simulator and of the explainers: its size in the widget's room
// at the screen's device pixel ratio, where it lies there, its paint (a whole factor
// drawn as sharp squares, any other size made to the device pixels, every line
// equally wide) and where a point of the widget lands on it.
namespace procesor {

class ShownPicture {
public:
    // Where the picture lies in a room larger than itself.
    enum class Place { TopLeft, TopCentre, Centre };

    explicit ShownPicture(Place place = Place::TopLeft) : place_(place) {}

    // The canvas shown, drawn anew; it must outlive the picture or be replaced.
    void show(const render::Canvas& canvas);
    // The canvas's pixels in `box` drawn anew in place: made to size again when next
    // painted (a caller repaints areaOf(box)).
    void changed(render::Box box);
    const render::Canvas* canvas() const { return canvas_; }

    // Fits the picture to a room of `room` in the widget's own units at `ratio` device
    // pixels per unit: the largest size by the rule, or one device pixel per picture
    // pixel when `actualSize` ("1:1"); placed in the room by the picture's Place, then
    // moved by `shift` device pixels (a picture shown beside another).
    void fit(QSize room, qreal ratio, bool actualSize = false, QPoint shift = {});
    const render::Fit& shown() const { return fit_; }
    qreal ratio() const { return ratio_; }
    QPoint origin() const { return origin_; } // the picture's top left, in device pixels

    // Paints the part of the room under `area` (the widget's units): the picture where
    // it lies, `background` around it.
    void paint(QPainter& painter, const QRegion& area, QColor background);
    // The widget's area that shows the picture's pixels in `box` (to repaint them).
    QRect areaOf(render::Box box) const;
    // The picture pixel under a point of the widget (outside: x and y -1).
    render::PicturePoint at(QPointF point) const;

private:
    void paintPart(QPainter& painter, const QRect& area);
    // The device pixels, from the picture's top left, that show the canvas's box.
    QRect devicePixels(render::Box box) const;

    Place place_;
    const render::Canvas* canvas_ = nullptr;
    render::Fit fit_;
    qreal ratio_ = 1;
    QPoint origin_;
    // At a size that is not a whole factor: the picture made to the device pixels,
    // kept; the parts whose canvas pixels changed since are made anew when painted.
    std::vector<std::uint8_t> sized_;
    QImage sizedView_; // sized_, not copied
    QRegion stale_;    // device pixels of sized_ that no longer show the canvas
};

// A key event as the shared key rules read it (screen/Shortcuts.h).
screen::KeyChord keyChordOf(const QKeyEvent* event);

} // namespace procesor
