#include "forms/about_form.h"

namespace tovo::forms::about {
namespace {

constexpr Font kWindowFont{.face = "宋体", .height = 12, .colour = kWindowText};
constexpr Font kTitle{.face = "隶书", .height = 29, .bold = true, .colour = kMaroon};
constexpr Font kMaroonText{.face = "宋体", .height = 12, .colour = kMaroon};
constexpr Font kGreenText{.face = "宋体", .height = 12, .colour = kGreen};

// The width of a caption in the 12-pixel "宋体": 6 pixels per ASCII
// character, 12 per Chinese one.
constexpr int TextWidth(std::string_view caption) {
  int width = 0;
  for (const char c : caption) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80)
      width += 6;
    else if ((byte & 0xC0) != 0x80)
      width += 12;
  }
  return width;
}

constexpr Control Text(int id, std::string_view name, int left, int top, std::string_view caption,
                       Font font = kMaroonText, Kind kind = Kind::Label) {
  // Labels size themselves to their text; the table gives the size the
  // 12-pixel font is expected to yield.
  return {.id = id,
          .name = name,
          .kind = kind,
          .parent = kNoParent,
          .rect = {left, top, TextWidth(caption), 12},
          .caption = caption,
          .font = font,
          .colour = kInherit,
          .look = kAutoSize | kTransparent};
}

constexpr Control Line(int id, std::string_view name, int left, int top) {
  return {.id = id,
          .name = name,
          .kind = Kind::Line,
          .parent = kNoParent,
          .rect = {left, top, 274, 1},
          .caption = "",
          .font = {},
          .colour = kMaroon,
          .outline = kMaroon,
          .outlineWidth = 1};
}

constexpr Control kControls[] = {
    {.id = kLabel4,
     .name = "Label4",
     .kind = Kind::Label,
     .parent = kNoParent,
     .rect = {27, 26, 172, 29},
     .caption = "Tovo文件粉碎",
     .font = kTitle,
     .colour = kInherit,
     .look = kAutoSize | kTransparent},
    Line(kShape1, "Shape1", 31, 60),
    Text(kLabelVer, "Label_ver", 31, 72, "版本：1.0"),
    Text(kLabelAut, "Label_aut", 31, 90, "作者：Tovo软件"),
    Text(kLabel5, "Label5", 31, 108, "绿色/免安装/无插件/免费", kGreenText),
    Text(kLabel2, "Label2", 31, 126, "官网："),
    Text(kLabelUrl, "Label_url", 79, 126, TOVO_SITE_HOST, kMaroonText, Kind::LinkLabel),
    Text(kLabel6, "Label6", 31, 144, "信箱："),
    Text(kLabelEmail, "Label_email", 79, 144, TOVO_CONTACT_EMAIL, kMaroonText, Kind::LinkLabel),
    Line(kShape2, "Shape2", 27, 169),
    {.id = kButton1,
     .name = "Button1",
     .kind = Kind::Button,
     .parent = kNoParent,
     .rect = {226, 184, 75, 25},
     .caption = "确定(&S)",
     .font = {},
     .colour = kInherit,
     .tabOrder = 0},
};

constexpr Form kForm{
    .name = "frm_about",
    .caption = "关于",
    .clientWidth = 325,
    .clientHeight = 222,
    .font = kWindowFont,
    .colour = kBtnFace,
    .controls = kControls,
};

}  // namespace

const Form& AboutForm() {
  return kForm;
}

}  // namespace tovo::forms::about
