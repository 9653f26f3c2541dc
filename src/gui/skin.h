#pragma once
// The pictures of the skin by name ("L1_BackGround", "SetS_02", ...). Pictures
// are decoded on first use and kept, so the five page groups share one decoded
// copy of every picture and pictures never shown are never decoded.
//
// Shaped pictures (window and dialog backgrounds, busy frames) carry the key
// colour red 128, green 0, blue 0 outside their shape. The skin hands them out
// with those pixels fully transparent, so a window drawn with alpha shows its
// shape on every display server (a window mask shapes input only on Wayland),
// and Shape() gives the matching mask for the servers that cut windows by it.
//
// A picture NAME may have a twin NAME@2x of exactly twice the size, drawn
// from the same artwork for screens with a device pixel ratio above 1.
#include <QBitmap>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <future>
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
  // The picture for a device pixel ratio: above 1, the @2x twin when it
  // exists (decoded at its first use, with device pixel ratio 2, so it is
  // drawn at the 1x picture's size), else the 1x picture.
  const QPixmap& Pixmap(const QString& name, qreal device_pixel_ratio) const;
  QImage Image(const QString& name) const;
  // The opaque pixels of the 1x picture (everything but the key colour's
  // place); an empty bitmap when the picture is missing.
  QBitmap Shape(const QString& name) const;

  // The picture's size without decoding its pixels (the placeholder's size
  // when it is missing).
  QSize Size(const QString& name) const;

  // How many pictures were decoded so far (start-up cost is kept low).
  int DecodedCount() const { return decoded_; }

  // Starts decoding `names` on a thread of their own, so that the pictures
  // the first paint needs are decoded while the toolkit connects to the
  // display; Pixmap() of one of them waits for that thread. Call it at most
  // once, before the first Pixmap() of those names; it needs no application
  // object. The source must be safe to call from another thread (the
  // embedded one is).
  void DecodeAhead(const QStringList& names) const;

 private:
  // The picture decoded ahead for `name`, or a null image when it was not
  // asked for ahead (or did not decode).
  QImage TakeDecodedAhead(const QString& name) const;

  Source source_;
  mutable std::future<QHash<QString, QImage>> ahead_;
  mutable QHash<QString, QImage> decoded_ahead_;
  mutable QHash<QString, QPixmap> pixmaps_;
  mutable QHash<QString, QSize> sizes_;
  mutable int decoded_ = 0;
};

// The embedded PNG of `name` (without ".png").
std::span<const std::uint8_t> EmbeddedPicture(std::string_view name);

// The skin of the embedded pictures, one per process.
const Skin& EmbeddedSkin();

}  // namespace korvex48::gui
