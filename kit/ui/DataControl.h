#pragma once

namespace db {
class DataSet;
class DataSource;
} // namespace db

namespace ui {

// A control that may hold typed text its field hasn't received yet: edits hand it over when
// they lose the focus. Buttons that take no focus (the navigator's) would otherwise post or
// move without it, so before such an action they ask the focused control to hand it over
// (updateFocusedControl). A grid with an open cell editor implements it for that editor.
class DataControl
{
public:
    virtual ~DataControl() = default;
    virtual db::DataSource* dataSource() const = 0;
    // Writes pending typed text into the field (starting the edit if need be). Throws
    // db::Error for a text that isn't a valid value, and what the dataset throws.
    virtual void updateRecord() = 0;
};

// The focused widget, or the nearest of its ancestors, that is a DataControl on `dataSet`
// hands its pending text to its field. Throws as DataControl::updateRecord().
void updateFocusedControl(db::DataSet* dataSet);

} // namespace ui
