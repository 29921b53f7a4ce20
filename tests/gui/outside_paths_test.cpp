// Paths given to the real program on its command line, as Windows gives the
// files dropped on its icon or sent to a shortcut of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "forms/main_form.h"
#include "gui/support/gui_driver.h"
#include "gui/support/remote_tree.h"
#include "platform/wide_win.h"
#include "win/support/shred_scratch.h"

namespace tovo {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace vazo = forms::vazo;

// A scratch folder the program is started in, and a folder directly below
// C:\, where the program's tree and list look at start.
class OutsidePaths : public ::testing::Test {
 protected:
  void SetUp() override {
    // Every item holds its own bytes, so a changed or swapped file shows.
    for (const char* folder : {"dir", "dir\\sub", "dir2", kLongFolder.c_str()})
      testing::MakeFolder(scratch_ / folder);
    for (const std::string& name : Files()) {
      testing::WriteBytes(scratch_ / name, Bytes(name.begin(), name.end()));
    }
    top_ = "C:\\tovo-outside-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount());
    testing::MakeFolder(top_);
    testing::WriteBytes(top_ + "\\x.txt", Bytes(100, 'x'));
  }

  void TearDown() override {
    if (program_) {
      for (HWND box : gui::MessageBoxesOf(program_.id())) PostMessageW(box, WM_CLOSE, 0, 0);
      program_ = gui::Process();
    }
    if (testing::PathExists(top_)) testing::RunUnix({"/bin/rm", "-rf", testing::UnixPathOf(top_)});
  }

  static inline const std::string kLongFolder = std::string(200, 'L');
  static std::vector<std::string> Files() {
    return {"a.txt",
            "dir\\inner.txt",
            "dir\\sub\\deep.txt",
            "粉碎 文件.doc",
            "keep.txt",
            "dir2\\y.txt",
            kLongFolder + "\\" + std::string(100, 'm') + ".txt"};
  }

  // As Windows writes a command line: quotes only around a path with a blank.
  static std::wstring Quoted(const std::string& path) {
    return path.find(' ') == std::string::npos ? Wide(path) : L"\"" + Wide(path) + L"\"";
  }

  // Starts the program in the scratch folder with `arguments`.
  void Start(const std::vector<std::string>& arguments) {
    std::wstring line;
    for (const std::string& argument : arguments)
      line += (line.empty() ? L"" : L" ") + Quoted(argument);
    gui::RunningProgram running = gui::StartProgram(Wide(scratch_.path()), line);
    program_ = std::move(running.process);
    window_ = running.mainWindow;
  }
  // The first box of the program other than `previous` within `timeoutMs`.
  HWND NextBox(HWND previous = nullptr) {
    return gui::WaitForNextMessageBox(program_.id(), previous, 60000);
  }
  // Answers a box and waits until it is gone.
  static void Answer(HWND box, int button) {
    gui::Click(GetDlgItem(box, button));
    gui::WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 10000);
  }
  // True when the program has handled what it was sent and shows no box.
  bool NoBoxLeft() {
    return gui::HandledPostedMessages(GetDlgItem(window_, vazo::kDirectoryListBox1)) &&
           gui::MessageBoxesOf(program_.id()).empty();
  }

  // Drags `paths` onto the main window from another process; that
  // process's exit code.
  DWORD Drop(const std::vector<std::string>& paths) {
    std::wstring line = std::to_wstring(reinterpret_cast<ULONG_PTR>(window_));
    for (const std::string& path : paths) line += L" " + Quoted(path);
    gui::Process dragger =
        gui::Process::Start(Wide(testing::ProgramFolder() + "\\drop_files.exe"), line);
    DWORD code = 99;
    if (!dragger || !dragger.WaitForExit(30000, &code)) ADD_FAILURE() << "drop_files did not end";
    return code;
  }

  static void ExpectConsentBox(HWND box, const std::wstring& text) {
    ASSERT_TRUE(box);
    EXPECT_EQ(gui::MessageBoxText(box), text);
    EXPECT_EQ(gui::WindowText(box), L"请注意");
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(box, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON)
        << "No is the default button";
  }

  testing::ScratchFolder scratch_;
  std::string top_;
  gui::Process program_;
  HWND window_ = nullptr;
};

TEST_F(OutsidePaths, WhatCannotBeShreddedIsNamedAndNoLeavesEveryFileAsItWas) {
  const std::string programFolder =
      Narrow(gui::ProgramPath().substr(0, gui::ProgramPath().find_last_of(L'\\')));
  Start({"a.txt", scratch_ / "dir", scratch_ / "dir\\inner.txt", scratch_ / "粉碎 文件.doc",
         "missing.txt", "C:\\", programFolder});
  const HWND warning = NextBox();
  ASSERT_TRUE(warning);
  const std::wstring text = gui::MessageBoxText(warning);
  EXPECT_TRUE(text.starts_with(L"以下项目不存在，已忽略：\n\n" + Wide(scratch_ / "missing.txt") +
                               L"\n\n以下项目不能粉碎，已忽略：\n\nC:\\（驱动器或共享的根目录）\n"))
      << Narrow(text);
  EXPECT_TRUE(text.ends_with(L"（含有本程序的文件夹）")) << Narrow(text);
  EXPECT_EQ(gui::WindowText(warning), L"请注意");
  EXPECT_EQ(GetWindow(warning, GW_OWNER), window_);

  Answer(warning, IDOK);
  const HWND consent = NextBox(warning);
  ExpectConsentBox(consent, L"确定要粉碎以下 3 项吗（操作不可逆）？\n\n" +
                                Wide(scratch_ / "a.txt") + L"\n" + Wide(scratch_ / "dir") + L"\n" +
                                Wide(scratch_ / "粉碎 文件.doc"));
  Answer(consent, IDNO);
  EXPECT_TRUE(NoBoxLeft()) << "no further box";
  EXPECT_TRUE(program_.Running());
  for (const std::string& name : Files())
    EXPECT_EQ(testing::ReadBytes(scratch_ / name), Bytes(name.begin(), name.end())) << name;
}

TEST_F(OutsidePaths, YesDestroysExactlyTheGivenPathsAndTheTreeAndListFollow) {
  const std::string longFile = Files().back();
  const std::string topName = top_.substr(3);
  const std::vector<std::string> given = {"a.txt", scratch_ / "dir", "粉碎 文件.doc", longFile,
                                          top_};
  Start(given);
  const HWND consent = NextBox();
  const gui::RemoteTree tree(GetDlgItem(window_, vazo::kDirectoryListBox1), program_.id());
  const HWND list = GetDlgItem(window_, vazo::kFileListBox);
  ASSERT_TRUE(tree && list);
  const auto childrenOfDriveRoot = [&] { return tree.ChildTexts(tree.Selected()); };
  ASSERT_TRUE(gui::WaitUntil(
      [&] {
        const auto names = childrenOfDriveRoot();
        return std::find(names.begin(), names.end(), Wide(topName)) != names.end();
      },
      10000))
      << "the tree shows C:\\ with the folder below it";
  const LRESULT listed = SendMessageW(list, LB_GETCOUNT, 0, 0);
  ExpectConsentBox(consent, L"确定要粉碎以下 5 项吗（操作不可逆）？\n\n" +
                                Wide(scratch_ / "a.txt") + L"\n" + Wide(scratch_ / "dir") + L"\n" +
                                Wide(scratch_ / "粉碎 文件.doc") + L"\n" +
                                Wide(scratch_ / longFile) + L"\n" + Wide(top_));
  Answer(consent, IDYES);
  const HWND done = NextBox(consent);
  ASSERT_TRUE(done);
  EXPECT_EQ(gui::MessageBoxText(done), L"粉碎顺利完成！");
  for (const std::string& gone :
       {std::string("a.txt"), std::string("dir"), std::string("粉碎 文件.doc"), longFile})
    EXPECT_FALSE(testing::PathExists(scratch_ / gone)) << gone;
  EXPECT_FALSE(testing::PathExists(top_));
  for (const std::string kept : {"keep.txt", "dir2\\y.txt"})
    EXPECT_EQ(testing::ReadBytes(scratch_ / kept), Bytes(kept.begin(), kept.end())) << kept;
  EXPECT_TRUE(testing::PathExists(scratch_ / kLongFolder)) << "only the given file inside it";
  const auto names = childrenOfDriveRoot();
  EXPECT_EQ(std::find(names.begin(), names.end(), Wide(topName)), names.end());
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), listed - 1);
  gui::Click(GetDlgItem(done, IDOK));
}

// Explorer's way: a drag from another program whose data are the files as
// CF_HDROP, let go over the window. (Wine 8's drag-and-drop reaches only a
// registered drop target; it never turns a drop into WM_DROPFILES.)
TEST_F(OutsidePaths, FilesDroppedOnTheWindowAreAskedAboutAndNoneWhileABoxIsOpen) {
  Start({});
  ASSERT_TRUE(window_);
  EXPECT_TRUE(GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  ASSERT_EQ(Drop({scratch_ / "a.txt", scratch_ / "dir"}), 0u);
  const HWND consent = NextBox();
  ExpectConsentBox(consent, L"确定要粉碎以下 2 项吗（操作不可逆）？\n\n" +
                                Wide(scratch_ / "a.txt") + L"\n" + Wide(scratch_ / "dir"));
  // The window is disabled while its box is open, as while a run is under way.
  EXPECT_EQ(Drop({scratch_ / "keep.txt"}), 3u) << "refused";
  ASSERT_TRUE(gui::HandledPostedMessages(GetDlgItem(window_, vazo::kDirectoryListBox1)));
  EXPECT_EQ(gui::MessageBoxesOf(program_.id()), std::vector<HWND>{consent});
  Answer(consent, IDNO);
  EXPECT_TRUE(NoBoxLeft());
  for (const std::string& name : Files())
    EXPECT_EQ(testing::ReadBytes(scratch_ / name), Bytes(name.begin(), name.end())) << name;
}

}  // namespace
}  // namespace tovo
