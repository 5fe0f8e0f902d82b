#include "companions/common/Look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QPalette>
#include <QVBoxLayout>

#include "panel/Colours.h"

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

QString loadFontFamily(const QString& fontFile) {
    const int id = QFontDatabase::addApplicationFont(fontFile);
    if (id >= 0) {
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty()) return families.first();
    }
    return QApplication::font().family();
}

void applyToApplication() {
    if (applied()) return;
    applied() = true;
    chosenFamily() = loadFontFamily();

    QApplication::setFont(font());
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
    // The diagram font is a bitmap font of one size; larger text (headings, digits)
    // takes the system's scalable sans serif so that it does stand out.
    QString family = fontFamily();
    if (pixels > kFontPixels && !QFontDatabase::isSmoothlyScalable(family))
        family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
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
    head->setFont(font(true, kDigitPixels));
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

QString phaseName(Phase phase) {
    switch (phase) {
    case Phase::Rest:
        return QStringLiteral("klid");
    case Phase::Phi1:
        return QStringLiteral("Φ1");
    case Phase::Phi2:
        return QStringLiteral("Φ2");
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

QLabel* makeDigit(QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("0"), parent);
    label->setFont(font(true, kDigitPixels));
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(24);
    label->setStyleSheet(
        QStringLiteral("QLabel { background: white; color: %1; padding: 0px 3px; }")
            .arg(digit().name()));
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
