// Pieces of layout the designer's dialogs build the same way.
#pragma once

#include <initializer_list>

class QDialog;
class QHBoxLayout;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace designer
{

// OK (the default button) and Cancel at the right of a row; they close the
// dialog with accept and reject. The names are the buttons' object names.
QHBoxLayout *okCancelRow(QDialog *dialog, QPushButton *&ok, QPushButton *&cancel,
                         const char *okName = "OkB", const char *cancelName = "CancelB");

// The widgets one under the other in box (a group box as a rule).
QVBoxLayout *columnOf(QWidget *box, std::initializer_list<QWidget *> widgets);

} // namespace designer
