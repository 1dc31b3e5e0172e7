#pragma once

#include <vector>

#include "message/message_package.h"

namespace vocapost::testing {

// Notes what building a package tells the user.
class RecordingPackageUi final : public PackageUi {
 public:
  void ShowPackageMessage(const QString& text) override {
    messages.push_back(text);
  }
  void ShowPackage(const QString& name) override { packages.push_back(name); }
  std::vector<QString> messages, packages;
};

}  // namespace vocapost::testing
