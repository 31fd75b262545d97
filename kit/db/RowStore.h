#pragma once

#include <QVariant>
#include <QVariantList>

namespace db {

// The rows of a dataset in one flat list of values, row after row (`stride` values each), so
// that reading a row allocates nothing of its own and rows arrive by appending.
class RowStore
{
public:
    void reset(int stride)
    {
        m_values.clear();
        m_stride = stride;
    }
    int stride() const { return m_stride; }
    int count() const { return m_stride ? int(m_values.size() / m_stride) : 0; }

    const QVariant& at(int row, int column) const { return m_values.at(qsizetype(row) * m_stride + column); }
    QVariant& at(int row, int column) { return m_values[qsizetype(row) * m_stride + column]; }
    const QVariant* row(int row) const { return m_values.constData() + qsizetype(row) * m_stride; }
    QVariant* row(int row) { return m_values.data() + qsizetype(row) * m_stride; }

    // Where fetched values are appended; every row must end up with exactly stride values.
    QVariantList& appendTarget() { return m_values; }
    void appendNulls(int n)
    {
        for (int i = 0; i < n; ++i)
            m_values.append(QVariant());
    }

    void insertRow(int row) { m_values.insert(qsizetype(row) * m_stride, m_stride, QVariant()); }
    void removeRow(int row) { m_values.remove(qsizetype(row) * m_stride, m_stride); }
    void setRow(int row, const QVariant* values)
    {
        for (int c = 0; c < m_stride; ++c)
            at(row, c) = values[c];
    }
    void swap(RowStore& other) noexcept
    {
        m_values.swap(other.m_values);
        std::swap(m_stride, other.m_stride);
    }
    // Gives back what growing by appends reserved beyond the rows held (once all are read).
    void squeeze()
    {
        if (m_values.capacity() > m_values.size() + m_values.size() / 8)
            m_values.squeeze();
    }
    qsizetype capacityBytes() const { return m_values.capacity() * qsizetype(sizeof(QVariant)); }

private:
    QVariantList m_values;
    int m_stride = 0;
};

} // namespace db
