#pragma once

class QLineEdit;

namespace lendora {

// Input boxes the clerk types into: light cyan background. Control characters (a NUL, a tab,
// a line break) cannot be typed into a box, and a paste does not bring them in either.
void markInput(QLineEdit *box);
// Boxes only the program fills: read-only.
void markDisplay(QLineEdit *box);

}  // namespace lendora
