// velmar-bench DATABASE [--repeats N] [--moves N]
// Prints how fast the dataset engine reads and follows data on a demo database.
#include "BenchConnection.h"
#include "ChainBench.h"
#include "FetchBench.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <fb/Error.h>

namespace {

QString ms(double v)
{
    return QString::number(v, 'f', 2) + QStringLiteral(" ms");
}

void line(QTextStream& out, const QString& measure, const QString& result, const QString& target = {})
{
    out << measure.leftJustified(58) << result.leftJustified(16) << target << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Measures the dataset engine on a demo database."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("DATABASE"),
                                 QStringLiteral("made by velmar-db create --demo --scale N"));
    const QCommandLineOption repeatsOption(QStringLiteral("repeats"),
                                           QStringLiteral("Runs of each read (median)."), QStringLiteral("N"),
                                           QStringLiteral("5"));
    const QCommandLineOption movesOption(QStringLiteral("moves"), QStringLiteral("Visit moves timed."),
                                         QStringLiteral("N"), QStringLiteral("200"));
    const QCommandLineOption chainOnlyOption(QStringLiteral("chain-only"),
                                             QStringLiteral("Measure only the chain (for profiling)."));
    parser.addOptions({repeatsOption, movesOption, chainOnlyOption});
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    const QString file = QFileInfo(parser.positionalArguments().first()).absoluteFilePath();
    const int repeats = std::max(1, parser.value(repeatsOption).toInt());
    const int moves = std::max(1, parser.value(movesOption).toInt());

    QTextStream out(stdout);
    try {
        fb::ConnectionParams params;
        params.database = file;
        BenchConnection connection(params);
        if (parser.isSet(chainOnlyOption)) {
            const ChainResult chain = measureEngineChain(connection, moves);
            out << "chain re-read: median " << ms(chain.medianMs) << ", worst " << ms(chain.worstMs) << "\n";
            return 0;
        }

        const FetchResult plankton = measureFetch(
            connection, QStringLiteral("SELECT ID, SAMPLE, TAXON, ABUNDANCE, BIOMASS FROM PLANKTON"),
            repeats);
        const FetchResult named = measureFetch(
            connection,
            QStringLiteral("SELECT P.ID, P.SAMPLE, P.TAXON, P.ABUNDANCE, P.BIOMASS, T.TAXON AS TAXON_NAME "
                           "FROM PLANKTON P JOIN TAXONS_P T ON T.ID = P.TAXON"),
            repeats);
        const ChainResult engineChain = measureEngineChain(connection, moves);

        out << "Velmar benchmark on " << file << "\n";
        out << "PLANKTON rows: " << plankton.rows << "; medians of " << repeats << " runs, " << moves
            << " visit moves\n\n";
        line(out, QStringLiteral("Measure"), QStringLiteral("Result"), QStringLiteral("Target"));
        line(out, QString(56, u'-'), QString(14, u'-'), QString(8, u'-'));
        for (const FetchResult* r : {&plankton, &named}) {
            const QString what =
                r == &plankton ? QStringLiteral("PLANKTON") : QStringLiteral("PLANKTON + taxon name");
            line(out, QStringLiteral("(a) open %1, FetchAll, %2 rows").arg(what).arg(r->rows),
                 ms(r->dataSetMs));
            line(out, QStringLiteral("    same statement through kit/fb alone"), ms(r->fbMs));
            line(out, QStringLiteral("    ratio dataset / kit/fb"), QString::number(r->ratio(), 'f', 2),
                 QStringLiteral("<= 1.5"));
        }
        line(out, QStringLiteral("(b) chain re-read after a move to another visit"), ms(engineChain.medianMs),
             QStringLiteral("< 3 ms"));
        line(out, QStringLiteral("    (kit/db chain with the data module's statements)"),
             QStringLiteral("worst ") + ms(engineChain.worstMs));
        line(out, QStringLiteral("    datasets read again per move"),
             QString::number(engineChain.readsPerMove, 'f', 2));
        line(out, QStringLiteral("    (the data module's own chain: velmar-bench-module)"), QString());
        for (const FetchResult* r : {&plankton, &named}) {
            const QString what =
                r == &plankton ? QStringLiteral("PLANKTON") : QStringLiteral("PLANKTON + taxon name");
            line(out, QStringLiteral("(c) heap per fetched row, %1: dataset").arg(what),
                 QString::number(r->dataSetBytesPerRow, 'f', 0) + QStringLiteral(" B"));
            line(out, QStringLiteral("    kit/fb alone (one QVariantList)"),
                 QString::number(r->fbBytesPerRow, 'f', 0) + QStringLiteral(" B"));
        }
    } catch (const fb::Error& e) {
        QTextStream(stderr) << "velmar-bench: " << e.message() << "\n";
        return 1;
    }
    return 0;
}
