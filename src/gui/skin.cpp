#include "gui/skin.h"

#include <QPainter>
#include <cstdio>
#include <string>

#include "gui/png_decode.h"

std::span<const std::uint8_t> korvex48_gui_picture(std::string_view name);

namespace korvex48::gui {
namespace {

// A size that makes a missing picture visible without covering the window.
QSize PlaceholderSize(const QString& name) {
  if (name.endsWith(QLatin1String("BackGround"))) return {800, 600};
  if (name.contains(QLatin1String("_Back")) || name == QLatin1String("Update")) return {587, 377};
  if (name.startsWith(QLatin1String("SetS"))) return {120, 30};
  if (name.startsWith(QLatin1String("BtnS")) || name.startsWith(QLatin1String("KeyS")))
    return {90, 26};
  return {20, 20};
}

// Key-coloured pixels of an opaque picture become fully transparent. Only
// opaque files carry the key, and they decode to RGB32, whose bytes are
// already those of an opaque premultiplied ARGB32 picture.
QImage KeyToAlpha(QImage image) {
  if (image.format() != QImage::Format_RGB32) return image;
  constexpr QRgb kKey = qRgb(128, 0, 0);
  bool keyed = false;
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (row[x] == kKey) {
        row[x] = 0;
        keyed = true;
      }
  }
  if (keyed) image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
  return image;
}

QString TwinName(const QString& name) { return name + QLatin1String("@2x"); }

QPixmap Placeholder(const QString& name) {
  QPixmap pixmap(PlaceholderSize(name));
  pixmap.fill(QColor(40, 42, 48));
  QPainter painter(&pixmap);
  painter.setPen(QColor(90, 92, 100));
  painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
  return pixmap;
}

}  // namespace

std::span<const std::uint8_t> EmbeddedPicture(std::string_view name) {
  return korvex48_gui_picture(std::string(name) + ".png");
}

const Skin& EmbeddedSkin() {
  static const Skin skin;
  return skin;
}

Skin::Skin() : Skin(EmbeddedPicture) {}
Skin::Skin(Source source) : source_(std::move(source)) {}

void Skin::DecodeAhead(const QStringList& names) const {
  ahead_ = std::async(std::launch::async, [source = source_, names] {
    QHash<QString, QImage> images;
    for (const QString& name : names)
      images.insert(name, KeyToAlpha(DecodePng(source(name.toStdString()))));
    return images;
  });
}

QImage Skin::TakeDecodedAhead(const QString& name) const {
  if (ahead_.valid()) decoded_ahead_ = ahead_.get();
  return decoded_ahead_.take(name);
}

bool Skin::Has(const QString& name) const {
  auto it = sizes_.constFind(name);
  if (it == sizes_.cend()) it = sizes_.insert(name, PngSize(source_(name.toStdString())));
  return it->isValid();
}

QSize Skin::Size(const QString& name) const {
  if (auto it = pixmaps_.constFind(name); it != pixmaps_.cend()) return it->size();
  return Has(name) ? sizes_.value(name) : PlaceholderSize(name);
}

const QPixmap& Skin::Pixmap(const QString& name) const {
  if (auto it = pixmaps_.constFind(name); it != pixmaps_.cend()) return *it;
  QImage image = TakeDecodedAhead(name);
  if (image.isNull()) image = KeyToAlpha(DecodePng(source_(name.toStdString())));
  QPixmap pixmap;
  if (image.isNull()) {
    std::fprintf(stderr, "korvex48: picture \"%s\" is missing or broken\n",
                 name.toUtf8().constData());
    pixmap = Placeholder(name);
  } else {
    pixmap = QPixmap::fromImage(std::move(image));
    ++decoded_;
  }
  return *pixmaps_.insert(name, pixmap);
}

const QPixmap& Skin::Pixmap(const QString& name, qreal device_pixel_ratio) const {
  if (device_pixel_ratio <= 1.0) return Pixmap(name);
  const QString twin = TwinName(name);
  if (auto it = pixmaps_.constFind(twin); it != pixmaps_.cend()) return *it;
  // A twin that is missing or not twice the size is never used: the 1x
  // picture scaled up is still the right picture.
  if (!Has(twin) || sizes_.value(twin) != Size(name) * 2) return Pixmap(name);
  QImage image = KeyToAlpha(DecodePng(source_(twin.toStdString())));
  if (image.isNull()) return Pixmap(name);
  QPixmap pixmap = QPixmap::fromImage(std::move(image));
  pixmap.setDevicePixelRatio(2.0);
  ++decoded_;
  return *pixmaps_.insert(twin, pixmap);
}

QImage Skin::Image(const QString& name) const { return Pixmap(name).toImage(); }

QBitmap Skin::Shape(const QString& name) const {
  if (!Has(name)) return {};
  const QImage image = Image(name);
  if (!image.hasAlphaChannel()) {  // unshaped: all of it
    QBitmap all(image.size());
    all.fill(Qt::color1);
    return all;
  }
  return QBitmap::fromImage(image.createAlphaMask(Qt::ThresholdAlphaDither));
}

}  // namespace korvex48::gui
