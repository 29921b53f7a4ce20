// The shred command end to end: the real program started on a fresh folder,
// entries selected in its file list, the button pressed and the boxes
// answered from this process.
#include <gtest/gtest.h>

#include <utility>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "forms/main_form.h"
#include "forms/message_form.h"
#include "gui/support/gui_driver.h"
#include "gui/support/remote_tree.h"
#include "platform/handles_win.h"
#include "platform/wide_win.h"
#include "win/support/shred_scratch.h"

namespace tovo {
namespace {

namespace vazo = forms::vazo;
using Names = std::vector<std::wstring>;

class ShredCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    // Directly below C:\ so that a tree which starts at the drive root
    // reaches it with one double-click.
    root_ = L"C:\\tovo-shred-gui-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount());
    ASSERT_TRUE(CreateDirectoryW(root_.c_str(), nullptr));
  }

  void TearDown() override {
    if (program_) {
      for (HWND box : gui::MessageBoxesOf(program_.id())) PostMessageW(box, WM_CLOSE, 0, 0);
      program_ = gui::Process();
    }
    RemoveTree(L"\\\\?\\" + root_);
    // A name made outside Windows (with "*") can only be removed from there.
    const std::string unixRoot = testing::UnixPathOf(Narrow(root_));
    if (Exists(L"") && unixRoot.find("tovo-shred-gui-") != std::string::npos) {
      testing::RunUnix({"/bin/rm", "-rf", unixRoot});
    }
  }

  static void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW data;
    UniqueFind search(FindFirstFileW((dir + L"\\*").c_str(), &data));
    if (search) {
      do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = dir + L"\\" + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveTree(path);
        else
          DeleteFileW(path.c_str());
      } while (FindNextFileW(search.get(), &data));
    }
    search.reset();
    RemoveDirectoryW(dir.c_str());
  }

  std::wstring Path(const std::wstring& name) const { return root_ + L"\\" + name; }
  bool Exists(const std::wstring& name) const {
    return GetFileAttributesW((L"\\\\?\\" + Path(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  void File(const std::wstring& name, size_t bytes = 100, DWORD attributes = 0) {
    UniqueFile f(CreateFileW(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(f) << Narrow(name);
    const std::string data(bytes, 'x');
    DWORD written = 0;
    if (bytes) WriteFile(f.get(), data.data(), static_cast<DWORD>(bytes), &written, nullptr);
    f.reset();
    if (attributes) SetFileAttributesW(Path(name).c_str(), attributes);
  }
  void Folder(const std::wstring& name) {
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + Path(name)).c_str(), nullptr)) << Narrow(name);
  }

  // Starts the program in the test folder and waits until its list shows it.
  void Start(const Names& expected) {
    gui::RunningProgram running = gui::StartProgram(root_);
    program_ = std::move(running.process);
    window_ = running.mainWindow;
    ASSERT_NE(window_, nullptr);
    list_ = GetDlgItem(window_, vazo::kFileListBox);
    button_ = GetDlgItem(window_, vazo::kButton1);
    ASSERT_TRUE(list_ && button_);
    if (!gui::WaitUntil([&] { return Texts() == expected; }, 1500)) OpenTestFolderFromRoot();
    ASSERT_TRUE(gui::WaitUntil([&] { return Texts() == expected; }, 10000))
        << "the list does not show the test folder";
  }

  // The list starts at the drive root when the tree picks its first folder.
  void OpenTestFolderFromRoot() {
    const std::wstring name = root_.substr(3);
    ASSERT_TRUE(gui::WaitUntil([&] { return Index(name) >= 0; }, 10000)) << "not in the root";
    SendMessageW(list_, LB_SETCARETINDEX, static_cast<WPARAM>(Index(name)), FALSE);
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(vazo::kFileListBox, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(list_));
  }

  Names Texts() const {
    Names texts;
    const auto count = static_cast<int>(SendMessageW(list_, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      std::vector<wchar_t> text(
          static_cast<size_t>(SendMessageW(list_, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0)) + 1);
      SendMessageW(list_, LB_GETTEXT, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(text.data()));
      texts.emplace_back(text.data());
    }
    return texts;
  }
  int Index(const std::wstring& name) const {
    const Names texts = Texts();
    const auto it = std::find(texts.begin(), texts.end(), name);
    return it == texts.end() ? -1 : static_cast<int>(it - texts.begin());
  }
  void Select(const Names& names) {
    for (const std::wstring& name : names)
      SendMessageW(list_, LB_SETSEL, TRUE, static_cast<LPARAM>(Index(name)));
  }

  // Presses the button and returns the box that comes up.
  HWND Press() {
    gui::Click(button_);
    return gui::WaitForMessageBox(program_.id());
  }
  // Answers a box and waits until it is gone.
  void Answer(HWND box, int button) {
    gui::Click(GetDlgItem(box, button));
    gui::WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 10000);
  }
  HWND NextBox(HWND previous) {
    HWND box = nullptr;
    gui::WaitUntil(
        [&] {
          for (HWND b : gui::MessageBoxesOf(program_.id()))
            if (b != previous && IsWindowVisible(b)) box = b;
          return box != nullptr;
        },
        60000);
    return box;
  }
  // The open progress window's text, read without a message (the program is
  // busy shredding); empty when no progress window is shown.
  std::wstring ProgressText() const {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"TFrm_message", nullptr); w;
         w = FindWindowExW(nullptr, w, L"TFrm_message", nullptr)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid != program_.id() || !IsWindowVisible(w)) continue;
      wchar_t text[256] = {};
      InternalGetWindowText(GetDlgItem(w, forms::message::kPanel1), text, 256);
      return text;
    }
    return std::wstring();
  }
  bool ProgressWindowShown() const {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"TFrm_message", nullptr); w;
         w = FindWindowExW(nullptr, w, L"TFrm_message", nullptr)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == program_.id() && IsWindowVisible(w)) return true;
    }
    return false;
  }

  std::wstring root_;
  gui::Process program_;
  HWND window_ = nullptr;
  HWND list_ = nullptr;
  HWND button_ = nullptr;
};

TEST_F(ShredCommand, NothingSelectedSaysSoAndChangesNothing) {
  File(L"a.txt");
  Start({L"a.txt"});
  const HWND box = Press();
  ASSERT_TRUE(box);
  EXPECT_EQ(gui::MessageBoxText(box), L"请选择要粉碎的文件或文件夹。");
  EXPECT_EQ(gui::WindowText(box), L"请注意");
  EXPECT_TRUE(GetDlgItem(box, IDOK));
  EXPECT_FALSE(GetDlgItem(box, IDNO));
  EXPECT_EQ(GetWindow(box, GW_OWNER), window_);
  Answer(box, IDOK);
  EXPECT_TRUE(Exists(L"a.txt"));
}

TEST_F(ShredCommand, NoLeavesEveryFileInPlace) {
  File(L"a.txt");
  Folder(L"dir");
  File(L"dir\\inner.txt");
  Start({L"dir", L"a.txt"});
  Select({L"dir", L"a.txt"});
  const HWND box = Press();
  ASSERT_TRUE(box);
  EXPECT_EQ(gui::MessageBoxText(box), L"真的要进行粉碎操作（操作不可逆，请慎重选择）？");
  EXPECT_EQ(gui::WindowText(box), L"请注意");
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(box, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON)
      << "No is the default button";
  Answer(box, IDNO);
  ASSERT_TRUE(gui::HandledPostedMessages(GetDlgItem(window_, vazo::kDirectoryListBox1)));
  EXPECT_TRUE(gui::MessageBoxesOf(program_.id()).empty()) << "no further message";
  EXPECT_TRUE(Exists(L"a.txt") && Exists(L"dir\\inner.txt"));
  EXPECT_EQ(Texts(), (Names{L"dir", L"a.txt"}));
}

TEST_F(ShredCommand, YesDestroysTheSelectionAndRereadsTheListBeforeTheCompletionBox) {
  File(L"plain.txt", 10000);
  File(L"empty.txt", 0);
  File(L"hidden-ro.txt", 50, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
  File(L"keep.txt");
  File(L"粉碎 😀.txt");
  Folder(L"dir");
  File(L"dir\\inner.txt");
  Folder(L"dir\\.cache");
  File(L"dir\\.cache\\blob");
  Folder(L"empty dir");
  Start({L"dir", L"empty dir", L"empty.txt", L"hidden-ro.txt", L"keep.txt", L"plain.txt",
         L"粉碎 😀.txt"});
  Select({L"dir", L"empty dir", L"empty.txt", L"hidden-ro.txt", L"plain.txt", L"粉碎 😀.txt"});
  const HWND confirm = Press();
  ASSERT_TRUE(confirm);
  Answer(confirm, IDYES);
  const HWND done = NextBox(confirm);
  ASSERT_TRUE(done);
  EXPECT_EQ(gui::MessageBoxText(done), L"粉碎顺利完成！");
  EXPECT_EQ(gui::WindowText(done), L"请注意");
  EXPECT_FALSE(ProgressWindowShown());
  EXPECT_EQ(Texts(), Names{L"keep.txt"}) << "re-read before the box";
  for (const wchar_t* gone :
       {L"plain.txt", L"empty.txt", L"hidden-ro.txt", L"dir", L"empty dir", L"粉碎 😀.txt"})
    EXPECT_FALSE(Exists(gone)) << Narrow(gone);
  EXPECT_TRUE(Exists(L"keep.txt"));
  Answer(done, IDOK);
}

TEST_F(ShredCommand, AFileInUseIsNamedInTheWarningAndTheOthersAreDestroyed) {
  File(L"held.txt");
  File(L"other.txt");
  Start({L"held.txt", L"other.txt"});
  UniqueFile held(CreateFileW(Path(L"held.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  Select({L"held.txt", L"other.txt"});
  const HWND confirm = Press();
  ASSERT_TRUE(confirm);
  Answer(confirm, IDYES);
  const HWND warning = NextBox(confirm);
  ASSERT_TRUE(warning);
  const std::wstring text = gui::MessageBoxText(warning);
  EXPECT_EQ(gui::WindowText(warning), L"请注意");
  EXPECT_NE(text.find(L"1 项未能粉碎"), std::wstring::npos) << Narrow(text);
  EXPECT_NE(text.find(L"held.txt（正被其他程序使用）"), std::wstring::npos) << Narrow(text);
  EXPECT_EQ(text.find(L"other.txt"), std::wstring::npos);
  EXPECT_FALSE(Exists(L"other.txt"));
  EXPECT_EQ(Texts(), Names{L"held.txt"});
  Answer(warning, IDOK);
  held.reset();
  EXPECT_TRUE(Exists(L"held.txt"));
}

TEST_F(ShredCommand, TheProgressWindowNamesEachFileWhileItIsShredded) {
  const size_t big = 48u << 20;  // long enough to be seen while it is written
  Folder(L"dir");
  File(L"dir\\inside.bin", big);
  File(L"top.bin", big);
  Start({L"dir", L"top.bin"});
  Select({L"dir", L"top.bin"});
  const HWND confirm = Press();
  ASSERT_TRUE(confirm);
  Answer(confirm, IDYES);
  std::vector<std::wstring> seen;
  HWND done = nullptr;
  gui::WaitUntil(
      [&] {
        const std::wstring text = ProgressText();
        const bool counting = text.rfind(L"正在统计", 0) == 0;  // before the first name
        if (!text.empty() && !counting && (seen.empty() || seen.back() != text))
          seen.push_back(text);
        for (HWND b : gui::MessageBoxesOf(program_.id()))
          if (b != confirm && IsWindowVisible(b)) done = b;
        return done != nullptr;
      },
      60000);
  ASSERT_TRUE(done);
  EXPECT_EQ(gui::MessageBoxText(done), L"粉碎顺利完成！");
  // The window shows the newest name a few times a second: a file that is
  // gone within that time (a fast disk writes 48 MB in tens of milliseconds)
  // may pass unnamed, but no name comes out of order and the first one, named
  // at once, is always seen.
  const Names expected{L"正在粉碎文件：inside.bin，请稍等...", L"正在粉碎：top.bin，请稍等..."};
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen,
            Names(expected.begin(), expected.begin() + std::min(seen.size(), expected.size())));
  Answer(done, IDOK);
}

// A sub-folder whose name holds "*" (made outside Windows) is listed by the
// directory search but no Windows path can enter it: the listing error of a
// folder that cannot be entered, which Wine offers no other way to produce
// (the tests run as root, so permissions do not stop it).
TEST_F(ShredCommand, AFolderThatCannotBeEnteredEndsTheCommandAfterTheListIsReread) {
  Folder(L"a");
  File(L"a\\first.txt");
  Folder(L"b");
  File(L"b\\kept.txt");
  ASSERT_TRUE(testing::RunUnix({"/bin/mkdir", testing::UnixPathOf(Narrow(Path(L"b"))) + "/bad*"}));
  File(L"later.txt");
  Start({L"a", L"b", L"later.txt"});
  Select({L"a", L"b", L"later.txt"});
  const HWND confirm = Press();
  ASSERT_TRUE(confirm);
  Answer(confirm, IDYES);
  const HWND error = NextBox(confirm);
  ASSERT_TRUE(error);
  const std::wstring text = gui::MessageBoxText(error);
  EXPECT_EQ(text, L"I/O error 123.") << Narrow(text);
  EXPECT_FALSE(ProgressWindowShown());
  EXPECT_FALSE(Exists(L"a")) << "shredded before the failing folder";
  EXPECT_TRUE(Exists(L"b\\kept.txt")) << "nothing of the failing folder is shredded";
  EXPECT_TRUE(Exists(L"later.txt")) << "later paths are left alone";
  EXPECT_EQ(Texts(), (Names{L"b", L"later.txt"})) << "re-read before the error box";
  Answer(error, IDOK);
}

TEST_F(ShredCommand, AShreddedFolderLeavesTheTreeBeforeTheCompletionBox) {
  Folder(L"dir");
  File(L"dir\\inner.txt");
  Folder(L"keep");
  Start({L"dir", L"keep"});
  const gui::RemoteTree tree(GetDlgItem(window_, vazo::kDirectoryListBox1), program_.id());
  ASSERT_TRUE(tree);
  ASSERT_TRUE(gui::WaitUntil(
      [&] {
        return tree.ChildTexts(tree.Selected()) == Names{L"dir", L"keep"};
      },
      5000));
  Select({L"dir"});
  const HWND confirm = Press();
  ASSERT_TRUE(confirm);
  Answer(confirm, IDYES);
  const HWND done = NextBox(confirm);
  ASSERT_TRUE(done);
  EXPECT_EQ(tree.ChildTexts(tree.Selected()), Names{L"keep"});
  EXPECT_EQ(tree.Text(tree.Selected()), root_.substr(3)) << "the list's folder stays selected";
  Answer(done, IDOK);
}

// Another program (this test) makes and deletes entries in the shown folder.
TEST_F(ShredCommand, TheListFollowsItsFolderAndKeepsTheSelection) {
  File(L"a.txt");
  File(L"b.txt");
  File(L"c.txt");
  Start({L"a.txt", L"b.txt", L"c.txt"});
  Select({L"b.txt"});
  File(L"d.txt");
  ASSERT_TRUE(DeleteFileW(Path(L"a.txt").c_str()));
  ASSERT_TRUE(gui::WaitUntil(
      [&] {
        return Texts() == Names{L"b.txt", L"c.txt", L"d.txt"};
      },
      2000))
      << "within two seconds";
  EXPECT_GT(SendMessageW(list_, LB_GETSEL, 0, 0), 0) << "b.txt stays selected";
  EXPECT_EQ(SendMessageW(list_, LB_GETSELCOUNT, 0, 0), 1);
}

// Long runs beside the live window: a folder of many files, each with its
// own bytes so that whatever the run did not reach can be compared.
class ShredRun : public ShredCommand {
 protected:
  static constexpr int kFiles = 3000;
  static constexpr size_t kFileBytes = 4 * 1024;

  static std::wstring ManyName(int i) {
    wchar_t name[32];
    swprintf(name, 32, L"many\\f%04d.bin", i);
    return name;
  }
  std::string Content(int i) const { return source_.substr(i * kFileBytes, kFileBytes); }
  // Made on the Unix side (a Windows process takes seconds for as many
  // files): random bytes cut into the folder's files, their source kept here
  // for the comparison.
  void MakeMany() {
    const std::string unixRoot = testing::UnixPathOf(Narrow(root_));
    ASSERT_FALSE(unixRoot.empty());
    ASSERT_TRUE(testing::RunUnix(
        {"/bin/sh", "-c",
         "cd " + unixRoot + " && head -c " + std::to_string(kFiles * kFileBytes) +
             " /dev/urandom > source && mkdir many && split -b " + std::to_string(kFileBytes) +
             " -d -a 4 --additional-suffix=.bin source many/f"}));
    UniqueFile f(
        CreateFileW(Path(L"source").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(f);
    source_.assign(kFiles * kFileBytes, '\0');
    DWORD read = 0;
    ASSERT_TRUE(
        ReadFile(f.get(), source_.data(), static_cast<DWORD>(source_.size()), &read, nullptr) &&
        read == source_.size());
    f.reset();
    ASSERT_TRUE(DeleteFileW(Path(L"source").c_str()));
  }
  std::optional<std::string> Read(const std::wstring& name) const {
    UniqueFile f(CreateFileW(Path(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, 0, nullptr));
    if (!f) return std::nullopt;
    std::string data(kFileBytes + 1, '\0');
    DWORD read = 0;
    ReadFile(f.get(), data.data(), static_cast<DWORD>(data.size()), &read, nullptr);
    data.resize(read);
    return data;
  }

  // Starts the shredding of the folder "many", or of each of its files
  // selected in the list opened on it, and waits for the run's window.
  void StartRun(bool eachFile = false) {
    Start({L"many"});
    if (eachFile) {
      SendMessageW(list_, LB_SETCARETINDEX, 0, FALSE);
      SendMessageW(window_, WM_COMMAND, MAKEWPARAM(vazo::kFileListBox, LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(list_));
      ASSERT_TRUE(gui::WaitUntil([&] { return Texts().size() == kFiles; }, 10000));
      SendMessageW(list_, LB_SETSEL, TRUE, -1);
    } else {
      Select({L"many"});
    }
    const HWND confirm = Press();
    ASSERT_TRUE(confirm);
    confirm_ = confirm;
    Answer(confirm, IDYES);
    ASSERT_TRUE(gui::WaitUntil([&] { return RunWindow() != nullptr; }, 10000));
  }
  HWND RunWindow() const {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"TFrm_message", nullptr); w;
         w = FindWindowExW(nullptr, w, L"TFrm_message", nullptr)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == program_.id() && IsWindowVisible(w)) return w;
    }
    return nullptr;
  }
  std::wstring Line(int id) const {
    wchar_t text[256] = {};
    if (const HWND w = RunWindow()) InternalGetWindowText(GetDlgItem(w, id), text, 256);
    return text;
  }
  // The files line "文件：1,234 / 3,000 个" as {done, total}.
  std::optional<std::pair<int, int>> FileCounts() const {
    const std::wstring line = Line(forms::message::kFilesLine);
    const size_t slash = line.find(L" / ");
    if (line.rfind(L"文件：", 0) != 0 || slash == std::wstring::npos) return std::nullopt;
    const auto number = [](std::wstring text) {
      std::erase(text, L',');
      return std::stoi(text);
    };
    const size_t lead = std::wstring(L"文件：").size();
    const size_t unit = line.find(L" 个", slash);
    return std::pair{number(line.substr(lead, slash - lead)),
                     number(line.substr(slash + 3, unit - slash - 3))};
  }
  // Waits until the run has ended at least `files` files.
  bool WaitForDone(int files) {
    return gui::WaitUntil(
        [&] {
          const auto counts = FileCounts();
          return counts && counts->first >= files;
        },
        30000);
  }
  HWND FinalBox() { return NextBox(confirm_); }

  // After a stop: the box counts what was destroyed and left; every file
  // left is byte for byte as written, except the one the box names as
  // partly overwritten; the run ended early.
  void ExpectStoppedAndTheRestUntouched(HWND box) {
    const std::wstring text = gui::MessageBoxText(box);
    ASSERT_EQ(text.rfind(L"已停止：已粉碎 ", 0), 0u) << Narrow(text);
    const std::wstring partly = L"（已停止，部分内容已覆盖）";
    std::wstring partlyName;
    if (const size_t at = text.find(partly); at != std::wstring::npos) {
      const size_t start = text.rfind(L'\n', at) + 1;
      partlyName = text.substr(start, at - start);
    }
    int left = 0, identical = 0;
    for (int i = 0; i < kFiles; ++i) {
      const std::optional<std::string> data = Read(ManyName(i));
      if (!data) continue;
      ++left;
      if (Path(ManyName(i)) == partlyName) continue;
      EXPECT_EQ(*data, Content(i)) << Narrow(ManyName(i)) << " was changed";
      if (*data == Content(i)) ++identical;
    }
    EXPECT_GT(identical, 0) << "the run stopped early";
    const std::wstring untouched = L"其余 " + Grouped(identical) + L" 个文件未改动。";
    EXPECT_NE(text.find(untouched), std::wstring::npos) << Narrow(text);
    EXPECT_EQ(left, identical + (partlyName.empty() ? 0 : 1));
    EXPECT_TRUE(Exists(L"many")) << "no folder is removed after a stop";
  }
  static std::wstring Grouped(int n) {
    std::wstring digits = std::to_wstring(n);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(i, L",");
    return digits;
  }

  std::string source_;
  HWND confirm_ = nullptr;
};

TEST_F(ShredRun, TheMainWindowStaysLiveAndDisabledWhileTheWindowShowsHowFarTheRunIs) {
  MakeMany();
  StartRun();
  const HWND run = RunWindow();
  const HWND stop = GetDlgItem(run, forms::message::kStopButton);
  EXPECT_EQ(gui::WindowText(stop), L"停止(&S)");
  EXPECT_TRUE(GetWindowLongW(stop, GWL_STYLE) & BS_DEFPUSHBUTTON) << "the default button";
  EXPECT_EQ(gui::FocusOf(run), stop) << "the keyboard reaches it";
  EXPECT_EQ(GetWindow(run, GW_OWNER), window_);
  std::set<int> done;
  std::set<int> totals;
  int answered = 0, late = 0;
  HWND box = nullptr;
  gui::WaitUntil(
      [&] {
        for (HWND b : gui::MessageBoxesOf(program_.id()))
          if (b != confirm_ && IsWindowVisible(b)) box = b;
        if (box || !RunWindow()) return box != nullptr;
        const std::optional<std::pair<int, int>> counts = FileCounts();
        // Well before the end, so that the run cannot end between the looks.
        if (counts && counts->first < counts->second / 2) {
          EXPECT_FALSE(IsWindowEnabled(window_)) << "no second command during the run";
        }
        DWORD_PTR result = 0;
        const ULONGLONG before = GetTickCount64();
        if (SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result))
          ++answered;
        if (GetTickCount64() - before > 1000) ++late;
        if (counts) {
          done.insert(counts->first);
          totals.insert(counts->second);
        }
        return false;
      },
      60000);
  ASSERT_TRUE(box);
  EXPECT_EQ(gui::MessageBoxText(box), L"粉碎顺利完成！");
  EXPECT_GT(answered, 5) << "the main window answers during the run";
  EXPECT_EQ(late, 0);
  EXPECT_EQ(totals, std::set<int>{kFiles});
  EXPECT_GE(done.size(), 3u) << "a growing count";
  EXPECT_FALSE(Exists(L"many"));
  Answer(box, IDOK);
  EXPECT_TRUE(IsWindowEnabled(window_)) << "enabled again once the box is answered";
}

// Pressed from the keyboard, as the window's default button: Tab keeps the
// focus on it, Enter presses it. The files are selected in their own folder,
// so thousands of entries are left to re-read: the list follows the disk
// while the box is still up.
TEST_F(ShredRun, TheStopButtonStopsTheRunAndEveryFileNotReachedIsAsItWas) {
  MakeMany();
  StartRun(true);
  ASSERT_TRUE(WaitForDone(50));
  const HWND stop = GetDlgItem(RunWindow(), forms::message::kStopButton);
  gui::PostKey(RunWindow(), VK_TAB);
  gui::PostKey(RunWindow(), VK_RETURN);
  ASSERT_TRUE(gui::WaitUntil([&] { return !IsWindowEnabled(stop) || !RunWindow(); }, 5000))
      << "the button greys";
  const HWND box = FinalBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(gui::WindowText(box), L"请注意");
  EXPECT_EQ(GetWindow(box, GW_OWNER), window_);
  EXPECT_FALSE(RunWindow());
  ExpectStoppedAndTheRestUntouched(box);
  size_t left = 0;
  for (int i = 0; i < kFiles; ++i) left += Exists(ManyName(i)) ? 1 : 0;
  EXPECT_TRUE(gui::WaitUntil([&] { return Texts().size() == left; }, 10000))
      << Texts().size() << " entries listed, " << left << " files left";
  EXPECT_TRUE(IsWindowVisible(box));
  Answer(box, IDOK);
}

TEST_F(ShredRun, EscStopsTheRunAndASecondRunThenEndsIt) {
  MakeMany();
  StartRun();
  ASSERT_TRUE(WaitForDone(50));
  gui::PostKey(RunWindow(), VK_ESCAPE);
  const HWND box = FinalBox();
  ASSERT_TRUE(box);
  ExpectStoppedAndTheRestUntouched(box);
  Answer(box, IDOK);
  ASSERT_TRUE(gui::WaitUntil([&] { return Texts() == Names{L"many"}; }, 5000));
  Select({L"many"});
  const HWND again = Press();
  ASSERT_TRUE(again);
  Answer(again, IDYES);
  const HWND done = NextBox(again);
  ASSERT_TRUE(done);
  const std::wstring text = gui::MessageBoxText(done);
  // The file left partly overwritten is shredded like any other now.
  EXPECT_EQ(text, L"粉碎顺利完成！");
  EXPECT_FALSE(Exists(L"many"));
  Answer(done, IDOK);
}

TEST_F(ShredRun, ACloseRequestStopsTheRunAndThenEndsTheProgram) {
  MakeMany();
  StartRun();
  ASSERT_TRUE(WaitForDone(50));
  PostMessageW(window_, WM_CLOSE, 0, 0);  // as another program or the task bar does
  DWORD code = 1;
  ASSERT_TRUE(program_.WaitForExit(15000, &code));
  EXPECT_EQ(code, 0u);
  int left = 0;
  for (int i = 0; i < kFiles; ++i) left += Read(ManyName(i)) ? 1 : 0;
  EXPECT_GT(left, 0) << "the run stopped early";
}

// Log-off: the session asks, then ends; the run has stopped when the end is
// answered, and the program closes.
TEST_F(ShredRun, TheEndOfTheSessionStopsTheRunBeforeItIsAnswered) {
  MakeMany();
  StartRun();
  ASSERT_TRUE(WaitForDone(50));
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(window_, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  ASSERT_TRUE(SendMessageTimeoutW(window_, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 10000, &answer));
  EXPECT_FALSE(RunWindow()) << "the run has ended";
  int left = 0;
  for (int i = 0; i < kFiles; ++i) {
    const std::optional<std::string> data = Read(ManyName(i));
    left += data ? 1 : 0;
  }
  EXPECT_GT(left, 0) << "the run stopped early";
  DWORD code = 1;
  ASSERT_TRUE(program_.WaitForExit(15000, &code));
  EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace tovo
