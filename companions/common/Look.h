#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <string_view>

#include "companions/common/Word.h"
#include "renderer/Text.h"

class QBoxLayout;
class QLabel;
class QPainter;
class QVBoxLayout;
class QWidget;

// The simulator's visual language, shared by every companion program: the colours of
// the diagram, its font, and the frame of a companion window (title, heading, text).
namespace companion::look {

QColor wire();       // idle wire, #008000
QColor signal();     // wire carrying a 1, #FF0000
QColor background(); // window, #D4D0C8
QColor ready();      // button that responds, aqua #00FFFF
QColor pressed();    // button while pressed, teal #008080
QColor disabled();   // button that does not respond, cream #FFFBF0
QColor current();    // highlighted line or value, yellow #FFFF00
QColor unmarked();   // the same when not highlighted, sky blue #A6CAF0
QColor digit();      // register digits, red on white
QColor busDigit();   // bus digits, blue

// The diagram's window font, "MS Sans Serif" 11 px, as an outline font built into the
// program whose every pixel is a square on the grid: exact at 11 px on a plain screen
// and at any scale factor (each pixel simply grows). Its bold face is the diagram's
// bold: every glyph struck twice, one pixel apart, one pixel wider.
inline constexpr int kFontPixels = 11;
// Headings and register digits: the same glyphs with every pixel doubled.
inline constexpr int kLargePixels = 2 * kFontPixels;

// Registers the built-in font (regular and bold) with the application and returns its
// family. Call after the QApplication exists.
QString registerFont();

// Registers the font and sets the application's font, palette and window icon. Call
// once, after the QApplication exists; later calls do nothing.
void applyToApplication();

// The built-in family once registered (the application's default family before).
QString fontFamily();
// The built-in font at `pixels`: kFontPixels for texts, kLargePixels for headings and
// digits.
QFont font(bool bold = false, int pixels = kFontPixels);

// Draws `text` in one of the diagram's own faces, pixel for pixel as the diagram draws
// it, `scale` times its size, centred in `box`, on `paper`.
void drawDiagramText(QPainter& p, const QRectF& box, procesor::render::Face face,
                     const QString& text, const QColor& ink, const QColor& paper, int scale = 1);

// Sets the window title and builds the common head of a companion window: a bold
// heading and a word-wrapped explanation. The returned layout is the window's own,
// for the rest of its content.
QVBoxLayout* frameWindow(QWidget* window, const QString& title, const QString& heading,
                         const QString& explanation);

// Texts of the machine's own tables (UTF-8).
QString toQString(std::string_view text);
// "0110" for 6.
QString binary(int word);
// "zapíná řádek 1100" / "zapínají řádky 0011, 0110": who switches a signal on.
QString switchedOnBy(const QString& lineList, std::size_t count);
// The clock's state as the texts name it: "klid", "fáze Φ1", "fáze Φ2".
QString stateName(Phase phase);

// Gives a finished window a size at which its wrapped texts fit: `width` or the
// layout's minimum width if that is larger, and as tall as the texts need there. The
// window cannot be made smaller than its narrowest layout needs.
void fitToContents(QWidget* window, int width = 780);

// A word-wrapped paragraph of explanatory text.
QLabel* makeText(const QString& text, QWidget* parent = nullptr);

// A listing or value label that is yellow when current and sky blue otherwise.
QLabel* makeMarkable(const QString& text, QWidget* parent = nullptr);
void setMarked(QLabel* label, bool current);
bool isMarked(const QLabel* label);

} // namespace companion::look
