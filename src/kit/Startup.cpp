#include "kit/Startup.h"

#include "common/Messages.h"
#include "kit/Assets.h"
#include "kit/Dialogs.h"

#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QLocale>
#include <QPointer>
#include <QWidget>
#include <cfenv>
#include <clocale>

namespace kit {

namespace {

void UseCNumbers() {
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}

} // namespace

detail::ProcessSetUp::ProcessSetUp(Screen screen) {
    // Masked is the x86-64 Linux default; make it so explicitly in case a library
    // loaded before us unmasked a trap, and keep it for the whole run.
    fedisableexcept(FE_ALL_EXCEPT);
    std::feclearexcept(FE_ALL_EXCEPT);
    UseCNumbers();
    const bool platformGiven = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    const bool displayGiven =
        !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if ((screen == Screen::Offscreen && !platformGiven) ||
        (screen == Screen::DisplayOrOffscreen && !platformGiven && !displayGiven)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

Application::Application(int& argc, char** argv, Screen screen)
    : detail::ProcessSetUp(screen), QApplication(argc, argv) {
    UseCNumbers();
    setApplicationName(QString::fromLatin1(common::kApplicationTitle));
    // The desktop entry's name: docks and task bars group the windows with
    // the launcher they were started from.
    setDesktopFileName(QStringLiteral("tormalind-utility"));

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
    setFont(font);
    setWindowIcon(QIcon(AssetPath(QStringLiteral("icon.png"))));
    InstallModalMessageBoxes();
}

Application::~Application() {
    // Tool windows still open hold PDF documents whose pages may be rendering on
    // a thread of their own: they go, renderers included, while the application
    // still exists.
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : topLevelWidgets()) {
        if (window->parentWidget() == nullptr) {
            windows.append(window);
        }
    }
    for (const QPointer<QWidget>& window : windows) {
        delete window.data();
    }
}

} // namespace kit
