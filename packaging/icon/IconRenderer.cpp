// Renders the program's SVG icon for the installed program: a square PNG of one size for the
// icon theme folders of Linux, or a Windows icon file holding several sizes.
//     icon-renderer <icon.svg> <size> <out.png>
//     icon-renderer <icon.svg> <out.ico> <size>...
#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cstdio>

namespace {

QImage render(QSvgRenderer& renderer, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return image;
}

QByteArray png(const QImage& image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

// An .ico file whose images are PNG streams (read by Windows since Vista): the directory of
// 16-byte entries, then the images in the same order. A size of 256 is written as 0.
bool writeIco(QSvgRenderer& renderer, const QList<int>& sizes, const QString& path)
{
    QList<QByteArray> images;
    for (int size : sizes)
        images.append(png(render(renderer, size)));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(sizes.size());
    quint32 offset = 6 + 16 * sizes.size();
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const auto side = quint8(sizes[i] >= 256 ? 0 : sizes[i]);
        out << side << side << quint8(0) << quint8(0) << quint16(1) << quint16(32)
            << quint32(images[i].size()) << offset;
        offset += images[i].size();
    }
    for (const QByteArray& image : std::as_const(images))
        out.writeRawData(image.constData(), int(image.size()));
    return out.status() == QDataStream::Ok && file.flush();
}

} // namespace

int main(int argc, char* argv[])
{
    const bool ico = argc >= 4 && QByteArray(argv[2]).endsWith(".ico");
    if (argc < 4 || (!ico && argc != 4)) {
        std::fprintf(stderr, "usage: %s <icon.svg> <size> <out.png>\n"
                             "       %s <icon.svg> <out.ico> <size>...\n", argv[0], argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    QList<int> sizes;
    for (int i = ico ? 3 : 2; i < (ico ? argc : 3); ++i)
        sizes.append(QByteArray(argv[i]).toInt());
    // An icon file holds images of up to 256 pixels.
    const int largest = ico ? 256 : 4096;
    if (!renderer.isValid() ||
        std::any_of(sizes.cbegin(), sizes.cend(),
                    [largest](int size) { return size <= 0 || size > largest; })) {
        std::fprintf(stderr, "cannot render %s at those sizes\n", argv[1]);
        return 1;
    }
    if (ico)
        return writeIco(renderer, sizes, QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    return render(renderer, sizes.first()).save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}
