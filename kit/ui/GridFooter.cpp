#include "GridFooter.h"

#include "GridModel.h"
#include "GridPainting.h"

#include <QHeaderView>
#include <QPainter>
#include <db/DataSet.h>
#include <db/Field.h>
#include <db/NumberFormat.h>

namespace ui {

namespace {

constexpr int TextMargin = 3;

bool isWholeNumber(db::FieldType type)
{
    return type == db::FieldType::SmallInt || type == db::FieldType::Integer ||
           type == db::FieldType::LargeInt;
}

QString formatSum(const db::Field* field, double sum, qint64 wholeSum)
{
    const QString& format = field->displayFormat();
    if (isWholeNumber(field->type()))
        return format.isEmpty() ? QString::number(wholeSum) : db::formatInteger(wholeSum, format);
    return format.isEmpty() ? db::formatGeneral(sum) : db::formatFloat(sum, format);
}

} // namespace

GridFooter::GridFooter(GridModel* model, QHeaderView* header, QWidget* parent)
    : QWidget(parent), m_model(model), m_header(header)
{
    setObjectName(QStringLiteral("GridFooter"));
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &GridFooter::recalculate);
    connect(model, &QAbstractItemModel::modelReset, this, &GridFooter::schedule);
    connect(model, &QAbstractItemModel::rowsInserted, this, &GridFooter::schedule);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &GridFooter::schedule);
    connect(model, &QAbstractItemModel::dataChanged, this, &GridFooter::schedule);
    connect(model, &QAbstractItemModel::layoutChanged, this, &GridFooter::schedule);
    connect(header, &QHeaderView::sectionResized, this, qOverload<>(&QWidget::update));
    connect(header, &QHeaderView::geometriesChanged, this, qOverload<>(&QWidget::update));
    schedule();
}

bool GridFooter::hasCells() const
{
    for (const GridColumn& c : m_model->columns())
        if (c.footerKind() != FooterKind::None)
            return true;
    return false;
}

Qt::Alignment GridFooter::alignment(int column) const
{
    if (column < 0 || column >= m_model->columns().size())
        return Qt::AlignLeft;
    const GridColumn& c = m_model->columns().at(column);
    if (c.footerAlignment() & Qt::AlignHorizontal_Mask)
        return c.footerAlignment() & Qt::AlignHorizontal_Mask;
    if (c.footerKind() == FooterKind::Count)
        return Qt::AlignRight;
    const db::Field* f = m_model->findField(c.footerFieldName());
    return f ? f->alignment() & Qt::AlignHorizontal_Mask : Qt::AlignLeft;
}

void GridFooter::schedule()
{
    if (!m_calculating)
        m_timer.start();
}

void GridFooter::recalculate()
{
    m_timer.stop();
    m_calculating = true;
    QStringList texts;
    for (int i = 0; i < m_model->columns().size(); ++i)
        texts << computeText(i);
    m_calculating = false;
    if (texts != m_texts) {
        m_texts = texts;
        update();
    }
}

QString GridFooter::computeText(int column) const
{
    const GridColumn& c = m_model->columns().at(column);
    switch (c.footerKind()) {
    case FooterKind::None:
        return {};
    case FooterKind::Text:
        return c.footerText();
    case FooterKind::Count:
    case FooterKind::Sum:
        break;
    }
    db::DataSet* dataSet = m_model->activeDataSet();
    const db::Field* field = m_model->findField(c.footerFieldName());
    if (!dataSet || !field)
        return {};
    try {
        dataSet->fetchAll();
    } catch (const std::exception& e) {
        m_model->reportError(e);
    }
    const int rows = dataSet->recordCount();
    int count = 0;
    double sum = 0;
    qint64 wholeSum = 0;
    for (int row = 0; row < rows; ++row) {
        if (field->isNull(row))
            continue;
        ++count;
        if (c.footerKind() == FooterKind::Sum) {
            const QVariant v = field->value(row);
            sum += v.toDouble();
            wholeSum += v.toLongLong();
        }
    }
    if (c.footerKind() == FooterKind::Count)
        return QString::number(count);
    return formatSum(field, sum, wholeSum);
}

void GridFooter::setIndicatorWidth(int width)
{
    if (width != m_indicatorWidth) {
        m_indicatorWidth = width;
        update();
    }
}

void GridFooter::setColor(const QColor& color)
{
    m_color = color;
    update();
}

QSize GridFooter::sizeHint() const
{
    return {m_indicatorWidth + m_header->length(), fontMetrics().height() + 2 * TextMargin};
}

void GridFooter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_color);
    if (m_indicatorWidth > 0)
        paintFlatCell(&painter, QRect(0, 0, m_indicatorWidth, height()), palette(), m_color);
    painter.setFont(font());
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int logical = m_header->logicalIndex(visual);
        if (m_header->isSectionHidden(logical))
            continue;
        const QRect cell(m_indicatorWidth + m_header->sectionViewportPosition(logical), 0,
                         m_header->sectionSize(logical), height());
        if (cell.right() < 0 || cell.left() > width())
            continue;
        paintFlatCell(&painter, cell, palette(), m_color);
        const QRect textRect = cell.adjusted(TextMargin, 0, -TextMargin, 0);
        const QString shown = fontMetrics().elidedText(text(logical), Qt::ElideRight, textRect.width());
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(textRect, int(alignment(logical) | Qt::AlignVCenter), shown);
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, 0, width(), 0);
}

} // namespace ui
