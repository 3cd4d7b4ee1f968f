#include "generation/PngEncoding.h"

#include <QtTest>

using namespace vornel;

class TestPngEncoding : public QObject {
    Q_OBJECT
private slots:
    // Lossless for every layout the picker or the assets may hand over,
    // including widths whose rows QImage pads.
    void losslessRoundTrip_data()
    {
        QTest::addColumn<QImage>("image");
        auto pattern = [](QImage image) {
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    image.setPixelColor(x, y,
                                        QColor((x * 37) % 256, (y * 91) % 256, (x * y) % 256,
                                               image.hasAlphaChannel() ? (x + y * 7) % 256 : 255));
            return image;
        };
        QTest::newRow("rgb32 odd width") << pattern(QImage(33, 7, QImage::Format_RGB32));
        QTest::newRow("argb32 with alpha") << pattern(QImage(17, 5, QImage::Format_ARGB32));
        QTest::newRow("premultiplied")
            << pattern(QImage(8, 8, QImage::Format_ARGB32_Premultiplied));
        QTest::newRow("rgb888 1x1") << pattern(QImage(1, 1, QImage::Format_RGB888));
        QTest::newRow("grayscale") << pattern(QImage(9, 3, QImage::Format_Grayscale8));
    }
    void losslessRoundTrip()
    {
        QFETCH(QImage, image);
        const std::optional<QByteArray> png = encodePng(image);
        QVERIFY(png);
        QVERIFY(png->startsWith("\x89PNG\r\n\x1a\n"));
        const QImage back = QImage::fromData(*png, "png");
        QCOMPARE(back.size(), image.size());
        const QImage::Format f =
            image.hasAlphaChannel() ? QImage::Format_RGBA8888 : QImage::Format_RGB888;
        QCOMPARE(back.convertToFormat(f), image.convertToFormat(f));
    }

    void nullImageIsRefused()
    {
        QVERIFY(!encodePng(QImage()));
        QVERIFY(!encodePngDefault(QImage()));
    }
};

QTEST_GUILESS_MAIN(TestPngEncoding)
#include "tst_pngencoding.moc"
