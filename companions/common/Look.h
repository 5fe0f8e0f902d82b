#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <string_view>

#include "companions/common/Word.h"

class QBoxLayout;
class QLabel;
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

inline constexpr const char* kFontFile = "/usr/share/wine/fonts/ms_sans_serif.ttf";
inline constexpr const char* kFontFamily = "MS Sans Serif";
inline constexpr int kFontPixels = 11;
inline constexpr int kDigitPixels = 16;

// Registers the diagram font from `fontFile` and returns its family. When the file is
// missing or unreadable the application's default family is returned instead, so a
// companion still opens with readable text.
QString loadFontFamily(const QString& fontFile = QString::fromLatin1(kFontFile));

// Loads the font and sets the application's font and palette. Call once, after the
// QApplication exists; later calls do nothing.
void applyToApplication();

// The family chosen by applyToApplication() (the default family before it).
QString fontFamily();
// The diagram font at `pixels`; sizes above the window font that a bitmap-only family
// cannot show come from the system's scalable family.
QFont font(bool bold = false, int pixels = kFontPixels);

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
// "klid", "Φ1", "Φ2".
QString phaseName(Phase phase);

// Gives a finished window a size at which its wrapped texts fit: `width` or the
// layout's minimum width if that is larger, and as tall as the texts need there. The
// window cannot be made smaller than its narrowest layout needs.
void fitToContents(QWidget* window, int width = 780);

// A word-wrapped paragraph of explanatory text.
QLabel* makeText(const QString& text, QWidget* parent = nullptr);

// A register digit as the diagram shows it: red, bold, on white.
QLabel* makeDigit(QWidget* parent = nullptr);

// A listing or value label that is yellow when current and sky blue otherwise.
QLabel* makeMarkable(const QString& text, QWidget* parent = nullptr);
void setMarked(QLabel* label, bool current);
bool isMarked(const QLabel* label);

} // namespace companion::look
