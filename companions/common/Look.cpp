#include "companions/common/Look.h"

#include <QApplication>
#include <QByteArray>
#include <QFontDatabase>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QPalette>
#include <QVBoxLayout>
#include <cmath>

#include "assets/ProgramIcon.h"
#include "panel/Colours.h"
#include "renderer/Text.h"

namespace companion::look {

namespace {

QColor rgb(procesor::Rgb value) {
    return QColor(QRgb(value));
}

QString& chosenFamily() {
    static QString family;
    return family;
}

bool& applied() {
    static bool done = false;
    return done;
}

QString labelStyle(const QColor& background) {
    return QStringLiteral("QLabel { background: %1; padding: 0px 2px; }").arg(background.name());
}

} // namespace

QColor wire() {
    return rgb(procesor::clGreen);
}
QColor signal() {
    return rgb(procesor::clRed);
}
QColor background() {
    return rgb(procesor::clInactiveBorder);
}
QColor ready() {
    return rgb(procesor::clAqua);
}
QColor pressed() {
    return rgb(procesor::clTeal);
}
QColor disabled() {
    return rgb(procesor::clCream);
}
QColor current() {
    return rgb(procesor::clYellow);
}
QColor unmarked() {
    return rgb(procesor::clSkyBlue);
}
QColor digit() {
    return rgb(procesor::clRed);
}
QColor busDigit() {
    return rgb(procesor::clBlue);
}

QString registerFont() {
    if (chosenFamily().isEmpty()) {
        for (const auto data :
             {procesor::render::squarePixelFont(), procesor::render::squarePixelBoldFont()}) {
            const int id = QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(
                reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size())));
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            if (!families.isEmpty()) chosenFamily() = families.first();
        }
    }
    return fontFamily();
}

void applyToApplication() {
    if (applied()) return;
    applied() = true;
    registerFont();

    QApplication::setFont(font());
    QApplication::setWindowIcon(procesor::programIcon());
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, background());
    palette.setColor(QPalette::Button, background());
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    QApplication::setPalette(palette);
}

QString fontFamily() {
    return chosenFamily().isEmpty() ? QApplication::font().family() : chosenFamily();
}

QFont font(bool bold, int pixels) {
    QFont f(fontFamily());
    f.setPixelSize(pixels);
    f.setBold(bold);
    // The glyphs' pixels lie on the font's own grid; hinting would move them. Without
    // antialiasing a text centred on half a pixel keeps solid pixels instead of grey ones.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::NoAntialias));
    return f;
}

void drawDiagramText(QPainter& p, const QRectF& box, procesor::render::Face face,
                     const QString& text, const QColor& ink, const QColor& paper, int scale) {
    namespace render = procesor::render;
    const QByteArray utf8 = text.toUtf8();
    const std::string_view view(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    render::Canvas canvas;
    canvas.width = std::max(1, render::textWidth(face, view));
    canvas.height = render::lineHeight(face);
    canvas.pixels.assign(std::size_t(canvas.width) * std::size_t(canvas.height),
                         0xFF000000u | paper.rgb());
    render::drawText(canvas, face, 0, 0, view, ink.rgb() & 0xFFFFFFu,
                     render::Box{0, 0, canvas.width, canvas.height});
    const QImage image(reinterpret_cast<const uchar*>(canvas.pixels.data()), canvas.width,
                       canvas.height, QImage::Format_RGB32);
    const QSizeF size(canvas.width * scale, canvas.height * scale);
    const QRectF target(box.center() - QPointF(size.width() / 2, size.height() / 2), size);
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(QRectF(QPointF(std::round(target.left()), std::round(target.top())), size), image);
    p.restore();
}

QVBoxLayout* frameWindow(QWidget* window, const QString& title, const QString& heading,
                         const QString& explanation) {
    window->setWindowTitle(title);
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, background());
    window->setPalette(palette);

    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(8);

    auto* head = new QLabel(heading, window);
    head->setObjectName(QStringLiteral("heading"));
    head->setFont(font(true, kLargePixels));
    layout->addWidget(head);
    layout->addWidget(makeText(explanation, window));
    return layout;
}

void fitToContents(QWidget* window, int width) {
    QLayout* layout = window->layout();
    if (!layout) return;
    layout->activate();
    const QSize least = layout->minimumSize();
    const auto heightAt = [&](int w) {
        return layout->hasHeightForWidth()
                   ? std::max(layout->totalHeightForWidth(w), least.height())
                   : least.height();
    };
    // Wrapped text needs the most height at the narrowest width.
    window->setMinimumSize(least.width(), heightAt(least.width()));
    const int chosen = std::max(width, least.width());
    window->resize(chosen, heightAt(chosen));
}

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString binary(int word) {
    return QStringLiteral("%1").arg(toWord(word), 4, 2, QLatin1Char('0'));
}

QString switchedOnBy(const QString& lineList, std::size_t count) {
    return (count == 1 ? QStringLiteral("zapíná řádek %1") : QStringLiteral("zapínají řádky %1"))
        .arg(lineList);
}

QString stateName(Phase phase) {
    switch (phase) {
    case Phase::Rest:
        return QStringLiteral("klid");
    case Phase::Phi1:
        return QStringLiteral("fáze Φ1");
    case Phase::Phi2:
        return QStringLiteral("fáze Φ2");
    }
    return {};
}

QLabel* makeText(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font());
    return label;
}

QLabel* makeMarkable(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(font());
    setMarked(label, false);
    return label;
}

void setMarked(QLabel* label, bool isCurrent) {
    label->setProperty("marked", isCurrent);
    label->setStyleSheet(labelStyle(isCurrent ? current() : unmarked()));
}

bool isMarked(const QLabel* label) {
    return label->property("marked").toBool();
}

} // namespace companion::look
