// Writes the application icon for the desktop entry: tessalyn-icon <file.png>
#include "shell/Icons.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessalyn-icon <file.png>\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    if (!ApplicationImage(256).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "tessalyn-icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
