#pragma once

#include <exception>

class QWidget;

namespace ui {

// How the data controls report a failure of the data operation they ran for the user (a
// database error, an invalid text): each control has a signal
//     void errorOccurred(const std::exception& error);
// that the window connects to the application's error box. A control whose signal nobody
// connected shows the error itself with showDataError(). The exception is passed as thrown,
// so a receiver can tell fb::Error from db::Error. Nothing is reported for an operation that
// a before-rule abandoned: that refusal is silent.
//
// The fallback: a critical message box over the control's window, titled with the
// application's name, with the error's text (db::errorText) and an OK button.
void showDataError(QWidget* control, const std::exception& error);

} // namespace ui
