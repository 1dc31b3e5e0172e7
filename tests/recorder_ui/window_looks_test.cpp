// What a user sees of the windows: names and captions whole, recording shown,
// radio selections and disabled pictures that cannot be mistaken.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QToolTip>
#include <cmath>

#include "messages/about_form.h"
#include "player/viewer.h"
#include "recorder_ui/button_art.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"
#include "support/artifacts.h"

namespace vocapost {
namespace {

struct Stats {
  double red = 0, green = 0, blue = 0;
  int most_saturation = 0;
};

// Mean colour and most saturation of a picture's opaque pixels; with `band`,
// only of those within `band` logical pixels of its edge, where a button's
// face and rim show whatever its glyph is.
Stats PictureStats(const QPixmap& pixmap, int band = 0) {
  const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  const int edge = static_cast<int>(band * pixmap.devicePixelRatio());
  const QRect inner = image.rect().adjusted(edge, edge, -edge, -edge);
  std::vector<QColor> colours;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor colour = image.pixelColor(x, y);
      if (colour.alpha() < 128) continue;  // the rounded corners
      if (band > 0 && inner.contains(x, y)) continue;
      colours.push_back(colour);
    }
  }
  Stats stats;
  const double count = static_cast<double>(colours.size());
  for (const QColor& colour : colours) {
    stats.red += colour.red() / count;
    stats.green += colour.green() / count;
    stats.blue += colour.blue() / count;
    stats.most_saturation =
        std::max(stats.most_saturation, colour.hsvSaturation());
  }
  return stats;
}

double Distance(const Stats& a, const Stats& b) {
  return std::hypot(a.red - b.red, a.green - b.green, a.blue - b.blue);
}

// The part of `widget`'s contents that its window shows.
QRect SeenContents(const QWidget& widget) {
  const QRect contents = widget.contentsRect();
  const QWidget* window = widget.window();
  return QRect(widget.mapTo(window, contents.topLeft()), contents.size()) &
         window->rect();
}

class WindowLooksTest : public testing::AppTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Start(), StartResult::kRunning);
    recorder().show();
    QCoreApplication::processEvents();
  }
  MKERForm1& recorder() { return *app_->recorder(); }
  void Audio() {
    app_->audio().WaveWindowProcedure(kRecordedBufferMessage, 0, ++header_, {});
  }
  void Tick() {
    clock_.Advance(0.05);
    int16_t busy = 1;
    app_->recording().RecordingTick(busy);
  }
  QRgb EdgeColour() {
    const QImage shot = recorder().grab().toImage();
    return shot.pixel(shot.width() / 2, 5);
  }
  // A one-row list shows its single entry whole, and no list needs to
  // scroll sideways.
  static void ExpectEntriesWhole(const FileList& list, bool one_row) {
    SCOPED_TRACE(list.objectName().toStdString());
    EXPECT_FALSE(list.horizontalScrollBar()->isVisible());
    EXPECT_EQ(list.horizontalScrollBar()->maximum(), 0) << "cut on the right";
    if (one_row) {
      EXPECT_FALSE(list.verticalScrollBar()->isVisible());
    }
    const QRect seen = list.viewport()->rect();
    const QFontMetrics metrics(list.font());
    const int margins = 2 * (list.style()->pixelMetric(
                                 QStyle::PM_FocusFrameHMargin, nullptr, &list) +
                             1);
    for (int row = 0; row < list.count(); ++row) {
      const QString name = list.item(row)->text();
      EXPECT_LE(metrics.horizontalAdvance(name) + margins, seen.width())
          << name.toStdString();
      if (!one_row) continue;
      EXPECT_TRUE(seen.contains(list.visualItemRect(list.item(row))))
          << name.toStdString() << " lies partly out of view";
      EXPECT_LE(metrics.height(), seen.height());
    }
  }
  intptr_t header_ = 100;
};

TEST_F(WindowLooksTest, RecordingShowsRedEdgesItsProgressAndThenTheNameWhole) {
  EXPECT_TRUE(testing::SaveArtifact(recorder(), "recorder-idle"));
  const QColor idle = QColor::fromRgb(EdgeColour());
  recorder().Command(2)->Press();
  for (int i = 0; i < 12; ++i) {
    Audio();
    Tick();
    Tick();
  }
  clock_.Advance(65);
  Audio();
  const QColor recording = QColor::fromRgb(EdgeColour());
  EXPECT_GT(recording.red(), 150);
  EXPECT_LT(recording.blue(), 90);
  EXPECT_LT(idle.red(), 90) << "red only while recording";
  const int32_t size = app_->state().values.recorded_size;
  const int32_t share = static_cast<int32_t>(
      int64_t{size} * 100 / app_->state().maximum_message_size);
  // Record itself waits a little, so the time is a second or so longer.
  const QRegularExpression tooltip(
      QString("^Size of recorded file\nRecording for 1:0[5-9], %1% of the "
              "maximum size used$")
          .arg(share));
  EXPECT_TRUE(tooltip.match(recorder().Label5()->toolTip()).hasMatch())
      << recorder().Label5()->toolTip().toStdString();
  EXPECT_TRUE(testing::SaveArtifact(recorder(), "recorder-recording"));

  recorder().Command(14)->Press();
  QCoreApplication::processEvents();
  EXPECT_TRUE(testing::SaveArtifact(recorder(), "recorder-stopped"));
  EXPECT_EQ(QColor::fromRgb(EdgeColour()), idle);
  EXPECT_EQ(recorder().Label5()->toolTip(), "Size of recorded file");
  ASSERT_EQ(recorder().File1()->ListCount(), 1);
  ExpectEntriesWhole(*recorder().File1(), true);

  // The widest names the program gives its files, in the other lists.
  for (const char* name : {"28235959.vrc", "27235959.vrc", "26235959.vrc",
                           "25235959.vrc", "voca-MSG28235959.exe"}) {
    temp_.WriteFile(name, "x");
  }
  recorder().File2()->Refresh();
  recorder().File3()->SetPattern("voca-MSG28235959.exe");
  QCoreApplication::processEvents();
  ASSERT_EQ(recorder().File3()->ListCount(), 1);
  ExpectEntriesWhole(*recorder().File2(), false);
  ExpectEntriesWhole(*recorder().File3(), true);
}

TEST_F(WindowLooksTest, EveryVisibleCaptionFitsItsControl) {
  recorder().ShowRecordedSize(2001104);  // past the larger size limit
  Viewer& viewer = *app_->viewer();
  app_->state().activity.recorded_width_twips = 1200;  // 80 pixels
  viewer.show();
  viewer.resize(640, 100);  // the widest picture: zoom 7.8
  recorder().Command(17)->Press();
  AboutForm& about = *app_->about_form();
  QCoreApplication::processEvents();
  EXPECT_TRUE(testing::SaveArtifact(about, "about"));

  QStringList measured;
  for (QWidget* window :
       {static_cast<QWidget*>(&recorder()), static_cast<QWidget*>(&viewer),
        static_cast<QWidget*>(&about)}) {
    for (QWidget* control : window->findChildren<QWidget*>()) {
      if (!control->isVisibleTo(window)) continue;
      QString text;
      int padding = 0;
      if (auto* label = qobject_cast<QLabel*>(control)) {
        text = label->text();
      } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        text = QString(button->text()).remove('&');
        padding =
            control->style()->pixelMetric(QStyle::PM_ButtonMargin) +
            2 * control->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
      }
      const QRect seen = SeenContents(*control);
      if (text.isEmpty() || seen.isEmpty()) continue;
      const QString name = window->objectName() + "." + control->objectName() +
                           " \"" + text + "\"";
      measured << window->objectName() + "." + control->objectName();
      const QFontMetrics metrics(control->font());
      const QStringList lines = text.split('\n');
      for (const QString& line : lines) {
        EXPECT_LE(metrics.horizontalAdvance(line) + padding, seen.width())
            << name.toStdString();
      }
      EXPECT_LE(metrics.height() * lines.size(), seen.height())
          << name.toStdString();
    }
  }
  for (const char* expected :
       {"MKERForm1.Label5", "Viewer.Label1", "AboutForm.Label3",
        "AboutForm.Label2", "AboutForm.Label1", "AboutForm.Command1"}) {
    EXPECT_TRUE(measured.contains(expected)) << expected << " not measured";
  }
  EXPECT_EQ(viewer.Label1()->text(), "7.8");
}

TEST_F(WindowLooksTest, SelectedRadioPicturesStandOutAndDisabledOnesAreGrey) {
  // Quality high and speed medium chosen: one selection away from the ends.
  recorder().Command(20)->Press();
  const std::vector<std::vector<int>> groups = {{15, 14, 13}, {16, 17, 18, 19}};
  const std::vector<int> selected = {15, 18};
  for (size_t g = 0; g < groups.size(); ++g) {
    std::vector<Stats> others;
    Stats chosen;
    for (const int picture : groups[g]) {
      const QPixmap shown = recorder().ImagePicture(picture)->pixmap();
      EXPECT_EQ(shown.deviceIndependentSize().toSize(),
                recorder().ImagePicture(picture)->size())
          << "drawn at its button's size: " << picture;
      if (picture == selected[g]) {
        chosen = PictureStats(shown, 2);
      } else {
        others.push_back(PictureStats(shown, 2));
      }
    }
    double spread = 0, nearest = 1e9;
    for (const Stats& a : others) {
      nearest = std::min(nearest, Distance(a, chosen));
      for (const Stats& b : others) spread = std::max(spread, Distance(a, b));
    }
    EXPECT_GT(nearest, 60) << "group " << g;
    EXPECT_GT(nearest, 3 * spread) << "group " << g;
  }

  // Every picture, at both pixel densities: disabled is grey, and differs
  // from the enabled one; the drawing fills the denser pixels.
  for (const qreal dpr : {1.0, 2.0}) {
    for (int glyph = 0; glyph <= static_cast<int>(ButtonGlyph::kSendPackage);
         ++glyph) {
      const QSize size(28, 22);
      const auto look = [&](ButtonLook which) {
        return ButtonPicture(static_cast<ButtonGlyph>(glyph), which, size, dpr);
      };
      const QPixmap normal = look(ButtonLook::kNormal);
      const QPixmap disabled = look(ButtonLook::kDisabled);
      EXPECT_EQ(normal.size(), size * dpr);
      const Stats grey = PictureStats(disabled);
      EXPECT_LE(grey.most_saturation, 12) << glyph << " at " << dpr;
      EXPECT_GT(Distance(grey, PictureStats(normal)), 25)
          << glyph << " at " << dpr;
    }
  }
}

TEST_F(WindowLooksTest, FrameEdgeTooltipHasTheNormalColours) {
  auto* edge = recorder().findChild<QLabel*>("Picture5");
  ASSERT_NE(edge, nullptr);
  QToolTip::showText(edge->mapToGlobal(QPoint(20, 5)), edge->toolTip(), edge);
  QWidget* tip = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->inherits("QTipLabel") && widget->isVisible()) tip = widget;
  }
  ASSERT_NE(tip, nullptr);
  const QImage shot = tip->grab().toImage();
  std::map<QRgb, int> counts;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) ++counts[shot.pixel(x, y)];
  }
  const QColor background = QColor::fromRgb(
      std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
        return a.second < b.second;
      })->first);
  const QColor normal = QToolTip::palette().color(QPalette::ToolTipBase);
  EXPECT_LT(std::abs(background.lightness() - normal.lightness()), 20);
  int contrast = 0;
  for (const auto& [rgb, count] : counts) {
    contrast = std::max(contrast, std::abs(QColor::fromRgb(rgb).lightness() -
                                           background.lightness()));
  }
  EXPECT_GT(contrast, 120) << "the text stands out";
  QToolTip::hideText();
}

}  // namespace
}  // namespace vocapost
