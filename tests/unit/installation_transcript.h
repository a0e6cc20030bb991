#pragma once

#include <string>
#include <vector>

#include "config/text.h"
#include "install/deployment.h"

namespace setup {

/// An installation observer for tests and benchmarks: keeps, in order, every
/// target, file and error a run reported, and can ask the run to cancel.
class InstallationTranscript : public InstallationObserver {
 public:
  void TargetStarted(const std::string& name, int k, int n) override { targets.push_back(Counted(name, k, n)); }
  void FilesCounted(int) override {}
  void FileStarted(const std::string& file, int, int) override { files.push_back(file); }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void LetUserAct() override { ++user_turns; }
  bool CancelRequested() override { return cancel_requested; }

  std::vector<std::string> targets;  // "name (k/n)", in order
  std::vector<std::string> files;    // every file started, in order
  std::vector<std::string> errors;   // every failure reported, in order
  int user_turns = 0;
  bool cancel_requested = false;
};

}  // namespace setup
