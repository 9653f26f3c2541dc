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
    for (const QString& name : names) images.insert(name, DecodePng(source(name.toStdString())));
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
  if (image.isNull()) image = DecodePng(source_(name.toStdString()));
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

QImage Skin::Image(const QString& name) const { return Pixmap(name).toImage(); }

}  // namespace korvex48::gui
