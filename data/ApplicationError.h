#pragma once

#include <QString>
#include <exception>

class QWidget;

// The application's error box: one critical message box with an OK button, titled with the
// program's title, showing what the database error handler makes of the failure. Every window
// shows the database errors of a user action through it.
void showApplicationError(QWidget* parent, const std::exception& error);
// For a failure that isn't a std::exception.
void showUnknownApplicationError(QWidget* parent);

// The program's title: its file name up to the first dot.
QString applicationTitle();
