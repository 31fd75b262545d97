#pragma once

#include <QDialog>
#include <QPointer>

// The modal parameter dialog of the report by stations: a season and a range of station numbers.
// Created once at start-up and kept hidden until a report action shows it.
class TDialogReportParams1 : public QDialog
{
    Q_OBJECT

public:
    explicit TDialogReportParams1(QWidget* parent = nullptr);
};

// The one instance, empty until created and again once destroyed.
extern QPointer<TDialogReportParams1> DialogReportParams1;
