#pragma once

#include <QFrame>

class QLabel;

namespace ui {
class DBEdit;
class DBLookupComboBox;
class DBMemo;
class SpinEdit;
} // namespace ui

// The card of the current benthos sample: ground, temperature, salinity, area, number of
// samples, transparency, current, sampler and a notice, each bound to dsSamples2 and placed
// at its fixed position. Read-only except in edit mode.
class TBenthosCard : public QFrame
{
    Q_OBJECT

public:
    explicit TBenthosCard(QWidget* parent = nullptr);

    static constexpr int CardHeight = 145;
    static constexpr int NoticeWidth = 161;
    static constexpr int NoticeMemoHeight = 117;
    static constexpr int SamplesMaximum = 100;

    ui::DBLookupComboBox* dbcbSediments = nullptr;
    ui::DBEdit* edtTemperature2 = nullptr;
    ui::DBEdit* edtSalinity2 = nullptr;
    ui::DBEdit* edtSquare = nullptr;
    ui::SpinEdit* edtNumber = nullptr;
    ui::DBEdit* edtSecci = nullptr;
    ui::DBEdit* edtFlow = nullptr;
    ui::DBLookupComboBox* dbcbSamplers = nullptr;
    QFrame* Panel6 = nullptr; // the notice panel
    ui::DBMemo* DBMemo2 = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* addLabel(QWidget* parent, const char* name, const QString& text, int left, int top);
    ui::DBEdit* addEdit(const char* name, const char* field, int left, int top, int width);
    ui::DBLookupComboBox* addLookup(const char* name, const char* field, const char* list, int left, int top,
                                    int width);
};
