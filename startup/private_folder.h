#pragma once

#include <QString>

#include <optional>

// Folders that only the user may use: where the single-instance lock and the second-launch
// socket live, so that no other user can plant or take them.

// Why folder may not be used as the user's private folder: missing, not a folder, another
// user's, or open to others. Nothing when it may.
std::optional<QString> privateFolderProblem(const QString& folder);

// Makes folder (and its parents) for the user alone when it is missing, and closes one of the
// user's own that others may use; then says why it still may not be used, if it may not.
std::optional<QString> makePrivateFolder(const QString& folder);
