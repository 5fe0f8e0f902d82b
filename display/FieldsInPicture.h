#pragma once

#include <QtGlobal>

class QFont;
class QPlainTextEdit;
class QWidget;

namespace procesor {

namespace screen {
class Screen;
}
class SpeedField;

// The editable fields with their drawing left to the picture: they keep the typing,
// the selection by mouse and keys, the clipboard and the focus, but paint nothing of
// their own (no paper, text, selection or caret). The screen is told what they hold —
// the instruction box's text, how far each has scrolled, the selection and the caret
// of the one with the focus — and the picture draws it beneath them, so that at every
// device pixel ratio the fields are the picture's own pixels, made to size with it.
void leaveDrawingToPicture(QWidget* field);
// "Procesor Sans" at 11 px, from the program's own data: in the editable fields it
// draws exactly the pixels of the diagram's window face, at any device pixel ratio.
// Where a pixel of the fields is `scale` pixels of the picture ("1:1"), the same face
// drawn `scale` times smaller, its characters as wide and its lines as high as the
// picture's to a fraction of a pixel.
QFont fieldFont(qreal scale = 1);
// Tells the screen how the fields stand now; `scale` picture pixels to a pixel of the
// fields (more than 1 where they are shown smaller than the window's pixels, at "1:1").
void showFields(screen::Screen& screen, const SpeedField& edit17, const QPlainTextEdit& memo1,
                qreal scale = 1);

} // namespace procesor
