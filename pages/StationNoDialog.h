#pragma once

#include <QDialog>
#include <QPointer>
#include <db/DataSet.h>
#include <exception>

class QFrame;
class QLabel;
class QPushButton;

namespace db {
class DataSource;
} // namespace db

namespace ui {
class DBDateEdit;
class DBEdit;
} // namespace ui

// The small modal dialog that asks for a station's number, index letter, date and depth. It
// edits the current record of the data source it is bound to and never saves it.
class TdlgStationNo : public QDialog
{
    Q_OBJECT

public:
    explicit TdlgStationNo(QWidget* parent = nullptr);

    // Binds the four edits to the fields STATION, ST_CHAR, DATE and DEPTH of `source`.
    void bind(db::DataSource* source);
    db::DataSet* dataSet() const { return m_dataSet; }

    // Closing with OK needs a number; any other way of closing is always allowed.
    bool FormCloseQuery(int result);
    void done(int result) override;

    static constexpr int ClientWidth = 314;
    static constexpr int ClientHeight = 130;

    QFrame* Bevel1 = nullptr;
    ui::DBEdit* edtNo = nullptr;
    ui::DBEdit* edtIdx = nullptr;
    ui::DBDateEdit* edtDate = nullptr;
    ui::DBEdit* edtDepth = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

signals:
    // Closing with OK was refused, with the system beep.
    void closeRefused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* addLabel(const QString& text, QWidget* buddy, int left, int top, const char* name);
    // Typed text the fields haven't received yet goes to them; false (after the error box) when
    // a text isn't a valid value.
    bool handOverTypedText();
    void showError(const std::exception& error);

    QPointer<db::DataSet> m_dataSet;
};

// Lets the user edit the current record of `source` (STATION, ST_CHAR, STATION_NAME, DATE,
// DEPTH) in a fresh modal TdlgStationNo. OK sets STATION_NAME from the number and the letter
// when the record is being inserted or edited; any other close cancels the record's insert or
// edit. The record is never saved here. The dialog opens over `parent`, by default the active
// window.
void EditStationNo(db::DataSource* source, QWidget* parent = nullptr);
