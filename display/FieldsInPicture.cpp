#include "display/FieldsInPicture.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

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

} // namespace

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

void showFields(screen::Screen& screen, const SpeedField& edit17, const QPlainTextEdit& memo1) {
    const QString memoText = memo1.toPlainText();
    const std::string memo = memoText.toStdString();
    if (memo != screen.fields().memo1) screen.memoEdited(memo);
    // The lines of the instruction box step by whole lines.
    screen.fieldsScrolled(edit17.scrolledBy(), memo1.horizontalScrollBar()->value(),
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
