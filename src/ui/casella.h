// Text boxes that numbers are typed into.
#pragma once

class QLineEdit;

namespace ondix {

// Makes `casella` easier to type a number into: a typed comma (the decimal key of an Italian keypad) enters a
// decimal point, and the box's text is selected when the box gets the focus from the keyboard or with its
// window, so that what is typed replaces it. Text set by the program or pasted is left as it is.
void prepara_casella_numero(QLineEdit* casella);

} // namespace ondix
