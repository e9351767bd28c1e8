#include "Startup.h"

#include "Assets.h"
#include "Messages.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QLocale>
#include <cfenv>
#include <clocale>

namespace shell {

void PrepareProcess() {
    // Masked is the x86-64 Linux default; make it so explicitly in case a library
    // loaded before us unmasked a trap, and keep it for the whole run.
    fedisableexcept(FE_ALL_EXCEPT);
    std::feclearexcept(FE_ALL_EXCEPT);
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}

void PrepareApplication() {
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
    QApplication::setApplicationName(QString::fromLatin1(common::kApplicationTitle));

    // Tahoma ships with fonts-wine outside fontconfig's path. Only the regular
    // face is loaded: the bold file there draws hairline strokes, while the
    // emboldened regular face looks like the bold the layouts were made with.
    // The bitmap "MS Sans Serif" there has only three sizes, so a metric-compatible
    // sans stands in for it, as it does for Arial.
    QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));

    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    QApplication::setFont(font);
    QApplication::setWindowIcon(QIcon(AssetPath(QStringLiteral("icon.png"))));
}

} // namespace shell
