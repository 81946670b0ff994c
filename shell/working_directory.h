#pragma once

#include <QString>

#include <optional>

// Rollbox keeps its files in the current working directory. An installed Rollbox cannot write
// beside its delivered files, so it runs in a folder of the user's own, which it prepares on
// its first start with copies of the delivered presets and help text.
//
// An installed program is recognised by its delivered presets file: in the data folder at the
// path that the install layout gives from the programs' folder (../share/games/rollbox by
// default), else in that data folder below one of $XDG_DATA_DIRS, so that a package with a
// layout of its own still finds it. Started from its build tree, or where no delivered
// presets are found, the program stays in the working directory it was started in.

// The folder of the delivered data files when the program in programFolder is an installed
// one; empty otherwise.
QString deliveredDataFolder(const QString& programFolder);

// The installed program's working folder: $XDG_DATA_HOME/rollbox, usually
// ~/.local/share/rollbox; the home folder comes from the user database when HOME is not set.
QString userWorkingFolder();

struct WorkingFolderFailure {
    QString folder;
    QString reason;
};

// Creates folder when it is missing, copies every delivered file that is missing there and
// makes it the current working directory. A file already in the folder, the user's edited
// presets above all, is never overwritten.
std::optional<WorkingFolderFailure> enterWorkingFolder(const QString& folder,
                                                       const QString& deliveredFolder);

// The start-up step of the program: enters the user's working folder when the program in
// programFolder is an installed one, and does nothing otherwise.
std::optional<WorkingFolderFailure> enterUserWorkingFolder(const QString& programFolder);
