#pragma once

#include <QString>
#include <cstdint>

#include "platform/codec/bitmap_header.h"

namespace vocapost {

// The picture decoded frames are drawn into (the Viewer's playback window).
class FrameView {
 public:
  virtual ~FrameView() = default;
  virtual int OuterWidthTwips() const = 0;
  virtual int OuterHeightTwips() const = 0;
  virtual void SizePictureTwips(int width, int height) = 0;
  // Draws a 24-bit bottom-up BGR picture stretched to width × height pixels.
  virtual void DrawPicture(const BitmapInfoHeader& format, const uint8_t* bgr,
                           int width, int height) = 0;
  // The window around the picture: its width, and the magnification label.
  virtual void SetWindowWidthTwips(int width) = 0;
  virtual void ShowMagnification(bool visible, const QString& caption) = 0;
};

}  // namespace vocapost
