#include "ApplicationError.h"

#include "DatabaseErrorHandler.h"
#include "MainDataModule.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace {

DatabaseErrorHandler errorHandler()
{
    return MainDataModule ? MainDataModule->pFibErrorHandler1 : DatabaseErrorHandler{};
}

void showErrorText(QWidget* parent, const QString& text)
{
    QMessageBox::critical(parent, applicationTitle(), text, QMessageBox::Ok);
}

} // namespace

QString applicationTitle()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).baseName();
}

void showApplicationError(QWidget* parent, const std::exception& error)
{
    showErrorText(parent, errorHandler().messageOf(error));
}

void showUnknownApplicationError(QWidget* parent)
{
    showErrorText(parent, errorHandler().messageOfUnknown());
}
