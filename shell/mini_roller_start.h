#pragma once

#include <QString>

#include <optional>

// The mini roller's program file, as the build names it on this platform.
QString miniRollerFileName();

struct StartFailure {
    QString program;
    QString reason;
};

// Starts the mini roller as a program of its own: from folder when it is there, else by its
// bare name on the search path. Nothing passes between the two programs afterwards.
std::optional<StartFailure> startMiniRoller(const QString& folder, const QString& fileName);
