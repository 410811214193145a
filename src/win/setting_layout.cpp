#include "setting_layout.h"

#include "control_ids.h"
#include "resource_ids.h"

namespace pelto::win {

namespace {

// The labels keep their blanks: the two printers' groups differ. The edits' designed texts
// (their own names) are replaced before the window is seen.
const ControlDef Controls[] = {
    // kind, id, name, parent, left, top, width, height, caption, tab, anchors, align, look, image
    {Kind::Label, ids::FirstSettingLabel + 0, "Label1", -1, 16, 8, 0, 0, "ボタン１", -1, akLeftTop, Align::None, Look::Heading},
    {Kind::Bevel, ids::FirstSettingLabel + 1, "Bevel1", -1, 16, 32, 177, 153, "", -1},
    {Kind::Label, ids::FirstSettingLabel + 2, "Label14", -1, 24, 44, 0, 0, "Button1Name", -1, akLeftTop, Align::None, Look::Normal},
    {Kind::Edit, ids::ButtonA1Edit, "ButtonA1Edit", -1, 104, 40, 81, 20, "ButtonA1Edit", 13},
    {Kind::Label, ids::FirstSettingLabel + 3, "Label3", -1, 24, 68, 0, 0, "IP Address :", -1, akLeftTop, Align::None, Look::Normal},
    {Kind::Edit, ids::IPAddressA1Edit, "IPAddressA1Edit", -1, 104, 64, 81, 20, "IPAddressA1Edit", 1},
    {Kind::Label, ids::FirstSettingLabel + 4, "Label4", -1, 24, 92, 0, 0, "User          :", -1, akLeftTop, Align::None, Look::Normal},
    {Kind::Edit, ids::UserA1Edit, "UserA1Edit", -1, 104, 88, 81, 20, "UserA1Edit", 2},
    {Kind::Label, ids::FirstSettingLabel + 5, "Label5", -1, 24, 118, 0, 0, "Password    :", -1, akLeftTop, Align::None, Look::Normal},
    {Kind::Edit, ids::PasswordA1Edit, "PasswordA1Edit", -1, 104, 112, 81, 20, "PasswordA1Edit", 3},
    {Kind::Label, ids::FirstSettingLabel + 6, "Label10", -1, 24, 140, 0, 0, "TimeOut     :", -1, akLeftTop, Align::None, Look::Normal},
    {Kind::Edit, ids::TimeOutA1Edit, "TimeOutA1Edit", -1, 104, 136, 33, 20, "TimeOutA1Edit", 10},
    {Kind::Label, ids::FirstSettingLabel + 7, "unnamed label", -1, 144, 142, 0, 0, "Sec", -1, akLeftTop, Align::None, Look::Normal},
    {Kind::Label, ids::FirstSettingLabel + 8, "Label6", -1, 24, 162, 0, 0, "Port           :", -1, akLeftTop, Align::None, Look::Normal},
    {Kind::Edit, ids::PortA1Edit, "PortA1Edit", -1, 104, 160, 33, 20, "PortA1Edit", 4},
    {Kind::Label, ids::FirstSettingLabel + 9, "Label2", -1, 16, 192, 0, 0, "ボタン２", -1, akLeftTop, Align::None, Look::Heading},
    {Kind::Bevel, ids::FirstSettingLabel + 10, "Bevel2", -1, 16, 216, 177, 153, "", -1},
    {Kind::Label, ids::FirstSettingLabel + 11, "Label13", -1, 24, 230, 0, 0, "Button2Name", -1, akLeftTop, Align::None, Look::Normal},
    {Kind::Edit, ids::ButtonA3Edit, "ButtonA3Edit", -1, 104, 224, 81, 20, "ButtonA3Edit", 12},
    {Kind::Label, ids::FirstSettingLabel + 12, "Label7", -1, 24, 254, 0, 0, "IP Address :", -1, akLeftTop, Align::None, Look::Normal},
    {Kind::Edit, ids::IPAddressA3Edit, "IPAddressA3Edit", -1, 104, 248, 81, 20, "IPAddressA3Edit", 5},
    {Kind::Label, ids::FirstSettingLabel + 13, "Label8", -1, 24, 280, 0, 0, "User         :", -1, akLeftTop, Align::None, Look::Normal},
    {Kind::Edit, ids::UserA3Edit, "UserA3Edit", -1, 104, 272, 81, 20, "UserA3Edit", 6},
    {Kind::Label, ids::FirstSettingLabel + 14, "Label9", -1, 24, 300, 0, 0, "Password   :", -1, akLeftTop, Align::None, Look::Normal},
    {Kind::Edit, ids::PasswordA3Edit, "PasswordA3Edit", -1, 104, 296, 81, 20, "PasswordA3Edit", 7},
    {Kind::Label, ids::FirstSettingLabel + 15, "Label11", -1, 24, 325, 0, 0, "TimeOut     :", -1, akLeftTop, Align::None, Look::Normal},
    {Kind::Edit, ids::TimeOutA3Edit, "TimeOutA3Edit", -1, 104, 320, 33, 20, "TimeOutA3Edit", 11},
    {Kind::Label, ids::FirstSettingLabel + 16, "Label12", -1, 144, 325, 0, 0, "Sec", -1, akLeftTop, Align::None, Look::Normal},
    {Kind::Label, ids::FirstSettingLabel + 17, "unnamed label", -1, 24, 348, 0, 0, "Port          :", -1, akLeftTop, Align::None, Look::Normal},
    {Kind::Edit, ids::PortA3Edit, "PortA3Edit", -1, 104, 344, 33, 20, "PortA3Edit", 8},
    {Kind::GlyphButton, ids::OKBitBtn, "OKBitBtn", -1, 208, 32, 89, 25, "設定終了", 0, akLeftTop, Align::None, Look::Normal, IDB_CLOSE_GLYPH},
    {Kind::GlyphButton, ids::SettingCancelBitBtn, "CancelBitBtn", -1, 208, 64, 89, 25, "ｷｬﾝｾﾙ", 9, akLeftTop, Align::None, Look::Normal, IDB_CANCEL_GLYPH},
    {Kind::GroupBox, ids::RadioGroup1, "RadioGroup1", -1, 208, 96, 89, 65, "転送モード", 14},
    {Kind::RadioButton, ids::TextRadioButton, "TextRadioButton", -1, 216, 112, 65, 17, "テキスト", 15},
    {Kind::RadioButton, ids::BinaryRadioButton, "BinaryRadioButton", -1, 216, 136, 73, 17, "バイナリ", 16},
};

const FormDef Description{
    // Not WS_CLIPCHILDREN: the form's background shows inside the frames, which draw only their edges.
    ids::SettingFormClass, "Pelto設定", WS_OVERLAPPEDWINDOW, 0, 256, 157, 311, 406, false, Controls,
};

} // namespace

const FormDef& SettingDescription() { return Description; }

} // namespace pelto::win
