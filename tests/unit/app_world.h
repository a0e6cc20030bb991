#pragma once

#include "app/agreement_form.h"
#include "app/progress_form.h"
#include "app/scan_progress_form.h"
#include "app/setup_application.h"
#include "ui/headless/headless_toolkit.h"
#include "unit/test_world.h"

namespace setup {

/// A machine plus the headless toolkit, with the program ready to run.
struct AppWorld : TestWorld {
  HeadlessToolkit toolkit_;
  SetupApplication app_{toolkit_, platform_};

  HeadlessWindow& Main() { return *toolkit_.Find("TMainForm"); }
  HeadlessWindow& Agreement() { return *toolkit_.Find("TAgreementForm"); }
  /// Runs the program with this setup.ini; its main window.
  HeadlessWindow& RunWith(const std::string& ini) {
    WriteSetupIni(ini);
    app_.Run();
    return Main();
  }
  /// The host list in order: "Description", or "Description [x]" when ticked.
  std::vector<std::string> Items() {
    std::vector<std::string> items;
    HeadlessWindow& main = Main();
    for (int i = 0; i < main.ItemCount(TMainForm::Detected); ++i)
      items.push_back(main.ItemText(TMainForm::Detected, i) +
                      (main.IsItemChecked(TMainForm::Detected, i) ? " [x]" : ""));
    return items;
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : toolkit_.messages_) texts.push_back(message.text);
    return texts;
  }
};

}  // namespace setup
