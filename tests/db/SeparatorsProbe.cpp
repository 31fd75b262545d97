// Prints the program's separators and a few formatted numbers, one per line, as this process's
// locale gives them.
#include <QCoreApplication>
#include <QTextStream>
#include <db/NumberFormat.h>
#include <db/Separators.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    db::useProgramSeparators();
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    out << "decimal=" << db::separators().decimal << "\n";
    out << "thousands=U+" << QString::number(db::separators().thousands.unicode(), 16).toUpper() << "\n";
    out << db::formatFloat(1234567.891, QStringLiteral("#,##0.00")) << "\n";
    const auto parsed = db::parseFloat(QStringLiteral("1234.5"));
    out << (parsed ? db::formatGeneral(*parsed) : QStringLiteral("refused")) << "\n";
    out << (db::parseFloat(QStringLiteral("1234,5")) ? QStringLiteral("accepted") : QStringLiteral("refused"))
        << "\n";
    return 0;
}
