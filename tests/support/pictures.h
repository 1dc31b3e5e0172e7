#pragma once

#include <QCoreApplication>
#include <cstdint>
#include <random>
#include <vector>

#include "platform/capture/test_pattern_driver.h"

namespace vocapost::testing {

// Frame `index` of the test pattern as a 24-bit bottom-up BGR picture.
inline std::vector<uint8_t> PatternPicture(int width, int height, int index) {
  TestPatternDriver driver;
  driver.Connect();
  BitmapInfoHeader format;
  format.width = width;
  format.height = height;
  driver.SetFormat(format);
  std::vector<uint8_t> picture;
  driver.SetFrameCallback([&](const VideoFrame& frame) {
    picture.assign(frame.data, frame.data + frame.bytes_used);
  });
  for (int i = 0; i <= index; ++i) {
    driver.GrabFrame();
    QCoreApplication::processEvents();
  }
  return picture;
}

inline std::vector<uint8_t> NoisePicture(int width, int height, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> picture(static_cast<size_t>(width * height * 3));
  for (uint8_t& byte : picture) byte = static_cast<uint8_t>(random());
  return picture;
}

}  // namespace vocapost::testing
