#pragma once

#include <QString>

// True when a and b name one and the same file, however each is spelled: relative or absolute,
// through links, or as two hard links of one file. Neither needs to exist yet: a missing file
// is placed by its folder, a dangling link by where it points. An empty name is no file.
bool isSameFile(const QString& a, const QString& b);
