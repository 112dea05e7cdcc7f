#include "Fonts.h"

#include <QDir>
#include <QFont>
#include <QFontDatabase>

void RegisterDesignFonts()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const QDir dir(QStringLiteral("/usr/share/wine/fonts"));
    for (const char* file : {"ms_sans_serif.ttf", "tahoma.ttf", "tahomabd.ttf"}) {
        const QString path = dir.filePath(QLatin1String(file));
        if (QFile::exists(path))
            QFontDatabase::addApplicationFont(path);
    }
    // Without the originals the nearest common faces stand in.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Tahoma")});
}
