#include <gtest/gtest.h>

#include <sstream>

#include "platform/host/registry/regedit4.h"

namespace plumeta::host {
namespace {

using platform::RegistryValue;
using platform::ValueType;

constexpr char kMachine[] = "HKEY_LOCAL_MACHINE";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(Regedit4Test, EveryKindOfValueComesBackByteForByte) {
  const struct {
    const char* what;
    std::string name;
    RegistryValue value;
    std::string line;  // as the file carries it
  } kRows[] = {
      {"text with quotes and backslashes", "Text",
       RegistryValue::String("C:\\WINDOWS \"quoted\""),
       R"("Text"="C:\\WINDOWS \"quoted\"")"},
      {"empty text", "Empty", RegistryValue::String(""), R"("Empty"="")"},
      {"default value", "", RegistryValue::String("x"), R"(@="x")"},
      {"text with an embedded NUL",
       "Nul",
       {ValueType::kString, std::string("ab\0cd\0", 6)},
       R"("Nul"=hex(1):61,62,00,63,64,00)"},
      {"text with CR LF", "Lines", RegistryValue::String("a\r\nb"),
       R"("Lines"=hex(1):61,0d,0a,62,00)"},
      {"text without its NUL",
       "Bare",
       {ValueType::kString, "abc"},
       R"("Bare"=hex(1):61,62,63)"},
      {"a REG_SZ of no bytes",
       "Nothing",
       {ValueType::kString, ""},
       R"("Nothing"=hex(1):)"},
      {"REG_EXPAND_SZ", "Path", RegistryValue::ExpandString("%windir%"),
       R"("Path"=hex(2):25,77,69,6e,64,69,72,25,00)"},
      {"REG_DWORD", "Number", RegistryValue::FromDword(300),
       R"("Number"=dword:0000012c)"},
      {"REG_DWORD of two bytes",
       "Odd",
       {ValueType::kDword, "\x01\x02"},
       R"("Odd"=hex(4):01,02)"},
      {"REG_BINARY",
       "Bytes",
       {ValueType::kBinary, std::string("\x00\xff\x7f", 3)},
       R"("Bytes"=hex:00,ff,7f)"},
      {"REG_MULTI_SZ",
       "Multi",
       {ValueType::kMultiString, std::string("a\0b\0\0", 5)},
       R"("Multi"=hex(7):61,00,62,00,00)"},
      {"a name with a quote and a backslash", "a\"b\\c",
       RegistryValue::String("v"), R"("a\"b\\c"="v")"},
      {"ANSI text", "Accents", RegistryValue::String("\xe9t\xe9"),
       "\"Accents\"=\"\xe9t\xe9\""},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    Hive hive;
    hive.Create({"SOFTWARE", "Test"}).SetValue(row.name, row.value);
    std::string text = WriteRegedit4(hive, kMachine);
    std::vector<std::string> lines = Lines(text);
    EXPECT_NE(std::find(lines.begin(), lines.end(), row.line), lines.end())
        << text;

    Hive read;
    std::string error;
    ASSERT_TRUE(ParseRegedit4(text, kMachine, &read, &error)) << error;
    const HiveKey* key = read.Find({"SOFTWARE", "Test"});
    ASSERT_NE(key, nullptr);
    const RegistryValue* value = key->FindValue(row.name);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, row.value.type);
    EXPECT_EQ(value->data, row.value.data);
  }
}

TEST(Regedit4Test, TextWithAnEmbeddedNulReadsUpToTheNul) {
  Hive hive;
  hive.Create({"K"}).SetValue(
      "Nul", {ValueType::kString, std::string("before\0after\0", 13)});
  Hive read;
  std::string error;
  ASSERT_TRUE(
      ParseRegedit4(WriteRegedit4(hive, kMachine), kMachine, &read, &error));
  EXPECT_EQ(read.Find({"K"})->FindValue("Nul")->Text(), "before");
}

TEST(Regedit4Test, LongHexListsGoOnOverLinesEndingInABackslash) {
  std::string bytes;
  for (int i = 0; i < 200; ++i) bytes += static_cast<char>(i);
  Hive hive;
  hive.Create({"K"}).SetValue("Long", {ValueType::kBinary, bytes});
  std::string text = WriteRegedit4(hive, kMachine);
  std::vector<std::string> lines = Lines(text);
  int continued = 0;
  for (const std::string& line : lines) {
    EXPECT_LE(line.size(), 80u) << line;
    if (!line.empty() && line.back() == '\\') ++continued;
  }
  EXPECT_GT(continued, 5);

  Hive read;
  std::string error;
  ASSERT_TRUE(ParseRegedit4(text, kMachine, &read, &error)) << error;
  EXPECT_EQ(read.Find({"K"})->FindValue("Long")->data, bytes);
}

TEST(Regedit4Test, ReadsWhatAPersonOrRegeditWrites) {
  const std::string text =
      "REGEDIT4\r\n"
      "; a comment\r\n"
      "\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Plumeta]\r\n"
      "@=\"default\"\r\n"
      "\"Number\"=dword:12C\r\n"
      "\"Bytes\"=HEX:01, 02,\\\r\n"
      "    03\r\n"
      "[hkey_local_machine\\software\\PLUMETA]\r\n"
      "\"Later\"=\"same key\"\r\n";
  Hive hive;
  std::string error;
  ASSERT_TRUE(ParseRegedit4(text, kMachine, &hive, &error)) << error;
  const HiveKey* key = hive.Find({"software", "plumeta"});
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->name(), "Plumeta");
  EXPECT_EQ(key->FindValue("")->Text(), "default");
  EXPECT_EQ(key->FindValue("number")->Dword(), 300u);
  EXPECT_EQ(key->FindValue("Bytes")->data, "\x01\x02\x03");
  EXPECT_EQ(key->FindValue("Later")->Text(), "same key");
  EXPECT_EQ(hive.root().subkeys().size(), 1u);
}

TEST(Regedit4Test, RefusesMalformedFilesNamingTheLine) {
  const struct {
    const char* what;
    std::string text;
    const char* line;
  } kRows[] = {
      {"no header", "[HKEY_LOCAL_MACHINE\\A]\n", "line 1:"},
      {"value before any key", "REGEDIT4\n\"a\"=\"b\"\n", "line 2:"},
      {"unknown escape", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=\"\\q\"\n",
       "line 3:"},
      {"unclosed string", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=\"b\n",
       "line 3:"},
      {"another root", "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n", "line 2:"},
      {"a root that only begins alike", "REGEDIT4\n[HKEY_LOCAL_MACHINEX]\n",
       "line 2:"},
      {"bad dword", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=dword:xyz\n",
       "line 3:"},
      {"dword too long",
       "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=dword:123456789\n", "line 3:"},
      {"three hex digits", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=hex:123\n",
       "line 3:"},
      {"list cut short", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=hex:12,\\\n",
       "line 3:"},
      {"empty key name", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\\\\B]\n", "line 2:"},
      {"deletion", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=-\n", "line 3:"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    Hive hive;
    std::string error;
    EXPECT_FALSE(ParseRegedit4(row.text, kMachine, &hive, &error));
    EXPECT_EQ(error.rfind(row.line, 0), 0u) << error;
  }
}

TEST(Regedit4Test, WritesEveryKeyWithSubkeysInWindowsOrder) {
  Hive hive;
  hive.Create({"SOFTWARE", "b"});
  hive.Create({"SOFTWARE", "A"});
  hive.Create({"SOFTWARE", "c"}).SetValue("v", RegistryValue::FromDword(1));
  std::vector<std::string> keys;
  for (const std::string& line : Lines(WriteRegedit4(hive, kMachine))) {
    if (!line.empty() && line[0] == '[') keys.push_back(line);
  }
  EXPECT_EQ(keys, (std::vector<std::string>{
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE]",
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]",
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\b]",
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\c]",
                  }));
}

}  // namespace
}  // namespace plumeta::host
