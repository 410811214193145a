// How a window's controls are described: one static table per window, one row per control,
// like a stored form description. Positions are pixels within the holding panel or the form.
#pragma once
#include <span>

namespace pelto::win {

enum class Kind { Panel, GlyphButton, PushButton, ListBox, StatusBar, Label, Edit, Bevel, GroupBox, RadioButton, Image };

// Which edges keep their distance when the parent is resized.
enum Anchors : unsigned {
    akLeft = 1,
    akTop = 2,
    akRight = 4,
    akBottom = 8,
    akLeftTop = akLeft | akTop,
    akLeftBottom = akLeft | akBottom,
};

// Aligned controls take a strip of what their parent has left, in table order.
enum class Align { None, Bottom, Right, Client };

// Fonts, colours and bevels beyond the form's own.
enum class Look {
    Normal,
    Heading,          // bold, height 16
    RedBold16,
    Red16,
    BlueArialBlack12,
    RaisedPanel,      // raised outer bevel
    FramedPanel,      // raised inner and lowered outer bevel
    Default,          // the default push button
};

struct ControlDef {
    Kind kind;
    int id;
    const char* name;
    int parent; // row of the holding panel, which comes earlier in the table; -1: the form
    int left, top, width, height; // width and height 0: sized to the caption (labels)
    const char* caption;
    int tab; // tab order within the parent; -1: no tab stop
    unsigned anchors = akLeftTop;
    Align align = Align::None;
    Look look = Look::Normal;
    int image = 0; // glyph bitmap resource of a glyph button
};

using ControlTable = std::span<const ControlDef>;

} // namespace pelto::win
