#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "contract/contract_world.h"

namespace setup {
namespace {

struct FileSystemContractTest : testing::Test {
  void SetUp() override {
    world_ = MakeContractWorld();
    folder_ = world_->Folder();
  }
  FileSystem& files() { return world_->files(); }
  // Entry names with their attributes, from a listing.
  std::map<std::string, std::uint32_t> List(const std::string& pattern) {
    std::map<std::string, std::uint32_t> entries;
    std::unique_ptr<FolderListing> listing = files().List(pattern);
    if (!listing) return entries;
    while (std::optional<FoundEntry> entry = listing->Next()) entries[entry->name] = entry->attributes;
    return entries;
  }
  std::unique_ptr<ContractWorld> world_;
  std::string folder_;
};

constexpr std::uint32_t kVisibleBits = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrFolder | kAttrArchive;

TEST_F(FileSystemContractTest, ListingGivesNamesAndAttributes) {
  world_->WriteFile(folder_ + "Plain.8BF", "p");
  world_->WriteFile(folder_ + "hidden.8bf", "h");
  world_->WriteFile(folder_ + "system.8bf", "s");
  world_->WriteFile(folder_ + "readonly.8bf", "r");
  world_->WriteFile(folder_ + "other.txt", "o");
  world_->MakeFolder(folder_ + "Folder.8bf");
  world_->SetAttributes(folder_ + "hidden.8bf", kAttrHidden);
  world_->SetAttributes(folder_ + "system.8bf", kAttrSystem);
  world_->SetAttributes(folder_ + "readonly.8bf", kAttrReadOnly);

  std::map<std::string, std::uint32_t> entries = List(folder_ + "*");
  std::map<std::string, std::uint32_t> visible;
  for (auto& [name, attributes] : entries) visible[name] = attributes & kVisibleBits;
  EXPECT_EQ(visible, (std::map<std::string, std::uint32_t>{
                         {".", kAttrFolder},
                         {"..", kAttrFolder},
                         {"Folder.8bf", kAttrFolder},
                         {"Plain.8BF", kAttrArchive},
                         {"hidden.8bf", kAttrHidden | kAttrArchive},
                         {"other.txt", kAttrArchive},
                         {"readonly.8bf", kAttrReadOnly | kAttrArchive},
                         {"system.8bf", kAttrSystem | kAttrArchive},
                     }));
  world_->SetAttributes(folder_ + "readonly.8bf", 0);
}

TEST_F(FileSystemContractTest, PatternsMatchRegardlessOfCase) {
  for (const char* name : {"a.8bf", "B.8BF", "c.8bfx", "d.txt", "ab.8bf"}) world_->WriteFile(folder_ + name, "x");
  auto names = [&](const std::string& pattern) {
    std::string joined;
    for (auto& [name, attributes] : List(folder_ + pattern)) joined += name + " ";
    return joined;
  };
  // A long extension also matches through its short 8.3 name (C~XXXX.8BF).
  EXPECT_EQ(names("*.8bf"), "B.8BF a.8bf ab.8bf c.8bfx ");
  EXPECT_EQ(names("*.8bfx"), "c.8bfx ");
  EXPECT_EQ(names("*.8b"), "");
  EXPECT_EQ(names("?.8Bf"), "B.8BF a.8bf ");
  EXPECT_EQ(names("D.TXT"), "d.txt ");
  EXPECT_EQ(names("*.*").size(), names("*").size());
}

TEST_F(FileSystemContractTest, FailedListingsSetTheError) {
  EXPECT_FALSE(files().List(folder_ + "missing\\*"));
  EXPECT_EQ(files().LastError(), kErrorPathNotFound);
  EXPECT_FALSE(files().List(folder_ + "*.none"));
  EXPECT_EQ(files().LastError(), kErrorFileNotFound);
}

TEST_F(FileSystemContractTest, ExistenceRegardlessOfCaseAndDoubledBackslashes) {
  world_->WriteFile(folder_ + "Sub\\Data.TXT", "d");
  EXPECT_TRUE(files().FileExists(folder_ + "sub\\data.txt"));
  EXPECT_TRUE(files().FileExists(folder_ + "Sub\\\\Data.TXT"));
  EXPECT_FALSE(files().FolderExists(folder_ + "Sub\\Data.TXT"));
  EXPECT_TRUE(files().FolderExists(folder_ + "SUB"));
  EXPECT_TRUE(files().FolderExists(folder_ + "Sub\\"));
  EXPECT_TRUE(files().FolderExists(folder_ + "Sub\\\\"));
  EXPECT_FALSE(files().FileExists(folder_ + "Sub"));
  EXPECT_FALSE(files().FileExists(folder_ + "missing.txt"));
  EXPECT_FALSE(files().FolderExists(folder_ + "missing"));
  EXPECT_TRUE(files().FolderExists(files().ExecutableFolder()));
  EXPECT_EQ(files().ExecutableFolder().back(), '\\');
}

TEST_F(FileSystemContractTest, RelativePathsStartFromTheCurrentFolder) {
  world_->WriteFile(folder_ + "Sub\\file.txt", "f");
  world_->SetCurrentFolder(folder_);
  std::string drive = folder_.substr(0, 2);   // "C:"
  std::string from_root = folder_.substr(2);  // "\...\t0\"
  struct Case {
    std::string path;
    bool folder;
    bool file;
  } cases[] = {
      {"Sub", true, false},
      {"sub\\FILE.txt", false, true},
      {".\\Sub\\..\\Sub", true, false},
      {drive + "Sub", true, false},  // on the current drive: from the current folder
      {drive + "sub\\file.txt", false, true},
      {from_root + "Sub", true, false},  // from the current drive's root
      {"Missing", false, false},
      {"", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(files().FolderExists(c.path), c.folder) << c.path;
    EXPECT_EQ(files().FileExists(c.path), c.file) << c.path;
  }
  EXPECT_EQ(files().ReadWholeFile("Sub\\file.txt", 10), "f");
}

TEST_F(FileSystemContractTest, ReadsWholeFilesAsBytes) {
  std::string bytes("line one\r\n\0binary\xff\x01", 19);
  bytes += std::string(200000, 'z');
  world_->WriteFile(folder_ + "data.bin", bytes);
  EXPECT_EQ(files().ReadWholeFile(folder_ + "data.bin", SIZE_MAX), bytes);
  world_->WriteFile(folder_ + "empty.txt", "");
  EXPECT_EQ(files().ReadWholeFile(folder_ + "empty.txt", SIZE_MAX), "");
  EXPECT_FALSE(files().ReadWholeFile(folder_ + "missing.txt", SIZE_MAX));
  EXPECT_FALSE(files().ReadWholeFile(folder_, SIZE_MAX));
  // A device name opens the device, not a file: refused.
  EXPECT_FALSE(files().ReadWholeFile(folder_ + "NUL", SIZE_MAX));
  EXPECT_EQ(files().LastError(), kErrorAccessDenied);
  // A limit refuses a larger file as too large, and takes one of its size.
  EXPECT_EQ(files().ReadWholeFile(folder_ + "data.bin", bytes.size()), bytes);
  EXPECT_FALSE(files().ReadWholeFile(folder_ + "data.bin", bytes.size() - 1));
  EXPECT_EQ(files().LastError(), kErrorFileTooLarge);
  auto held = world_->HoldOpen(folder_ + "data.bin");
  EXPECT_FALSE(files().ReadWholeFile(folder_ + "data.bin", SIZE_MAX));
  EXPECT_EQ(files().LastError(), kErrorSharingViolation);
}

TEST_F(FileSystemContractTest, CreatesFolders) {
  EXPECT_TRUE(files().CreateFolder(folder_ + "one"));
  EXPECT_TRUE(files().FolderExists(folder_ + "one"));
  EXPECT_FALSE(files().CreateFolder(folder_ + "one"));
  EXPECT_EQ(files().LastError(), kErrorAlreadyExists);
  EXPECT_FALSE(files().CreateFolder(folder_ + "missing\\two"));
  EXPECT_EQ(files().LastError(), kErrorPathNotFound);

  EXPECT_TRUE(files().CreateFolderTree(folder_ + "a\\b\\c"));
  EXPECT_TRUE(files().FolderExists(folder_ + "a\\b\\c"));
  EXPECT_TRUE(files().CreateFolderTree(folder_ + "a\\b\\c\\"));  // already there
  world_->WriteFile(folder_ + "file", "f");
  EXPECT_FALSE(files().CreateFolderTree(folder_ + "file\\below"));

  EXPECT_FALSE(files().CreateFolder(folder_ + std::string(300, 'n')));
  EXPECT_EQ(files().LastError(), kErrorFilenameTooLong);
  // Twenty thousand levels: refused as too long, not walked level by level.
  std::string deep = folder_ + "deep\\";
  for (int i = 0; i < 20000; ++i) deep += "a\\";
  EXPECT_FALSE(files().CreateFolderTree(deep));
  EXPECT_EQ(files().LastError(), kErrorFilenameTooLong);
  EXPECT_FALSE(files().FolderExists(folder_ + "deep"));
}

TEST_F(FileSystemContractTest, CopyReplacesAndReportsErrors) {
  world_->WriteFile(folder_ + "source.8bf", "new content");
  world_->WriteFile(folder_ + "target\\source.8bf", "old");
  EXPECT_TRUE(files().CopyReplacing(folder_ + "source.8bf", folder_ + "target\\source.8bf"));
  EXPECT_EQ(world_->ReadFile(folder_ + "target\\source.8bf"), "new content");
  EXPECT_TRUE(files().CopyReplacing(folder_ + "SOURCE.8bf", folder_ + "target\\copy.8bf"));
  EXPECT_EQ(world_->ReadFile(folder_ + "target\\copy.8bf"), "new content");

  EXPECT_FALSE(files().CopyReplacing(folder_ + "missing.8bf", folder_ + "target\\x.8bf"));
  EXPECT_EQ(files().LastError(), kErrorFileNotFound);
  EXPECT_FALSE(files().CopyReplacing(folder_ + "source.8bf", folder_ + "nowhere\\x.8bf"));
  EXPECT_EQ(files().LastError(), kErrorPathNotFound);
  {
    auto held = world_->HoldOpen(folder_ + "target\\copy.8bf");
    EXPECT_FALSE(files().CopyReplacing(folder_ + "source.8bf", folder_ + "target\\copy.8bf"));
    EXPECT_EQ(files().LastError(), kErrorSharingViolation);
  }
  {
    auto held = world_->HoldOpen(folder_ + "source.8bf");
    EXPECT_FALSE(files().CopyReplacing(folder_ + "source.8bf", folder_ + "target\\y.8bf"));
    EXPECT_EQ(files().LastError(), kErrorSharingViolation);
  }
}

TEST_F(FileSystemContractTest, WritesAppendsAndRemoves) {
  const std::string log = folder_ + "setup.log";
  EXPECT_TRUE(files().AppendToFile(log, "one\r\n"));
  EXPECT_TRUE(files().AppendToFile(log, "two\r\n"));
  EXPECT_EQ(world_->ReadFile(log), "one\r\ntwo\r\n");
  EXPECT_FALSE(files().AppendToFile(folder_ + "nowhere\\setup.log", "x"));
  EXPECT_EQ(files().LastError(), kErrorPathNotFound);

  const std::string record = folder_ + "record.txt";
  EXPECT_TRUE(files().WriteWholeFile(record, "a long first content"));
  EXPECT_TRUE(files().WriteWholeFile(record, "short"));
  EXPECT_EQ(world_->ReadFile(record), "short");
  EXPECT_FALSE(files().FileExists(record + ".new"));

  world_->WriteFile(folder_ + "Sub\\readonly.8bf", "r");
  world_->SetAttributes(folder_ + "Sub\\readonly.8bf", kAttrReadOnly);
  EXPECT_FALSE(files().RemoveFolder(folder_ + "Sub"));
  EXPECT_EQ(files().LastError(), kErrorDirNotEmpty);
  EXPECT_FALSE(files().RemoveFile(folder_ + "Sub"));
  EXPECT_TRUE(files().FolderExists(folder_ + "Sub"));
  EXPECT_TRUE(files().RemoveFile(folder_ + "SUB\\READONLY.8bf"));
  EXPECT_FALSE(files().FileExists(folder_ + "Sub\\readonly.8bf"));
  EXPECT_FALSE(files().RemoveFile(folder_ + "Sub\\readonly.8bf"));
  EXPECT_EQ(files().LastError(), kErrorFileNotFound);
  EXPECT_TRUE(files().RemoveFolder(folder_ + "Sub"));
  EXPECT_FALSE(files().FolderExists(folder_ + "Sub"));
  {
    auto held = world_->HoldOpen(log);
    EXPECT_FALSE(files().RemoveFile(log));
    EXPECT_EQ(files().LastError(), kErrorSharingViolation);
  }
  std::string common = files().CommonDataFolder();
  EXPECT_EQ(common.substr(1, 2), ":\\") << common;
  EXPECT_NE(common.back(), '\\');
}

TEST_F(FileSystemContractTest, WhatTheInstallRecordReliesOn) {
  world_->WriteFile(folder_ + "plug-in.8bf", "new");
  world_->WriteFile(folder_ + "Host\\plug-in.8bf", "old");
  // No link at an ordinary file, a folder or nothing at all.
  for (const std::string& path : {folder_ + "plug-in.8bf", folder_ + "Host", folder_ + "missing"})
    EXPECT_FALSE(files().IsLink(path)) << path;
  std::map<std::string, std::uint32_t> before = List(folder_ + "Host\\*");
  EXPECT_TRUE(files().CanWriteIn(folder_ + "Host"));
  EXPECT_EQ(List(folder_ + "Host\\*"), before);  // the probe is gone again
  EXPECT_FALSE(files().CanWriteIn(folder_ + "missing"));
  // Asked for the next restart, the move changes nothing now.
  EXPECT_TRUE(files().ReplaceAtRestart(folder_ + "plug-in.8bf", folder_ + "Host\\plug-in.8bf"));
  EXPECT_TRUE(files().RemoveAtRestart(folder_ + "plug-in.8bf"));
  EXPECT_EQ(world_->ReadFile(folder_ + "Host\\plug-in.8bf"), "old");
  EXPECT_EQ(world_->ReadFile(folder_ + "plug-in.8bf"), "new");
  for (const std::string& folder : {files().ProgramFilesFolder(), files().LocalDataFolder(), files().WindowsFolder()}) {
    EXPECT_EQ(folder.substr(1, 2), ":\\") << folder;
    EXPECT_NE(folder.back(), '\\') << folder;
  }
  std::string program = files().ExecutablePath();
  EXPECT_EQ(program.substr(0, program.rfind('\\') + 1), files().ExecutableFolder());
}

TEST_F(FileSystemContractTest, ErrorTextsEndInALineBreak) {
  struct Case {
    std::uint32_t code;
    const char* text;
  } cases[] = {
      {kErrorFileNotFound, "File not found.\r\n"},       {kErrorPathNotFound, "Path not found.\r\n"},
      {kErrorAccessDenied, "Access denied.\r\n"},        {kErrorSharingViolation, "Sharing violation.\r\n"},
      {kErrorAlreadyExists, "File already exists.\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(files().ErrorText(c.code), c.text) << c.code;
  EXPECT_FALSE(files().ErrorText(0x20001234u));
}

TEST_F(FileSystemContractTest, OnlyMappedDrivesHaveARoot) {
  EXPECT_EQ(files().DriveTypeOf("C:\\"), kDriveFixed);
  EXPECT_EQ(files().DriveTypeOf("Q:\\"), kDriveNoRootDir);
  std::map<std::string, std::uint32_t> root = List("C:\\*");
  EXPECT_FALSE(root.empty());
  EXPECT_EQ(root.count("."), 0u);
  EXPECT_EQ(root.count(".."), 0u);
}

}  // namespace
}  // namespace setup
