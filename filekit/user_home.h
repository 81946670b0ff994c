#pragma once

#include <QString>

// The user's home folder: $HOME, or where it is not set, the one the user database gives.
// Empty when there is none (Qt would answer the root folder instead).
QString userHomeFolder();
