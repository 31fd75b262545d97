// velmar-bench-module DATABASE [--moves N]
// The chain re-read of the data module itself after a move to another visit.
#include "ModuleChainBench.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <db/Error.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Times the data module's chain re-read after a visit move."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("DATABASE"),
                                 QStringLiteral("made by velmar-db create --demo --scale N"));
    const QCommandLineOption movesOption(QStringLiteral("moves"), QStringLiteral("Visit moves timed."),
                                         QStringLiteral("N"), QStringLiteral("100"));
    parser.addOption(movesOption);
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    QTextStream out(stdout);
    try {
        const ModuleChainResult r =
            measureModuleChain(QFileInfo(parser.positionalArguments().first()).absoluteFilePath(),
                               std::max(1, parser.value(movesOption).toInt()));
        auto ms = [](double v) { return QString::number(v, 'f', 2) + QStringLiteral(" ms"); };
        out << "(b) data module: chain re-read after a move to another visit, " << r.moves << " moves\n";
        out << "    median " << ms(r.medianMs) << ", worst " << ms(r.worstMs) << " (target < 3 ms)\n";
        out << "    CPU time of the UI thread: median " << ms(r.cpuMedianMs) << "\n";
        out << "    read by (median from the start):";
        for (const auto& [name, at] : r.stages)
            out << " " << name << " " << ms(at) << ";";
        out << "\n";
        out << "    with the taxon grid's reading of the counts and their names: median "
            << ms(r.withGridMedianMs) << "; " << QString::number(r.countsPerSample, 'f', 1)
            << " counts per sample\n";
    } catch (const std::exception& e) {
        QTextStream(stderr) << "velmar-bench-module: " << db::errorText(e) << "\n";
        return 1;
    }
    return 0;
}
