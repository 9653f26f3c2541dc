#pragma once
// The pictures of the skin by name ("L1_BackGround", "SetS_02", ...). Pictures
// are decoded on first use and kept, so the five page groups share one decoded
// copy of every picture and pictures never shown are never decoded.
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

namespace korvex48::gui {

class Skin {
 public:
  // Where the PNG bytes of a picture come from: `name` without ".png"; an empty
  // span when the picture does not exist. The default source is the pictures
  // embedded in the program.
  using Source = std::function<std::span<const std::uint8_t>(std::string_view name)>;

  Skin();
  explicit Skin(Source source);

  // True when a picture of that name exists and decodes.
  bool Has(const QString& name) const;

  // The decoded picture; a neutral placeholder (and a warning on stderr, once
  // per name) when it is missing or broken, so a missing artwork file shows
  // up on screen instead of ending the program.
  const QPixmap& Pixmap(const QString& name) const;
  QImage Image(const QString& name) const;

  // The picture's size without decoding its pixels (the placeholder's size
  // when it is missing).
  QSize Size(const QString& name) const;

  // How many pictures were decoded so far (start-up cost is kept low).
  int DecodedCount() const { return decoded_; }

 private:
  Source source_;
  mutable QHash<QString, QPixmap> pixmaps_;
  mutable QHash<QString, QSize> sizes_;
  mutable int decoded_ = 0;
};

// The embedded PNG of `name` (without ".png").
std::span<const std::uint8_t> EmbeddedPicture(std::string_view name);

}  // namespace korvex48::gui
