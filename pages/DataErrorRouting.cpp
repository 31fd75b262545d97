#include "DataErrorRouting.h"

#include "ApplicationError.h"

#include <QWidget>
#include <ui/DBEdit.h>
#include <ui/DBGrid.h>
#include <ui/DBLookupComboBox.h>
#include <ui/DBMemo.h>
#include <ui/DBNavigator.h>
#include <ui/DBTreeView.h>

namespace {

const char* const RoutedProperty = "velmarErrorsRouted";

template <class Control> void route(QWidget* root)
{
    for (Control* control : root->findChildren<Control*>()) {
        // A control is routed once, however often a window routes its pages.
        if (control->property(RoutedProperty).toBool())
            continue;
        control->setProperty(RoutedProperty, true);
        QObject::connect(control, &Control::errorOccurred, control, [control](const std::exception& error) {
            showApplicationError(control->window(), error);
        });
    }
}

} // namespace

void routeDataErrorsToErrorBox(QWidget* root)
{
    route<ui::DBGrid>(root);
    route<ui::DBNavigator>(root);
    route<ui::DBEdit>(root);
    route<ui::DBMemo>(root);
    route<ui::DBLookupComboBox>(root);
    route<ui::DBTreeView>(root);
}
