#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRawFont>
#include <QString>

class QPainter;

namespace procesor {

// One face of the diagram's texts, drawn glyph by glyph from cached masks so that
// a bitmap font stays sharp at any device pixel ratio (each pixel simply grows).
// With the bitmap font, bold is made as the window system makes it for a font that
// has no bold of its own: every glyph struck twice, one pixel apart, one pixel
// wider, and one pixel of overhang at the end of the text.
class TextFace {
public:
    TextFace() = default;
    TextFace(const QRawFont& raw, int lineHeight, bool emboldened);

    // Width of the text's extent: the bar a label with this caption takes.
    int width(const QString& text) const;
    int lineHeight() const { return lineHeight_; }
    // Draws the text with its extent's top-left corner at topLeft.
    void draw(QPainter& painter, QPoint topLeft, const QString& text, QColor ink) const;

private:
    struct Glyph {
        QImage mask; // coverage, Format_Grayscale8
        QPoint offset;
        int advance = 0;
    };
    const Glyph& glyph(char16_t c) const;
    const QImage& inked(char16_t c, QRgb ink) const;

    QRawFont raw_;
    int lineHeight_ = 13;
    int ascent_ = 11;
    bool emboldened_ = false;
    mutable QHash<char16_t, Glyph> glyphs_;
    mutable QHash<quint64, QImage> inkedGlyphs_;
};

// The fonts of the window. "MS Sans Serif" comes from the free bitmap version in
// fonts-wine; without it every text falls back to a plain sans-serif face of the
// same pixel size, and the bars take that face's widths.
class Fonts {
public:
    static constexpr const char* kMsSansSerifPath = "/usr/share/wine/fonts/ms_sans_serif.ttf";

    explicit Fonts(const QString& bitmapFontPath = QString::fromLatin1(kMsSansSerifPath));

    // Whether the texts have the diagram's own font (and so its exact widths).
    bool exact() const { return exact_; }

    const TextFace& window() const { return window_; }         // 11 px (8 pt)
    const TextFace& windowBold() const { return windowBold_; } // 11 px bold
    const TextFace& digits() const { return digits_; }         // 16 px bold

    // The window's font for the standard controls (speed field, instruction box).
    // The bitmap font only has pixels for a ratio of 1; on denser screens the
    // controls take a scalable sans-serif of the same size instead.
    QFont widgetFont(qreal devicePixelRatio = 1) const;
    // Bold serif capitals of the control unit's titles.
    static QFont serifTitle(int pixelSize);

private:
    bool exact_ = false;
    TextFace window_;
    TextFace windowBold_;
    TextFace digits_;
    QFont widgetFont_;
};

} // namespace procesor
