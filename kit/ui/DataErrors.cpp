#include "DataErrors.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QWidget>
#include <db/Error.h>

namespace ui {

void showDataError(QWidget* control, const std::exception& error)
{
    QMessageBox::critical(control ? control->window() : nullptr, QCoreApplication::applicationName(),
                          db::errorText(error), QMessageBox::Ok);
}

} // namespace ui
