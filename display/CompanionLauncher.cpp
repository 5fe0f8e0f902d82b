#include "display/CompanionLauncher.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace procesor {

ProcessLauncher::ProcessLauncher(QString ownDirectory) : ownDirectory_(std::move(ownDirectory)) {}

QString ProcessLauncher::locate(const QString& command) const {
    if (!ownDirectory_.isEmpty()) {
        QString beside = QStandardPaths::findExecutable(command, {ownDirectory_});
        if (!beside.isEmpty()) return beside;
    }
    // Relative entries of the search path (empty, ".") would mean the current
    // directory; they are skipped.
    QStringList dirs;
    const QString path = qEnvironmentVariable("PATH");
    for (const QString& dir : path.split(QDir::listSeparator(), Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir)) dirs << dir;
    if (dirs.isEmpty()) return {};
    return QStandardPaths::findExecutable(command, dirs);
}

void ProcessLauncher::start(const QString& command) {
    const QString program = locate(command);
    if (program.isEmpty()) return;
    QProcess::startDetached(program, {});
}

} // namespace procesor
