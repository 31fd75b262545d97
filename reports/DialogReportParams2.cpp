#include "DialogReportParams2.h"

QPointer<TDialogReportParams2> DialogReportParams2;

TDialogReportParams2::TDialogReportParams2(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DialogReportParams2"));
    setModal(true);
}
