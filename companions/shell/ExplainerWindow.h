#pragma once

#include <QImage>
#include <QWidget>

#include <memory>

#include "companions/common/Scene.h"
#include "display/ShownPicture.h"

namespace procesor::explain {

// The desktop window round one explainer scene. It shows the scene's picture by the
// picture's one rule, as the simulator's windows do: at a device pixel ratio r the
// window opens at the scene at r device pixels per pixel (a whole factor drawn as
// sharp squares where one comes within a tenth, otherwise made to the device pixels,
// every line equally wide), and a window made larger or smaller fits its room by the
// same rule, centred, never below one device pixel per pixel. Ctrl+0 ("1:1") shows
// the scene at one device pixel per pixel and back. It passes the mouse, at the
// scene's pixel under it, and the keys to the scene (Tab, Shift+Tab, Space, Enter,
// the arrows) and closes on Escape.
class ExplainerWindow final : public QWidget {
    Q_OBJECT
public:
    explicit ExplainerWindow(std::unique_ptr<Scene> scene, QWidget* parent = nullptr);
    ~ExplainerWindow() override;

    Scene& scene() { return *scene_; }
    // The scene's size and place as the window shows it, in device pixels.
    const render::Fit& shown() const { return picture_.shown(); }
    QPoint shownAt() const { return picture_.origin(); }
    bool actualSize() const { return actualSize_; }
    void setActualSize(bool on);
    // The scene's picture as the window shows it, one pixel per scene pixel.
    QImage picture() const;
    // Shows what the scene changed by itself (a state from the simulator).
    void refresh() { sync(); }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Fits the scene to the window's room at the screen's current ratio.
    void fit();
    // Shows what the scene redrew.
    void sync();
    QPoint toScene(QPointF at) const;

    std::unique_ptr<Scene> scene_;
    ShownPicture picture_{ShownPicture::Place::Centre};
    bool actualSize_ = false;
};

} // namespace procesor::explain
