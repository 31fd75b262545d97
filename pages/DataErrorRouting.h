#pragma once

class QWidget;

// Connects the error signal of every data control under `root` (grids, navigators, edits,
// memos, lookup boxes, trees) to the application's error box over root's window, so that a
// database error of a user action shows the database's text there. A control already routed
// is left alone, so a window may route itself after its pages did.
void routeDataErrorsToErrorBox(QWidget* root);
