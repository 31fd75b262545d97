#include "DataControl.h"

#include <QApplication>
#include <QWidget>
#include <db/DataSource.h>

namespace ui {

void updateFocusedControl(db::DataSet* dataSet)
{
    if (!dataSet)
        return;
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        auto* control = dynamic_cast<DataControl*>(w);
        if (control && control->dataSource() && control->dataSource()->dataSet() == dataSet) {
            control->updateRecord();
            return;
        }
        if (w->isWindow())
            return;
    }
}

} // namespace ui
