#pragma once

#include <span>
#include <string_view>

#include "picture/Canvas.h"

// The blocks of the diagram as it draws them: the control unit, a register, the RAM,
// an AND gate and the bus switch. The diagram's painter draws them where its layout
// puts them; the explainers draw the same blocks in their own pictures. Each draws
// only inside `clip`, black on white.
namespace procesor::render {

// ---- control unit ------------------------------------------------------------

// A field of the row under the listing: O/K, DEKODÉR ZDROJE, DEKODÉR URČENÍ, Phi2,
// Phi1. Columns from the unit's left edge; `lower` is empty for a one-line caption.
struct ControlUnitField {
    int left;
    int right; // one past
    std::string_view upper;
    std::string_view lower;
};
std::span<const ControlUnitField> controlUnitFields();

// Where the control unit's inner lines lie, from its box's top-left corner: the
// listing over the field row, the strip DEKODÉR PAMĚTI right of the listing.
inline constexpr int kMemoryDecoderX = 282; // the 2-pixel line left of the strip
inline constexpr int kFieldDividers[] = {40, 143, 235, 267};

// How tall the parts of one control unit are: the diagram's and the explainer's
// listings differ in height.
struct ControlUnitArt {
    Box box;         // the 2-pixel outline; the field row ends 2 pixels above its bottom
    int dividerY;    // the 2-pixel line over the field row, from the box's top
    int titleTop;    // ŘÍZENÍ's top, from the box's top
    int captionTop;  // the first line of a two-line caption, from the field row's top
    int captionStep; // its second line, below the first
};

// The outline, the divider, the strip's line and the field dividers; ŘÍZENÍ over the
// listing, the fields' captions, DEKODÉR PAMĚTI reading upwards along its strip. The
// listing itself is the caller's.
void paintControlUnit(Canvas& c, const ControlUnitArt& art, Box clip);

// ---- data path -----------------------------------------------------------------

// IR, PC, A, the adder, B: the name in bold over one or two regular lines (`line2`
// may be empty), centred left of the value digit, which takes the right part from
// registerTextWidth(r) on.
void paintRegister(Canvas& c, Box r, std::string_view title, std::string_view line1,
                   std::string_view line2, Box clip);
constexpr int registerTextWidth(Box r) {
    return r.w * 7 / 10;
}

// The RAM: the bold heading and the regular words after it, centred at the top; the
// rest holds the address and cell labels.
void paintRam(Canvas& c, Box r, std::string_view title, std::string_view line, Box clip);

// An AND gate: 2-pixel outline, 3 pixels at the bottom, the ampersand in the middle.
void paintGate(Canvas& c, Box r, Box clip);

// The bus switch: contacts at both sides 25 pixels below the top, and the blade
// either lying level between them (closed) or lifted from the right contact towards
// the upper left (open).
void paintSwitch(Canvas& c, Box r, bool closed, Box clip);

} // namespace procesor::render
