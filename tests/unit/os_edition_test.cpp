#include "common/os_edition.h"

#include <gtest/gtest.h>

#include "platform/host/registry/memory_registry.h"
#include "tests/unit/support/fake_system.h"
#include "tests/unit/support/standard_user_registry.h"

namespace plumeta {
namespace {

using platform::PlatformId;
using platform::ProductType;
using platform::VersionInfo;

constexpr ProductType kWorkstation = ProductType::kWorkstation;
constexpr ProductType kServer = ProductType::kServer;
constexpr ProductType kUnknown = ProductType::kNotAvailable;

VersionInfo Nt(std::uint32_t major, std::uint32_t minor, ProductType type) {
  return {PlatformId::kNt, major, minor, 0, "", type};
}

// On Windows 9x the minor version is read from bits 16 to 23 of the build.
VersionInfo Win9x(std::uint32_t major, std::uint32_t build_minor,
                  const std::string& service_pack) {
  return {PlatformId::kWindows9x,     major,        0,
          build_minor << 16 | 0x08AE, service_pack, kUnknown};
}

struct EditionRow {
  const char* what;
  VersionInfo version;
  int edition;
  const char* name;
};

class OsEditionTest : public ::testing::Test {
 protected:
  int EditionOf(const std::optional<VersionInfo>& version) {
    system_.version = version;
    return OsEdition(system_, registry_);
  }
  void StoreProductType(const std::string& text) {
    std::unique_ptr<platform::RegistryKey> key;
    ASSERT_EQ(
        registry_.OpenKey(platform::RootKey::kLocalMachine,
                          "SYSTEM\\CurrentControlSet\\Control\\ProductOptions",
                          true, &key),
        platform::kSuccess);
    ASSERT_EQ(key->WriteString("ProductType", text), platform::kSuccess);
  }

  testing::FakeSystem system_;
  host::MemoryRegistry registry_;
};

TEST_F(OsEditionTest, EveryRowOfTheTable) {
  const EditionRow kRows[] = {
      {"Win32s",
       {PlatformId::kWin32s, 3, 10, 0, "", kUnknown},
       0,
       "Microsoft Windows 3.11"},
      {"95", Win9x(4, 0, ""), 1, "Microsoft Windows 95"},
      {"95 OSR2 C first", Win9x(4, 3, "C"), 2, "Microsoft Windows 95 OSR2"},
      {"95 OSR2 C second", Win9x(4, 3, " C"), 2, "Microsoft Windows 95 OSR2"},
      {"95 C third", Win9x(4, 3, "  C"), 1, "Microsoft Windows 95"},
      {"95 lower-case c", Win9x(4, 3, "c"), 1, "Microsoft Windows 95"},
      {"98", Win9x(4, 10, ""), 3, "Microsoft Windows 98"},
      {"98 SE", Win9x(4, 10, " A "), 4, "Microsoft Windows 98 Second Edition"},
      {"98 A first", Win9x(4, 89, "A"), 4,
       "Microsoft Windows 98 Second Edition"},
      {"98 A third", Win9x(4, 10, "  A"), 3, "Microsoft Windows 98"},
      {"Me", Win9x(4, 90, " "), 5, "Microsoft Windows Me"},
      {"Me upper bound", Win9x(4, 99, ""), 5, "Microsoft Windows Me"},
      {"9x minor 100", Win9x(4, 100, ""), 10, "Microsoft Windows XP"},
      {"9x major 5", Win9x(5, 10, ""), 10, "Microsoft Windows XP"},
      {"NT 3.51", Nt(3, 51, kWorkstation), 6, "Microsoft Windows NT"},
      {"NT 4.0", Nt(4, 0, kWorkstation), 6, "Microsoft Windows NT"},
      {"NT 4.0 server", Nt(4, 0, kServer), 7, "Microsoft Windows NT Server"},
      {"2000", Nt(5, 0, kWorkstation), 8, "Microsoft Windows 2000"},
      {"2000 server", Nt(5, 0, kServer), 9, "Microsoft Windows 2000 Server"},
      {"2000 domain controller", Nt(5, 0, ProductType::kDomainController), 9,
       "Microsoft Windows 2000 Server"},
      {"XP", Nt(5, 1, kWorkstation), 10, "Microsoft Windows XP"},
      {"XP server", Nt(5, 1, kServer), 11, "Microsoft Windows XP Server"},
      {"NT 5.2 workstation", Nt(5, 2, kWorkstation), 10,
       "Microsoft Windows XP"},
      {"2003", Nt(5, 2, kServer), 12, "Microsoft Windows Server 2003"},
      {"Vista", Nt(6, 0, kWorkstation), 13, "Microsoft Windows Vista"},
      {"2008", Nt(6, 0, kServer), 14, "Microsoft Windows Server 2008"},
      {"7", Nt(6, 1, kWorkstation), 15, "Microsoft Windows 7"},
      {"2008 R2", Nt(6, 1, kServer), 16, "Microsoft Windows Server 2008 R2"},
      {"8", Nt(6, 2, kWorkstation), 17, ""},
      {"2012", Nt(6, 2, kServer), 18, ""},
      {"8.1", Nt(6, 3, kWorkstation), 19, ""},
      {"NT 6.3 server", Nt(6, 3, kServer), 10, "Microsoft Windows XP"},
      {"NT 6.4", Nt(6, 4, kWorkstation), 10, "Microsoft Windows XP"},
      {"NT 10.0", Nt(10, 0, kWorkstation), 10, "Microsoft Windows XP"},
      {"NT 5.3", Nt(5, 3, kWorkstation), 10, "Microsoft Windows XP"},
  };
  for (const EditionRow& row : kRows) {
    SCOPED_TRACE(row.what);
    const int edition = EditionOf(row.version);
    EXPECT_EQ(edition, row.edition);
    EXPECT_EQ(OsName(edition), row.name);
  }
}

TEST_F(OsEditionTest, OnlyNt4AndEarlierNameWindowsNt) {
  for (int edition = 0; edition <= 19; ++edition) {
    SCOPED_TRACE(edition);
    EXPECT_EQ(OsName(edition).find("Windows NT") != std::string::npos,
              edition == 6 || edition == 7);
  }
}

TEST_F(OsEditionTest, ProductOptionsDecideWithoutExtendedInformation) {
  const struct {
    const char* stored;  // nullptr: no value at all
    int edition_on_nt4;
    int edition_on_2000;
  } kRows[] = {
      {"WinNT", 6, 8},   {"WINNT", 6, 8},    {"winnt", 6, 8},
      {"xWinNTx", 6, 8}, {"ServerNT", 7, 9}, {"LanmanNT", 7, 9},
      {"", 7, 9},        {nullptr, 7, 9},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.stored ? row.stored : "(no value)");
    registry_ = host::MemoryRegistry();
    if (row.stored != nullptr) StoreProductType(row.stored);
    EXPECT_EQ(EditionOf(Nt(4, 0, kUnknown)), row.edition_on_nt4);
    EXPECT_EQ(EditionOf(Nt(5, 0, kUnknown)), row.edition_on_2000);
  }
}

// Every user may read the product type; only an administrator may write it.
TEST_F(OsEditionTest, ProductOptionsAreReadWithoutAdministratorRights) {
  StoreProductType("WinNT");
  system_.version = Nt(4, 0, kUnknown);
  testing::StandardUserRegistry standard_user(registry_);
  EXPECT_EQ(OsEdition(system_, standard_user), 6);
}

TEST_F(OsEditionTest, FailingVersionCallCountsAsNtZero) {
  StoreProductType("WinNT");
  EXPECT_EQ(EditionOf(std::nullopt), 6);
  system_.version = std::nullopt;
  EXPECT_EQ(DecideOsFamily(system_), OsFamily::kNt4);
}

TEST_F(OsEditionTest, ProductTypeIsNotReadWhenTheSystemGivesIt) {
  StoreProductType("ServerNT");
  EXPECT_EQ(EditionOf(Nt(5, 0, kWorkstation)), 8);
  // On 9x the registry is not consulted either.
  EXPECT_EQ(EditionOf(Win9x(4, 10, "")), 3);
}

TEST(OsFamilyTest, FromPlatformAndMajorVersion) {
  const struct {
    const char* what;
    VersionInfo version;
    OsFamily family;
    const char* operating_system;
    const char* version_text;
  } kRows[] = {
      {"95",
       {PlatformId::kWindows9x, 4, 0, 0x040003B6, "", kUnknown},
       OsFamily::kWin9x,
       "Windows 95",
       "4.0"},
      {"98",
       {PlatformId::kWindows9x, 4, 10, 0x040A08AE, " A ", kUnknown},
       OsFamily::kWin9x,
       "Windows 98",
       "4.10"},
      {"Me",
       {PlatformId::kWindows9x, 4, 90, 0x045A0BB8, " ", kUnknown},
       OsFamily::kWin9x,
       "Windows 98",
       "4.90"},
      {"Win32s",
       {PlatformId::kWin32s, 3, 10, 0, "", kUnknown},
       OsFamily::kWin9x,
       "Windows 3.1",
       "3.10"},
      {"NT 3.51", Nt(3, 51, kWorkstation), OsFamily::kNt4, "Windows NT",
       "3.51"},
      {"NT 4.0", Nt(4, 0, kUnknown), OsFamily::kNt4, "Windows NT", "4.0"},
      {"2000", Nt(5, 0, kWorkstation), OsFamily::kNtModern, "Windows NT",
       "5.0"},
      {"7", Nt(6, 1, kWorkstation), OsFamily::kNtModern, "Windows NT", "6.1"},
      {"10", Nt(10, 0, kWorkstation), OsFamily::kNtModern, "Windows NT",
       "10.0"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    testing::FakeSystem system;
    system.version = row.version;
    EXPECT_EQ(DecideOsFamily(system), row.family);
    const SystemDetails details = ReadSystemDetails(system);
    EXPECT_EQ(details.operating_system, row.operating_system);
    EXPECT_EQ(details.version, row.version_text);
  }
}

TEST(LogOnTaskTest, FromNt60On) {
  const struct {
    std::optional<VersionInfo> version;
    bool task;
  } kRows[] = {
      {VersionInfo{PlatformId::kWindows9x, 4, 90, 0, "", kUnknown}, false},
      {VersionInfo{PlatformId::kNt, 5, 2, 3790, "", kUnknown}, false},
      {VersionInfo{PlatformId::kNt, 6, 0, 6002, "", kUnknown}, true},
      {VersionInfo{PlatformId::kNt, 10, 0, 19045, "", kUnknown}, true},
      {std::nullopt, false},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.version ? row.version->major : 0);
    testing::FakeSystem system;
    system.version = row.version;
    EXPECT_EQ(StartsMonitorThroughLogOnTask(system), row.task);
  }
}

TEST(WindowsPrefixTest, WindirWithABackslash) {
  testing::FakeSystem system;
  EXPECT_EQ(WindowsPrefix(system), "\\");
  system.environment["windir"] = "C:\\WINDOWS";
  EXPECT_EQ(WindowsPrefix(system), "C:\\WINDOWS\\");
}

}  // namespace
}  // namespace plumeta
