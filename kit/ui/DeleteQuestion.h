#pragma once

#include <functional>

class QWidget;

namespace ui {

// Asks whether to delete the current record: "Удалить запись?" with OK and Cancel over the
// parent's window. True for OK.
bool askDeleteRecord(QWidget* parent);

// The question a control asks before deleting; settable so that a test can answer it.
using DeleteQuestion = std::function<bool(QWidget* parent)>;

} // namespace ui
