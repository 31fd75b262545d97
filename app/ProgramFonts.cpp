#include "ProgramFonts.h"

#include <QDir>
#include <QFontDatabase>
#include <QStringList>

namespace {

const QString TahomaFamily = QStringLiteral("Tahoma");

QStringList fontFolders()
{
    QStringList folders{QStringLiteral(VELMAR_WINE_FONTS_DIR), QStringLiteral("/usr/share/wine/fonts"),
                        QStringLiteral("/usr/lib/wine/fonts")};
    folders.removeDuplicates();
    return folders;
}

} // namespace

bool ProgramFonts::registerTahoma()
{
    if (QFontDatabase::families().contains(TahomaFamily, Qt::CaseInsensitive))
        return true;
    for (const QString& folder : fontFolders()) {
        const QDir dir(folder);
        for (const char* file : {"tahoma.ttf", "tahomabd.ttf"}) {
            const QString path = dir.filePath(QString::fromLatin1(file));
            if (QFile::exists(path))
                QFontDatabase::addApplicationFont(path);
        }
        if (QFontDatabase::families().contains(TahomaFamily, Qt::CaseInsensitive))
            return true;
    }
    return false;
}
