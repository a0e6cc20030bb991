#include "platform/portable/portable_file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace setup {
namespace {

namespace fs = std::filesystem;

struct PathError {
  std::string path;
  std::uint32_t error;
};

struct PortableFileSystemTest : testing::Test {
  void SetUp() override {
    std::string name = (fs::temp_directory_path() / "portable_fs_test_XXXXXX").string();
    ASSERT_NE(::mkdtemp(name.data()), nullptr);
    root = name;
    fs::create_directory(root / "c");
    files.MapDrive('C', root / "c");
    Write("dir/file.txt", "content");
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }

  fs::path Host(const std::string& relative) const { return root / "c" / relative; }
  void Write(const std::string& relative, const std::string& bytes) const {
    fs::create_directories(Host(relative).parent_path());
    std::ofstream(Host(relative), std::ios::binary) << bytes;
  }
  std::vector<FoundEntry> ListAll(const std::string& pattern) {
    std::vector<FoundEntry> entries;
    auto listing = files.List(pattern);
    while (listing) {
      auto entry = listing->Next();
      if (!entry) break;
      entries.push_back(*entry);
    }
    return entries;
  }
  std::vector<std::string> Names(const std::string& pattern) {
    std::vector<std::string> names;
    for (const FoundEntry& entry : ListAll(pattern)) names.push_back(entry.name);
    return names;
  }
  // "C:\ddd...\ddd" of exactly the given length.
  static std::string PathOfLength(std::size_t length) {
    std::string path = "C:\\";
    while (path.size() < length) path += (path.size() % 50 == 0 && path.size() + 1 < length) ? '\\' : 'd';
    return path;
  }

  fs::path root;
  PortableFileSystem files{"C:\\Package"};
};

TEST_F(PortableFileSystemTest, ResolvesNamesRegardlessOfCase) {
  Write("Package/Setup.INI", "[Setup]");
  for (const char* path : {"C:\\Package\\Setup.INI", "c:\\PACKAGE\\setup.ini", "C:\\pAcKaGe\\SETUP.ini"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(files.ReadWholeFile(path, SIZE_MAX), "[Setup]");
    EXPECT_EQ(files.HostPath(path), Host("Package/Setup.INI"));
  }
  EXPECT_EQ(files.HostPath("C:\\Package\\New.txt"), Host("Package/New.txt"));
}

TEST_F(PortableFileSystemTest, PrefersExactNameThenFirstInByteOrder) {
  Write("readme.txt", "lower");
  Write("README.TXT", "upper");
  Write("Readme.txt", "mixed");
  EXPECT_EQ(files.ReadWholeFile("C:\\readme.txt", SIZE_MAX), "lower");
  EXPECT_EQ(files.ReadWholeFile("C:\\Readme.txt", SIZE_MAX), "mixed");
  EXPECT_EQ(files.ReadWholeFile("C:\\README.txt", SIZE_MAX), "upper");  // "README.TXT" sorts first
}

TEST_F(PortableFileSystemTest, SkipsEmptyAndDotComponents) {
  for (const char* path : {"C:\\dir\\\\file.txt", "C:\\\\dir\\.\\file.txt", "C:\\other\\..\\dir\\file.txt",
                           "C:\\..\\..\\dir\\file.txt", "C:\\dir\\.\\..\\dir\\file.txt", "C:dir\\file.txt"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(files.ReadWholeFile(path, SIZE_MAX), "content");
  }
  EXPECT_EQ(files.HostPath("C:\\dir\\\\"), Host("dir"));
  EXPECT_TRUE(files.FolderExists("C:\\dir\\\\"));
}

TEST_F(PortableFileSystemTest, RejectsInvalidNameCharacters) {
  Write("dir/sub/x", "");  // a forward slash must not reach it
  for (const std::string& path :
       std::vector<std::string>{"C:\\dir/sub\\x", "C:\\dir\\a:b", "C:\\dir\\*", "C:\\d?r\\x", "C:\\dir\\\"x\"",
                                "C:\\dir\\<x>", "C:\\dir\\a|b", std::string("C:\\dir\\a\0b", 10), "C:\\dir\\\x01"}) {
    SCOPED_TRACE(path);
    auto check = [&](bool ok) {
      EXPECT_FALSE(ok);
      EXPECT_EQ(files.LastError(), kErrorInvalidName);
    };
    check(files.FileExists(path));
    check(files.ReadWholeFile(path, SIZE_MAX).has_value());
    check(files.CreateFolder(path));
    check(files.CreateFolderTree(path));
    check(files.CopyReplacing("C:\\dir\\file.txt", path));
    check(files.List(path + "\\*") != nullptr);
    EXPECT_TRUE(files.HostPath(path).empty());
  }
}

TEST_F(PortableFileSystemTest, SurvivesMalformedPaths) {
  // Relative paths are no malformed ones: the contract suite holds them.
  for (const PathError& c : std::vector<PathError>{{"", kErrorPathNotFound},
                                                   {"\\\\", kErrorPathNotFound},
                                                   {":", kErrorInvalidName},
                                                   {"\\\\?\\C:\\dir", kErrorInvalidName}}) {
    SCOPED_TRACE(c.path);
    EXPECT_FALSE(files.FileExists(c.path));
    EXPECT_EQ(files.LastError(), c.error);
    EXPECT_FALSE(files.CreateFolderTree(c.path));
    EXPECT_EQ(files.LastError(), c.error);
  }
  EXPECT_TRUE(files.FolderExists("C:"));
  EXPECT_TRUE(files.FolderExists("C:\\.."));
}

// The matching rules themselves are wildcard_match_test's; here, that a
// listing applies them to names, short names and the dot entries.
TEST_F(PortableFileSystemTest, ListsWhatThePatternMatches) {
  for (const char* name : {"setup.ini", "Setup.exe", "readme", "x", "notes.text"})
    Write(std::string("pkg/") + name, "");
  struct Case {
    const char* pattern;
    std::vector<std::string> names;
  };
  for (const Case& c : std::vector<Case>{{"*.*", {".", "..", "notes.text", "readme", "Setup.exe", "setup.ini", "x"}},
                                         {"SETUP.*", {"Setup.exe", "setup.ini"}},
                                         {"?", {".", "x"}},
                                         {"??", {".."}},
                                         {"*.TEX", {"notes.text"}},  // through its short name NOTES~1.TEX
                                         {"*.zip", {}}}) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(Names(std::string("C:\\pkg\\") + c.pattern), c.names);
  }
}

TEST_F(PortableFileSystemTest, ListsInCaseInsensitiveOrderWithDotsFirst) {
  for (const char* name : {"b", "A", "a", "_x", "C", "!bang", "10", "9"}) Write(std::string("pkg/") + name, "");
  EXPECT_EQ(Names("C:\\pkg\\*"), (std::vector<std::string>{".", "..", "!bang", "10", "9", "A", "a", "b", "C", "_x"}));
}

TEST_F(PortableFileSystemTest, ListsRootWithoutDotEntries) {
  Write("Zed.txt", "");
  EXPECT_EQ(Names("C:\\*"), (std::vector<std::string>{"dir", "Zed.txt"}));
  EXPECT_EQ(Names("c:*.*"), (std::vector<std::string>{"dir", "Zed.txt"}));
}

TEST_F(PortableFileSystemTest, ReportsAttributesFromTheHost) {
  Write("pkg/plain.txt", "");
  Write("pkg/.hidden", "");
  Write("pkg/locked.txt", "");
  fs::permissions(Host("pkg/locked.txt"), fs::perms::owner_write, fs::perm_options::remove);
  fs::create_directory(Host("pkg/folder"));
  fs::create_directory_symlink(Host("pkg/folder"), Host("pkg/folder_link"));
  fs::create_symlink(Host("pkg/plain.txt"), Host("pkg/file_link"));
  std::vector<FoundEntry> expected{{".", kAttrFolder},
                                   {"..", kAttrFolder},
                                   {".hidden", kAttrHidden | kAttrArchive},
                                   {"file_link", kAttrReparsePoint | kAttrArchive},
                                   {"folder", kAttrFolder},
                                   {"folder_link", kAttrReparsePoint | kAttrFolder},
                                   {"locked.txt", kAttrReadOnly | kAttrArchive},
                                   {"plain.txt", kAttrArchive}};
  auto entries = ListAll("C:\\pkg\\*");
  ASSERT_EQ(entries.size(), expected.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].name, expected[i].name);
    EXPECT_EQ(entries[i].attributes, expected[i].attributes) << expected[i].name;
  }
}

TEST_F(PortableFileSystemTest, AddsAttributesStoredByWine) {
  struct Case {
    const char* stored;
    std::uint32_t attributes;
  };
  for (const Case& c : std::vector<Case>{{"0x22", kAttrHidden | kAttrArchive},
                                         {"0x6", kAttrSystem | kAttrHidden | kAttrArchive},
                                         {"0X1", kAttrReadOnly | kAttrArchive},
                                         {"junk", kAttrArchive},
                                         {"0x1ffffffff", kAttrArchive}}) {
    SCOPED_TRACE(c.stored);
    Write("pkg/dos.txt", "");
    if (::setxattr(Host("pkg/dos.txt").c_str(), "user.DOSATTRIB", c.stored, std::strlen(c.stored), 0) != 0)
      GTEST_SKIP() << "host folder does not take user extended attributes";
    auto entries = ListAll("C:\\pkg\\dos.txt");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].attributes, c.attributes);
  }
}

TEST_F(PortableFileSystemTest, KindListingAgreesWithTheFullOneOnNamesOrderAndKinds) {
  Write("pkg/plain.txt", "");
  Write("pkg/.hidden", "");
  Write("pkg/locked.txt", "");
  Write("pkg/notes.text", "");
  fs::permissions(Host("pkg/locked.txt"), fs::perms::owner_write, fs::perm_options::remove);
  fs::create_directory(Host("pkg/Folder"));
  fs::create_directory_symlink(Host("pkg/Folder"), Host("pkg/folder_link"));
  fs::create_symlink(Host("pkg/plain.txt"), Host("pkg/file_link"));
  fs::create_symlink(Host("pkg/gone"), Host("pkg/dangling"));
  constexpr std::uint32_t kKinds = kAttrFolder | kAttrReparsePoint;
  for (const char* pattern :
       {"C:\\pkg\\*", "C:\\pkg\\*.tex", "C:\\pkg\\f*", "C:\\*", "C:\\pkg\\none*", "C:\\missing\\*"}) {
    SCOPED_TRACE(pattern);
    std::vector<FoundEntry> full = ListAll(pattern);
    std::uint32_t full_error = files.LastError();
    std::vector<FoundEntry> kinds;
    for (auto listing = files.ListKinds(pattern); listing;) {
      auto entry = listing->Next();
      if (!entry) break;
      kinds.push_back(*entry);
    }
    ASSERT_EQ(kinds.size(), full.size());
    for (std::size_t i = 0; i < full.size(); ++i) {
      EXPECT_EQ(kinds[i].name, full[i].name);
      EXPECT_EQ(kinds[i].attributes & kKinds, full[i].attributes & kKinds) << full[i].name;
    }
    if (full.empty()) {
      EXPECT_EQ(files.LastError(), full_error);
    }
  }
}

TEST_F(PortableFileSystemTest, ListingIsASnapshot) {
  auto listing = files.List("C:\\dir\\*");
  ASSERT_NE(listing, nullptr);
  Write("dir/late.txt", "");
  fs::remove(Host("dir/file.txt"));
  std::vector<std::string> names;
  while (auto entry = listing->Next()) names.push_back(entry->name);
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "file.txt"}));
}

TEST_F(PortableFileSystemTest, ReportsWhyAListingFails) {
  files.HoldOpen("C:\\DIR");
  for (const PathError& c : std::vector<PathError>{{"C:\\missing\\*", kErrorPathNotFound},
                                                   {"C:\\dir\\file.txt\\*", kErrorPathNotFound},
                                                   {"C:\\*.zip", kErrorFileNotFound},
                                                   {"C:\\", kErrorFileNotFound},
                                                   {"Q:\\*", kErrorPathNotFound},
                                                   {"C:\\dir\\*", kErrorSharingViolation},
                                                   {"C:\\dir\\a|*", kErrorInvalidName}}) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(files.List(c.path), nullptr);
    EXPECT_EQ(files.LastError(), c.error);
  }
}

TEST_F(PortableFileSystemTest, TellsFoldersFromFiles) {
  fs::create_directory_symlink(Host("dir"), Host("dir_link"));
  struct Case {
    const char* path;
    bool folder;
    bool file;
  };
  for (const Case& c : std::vector<Case>{{"C:\\", true, false},
                                         {"C:\\DIR", true, false},
                                         {"C:\\dir_link", true, false},
                                         {"C:\\dir\\FILE.TXT", false, true},
                                         {"C:\\nothing", false, false},
                                         {"Q:\\dir", false, false}}) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(files.FolderExists(c.path), c.folder);
    EXPECT_EQ(files.FileExists(c.path), c.file);
  }
}

TEST_F(PortableFileSystemTest, ReadsLargeBinaryFiles) {
  std::string bytes;
  for (std::size_t i = 0; i < 3'000'000; ++i) bytes += static_cast<char>((i * 7919) % 256);
  Write("big.bin", bytes);
  EXPECT_EQ(files.ReadWholeFile("C:\\BIG.BIN", SIZE_MAX), bytes);
}

TEST_F(PortableFileSystemTest, ReportsWhyAReadFails) {
  files.HoldOpen("c:\\dir\\FILE.txt");
  for (const PathError& c : std::vector<PathError>{{"C:\\dir\\missing.txt", kErrorFileNotFound},
                                                   {"C:\\missing\\file.txt", kErrorPathNotFound},
                                                   {"C:\\dir", kErrorAccessDenied},
                                                   {"Q:\\dir\\file.txt", kErrorPathNotFound},
                                                   {"C:\\dir\\file.txt", kErrorSharingViolation},
                                                   {PathOfLength(260), kErrorFilenameTooLong}}) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(files.ReadWholeFile(c.path, SIZE_MAX), std::nullopt);
    EXPECT_EQ(files.LastError(), c.error);
  }
  files.MapDrive('E', root / "c");  // another name for the same file
  EXPECT_EQ(files.ReadWholeFile("E:\\dir\\file.txt", SIZE_MAX), std::nullopt);
  EXPECT_EQ(files.LastError(), kErrorSharingViolation);
  files.Release("C:\\DIR\\file.txt");
  EXPECT_EQ(files.ReadWholeFile("C:\\dir\\file.txt", SIZE_MAX), "content");
}

TEST_F(PortableFileSystemTest, CreatesOneFolderOrSaysWhyNot) {
  EXPECT_TRUE(files.CreateFolder("C:\\dir\\New"));
  EXPECT_TRUE(fs::is_directory(Host("dir/New")));
  for (const PathError& c : std::vector<PathError>{{"C:\\DIR\\new", kErrorAlreadyExists},
                                                   {"C:\\dir\\file.txt", kErrorAlreadyExists},
                                                   {"C:\\missing\\new", kErrorPathNotFound},
                                                   {"C:\\dir\\file.txt\\new", kErrorPathNotFound},
                                                   {"Q:\\new", kErrorPathNotFound},
                                                   {PathOfLength(260), kErrorFilenameTooLong}}) {
    SCOPED_TRACE(c.path);
    EXPECT_FALSE(files.CreateFolder(c.path));
    EXPECT_EQ(files.LastError(), c.error);
  }
}

TEST_F(PortableFileSystemTest, CreatesFolderTreesUpToThePathLimit) {
  EXPECT_TRUE(files.CreateFolderTree("C:\\DIR\\a\\b\\c"));
  EXPECT_TRUE(fs::is_directory(Host("dir/a/b/c")));
  EXPECT_TRUE(files.CreateFolderTree("c:\\dir\\A"));

  EXPECT_FALSE(files.CreateFolderTree(PathOfLength(260)));
  EXPECT_EQ(files.LastError(), kErrorFilenameTooLong);
  EXPECT_FALSE(files.FolderExists(PathOfLength(260).substr(0, 50)));  // nothing half made
  EXPECT_TRUE(files.CreateFolderTree(PathOfLength(259)));
  EXPECT_TRUE(files.FolderExists(PathOfLength(259)));
  EXPECT_FALSE(files.CreateFolderTree("C:\\dir\\file.txt\\sub"));
  EXPECT_EQ(files.LastError(), kErrorAlreadyExists);
  EXPECT_FALSE(files.CreateFolderTree("Q:\\a\\b"));
  EXPECT_EQ(files.LastError(), kErrorPathNotFound);
}

TEST_F(PortableFileSystemTest, CopyReplacesTheDestination) {
  Write("dir/old.txt", "much longer old content");
  EXPECT_TRUE(files.CopyReplacing("C:\\dir\\file.txt", "C:\\DIR\\OLD.TXT"));
  EXPECT_EQ(files.ReadWholeFile("C:\\dir\\old.txt", SIZE_MAX), "content");
  EXPECT_FALSE(fs::exists(Host("dir/OLD.TXT")));
  EXPECT_TRUE(files.CopyReplacing("c:\\dir\\file.txt", "C:\\dir\\Fresh.txt"));
  EXPECT_EQ(files.ReadWholeFile("C:\\dir\\fresh.txt", SIZE_MAX), "content");
}

TEST_F(PortableFileSystemTest, CopyOntoReadOnlyFileIsDenied) {
  Write("dir/locked.txt", "kept");
  ::chmod(Host("dir/locked.txt").c_str(), 0444);
  EXPECT_FALSE(files.CopyReplacing("C:\\dir\\file.txt", "C:\\dir\\locked.txt"));
  EXPECT_EQ(files.LastError(), kErrorAccessDenied);
  EXPECT_EQ(files.ReadWholeFile("C:\\dir\\locked.txt", SIZE_MAX), "kept");
}

TEST_F(PortableFileSystemTest, CopyOntoAFullDiskLeavesNoDestination) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full to stand in for a full disk";
  fs::create_symlink("/dev/full", Host("dir/full"));
  EXPECT_FALSE(files.CopyReplacing("C:\\dir\\file.txt", "C:\\dir\\full"));
  EXPECT_EQ(files.LastError(), kErrorDiskFull);
  EXPECT_FALSE(files.FileExists("C:\\dir\\full"));
}

TEST_F(PortableFileSystemTest, ReportsWhyACopyFails) {
  files.HoldOpen("C:\\dir\\held.txt");
  Write("dir/Held.txt", "");  // created after being held, under another case
  fs::create_directory(Host("folder"));
  struct Case {
    const char* from;
    const char* to;
    std::uint32_t error;
  };
  for (const Case& c : std::vector<Case>{{"C:\\dir\\missing", "C:\\dir\\x", kErrorFileNotFound},
                                         {"C:\\missing\\f", "C:\\dir\\x", kErrorPathNotFound},
                                         {"C:\\folder", "C:\\dir\\x", kErrorAccessDenied},
                                         {"C:\\dir\\file.txt", "C:\\folder", kErrorAccessDenied},
                                         {"C:\\dir\\file.txt", "C:\\missing\\x", kErrorPathNotFound},
                                         {"C:\\dir\\held.txt", "C:\\dir\\x", kErrorSharingViolation},
                                         {"C:\\dir\\file.txt", "C:\\DIR\\HELD.TXT", kErrorSharingViolation},
                                         {"C:\\dir\\file.txt", "C:\\dir\\FILE.TXT", kErrorSharingViolation},
                                         {"Q:\\dir\\file.txt", "C:\\dir\\x", kErrorPathNotFound}}) {
    SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
    EXPECT_FALSE(files.CopyReplacing(c.from, c.to));
    EXPECT_EQ(files.LastError(), c.error);
  }
  EXPECT_FALSE(fs::exists(Host("dir/x")));
  EXPECT_EQ(files.ReadWholeFile("C:\\dir\\file.txt", SIZE_MAX), "content");
}

TEST_F(PortableFileSystemTest, ReportsDriveTypes) {
  files.MapDrive('d', root, kDriveCdRom);
  struct Case {
    const char* root;
    std::uint32_t type;
  };
  for (const Case& c : std::vector<Case>{{"C:\\", kDriveFixed},
                                         {"c:\\", kDriveFixed},
                                         {"D:\\", kDriveCdRom},
                                         {"Q:\\", kDriveNoRootDir},
                                         {"C:", kDriveNoRootDir},
                                         {"C:\\dir", kDriveNoRootDir},
                                         {"", kDriveNoRootDir},
                                         {"1:\\", kDriveNoRootDir}}) {
    SCOPED_TRACE(c.root);
    EXPECT_EQ(files.DriveTypeOf(c.root), c.type);
  }
  EXPECT_EQ(files.ReadWholeFile("d:\\C\\Dir\\File.txt", SIZE_MAX), "content");
}

TEST_F(PortableFileSystemTest, GivesTheSystemErrorTexts) {
  struct Case {
    std::uint32_t code;
    std::optional<std::string> text;
  };
  for (const Case& c : std::vector<Case>{{0, "Success.\r\n"},
                                         {2, "File not found.\r\n"},
                                         {3, "Path not found.\r\n"},
                                         {5, "Access denied.\r\n"},
                                         {21, "Not ready.\r\n"},
                                         {32, "Sharing violation.\r\n"},
                                         {112, "Disk full.\r\n"},
                                         {123, "Invalid name.\r\n"},
                                         {183, "File already exists.\r\n"},
                                         {206, "File name is too long.\r\n"},
                                         {1, std::nullopt},
                                         {4, std::nullopt},
                                         {0xFFFFFFFF, std::nullopt}}) {
    EXPECT_EQ(files.ErrorText(c.code), c.text) << c.code;
  }
}

TEST_F(PortableFileSystemTest, EndsTheExecutableFolderWithABackslash) {
  EXPECT_EQ(files.ExecutableFolder(), "C:\\Package\\");
  EXPECT_EQ(PortableFileSystem("D:\\Setup\\").ExecutableFolder(), "D:\\Setup\\");
}

}  // namespace
}  // namespace setup
