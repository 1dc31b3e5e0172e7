#pragma once

#include <QTemporaryDir>

#include "app/application.h"
#include "child_runs.h"
#include "platform/capture/test_pattern_driver.h"
#include "platform/wave/device_wave_library.h"

namespace vocapost::bench {

// The whole program on the test devices in real time, in a temporary home.
struct TestDeviceProgram {
  QTemporaryDir dir;
  IniSettingsStore settings{dir.filePath("config")};
  SteadyClock clock;
  FixedDisplayInfo display{{32, 1}};
  RecordingPresenter presenter;
  WindowRegistry registry{(dir.path() + "/registry").toStdString()};
  RecordingEnd ender;
  DeviceWaveLibrary wave{MakeToneInput(), MakeDiscardOutput()};
  IniRegistryStore registry_store{dir.filePath("config")};
  TestPatternDriver camera;
  DiskFreeSpace free_space;
  SystemWallClock wall_clock;
  Application app{{settings, clock, display, presenter, registry, ender, wave,
                   registry_store, camera, free_space, wall_clock, nullptr}};

  bool Start() {
    return app.Start({(dir.path() + "/home").toStdString(), {}, {}}) ==
           StartResult::kRunning;
  }
};

}  // namespace vocapost::bench
