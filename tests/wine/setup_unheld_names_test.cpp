// Names the ANSI code page (1252 under Wine) cannot hold, from the real
// registry, environment, folder listings and module path: a Greek Omega,
// which the ANSI functions would give as the O of another folder or file.

#include <windows.h>

#include <string>

#include "wine/setup_test_support.h"

namespace setup::ui {
namespace {

constexpr char kRoot[] = "C:\\Unheld";
constexpr wchar_t kOmega[] = L"\x03A9";
constexpr char kLog[] = "C:\\Unheld\\Logs\\setup.log";
constexpr char kSetupIni[] =
    "[options]\r\nsubdir=Acme\r\n[files]\r\n1=*.8bf\r\n"
    "[hosts]\r\nviewer=Acme Viewer\r\n[host.viewer]\r\nfolder=%ACME_UNHELD_HOST%\r\n";

std::wstring Wide(const std::string& ansi) {
  std::wstring wide(ansi.size(), L'\0');
  int size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(),
                                 static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(size));
  return wide;
}

void WriteWide(const std::wstring& path, std::string_view bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// A program started by its wide path, which no ANSI call could name.
class WideProgram {
 public:
  WideProgram(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder) {
    std::wstring line = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &info_))
      throw HarnessError("cannot start a program by its wide path");
    CloseHandle(info_.hThread);
  }
  ~WideProgram() {
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 9999);
    CloseHandle(info_.hProcess);
  }
  WideProgram(const WideProgram&) = delete;
  WideProgram& operator=(const WideProgram&) = delete;

  DWORD pid() const { return info_.dwProcessId; }
  DWORD WaitExit() {
    if (WaitForSingleObject(info_.hProcess, 30000) != WAIT_OBJECT_0) return 9999;
    DWORD code = 9999;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION info_{};
};

// What the harness, which names files through the ANSI functions, cannot remove.
void RemoveUnheld(const std::wstring& package) {
  DeleteFileW((package + L"b" + kOmega + L".8bf").c_str());
  std::wstring moved = std::wstring(L"C:\\Unheld\\pkg") + kOmega + L"\\";
  for (const wchar_t* name : {L"Setup.exe", L"setup.ini", L"bO.8bf"}) DeleteFileW((moved + name).c_str());
  RemoveDirectoryW(moved.c_str());
}

struct UnheldNamesTest : SetupTest {
  UnheldNamesTest() {
    RemoveUnheld(Wide(package_.folder()));
    RemoveTree(kRoot);
    for (const char* folder : {"C:\\Unheld\\Hosts\\PS7", "C:\\Unheld\\Hosts\\PSO", "C:\\Unheld\\Hosts\\HO",
                               "C:\\Unheld\\Logs", "C:\\Unheld\\pkgO"})
      MakeFolders(folder);
  }
  ~UnheldNamesTest() override {
    DeleteRegTree(HKEY_LOCAL_MACHINE, "Software\\Adobe\\Photoshop");
    SetEnvironmentVariableW(L"ACME_UNHELD_HOST", nullptr);
    RemoveUnheld(Wide(package_.folder()));
    RemoveTree(kRoot);
  }
  static bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }
  static std::string Log() { return ReadFileBytes(kLog).value_or(""); }
};

TEST_F(UnheldNamesTest, NoHostNoFileAndNoPackageFolderIsTakenForItsLookAlike) {
  // A host whose folder is C:\Unheld\Hosts\PSΩ (twin PSO exists), a package
  // host at %ACME_UNHELD_HOST% = ...\HΩ (twin HO exists), and Photoshop 7.
  ImportReg(
      "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Adobe\\Photoshop\\7.0\\PluginPath]\n@=\"C:"
      "\\\\Unheld\\\\Hosts\\\\PS7\"\n");
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Adobe\\Photoshop\\13.0\\PluginPath", 0, nullptr, 0,
                            KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  std::wstring folder = std::wstring(L"C:\\Unheld\\Hosts\\PS") + kOmega;
  RegSetValueExW(key, L"", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                 static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  SetEnvironmentVariableW(L"ACME_UNHELD_HOST", (std::wstring(L"C:\\Unheld\\Hosts\\H") + kOmega).c_str());
  package_.Write("setup.ini", kSetupIni);
  WriteWide(Wide(package_.folder()) + L"b" + kOmega + L".8bf", "Omega");
  package_.Write("bO.8bf", "O");

  // The silent run serves the one host it can name, fails the file it
  // cannot, copies the twin once with its own content and says why.
  WideProgram silent(Wide(package_.Path("Setup.exe")), L"/S /HOSTS=photoshop,viewer /LOG=" + Wide(kLog),
                     Wide(package_.folder()));
  EXPECT_EQ(silent.WaitExit(), 1u);
  std::string log = Log();
  EXPECT_EQ(ReadFileBytes("C:\\Unheld\\Hosts\\PS7\\Acme\\bO.8bf"), "O");
  EXPECT_FALSE(Exists("C:\\Unheld\\Hosts\\PSO\\Acme")) << log;
  EXPECT_FALSE(Exists("C:\\Unheld\\Hosts\\HO\\Acme")) << log;
  for (const char* line : {
           " Not listed: PhotoShop CS6 by Adobe: its folder C:\\Unheld\\Hosts\\PS? holds a character that this "
           "system's code page cannot hold\r\n",
           " Not listed: Acme Viewer: its folder C:\\Unheld\\Hosts\\H? holds a character that this system's code "
           "page cannot hold\r\n",
           " Failed: The file b?.8bf could not be copied. Error: its name holds a character that this system's code "
           "page cannot hold.\r\n",
           " End: 1 files copied, 1 failures; exit code 1\r\n",
       })
    EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;

  // The same package in C:\Unheld\pkgΩ (twin pkgO holds a package too): a
  // box says so and the program ends; the silent run ends with 3; the
  // checker refuses the folder rather than check its twin.
  std::wstring unheld_package = std::wstring(L"C:\\Unheld\\pkg") + kOmega + L"\\";
  ASSERT_TRUE(CreateDirectoryW(unheld_package.c_str(), nullptr));
  for (const char* name : {"Setup.exe", "setup.ini", "bO.8bf"}) {
    ASSERT_TRUE(CopyFileW(Wide(package_.Path(name)).c_str(), (unheld_package + Wide(name)).c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(package_.Path(name).c_str(), (std::string("C:\\Unheld\\pkgO\\") + name).c_str(), FALSE));
  }
  {
    WideProgram windowed(unheld_package + L"Setup.exe", L"", unheld_package);
    MessageBoxSeen box = WaitForMessageBox(windowed.pid());
    EXPECT_EQ(box.caption, "Plug-in Setup");
    EXPECT_EQ(box.icon, MessageIcon::kError);
    EXPECT_EQ(box.text,
              "The name of this program's folder, C:\\Unheld\\pkg?\\, holds a character that this system's code page "
              "cannot hold, so the package in it cannot be read. Move the package to a folder with a plain name and "
              "start it again.");
    Answer(box, IDOK);
    EXPECT_EQ(windowed.WaitExit(), 0u);
  }
  WideProgram moved(unheld_package + L"Setup.exe", L"/S /DIR=C:\\Unheld\\Hosts\\PS7 /LOG=" + Wide(kLog),
                    unheld_package);
  EXPECT_EQ(moved.WaitExit(), 3u);
  EXPECT_NE(Log().find(" Error: The name of this program's folder, C:\\Unheld\\pkg?\\, holds"), std::string::npos)
      << Log();
  std::wstring argument = unheld_package.substr(0, unheld_package.size() - 1);  // no \" to escape the quote
  WideProgram check(Wide(TestFile("SetupCheck.exe")), L"\"" + argument + L"\"", Wide(package_.folder()));
  EXPECT_EQ(check.WaitExit(), 3u);
}

}  // namespace
}  // namespace setup::ui
