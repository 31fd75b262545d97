#include "DialogReportParams1.h"

QPointer<TDialogReportParams1> DialogReportParams1;

TDialogReportParams1::TDialogReportParams1(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DialogReportParams1"));
    setModal(true);
}
