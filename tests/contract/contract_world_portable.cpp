#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "contract/contract_world.h"
#include "platform/portable/portable_code_page.h"
#include "platform/portable/portable_environment.h"
#include "platform/portable/portable_file_system.h"
#include "platform/portable/portable_profile_reader.h"
#include "platform/portable/portable_registry.h"

namespace setup {
namespace {

namespace fs = std::filesystem;

class PortableWorld : public ContractWorld {
 public:
  PortableWorld() : files_("C:\\"), profile_(files_) {
    static std::atomic<int> counter{0};
    root_ = fs::temp_directory_path() / ("contract_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    fs::create_directories(root_);
    files_.MapDrive('C', root_);
  }
  ~PortableWorld() override {
    std::error_code ignored;
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root_, ignored);
  }

  Registry& registry() override { return registry_; }
  ProfileReader& profile() override { return profile_; }
  FileSystem& files() override { return files_; }
  Environment& environment() override { return environment_; }

  void SetVariable(const std::string& name, const std::string& value) override { environment_.Set(name, value); }

  void LoadRegistry(std::string_view reg_text, bool sixty_four_bit_view) override {
    registry_.Load(reg_text, sixty_four_bit_view ? RegistryView::k64Bit : RegistryView::k32Bit);
  }

  void RemoveRegistryTree(RootKey root, const std::string& path) override {
    std::string text = std::string("REGEDIT4\n[-") +
                       (root == RootKey::kCurrentUser ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\") + path + "]\n";
    registry_.Load(text, RegistryView::k32Bit);
    registry_.Load(text, RegistryView::k64Bit);
  }

  std::string Folder() override {
    std::string folder = "C:\\t" + std::to_string(folders_++) + "\\";
    fs::create_directories(files_.HostPath(folder));
    return folder;
  }

  void WriteFile(const std::string& path, std::string_view bytes) override {
    fs::path host = files_.HostPath(path);
    fs::create_directories(host.parent_path());
    std::ofstream out(host, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + host.string());
  }

  void MakeFolder(const std::string& path) override { fs::create_directories(files_.HostPath(path)); }
  void SetCurrentFolder(const std::string& path) override { files_.SetCurrentFolder(path); }

  void WriteFileNamedInUtf8(const std::string& folder, const std::string& utf8_name, std::string_view bytes) override {
    std::ofstream out(files_.HostPath(folder) / utf8_name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + utf8_name);
  }

  void SetUtf8Texts(const std::string& path, const std::string& utf8_value, const std::string& utf8_subkey,
                    const std::string& variable) override {
    std::string value;
    for (char c : AnsiFromHostName(utf8_value)) value += c == '\\' || c == '"' ? std::string{'\\', c} : std::string{c};
    registry_.Load("REGEDIT4\n[HKEY_CURRENT_USER\\" + path + "]\n\"Folder\"=\"" + value + "\"\n[HKEY_CURRENT_USER\\" +
                   path + "\\" + AnsiFromHostName(utf8_subkey) + "]\n");
    environment_.Set(variable, AnsiFromHostName(utf8_value));
  }

  void SetAttributes(const std::string& path, std::uint32_t attributes) override {
    fs::path host = files_.HostPath(path);
    // As Wine does: read-only is the missing write bit, the rest an extended attribute.
    fs::permissions(host, fs::perms::owner_write,
                    attributes & kAttrReadOnly ? fs::perm_options::remove : fs::perm_options::add);
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", attributes & (kAttrHidden | kAttrSystem));
    if (setxattr(host.c_str(), "user.DOSATTRIB", text, std::char_traits<char>::length(text), 0) != 0)
      throw std::runtime_error("this file system keeps no extended attributes");
  }

  std::string ReadFile(const std::string& path) override {
    std::ifstream in(files_.HostPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::shared_ptr<void> HoldOpen(const std::string& path) override {
    files_.HoldOpen(path);
    return std::shared_ptr<void>(nullptr, [this, path](void*) { files_.Release(path); });
  }

 private:
  fs::path root_;
  PortableRegistry registry_;
  PortableFileSystem files_;
  PortableProfileReader profile_;
  PortableEnvironment environment_;
  int folders_ = 0;
};

}  // namespace

std::unique_ptr<ContractWorld> MakeContractWorld() { return std::make_unique<PortableWorld>(); }

}  // namespace setup
