#include "widgets/volume_naming.h"

#include <gtest/gtest.h>

#include "core/support/directory_tree_fake.h"

namespace tovo {
namespace {

using testing::FakeDrive;
using testing::FakeMachine;

constexpr std::uint32_t kSerial = 0x1234ABCD;

FakeDrive Fixed(std::string label) {
  return {kDriveFixed, VolumeInfo{std::move(label), kSerial}, std::nullopt, "", 4};
}

FakeDrive Share(std::optional<std::string> universal) {
  return {kDriveRemote, VolumeInfo{"DATA", kSerial}, std::move(universal), "", 6};
}

struct DisplayCase {
  const char* name;
  char letter;
  FakeDrive drive;
  TNetworkVolumeFormat form;
  std::string text;
  std::uint32_t serial;
};

class VolumeDisplayNameTest : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(VolumeDisplayNameTest, TextAndSerial) {
  const DisplayCase& c = GetParam();
  FakeMachine machine;
  machine.drives[AsciiUpper(std::string(1, c.letter))[0]] = c.drive;
  const VolumeDisplayName name = GetVolumeDisplayName(machine, c.letter, c.form);
  EXPECT_EQ(name.text, c.text);
  EXPECT_EQ(name.serial, c.serial);
  EXPECT_EQ(GetVolumeSerial(machine, c.letter), c.serial);
}

INSTANTIATE_TEST_SUITE_P(
    Drives, VolumeDisplayNameTest,
    ::testing::Values(
        DisplayCase{"Labelled", 'C', Fixed("WINXP"), nvfExplorer, "Winxp (C:)", kSerial},
        DisplayCase{"LabelledAnyForm", 'C', Fixed("WINXP"), nvfUNC, "Winxp (C:)", kSerial},
        DisplayCase{"NoLabel", 'C', Fixed(""), nvfExplorer, " (C:)", kSerial},
        DisplayCase{"LowerLetter", 'c', Fixed("MyDisk"), nvfVolumeOnly, "Mydisk (C:)", kSerial},
        DisplayCase{"DigitFirst", 'C', Fixed("1ABC"), nvfExplorer, "1abc (C:)", kSerial},
        DisplayCase{"NoDisc",
                    'D',
                    {kDriveCdRom, std::nullopt, std::nullopt, "", 5},
                    nvfExplorer,
                    "(D:)",
                    kNoVolumeSerial},
        DisplayCase{"ShareExplorer", 'Z', Share("\\\\FILESERV\\DOCS"), nvfExplorer,
                    "Data on 'Fileserv' (Z:)", kSerial},
        DisplayCase{"ShareUnc", 'Z', Share("\\\\FILESERV\\DOCS"), nvfUNC, "\\\\Fileserv\\Docs (Z:)",
                    kSerial},
        DisplayCase{"ShareVolumeOnly", 'Z', Share("\\\\FILESERV\\DOCS"), nvfVolumeOnly, "Data (Z:)",
                    kSerial},
        // Without a universal name the UNC root is the lower-cased letter.
        DisplayCase{"ShareWithoutProvider", 'Z', Share(std::nullopt), nvfExplorer,
                    "Data on '' (Z:)", kSerial},
        DisplayCase{"ShareWithoutProviderUnc", 'Z', Share(std::nullopt), nvfUNC, "z: (Z:)",
                    kSerial},
        // Multi-byte characters are copied unchanged; only ASCII letters lower.
        DisplayCase{"ChineseLabel", 'C', Fixed("系统盘"), nvfExplorer, "系统盘 (C:)", kSerial},
        DisplayCase{"MixedLabel", 'C', Fixed("ÄBC系统"), nvfExplorer, "Äbc系统 (C:)", kSerial}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DriveUncRootTest, ServerAndShareStartWithCapitals) {
  FakeMachine machine;
  machine.drives['Z'] = Share("\\\\FILESERV\\DOCS");
  EXPECT_EQ(GetDriveUncRoot(machine, 'Z'), "\\\\Fileserv\\Docs");
  machine.drives['Z'] = Share("\\\\file.serv\\my docs");
  EXPECT_EQ(GetDriveUncRoot(machine, 'Z'), "\\\\File.serv\\My docs");
  machine.drives['C'] = Fixed("X");
  EXPECT_EQ(GetDriveUncRoot(machine, 'C'), "c:");
}

TEST(ExtractServerNameTest, PartBeforeTheNextBackslash) {
  EXPECT_EQ(ExtractServerName("\\\\Fileserv\\Docs"), "Fileserv");
  EXPECT_EQ(ExtractServerName("\\\\Fileserv"), "");
  EXPECT_EQ(ExtractServerName("z:"), "");
  EXPECT_EQ(ExtractServerName(""), "");
  // At most 255 characters after the two backslashes are looked at.
  EXPECT_EQ(ExtractServerName("\\\\" + std::string(255, 's') + "\\x"), "");
  EXPECT_EQ(ExtractServerName("\\\\" + std::string(254, 's') + "\\x"), std::string(254, 's'));
}

struct MapCase {
  const char* path;
  const char* result;
};

class MapUncPathTest : public ::testing::TestWithParam<MapCase> {};

TEST_P(MapUncPathTest, OntoTheMappedDrive) {
  FakeMachine machine;
  machine.drives['C'] = Fixed("WINXP");
  machine.drives['Z'] = Share("\\\\fileserv\\docs");
  EXPECT_EQ(MapUncPathToDrive(machine, GetParam().path), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Paths, MapUncPathTest,
                         ::testing::Values(MapCase{"C:\\Windows", "C:\\Windows"},
                                           MapCase{"\\\\fileserv\\docs\\sub\\x", "Z:\\sub\\x"},
                                           MapCase{"\\\\FILESERV\\DOCS\\", "Z:\\"},
                                           MapCase{"\\\\fileserv\\docs", ""},
                                           MapCase{"\\\\fileserv\\other\\a", ""}, MapCase{"", ""},
                                           MapCase{"x", "x"}, MapCase{"\\", ""}));

TEST(MapUncPathTest, DriveATriedNeverAndLettersInOrder) {
  FakeMachine machine;
  machine.drives['A'] = Share("\\\\fileserv\\docs");
  EXPECT_EQ(MapUncPathToDrive(machine, "\\\\fileserv\\docs\\x"), "");
  machine.drives['Y'] = Share("\\\\fileserv\\docs");
  machine.drives['M'] = Share("\\\\fileserv\\docs");
  EXPECT_EQ(MapUncPathToDrive(machine, "\\\\fileserv\\docs\\x"), "M:\\x");
}

TEST(CurrentDriveRootTest, FirstThreeCharacters) {
  FakeMachine machine;
  machine.cwd = "C:\\Windows\\System32";
  EXPECT_EQ(CurrentDriveRoot(machine), "C:\\");
  machine.cwd = "\\\\srv\\share\\x";
  EXPECT_EQ(CurrentDriveRoot(machine), "\\\\s");
}

}  // namespace
}  // namespace tovo
