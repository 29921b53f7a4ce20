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

const Form& Message2Form() {
  return kMessage2Form;
}

}  // namespace tovo::forms::message
