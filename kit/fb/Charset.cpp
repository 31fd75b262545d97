#include "Charset.h"

#include "Error.h"

#include <array>

namespace fb::win1251 {

namespace {

// Unicode of the bytes 0x80..0xFF. 0x98 has no character in code page 1251.
constexpr char16_t Undefined = 0xFFFD;
constexpr std::array<char16_t, 128> HighHalf = {
    0x0402,    0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x20AC,    0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, //
    0x0452,    0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    Undefined, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, //
    0x00A0,    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, //
    0x0401,    0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, //
    0x00B0,    0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, //
    0x0451,    0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, //
    0x0410,    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, //
    0x0418,    0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, //
    0x0420,    0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, //
    0x0428,    0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, //
    0x0430,    0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, //
    0x0438,    0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, //
    0x0440,    0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, //
    0x0448,    0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, //
};

// Byte for each UTF-16 code unit; 0 where code page 1251 has none (NUL itself is handled apart).
struct ReverseTable
{
    std::array<unsigned char, 0x10000> bytes{};
    ReverseTable()
    {
        for (unsigned c = 1; c < 0x80; ++c)
            bytes[c] = static_cast<unsigned char>(c);
        for (unsigned i = 0; i < HighHalf.size(); ++i) {
            if (HighHalf[i] != Undefined)
                bytes[HighHalf[i]] = static_cast<unsigned char>(0x80 + i);
        }
    }
};

const ReverseTable& reverse()
{
    static const ReverseTable table;
    return table;
}

QString describeCharacter(const QString& text, qsizetype at)
{
    char32_t code = text.at(at).unicode();
    QString shown = text.mid(at, 1);
    if (text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate()) {
        code = QChar::surrogateToUcs4(text.at(at), text.at(at + 1));
        shown = text.mid(at, 2);
    }
    return QStringLiteral("\"%1\" (U+%2)")
        .arg(shown, QString::number(code, 16).toUpper().rightJustified(4, u'0'));
}

} // namespace

bool canEncode(QChar c)
{
    return c.unicode() == 0 || reverse().bytes[c.unicode()] != 0;
}

bool canEncode(const QString& text)
{
    const auto& table = reverse().bytes;
    for (QChar c : text) {
        if (c.unicode() != 0 && table[c.unicode()] == 0)
            return false;
    }
    return true;
}

QByteArray encode(const QString& text, const QString& what)
{
    const auto& table = reverse().bytes;
    QByteArray out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const unsigned char b = table[c];
        if (b == 0 && c != 0) {
            const QString subject = what.isEmpty() ? QStringLiteral("the text") : what;
            throw Error(QStringLiteral("The character %1 in %2 can't be stored: the WIN1251 character set "
                                       "has no such character.")
                            .arg(describeCharacter(text, i), subject));
        }
        dst[i] = static_cast<char>(b);
    }
    return out;
}

QString decode(const char* data, qsizetype size)
{
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        dst[i] = QChar(b < 0x80 ? char16_t(b) : HighHalf[b - 0x80]);
    }
    return out;
}

} // namespace fb::win1251
