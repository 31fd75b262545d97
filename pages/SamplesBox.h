#pragma once

#include <QGroupBox>
#include <QModelIndex>
#include <memory>

class QFrame;
class QLabel;
class TSampleTreeLink;

namespace ui {
class DBEdit;
class DBMemo;
class DBNavigator;
class DBTreeView;
} // namespace ui

// The "Samples" box of the zooplankton page: the samples of the current visit as a tree of
// layers and sub-layers, and beside it the card of the current sample (depths, readings,
// notice). Leaving the box discards the sample's unsaved change; selecting another node saves
// it. The box lends its tree to the data module for the rebuild after a change of visit.
class TSamplesBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit TSamplesBox(QWidget* parent = nullptr);
    ~TSamplesBox() override;

    static constexpr int BoxHeight = 145;

    ui::DBNavigator* dbnSamples1 = nullptr;
    ui::DBTreeView* DBTreeView1 = nullptr;
    QFrame* Bevel1 = nullptr; // the layer area
    QFrame* Bevel2 = nullptr; // the readings area
    QFrame* Panel7 = nullptr; // the notice panel
    QLabel* Label1 = nullptr; // "Layer:"
    QLabel* Label2 = nullptr; // "To:"
    QLabel* Label3 = nullptr; // "From:"
    QLabel* Label4 = nullptr; // "t, °C"
    QLabel* Label5 = nullptr; // "S, ‰"
    QLabel* Label6 = nullptr; // "pH"
    QLabel* Label7 = nullptr; // "Notice"
    ui::DBEdit* edtTo = nullptr;
    ui::DBEdit* edtFrom = nullptr;
    ui::DBEdit* edtTemperature1 = nullptr;
    ui::DBEdit* edtSalinity1 = nullptr;
    ui::DBEdit* edtPh1 = nullptr;
    ui::DBMemo* DBMemo1 = nullptr;

    void DBTreeView1Change(const QModelIndex& node);
    void GroupBox1Exit();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void createTree();
    void createCard();
    QLabel* addLabel(QWidget* parent, const char* name, const QString& text, int left, int top);
    ui::DBEdit* addEdit(const char* name, const QString& field, int left, int top, int width);
    void placeRow();
    void focusChanged(QWidget* old, QWidget* now);
    void expandAll(const QModelIndex& node);

    std::unique_ptr<TSampleTreeLink> m_treeLink;
    bool m_focusInside = false;
};
