// qxo-artgen: draws every picture of the product into a folder.
//
//   qxo-artgen <outdir> [--sheet <file>]
//
// Every window and control picture comes with its @2x variant for screens of twice the density; the
// contact sheet shows the 1x pictures. The output is deterministic: running it again gives
// byte-identical files, which the tests check against the committed pictures in art/.
#include "Pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <exception>

int main(int argc, char **argv)
{
    // Drawing needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QCoreApplication::arguments().mid(1);
    QString outDir;
    QString sheetPath;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--sheet") && i + 1 < args.size())
            sheetPath = args[++i];
        else if (outDir.isEmpty() && !args[i].startsWith(QLatin1Char('-')))
            outDir = args[i];
        else {
            std::fprintf(stderr, "usage: qxo-artgen <outdir> [--sheet <file>]\n");
            return 2;
        }
    }
    if (outDir.isEmpty()) {
        std::fprintf(stderr, "usage: qxo-artgen <outdir> [--sheet <file>]\n");
        return 2;
    }
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "qxo-artgen: cannot create %s\n", qPrintable(outDir));
        return 1;
    }

    try {
        const std::vector<artgen::NamedPicture> pictures = artgen::allPictures();
        for (const auto &list : {pictures, artgen::doubleDensityPictures()}) {
            for (const artgen::NamedPicture &picture : list) {
                const QString path = QDir(outDir).filePath(picture.name);
                if (!picture.image.save(path, "PNG")) {
                    std::fprintf(stderr, "qxo-artgen: cannot write %s\n", qPrintable(path));
                    return 1;
                }
            }
        }
        if (!sheetPath.isEmpty() && !artgen::contactSheet(pictures).save(sheetPath, "PNG")) {
            std::fprintf(stderr, "qxo-artgen: cannot write %s\n", qPrintable(sheetPath));
            return 1;
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "qxo-artgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
