// Decoding of the skin pictures and the lazy, shared picture cache.
#include "gui/skin.h"

#include <QBuffer>
#include <QtTest>
#include <map>
#include <vector>

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

// A 3 x 2 picture with the key colour, a half-transparent pixel and plain colours.
QImage Fixture() {
  QImage image(3, 2, QImage::Format_ARGB32);
  image.setPixel(0, 0, qRgb(128, 0, 0));
  image.setPixel(1, 0, qRgba(0, 200, 255, 128));
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
  void decodesPixelsExactly() {
    const QImage expected = Fixture();
    const QImage decoded = DecodePng(EncodePng(expected));
    QCOMPARE(decoded.size(), QSize(3, 2));
    QCOMPARE(PngSize(EncodePng(expected)), QSize(3, 2));
    const QImage a = decoded.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) {
        if (qAlpha(expected.pixel(x, y)) == 255)
          QCOMPARE(a.pixel(x, y), expected.pixel(x, y));
        else
          QVERIFY(qAbs(qAlpha(a.pixel(x, y)) - 128) <= 1);
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

  void embeddedPicturesDecode() {
    Skin skin;
    for (const char* name : {"L1_BackGround", "SetS_01", "SetS_02", "SetS_03", "KeyS_01", "BtnS_01",
                             "Update", "Col_F", "Bar2_E"})
      QVERIFY2(skin.Has(QLatin1String(name)), name);
    QCOMPARE(skin.Size(QStringLiteral("L1_BackGround")), QSize(800, 600));
  }
};

KORVEX48_GUI_TEST(SkinTest)

}  // namespace korvex48::gui

#include "skin_test.moc"
