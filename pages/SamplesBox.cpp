#include "SamplesBox.h"

#include "ApplicationError.h"
#include "MainDataModule.h"
#include "PageControls.h"
#include "SampleTreeLink.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <ui/DBEdit.h>
#include <ui/DBMemo.h>
#include <ui/DBNavigator.h>
#include <ui/DBTreeModel.h>
#include <ui/DBTreeView.h>

namespace {

// Below the navigator: the tree, the layer and readings areas and the notice panel.
constexpr int RowTop = 43;
constexpr int RowHeight = 100;
constexpr int TreeWidth = 127;
constexpr int LayerWidth = 96;
constexpr int ReadingsWidth = 136;
constexpr int NoticeWidth = 145;
constexpr int NoticeMemoHeight = 79;
constexpr int EditHeight = 24;

QFrame* bevel(QWidget* parent, const char* name)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

} // namespace

TSamplesBox::TSamplesBox(QWidget* parent) : QGroupBox(tr("Samples"), parent)
{
    setObjectName(QStringLiteral("GroupBox1"));
    setFixedHeight(BoxHeight);
    dbnSamples1 = pagecontrols::navigator(this, "dbnSamples1", MainDataModule->dsSamples1);
    // The areas first, so that the card's controls lie above their frames.
    Bevel1 = bevel(this, "Bevel1");
    Bevel2 = bevel(this, "Bevel2");
    createTree();
    createCard();
    placeRow();

    connect(qApp, &QApplication::focusChanged, this, &TSamplesBox::focusChanged);
    m_treeLink = std::make_unique<TSampleTreeLink>(DBTreeView1);
}

TSamplesBox::~TSamplesBox() = default;

void TSamplesBox::createTree()
{
    DBTreeView1 = new ui::DBTreeView(this);
    DBTreeView1->setObjectName(QStringLiteral("DBTreeView1"));
    DBTreeView1->setKeyField(QStringLiteral("ID"));
    DBTreeView1->setParentField(QStringLiteral("PARENT"));
    DBTreeView1->setTextField(QStringLiteral("HORIZON"));
    DBTreeView1->setSingleExpand(true);
    DBTreeView1->setHotTrack(true);
    DBTreeView1->setShowLines(true);
    DBTreeView1->setShowButtons(true);
    DBTreeView1->setShowRoot(true);
    DBTreeView1->setDataSource(MainDataModule->dsSamples1);
    connect(DBTreeView1, &ui::DBTreeView::nodeChanged, this, &TSamplesBox::DBTreeView1Change);
}

void TSamplesBox::createCard()
{
    Label1 = addLabel(this, "Label1", tr("Layer:"), 160, 56);
    Label2 = addLabel(this, "Label2", tr("To:"), 136, 84);
    edtTo = addEdit("edtTo", QStringLiteral("DEPTH_1"), 159, 80, 57);
    Label3 = addLabel(this, "Label3", tr("From:"), 136, 116);
    edtFrom = addEdit("edtFrom", QStringLiteral("DEPTH_0"), 159, 112, 57);
    Label4 = addLabel(this, "Label4", QStringLiteral("t, \u00B0C"), 238, 52);
    edtTemperature1 = addEdit("edtTemperature1", QStringLiteral("TEMPERATURE"), 272, 48, 65);
    Label5 = addLabel(this, "Label5", QStringLiteral("S, \u2030"), 238, 84);
    edtSalinity1 = addEdit("edtSalinity1", QStringLiteral("SALINITY"), 272, 80, 65);
    Label6 = addLabel(this, "Label6", QStringLiteral("pH"), 246, 116);
    edtPh1 = addEdit("edtPh1", QStringLiteral("PH"), 272, 112, 65);

    Panel7 = new QFrame(this);
    Panel7->setObjectName(QStringLiteral("Panel7"));
    Panel7->setFrameShape(QFrame::Panel);
    Panel7->setFrameShadow(QFrame::Sunken);
    Panel7->setLineWidth(1);
    Label7 = addLabel(Panel7, "Label7", tr("Notice"), 8, 4);
    DBMemo1 = new ui::DBMemo(Panel7);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBMemo1->setDataSource(MainDataModule->dsSamples1);
    DBMemo1->setDataField(QStringLiteral("COMMENTS"));
    DBMemo1->setReadOnly(true);

    setTabOrder(DBTreeView1, edtTo);
    setTabOrder(edtTo, edtFrom);
    setTabOrder(edtFrom, edtTemperature1);
    setTabOrder(edtTemperature1, edtSalinity1);
    setTabOrder(edtSalinity1, edtPh1);
    setTabOrder(edtPh1, DBMemo1);
}

QLabel* TSamplesBox::addLabel(QWidget* parent, const char* name, const QString& text, int left, int top)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->adjustSize();
    label->move(left, top);
    return label;
}

ui::DBEdit* TSamplesBox::addEdit(const char* name, const QString& field, int left, int top, int width)
{
    auto* edit = new ui::DBEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setDataSource(MainDataModule->dsSamples1);
    edit->setDataField(field);
    edit->setGeometry(left, top, width, EditHeight);
    // The page starts browsing; edit mode makes the card editable.
    edit->setReadOnly(true);
    return edit;
}

void TSamplesBox::placeRow()
{
    const QMargins client = pagecontrols::GroupBoxClient;
    const int innerWidth = width() - client.left() - client.right();
    dbnSamples1->setGeometry(client.left(), client.top(), innerWidth, pagecontrols::NavigatorHeight);
    int x = client.left();
    DBTreeView1->setGeometry(x, RowTop, TreeWidth, RowHeight);
    x += TreeWidth;
    Bevel1->setGeometry(x, RowTop, LayerWidth, RowHeight);
    x += LayerWidth;
    Bevel2->setGeometry(x, RowTop, ReadingsWidth, RowHeight);
    Panel7->setGeometry(width() - client.right() - NoticeWidth, RowTop, NoticeWidth, RowHeight);
    const int frame = Panel7->frameWidth();
    DBMemo1->setGeometry(frame, RowHeight - frame - NoticeMemoHeight, NoticeWidth - 2 * frame,
                         NoticeMemoHeight);
}

void TSamplesBox::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    placeRow();
}

void TSamplesBox::DBTreeView1Change(const QModelIndex& node)
{
    if (node.isValid())
        expandAll(node);
}

void TSamplesBox::expandAll(const QModelIndex& node)
{
    ui::DBTreeModel* model = DBTreeView1->treeModel();
    if (model->canFetchMore(node))
        model->fetchMore(node);
    DBTreeView1->expand(node);
    for (int row = 0; row < model->rowCount(node); ++row)
        expandAll(model->index(row, 0, node));
}

void TSamplesBox::GroupBox1Exit()
{
    db::DataSet* samples = MainDataModule->dtsSamples1;
    const db::DataSetState state = samples->state();
    if (state != db::DataSetState::Insert && state != db::DataSetState::Edit)
        return;
    try {
        samples->cancel();
    } catch (const std::exception& error) {
        showApplicationError(window(), error);
    }
}

// The box is left when the focus moves from one of its controls to a control outside it in
// the same window; a dialog or message box in between is no leave.
void TSamplesBox::focusChanged(QWidget*, QWidget* now)
{
    if (!now)
        return;
    if (isAncestorOf(now)) {
        m_focusInside = true;
        return;
    }
    if (now->window() != window() || !m_focusInside)
        return;
    m_focusInside = false;
    GroupBox1Exit();
}
