// The Recycle Bin command of the real program, from its system menu, on
// bins built by hand in the system's own format: on C: always, and on the
// NTFS test volume that tests/gui/recycle_bin_gui.sh mounts and names in
// TOVO_TEST_BIN_DRIVE (the script then looks for what is left on the raw
// volume). Also the start-up clean-up of a killed wipe's fill folder, which
// the script leaves on that volume before the program starts.
#include <windows.h>

#include <gtest/gtest.h>
#include <sddl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/system_menu_win.h"
#include "core/support/bin_record.h"
#include "gui/support/gui_driver.h"
#include "platform/scope_exit.h"
#include "platform/wide_win.h"
#include "win/support/shred_scratch.h"

namespace tovo {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string CurrentUserSid() {
  HANDLE token = nullptr;
  EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  const auto close = OnScopeExit([&] { CloseHandle(token); });
  Bytes buffer(256);
  DWORD size = 0;
  EXPECT_TRUE(GetTokenInformation(token, TokenUser, buffer.data(), 256, &size));
  LPWSTR text = nullptr;
  EXPECT_TRUE(
      ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text));
  const std::string sid = Narrow(text);
  LocalFree(text);
  return sid;
}

Bytes Marked(const std::string& marker, size_t size) {
  Bytes bytes;
  while (bytes.size() < size) bytes.insert(bytes.end(), marker.begin(), marker.end());
  bytes.resize(size);
  return bytes;
}

void Write(const std::string& path, const std::string& bytes) {
  testing::WriteBytes(path, Bytes(bytes.begin(), bytes.end()));
}

// A bin as Windows leaves it on one drive: the current user's folder with
// four items and the bin's desktop.ini, and another user's folder with one.
struct HandMadeBin {
  explicit HandMadeBin(const std::string& root, const std::string& sid)
      : bin(root + "$Recycle.Bin"), mine(bin + "\\" + sid), other(bin + "\\S-1-5-21-1-2-3-1001") {
    made = !testing::PathExists(bin);
    if (made) testing::MakeFolder(bin);
    for (const std::string& folder : {mine, other}) testing::MakeFolder(folder);
    const std::string drive = root.substr(0, 1);
    // Version 2, a file with a Chinese original path (clusters and resident).
    testing::WriteBytes(mine + "\\$RA1B2C3.docx", Marked("BINMARK-a-" + drive, 20000));
    Write(mine + "\\$IA1B2C3.docx", testing::RecordVersion2(u"D:\\BINORIG资料\\报告.docx"));
    // Version 1, a folder tree.
    testing::MakeFolder(mine + "\\$RTREE01");
    testing::MakeFolder(mine + "\\$RTREE01\\sub");
    Write(mine + "\\$RTREE01\\top.txt", "BINMARK-b-" + drive);
    Write(mine + "\\$RTREE01\\sub\\deep.txt", std::string(5000, 'x') + "BINMARK-c-" + drive);
    Write(mine + "\\$ITREE01", testing::RecordVersion1(u"D:\\BINORIG-v1\\plans"));
    // Data without a record, and a damaged record.
    Write(mine + "\\$RLONE.txt", "BINMARK-d-" + drive);
    Write(mine + "\\$RBAD.txt", "BINMARK-e-" + drive);
    Write(mine + "\\$IBAD.txt", "garbage");
    Write(mine + "\\desktop.ini", "[.ShellClassInfo]\r\n");
    Write(other + "\\$ROTHER.txt", "OTHERSID");
    Write(other + "\\$IOTHER.txt", testing::RecordVersion2(u"D:\\other-user\\x.txt"));
  }
  ~HandMadeBin() {
    const std::string unixPath = testing::UnixPathOf(bin);
    if (made && unixPath.ends_with("$Recycle.Bin")) testing::RunUnix({"/bin/rm", "-rf", unixPath});
  }
  // The names the consent box gives its items, in the order listed.
  std::vector<std::string> Names() const {
    return {"D:\\BINORIG资料\\报告.docx", mine + "\\$RBAD.txt", mine + "\\$RLONE.txt",
            "D:\\BINORIG-v1\\plans"};
  }

  std::string bin, mine, other;
  bool made = false;
};

class RecycleBinGui : public ::testing::Test {
 protected:
  void SetUp() override {
    sid_ = CurrentUserSid();
    if (const char* drive = std::getenv("TOVO_TEST_BIN_DRIVE"); drive && *drive)
      testDrive_ = std::string(drive) + "\\";
  }
  void TearDown() override {
    if (program_) {
      for (HWND box : gui::MessageBoxesOf(program_.id())) PostMessageW(box, WM_CLOSE, 0, 0);
      EXPECT_TRUE(gui::ClosesWithExitCodeZero(program_, window_));
    }
  }
  // Starts the program and chooses the command from its system menu.
  HWND CommandBox() {
    gui::RunningProgram running = gui::StartProgram();
    program_ = std::move(running.process);
    window_ = running.mainWindow;
    if (!window_) return nullptr;
    PostMessageW(window_, WM_SYSCOMMAND, kSysRecycleBin, 0);
    return gui::WaitForMessageBox(program_.id());
  }
  void Answer(HWND box, int button) {
    gui::Click(GetDlgItem(box, button));
    gui::WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 10000);
  }

  std::string sid_, testDrive_;
  gui::Process program_;
  HWND window_ = nullptr;
};

TEST_F(RecycleBinGui, AnEmptyBinIsSaidToBeEmpty) {
  // Only what is no item: the bin's own file and another user's folder.
  HandMadeBin others("C:\\", "S-1-5-21-1-2-3-1002");
  const HWND box = CommandBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(gui::MessageBoxText(box), L"回收站是空的。");
  Answer(box, IDOK);
}

TEST_F(RecycleBinGui, ConsentNamesEveryItemAndYesShredsEveryPairOnly) {
  std::vector<std::unique_ptr<HandMadeBin>> bins;
  bins.push_back(std::make_unique<HandMadeBin>("C:\\", sid_));
  if (!testDrive_.empty()) bins.push_back(std::make_unique<HandMadeBin>(testDrive_, sid_));
  std::wstring expected =
      L"确定要粉碎回收站中的 " + std::to_wstring(4 * bins.size()) + L" 项吗（操作不可逆）？\n";
  for (const auto& bin : bins)
    for (const std::string& name : bin->Names()) expected += L"\n" + Wide(name);
  const HWND consent = CommandBox();
  ASSERT_TRUE(consent);
  EXPECT_EQ(gui::MessageBoxText(consent), expected);
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(consent, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON);
  Answer(consent, IDYES);
  HWND done = nullptr;
  ASSERT_TRUE(gui::WaitUntil(
      [&] {
        for (HWND b : gui::MessageBoxesOf(program_.id()))
          if (b != consent && IsWindowVisible(b)) done = b;
        return done != nullptr;
      },
      60000));
  EXPECT_EQ(gui::MessageBoxText(done), L"粉碎顺利完成！");
  Answer(done, IDOK);
  for (const auto& bin : bins) {
    std::vector<std::string> left;
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(Wide(bin->mine + "\\*").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do left.push_back(Narrow(data.cFileName));
    while (FindNextFileW(find, &data));
    FindClose(find);
    EXPECT_EQ(left, (std::vector<std::string>{".", "..", "desktop.ini"})) << bin->bin;
    EXPECT_EQ(testing::ReadBytes(bin->other + "\\$ROTHER.txt"), Marked("OTHERSID", 8));
    EXPECT_TRUE(testing::PathExists(bin->other + "\\$IOTHER.txt"));
  }
}

// The volume held a killed wipe's fill folder before the program started.
TEST(FillCleanupGui, AStartRemovesAKilledWipesFillAndSaysWhatItGaveBack) {
  const char* drive = std::getenv("TOVO_TEST_BIN_DRIVE");
  if (!drive || !*drive) GTEST_SKIP() << "no test volume (run by recycle_bin_gui.sh)";
  const std::string fill = std::string(drive) + "\\TovoShred擦除临时文件-可删除";
  ASSERT_TRUE(testing::PathExists(fill));
  gui::RunningProgram program = gui::StartProgram();
  ASSERT_TRUE(program.mainWindow);
  const HWND box = gui::WaitForMessageBox(program.process.id());
  ASSERT_TRUE(box);
  const std::wstring text = gui::MessageBoxText(box);
  EXPECT_EQ(
      text.find(L"已删除上次未完成的剩余空间擦除留下的填充文件：\n" + Wide(drive) + L" 释放了 "),
      0u)
      << Narrow(text);
  EXPECT_EQ(text.find(L"未能删除"), std::wstring::npos) << Narrow(text);
  EXPECT_FALSE(testing::PathExists(fill));
  gui::Click(GetDlgItem(box, IDOK));
  EXPECT_TRUE(gui::ClosesWithExitCodeZero(program.process, program.mainWindow));
}

}  // namespace
}  // namespace tovo
