// Draws an SVG picture as a square PNG of the given size, on a transparent
// background: the program's icon at the sizes desktops look for.
//
//   render_icon <picture.svg> <size> <picture.png>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv) {
    // Runs during the build, where there may be no display, nor a runtime
    // folder, whose absence the platform's start-up warns about.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    bool sizeOk = false;
    const int size = args.value(2).toInt(&sizeOk);
    if (args.size() != 4 || !sizeOk || size <= 0) {
        std::fprintf(stderr, "usage: render_icon <picture.svg> <size> <picture.png>\n");
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_icon: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    if (!image.save(args.at(3), "PNG")) {
        std::fprintf(stderr, "render_icon: cannot write %s\n", qPrintable(args.at(3)));
        return 1;
    }
    return 0;
}
