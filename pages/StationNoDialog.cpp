#include "StationNoDialog.h"

#include <ApplicationError.h>
#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStyle>
#include <db/DataSet.h>
#include <db/DataSource.h>
#include <db/Field.h>
#include <ui/DBDateEdit.h>
#include <ui/DBEdit.h>

namespace {

constexpr int EditHeight = 21;

template <typename Edit> Edit* placeEdit(QWidget* parent, const char* name, int left, int top, int width)
{
    auto* edit = new Edit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(left, top, width, EditHeight);
    return edit;
}

QPushButton* placeButton(QWidget* parent, const char* name, const QString& caption,
                         QStyle::StandardPixmap icon, int top)
{
    auto* button = new QPushButton(parent->style()->standardIcon(icon), caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(233, top, 75, 25);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TdlgStationNo::TdlgStationNo(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("dlgStationNo"));
    setWindowTitle(tr("Statioin"));
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(11);
    setFont(tahoma);
    setFixedSize(ClientWidth, ClientHeight);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(8, 8, 209, 114);

    // Created in tab order. Of the two labels with the letter D the date's is registered first,
    // so Alt+D reaches the date.
    edtNo = placeEdit<ui::DBEdit>(this, "edtNo", 40, 24, 65);
    edtIdx = placeEdit<ui::DBEdit>(this, "edtIdx", 160, 24, 41);
    edtDate = placeEdit<ui::DBDateEdit>(this, "edtDate", 48, 56, 121);
    edtDepth = placeEdit<ui::DBEdit>(this, "edtDepth", 56, 88, 73);
    addLabel(tr("&No:"), edtNo, 16, 28, "Label1");
    addLabel(tr("&Index:"), edtIdx, 120, 28, "Label2");
    addLabel(tr("&Date:"), edtDate, 16, 60, "Label3");
    addLabel(tr("&Depth:"), edtDepth, 16, 92, "Label4");

    BitBtn1 = placeButton(this, "BitBtn1", tr("OK"), QStyle::SP_DialogOkButton, 8);
    BitBtn1->setDefault(true);
    BitBtn2 = placeButton(this, "BitBtn2", tr("Cancel"), QStyle::SP_DialogCancelButton, 40);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    for (ui::DBEdit* edit : {edtNo, edtIdx, static_cast<ui::DBEdit*>(edtDate), edtDepth}) {
        // An edit gives up typed text on Esc; in this dialog Esc is the Cancel button's.
        edit->installEventFilter(this);
        connect(edit, &ui::DBEdit::errorOccurred, this, &TdlgStationNo::showError);
    }
    edtNo->setFocus(Qt::OtherFocusReason);
}

QLabel* TdlgStationNo::addLabel(const QString& text, QWidget* buddy, int left, int top, const char* name)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    label->move(left, top);
    label->adjustSize();
    return label;
}

void TdlgStationNo::bind(db::DataSource* source)
{
    m_dataSet = source ? source->dataSet() : nullptr;
    const std::pair<ui::DBEdit*, const char*> bindings[] = {
        {edtNo, "STATION"}, {edtIdx, "ST_CHAR"}, {edtDate, "DATE"}, {edtDepth, "DEPTH"}};
    for (const auto& [edit, field] : bindings) {
        edit->setDataSource(source);
        edit->setDataField(QString::fromLatin1(field));
    }
}

bool TdlgStationNo::FormCloseQuery(int result)
{
    if (result != Accepted || !edtNo->text().isEmpty())
        return true;
    QApplication::beep();
    emit closeRefused();
    return false;
}

void TdlgStationNo::done(int result)
{
    if (!FormCloseQuery(result))
        return;
    if (result == Accepted && !handOverTypedText())
        return;
    QDialog::done(result);
}

bool TdlgStationNo::handOverTypedText()
{
    for (ui::DBEdit* edit : {edtNo, edtIdx, static_cast<ui::DBEdit*>(edtDate), edtDepth}) {
        try {
            edit->updateRecord();
        } catch (const std::exception& error) {
            showError(error);
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
            return false;
        }
    }
    return true;
}

void TdlgStationNo::showError(const std::exception& error)
{
    showApplicationError(this, error);
}

bool TdlgStationNo::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        BitBtn2->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TdlgStationNo::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void EditStationNo(db::DataSource* source, QWidget* parent)
{
    if (!parent)
        parent = QApplication::activeWindow();
    QPointer<db::DataSet> dataSet;
    bool accepted = false;
    {
        // Owned here and destroyed on every way out of this block.
        QPointer<TdlgStationNo> dialog = new TdlgStationNo(parent);
        const auto destroy = qScopeGuard([&dialog] { delete dialog.data(); });
        dialog->bind(source);
        dataSet = dialog->dataSet();
        accepted = dialog->exec() == QDialog::Accepted;
    }
    if (!dataSet || !dataSet->isEditing())
        return;
    try {
        if (accepted) {
            const QString name = dataSet->field(QStringLiteral("STATION"))->asString() +
                                 dataSet->field(QStringLiteral("ST_CHAR"))->asString();
            dataSet->field(QStringLiteral("STATION_NAME"))->setValue(name);
        } else {
            dataSet->cancel();
        }
    } catch (const std::exception& error) {
        showApplicationError(parent, error);
    }
}
