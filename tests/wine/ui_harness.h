#pragma once

// Drives a real program through its windows from a test program running
// under Wine beside it. The harness must have the bitness of the program it
// drives: list-view and status-bar reads hand the program pointers into a
// buffer laid out in its own process.

#include <windows.h>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace setup::ui {

/// How long the waits below wait unless told otherwise.
constexpr DWORD kDefaultTimeoutMs = 10000;

/// A harness step that could not be done: no such window within the time,
/// a process that would not start, a file that could not be written.
class HarnessError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// ---- Files and folder links (ui_harness_files.cpp) --------------------------

/// Makes a folder and its missing parents.
void MakeFolders(const std::string& path);
/// Writes a file with these bytes, making its folders; throws on failure.
void WriteFileBytes(const std::string& path, std::string_view bytes);
/// The bytes of a file; nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& path);
/// Removes a folder with everything in it; true when it is gone afterwards.
/// Folder links in it are removed, not entered, so a link never leads the
/// removal outside the tree or round a loop.
bool RemoveTree(const std::string& path);

/// The host (Unix) path of a Windows path, through Wine's own export; throws
/// outside Wine.
std::string UnixPathOf(const std::string& windows_path);
/// Whether a path names a folder link: a folder with the reparse-point attribute.
bool IsFolderLink(const std::string& path);
/// Makes a folder link at `link` (which must not exist) to the folder
/// `target`: a junction where the system can make one; under Wine 8, which
/// cannot (CreateSymbolicLinkA does nothing, FSCTL_SET_REPARSE_POINT is not
/// supported), a host symbolic link, which Wine lists the same way. Throws
/// when neither is made.
void MakeFolderLink(const std::string& link, const std::string& target);
/// Removes a folder link and leaves its target alone; nothing there is fine.
void RemoveFolderLink(const std::string& link);

// ---- Drives (ui_harness_drives.cpp) -----------------------------------------

/// A drive letter mapped, as a fixed drive, to a folder of drive C: for the
/// life of the object.
class MappedDrive {
 public:
  MappedDrive(char letter, const std::string& folder);
  ~MappedDrive();
  MappedDrive(const MappedDrive&) = delete;
  MappedDrive& operator=(const MappedDrive&) = delete;

 private:
  char letter_;
};

// ---- Registry (ui_harness_registry.cpp) -------------------------------------

/// Which registry view a helper works in. The program under test is 32-bit
/// and sees the 32-bit view (HKLM\Software\Wow6432Node on the 64-bit side).
enum class View { k32, k64 };

/// One registry value as stored.
struct RegValue {
  DWORD type = REG_NONE;
  std::string data;  // raw bytes; text types include their terminating zero
  /// The data as text without its terminating zero.
  std::string Text() const;
  /// The data as a DWORD (0 when it is not 4 bytes).
  DWORD Dword() const;
};

/// Applies .reg text (REGEDIT4 or version 5) in one view; throws on a malformed line.
void ImportReg(std::string_view reg_text, View view = View::k32);
/// One value ("" names the default value); nothing when key or value is absent.
std::optional<RegValue> ReadRegValue(HKEY root, const std::string& path, const std::string& name,
                                     View view = View::k32);
/// Sets one value to raw bytes of any type, making the key; throws when it cannot.
void WriteRegValue(HKEY root, const std::string& path, const std::string& name, DWORD type, std::string_view data,
                   View view = View::k32);
/// Deletes one value; an absent one is fine.
void DeleteRegValue(HKEY root, const std::string& path, const std::string& name, View view = View::k32);
/// Whether a key exists in a view.
bool RegKeyExists(HKEY root, const std::string& path, View view = View::k32);
/// Deletes a key with all it holds in one view; absent keys are fine.
void DeleteRegTree(HKEY root, const std::string& path, View view = View::k32);

/// The user's application-data folder pointed at another folder for the
/// life of the object, then put back as it was.
class AppDataFolder {
 public:
  explicit AppDataFolder(const std::string& folder);
  ~AppDataFolder();
  AppDataFolder(const AppDataFolder&) = delete;
  AppDataFolder& operator=(const AppDataFolder&) = delete;

 private:
  std::vector<std::optional<RegValue>> saved_;
};

// ---- Test files, packages and programs (ui_harness_programs.cpp) ------------

/// The folder that holds the files the runner put beside this test program
/// (Setup.exe, ui_stand_in.exe), with a trailing backslash. The environment
/// variable SETUP_UI_FILES names another folder when set.
std::string TestFilesFolder();
/// Path of one of those files; throws when it is not there.
std::string TestFile(std::string_view name);
/// Quotes one command-line argument the way the C runtime splits them.
std::string QuoteArgument(std::string_view argument);

/// A fresh package folder C:\pkg\<name>\ (emptied first when an earlier run
/// left it), into which a test copies Setup.exe and writes setup.ini and the
/// plug-in files.
class Package {
 public:
  /// Makes the folder; an empty name takes the running GoogleTest test's name.
  explicit Package(std::string name = {});

  /// The folder, with a trailing backslash.
  const std::string& folder() const { return folder_; }
  /// The path of a file in the package ("Plugins\\a.8bf").
  std::string Path(std::string_view relative) const;
  /// Writes a file with these bytes, making its folders.
  void Write(std::string_view relative, std::string_view bytes) const;
  /// Copies a file into the package under a relative name, making its folders.
  void CopyIn(const std::string& source, std::string_view relative) const;
  /// Copies the Setup.exe under test (TestFile("Setup.exe")) into the package.
  void AddSetup() const;
  /// The bytes of a file in the package; nothing when it cannot be read.
  std::optional<std::string> Read(std::string_view relative) const;

 private:
  std::string folder_;
};

/// A started program. Killed on destruction when still running, so that a
/// failed test leaves no window behind for the next one.
class RunningProgram {
 public:
  /// Starts exe_path with a command line of arguments (already quoted) in
  /// working_folder; throws when it cannot.
  RunningProgram(const std::string& exe_path, const std::string& arguments, const std::string& working_folder);
  /// Starts Setup.exe of a package in the package folder.
  explicit RunningProgram(const Package& package, const std::string& arguments = {});
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  DWORD pid() const { return pid_; }
  HANDLE process() const { return process_; }
  /// Waits for the end; the exit code, or nothing when it still runs after the time.
  std::optional<DWORD> WaitExit(DWORD timeout_ms = kDefaultTimeoutMs);
  /// Whether the program has not ended yet.
  bool Running() const;
  /// Ends the program at once (exit code 9999) and waits for it.
  void Kill();

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// ---- Windows and controls (ui_harness_windows.cpp) --------------------------

/// Polls a condition every 25 ms; true as soon as it holds, false after the time.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms = kDefaultTimeoutMs);

/// The visible top-level windows of a process, in Z order; an empty class takes any.
std::vector<HWND> TopWindows(DWORD pid, std::string_view class_name = {});
/// The first of TopWindows, or null now (no wait).
HWND FindTopWindow(DWORD pid, std::string_view class_name);
/// Waits for a visible top-level window of the class in the process; throws after the time.
HWND WaitForWindow(DWORD pid, std::string_view class_name, DWORD timeout_ms = kDefaultTimeoutMs);
/// Waits until a window is gone or hidden; false after the time.
bool WaitGone(HWND window, DWORD timeout_ms = kDefaultTimeoutMs);

/// The class name of a window.
std::string ClassOf(HWND window);
/// The window text, asked of the owning program (WM_GETTEXT), so it works for
/// controls of other processes; edits report what the user typed.
std::string TextOf(HWND window);
/// Sets the window text through WM_SETTEXT (an edit then reports the change).
void SetText(HWND window, std::string_view text);

/// All descendants, in creation order, filtered by class when one is given.
std::vector<HWND> Children(HWND parent, std::string_view class_name = {});
/// The first descendant that satisfies the predicate, or null.
HWND FindChild(HWND parent, const std::function<bool(HWND)>& predicate);
/// The first descendant of the class (empty: any) whose text equals text
/// (empty: any), or null. Texts compare as given, '&' included.
HWND FindChild(HWND parent, std::string_view class_name, std::string_view text = {});
/// Like FindChild, but throws naming what was looked for.
HWND Child(HWND parent, std::string_view class_name, std::string_view text = {});

/// Screen rectangle of a window; client rectangle (origin 0,0) of a window.
RECT WindowRect(HWND window);
/// True when the window's frame lies in the middle of the desktop's work area
/// (to a pixel, as the halves round).
bool CentredOnScreen(HWND window);
RECT ClientRect(HWND window);
bool Enabled(HWND window);
bool Visible(HWND window);
/// BM_GETCHECK of a check box or radio button: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
int CheckState(HWND button);

// ---- Input (ui_harness_input.cpp) -------------------------------------------

/// Presses a button the way a click does (BM_CLICK), posted so that the
/// test goes on while the program shows a modal box.
void Click(HWND button);
/// The control that has the keyboard focus in the thread owning the window, or null.
HWND FocusedControl(HWND window);
/// Posts a key press and release (WM_KEYDOWN, WM_KEYUP) of a virtual key to a window.
void PostKey(HWND target, WORD virtual_key);
/// Posts WM_KEYDOWN/UP of the key to the control that has the focus in the
/// window's thread: "Enter right after opening". Throws when none has it.
void PressKeyInFocus(HWND window, WORD virtual_key);
/// Posts WM_CLOSE, as the close box of the caption does.
void Close(HWND window);

/// Moves the real mouse pointer to a point of a window's client area; the
/// program then gets WM_MOUSEMOVE as from a user (checked under Xvfb).
void MovePointerTo(HWND window, POINT client_point);
/// Moves the pointer to a point of a window's client area and waits until
/// the condition holds. Under Wine a move can be merged into one the program
/// has already fetched, and never reach it: between polls the pointer is
/// nudged by a pixel, so a lost move is followed by another.
bool HoverUntil(HWND window, POINT client_point, const std::function<bool()>& condition,
                DWORD timeout_ms = kDefaultTimeoutMs);

// ---- Message boxes (ui_harness_message_boxes.cpp) ---------------------------

/// The system icon a message box shows.
enum class MessageIcon { kNone, kError, kWarning, kInformation, kQuestion, kUnknown };
const char* IconName(MessageIcon icon);

/// A message box as a user sees it.
struct MessageBoxSeen {
  HWND window = nullptr;
  std::string caption;
  std::string text;                  // the message; lines separated by "\n"
  std::vector<std::string> buttons;  // captions, left to right, '&' included
  MessageIcon icon = MessageIcon::kNone;
};

/// Reads a "#32770" message box window.
MessageBoxSeen ReadMessageBox(HWND box);
/// Waits for a message box of the process and reads it; throws after the time.
MessageBoxSeen WaitForMessageBox(DWORD pid, DWORD timeout_ms = kDefaultTimeoutMs);
/// Answers a message box with a button id (IDOK, IDCANCEL, IDYES, IDNO, ...)
/// and waits until the box is gone; throws when it stays.
void Answer(const MessageBoxSeen& box, int button_id);

// ---- Common controls of another process (ui_harness_controls.cpp) -----------

/// Number of items of a SysListView32.
int ListItemCount(HWND list);
/// Text of an item (sub-item 0 unless told).
std::string ListItemText(HWND list, int item, int sub_item = 0);
/// All item texts, in order.
std::vector<std::string> ListItemTexts(HWND list);
/// Check state of an item of a list with LVS_EX_CHECKBOXES.
bool ListItemChecked(HWND list, int item);
/// The check state of every item, in order.
std::vector<bool> ListChecks(HWND list);
/// Sets the check state of an item, as a click on its box does.
void SetListItemChecked(HWND list, int item, bool checked);
/// The bounds of an item in the list's client coordinates.
RECT ListItemRect(HWND list, int item);

/// Text of one part of a msctls_statusbar32.
std::string StatusText(HWND status_bar, int part = 0);

// ---- Screenshots (ui_harness_screen.cpp) ------------------------------------

/// The pixels of a screen rectangle, top row first, 0x00RRGGBB each.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<DWORD> pixels;
  DWORD At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

/// Copies what the screen shows of a window (it must not be covered).
Image CaptureWindow(HWND window);
/// Writes an image as a 24-bit .bmp file; tools/bmp2png.py turns it into PNG.
void SaveBmp(const Image& image, const std::string& path);
/// CaptureWindow and SaveBmp in one.
void SaveWindowBmp(HWND window, const std::string& path);

}  // namespace setup::ui
