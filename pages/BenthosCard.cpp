#include "BenthosCard.h"

#include "ApplicationError.h"
#include "MainDataModule.h"

#include <QLabel>
#include <QPainter>
#include <qdrawutil.h>
#include <ui/DBEdit.h>
#include <ui/DBLookupComboBox.h>
#include <ui/DBMemo.h>
#include <ui/SpinEdit.h>

namespace {

constexpr int EditHeight = 24;
// The two bevels, one pixel each, around the card's inner area.
constexpr int BevelWidth = 2;

} // namespace

TBenthosCard::TBenthosCard(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel5"));
    setFixedHeight(CardHeight);

    // Labels first, then the controls in tab order.
    addLabel(this, "Label8", tr("Ground"), 16, 5);
    addLabel(this, "Label9", tr("Temperature"), 168, 5);
    addLabel(this, "Label10", tr("Salinity"), 264, 5);
    addLabel(this, "Label11", tr("Area"), 16, 50);
    addLabel(this, "Label12", tr("Samples"), 96, 50);
    addLabel(this, "Label13", tr("Transparency"), 168, 50);
    addLabel(this, "Label14", tr("Current"), 264, 50);
    addLabel(this, "Label15", tr("Sampler"), 16, 94);

    dbcbSediments = addLookup("dbcbSediments", "SEDIMENTS", "SEDIMENT_EN", 16, 24, 137);
    dbcbSediments->setListSource(MainDataModule->dsSediments);
    edtTemperature2 = addEdit("edtTemperature2", "TEMPERATURE", 168, 24, 73);
    edtSalinity2 = addEdit("edtSalinity2", "SALINITY", 264, 24, 65);
    edtSquare = addEdit("edtSquare", "SQUARE", 16, 66, 65);

    edtNumber = new ui::SpinEdit(this);
    edtNumber->setObjectName(QStringLiteral("edtNumber"));
    edtNumber->setGeometry(96, 66, 57, EditHeight);
    edtNumber->setRange(0, SamplesMaximum);
    edtNumber->setSingleStep(1);
    edtNumber->setPageStep(10);
    edtNumber->setDataSource(MainDataModule->dsSamples2);
    edtNumber->setDataField(QStringLiteral("SAMPLES_NUMBER"));
    connect(edtNumber, &ui::SpinEdit::errorOccurred, this,
            [this](const std::exception& error) { showApplicationError(window(), error); });

    edtSecci = addEdit("edtSecci", "SECCI", 168, 66, 73);
    edtFlow = addEdit("edtFlow", "FLOW_SPEED", 264, 66, 73);
    dbcbSamplers = addLookup("dbcbSamplers", "SAMPLER", "SAMPLER_EN", 16, 112, 193);
    dbcbSamplers->setListSource(MainDataModule->dsSamplers);

    Panel6 = new QFrame(this);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    addLabel(Panel6, "Label16", tr("Notice"), 11, 3);
    DBMemo2 = new ui::DBMemo(Panel6);
    DBMemo2->setObjectName(QStringLiteral("DBMemo2"));
    DBMemo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBMemo2->setDataSource(MainDataModule->dsSamples2);
    DBMemo2->setDataField(QStringLiteral("COMMENTS"));
}

QLabel* TBenthosCard::addLabel(QWidget* parent, const char* name, const QString& text, int left, int top)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

ui::DBEdit* TBenthosCard::addEdit(const char* name, const char* field, int left, int top, int width)
{
    auto* edit = new ui::DBEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(left, top, width, EditHeight);
    edit->setDataSource(MainDataModule->dsSamples2);
    edit->setDataField(QLatin1String(field));
    return edit;
}

ui::DBLookupComboBox* TBenthosCard::addLookup(const char* name, const char* field, const char* list, int left,
                                              int top, int width)
{
    auto* box = new ui::DBLookupComboBox(this);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(left, top, width, EditHeight);
    box->setDataSource(MainDataModule->dsSamples2);
    box->setDataField(QLatin1String(field));
    box->setKeyField(QStringLiteral("ID"));
    box->setListField(QLatin1String(list));
    return box;
}

void TBenthosCard::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    // The notice panel keeps to the right edge over the inner height.
    const int innerHeight = height() - 2 * BevelWidth;
    Panel6->setGeometry(width() - BevelWidth - NoticeWidth, BevelWidth, NoticeWidth, innerHeight);
    DBMemo2->setGeometry(0, innerHeight - NoticeMemoHeight, NoticeWidth, NoticeMemoHeight);
}

void TBenthosCard::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    // Sunken outside, raised inside.
    qDrawShadeRect(&painter, rect(), palette(), true, 1);
    qDrawShadeRect(&painter, rect().adjusted(1, 1, -1, -1), palette(), false, 1);
}
