#pragma once

#include <QIODevice>
#include <QString>

#include <optional>

class QFile;

// Every file the programs read or write is opened here. A pipe, a device, a socket or a folder
// put where a file belongs would otherwise hold the program in open() for ever (a pipe without
// a writer), or feed it without end (/dev/zero) until memory runs out. So a file is opened
// without blocking and kept only when it is a regular file; a link to one is fine.

enum class LinkHandling {
    Follow, // a link is followed to its target
    // A link, symbolic or hard (a file with more than one name), is removed and a new file made
    // in its place; the file it leads to is not touched.
    Replace,
};

// Opens file, named by its fileName(), in mode: ReadOnly, WriteOnly (which empties the file
// unless Append or ReadOnly is given, as QFile does), ReadWrite, with Append, Truncate,
// Unbuffered, NewOnly or ExistingOnly as QFile takes them. A file opened for writing is created
// when missing.
//
// Returns why the file could not be opened: "it is a pipe, not a file" and the like, or the
// system's reason. On success the file is open on a handle, and (as QFile does for a handle)
// its fileName() is then empty: callers name the file themselves.
std::optional<QString> openRegularFile(QFile& file, QIODevice::OpenMode mode,
                                       LinkHandling links = LinkHandling::Follow);

// Why what lies at name (links followed) is not a regular file, without opening it: "it is a
// folder, not a file" and the like. Nothing when it is a regular file or nothing is there.
std::optional<QString> notRegularFileReason(const QString& name);
