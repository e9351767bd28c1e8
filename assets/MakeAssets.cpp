// tormalind-make-assets: draws every picture and requirement sheet the windows show.
//
//   tormalind-make-assets OUTPUT_DIR DOCUMENTS_DIR
//
// Nothing here is read from a binary file: the artwork is drawn with QPainter and the
// requirement sheets are laid out from the plain-text files in DOCUMENTS_DIR, so a change
// to a tolerance is a one-line text edit and the build redraws the sheet. All randomness
// comes from integer hashes with fixed seeds, so two runs give the same pictures. The seabed
// comes from Terrain.h, the icon, banner, logos and signs from Marks.h, the gyro pictures from
// GyroDiagrams.h, the requirement sheets from SheetText.h, and the equipment sheets and
// drawings from ReferenceDocuments.h.

#include "assets/AssetPainting.h"
#include "assets/GyroDiagrams.h"
#include "assets/Marks.h"
#include "assets/ReferenceDocuments.h"
#include "assets/SheetText.h"
#include "assets/Terrain.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHashFunctions>
#include <QImage>

#include <cstdio>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

void Save(const QImage& image, const QDir& out, const char* name) {
    const QString path = out.filePath(QString::fromLatin1(name));
    if (!image.save(path, "PNG")) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}

} // namespace

int main(int argc, char* argv[]) {
    using namespace assets;
    // The PDF writer keeps its fonts in a hash; a fixed seed fixes their order in the file.
    QHashSeed::setDeterministicGlobalSeed();
    QGuiApplication app(argc, argv);
    // The windows' Tahoma comes with fonts-wine, outside fontconfig's path. Only the regular face,
    // as the suite loads it: the pictures' bold is the emboldened regular face, like the labels'.
    QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: tormalind-make-assets OUTPUT_DIR DOCUMENTS_DIR\n");
        return 2;
    }
    try {
        const QDir out(args[1]);
        const QDir documents(args[2]);
        if (!QDir().mkpath(out.path())) {
            throw std::runtime_error("cannot create " + out.path().toStdString());
        }

        const QImage seabed = DrawSeabed(SurveyDepths(694, 501));
        Save(seabed, out, "seabed.png");
        Save(DrawIcon(seabed), out, "icon.png");
        // The desktop's menu and task bar pick their size from the icon theme's folders.
        for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
            const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
            if (!out.mkpath(folder)) {
                throw std::runtime_error("cannot create " + out.filePath(folder).toStdString());
            }
            Save(DrawIcon(seabed, size), QDir(out.filePath(folder)), "tormalind-utility.png");
        }
        Save(DrawBanner(), out, "banner.png");
        Save(DrawMakerLogo(), out, "maker_logo.png");
        Save(DrawIhoMark(), out, "logo_iho.png");
        Save(DrawNordicFlags(), out, "flags_fsis.png");
        Save(DrawLinzBadge(), out, "logo_linz.png");
        Save(DrawDutchFlag(), out, "flag_nl.png");
        Save(DrawWindfarmWordMark(), out, "logo_orsted.png");
        Save(DrawFormulaRoot(), out, "formula_root.png");
        Save(DrawScrollArrow(), out, "scroll_arrow.png");
        Save(DrawGyroDiagram(), out, "gyro_diagram.png");
        Save(DrawGyroEarth(), out, "gyro_earth.png");
        Save(DrawVehicleFront(), out, "vehicle_front.png");
        Save(DrawRoadworksSign(), out, "roadworks.png");
        Save(DrawSheetPicture(ReadSheet(documents.filePath(QStringLiteral("linz_special.txt"))), 562, 886), out,
             "linz_table.png");

        std::vector<std::pair<Sheet, QString>> sheets;
        for (const char* name : {"order_iho_special", "order_iho_1a", "order_iho_1b", "order_iho_2", "order_fsis44",
                                 "order_nl_a", "order_nl_b"}) {
            const QString base = QString::fromLatin1(name);
            sheets.emplace_back(ReadSheet(documents.filePath(base + QStringLiteral(".txt"))),
                                out.filePath(base + QStringLiteral(".pdf")));
        }
        // One body size for the whole set, from 11 pt down to 8 pt.
        WriteSheetPdfs(sheets, OrderPage(), 11, 8);
        WriteReferenceDocuments(out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tormalind-make-assets: %s\n", e.what());
        return 1;
    }
    return 0;
}
