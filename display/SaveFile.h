#pragma once

#include <QString>

#include <functional>
#include <string_view>

class QWidget;

// Saving a file the student asked for: where (the file dialog), and the bytes written
// whole or not at all, so that a failed save never leaves half a file in place of the
// one that was there.
namespace procesor {

// Asks where to save: the dialog's caption, the file name offered and the filter
// ("Obrázek PNG (*.png)"). An empty path: the student cancelled.
using SavePathAsker = std::function<QString(QWidget* parent, const QString& caption,
                                            const QString& fileName, const QString& filter)>;

// Puts something else in the file dialog's place (the window tests); empty: the dialog.
void setSavePathAsker(SavePathAsker ask);
QString askSavePath(QWidget* parent, const QString& caption, const QString& fileName,
                    const QString& filter);

// Writes the bytes as the file's whole content; false when it cannot be written.
bool writeWholeFile(const QString& path, std::string_view bytes);

} // namespace procesor
