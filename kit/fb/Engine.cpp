#include "Engine.h"

#include "Error.h"
#include "FbApi.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <dlfcn.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace fb {

namespace {

QString g_root;

// The engine's own installation: where the character set module and the message file live.
QString findSystemRoot()
{
    QStringList candidates;
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&Firebird::fb_get_master_interface), &info) && info.dli_fname) {
        const QString libDir =
            QFileInfo(QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalFilePath()).path();
        candidates << libDir + QStringLiteral("/firebird/3.0");
    }
    candidates << QStringLiteral("/usr/lib/x86_64-linux-gnu/firebird/3.0")
               << QStringLiteral("/usr/lib/firebird/3.0") << QStringLiteral("/opt/firebird");
    for (const QString& dir : candidates) {
        if (QFileInfo::exists(dir + QStringLiteral("/intl/libfbintl.so")) &&
            QFileInfo::exists(dir + QStringLiteral("/firebird.msg")))
            return dir;
    }
    throw Error(
        QStringLiteral("The Firebird engine files (intl/libfbintl.so, firebird.msg) were not found in: %1")
            .arg(candidates.join(QStringLiteral(", "))));
}

// Changes when the installed engine is upgraded, so that a stale copy of its module is never used.
QString installationStamp(const QString& systemRoot)
{
    const QFileInfo intl(systemRoot + QStringLiteral("/intl/libfbintl.so"));
    const quint64 stamp = quint64(intl.size()) ^ (quint64(intl.lastModified().toSecsSinceEpoch()) << 20);
    return QString::number(stamp, 36);
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        throw Error(QStringLiteral("Can't write %1: %2").arg(path, file.errorString()));
}

void copyFile(const QString& from, const QString& to)
{
    // QFile::copy follows symbolic links (fbintl.conf is one on Debian).
    if (!QFile::copy(from, to))
        throw Error(QStringLiteral("Can't copy %1 to %2").arg(from, to));
}

// The engine loads its character set module only from inside its root, so the module is
// copied rather than linked; the plugins stay where the installation keeps them.
void populate(const QString& dir, const QString& systemRoot)
{
    writeFile(dir + QStringLiteral("/firebird.conf"),
              "# Engine configuration of Velmar processes. Classic mode lets several processes\n"
              "# share one database file; they must all use the same lock folder.\n"
              "ServerMode = Classic\n"
              "UdfAccess = None\n");
    const QString plugins = systemRoot + QStringLiteral("/plugins.conf");
    if (QFileInfo::exists(plugins))
        copyFile(plugins, dir + QStringLiteral("/plugins.conf"));
    copyFile(systemRoot + QStringLiteral("/firebird.msg"), dir + QStringLiteral("/firebird.msg"));
    if (QFileInfo::exists(systemRoot + QStringLiteral("/plugins")) &&
        !QFile::link(systemRoot + QStringLiteral("/plugins"), dir + QStringLiteral("/plugins")))
        throw Error(QStringLiteral("Can't link the Firebird plugins into %1").arg(dir));
    if (!QDir(dir).mkdir(QStringLiteral("intl")))
        throw Error(QStringLiteral("Can't create %1/intl").arg(dir));
    copyFile(systemRoot + QStringLiteral("/intl/libfbintl.so"), dir + QStringLiteral("/intl/libfbintl.so"));
    copyFile(systemRoot + QStringLiteral("/intl/fbintl.conf"), dir + QStringLiteral("/intl/fbintl.conf"));
}

// A root found in a shared folder must be ours alone: a directory, not a link, owned by us
// and writable by nobody else.
void checkOwnership(const QString& root)
{
    struct stat st
    {
    };
    if (lstat(QFile::encodeName(root).constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        st.st_uid != getuid() || (st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        throw Error(
            QStringLiteral("The Firebird configuration folder %1 is not a private folder of this user.")
                .arg(root));
}

QString makeRoot()
{
    const QString systemRoot = findSystemRoot();
    QString base = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (base.isEmpty() || !QFileInfo(base).isDir())
        base = QStringLiteral("/tmp");
    const QString version = QStringLiteral("%1.%2").arg(FB_API_VER / 10).arg(FB_API_VER % 10);
    const QString root = QStringLiteral("%1/velmar-firebird-%2-%3-%4")
                             .arg(base)
                             .arg(getuid())
                             .arg(version, installationStamp(systemRoot));
    if (QFileInfo::exists(root)) {
        checkOwnership(root);
        return root;
    }

    // Built aside and renamed into place, so that another process never sees a half-made root.
    QByteArray pattern = QFile::encodeName(root + QStringLiteral(".tmp-XXXXXX"));
    if (!mkdtemp(pattern.data()))
        throw Error(QStringLiteral("Can't create a folder in %1 for the Firebird configuration.").arg(base));
    const QString temp = QFile::decodeName(pattern);
    try {
        populate(temp, systemRoot);
    } catch (...) {
        QDir(temp).removeRecursively();
        throw;
    }
    if (::rename(pattern.constData(), QFile::encodeName(root).constData()) != 0) {
        // Another process made it first; use theirs.
        QDir(temp).removeRecursively();
        if (!QFileInfo(root).isDir())
            throw Error(QStringLiteral("Can't create the Firebird configuration folder %1.").arg(root));
    }
    checkOwnership(root);
    return root;
}

} // namespace

void Engine::prepare()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const QByteArray preset = qgetenv("FIREBIRD");
        if (!preset.isEmpty()) {
            g_root = QString::fromLocal8Bit(preset);
            return;
        }
        const QString root = makeRoot();
        // Read by the client library when it first looks for its configuration, which is
        // after this point: nothing in this process has used the library yet.
        qputenv("FIREBIRD", QFile::encodeName(root));
        g_root = root;
    });
}

QString Engine::rootDirectory()
{
    prepare();
    return g_root;
}

} // namespace fb
