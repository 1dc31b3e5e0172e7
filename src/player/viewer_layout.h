#pragma once

#include <QString>
#include <cstdint>

namespace vocapost {

// Design-time places of the Viewer's controls that the layout keeps (twips).
struct ViewerDesign {
  double picture_left = 150;
  double picture4_width = 150;
  double picture5_left = 150;
  double picture5_width = 330;
  double label_width = 450;
};

struct ViewerLayoutInput {
  double window_width = 0;  // twips, as the user left it
  int16_t picture_top = 195;
  int16_t smallest_width = 1350;
  int16_t recorded_width_twips = 0;  // 0: no zoom label
  ViewerDesign design;
};

// Where everything goes (twips): the window keeps the 4:3 shape of its
// picture, follows its width and is never narrower than the smallest width.
struct ViewerLayout {
  double window_width = 0, window_height = 0;
  double picture_top = 0, picture_width = 0, picture_height = 0;
  bool label_visible = false;
  QString label_caption;
  double buttons_top = 0, label_top = 0, label_left = 0;
  double picture4_left = 0, command12_left = 0, picture6_left = 0;
};

ViewerLayout ComputeViewerLayout(const ViewerLayoutInput& input);

// A zoom factor as the Viewer's label shows it: one decimal, no leading
// zero ("1.5", ".5", "12.0").
QString FormatZoom(double zoom);

}  // namespace vocapost
