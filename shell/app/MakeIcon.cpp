// Writes the application icon for the desktop in every size of the icon
// theme: tessalyn-icon <folder> makes <folder>/<N>x<N>/apps/tessalyn.png.
#include "shell/Icons.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessalyn-icon <folder>\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (const int size : ApplicationIconSizes) {
        const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QString file = apps + QStringLiteral("/tessalyn.png");
        if (!QDir().mkpath(apps) || !ApplicationImage(size).save(file, "PNG")) {
            std::fprintf(stderr, "tessalyn-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
