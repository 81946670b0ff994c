#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

class QFileDevice;

// Writes bytes to file, opened Unbuffered, whole. The system may take a write only in part (a
// disk that fills up midway): the rest is then written again, so that a failure carries the
// system's reason ("No space left on device") rather than a short count. Returns why the bytes
// could not all be written.
std::optional<QString> writeWhole(QFileDevice& file, QByteArrayView bytes);

// Makes sure that what was written to file is on the disk: some file systems (network ones,
// quotas) tell that they are full only then. Returns the system's reason when they do.
std::optional<QString> syncToDisk(QFileDevice& file);
