#pragma once

#include <QString>
#include <Qt>

namespace ui {

// What the footer cell of a column shows.
enum class FooterKind
{
    None,
    Text,  // a fixed text ("Total:")
    Count, // the number of rows whose footer field has a value
    Sum,   // the sum of the footer field over all rows, in the field's display format
};

// One column of a DBGrid, declared by the window's code. Setters return the column, so that a
// declaration reads as one expression:
//   grid->addColumn(ui::GridColumn("ABUNDANCE").setTitle("Abundance, ind./cu.m")
//                       .setFixedWidth(80).setTitleWordWrap(true).setFooterSum());
class GridColumn
{
public:
    GridColumn() = default;
    explicit GridColumn(const QString& fieldName) : m_fieldName(fieldName) {}

    const QString& fieldName() const { return m_fieldName; }

    // Empty: the field's display label.
    const QString& title() const { return m_title; }
    GridColumn& setTitle(const QString& title)
    {
        m_title = title;
        return *this;
    }
    Qt::Alignment titleAlignment() const { return m_titleAlignment; }
    GridColumn& setTitleAlignment(Qt::Alignment alignment)
    {
        m_titleAlignment = alignment;
        return *this;
    }
    // The title breaks into as many lines as the grid's title row has (DBGrid::setTitleLines).
    bool titleWordWrap() const { return m_titleWordWrap; }
    GridColumn& setTitleWordWrap(bool wrap)
    {
        m_titleWordWrap = wrap;
        return *this;
    }

    // Width in pixels; 0: from the field's display width. A fixed column keeps it; the
    // stretching ones share what the fixed ones leave of the grid's width, in proportion to
    // their widths.
    int width() const { return m_width; }
    bool isFixedWidth() const { return m_fixedWidth; }
    GridColumn& setFixedWidth(int pixels)
    {
        m_width = pixels;
        m_fixedWidth = true;
        return *this;
    }
    GridColumn& setStretchWidth(int pixels)
    {
        m_width = pixels;
        m_fixedWidth = false;
        return *this;
    }

    FooterKind footerKind() const { return m_footerKind; }
    const QString& footerText() const { return m_footerText; }
    // The field counted or summed; empty: the column's own field.
    QString footerFieldName() const { return m_footerFieldName.isEmpty() ? m_fieldName : m_footerFieldName; }
    // Empty: as the column's field aligns its values (numbers right).
    Qt::Alignment footerAlignment() const { return m_footerAlignment; }
    GridColumn& setFooterText(const QString& text)
    {
        m_footerKind = FooterKind::Text;
        m_footerText = text;
        return *this;
    }
    GridColumn& setFooterCount(const QString& fieldName = {})
    {
        m_footerKind = FooterKind::Count;
        m_footerFieldName = fieldName;
        return *this;
    }
    GridColumn& setFooterSum(const QString& fieldName = {})
    {
        m_footerKind = FooterKind::Sum;
        m_footerFieldName = fieldName;
        return *this;
    }
    GridColumn& setFooterAlignment(Qt::Alignment alignment)
    {
        m_footerAlignment = alignment;
        return *this;
    }

    // A button with an ellipsis in the cell being edited; pressing it emits
    // DBGrid::cellButtonPressed(column).
    bool hasCellButton() const { return m_cellButton; }
    GridColumn& setCellButton(bool on)
    {
        m_cellButton = on;
        return *this;
    }

    // Rows of the drop-down list of a lookup field's column.
    int dropDownRows() const { return m_dropDownRows; }
    GridColumn& setDropDownRows(int rows)
    {
        m_dropDownRows = rows;
        return *this;
    }

    // A read-only column shows an editor (and its cell button) but writes nothing.
    bool isReadOnly() const { return m_readOnly; }
    GridColumn& setReadOnly(bool readOnly)
    {
        m_readOnly = readOnly;
        return *this;
    }

    static constexpr int DefaultDropDownRows = 7;

private:
    QString m_fieldName;
    QString m_title;
    Qt::Alignment m_titleAlignment = Qt::AlignLeft;
    bool m_titleWordWrap = false;
    int m_width = 0;
    bool m_fixedWidth = false;
    FooterKind m_footerKind = FooterKind::None;
    QString m_footerText;
    QString m_footerFieldName;
    Qt::Alignment m_footerAlignment;
    bool m_cellButton = false;
    int m_dropDownRows = DefaultDropDownRows;
    bool m_readOnly = false;
};

} // namespace ui
