#include "about_layout.h"

#include "control_ids.h"

namespace pelto::win {

namespace {

const ControlDef Controls[] = {
    // kind, id, name, parent, left, top, width, height, caption, tab, anchors, align, look
    {Kind::Panel, ids::AboutPanel, "AboutPanel", -1, 8, 8, 281, 113, "", -1, akLeftTop, Align::None, Look::FramedPanel},
    {Kind::Image, ids::ProgramIcon, "ProgramIcon", 0, 16, 16, 41, 41, "", -1},
    {Kind::Label, ids::FirstAboutLabel + 0, "ProductName", 0, 72, 16, 0, 0, "Product Name", -1},
    {Kind::Label, ids::FirstAboutLabel + 1, "Version", 0, 72, 40, 0, 0, "Version", -1},
    {Kind::Label, ids::FirstAboutLabel + 2, "PELTO", 0, 160, 14, 0, 0, "Pelto", -1, akLeftTop, Align::None, Look::RedBold16},
    {Kind::Label, ids::FirstAboutLabel + 3, "Label1", 0, 160, 40, 0, 0, "1.2", -1, akLeftTop, Align::None, Look::Red16},
    {Kind::Label, ids::FirstAboutLabel + 4, "Copyright", 0, 32, 72, 0, 0, "(C) 2026", -1},
    {Kind::Label, ids::FirstAboutLabel + 5, "Holder", 0, 120, 72, 0, 0, "The Pelto authors", -1, akLeftTop, Align::None, Look::BlueArialBlack12},
    {Kind::PushButton, ids::OKButton, "OKButton", -1, 111, 132, 75, 25, "OK", 0, akLeftTop, Align::None, Look::Default},
};

// Client area 298 x 172; placed on its first show.
const FormDef Description{
    ids::AboutBoxClass, "バージョン情報", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    WS_EX_DLGMODALFRAME, 0, 0, 298, 172, true, Controls,
};

} // namespace

const FormDef& AboutDescription() { return Description; }

} // namespace pelto::win
