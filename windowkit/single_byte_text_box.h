#pragma once

class QLineEdit;

// The box takes only characters of single-byte text (Latin-1), which is all the files and the
// roll can store: any other character is refused as it is typed or pasted, rather than turned
// into another one later on.
void acceptLatin1Only(QLineEdit* box);
