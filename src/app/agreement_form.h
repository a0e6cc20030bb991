#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "ui/toolkit.h"

namespace setup {

/// The largest agreement text read: far beyond any licence, and small enough
/// that the dialog opens at once.
inline constexpr std::size_t kAgreementFileLimit = 1024 * 1024;

/// The agreement dialog: shows the package's agreement text and asks the
/// user to accept or decline it before anything is detected.
class TAgreementForm {
 public:
  enum Control : ControlId { Memo, AgreeYes, AgreeNo, Next, Cancel };
  static const FormSpec kSpec;

  TAgreementForm(Toolkit& toolkit, FileSystem& files, Window& owner);

  /// Loads the text of the file into Memo and sets the preselection; throws
  /// a UserError naming the file when it cannot be read.
  void Prepare(const std::string& path, bool accept_preselected);
  /// Runs the dialog modally; true when the user accepted with Next.
  bool RunModal();

  Window& window() { return *window_; }

 private:
  void AgreeYesClick();
  void AgreeNoClick();

  FileSystem& files_;
  std::unique_ptr<Window> window_;
};

}  // namespace setup
