#include "pelto_main_layout.h"

#include "control_ids.h"
#include "resource_ids.h"

namespace pelto::win {

namespace {

// Aligned rows come first, in the order they take their strip: the status bar at the
// bottom, then Panel1 at the right, then Panel2 with the rest.
const ControlDef Controls[] = {
    // kind, id, name, parent, left, top, width, height, caption, tab, anchors, align, look, image
    {Kind::StatusBar, ids::StatusBar1, "StatusBar1", -1, 0, 0, 0, 19, "", -1, akLeftTop, Align::Bottom},
    {Kind::Panel, ids::Panel1, "Panel1", -1, 0, 0, 111, 0, "", 0, akLeftTop, Align::Right, Look::RaisedPanel},
    {Kind::GlyphButton, ids::A1BitBtn, "A1BitBtn", 1, 8, 8, 97, 25, "A1 A2", 0, akLeftTop, Align::None, Look::Normal, IDB_PRINTER_GLYPH},
    {Kind::GlyphButton, ids::A3BitBtn, "A3BitBtn", 1, 8, 40, 97, 25, "A3 A4", 1, akLeftTop, Align::None, Look::Normal, IDB_PRINTER_GLYPH},
    {Kind::GlyphButton, ids::CancelBitBtn, "CancelBitBtn", 1, 8, 92, 97, 25, "印刷中止", 3, akLeftBottom, Align::None, Look::Normal, IDB_CANCEL_GLYPH},
    {Kind::GlyphButton, ids::ClearBitBtn, "ClearBitBtn", 1, 8, 124, 97, 25, "ｸﾘｱ", 4, akLeftBottom, Align::None, Look::Normal, IDB_CLEAR_GLYPH},
    {Kind::GlyphButton, ids::CloseBitBtn, "CloseBitBtn", 1, 8, 157, 97, 25, "終了", 2, akLeftBottom, Align::None, Look::Normal, IDB_CLOSE_GLYPH},
    {Kind::Panel, ids::Panel2, "Panel2", -1, 0, 0, 0, 0, "", 1, akLeftTop, Align::Client, Look::RaisedPanel},
    {Kind::ListBox, ids::ListBox1, "ListBox1", 7, 0, 0, 0, 0, "", 0, akLeftTop, Align::Client},
};

const FormDef Description{
    ids::MainFormClass, "Pelto   Var.1.0", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 219, 118, 250, 259, false, Controls,
};

// No accelerator letters.
const MenuItemDef MainMenu1[] = {
    {0, "ファイル", 0},
    {1, "終了", ids::Exit1},
    {0, "設定", ids::Setting},
    {0, "ヘルプ", 0},
    {1, "ヘルプを表示", ids::ShowHelp},
    {1, "情報", ids::About2},
};

const MenuItemDef PopupMenu1[] = {
    {0, "取り消し", ids::DeletePop},
};

} // namespace

const FormDef& PeltoMainDescription() { return Description; }
std::span<const MenuItemDef> MainMenu1Items() { return MainMenu1; }
std::span<const MenuItemDef> PopupMenu1Items() { return PopupMenu1; }

} // namespace pelto::win
