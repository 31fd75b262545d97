// velmar-db: makes new Velmar database files.

#include "DatabaseBuilder.h"
#include "DemoGenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <cstdio>
#include <fb/Attachment.h>
#include <fb/Error.h>
#include <fb/Statement.h>
#include <fb/Transaction.h>

namespace {

constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

int usageError(const QString& message)
{
    err() << "velmar-db: " << message << "\nTry 'velmar-db --help' for usage.\n";
    err().flush();
    return exitUsage;
}

void printRowCounts(const QString& file, const dbtool::BuildOptions& options)
{
    static const char* const tables[] = {"SEASONS",   "STATIONS_P", "SAMPLES_PL", "PLANKTON", "DETAILS_PL",
                                         "TAXONS_P",  "YEARS",      "SAMPLES_BE", "BENTHOS",  "TAXONS_B",
                                         "SEDIMENTS", "SAMPLERS",   "COORDINATES"};
    fb::ConnectionParams params;
    params.database = file;
    params.user = options.user;
    params.password = options.password;
    fb::Attachment db = fb::Attachment::attach(params);
    fb::Transaction transaction(db, fb::TransactionOptions().setReadOnly(true));
    QTextStream out(stdout);
    for (const char* table : tables) {
        fb::Statement count(db, transaction,
                            QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)));
        const auto row = count.execute(transaction);
        out << QStringLiteral("  %1 %2\n")
                   .arg(QLatin1String(table), -12)
                   .arg(row ? row->at(0).toLongLong() : 0, 8);
    }
    transaction.commit();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velmar-db"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Makes a new Velmar database file: the schema, the reference lists (taxa, sediments,\n"
                       "samplers, station coordinates) and, if asked, a demo collection."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("create"),
                                 QStringLiteral("The command: create a new database."));
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The database file to create; an existing file is never "
                                                "overwritten."));
    const QCommandLineOption demoOption(
        QStringLiteral("demo"),
        QStringLiteral("Add the demo collection: zooplankton seasons and zoobenthos years %1 to %2.")
            .arg(dbtool::DemoGenerator::firstYear)
            .arg(dbtool::DemoGenerator::lastYear));
    const QCommandLineOption scaleOption(
        QStringLiteral("scale"),
        QStringLiteral("Make the demo collection N times larger (1 to %1), for benchmarks; implies --demo.")
            .arg(dbtool::DemoGenerator::maxScale),
        QStringLiteral("N"));
    const QCommandLineOption userOption(QStringLiteral("user"),
                                        QStringLiteral("Database user name (default SYSDBA)."),
                                        QStringLiteral("NAME"), QStringLiteral("SYSDBA"));
    const QCommandLineOption passwordOption(QStringLiteral("password"),
                                            QStringLiteral("Database password, for a server connection."),
                                            QStringLiteral("PASSWORD"));
    parser.addOptions({demoOption, scaleOption, userOption, passwordOption});

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);

    const QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return usageError(QStringLiteral("no command given."));
    if (args.first() != QLatin1String("create"))
        return usageError(QStringLiteral("unknown command '%1'.").arg(args.first()));
    if (args.size() != 2)
        return usageError(QStringLiteral("'create' takes exactly one FILE."));

    dbtool::BuildOptions options;
    options.demo = parser.isSet(demoOption) || parser.isSet(scaleOption);
    if (parser.isSet(scaleOption)) {
        bool ok = false;
        options.scale = parser.value(scaleOption).toInt(&ok);
        if (!ok || options.scale < 1 || options.scale > dbtool::DemoGenerator::maxScale)
            return usageError(QStringLiteral("--scale takes a whole number from 1 to %1, not '%2'.")
                                  .arg(dbtool::DemoGenerator::maxScale)
                                  .arg(parser.value(scaleOption)));
    }
    options.user = parser.value(userOption);
    options.password = parser.value(passwordOption);
    const QString file = args.at(1);

    try {
        QElapsedTimer timer;
        timer.start();
        dbtool::DatabaseBuilder::create(file, options);
        QTextStream(stdout) << "Created " << file << " in "
                            << QString::number(timer.elapsed() / 1000.0, 'f', 1) << " s. Rows:\n";
        printRowCounts(file, options);
    } catch (const fb::Error& e) {
        err() << "velmar-db: " << e.message() << Qt::endl;
        return exitFailure;
    } catch (const std::exception& e) {
        err() << "velmar-db: " << QString::fromLocal8Bit(e.what()) << Qt::endl;
        return exitFailure;
    }
    return 0;
}
