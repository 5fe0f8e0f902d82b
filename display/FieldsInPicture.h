#pragma once

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
// Tells the screen how the fields stand now.
void showFields(screen::Screen& screen, const SpeedField& edit17, const QPlainTextEdit& memo1);

} // namespace procesor
