#pragma once

// Helpers of the window tests: a window with a recording launcher, clicks at
// client coordinates as the student makes them, and pixels of what is drawn.

#include <QColor>
#include <QCoreApplication>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QStringList>
#include <QTest>
#include <QUrl>
#include <QWidget>

#include <memory>

#include "display/CompanionLauncher.h"
#include "display/TForm1.h"

namespace testing {

// Records every companion start instead of starting a process.
class RecordingLauncher final : public procesor::CompanionLauncher {
public:
    void start(const QString& command) override { started << command; }
    QStringList started;
};

struct Window {
    RecordingLauncher* launcher;
    std::unique_ptr<procesor::TForm1> form;

    procesor::TForm1* operator->() const { return form.get(); }
    procesor::TForm1& operator*() const { return *form; }
};

// Waits until the window's first frame is out and it has made its editable fields
// (which it makes by itself, after that frame).
inline bool waitForControls(procesor::TForm1& form) {
    if (!QTest::qWaitForWindowExposed(&form)) return false;
    const bool made =
        QTest::qWaitFor([&] { return form.findChild<QWidget*>("Edit17") != nullptr; });
    QCoreApplication::processEvents();
    return made;
}

// A fresh window, shown, exposed and with its fields.
inline Window openWindow() {
    auto launcher = std::make_unique<RecordingLauncher>();
    RecordingLauncher* recorder = launcher.get();
    auto form = std::make_unique<procesor::TForm1>(std::move(launcher));
    form->show();
    if (!waitForControls(*form)) qWarning("window not exposed or without its fields");
    return {recorder, std::move(form)};
}

// A left click at a point of the client area, delivered to whatever lies there.
inline void clickAt(QWidget& form, QPoint p) {
    QWidget* target = form.childAt(p);
    if (!target) target = &form;
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(&form, p));
}

// Files or a text dragged onto a point of the window and dropped there.
inline bool dropOn(QWidget& form, QPoint p, const QList<QUrl>& urls, const QString& text = {}) {
    QMimeData data;
    if (!urls.isEmpty()) data.setUrls(urls);
    if (!text.isNull()) data.setText(text);
    QDragEnterEvent enter(p, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(p), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &drop);
    return drop.isAccepted();
}

inline QImage picture(QWidget& form) {
    return form.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QRgb rgbAt(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

inline QString hex(QRgb rgb) {
    return QStringLiteral("#%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

} // namespace testing
