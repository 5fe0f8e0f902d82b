#pragma once

#include <QImage>
#include <QWidget>

#include <memory>

#include "companions/common/Scene.h"

namespace procesor::explain {

// The desktop window round one explainer scene: it copies the scene's picture,
// each pixel grown by a whole factor (the largest that the screen's scale allows, at
// least 1), so that no glyph ever merges at 1.25 or 1.5; it passes the mouse and the
// keys to the scene (Tab, Shift+Tab, Space, Enter, the arrows) and closes on Escape.
// Its size is the scene's, fixed.
class ExplainerWindow final : public QWidget {
    Q_OBJECT
public:
    explicit ExplainerWindow(std::unique_ptr<Scene> scene, QWidget* parent = nullptr);
    ~ExplainerWindow() override;

    Scene& scene() { return *scene_; }
    // How many device pixels each pixel of the scene takes: 1, 2, 3, ...
    int factor() const { return factor_; }
    // The scene's picture as the window shows it, one pixel per scene pixel.
    QImage picture() const;
    // Shows what the scene changed by itself (a state from the simulator).
    void refresh() { sync(); }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Fits the window to the scene at the screen's current scale.
    void fit();
    // Copies what the scene redrew.
    void sync();
    QPoint toScene(QPointF at) const;

    std::unique_ptr<Scene> scene_;
    QImage view_; // the scene's pixels, not copied
    int factor_ = 1;
    qreal ratio_ = 1;
};

} // namespace procesor::explain
