// The Explorer menu's command lines run as Explorer runs them for a
// selection: one process per item, each with its "%1" replaced, all started
// together. (Explorer itself does not run under Wine, and Wine's
// ShellExecuteEx does not resolve verbs of these classes.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "forms/main_form.h"
#include "gui/support/gui_driver.h"
#include "platform/handles_win.h"
#include "platform/wide_win.h"
#include "win/support/shred_scratch.h"

namespace tovo {
namespace {

using Bytes = std::vector<std::uint8_t>;

class ExplorerStart : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 12; ++i) {
      const std::string name = (i < 8 ? "f" : "d") + std::to_string(i);
      if (i < 8) {
        testing::WriteBytes(scratch_ / name, Bytes(100 + i, 'x'));
      } else {
        testing::MakeFolder(scratch_ / name);
        testing::WriteBytes(scratch_ / name + "\\in.txt", Bytes(10, 'y'));
      }
      items_.push_back(scratch_ / name);
    }
    testing::WriteBytes(scratch_ / "keep.txt", Bytes(5, 'k'));
  }
  void TearDown() override {
    for (gui::Process& started : started_) started = gui::Process();
  }

  // One process per item, all let run at once (made suspended first, so
  // that the test's own pace of making them does not spread them out):
  // files in the scratch folder by their relative name (the process's own
  // current folder), folders by full path, as "%1" gives them.
  void StartTogether(const std::vector<std::string>& items) {
    for (const std::string& item : items) {
      const bool relative = item.find("\\f") != std::string::npos;
      const std::string argument = relative ? item.substr(scratch_.path().size() + 1) : item;
      started_.push_back(gui::Process::Start(gui::ProgramPath(), L"\"" + Wide(argument) + L"\"",
                                             relative ? Wide(scratch_.path()) : L"", true));
    }
    for (gui::Process& process : started_) process.Resume();
  }
  // Every started process but one has ended with 0 within a few seconds;
  // that one (or the program that ran already) shows the main window.
  HWND OneMainWindow() {
    const auto running = [&] {
      int count = program_.Running() ? 1 : 0;
      for (const gui::Process& p : started_) count += p.Running();
      return count;
    };
    EXPECT_TRUE(gui::WaitUntil([&] { return running() <= 1; }, 8000)) << running() << " run";
    for (gui::Process& p : started_) {
      DWORD code = 99;
      if (p.WaitForExit(0, &code)) {
        EXPECT_EQ(code, 0u) << "a start that handed over";
      } else {
        program_ = std::move(p);
      }
    }
    started_.clear();
    HWND main = nullptr;
    gui::WaitUntil(
        [&] { return program_ && (main = gui::VisibleWindowOf(program_.id(), L"Tform_vazo")); },
        15000);
    EXPECT_TRUE(main) << (program_ ? "no main window shown" : "no start kept running");
    return main;
  }
  HWND NextBox(HWND previous = nullptr) {
    return gui::WaitForNextMessageBox(program_.id(), previous);
  }
  static void Answer(HWND box, int button) {
    gui::Click(GetDlgItem(box, button));
    gui::WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 10000);
  }
  // The consent names `items` in any order (the order they arrived in).
  static void ExpectConsentFor(HWND box, const std::vector<std::string>& items) {
    ASSERT_TRUE(box);
    const std::wstring text = gui::MessageBoxText(box);
    EXPECT_TRUE(text.starts_with(L"确定要粉碎以下 " + std::to_wstring(items.size()) +
                                 L" 项吗（操作不可逆）？"))
        << Narrow(text);
    size_t named = 0;
    for (const std::string& item : items)
      named += text.find(Wide(item) + L"\n") != std::wstring::npos || text.ends_with(Wide(item));
    EXPECT_EQ(named, std::min<size_t>(items.size(), 10)) << Narrow(text);
  }
  void ExpectOnly(const std::vector<std::string>& gone) {
    for (const std::string& item : items_) {
      const bool shredded = std::find(gone.begin(), gone.end(), item) != gone.end();
      EXPECT_EQ(testing::PathExists(item), !shredded) << item;
    }
    EXPECT_TRUE(testing::PathExists(scratch_ / "keep.txt"));
  }

  testing::ScratchFolder scratch_;
  std::vector<std::string> items_;
  std::vector<gui::Process> started_;
  gui::Process program_;
};

TEST_F(ExplorerStart, ADozenItemsAtOnceMakeOneWindowAndOneQuestion) {
  StartTogether(items_);
  const HWND main = OneMainWindow();
  ASSERT_TRUE(main);
  const HWND consent = NextBox();
  ExpectConsentFor(consent, items_);
  EXPECT_TRUE(gui::HandledPostedMessages(GetDlgItem(main, forms::vazo::kDirectoryListBox1)));
  EXPECT_EQ(gui::MessageBoxesOf(program_.id()).size(), 1u) << "one question";
  Answer(consent, IDYES);
  const HWND done = NextBox(consent);
  ASSERT_TRUE(done);
  EXPECT_EQ(gui::MessageBoxText(done), L"粉碎顺利完成！");
  ExpectOnly(items_);
  Answer(done, IDOK);
  EXPECT_TRUE(gui::ClosesWithExitCodeZero(program_, main));
}

TEST_F(ExplorerStart, ItemsForAnOpenProgramWaitForItsOpenQuestion) {
  started_.push_back(gui::StartProgram().process);
  const HWND main = OneMainWindow();
  ASSERT_TRUE(main);
  // A start without arguments only brings the open window forward.
  const UniqueWindow other(CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                                           50, nullptr, nullptr, nullptr, nullptr));
  SetForegroundWindow(other.get());
  ASSERT_NE(GetForegroundWindow(), main);
  started_.push_back(gui::Process::Start(gui::ProgramPath()));
  EXPECT_EQ(OneMainWindow(), main);
  EXPECT_TRUE(gui::WaitUntil([&] { return GetForegroundWindow() == main; }, 5000));

  const std::vector<std::string> first(items_.begin(), items_.begin() + 6);
  const std::vector<std::string> later(items_.begin() + 6, items_.begin() + 9);
  StartTogether(first);
  EXPECT_EQ(OneMainWindow(), main);
  const HWND consent = NextBox();
  ExpectConsentFor(consent, first);
  StartTogether(later);
  EXPECT_EQ(OneMainWindow(), main) << "handed over while the question is open";
  EXPECT_EQ(gui::MessageBoxesOf(program_.id()), std::vector<HWND>{consent});

  Answer(consent, IDNO);
  const HWND next = NextBox(consent);
  ExpectConsentFor(next, later);
  Answer(next, IDYES);
  const HWND done = NextBox(next);
  ASSERT_TRUE(done);
  ExpectOnly(later);
  Answer(done, IDOK);
  EXPECT_TRUE(gui::ClosesWithExitCodeZero(program_, main));
}

}  // namespace
}  // namespace tovo
