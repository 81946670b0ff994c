#pragma once

#include "program_identity.h"

#include <QCoreApplication>
#include <QString>

// Texts that more than one window shows.
namespace ProgramTexts {

inline QString ownershipNotice() {
    return QCoreApplication::translate("ProgramTexts", "%1 is owned by the %2 project.")
        .arg(ProgramIdentity::rollboxTitle, ProgramIdentity::rollboxName);
}

} // namespace ProgramTexts
