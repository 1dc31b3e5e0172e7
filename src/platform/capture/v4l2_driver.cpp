#include <fcntl.h>
#include <libv4l2.h>
#include <linux/videodev2.h>
#include <sys/mman.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QSlider>
#include <QSocketNotifier>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/capture/capture_driver.h"

namespace vocapost {
namespace {

constexpr uint32_t kBufferCount = 4;
constexpr uint32_t kMinBufferCount = 2;
constexpr int kMaxControls = 128;  // guards against drivers that never end
constexpr int64_t kMaxMenuItems = 64;
constexpr int kCaptureType = V4L2_BUF_TYPE_VIDEO_CAPTURE;

enum class ReadResult { kFrame, kWait, kError };

int Ioctl(int fd, unsigned long request, void* arg) {
  int result = 0;
  do {
    result = v4l2_ioctl(fd, request, arg);
  } while (result == -1 && errno == EINTR);
  return result;
}

// The pixel format the device must deliver, or 0 when it is not one we take.
uint32_t PixelFormatFor(const BitmapInfoHeader& format) {
  if (format.compression == 0) {
    return format.bit_count == 24 ? V4L2_PIX_FMT_BGR24 : 0;
  }
  if (format.compression == FourCCFromText("I420")) return V4L2_PIX_FMT_YUV420;
  if (format.compression == FourCCFromText("YV12")) return V4L2_PIX_FMT_YVU420;
  return 0;
}

// Kernel strings are fixed arrays that need not be terminated.
QString FixedText(const uint8_t* text, size_t size) {
  const char* chars = reinterpret_cast<const char*>(text);
  return QString::fromUtf8(chars, static_cast<qsizetype>(strnlen(chars, size)));
}

v4l2_buffer MmapBuffer(uint32_t index) {
  v4l2_buffer buffer{};
  buffer.type = kCaptureType;
  buffer.memory = V4L2_MEMORY_MMAP;
  buffer.index = index;
  return buffer;
}

// Copies rows without the source's line padding, optionally flipping them.
void CopyRows(const uint8_t* source, size_t stride, size_t row_bytes,
              size_t rows, uint8_t* target, bool bottom_up) {
  for (size_t row = 0; row < rows; ++row) {
    const size_t target_row = bottom_up ? rows - 1 - row : row;
    std::memcpy(target + target_row * row_bytes, source + row * stride,
                row_bytes);
  }
}

bool IsAdjustable(const v4l2_queryctrl& control) {
  constexpr uint32_t kHidden =
      V4L2_CTRL_FLAG_DISABLED | V4L2_CTRL_FLAG_INACTIVE |
      V4L2_CTRL_FLAG_READ_ONLY | V4L2_CTRL_FLAG_WRITE_ONLY;
  const uint32_t kind = V4L2_CTRL_ID2CLASS(control.id);
  return (control.flags & kHidden) == 0 &&
         (kind == V4L2_CTRL_CLASS_USER || kind == V4L2_CTRL_CLASS_CAMERA) &&
         (control.type == V4L2_CTRL_TYPE_INTEGER ||
          control.type == V4L2_CTRL_TYPE_BOOLEAN ||
          control.type == V4L2_CTRL_TYPE_MENU ||
          control.type == V4L2_CTRL_TYPE_INTEGER_MENU);
}

class V4l2Driver final : public CaptureDriver {
 public:
  explicit V4l2Driver(QString device) : device_(std::move(device)) {}
  ~V4l2Driver() override { Disconnect(); }

  bool Connect() override {
    if (fd_ >= 0) return true;
    const QByteArray path = QFile::encodeName(device_);
    const int fd = v4l2_open(path.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    v4l2_capability cap{};
    uint32_t caps = 0;
    if (Ioctl(fd, VIDIOC_QUERYCAP, &cap) == 0) {
      caps = (cap.capabilities & V4L2_CAP_DEVICE_CAPS) != 0 ? cap.device_caps
                                                            : cap.capabilities;
    }
    if ((caps & V4L2_CAP_VIDEO_CAPTURE) == 0 ||
        (caps & (V4L2_CAP_READWRITE | V4L2_CAP_STREAMING)) == 0) {
      v4l2_close(fd);
      return false;
    }
    fd_ = fd;
    caps_ = caps;
    card_ = FixedText(cap.card, sizeof(cap.card));
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read);
    notifier_->setEnabled(false);
    QObject::connect(notifier_, &QSocketNotifier::activated, notifier_,
                     [this] { OnReadable(); });
    return true;
  }

  void Disconnect() override {
    CancelGrab();
    StopStreaming();
    if (notifier_ != nullptr) {
      notifier_->disconnect();
      notifier_->deleteLater();  // this may run inside its own signal
      notifier_ = nullptr;
    }
    if (fd_ >= 0) v4l2_close(fd_);
    fd_ = -1;
  }

  bool SetFormat(const BitmapInfoHeader& format) override {
    CancelGrab();
    StopStreaming();  // the device refuses a new format while buffers exist
    const uint32_t pixel_format = PixelFormatFor(format);
    const int64_t height = std::abs(static_cast<int64_t>(format.height));
    if (fd_ < 0 || pixel_format == 0 || format.width <= 0 || height == 0 ||
        !ApplyFormat(pixel_format, static_cast<uint32_t>(format.width),
                     static_cast<uint32_t>(height))) {
      return false;
    }
    if ((caps_ & V4L2_CAP_STREAMING) == 0 || !StartStreaming()) {
      StopStreaming();
      if ((caps_ & V4L2_CAP_READWRITE) == 0) return false;
      read_buffer_.assign(SourceBytes(), 0);
    }
    format_ready_ = true;
    return true;
  }

  void SetFrameCallback(
      std::function<void(const VideoFrame&)> callback) override {
    callback_ = std::move(callback);
  }

  void GrabFrame() override {
    if (fd_ < 0 || !format_ready_ || notifier_ == nullptr) return;
    grab_pending_ = true;
    notifier_->setEnabled(true);
  }

  void ShowSourceDialog(QWidget* parent) override {
    if (fd_ < 0) return;
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Video Source"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    const std::vector<v4l2_queryctrl> controls = ListControls();
    for (size_t row = 0; row < controls.size(); ++row) {
      AddControl(grid, static_cast<int>(row), controls[row]);
    }
    if (controls.empty()) {
      layout->addWidget(new QLabel(QStringLiteral("No adjustable settings.")));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog,
                     &QDialog::reject);
    layout->addWidget(buttons);
    dialog.exec();
  }

  void ShowDisplayDialog(QWidget* parent) override {
    if (fd_ < 0) return;
    QString text = QStringLiteral("Device: %1").arg(card_);
    v4l2_format format{};
    format.type = kCaptureType;
    if (Ioctl(fd_, VIDIOC_G_FMT, &format) == 0) {
      const uint32_t code = format.fmt.pix.pixelformat;
      text += QStringLiteral("\nSize: %1 x %2\nPixel format: %3")
                  .arg(format.fmt.pix.width)
                  .arg(format.fmt.pix.height)
                  .arg(QString::fromLatin1(reinterpret_cast<const char*>(&code),
                                           4));
    }
    QMessageBox::information(parent, QStringLiteral("Video Display"), text);
  }

 private:
  struct MappedBuffer {
    void* start = nullptr;
    size_t length = 0;
  };

  bool IsRgb() const { return pixel_format_ == V4L2_PIX_FMT_BGR24; }

  size_t SourceBytes() const {
    if (IsRgb()) return stride_ * height_;
    return stride_ * height_ + 2 * (stride_ / 2) * (height_ / 2);
  }

  bool ApplyFormat(uint32_t pixel_format, uint32_t width, uint32_t height) {
    v4l2_format format{};
    format.type = kCaptureType;
    v4l2_pix_format& pix = format.fmt.pix;
    pix.width = width;
    pix.height = height;
    pix.pixelformat = pixel_format;
    pix.field = V4L2_FIELD_NONE;
    if (Ioctl(fd_, VIDIOC_S_FMT, &format) < 0 || pix.width != width ||
        pix.height != height || pix.pixelformat != pixel_format) {
      return false;
    }
    pixel_format_ = pixel_format;
    width_ = width;
    height_ = height;
    stride_ = std::max<size_t>(pix.bytesperline, IsRgb() ? width * 3 : width);
    const size_t chroma = 2 * (width_ / 2) * (height_ / 2);
    frame_.assign(IsRgb() ? width_ * height_ * 3 : width_ * height_ + chroma,
                  0);
    return true;
  }

  bool StartStreaming() {
    v4l2_requestbuffers request{};
    request.count = kBufferCount;
    request.type = kCaptureType;
    request.memory = V4L2_MEMORY_MMAP;
    if (Ioctl(fd_, VIDIOC_REQBUFS, &request) < 0) return false;
    buffers_requested_ = true;
    if (request.count < kMinBufferCount) return false;
    for (uint32_t index = 0; index < request.count; ++index) {
      if (!MapBuffer(index)) return false;
    }
    int type = kCaptureType;
    streaming_ = Ioctl(fd_, VIDIOC_STREAMON, &type) == 0;
    return streaming_;
  }

  bool MapBuffer(uint32_t index) {
    v4l2_buffer buffer = MmapBuffer(index);
    if (Ioctl(fd_, VIDIOC_QUERYBUF, &buffer) < 0) return false;
    void* start = v4l2_mmap(nullptr, buffer.length, PROT_READ | PROT_WRITE,
                            MAP_SHARED, fd_, buffer.m.offset);
    if (start == MAP_FAILED) return false;
    buffers_.push_back({start, buffer.length});
    return Ioctl(fd_, VIDIOC_QBUF, &buffer) == 0;
  }

  void StopStreaming() {
    format_ready_ = false;
    read_buffer_.clear();
    if (fd_ < 0) return;
    int type = kCaptureType;
    if (streaming_) Ioctl(fd_, VIDIOC_STREAMOFF, &type);
    streaming_ = false;
    for (const MappedBuffer& buffer : buffers_) {
      v4l2_munmap(buffer.start, buffer.length);
    }
    buffers_.clear();
    if (buffers_requested_) {
      v4l2_requestbuffers release{};  // count 0 frees the buffers
      release.type = kCaptureType;
      release.memory = V4L2_MEMORY_MMAP;
      Ioctl(fd_, VIDIOC_REQBUFS, &release);
    }
    buffers_requested_ = false;
  }

  void CancelGrab() {
    grab_pending_ = false;
    if (notifier_ != nullptr) notifier_->setEnabled(false);
  }

  void OnReadable() {
    if (!grab_pending_ || !format_ready_) return CancelGrab();
    const ReadResult result = streaming_ ? DequeueNewest() : ReadOnce();
    if (result == ReadResult::kWait) return;
    CancelGrab();
    if (result == ReadResult::kError || !callback_) return;
    // A copy, so the callback may replace itself or drop this driver.
    const auto callback = callback_;
    callback(VideoFrame{frame_.data(), static_cast<uint32_t>(frame_.size())});
  }

  // Takes every finished buffer and keeps the newest, so a slow grabber does
  // not get stale frames.
  ReadResult DequeueNewest() {
    v4l2_buffer newest{};
    bool have_frame = false;
    for (size_t tries = 0; tries < buffers_.size(); ++tries) {
      v4l2_buffer buffer = MmapBuffer(0);
      if (Ioctl(fd_, VIDIOC_DQBUF, &buffer) < 0) {
        if (errno == EAGAIN) break;
        if (have_frame) Ioctl(fd_, VIDIOC_QBUF, &newest);
        return ReadResult::kError;
      }
      if (have_frame && Ioctl(fd_, VIDIOC_QBUF, &newest) < 0) {
        return ReadResult::kError;
      }
      newest = buffer;
      have_frame = true;
    }
    if (!have_frame) return ReadResult::kWait;
    const bool converted = UseBuffer(newest);
    if (Ioctl(fd_, VIDIOC_QBUF, &newest) < 0) return ReadResult::kError;
    return converted ? ReadResult::kFrame : ReadResult::kWait;
  }

  bool UseBuffer(const v4l2_buffer& buffer) {
    if (buffer.index >= buffers_.size()) return false;
    if ((buffer.flags & V4L2_BUF_FLAG_ERROR) != 0) return false;
    const MappedBuffer& mapped = buffers_[buffer.index];
    const size_t used =
        buffer.bytesused != 0 ? buffer.bytesused : mapped.length;
    return ConvertFrame(static_cast<const uint8_t*>(mapped.start),
                        std::min(used, mapped.length));
  }

  ReadResult ReadOnce() {
    ssize_t got = 0;
    do {
      got = v4l2_read(fd_, read_buffer_.data(), read_buffer_.size());
    } while (got < 0 && errno == EINTR);
    if (got < 0)
      return errno == EAGAIN ? ReadResult::kWait : ReadResult::kError;
    return ConvertFrame(read_buffer_.data(), static_cast<size_t>(got))
               ? ReadResult::kFrame
               : ReadResult::kWait;
  }

  // RGB becomes bottom-up like a bitmap; planar YUV keeps the device's order.
  bool ConvertFrame(const uint8_t* source, size_t length) {
    if (source == nullptr || length < SourceBytes()) return false;
    uint8_t* target = frame_.data();
    if (IsRgb()) {
      CopyRows(source, stride_, width_ * 3, height_, target, true);
      return true;
    }
    CopyRows(source, stride_, width_, height_, target, false);
    const uint8_t* chroma = source + stride_ * height_;
    target += width_ * height_;
    for (int plane = 0; plane < 2; ++plane) {
      CopyRows(chroma, stride_ / 2, width_ / 2, height_ / 2, target, false);
      chroma += (stride_ / 2) * (height_ / 2);
      target += (width_ / 2) * (height_ / 2);
    }
    return true;
  }

  std::vector<v4l2_queryctrl> ListControls() const {
    std::vector<v4l2_queryctrl> controls;
    v4l2_queryctrl query{};
    query.id = V4L2_CTRL_FLAG_NEXT_CTRL;
    for (int count = 0;
         count < kMaxControls && Ioctl(fd_, VIDIOC_QUERYCTRL, &query) == 0;
         ++count) {
      if (IsAdjustable(query)) controls.push_back(query);
      query.id |= V4L2_CTRL_FLAG_NEXT_CTRL;
    }
    return controls;
  }

  int32_t ControlValue(const v4l2_queryctrl& control) const {
    v4l2_control value{};
    value.id = control.id;
    return Ioctl(fd_, VIDIOC_G_CTRL, &value) == 0 ? value.value
                                                  : control.default_value;
  }

  // Checks the device, since the event loop runs while the dialog is open.
  void SetControl(uint32_t id, int32_t value) {
    if (fd_ < 0) return;
    v4l2_control control{};
    control.id = id;
    control.value = value;
    Ioctl(fd_, VIDIOC_S_CTRL, &control);
  }

  void AddControl(QGridLayout* grid, int row, const v4l2_queryctrl& control) {
    grid->addWidget(new QLabel(FixedText(control.name, sizeof(control.name))),
                    row, 0);
    const int32_t value = ControlValue(control);
    const uint32_t id = control.id;
    if (control.type == V4L2_CTRL_TYPE_BOOLEAN) {
      auto* box = new QCheckBox;
      box->setChecked(value != 0);
      QObject::connect(box, &QCheckBox::toggled, box,
                       [this, id](bool on) { SetControl(id, on ? 1 : 0); });
      grid->addWidget(box, row, 1);
    } else if (control.type == V4L2_CTRL_TYPE_INTEGER) {
      AddSlider(grid, row, control, value);
    } else {
      grid->addWidget(MakeMenu(control, value), row, 1);
    }
  }

  QWidget* MakeMenu(const v4l2_queryctrl& control, int32_t value) {
    auto* combo = new QComboBox;
    const int64_t last = std::min<int64_t>(
        control.maximum, int64_t{control.minimum} + kMaxMenuItems);
    for (int64_t index = control.minimum; index <= last; ++index) {
      v4l2_querymenu item{};
      item.id = control.id;
      item.index = static_cast<uint32_t>(index);
      if (Ioctl(fd_, VIDIOC_QUERYMENU, &item) < 0) continue;  // gaps allowed
      combo->addItem(control.type == V4L2_CTRL_TYPE_MENU
                         ? FixedText(item.name, sizeof(item.name))
                         : QString::number(static_cast<qint64>(item.value)),
                     static_cast<int>(index));
    }
    combo->setCurrentIndex(combo->findData(value));
    const uint32_t id = control.id;
    QObject::connect(
        combo, &QComboBox::currentIndexChanged, combo,
        [this, combo, id] { SetControl(id, combo->currentData().toInt()); });
    return combo;
  }

  void AddSlider(QGridLayout* grid, int row, const v4l2_queryctrl& control,
                 int32_t value) {
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setMinimumWidth(200);
    slider->setRange(control.minimum, control.maximum);
    slider->setSingleStep(std::max(control.step, 1));
    slider->setValue(value);
    auto* shown = new QLabel(QString::number(value));
    const uint32_t id = control.id;
    QObject::connect(slider, &QSlider::valueChanged, shown,
                     [this, id, shown](int changed) {
                       shown->setNum(changed);
                       SetControl(id, changed);
                     });
    grid->addWidget(slider, row, 1);
    grid->addWidget(shown, row, 2);
  }

  QString device_;
  int fd_ = -1;
  uint32_t caps_ = 0;
  QString card_;
  QSocketNotifier* notifier_ = nullptr;
  std::function<void(const VideoFrame&)> callback_;
  bool grab_pending_ = false;
  bool format_ready_ = false;
  bool buffers_requested_ = false;
  bool streaming_ = false;
  std::vector<MappedBuffer> buffers_;
  std::vector<uint8_t> read_buffer_;
  std::vector<uint8_t> frame_;
  uint32_t pixel_format_ = 0;
  size_t width_ = 0;
  size_t height_ = 0;
  size_t stride_ = 0;
};

}  // namespace

std::unique_ptr<CaptureDriver> MakeV4l2Driver(const QString& device) {
  return std::make_unique<V4l2Driver>(device);
}

}  // namespace vocapost
