#pragma once

#include <QCoreApplication>
#include <memory>

#include "app/application.h"
#include "platform/capture/test_pattern_driver.h"
#include "support/fake_wave_library.h"
#include "support/temp_home.h"

namespace vocapost::testing {

// A whole program on fake devices in a fresh program home: manual clock,
// recorded message boxes, a window registry in the test's folder and an end
// that is only noted.
class AppTest : public HomeTest {
 protected:
  AppTest() {
    temp_.WriteFile(temp_.root() / "shipped" / "firsview.bmp", "picture");
  }
  ~AppTest() override {
    app_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  StartResult Start(const QString& command_line = {}) {
    return app_->Start({temp_.home(), temp_.root() / "shipped", command_line});
  }
  MKERForm1& recorder() { return *app_->recorder(); }
  std::filesystem::path registry_dir() const {
    return temp_.root() / "registry";
  }
  bool Exists(const std::string& name) const {
    return std::filesystem::exists(temp_.home() / name);
  }
  std::vector<QString> Texts() const {
    std::vector<QString> texts;
    for (const auto& m : presenter_.messages)
      texts.push_back(m.title + '\t' + m.text);
    return texts;
  }

  IniSettingsStore settings_{QString::fromStdString(temp_.config().string())};
  ManualClock clock_;
  FixedDisplayInfo display_{{32, 1}};
  RecordingPresenter presenter_;
  WindowRegistry registry_{registry_dir()};
  RecordingEnd ender_;
  FakeWaveLibrary wave_;
  MessageLog log_{
      QString::fromStdString((temp_.root() / "messages.log").string())};
  IniRegistryStore registry_store_{
      QString::fromStdString(temp_.config().string())};
  TestPatternDriver camera_;
  FixedFreeSpace free_space_{uint64_t{1} << 40};
  FixedWallClock wall_clock_{QDateTime(QDate(2026, 12, 5), QTime(14, 30, 12))};
  RecordingStarter starter_;
  Services AppServices(WaveLibrary& wave) {
    return {settings_,   clock_, display_,        presenter_, registry_,
            ender_,      wave,   registry_store_, camera_,    free_space_,
            wall_clock_, &log_,  &starter_};
  }
  std::unique_ptr<Application> MakeApp(WaveLibrary& wave) {
    return std::make_unique<Application>(AppServices(wave));
  }
  // Every message shown so far, one "title<TAB>text" line each.
  QString Logged() const {
    return QString::fromUtf8(temp_.ReadFile(temp_.root() / "messages.log"));
  }
  std::unique_ptr<Application> app_ = MakeApp(wave_);
};

}  // namespace vocapost::testing
