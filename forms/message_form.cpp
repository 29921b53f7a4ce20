#include "forms/message_form.h"

namespace tovo::forms::message {
namespace {

constexpr Font kSongNavy{.face = "宋体", .height = 12, .colour = kNavy};

constexpr Control kMessageControls[] = {
    {.id = kShape3,
     .name = "Shape3",
     .kind = Kind::Rectangle,
     .parent = kNoParent,
     .rect = {0, 0, 494, 97},
     .caption = "",
     .font = {},
     .colour = kLightOrange,
     .outline = 33023,  // RGB 255, 128, 0
     .outlineWidth = 2},
    {.id = kShape2,
     .name = "Shape2",
     .kind = Kind::Rectangle,
     .parent = kNoParent,
     .rect = {17, 17, 459, 64},
     .caption = "",
     .font = {},
     .colour = kLightOrange,
     .outline = 4227327,  // RGB 255, 128, 64
     .outlineWidth = 1},
    {.id = kPanel1,
     .name = "Panel1",
     .kind = Kind::Panel,
     .parent = kNoParent,
     .rect = {26, 18, 439, 62},
     .caption = "",
     .font = kSongNavy,
     .colour = kLightOrange},
};

constexpr Form kMessageForm{.name = "Frm_message",
                            .caption = "",
                            .clientWidth = 494,
                            .clientHeight = 97,
                            .font = kSongNavy,
                            .colour = kBtnFace,
                            .controls = kMessageControls};

// The lines below the name line: navy 宋体 on the light orange of the frame.
constexpr Control RunLine(int id, std::string_view name, Rect rect) {
  return {.id = id,
          .name = name,
          .kind = Kind::Label,
          .parent = kNoParent,
          .rect = rect,
          .caption = "",
          .font = kSongNavy,
          .colour = kLightOrange};
}

constexpr Control kRunMessageControls[] = {
    {.id = kShape3,
     .name = "Shape3",
     .kind = Kind::Rectangle,
     .parent = kNoParent,
     .rect = {0, 0, 494, 184},
     .caption = "",
     .font = {},
     .colour = kLightOrange,
     .outline = 33023,  // RGB 255, 128, 0
     .outlineWidth = 2},
    kMessageControls[1],  // Shape2: the name line's frame
    kMessageControls[2],  // Panel1: the name line
    RunLine(kFilesLine, "FilesLine", {26, 90, 439, 14}),
    RunLine(kBytesLine, "BytesLine", {26, 108, 439, 14}),
    {.id = kBar,
     .name = "Bar",
     .kind = Kind::ProgressBar,
     .parent = kNoParent,
     .rect = {26, 128, 400, 16},
     .caption = "",
     .font = {},
     .colour = kWhite,
     .outline = 33023},  // the bar's colour, that of the outer frame
    RunLine(kPercent, "Percent", {432, 130, 36, 14}),
    RunLine(kTimeLeftLine, "TimeLeftLine", {26, 154, 340, 14}),
    {.id = kStopButton,
     .name = "StopButton",
     .kind = Kind::Button,
     .parent = kNoParent,
     .rect = {386, 148, 80, 24},
     .caption = "停止(&S)",
     .font = kSongNavy,
     .colour = kInherit,
     .tabOrder = 0},
};

constexpr Form kRunMessageForm{.name = "Frm_message",
                               .caption = "",
                               .clientWidth = 494,
                               .clientHeight = 184,
                               .font = kSongNavy,
                               .colour = kBtnFace,
                               .controls = kRunMessageControls};

constexpr Control kMessage2Controls[] = {
    {.id = kShape1,
     .name = "Shape1",
     .kind = Kind::Rectangle,
     .parent = kNoParent,
     .rect = {0, 0, 463, 93},
     .caption = "",
     .font = {},
     .colour = 16702927,  // RGB 207, 221, 254
     .outline = kNavy,
     .outlineWidth = 2},
    {.id = kLabel1,
     .name = "Label1",
     .kind = Kind::Label,
     .parent = kNoParent,
     .rect = {18, 23, 400, 12},
     .caption = "",
     .font = kSongNavy,
     .colour = kInherit,
     .look = kTransparent},
    {.id = kShape4,
     .name = "Shape4",
     .kind = Kind::Rectangle,
     .parent = kNoParent,
     .rect = {18, 48, 400, 20},
     .caption = "",
     .font = {},
     .colour = kWhite,
     .outline = kNavy,
     .outlineWidth = 1},
    {.id = kShapeProcess2,
     .name = "shape_process2",
     .kind = Kind::Rectangle,
     .parent = kNoParent,
     .rect = {18, 48, 23, 20},
     .caption = "",
     .font = {},
     .colour = kSkyBlue,
     .outline = kNavy,
     .outlineWidth = 1},
    {.id = kLabel22,
     .name = "Label22",
     .kind = Kind::Label,
     .parent = kNoParent,
     .rect = {424, 52, 18, 12},
     .caption = "100",
     .font = kSongNavy,
     .colour = kInherit,
     .look = kTransparent | kAutoSize},
    {.id = kLabel4,
     .name = "Label4",
     .kind = Kind::Label,
     .parent = kNoParent,
     .rect = {442, 52, 6, 12},
     .caption = "%",
     .font = kSongNavy,
     .colour = kInherit,
     .look = kTransparent | kAutoSize},
};

constexpr Form kMessage2Form{.name = "Frm_message2",
                             .caption = "Pellum-进度提示",
                             .clientWidth = 463,
                             .clientHeight = 93,
                             .font = kSongNavy,
                             .colour = 15986423,  // RGB 247, 238, 243
                             .controls = kMessage2Controls};

}  // namespace

const Form& MessageForm() {
  return kMessageForm;
}

const Form& RunMessageForm() {
  return kRunMessageForm;
}

const Form& Message2Form() {
  return kMessage2Form;
}

}  // namespace tovo::forms::message
