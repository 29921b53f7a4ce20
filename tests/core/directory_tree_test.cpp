#include "widgets/directory_tree.h"

#include <gtest/gtest.h>

#include "core/support/directory_tree_fake.h"
#include "platform/errors.h"

namespace tovo {
namespace {

using testing::FakeDrive;
using testing::FakeMachine;
using testing::RecordingList;

constexpr std::uint32_t kHidden = 0x02;
constexpr std::uint32_t kSystem = 0x04;
constexpr TDriveTypes kMainWindowTypes = {dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM};

std::vector<std::string> Texts(const TreeModel::Children& nodes) {
  std::vector<std::string> texts;
  for (const auto& node : nodes) texts.push_back(node->text);
  return texts;
}

bool HasPlaceholderOnly(const TreeNode& node) {
  return node.children.size() == 1 && !node.children[0]->data && node.children[0]->text == ":";
}

// The four-drive machine: C: fixed, D: CD-ROM without a disc, E: removable,
// Z: a share mapped from \\fileserv\docs.
class DirectoryTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    machine.drives['C'] = {kDriveFixed, VolumeInfo{"WINXP", 0xC0C0}, std::nullopt, "", 4};
    machine.drives['D'] = {kDriveCdRom, std::nullopt, std::nullopt, "", 5};
    machine.drives['E'] = {kDriveRemovable, VolumeInfo{"STICK", 0xE0E0}, std::nullopt,
                           "Removable Disk (E:)", 7};
    machine.drives['Z'] = {kDriveRemote, VolumeInfo{"DATA", 0x2020}, "\\\\FILESERV\\DOCS", "", 6};
    for (const char* folder : {"C:\\beta", "C:\\Windows", "C:\\Alpha", "C:\\Windows\\System32",
                               "C:\\Windows\\System32\\drivers", "C:\\Windows\\Fonts", "C:\\gamma",
                               "C:\\OnlyHidden", "Z:\\sub", "E:\\photos"}) {
      machine.Folder(folder);
    }
    machine.Folder("C:\\Hidden", kHidden);
    machine.Folder("C:\\Hidden\\inner");
    machine.Folder("C:\\Sys", kSystem);
    machine.Folder("C:\\OnlyHidden\\h", kHidden);
    machine.entries.push_back({"C:\\file.txt", 0x20});
    machine.cwd = "C:\\Windows";
    tree.SetDriveTypes(kMainWindowTypes);
    tree.SetFileList(&list);
    tree.SetLive(true);
    tree.LoadSystemImages();
    tree.BuildDriveLevel();
  }

  TreeNode& Root(char letter) { return *tree.FindDriveNode(std::string(1, letter) + ":\\"); }
  std::string SelectedPath() {
    TreeNode* node = tree.Nodes().Selected();
    return node && node->data ? node->data->Path : "";
  }

  FakeMachine machine;
  DirectoryTreeModel tree{machine};
  RecordingList list;
};

TEST_F(DirectoryTreeTest, DriveLevelOfTheFourDriveMachine) {
  EXPECT_EQ(Texts(tree.Nodes().Roots()),
            (std::vector<std::string>{"Winxp (C:)", "(D:)", "Removable Disk (E:)",
                                      "Data on 'Fileserv' (Z:)"}));
  for (char letter : {'C', 'D', 'E', 'Z'}) {
    SCOPED_TRACE(letter);
    EXPECT_EQ(Root(letter).data->Path, std::string(1, letter) + ":\\");
    EXPECT_FALSE(Root(letter).data->ChildrenLoaded);
    EXPECT_TRUE(HasPlaceholderOnly(Root(letter)));
  }
  // The CD-ROM and the removable drive get their button without a search.
  EXPECT_EQ(machine.SearchesOf("D:\\"), 0);
  EXPECT_EQ(machine.SearchesOf("E:\\"), 0);
  EXPECT_EQ(machine.SearchesOf("C:\\"), 1);
  EXPECT_EQ(tree.VolumeSerial('C'), 0xC0C0u);
  EXPECT_EQ(tree.VolumeSerial('D'), kNoVolumeSerial);
  EXPECT_EQ(tree.VolumeSerial('E'), 0u);  // the removable drive records none
  EXPECT_EQ(Root('C').image, 4);
  EXPECT_EQ(Root('C').selectedImage, 104);

  tree.Expand(Root('D'));
  EXPECT_TRUE(Root('D').children.empty());
  EXPECT_FALSE(Root('D').expanded);
  EXPECT_TRUE(Root('D').data->ChildrenLoaded);
}

TEST_F(DirectoryTreeTest, DriveFilterAndUnusualTypes) {
  machine.drives['G'] = {kDriveUnknown, VolumeInfo{"G", 1}, std::nullopt, "", 0};
  machine.drives['H'] = {kDriveNoRootDir, std::nullopt, std::nullopt, "", 0};
  machine.drives['I'] = {9, VolumeInfo{"I", 1}, std::nullopt, "", 0};
  EXPECT_EQ(tree.FilteredDriveMask(), 0x0200001Cu);  // C D E Z

  tree.SetDriveTypes({dtUnknown});  // types above 6 count as undetermined
  EXPECT_EQ(Texts(tree.Nodes().Roots()), (std::vector<std::string>{"G (G:)", "I (I:)"}));
  tree.SetDriveTypes({dtNoDrive});
  EXPECT_EQ(Texts(tree.Nodes().Roots()), (std::vector<std::string>{"(H:)"}));
  tree.SetDriveTypes({dtFixed, dtNetwork});
  EXPECT_EQ(Texts(tree.Nodes().Roots()),
            (std::vector<std::string>{"Winxp (C:)", "Data on 'Fileserv' (Z:)"}));
}

TEST_F(DirectoryTreeTest, ExpansionLoadsSortedFoldersWhoseButtonsAreLookedUpWhenDrawn) {
  tree.Expand(Root('C'));
  TreeNode& c = Root('C');
  EXPECT_TRUE(c.expanded);
  EXPECT_TRUE(c.data->ChildrenLoaded);
  EXPECT_EQ(Texts(c.children),
            (std::vector<std::string>{"Alpha", "beta", "gamma", "OnlyHidden", "Windows"}));
  EXPECT_EQ(c.children[4]->data->Path, "C:\\Windows\\");
  EXPECT_EQ(c.children[0]->selectedImage, 3);  // the generic open folder
  EXPECT_EQ(machine.SearchesOf("C:\\Windows\\"), 0) << "nothing is searched before it is drawn";

  // The view draws the revealed nodes: their buttons are those of a search.
  const std::vector<bool> buttons = {false, false, false, false, true};  // OnlyHidden: hidden only
  for (size_t i = 0; i < buttons.size(); ++i)
    EXPECT_EQ(tree.ShowsButton(*c.children[i]), buttons[i]);
  EXPECT_EQ(machine.SearchesOf("C:\\Windows\\"), 1);
  EXPECT_EQ(machine.SearchesOf("C:\\Windows\\System32\\"), 0);

  // Drawn again, collapsed and expanded again: no folder is searched twice.
  tree.Nodes().SetExpanded(c, false);
  tree.Expand(c);
  for (size_t i = 0; i < buttons.size(); ++i)
    EXPECT_EQ(tree.ShowsButton(*c.children[i]), buttons[i]);
  EXPECT_EQ(machine.SearchesOf("C:\\Windows\\"), 1);
  EXPECT_EQ(machine.SearchesOf("C:\\Alpha\\"), 1);
}

TEST_F(DirectoryTreeTest, ANodeSelectedBeforeItWasDrawnGetsItsButtonThen) {
  tree.Expand(Root('C'));
  TreeNode& windows = *Root('C').children[4];
  tree.Nodes().Select(&windows);
  EXPECT_EQ(machine.SearchesOf("C:\\Windows\\"), 1);
  EXPECT_TRUE(tree.ShowsButton(windows));
  EXPECT_EQ(machine.SearchesOf("C:\\Windows\\"), 1);
}

TEST_F(DirectoryTreeTest, HiddenFoldersOnlyWhenAskedSystemFoldersNever) {
  tree.SetShowHiddenDirs(true);
  tree.Expand(Root('C'));
  EXPECT_EQ(Texts(Root('C').children), (std::vector<std::string>{"Alpha", "beta", "gamma", "Hidden",
                                                                 "OnlyHidden", "Windows"}));
  EXPECT_TRUE(tree.ShowsButton(*Root('C').children[4]));
}

TEST_F(DirectoryTreeTest, OpenFolderWalksDownSelectsAndPassesTheStoredCase) {
  tree.OpenFolder("c:\\windows\\system32\\");
  EXPECT_EQ(SelectedPath(), "C:\\Windows\\System32\\");
  EXPECT_TRUE(Root('C').expanded);
  TreeNode& windows = *Root('C').children[4];
  EXPECT_TRUE(windows.expanded);
  TreeNode& system32 = *tree.Nodes().Selected();
  EXPECT_TRUE(system32.data->ChildrenLoaded);
  EXPECT_EQ(Texts(system32.children), (std::vector<std::string>{"drivers"}));
  EXPECT_EQ(list.folders, (std::vector<std::string>{"C:\\Windows\\System32"}));
  EXPECT_EQ(tree.SelectedFolder(), "C:\\Windows\\System32");
  EXPECT_EQ(tree.SelectedDrive(), 'C');
}

TEST_F(DirectoryTreeTest, OpenFolderOnTheSelectedFolderChangesNothing) {
  tree.OpenFolder("C:\\Windows");
  list.folders.clear();
  tree.OpenFolder("C:\\Windows");
  tree.OpenFolder("c:\\WINDOWS\\");
  EXPECT_TRUE(list.folders.empty());
  EXPECT_EQ(SelectedPath(), "C:\\Windows\\");
}

TEST_F(DirectoryTreeTest, OpenFolderWithEmptyPathOrBackslash) {
  tree.OpenFolder("");
  EXPECT_EQ(tree.Nodes().Selected(), nullptr);
  EXPECT_TRUE(list.folders.empty());
  tree.OpenFolder("\\");  // the root of the current directory's drive
  EXPECT_EQ(SelectedPath(), "C:\\");
  EXPECT_EQ(list.folders, (std::vector<std::string>{"C:\\"}));
}

TEST_F(DirectoryTreeTest, OpenFolderOnMissingFoldersAndDrives) {
  tree.OpenFolder("C:\\NoSuchDir\\Deeper");
  EXPECT_EQ(SelectedPath(), "C:\\");
  tree.OpenFolder("C:\\Windows\\Gone");
  EXPECT_EQ(SelectedPath(), "C:\\Windows\\");
  try {
    tree.OpenFolder("Q:\\x");
    FAIL() << "no error for a missing drive";
  } catch (const IoError& error) {
    EXPECT_STREQ(error.what(), "The Q:\\x directory does not exist");
  }
  EXPECT_EQ(SelectedPath(), "C:\\Windows\\");
  // A CD-ROM drive without a disc has no existing prefix either.
  EXPECT_THROW(tree.OpenFolder("d:\\a"), IoError);
}

TEST_F(DirectoryTreeTest, OpenFolderThroughUncPaths) {
  tree.OpenFolder("\\\\fileserv\\docs\\sub");
  EXPECT_EQ(SelectedPath(), "Z:\\sub\\");
  EXPECT_EQ(list.folders.back(), "Z:\\sub");
  list.folders.clear();
  tree.OpenFolder("\\\\fileserv\\other\\sub");
  EXPECT_EQ(SelectedPath(), "Z:\\sub\\");
  EXPECT_TRUE(list.folders.empty());
}

TEST_F(DirectoryTreeTest, OpenFolderEndsQuietlyWhereTheTreeListsNothing) {
  tree.OpenFolder("C:\\Alpha");
  list.folders.clear();
  tree.OpenFolder("C:\\Hidden\\inner");  // through a hidden folder
  tree.OpenFolder("C:\\Sys");            // a system folder
  EXPECT_EQ(SelectedPath(), "C:\\Alpha\\");
  EXPECT_TRUE(list.folders.empty());
  tree.SetDriveTypes({dtFixed});
  tree.OpenFolder("Z:\\sub");  // a drive the tree does not show
  EXPECT_EQ(SelectedPath(), "C:\\Alpha\\");
}

TEST_F(DirectoryTreeTest, UncCurrentDirectorySelectsNothing) {
  machine.cwd = "\\\\fileserv\\docs\\sub";
  tree.OpenFolder(CurrentDriveRoot(machine));
  EXPECT_EQ(tree.Nodes().Selected(), nullptr);
}

TEST_F(DirectoryTreeTest, FolderDeletedOnDiskStaysUntilReset) {
  tree.Expand(Root('C'));
  machine.Remove("C:\\gamma");
  tree.Expand(Root('C'));
  EXPECT_EQ(Root('C').children.size(), 5u);
  tree.ResetNode(Root('C'));
  EXPECT_FALSE(Root('C').expanded);
  EXPECT_FALSE(Root('C').data->ChildrenLoaded);
  tree.Expand(Root('C'));
  EXPECT_EQ(Texts(Root('C').children),
            (std::vector<std::string>{"Alpha", "beta", "OnlyHidden", "Windows"}));
}

TEST_F(DirectoryTreeTest, OpenFolderReadsALevelAgainForAFolderMadeAfterItWasLoaded) {
  tree.OpenFolder("C:\\Windows\\Fonts");
  machine.Folder("C:\\Desk");
  machine.Folder("C:\\Desk\\inner");
  tree.OpenFolder("C:\\Desk\\inner");
  EXPECT_EQ(SelectedPath(), "C:\\Desk\\inner\\");
  EXPECT_EQ(list.folders.back(), "C:\\Desk\\inner");
  EXPECT_EQ(Texts(Root('C').children),
            (std::vector<std::string>{"Alpha", "beta", "Desk", "gamma", "OnlyHidden", "Windows"}));
  EXPECT_TRUE(Root('C').children[5]->expanded) << "the other nodes keep their expansion";
  // A folder the tree does not list is still not reached, after one more search.
  const int searches = machine.SearchesOf("C:\\");
  tree.OpenFolder("C:\\Hidden\\inner");
  EXPECT_EQ(SelectedPath(), "C:\\Desk\\inner\\");
  EXPECT_EQ(machine.SearchesOf("C:\\"), searches + 1);
}

TEST_F(DirectoryTreeTest, FollowDropsVanishedFoldersAddsNewOnesAndKeepsExpansion) {
  tree.OpenFolder("C:\\Windows\\System32");
  TreeNode* windows = Root('C').children[4].get();
  machine.Remove("C:\\gamma");
  machine.Folder("C:\\Delta");
  tree.Follow("C:\\");
  EXPECT_EQ(Texts(Root('C').children),
            (std::vector<std::string>{"Alpha", "beta", "Delta", "OnlyHidden", "Windows"}));
  EXPECT_EQ(Root('C').children[4].get(), windows);
  EXPECT_TRUE(windows->expanded);
  EXPECT_EQ(SelectedPath(), "C:\\Windows\\System32\\");
  EXPECT_FALSE(tree.ShowsButton(*Root('C').children[2])) << "Delta has no sub-folder";

  // The button of a node whose folders are not loaded follows them too.
  TreeNode& drivers = *tree.Nodes().Selected()->children[0];
  EXPECT_FALSE(tree.ShowsButton(drivers));
  machine.Folder("C:\\Windows\\System32\\drivers\\etc");
  tree.Follow("C:\\Windows\\System32\\drivers");
  EXPECT_TRUE(tree.ShowsButton(drivers));
  machine.Remove("C:\\Windows\\System32\\drivers\\etc");
  tree.Follow("C:\\Windows\\System32\\drivers");
  EXPECT_FALSE(tree.ShowsButton(drivers));
}

TEST_F(DirectoryTreeTest, AGoneSelectedFolderPassesTheSelectionToTheNearestExistingAncestor) {
  tree.OpenFolder("C:\\Windows\\System32\\drivers");
  machine.Remove("C:\\Windows\\System32\\drivers");
  machine.Remove("C:\\Windows\\System32");
  tree.Follow("C:\\Windows\\System32\\drivers");
  EXPECT_EQ(SelectedPath(), "C:\\Windows\\");
  EXPECT_EQ(list.folders.back(), "C:\\Windows");
  EXPECT_EQ(Texts(Root('C').children[4]->children), (std::vector<std::string>{"Fonts"}));
}

TEST_F(DirectoryTreeTest, ANodeWhoseFolderIsGoneWhenSelectedOrExpandedIsDropped) {
  tree.Expand(Root('C'));
  tree.OpenFolder("C:\\Windows");
  machine.Remove("C:\\gamma");
  machine.Remove("C:\\Windows\\System32\\drivers");
  machine.Remove("C:\\Windows\\System32");
  TreeNode& system32 = *Root('C').children[4]->children[1];
  EXPECT_FALSE(tree.ExpandRequest(system32));
  EXPECT_EQ(Texts(Root('C').children[4]->children), (std::vector<std::string>{"Fonts"}));
  EXPECT_EQ(SelectedPath(), "C:\\Windows\\") << "a selection elsewhere stays";

  list.folders.clear();
  tree.Nodes().Select(Root('C').children[2].get());  // gamma
  EXPECT_EQ(SelectedPath(), "C:\\");
  EXPECT_EQ(list.folders, (std::vector<std::string>{"C:\\"})) << "never the gone folder";
  EXPECT_EQ(Texts(Root('C').children),
            (std::vector<std::string>{"Alpha", "beta", "OnlyHidden", "Windows"}));
}

TEST_F(DirectoryTreeTest, TheViewsExpansionOfALoadedNodeFollowsTheDisk) {
  tree.Expand(Root('C'));
  tree.Nodes().SetExpanded(Root('C'), false);
  machine.Folder("C:\\Zeta");
  ASSERT_TRUE(tree.ExpandRequest(Root('C')));
  EXPECT_EQ(Root('C').children.back()->text, "Zeta");
}

TEST_F(DirectoryTreeTest, WatchedFoldersAreTheSelectionPathAndTheExpandedNodes) {
  tree.OpenFolder("C:\\Windows\\Fonts");
  tree.Expand(Root('Z'));
  EXPECT_EQ(tree.WatchedFolders(),
            (std::vector<std::string>{"C:\\", "C:\\Windows\\", "C:\\Windows\\Fonts\\", "Z:\\"}));
}

TEST_F(DirectoryTreeTest, UpdateDriveLevelAddsAndRemovesOnlyChangedDrives) {
  tree.OpenFolder("C:\\Windows\\System32");
  TreeNode* c = &Root('C');
  TreeNode* system32 = tree.Nodes().Selected();
  machine.drives['F'] = {kDriveFixed, VolumeInfo{"NEW", 0xF0F0}, std::nullopt, "", 4};
  machine.drives['A'] = {kDriveRemovable, std::nullopt, std::nullopt, "Floppy (A:)", 8};
  tree.DeviceChanged();
  EXPECT_EQ(Texts(tree.Nodes().Roots()),
            (std::vector<std::string>{"Floppy (A:)", "Winxp (C:)", "(D:)", "Removable Disk (E:)",
                                      "New (F:)", "Data on 'Fileserv' (Z:)"}));
  EXPECT_EQ(&Root('C'), c);
  EXPECT_TRUE(c->expanded);
  EXPECT_EQ(tree.Nodes().Selected(), system32);
  EXPECT_EQ(tree.DriveMask(), 0x0200003Du);

  machine.drives.erase('E');
  tree.DeviceChanged();
  EXPECT_EQ(Texts(tree.Nodes().Roots()),
            (std::vector<std::string>{"Floppy (A:)", "Winxp (C:)", "(D:)", "New (F:)",
                                      "Data on 'Fileserv' (Z:)"}));
  EXPECT_TRUE(c->expanded);
  EXPECT_EQ(tree.Nodes().Selected(), system32);
}

TEST_F(DirectoryTreeTest, RemovingTheSelectedDriveMovesSelectionAndTellsTheList) {
  tree.OpenFolder("Z:\\sub");
  int drive_changes = 0;
  tree.OnDriveChange = [&] { ++drive_changes; };
  machine.drives.erase('Z');
  tree.DeviceChanged();
  // No next sibling: the previous one takes the selection.
  EXPECT_EQ(SelectedPath(), "E:\\");
  EXPECT_EQ(list.folders.back(), "E:\\");
  EXPECT_EQ(drive_changes, 1);
}

TEST_F(DirectoryTreeTest, MediumChangeRelabelsAndDropsTheSubtree) {
  // A disc arrives in D: after start-up.
  machine.drives['D'].volume = VolumeInfo{"TESTCD", 0x0BADF00D};
  machine.Folder("D:\\setup");
  tree.Nodes().Select(&Root('D'));
  EXPECT_EQ(Root('D').text, "Testcd (D:)");
  EXPECT_EQ(tree.VolumeSerial('D'), 0x0BADF00Du);
  EXPECT_TRUE(HasPlaceholderOnly(Root('D')));

  tree.OpenFolder("D:\\setup");
  EXPECT_TRUE(Root('D').expanded);
  // The disc is swapped for an unreadable one; a click on the selection sees it.
  machine.drives['D'].volume.reset();
  list.folders.clear();
  tree.Click();
  EXPECT_EQ(Root('D').text, "(D:)");
  EXPECT_FALSE(Root('D').expanded);
  EXPECT_TRUE(Root('D').children.empty());
  EXPECT_EQ(SelectedPath(), "D:\\");
  EXPECT_EQ(list.folders.back(), "D:\\");
}

TEST_F(DirectoryTreeTest, FirstSelectionOnRemovableDriveUsesTheVolumeLabel) {
  int clicks = 0;
  tree.OnClick = [&] { ++clicks; };
  tree.OpenFolder("E:\\photos");
  EXPECT_EQ(Root('E').text, "Stick (E:)");
  EXPECT_EQ(SelectedPath(), "E:\\");  // the selected folder was dropped with the subtree
  EXPECT_TRUE(HasPlaceholderOnly(Root('E')));
  tree.Click();  // nothing changed since: an ordinary click
  EXPECT_EQ(clicks, 1);
}

TEST_F(DirectoryTreeTest, DriveChangeNotificationAndVeto) {
  std::vector<char> drives;
  tree.OnDriveChange = [&] { drives.push_back(tree.SelectedDrive()); };
  tree.OpenFolder("C:\\");
  tree.OpenFolder("C:\\Windows");
  tree.OpenFolder("Z:\\sub");
  EXPECT_EQ(drives, (std::vector<char>{'C', 'Z'}));
  tree.OnChanging = [] { return false; };
  tree.OpenFolder("C:\\Alpha");
  EXPECT_EQ(SelectedPath(), "Z:\\sub\\");
}

TEST_F(DirectoryTreeTest, DeletionFreesFolderInfoAndNotifies) {
  tree.Expand(Root('C'));
  int deleted = 0;
  tree.OnDeletion = [&](TreeNode& node) {
    ++deleted;
    if (node.data) {
      EXPECT_FALSE(node.data->Path.empty());
    }
  };
  tree.ClearNodes();
  // 4 drives, the placeholders of D, E and Z, C's 5 folders.
  EXPECT_EQ(deleted, 4 + 3 + 5);
  EXPECT_TRUE(tree.Nodes().Roots().empty());
}

TEST_F(DirectoryTreeTest, RebuildKeepsTheSelectedFolder) {
  tree.OpenFolder("C:\\Windows\\Fonts");
  tree.SetNetworkVolumeFormat(nvfUNC);
  EXPECT_EQ(Root('Z').text, "\\\\Fileserv\\Docs (Z:)");
  EXPECT_EQ(SelectedPath(), "C:\\Windows\\Fonts\\");
}

TEST_F(DirectoryTreeTest, NothingHappensBeforeTheWindowExists) {
  DirectoryTreeModel idle(machine);
  idle.BuildDriveLevel();
  idle.UpdateDriveLevel();
  EXPECT_TRUE(idle.Nodes().Roots().empty());
  EXPECT_EQ(idle.SelectedFolder(), "");
  EXPECT_EQ(idle.SelectedDrive(), '\0');
}

}  // namespace
}  // namespace tovo
