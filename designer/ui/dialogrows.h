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

// OK and Cancel at the right of a row, not wired: the dialog decides what
// each one does. The names are the buttons' object names.
QHBoxLayout *okCancelButtons(QWidget *dialog, QPushButton *&ok, QPushButton *&cancel,
                             const char *okName, const char *cancelName);

// The same with OK the default button, closing the dialog with accept and
// Cancel with reject.
QHBoxLayout *okCancelRow(QDialog *dialog, QPushButton *&ok, QPushButton *&cancel,
                         const char *okName = "OkB", const char *cancelName = "CancelB");

// The widgets one under the other in box (a group box as a rule).
QVBoxLayout *columnOf(QWidget *box, std::initializer_list<QWidget *> widgets);

} // namespace designer
