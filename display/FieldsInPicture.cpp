#include "display/FieldsInPicture.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>
#include <cstring>
#include <span>

#include "display/SpeedField.h"
#include "picture/Text.h"
#include "screen/Screen.h"

namespace procesor {

namespace {

// The UTF-8 bytes before a position counted in UTF-16 units, as the picture counts.
int bytesBefore(const QString& text, int position) {
    return int(text.left(position).toUtf8().size());
}

// Keeps a text box's viewport from painting at all: its caret, drawn by inverting the
// pixels under it, would show whatever its colour.
class NoPaint final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Paint; }
};

// The face's file with an em `scale` times larger, so that at the same pixel size each
// glyph is `scale` times smaller (a font's size is a whole number of pixels), under a
// family name of its own of the same length: "Procesor" and the em's units.
QByteArray smallerFace(std::span<const std::uint8_t> face, int units) {
    QByteArray bytes(reinterpret_cast<const char*>(face.data()), qsizetype(face.size()));
    const auto u16 = [&](qsizetype at) {
        return at + 2 <= bytes.size() ? (std::uint8_t(bytes[at]) << 8) | std::uint8_t(bytes[at + 1])
                                      : 0;
    };
    const auto u32 = [&](qsizetype at) { return (quint32(u16(at)) << 16) | quint32(u16(at + 2)); };
    const QByteArray family = QByteArray("Procesor") + QByteArray::number(units).rightJustified(5, '0');
    const QByteArray postscript = QByteArray("Pro") + QByteArray::number(units).rightJustified(5, '0') + "Sans";
    const auto replaceAll = [&](qsizetype from, qsizetype to, const QByteArray& old,
                                const QByteArray& now, bool wide) {
        QByteArray o = old, n = now;
        if (wide) {
            o.clear();
            n.clear();
            for (char c : old) o.append('\0').append(c);
            for (char c : now) n.append('\0').append(c);
        }
        for (qsizetype at = bytes.indexOf(o, from); at >= 0 && at + o.size() <= to;
             at = bytes.indexOf(o, at + o.size()))
            std::memcpy(bytes.data() + at, n.constData(), std::size_t(n.size()));
    };
    for (int t = 0, tables = u16(4); t < tables; ++t) {
        const qsizetype record = 12 + 16 * t;
        const QByteArray tag = bytes.mid(record, 4);
        const qsizetype at = u32(record + 8), length = u32(record + 12);
        if (tag == "head" && at + 20 <= bytes.size()) {
            bytes[at + 18] = char(units >> 8);
            bytes[at + 19] = char(units & 0xFF);
        } else if (tag == "name") {
            for (const bool wide : {false, true}) {
                replaceAll(at, at + length, "Procesor Sans", family, wide);
                replaceAll(at, at + length, "ProcesorSans", postscript, wide);
            }
        }
    }
    return bytes;
}

int unitsPerEm(std::span<const std::uint8_t> face) {
    const auto u16 = [&](std::size_t at) { return (face[at] << 8) | face[at + 1]; };
    for (std::size_t t = 0, tables = std::size_t(u16(4)); t < tables; ++t) {
        const std::size_t record = 12 + 16 * t;
        if (std::memcmp(face.data() + record, "head", 4) == 0) {
            const std::size_t at = (std::size_t(u16(record + 8)) << 16) | std::size_t(u16(record + 10));
            return u16(at + 18);
        }
    }
    return 0;
}

} // namespace

QFont fieldFont(qreal scale) {
    static QHash<int, QString> families; // by the em's units
    const std::span<const std::uint8_t> face = render::squarePixelFont();
    static const int own = unitsPerEm(face);
    const int units = std::clamp(qRound(own * scale), 16, 16384);
    QString& family = families[units];
    if (family.isEmpty()) {
        const int id = QFontDatabase::addApplicationFontFromData(
            units == own ? QByteArray(reinterpret_cast<const char*>(face.data()), qsizetype(face.size()))
                         : smallerFace(face, units));
        family = QFontDatabase::applicationFontFamilies(id).value(0);
    }
    QFont f(family);
    f.setPixelSize(11);
    // Smaller, it keeps the fractions of its glyphs' widths and of its lines' height.
    if (units != own) f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::NoFontMerging);
    return f;
}

void leaveDrawingToPicture(QWidget* field) {
    QPalette pal = field->palette();
    for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Text, QPalette::Highlight,
                                           QPalette::HighlightedText, QPalette::Window})
        pal.setColor(role, Qt::transparent);
    field->setPalette(pal);
    field->setAutoFillBackground(false);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(field)) {
        area->viewport()->setPalette(pal);
        area->viewport()->setAutoFillBackground(false);
        area->viewport()->installEventFilter(new NoPaint(area));
    }
}

void showFields(screen::Screen& screen, const SpeedField& edit17, const QPlainTextEdit& memo1,
                qreal scale) {
    const QString memoText = memo1.toPlainText();
    const std::string memo = memoText.toStdString();
    if (memo != screen.fields().memo1) screen.memoEdited(memo);
    // The lines of the instruction box step by whole lines.
    screen.fieldsScrolled(qRound(edit17.scrolledBy() * scale),
                          qRound(memo1.horizontalScrollBar()->value() * scale),
                          memo1.verticalScrollBar()->value() *
                              render::lineHeight(render::Face::Window));
    // Only the field with the focus shows its selection and its caret.
    render::Selection editSelection, memoSelection;
    int editCaret = -1, memoCaret = -1;
    if (edit17.hasFocus() && edit17.isVisible()) {
        const QString text = edit17.text();
        if (edit17.hasSelectedText())
            editSelection = {bytesBefore(text, edit17.selectionStart()),
                             bytesBefore(text, edit17.selectionEnd())};
        editCaret = bytesBefore(text, edit17.cursorPosition());
    }
    if (memo1.hasFocus()) {
        const QTextCursor cursor = memo1.textCursor();
        memoSelection = {bytesBefore(memoText, cursor.selectionStart()),
                         bytesBefore(memoText, cursor.selectionEnd())};
        memoCaret = bytesBefore(memoText, cursor.position());
    }
    screen.fieldsSelected(editSelection, memoSelection);
    screen.fieldCarets(editCaret, memoCaret);
}

} // namespace procesor
