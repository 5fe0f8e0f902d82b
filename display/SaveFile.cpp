#include "display/SaveFile.h"

#include <QFileDialog>
#include <QSaveFile>

#include <utility>

namespace procesor {

namespace {

SavePathAsker& asker() {
    static SavePathAsker ask;
    return ask;
}

} // namespace

void setSavePathAsker(SavePathAsker ask) {
    asker() = std::move(ask);
}

QString askSavePath(QWidget* parent, const QString& caption, const QString& fileName,
                    const QString& filter) {
    if (asker()) return asker()(parent, caption, fileName, filter);
    return QFileDialog::getSaveFileName(parent, caption, fileName, filter);
}

bool writeWholeFile(const QString& path, std::string_view bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace procesor
