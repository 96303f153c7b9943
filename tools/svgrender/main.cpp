// svgrender: renders one SVG file into a PNG image with a transparent background,
// antialiased, at the SVG's own size or at a given width and height.
// Runs at build time without a display (offscreen platform), single-threaded.
//
// Usage: svgrender <in.svg> <out.png> [width height]

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

#include <cstdio>

namespace {

constexpr int maxSide = 4096;

int fail(const QString &message)
{
    std::fprintf(stderr, "svgrender: %s\n", qPrintable(message));
    return 1;
}

// A positive pixel count no larger than maxSide, or 0.
int parseSide(const char *arg)
{
    bool ok = false;
    const int value = QString::fromLocal8Bit(arg).toInt(&ok);
    return ok && value > 0 && value <= maxSide ? value : 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: svgrender <in.svg> <out.png> [width height]\n");
        return 2;
    }
    // No display is needed to paint into an image; a build machine has none.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);

    QSvgRenderer renderer(input);
    if (!renderer.isValid())
        return fail(QStringLiteral("cannot read SVG %1").arg(input));

    QSize size = renderer.defaultSize();
    if (argc == 5) {
        size = QSize(parseSide(argv[3]), parseSide(argv[4]));
        if (size.isEmpty())
            return fail(
                QStringLiteral("width and height must be whole numbers from 1 to %1").arg(maxSide));
    } else if (size.isEmpty() || size.width() > maxSide || size.height() > maxSide) {
        return fail(
            QStringLiteral("%1 gives no usable size: set width and height in the SVG").arg(input));
    }

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }

    // Written through a temporary file, so a failed run never leaves a half image that
    // the build would take as up to date.
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(output, file.errorString()));
    return 0;
}
