#pragma once

#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/keyboard.h"
#include "platform/profile_reader.h"
#include "platform/registry.h"

namespace setup {

/// Everything the logic needs of the operating system, passed in explicitly.
struct Platform {
  Registry& registry;
  ProfileReader& profile;
  FileSystem& files;
  Keyboard& keyboard;
  Clock& clock;
  Environment& environment;
};

}  // namespace setup
