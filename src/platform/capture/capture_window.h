#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "platform/capture/capture_service.h"

namespace vocapost {

// The capture window: a child of the local video picture that shows every
// frame the driver delivers.
class CaptureWindow final : public QWidget {
 public:
  explicit CaptureWindow(QWidget* parent);
  void ShowFrame(const BitmapInfoHeader& format, const VideoFrame& frame);
  const QImage& image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
};

// The capture service on a driver, its window inside the picture that
// `picture` gives when the window is created.
class WidgetCaptureService final : public CaptureService {
 public:
  WidgetCaptureService(CaptureDriver& driver,
                       std::function<QWidget*()> picture);
  ~WidgetCaptureService() override;

  bool CreateCaptureWindow(int width, int height) override;
  bool DriverConnect(int index) override;
  void DriverDisconnect() override;
  void SetCallbackFrame(
      std::function<void(const VideoFrame&)> callback) override;
  bool SetVideoFormat(const BitmapInfoHeader& format) override;
  void GrabFrame() override;
  void GrabFrameNoStop() override;
  void DlgVideoSource() override;
  void DlgVideoDisplay() override;
  void SizePicture(int width_twips, int height_twips) override;

  CaptureWindow* window() const { return window_; }

 private:
  CaptureDriver& driver_;
  std::function<QWidget*()> picture_;
  QPointer<CaptureWindow> window_;
  std::function<void(const VideoFrame&)> callback_;
  BitmapInfoHeader format_;
};

// By name: "v4l2" (also empty), "test-pattern" or "none".
std::unique_ptr<CaptureDriver> MakeCaptureDriver(const QString& choice);

}  // namespace vocapost
