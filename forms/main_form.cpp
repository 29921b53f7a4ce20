#include "forms/main_form.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "forms/picture_ids.h"

namespace tovo::forms::vazo {
namespace {

constexpr std::string_view kAnnouncementCaption = "更多实用软件请访问：" TOVO_SITE_HOST;
constexpr std::string_view kAnnouncementHint = "http://" TOVO_SITE_HOST;

constexpr Font kWindowFont{.face = "宋体", .height = 12, .colour = kNavy};
constexpr Font kParentFont{};  // the window font
constexpr Font kOwnBlack{.face = "宋体", .height = 12, .colour = kBlack};
constexpr Font kOwnNavy{.face = "宋体", .height = 12, .colour = kNavy};
constexpr Font kOwnGrey{.face = "宋体", .height = 12, .colour = kGrey};

constexpr Control kControls[] = {
    {.id = kImage1,
     .name = "Image1",
     .kind = Kind::Picture,
     .parent = kNoParent,
     .rect = {13, 14, 50, 50},
     .caption = "",
     .font = kParentFont,
     .colour = kInherit,
     .look = kAutoSize | kTransparent,
     .resource = TOVO_IDB_EMBLEM},
    {.id = kLabel1,
     .name = "Label1",
     .kind = Kind::Label,
     .parent = kNoParent,
     .rect = {79, 16, 425, 47},
     .caption = "    普通的删除操作并不能将文件从磁盘上彻底清除，使用一些工具往往可以恢复被删除的"
                "数据，这给信息安全带来一定隐患，文件粉碎功能可以彻底删除文件，删除后的文件无法用"
                "工具恢复，从而保障了信息安全。",
     .font = kOwnBlack,
     .colour = kInherit,
     .look = kWordWrap},
    {.id = kLabel2,
     .name = "Label2",
     .kind = Kind::Label,
     .parent = kNoParent,
     .rect = {247, 72, 240, 12},
     .caption = "请在下面列表中选择要粉碎的文件和文件夹：",
     .font = kParentFont,
     .colour = kInherit},
    {.id = kDirectoryListBox1,
     .name = "DirectoryListBox1",
     .kind = Kind::DirectoryTree,
     .parent = kNoParent,
     .rect = {8, 94, 233, 239},
     .caption = "",
     .font = kParentFont,
     .colour = kInherit,
     .tabOrder = 0},
    {.id = kFileListBox,
     .name = "FileListBox",
     .kind = Kind::FileList,
     .parent = kNoParent,
     .rect = {247, 94, 264, 239},
     .caption = "",
     .font = kParentFont,
     .colour = kInherit,
     .tabOrder = 1},
    {.id = kSpeedButton1,
     .name = "SpeedButton1",
     .kind = Kind::FlatButton,
     .parent = kNoParent,
     .rect = {8, 341, 26, 24},
     .caption = "",
     .font = kOwnNavy,
     .colour = kInherit,
     .hint = "桌面",
     .resource = TOVO_IDB_DESKTOP},
    {.id = kSpeedButton2,
     .name = "SpeedButton2",
     .kind = Kind::FlatButton,
     .parent = kNoParent,
     .rect = {37, 341, 26, 24},
     .caption = "",
     .font = kParentFont,
     .colour = kInherit,
     .hint = "我的文档",
     .resource = TOVO_IDB_DOCUMENTS},
    {.id = kSpeedButton3,
     .name = "SpeedButton3",
     .kind = Kind::FlatButton,
     .parent = kNoParent,
     .rect = {248, 342, 83, 25},
     .caption = "关于",
     .font = kOwnBlack,
     .colour = kInherit},
    {.id = kButton1,
     .name = "Button1",
     .kind = Kind::FlatButton,
     .parent = kNoParent,
     .rect = {338, 342, 83, 25},
     .caption = "粉碎(&Y)",
     .font = kOwnBlack,
     .colour = kInherit},
    {.id = kButton2,
     .name = "Button2",
     .kind = Kind::FlatButton,
     .parent = kNoParent,
     .rect = {427, 342, 83, 25},
     .caption = "关闭(&C)",
     .font = kOwnBlack,
     .colour = kInherit},
    {.id = kPanel1,
     .name = "Panel1",
     .kind = Kind::Panel,
     .parent = kNoParent,
     .rect = {2, 376, 516, 37},
     .caption = "",
     .font = kParentFont,
     .colour = kInherit,
     .look = kRaisedInner | kLoweredOuter,
     .tabOrder = 2},
    {.id = kPanelCenterBottom,
     .name = "Panel_center_bottom",
     .kind = Kind::Panel,
     .parent = kPanel1,
     .rect = {2, 3, 512, 32},
     .caption = "",
     .font = kParentFont,
     .colour = kWhite,
     .look = kAlignBottom},
    {.id = kLAd1,
     .name = "l_ad1",
     .kind = Kind::Label,
     .parent = kPanelCenterBottom,
     .rect = {7, 9, 280, 12},
     .caption = kAnnouncementCaption,
     .font = kOwnGrey,
     .colour = kInherit,
     .hint = kAnnouncementHint},
    {.id = kLAd2,
     .name = "l_ad2",
     .kind = Kind::Label,
     .parent = kPanelCenterBottom,
     .rect = {7, 37, 198, 12},
     .caption = kAnnouncementCaption,
     .font = kParentFont,
     .colour = kInherit,
     .look = kAutoSize,
     .hint = kAnnouncementHint},
};

constexpr Form kForm{
    .name = "form_vazo",
    .caption = "Tovo文件粉碎",
    .clientWidth = 519,
    .clientHeight = 419,
    .font = kWindowFont,
    .colour = kBtnFace,
    .controls = kControls,
};

constexpr Timer kTimers[] = {
    {kTimerAd, "Timer_ad", 4000, false},
    {kTimerAd2, "Timer_ad2", 100, false},
};

}  // namespace

const Form& MainForm() {
  return kForm;
}

std::span<const Timer> MainTimers() {
  return kTimers;
}

const Control& MainControl(int id) {
  const auto it = std::ranges::find(kControls, id, &Control::id);
  if (it == std::end(kControls)) throw std::out_of_range("no control " + std::to_string(id));
  return *it;
}

const Timer& MainTimer(int id) {
  const auto it = std::ranges::find(kTimers, id, &Timer::id);
  if (it == std::end(kTimers)) throw std::out_of_range("no timer " + std::to_string(id));
  return *it;
}

std::string_view InitialAnnouncementCaption() {
  return kAnnouncementCaption;
}

std::string_view InitialAnnouncementHint() {
  return kAnnouncementHint;
}

}  // namespace tovo::forms::vazo
