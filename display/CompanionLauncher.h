#pragma once

#include <QString>
#include <QStringList>

#include "screen/CompanionClicks.h"

namespace procesor {

// The one seam to the outside world's processes, so tests can record starts.
class CompanionLauncher {
public:
    virtual ~CompanionLauncher() = default;
    virtual void start(const QString& command) = 0;
};

// Starts the companion as a detached process, no shell, no arguments, never waiting.
// It is looked for beside the simulator first, then on the search path (absolute
// entries only), never in the current directory. A companion that cannot be
// started is ignored.
class ProcessLauncher final : public CompanionLauncher {
public:
    explicit ProcessLauncher(QString ownDirectory);
    void start(const QString& command) override;
    QString locate(const QString& command) const; // empty when not found

private:
    QString ownDirectory_;
};

} // namespace procesor
