#pragma once

#include <QLabel>

namespace db {
class DataSource;
class Field;
} // namespace db

namespace ui {

class FieldLink;

// A label showing the display text of a field of the current row (empty while its data source
// is inactive).
class DBText : public QLabel
{
    Q_OBJECT
public:
    explicit DBText(QWidget* parent = nullptr);

    void setDataSource(db::DataSource* source);
    db::DataSource* dataSource() const;
    void setDataField(const QString& fieldName);
    QString dataField() const;
    db::Field* field() const;

private:
    void showField();

    FieldLink* m_link;
};

} // namespace ui
