#include "display/Fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace procesor {

// ---- TextFace ---------------------------------------------------------------

namespace {

// A glyph's coverage, 0..255 per pixel. The font engine hands it out either as an
// alpha map or as grey levels, depending on its cache.
QImage coverage(const QImage& map) {
    QImage out(map.size(), QImage::Format_Grayscale8);
    const bool alpha = map.format() == QImage::Format_Alpha8;
    for (int y = 0; y < map.height(); ++y) {
        uchar* line = out.scanLine(y);
        for (int x = 0; x < map.width(); ++x) {
            const QRgb px = map.pixel(x, y);
            line[x] = uchar(alpha ? qAlpha(px) : qGray(px));
        }
    }
    return out;
}

} // namespace

TextFace::TextFace(const QRawFont& raw, int lineHeight, bool emboldened)
    : raw_(raw), lineHeight_(lineHeight), ascent_(qRound(raw.ascent())), emboldened_(emboldened) {}

const TextFace::Glyph& TextFace::glyph(char16_t c) const {
    const auto found = glyphs_.constFind(c);
    if (found != glyphs_.constEnd()) return *found;

    Glyph g;
    if (raw_.isValid()) {
        const QList<quint32> index = raw_.glyphIndexesForString(QString(QChar(c)));
        if (!index.isEmpty()) {
            const QList<QPointF> advance = raw_.advancesForGlyphIndexes(index);
            g.advance = advance.isEmpty() ? 0 : qRound(advance.first().x());
            g.mask = coverage(raw_.alphaMapForGlyph(index.first(), QRawFont::PixelAntialiasing));
            const QRectF box = raw_.boundingRect(index.first());
            g.offset = QPoint(qRound(box.x()), qRound(box.y()));
        }
    }
    return *glyphs_.insert(c, g);
}

const QImage& TextFace::inked(char16_t c, QRgb ink) const {
    const quint64 key = (quint64(c) << 32) | ink;
    const auto found = inkedGlyphs_.constFind(key);
    if (found != inkedGlyphs_.constEnd()) return *found;

    const QImage& mask = glyph(c).mask;
    QImage image(mask.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < mask.height(); ++y) {
        const uchar* in = mask.constScanLine(y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < mask.width(); ++x) {
            const int a = in[x];
            out[x] = qPremultiply(qRgba(qRed(ink), qGreen(ink), qBlue(ink), a));
        }
    }
    return *inkedGlyphs_.insert(key, image);
}

int TextFace::width(const QString& text) const {
    int w = 0;
    for (QChar ch : text) w += glyph(ch.unicode()).advance + (emboldened_ ? 1 : 0);
    if (emboldened_ && !text.isEmpty()) ++w; // the overhang of the last stroke
    return w;
}

void TextFace::draw(QPainter& painter, QPoint topLeft, const QString& text, QColor ink) const {
    int x = topLeft.x();
    const int baseline = topLeft.y() + ascent_;
    const QRgb rgb = ink.rgb();
    for (QChar ch : text) {
        const Glyph& g = glyph(ch.unicode());
        if (!g.mask.isNull() && g.mask.width() > 0) {
            const QImage& image = inked(ch.unicode(), rgb);
            const QPoint at(x + g.offset.x(), baseline + g.offset.y());
            painter.drawImage(at, image);
            if (emboldened_) painter.drawImage(at + QPoint(1, 0), image);
        }
        x += g.advance + (emboldened_ ? 1 : 0);
    }
}

// ---- Fonts --------------------------------------------------------------------

namespace {

// The family a font file gave when it was added, added once per process; empty
// when the file is missing or unreadable.
QString registeredFamily(const QString& path) {
    static QHash<QString, QString> families;
    const auto found = families.constFind(path);
    if (found != families.constEnd()) return *found;
    QString family;
    if (QFile::exists(path)) {
        const int id = QFontDatabase::addApplicationFont(path);
        if (id >= 0) {
            const QStringList names = QFontDatabase::applicationFontFamilies(id);
            if (!names.isEmpty()) family = names.first();
        }
    }
    families.insert(path, family);
    return family;
}

// A sans-serif of about the same widths: the Arial-like faces first.
QFont sansSerif(int pixelSize, bool bold) {
    QFont f;
    f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

TextFace fallbackFace(int pixelSize, bool bold, int minimumLineHeight) {
    const QFont f = sansSerif(pixelSize, bold);
    return TextFace(QRawFont::fromFont(f), std::max(minimumLineHeight, QFontMetrics(f).height()),
                    false);
}

} // namespace

Fonts::Fonts(const QString& bitmapFontPath) {
    const QString family = registeredFamily(bitmapFontPath);
    if (!family.isEmpty()) {
        // The font holds bitmaps only, one strike per point size, each named by its
        // line height: 13 is the 8-point strike (11-pixel characters), 20 the
        // 12-point one (16-pixel characters). Neither has a bold of its own.
        const QRawFont eightPoint(bitmapFontPath, 13);
        const QRawFont twelvePoint(bitmapFontPath, 20);
        if (eightPoint.isValid() && twelvePoint.isValid()) {
            exact_ = true;
            window_ = TextFace(eightPoint, 13, false);
            windowBold_ = TextFace(eightPoint, 13, true);
            digits_ = TextFace(twelvePoint, 20, true);
            widgetFont_ = QFont(family);
            widgetFont_.setPixelSize(11);
            widgetFont_.setStyleStrategy(QFont::NoAntialias);
            widgetFont_.setHintingPreference(QFont::PreferNoHinting);
            return;
        }
    }
    window_ = fallbackFace(11, false, 13);
    windowBold_ = fallbackFace(11, true, 13);
    digits_ = fallbackFace(16, true, 20);
    widgetFont_ = sansSerif(11, false);
}

QFont Fonts::widgetFont(qreal devicePixelRatio) const {
    if (devicePixelRatio == 1) return widgetFont_;
    return sansSerif(11, false);
}

QFont Fonts::serifTitle(int pixelSize) {
    QFont f;
    f.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Nimbus Roman"),
                   QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    f.setStyleHint(QFont::Serif);
    f.setPixelSize(pixelSize);
    f.setBold(true);
    return f;
}

} // namespace procesor
