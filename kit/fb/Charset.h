#pragma once

#include <QByteArray>
#include <QString>

namespace fb {

// Exact conversion between Unicode and Windows code page 1251, the connection character set.
namespace win1251 {

// Throws fb::Error naming `what` (usually the column) when a character has no WIN1251 code;
// text is never silently replaced.
QByteArray encode(const QString& text, const QString& what = {});
QString decode(const char* data, qsizetype size);
inline QString decode(const QByteArray& bytes)
{
    return decode(bytes.constData(), bytes.size());
}
bool canEncode(QChar c);
bool canEncode(const QString& text);

} // namespace win1251
} // namespace fb
