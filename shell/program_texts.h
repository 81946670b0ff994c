#pragma once

#include <QCoreApplication>
#include <QString>

// Texts that more than one window shows.
namespace ProgramTexts {

inline QString ownershipNotice() {
    return QCoreApplication::translate("ProgramTexts",
                                       "Quorvane's Dice Roller is owned by the Rollbox project.");
}

} // namespace ProgramTexts
