#pragma once

class QDateEdit;

namespace lendora {

// Date pickers: one Tab (or Shift+Tab) leaves the picker; Left and Right step between its
// day, month and year, Up and Down change the one selected; digits typed stay in the part
// they are typed into.
void markDatePicker(QDateEdit *picker);

}  // namespace lendora
