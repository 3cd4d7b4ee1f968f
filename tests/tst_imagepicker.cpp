#include "generation/ImagePicker.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtTest>
#include <zlib.h>

using namespace vornel;

namespace {

QByteArray pngChunk(const char* type, const QByteArray& data)
{
    QByteArray chunk;
    const quint32 length = quint32(data.size());
    chunk.append(char(length >> 24))
        .append(char(length >> 16))
        .append(char(length >> 8))
        .append(char(length));
    const QByteArray body = QByteArray(type, 4) + data;
    chunk.append(body);
    const quint32 crc =
        quint32(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size())));
    chunk.append(char(crc >> 24)).append(char(crc >> 16)).append(char(crc >> 8)).append(char(crc));
    return chunk;
}

// A valid PNG header that claims 30000x30000 pixels, followed by one tiny
// image chunk: decoding it would need 3.6 GB.
QByteArray hugePng()
{
    QByteArray ihdr;
    for (quint32 v : {30000u, 30000u}) {
        ihdr.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
    }
    ihdr.append(char(8)).append(char(6)).append(char(0)).append(char(0)).append(char(0));
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", ihdr) +
           pngChunk("IDAT", QByteArray("\x78\x9c\x03\x00\x00\x00\x00\x01", 8)) +
           pngChunk("IEND", {});
}

// Two frames of 2x1 pixels: red, then blue.
QByteArray animatedGif()
{
    QByteArray g("GIF89a", 6);
    g.append("\x02\x00\x01\x00\xf1\x00\x00", 7); // 2x1, global table of 4 colours
    g.append("\xff\x00\x00\x00\x00\xff\x00\x00\x00\x00\x00\x00", 12);
    g.append("\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    for (const char* data : {"\x02\x04\x0a\x00", "\x02\x4c\x0a\x00"}) {
        g.append("\x21\xf9\x04\x00\x0a\x00\x00\x00", 8); // 0.1 s a frame
        g.append("\x2c\x00\x00\x00\x00\x02\x00\x01\x00\x00", 10);
        g.append("\x02", 1);
        g.append(data, 4);
    }
    g.append(";");
    return g;
}

QByteArray encoded(const QImage& image, const char* format, int transformation = 0)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (transformation)
        writer.setTransformation(QImageIOHandler::Transformations(transformation));
    writer.write(image);
    return bytes;
}

QImage pattern(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 128));
    return image;
}

} // namespace

class TestImagePicker : public QObject {
    Q_OBJECT
private slots:
    // The coordinator assigns only the edited image and always closes.
    void coordinatorContract_data()
    {
        QTest::addColumn<QVariantMap>("info");
        QTest::addColumn<bool>("assigned");
        const QImage edited = pattern(10, 10);
        const QImage original = pattern(20, 10);
        QTest::newRow("edited and original")
            << QVariantMap{{kEditedImageKey, edited}, {kOriginalImageKey, original}} << true;
        QTest::newRow("only the original") << QVariantMap{{kOriginalImageKey, original}} << false;
        QTest::newRow("empty information") << QVariantMap{} << false;
        QTest::newRow("edited entry that is no image")
            << QVariantMap{{kEditedImageKey, "picture.png"}} << false;
    }
    void coordinatorContract()
    {
        QFETCH(QVariantMap, info);
        QFETCH(bool, assigned);
        QImage selected; // the home screen starts with an empty image
        int dismissed = 0;
        Coordinator coordinator(ImagePicker(
            ImagePicker::SourceType::photoLibrary, [&](const QImage& i) { selected = i; },
            [&] { ++dismissed; }));
        coordinator.didFinishPickingMedia(info);
        QCOMPARE(dismissed, 1);
        QCOMPARE(!selected.isNull(), assigned);
        if (assigned)
            QCOMPARE(selected.size(), QSize(10, 10)); // the edited one, not the original
    }

    void badFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray png = encoded(pattern(64, 64), "png");
        QTest::newRow("empty") << QByteArray() << "The file is empty.";
        QTest::newRow("text") << QByteArray("hello, this is not a picture")
                              << "This file is not a picture Vornel can open.";
        QTest::newRow("truncated png")
            << png.left(png.size() / 2) << "This picture is damaged or incomplete.";
        QTest::newRow("30000x30000 png") << hugePng() << "This picture is too large to open.";
    }
    void badFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("picked");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        const LoadedPhoto loaded = loadPhoto(path);
        QVERIFY(loaded.image.isNull());
        QCOMPARE(loaded.error, message);
    }

    void unreadableFile()
    {
        QCOMPARE(loadPhoto(QStringLiteral("/nonexistent/photo.jpg")).error,
                 "The file could not be read.");
        QTemporaryDir dir;
        QCOMPARE(loadPhoto(dir.path()).error, "The file could not be read."); // a folder
    }

    void goodFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        QTest::newRow("png") << encoded(pattern(40, 30), "png") << QSize(40, 30);
        QTest::newRow("jpeg") << encoded(pattern(40, 30), "jpeg") << QSize(40, 30);
        QTest::newRow("webp") << encoded(pattern(40, 30), "webp") << QSize(40, 30);
        QTest::newRow("jpeg turned by EXIF")
            << encoded(pattern(40, 30), "jpeg", QImageIOHandler::TransformationRotate90)
            << QSize(30, 40);
        QTest::newRow("animated gif: first frame") << animatedGif() << QSize(2, 1);
    }
    void goodFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QVERIFY(!bytes.isEmpty());
        const LoadedPhoto loaded = loadPhoto(bytes);
        QVERIFY2(!loaded.image.isNull(), qPrintable(loaded.error));
        QCOMPARE(loaded.image.size(), size);
        if (QTest::currentDataTag() == QLatin1String("animated gif: first frame"))
            QCOMPARE(loaded.image.pixelColor(0, 0), QColor(Qt::red));
    }

    void cropping_data()
    {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<QRectF>("crop");
        QTest::addColumn<QSize>("result");
        QTest::addColumn<QPoint>("origin"); // where the crop's top-left pixel came from
        QTest::newRow("centred square of a landscape")
            << QSize(400, 200) << centredSquare(QSize(400, 200)) << QSize(200, 200)
            << QPoint(100, 0);
        QTest::newRow("panned past the edge is moved inside")
            << QSize(400, 200) << QRectF(350, -20, 100, 100) << QSize(100, 100) << QPoint(300, 0);
        QTest::newRow("larger than the image shrinks")
            << QSize(300, 200) << QRectF(0, 0, 500, 500) << QSize(200, 200) << QPoint(0, 0);
        QTest::newRow("big photo scaled to 1080")
            << QSize(3000, 2000) << QRectF(0, 0, 2000, 2000) << QSize(1080, 1080) << QPoint(0, 0);
    }
    void cropping()
    {
        QFETCH(QSize, source);
        QFETCH(QRectF, crop);
        QFETCH(QSize, result);
        QFETCH(QPoint, origin);
        const QImage image = pattern(source.width(), source.height());
        const QImage square = cropToSquare(image, crop);
        QCOMPARE(square.size(), result);
        if (result.width() < 1080)
            QCOMPARE(square.pixel(0, 0), image.pixel(origin));
        QVERIFY(cropToSquare(QImage(), crop).isNull());
    }
};

QTEST_MAIN(TestImagePicker)
#include "tst_imagepicker.moc"
