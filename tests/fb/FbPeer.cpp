// fb_peer DATABASE insert ID TEXT   inserts a row into T and commits
// fb_peer DATABASE text ID          prints the text of row ID (read committed)
// fb_peer DATABASE root             prints the engine root this process uses
// Exit code 0 on success; the error text goes to stderr.
#include "fb/Attachment.h"
#include "fb/Engine.h"
#include "fb/Error.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.size() < 3) {
        err << "usage: fb_peer DATABASE insert ID TEXT | text ID | root\n";
        return 2;
    }
    try {
        const QString command = args[2];
        if (command == u"root") {
            fb::Engine::prepare();
            out << fb::Engine::rootDirectory() << '\n';
            return 0;
        }
        fb::ConnectionParams params;
        params.database = args[1];
        params.password = QStringLiteral("plumbline");
        fb::Attachment attachment = fb::Attachment::attach(params);
        if (command == u"insert" && args.size() == 5) {
            fb::Transaction write(attachment);
            fb::Statement insert(attachment, write, QStringLiteral("INSERT INTO T (ID, S) VALUES (?, ?)"));
            insert.execute(write, {args[3].toInt(), args[4]});
            write.commit();
        } else if (command == u"text" && args.size() == 4) {
            fb::Transaction read(attachment,
                                 fb::TransactionOptions().setIsolation(fb::Isolation::ReadCommitted));
            fb::Statement select(attachment, read, QStringLiteral("SELECT S FROM T WHERE ID = ?"));
            const auto row = select.execute(read, {args[3].toInt()});
            if (!row)
                return 1;
            out << row->at(0).toString() << '\n';
        } else {
            err << "unknown command\n";
            return 2;
        }
        attachment.detach();
        return 0;
    } catch (const fb::Error& e) {
        err << e.fullMessage() << '\n';
        return 3;
    }
}
