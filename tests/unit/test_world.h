#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "platform/portable/portable_environment.h"
#include "platform/portable/portable_file_system.h"
#include "platform/portable/portable_keyboard.h"
#include "platform/portable/portable_profile_reader.h"
#include "platform/portable/portable_registry.h"

namespace setup {

/// A whole machine for a unit test: drive C: is a fresh temporary folder,
/// the program runs from C:\Package\, the registry starts empty.
class TestWorld {
 public:
  TestWorld() : files_("C:\\Package\\"), profile_(files_), clock_(2026) {
    static std::atomic<int> counter{0};
    root_ = std::filesystem::temp_directory_path() /
            ("setup_unit_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(root_ / "Package");
    files_.MapDrive('C', root_);
  }
  ~TestWorld() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  TestWorld(const TestWorld&) = delete;
  TestWorld& operator=(const TestWorld&) = delete;

  /// Writes a file at a Windows path on drive C:, making its folders.
  void Write(const std::string& windows_path, std::string_view bytes) {
    std::filesystem::path host = files_.HostPath(windows_path);
    std::filesystem::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  void WriteSetupIni(std::string_view text) { Write("C:\\Package\\setup.ini", text); }

  std::filesystem::path root_;
  PortableRegistry registry_;
  PortableFileSystem files_;
  PortableProfileReader profile_;
  ScriptedKeyboard keyboard_;
  FixedClock clock_;
  PortableEnvironment environment_;
  Platform platform_{registry_, profile_, files_, keyboard_, clock_, environment_};
};

}  // namespace setup
