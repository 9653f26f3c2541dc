// Decoding of the skin pictures and the lazy, shared picture cache.
#include "gui/skin.h"

#include <QBuffer>
#include <QDir>
#include <QtTest>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "gui/main_window.h"
#include "gui/png_decode.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

std::vector<std::uint8_t> EncodePng(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return {bytes.begin(), bytes.end()};
}

// A 3 x 2 picture with the key colour and plain colours; with `alpha` a
// half-transparent pixel too, so the PNG gets an alpha channel.
QImage Fixture(bool alpha = true) {
  QImage image(3, 2, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  image.setPixel(0, 0, qRgb(128, 0, 0));
  image.setPixel(1, 0, alpha ? qRgba(0, 200, 255, 128) : qRgb(0, 200, 255));
  image.setPixel(2, 0, qRgb(255, 255, 255));
  image.setPixel(0, 1, qRgb(0, 0, 0));
  image.setPixel(1, 1, qRgb(1, 2, 3));
  image.setPixel(2, 1, qRgb(200, 100, 50));
  return image;
}

}  // namespace

class SkinTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // Opaque files decode to RGB32 and files with alpha to premultiplied ARGB32,
  // the formats a QPixmap keeps as they are; the channels must not be swapped.
  void decodesPixelsExactly_data() {
    QTest::addColumn<bool>("alpha");
    QTest::addColumn<int>("format");
    QTest::newRow("opaque") << false << int(QImage::Format_RGB32);
    QTest::newRow("alpha") << true << int(QImage::Format_ARGB32_Premultiplied);
  }
  void decodesPixelsExactly() {
    QFETCH(bool, alpha);
    QFETCH(int, format);
    const QImage expected = Fixture(alpha);
    const std::vector<std::uint8_t> png = EncodePng(expected);
    const QImage decoded = DecodePng(png);
    QCOMPARE(decoded.size(), QSize(3, 2));
    QCOMPARE(int(decoded.format()), format);
    QCOMPARE(PngSize(png), QSize(3, 2));
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) {
        if (qAlpha(expected.pixel(x, y)) == 255)
          QCOMPARE(decoded.pixel(x, y), expected.pixel(x, y));
        else
          QVERIFY(qAbs(qAlpha(decoded.pixel(x, y)) - 128) <= 1);
      }
    // The key colour survives exactly, so the window mask finds it.
    QCOMPARE(decoded.pixel(0, 0), qRgb(128, 0, 0));
  }

  void refusesBrokenBytes_data() {
    QTest::addColumn<int>("keep");
    QTest::newRow("empty") << 0;
    QTest::newRow("signature only") << 8;
    QTest::newRow("truncated data") << -20;
  }
  void refusesBrokenBytes() {
    QFETCH(int, keep);
    std::vector<std::uint8_t> bytes = EncodePng(Fixture());
    bytes.resize(keep >= 0 ? keep : bytes.size() + keep);
    QVERIFY(DecodePng(bytes).isNull());
    if (keep >= 0 && keep < 33) QVERIFY(!PngSize(bytes).isValid());
  }

  void decodesLazilyAndShares() {
    const std::vector<std::uint8_t> png = EncodePng(Fixture());
    std::map<std::string, int> reads;
    Skin skin([&](std::string_view name) -> std::span<const std::uint8_t> {
      ++reads[std::string(name)];
      if (name == "Pic") return png;
      return {};
    });
    QCOMPARE(skin.Size(QStringLiteral("Pic")), QSize(3, 2));
    QCOMPARE(skin.DecodedCount(), 0);
    const QPixmap first = skin.Pixmap(QStringLiteral("Pic"));
    const QPixmap second = skin.Pixmap(QStringLiteral("Pic"));
    QCOMPARE(skin.DecodedCount(), 1);
    QCOMPARE(first.cacheKey(), second.cacheKey());
    // A missing picture is a visible placeholder, not a crash.
    QVERIFY(!skin.Has(QStringLiteral("Nope")));
    QVERIFY(!skin.Pixmap(QStringLiteral("Nope")).isNull());
    QCOMPARE(skin.DecodedCount(), 1);
  }

  // Pictures decoded ahead come from the worker, once, and are the same as
  // decoded on the spot; a name that does not decode ahead still gets its
  // placeholder, and a name not asked for ahead is decoded as usual.
  void decodesAheadOnAnotherThread() {
    const QImage file = Fixture(false);
    const std::vector<std::uint8_t> png = EncodePng(file);
    // As the skin hands it out: the key-coloured pixel fully transparent.
    QImage expected = file.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    expected.setPixel(0, 0, 0);
    std::mutex mutex;
    std::map<std::string, std::vector<std::thread::id>> reads;
    Skin skin([&](std::string_view name) -> std::span<const std::uint8_t> {
      const std::lock_guard lock(mutex);
      reads[std::string(name)].push_back(std::this_thread::get_id());
      if (name == "Pic" || name == "Other") return png;
      return {};
    });
    skin.DecodeAhead({QStringLiteral("Pic"), QStringLiteral("Nope")});
    QCOMPARE(skin.Image(QStringLiteral("Pic")), expected);
    QVERIFY(!skin.Pixmap(QStringLiteral("Nope")).isNull());
    QCOMPARE(skin.Image(QStringLiteral("Other")), expected);
    QCOMPARE(skin.DecodedCount(), 2);
    const std::lock_guard lock(mutex);
    QCOMPARE(reads["Pic"].size(), std::size_t{1});
    QVERIFY(reads["Pic"][0] != std::this_thread::get_id());
    QCOMPARE(reads["Other"].size(), std::size_t{1});
  }

  // Opaque pictures lose exactly their key-coloured pixels, which the shape
  // leaves out too; pictures with their own alpha are drawn as they are.
  void keyColourIsSeeThrough_data() {
    QTest::addColumn<bool>("alpha");
    QTest::newRow("opaque file") << false;
    QTest::newRow("file with alpha") << true;
  }
  void keyColourIsSeeThrough() {
    QFETCH(bool, alpha);
    const QImage file = Fixture(alpha);
    const std::vector<std::uint8_t> png = EncodePng(file);
    Skin skin([&](std::string_view name) -> std::span<const std::uint8_t> {
      if (name == "Pic") return png;
      return {};
    });
    const QImage drawn = skin.Image(QStringLiteral("Pic"));
    const QBitmap shape = skin.Shape(QStringLiteral("Pic"));
    QVERIFY(drawn.hasAlphaChannel());
    const QImage shape_image = shape.toImage();
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) {
        const bool cut = !alpha && x == 0 && y == 0;
        const QRgb pixel = drawn.pixel(x, y);
        if (cut)
          QCOMPARE(pixel, QRgb(0));
        else if (qAlpha(file.pixel(x, y)) == 255)
          QCOMPARE(pixel, file.pixel(x, y));
        QCOMPARE(shape_image.pixelIndex(x, y) == Qt::color1,
                 !cut && qAlpha(file.pixel(x, y)) >= 128);
      }
    QVERIFY(skin.Shape(QStringLiteral("Nope")).isNull());
  }

  // Above device pixel ratio 1 a picture's @2x twin is drawn at the 1x size;
  // it is decoded only when asked for, and a twin that is missing or not
  // twice the size is never used.
  void twinForHighDensity_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QString>("twin");  // the bytes behind "Pic@2x"
    QTest::addColumn<bool>("used");
    QTest::newRow("1x screen") << qreal(1.0) << "double" << false;
    QTest::newRow("150 %") << qreal(1.5) << "double" << true;
    QTest::newRow("200 %") << qreal(2.0) << "double" << true;
    QTest::newRow("no twin") << qreal(2.0) << "none" << false;
    QTest::newRow("twin of the wrong size") << qreal(2.0) << "same" << false;
  }
  void twinForHighDensity() {
    QFETCH(qreal, ratio);
    QFETCH(QString, twin);
    QFETCH(bool, used);
    const std::vector<std::uint8_t> png = EncodePng(Fixture(false));
    const std::vector<std::uint8_t> doubled = EncodePng(Fixture(false).scaled(6, 4));
    std::map<std::string, int> reads;
    Skin skin([&](std::string_view name) -> std::span<const std::uint8_t> {
      ++reads[std::string(name)];
      if (name == "Pic") return png;
      if (name == "Pic@2x" && twin == QLatin1String("double")) return doubled;
      if (name == "Pic@2x" && twin == QLatin1String("same")) return png;
      return {};
    });
    const QPixmap& plain = skin.Pixmap(QStringLiteral("Pic"));
    QCOMPARE(skin.DecodedCount(), 1);
    const QPixmap& drawn = skin.Pixmap(QStringLiteral("Pic"), ratio);
    QCOMPARE(skin.DecodedCount(), used ? 2 : 1);
    QCOMPARE(drawn.cacheKey() == plain.cacheKey(), !used);
    QCOMPARE(drawn.deviceIndependentSize().toSize(), QSize(3, 2));
    QCOMPARE(drawn.devicePixelRatio(), used ? 2.0 : 1.0);
    if (used) QCOMPARE(qAlpha(drawn.toImage().pixel(1, 1)), 0);  // the key, doubled
    QCOMPARE(reads.count("Pic@2x") > 0, ratio > 1.0);
    skin.Pixmap(QStringLiteral("Pic"), ratio);
    QCOMPARE(skin.DecodedCount(), used ? 2 : 1);  // kept
  }

  // Every shipped picture has its twin for HiDPI screens: twice the size,
  // and where a shaped picture has the key colour, exactly the same shape.
  void everyPictureHasItsTwin() {
    const QDir dir(QStringLiteral(KORVEX48_SOURCE_DIR "/resources/pictures"));
    const QStringList files = dir.entryList({QStringLiteral("*.png")}, QDir::Files);
    int checked = 0;
    for (const QString& file : files) {
      if (file.endsWith(QLatin1String("@2x.png"))) continue;
      const std::string name = file.chopped(4).toStdString();
      const auto one = EmbeddedPicture(name);
      const auto two = EmbeddedPicture(name + "@2x");
      QVERIFY2(!two.empty(), qPrintable(file + QStringLiteral(": no @2x twin")));
      QCOMPARE(PngSize(two), PngSize(one) * 2);
      const QImage small = DecodePng(one);
      if (small.format() != QImage::Format_RGB32) continue;  // not shaped
      const QImage large = DecodePng(two);
      const QRgb key = qRgb(128, 0, 0);
      for (int y = 0; y < large.height(); ++y)
        for (int x = 0; x < large.width(); ++x)
          if ((large.pixel(x, y) == key) != (small.pixel(x / 2, y / 2) == key))
            QFAIL(qPrintable(QStringLiteral("%1@2x: the key colour at %2,%3 differs from 1x")
                                 .arg(file.chopped(4))
                                 .arg(x)
                                 .arg(y)));
      ++checked;
    }
    QVERIFY(checked > 0);
  }

  void embeddedPicturesDecode() {
    Skin skin;
    for (const char* name : {"L1_BackGround", "SetS_01", "SetS_02", "SetS_03", "KeyS_01", "BtnS_01",
                             "Update", "Col_F", "Bar2_E"})
      QVERIFY2(skin.Has(QLatin1String(name)), name);
    QCOMPARE(skin.Size(QStringLiteral("L1_BackGround")), QSize(800, 600));
    // Decoding ahead a picture the window does not show would only cost time.
    for (const QString& name : MainWindow::FirstPaintPictures())
      QVERIFY2(skin.Has(name), qPrintable(name));
  }
};

KORVEX48_GUI_TEST(SkinTest)

}  // namespace korvex48::gui

#include "skin_test.moc"
