#pragma once

#include <QDialog>
#include <QPointer>

// The modal parameter dialog of the report by taxa: a season, a range of station numbers and one taxon.
// Created once at start-up and kept hidden until a report action shows it.
class TDialogReportParams2 : public QDialog
{
    Q_OBJECT

public:
    explicit TDialogReportParams2(QWidget* parent = nullptr);
};

// The one instance, empty until created and again once destroyed.
extern QPointer<TDialogReportParams2> DialogReportParams2;
