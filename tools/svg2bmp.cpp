// Renders an SVG picture to a Windows bitmap of the given size.
//   svg2bmp in.svg out.bmp width height
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <stdlib.h>

namespace {

// Qt wants a private runtime folder; build machines often have none. One made for
// this run keeps the build quiet, and goes when the run ends.
struct RuntimeFolder {
    std::string path;
    RuntimeFolder()
    {
        if (std::getenv("XDG_RUNTIME_DIR") != nullptr)
            return;
        std::string pattern = (std::filesystem::temp_directory_path() / "svg2bmp-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            return;
        path = pattern;
        setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
    }
    ~RuntimeFolder()
    {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
};

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: svg2bmp in.svg out.bmp width height\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const RuntimeFolder runtime;
    QGuiApplication app(argc, argv);

    const int width = std::atoi(argv[3]);
    const int height = std::atoi(argv[4]);
    if (width <= 0 || height <= 0) {
        std::fprintf(stderr, "svg2bmp: bad size %s x %s\n", argv[3], argv[4]);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "svg2bmp: cannot read %s\n", argv[1]);
        return 1;
    }
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.setAspectRatioMode(Qt::KeepAspectRatio);
        renderer.render(&painter, QRectF(0, 0, width, height));
    }
    if (!image.convertToFormat(QImage::Format_RGB888)
             .save(QString::fromLocal8Bit(argv[2]), "BMP")) {
        std::fprintf(stderr, "svg2bmp: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
