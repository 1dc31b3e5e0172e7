#include "player/viewer_layout.h"

#include <cmath>

#include "platform/units/units.h"

namespace vocapost {
namespace {

constexpr double kBottomRowHeight = 585;
constexpr double kPictureMargin = 300;
constexpr double kCommand12Gap = 720;

}  // namespace

QString FormatZoom(double zoom) {
  const double tenths = std::round(zoom * 10);
  const auto whole = static_cast<long long>(tenths) / 10;
  const auto tenth = static_cast<long long>(tenths) % 10;
  return (whole == 0 ? QString() : QString::number(whole)) + '.' +
         QString::number(tenth);
}

ViewerLayout ComputeViewerLayout(const ViewerLayoutInput& in) {
  ViewerLayout out;
  const double smallest = in.smallest_width;
  out.picture_top = in.picture_top;
  out.window_width = std::max(in.window_width, smallest);
  const double w = RoundHalfEven(out.window_width / kTwipsPerPixel);
  const double h = RoundHalfEven(w * 0.75);
  const double extra = kBottomRowHeight + in.picture_top;
  if (w >= 40 && w <= 640) {
    out.window_height = out.window_width * h / w + extra;
    out.picture_width = out.window_width - kPictureMargin;
    out.picture_height = out.picture_width * h / w;
  } else {
    out.window_width = smallest;
    out.window_height = out.window_width * 0.75 + extra;
    out.picture_width = out.window_width - kPictureMargin;
    out.picture_height = out.picture_width * 0.75;
  }
  out.label_visible = in.recorded_width_twips != 0;
  if (out.label_visible) {
    out.label_caption = FormatZoom(out.picture_width / in.recorded_width_twips);
  }
  const ViewerDesign& d = in.design;
  out.buttons_top = out.picture_top + out.picture_height + 15;
  out.label_top = out.buttons_top + 60;
  out.picture4_left = d.picture_left + out.picture_width;
  out.command12_left = out.picture4_left + d.picture4_width + kCommand12Gap;
  out.label_left = d.picture5_left + d.picture5_width + 15;
  out.picture6_left = out.label_left + d.label_width + 15;
  return out;
}

}  // namespace vocapost
