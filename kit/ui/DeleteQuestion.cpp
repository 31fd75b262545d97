#include "DeleteQuestion.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QWidget>

namespace ui {

bool askDeleteRecord(QWidget* parent)
{
    QMessageBox box(QMessageBox::Question, QCoreApplication::translate("ui::DeleteQuestion", "Confirm"),
                    QStringLiteral("Удалить запись?"), QMessageBox::Ok | QMessageBox::Cancel,
                    parent ? parent->window() : nullptr);
    box.setObjectName(QStringLiteral("DeleteQuestion"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

} // namespace ui
