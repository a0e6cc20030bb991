#include "platform/reg_file.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

using Kind = RegOperation::Kind;

TEST(RegFileTest, ReadsEveryValueForm) {
  auto ops = ParseRegFile(
      "REGEDIT4\r\n"
      "\r\n"
      "; a comment\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Host\\5.0]\r\n"
      "@=\"default\"\r\n"
      "\"Path\"=\"C:\\\\Plug \\\"ins\\\"\"\r\n"
      "\"Count\"=dword:0000010a\r\n"
      "\"Bytes\"=hex:41,42,\\\r\n"
      "  43\r\n"
      "\"Expand\"=hex(2):25,41,25,00\r\n"
      "\"Gone\"=-\r\n"
      "[-HKEY_CURRENT_USER\\Software\\Old]\r\n");
  ASSERT_EQ(ops.size(), 8u);
  EXPECT_EQ(ops[0].kind, Kind::kCreateKey);
  EXPECT_EQ(ops[0].root, RootKey::kLocalMachine);
  EXPECT_EQ(ops[0].path, "Software\\Host\\5.0");
  EXPECT_EQ(ops[1].name, "");
  EXPECT_EQ(ops[1].data, std::string("default\0", 8));
  EXPECT_EQ(ops[2].name, "Path");
  EXPECT_EQ(ops[2].data, std::string("C:\\Plug \"ins\"\0", 14));
  EXPECT_EQ(ops[3].type, kRegDword);
  EXPECT_EQ(ops[3].data, std::string("\x0a\x01\0\0", 4));
  EXPECT_EQ(ops[4].type, kRegBinary);
  EXPECT_EQ(ops[4].data, "ABC");
  EXPECT_EQ(ops[5].type, kRegExpandSz);
  EXPECT_EQ(ops[5].data, std::string("%A%\0", 4));
  EXPECT_EQ(ops[6].kind, Kind::kDeleteValue);
  EXPECT_EQ(ops[7].kind, Kind::kDeleteKey);
  EXPECT_EQ(ops[7].root, RootKey::kCurrentUser);
  // values below a deleted key are ignored
  auto deletion = ParseRegFile("REGEDIT4\n[-HKEY_CURRENT_USER\\Software\\Old]\n\"x\"=\"ignored\"\n");
  ASSERT_EQ(deletion.size(), 1u);
  EXPECT_EQ(deletion[0].kind, Kind::kDeleteKey);
  EXPECT_EQ(deletion[0].path, "Software\\Old");
}

TEST(RegFileTest, Version5TextTypesAreUtf16) {
  auto ops = ParseRegFile(
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n"
      "[HKCU\\Software\\X]\n"
      "\"E\"=hex(2):43,00,3a,00,5c,00,00,00\n"
      "\"W\"=hex(1):41,00,20,ac,00,00\n"
      "\"B\"=hex:43,00\n");
  ASSERT_EQ(ops.size(), 4u);
  EXPECT_EQ(ops[1].data, std::string("C:\\\0", 4));
  EXPECT_EQ(ops[2].data, std::string("A?\0", 3));
  EXPECT_EQ(ops[3].data, std::string("C\0", 2));  // binary stays as written
}

TEST(RegFileTest, MalformedLinesAreNamed) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"", "line 1: empty registry file"},
      {"REGEDIT5\n", "line 1: not a registry file"},
      {"REGEDIT4\n\"v\"=\"x\"\n", "line 2: a value before the first key"},
      {"REGEDIT4\n[HKEY_CLASSES_ROOT\\x]\n", "line 2: unknown root key 'HKEY_CLASSES_ROOT'"},
      {"REGEDIT4\n[HKCU\\x\n", "line 2: a key line must end in ']'"},
      {"REGEDIT4\n[HKCU\\x]\n\n\"v\"=dword:xyz\n", "line 4: malformed dword data"},
      {"REGEDIT4\n[HKCU\\x]\n\"v\"=dword:123456789\n", "line 3: malformed dword data"},
      {"REGEDIT4\n[HKCU\\x]\n\"v\"=hex:4g\n", "line 3: malformed hex data"},
      {"REGEDIT4\n[HKCU\\x]\n\"v\"=hex:41,\n", "line 3: malformed hex data"},
      {"REGEDIT4\n[HKCU\\x]\n\"v\"=hex(zz):41\n", "line 3: malformed hex type"},
      {"REGEDIT4\n[HKCU\\x]\n\"v\"=\"open\n", "line 3: malformed string data"},
      {"REGEDIT4\n[HKCU\\x]\n\"v=\"x\"\n", "line 3: '=' expected after the value name"},
      {"REGEDIT4\n[HKCU\\x]\n\"v\" \"x\"\n", "line 3: '=' expected after the value name"},
      {"REGEDIT4\n[HKCU\\x]\nv=1\n", "line 3: neither a key nor a value"},
      {"REGEDIT4\n[HKCU\\x]\n\"v\"=other\n", "line 3: unknown value data"},
  };
  for (const Case& c : cases) {
    try {
      ParseRegFile(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const RegFileError& error) {
      EXPECT_EQ(std::string(error.what()).rfind(c.message, 0), 0u) << error.what();
    }
  }
}

}  // namespace
}  // namespace setup
