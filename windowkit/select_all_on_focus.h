#pragma once

class QLineEdit;

// Whenever the box receives the focus, by any means, its whole text is selected, so that
// the next key typed replaces it.
void selectAllOnFocus(QLineEdit* box);
