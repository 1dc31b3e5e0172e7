#include "platform/capture/capture_window.h"

#include <QPainter>

#include "platform/capture/test_pattern_driver.h"
#include "platform/capture/yuv.h"
#include "platform/units/units.h"

namespace vocapost {
namespace {

QImage FrameImage(const BitmapInfoHeader& format, const VideoFrame& frame) {
  const int w = format.width, h = std::abs(format.height);
  if (w <= 0 || h <= 0) return {};
  if (format.compression == 0) {
    if (frame.bytes_used < static_cast<uint32_t>(w * h * 3)) return {};
    // Bottom-up BGR, like a bitmap.
    return QImage(frame.data, w, h, w * 3, QImage::Format_BGR888).mirrored();
  }
  if (frame.bytes_used < static_cast<uint32_t>(w * h * 3 / 2)) return {};
  const bool yv12 = format.compression == FourCCFromText("YV12");
  const uint8_t* first = frame.data + w * h;
  const uint8_t* second = first + w * h / 4;
  QImage image(w, h, QImage::Format_BGR888);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = image.scanLine(y);
    for (int x = 0; x < w; ++x) {
      const int c = (y / 2) * (w / 2) + x / 2;
      YuvToBgr(frame.data[y * w + x], yv12 ? second[c] : first[c],
               yv12 ? first[c] : second[c], row + 3 * x);
    }
  }
  return image;
}

}  // namespace

CaptureWindow::CaptureWindow(QWidget* parent) : QWidget(parent) {
  setObjectName("My Own Capture Window");
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CaptureWindow::ShowFrame(const BitmapInfoHeader& format,
                              const VideoFrame& frame) {
  image_ = FrameImage(format, frame);
  update();
}

void CaptureWindow::paintEvent(QPaintEvent*) {
  // Frames are shown at their own size from the top-left corner.
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (!image_.isNull()) painter.drawImage(QPoint(0, 0), image_);
}

WidgetCaptureService::WidgetCaptureService(CaptureDriver& driver,
                                           std::function<QWidget*()> picture)
    : driver_(driver), picture_(std::move(picture)) {
  driver_.SetFrameCallback([this](const VideoFrame& frame) {
    if (window_) window_->ShowFrame(format_, frame);
    if (callback_) callback_(frame);
  });
}

WidgetCaptureService::~WidgetCaptureService() {
  driver_.SetFrameCallback(nullptr);
}

bool WidgetCaptureService::CreateCaptureWindow(int width, int height) {
  QWidget* parent = picture_ ? picture_() : nullptr;
  if (parent == nullptr) return false;
  delete window_.data();
  window_ = new CaptureWindow(parent);
  window_->setGeometry(0, 0, width, height);
  window_->show();
  return true;
}

bool WidgetCaptureService::DriverConnect(int index) {
  return index == 0 && driver_.Connect();
}

void WidgetCaptureService::DriverDisconnect() { driver_.Disconnect(); }

void WidgetCaptureService::SetCallbackFrame(
    std::function<void(const VideoFrame&)> callback) {
  callback_ = std::move(callback);
}

bool WidgetCaptureService::SetVideoFormat(const BitmapInfoHeader& format) {
  if (!driver_.SetFormat(format)) return false;
  format_ = format;
  return true;
}

void WidgetCaptureService::GrabFrame() { driver_.GrabFrame(); }

// One frame at a time either way: the driver is asked for the next one.
void WidgetCaptureService::GrabFrameNoStop() { driver_.GrabFrame(); }

void WidgetCaptureService::DlgVideoSource() {
  driver_.ShowSourceDialog(window_);
}

void WidgetCaptureService::DlgVideoDisplay() {
  driver_.ShowDisplayDialog(window_);
}

void WidgetCaptureService::SizePicture(int width_twips, int height_twips) {
  if (QWidget* parent = picture_ ? picture_() : nullptr) {
    parent->resize(TwipsToPixels(width_twips), TwipsToPixels(height_twips));
  }
}

std::unique_ptr<CaptureDriver> MakeCaptureDriver(const QString& choice) {
  if (choice.isEmpty() || choice == "v4l2") return MakeV4l2Driver();
  if (choice == "test-pattern") return std::make_unique<TestPatternDriver>();
  return MakeNoCaptureDriver();
}

}  // namespace vocapost
