// Build-time helper: renders SVG template sources to the PNG assets the app
// ships, so a generation sends a template without encoding it.
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: vornel-rasterize IN.svg OUT.png\n");
        return 2;
    }
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    const QImage image = reader.read();
    if (image.isNull() ||
        !image.convertToFormat(QImage::Format_RGB32).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "vornel-rasterize: %s: %s\n", argv[1],
                     qPrintable(reader.errorString()));
        return 1;
    }
    return 0;
}
