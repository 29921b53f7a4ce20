// The naming functions on the drives of the test prefix. Wine reads labels
// and serials from .windows-label/.windows-serial; it never reports an empty
// CD drive as unreadable and its network provider gives no UNC names, so
// those cases are covered by the core tests.
#include <gtest/gtest.h>

#include "widgets/volume_naming_win.h"

namespace tovo {
namespace {

TEST(VolumeNamingWin, LabelsAndSerialsOfThePrefixDrives) {
  Win32VolumePlatform platform;
  const VolumeDisplayName c = GetVolumeDisplayName(platform, 'c', nvfExplorer);
  EXPECT_EQ(c.text, "Mydisk (C:)");
  EXPECT_EQ(c.serial, 0x1234ABCDu);
  const VolumeDisplayName d = GetVolumeDisplayName(platform, 'D', nvfUNC);
  EXPECT_EQ(d.text, "Testcd (D:)");
  EXPECT_EQ(GetVolumeSerial(platform, 'D'), 0x0BADF00Du);
  const VolumeDisplayName none = GetVolumeDisplayName(platform, 'Q', nvfExplorer);
  EXPECT_EQ(none.text, "(Q:)");
  EXPECT_EQ(none.serial, kNoVolumeSerial);
}

TEST(VolumeNamingWin, NetworkDriveWithoutUniversalName) {
  Win32VolumePlatform platform;
  ASSERT_EQ(platform.DriveType("N:\\"), kDriveRemote);
  EXPECT_EQ(GetDriveUncRoot(platform, 'N'), "n:");
  EXPECT_EQ(GetDriveUncRoot(platform, 'C'), "c:");
  const VolumeDisplayName n = GetVolumeDisplayName(platform, 'N', nvfUNC);
  if (n.serial != kNoVolumeSerial) {
    EXPECT_TRUE(n.text == "n: (N:)") << n.text;
  }
  EXPECT_EQ(MapUncPathToDrive(platform, "\\\\fileserv\\docs\\x"), "");
  EXPECT_EQ(MapUncPathToDrive(platform, "C:\\Windows"), "C:\\Windows");
}

TEST(VolumeNamingWin, CurrentDriveRootAndFullPaths) {
  Win32VolumePlatform platform;
  EXPECT_EQ(CurrentDriveRoot(platform), platform.CurrentFolder().substr(0, 3));
  EXPECT_EQ(platform.FullPathName(""), "");
  EXPECT_EQ(platform.FullPathName("\\"), CurrentDriveRoot(platform));
  EXPECT_EQ(platform.FullPathName("C:\\a\\..\\b\\"), "C:\\b\\");
}

}  // namespace
}  // namespace tovo
