#include "form.h"

#include <algorithm>
#include <optional>

#include "core/errors.h"
#include "net/dispatch-win32.h"
#include "resource_ids.h"

namespace pelto::win {

namespace {

constexpr COLORREF Olive = RGB(128, 128, 0); // the transparent colour of every glyph
constexpr int GlyphSize = 16;
constexpr int GlyphSpacing = 4;
constexpr int PanelBevel = 1;

bool TakesFocus(Kind k)
{
    return k == Kind::GlyphButton || k == Kind::PushButton || k == Kind::ListBox || k == Kind::Edit ||
           k == Kind::RadioButton;
}

// Frames and panels lie under the controls they surround.
bool LiesUnderneath(Kind k) { return k == Kind::Panel || k == Kind::Bevel || k == Kind::GroupBox; }

int FontIndex(Look look)
{
    switch (look) {
    case Look::Heading:
    case Look::RedBold16: return 1;
    case Look::Red16: return 2;
    case Look::BlueArialBlack12: return 3;
    default: return 0;
    }
}

} // namespace

std::string FormBase::Text(int id) const
{
    HWND h = Control(id);
    if (!h) return {};
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(h)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(h, text.data(), static_cast<int>(text.size()))));
    return text;
}

void FormBase::SetText(int id, const std::string& text)
{
    if (HWND h = Control(id)) {
        SetWindowTextA(h, text.c_str());
        InvalidateRect(h, nullptr, TRUE);
    }
}

Rect FormBase::Bounds() const
{
    RECT r{};
    if (Hwnd) GetWindowRect(Hwnd, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void FormBase::SetBounds(const Rect& r)
{
    if (Hwnd) MoveWindow(Hwnd, r.Left, r.Top, r.Width, r.Height, TRUE);
}

void FormBase::CreateForm(Application& app, HWND owner, const FormDef& def, WNDPROC proc, HMENU menu)
{
    App = &app;
    Controls = def.controls;

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = app.Instance();
    wc.hIcon = LoadIconA(app.Instance(), MAKEINTRESOURCEA(IDI_WINDOW_ICON));
    wc.hIconSm = static_cast<HICON>(LoadImageA(app.Instance(), MAKEINTRESOURCEA(IDI_WINDOW_ICON), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_SHARED));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = def.className;
    if (!RegisterClassExA(&wc)) throw Exception("RegisterClassEx " + std::string(def.className));

    int width = def.width, height = def.height;
    if (def.clientSize) {
        RECT r{0, 0, width, height};
        AdjustWindowRectEx(&r, def.style, menu != nullptr, def.exStyle);
        width = r.right - r.left;
        height = r.bottom - r.top;
    }
    // WS_EX_CONTROLPARENT: the message loops give this window dialog keys (Tab, Enter).
    if (!CreateWindowExA(def.exStyle | WS_EX_CONTROLPARENT, def.className, def.caption, def.style, def.left, def.top, width, height, owner,
                         menu, app.Instance(), this))
        throw Exception("CreateWindowEx " + std::string(def.className));
    CreateControls();
}

void FormBase::CreateControls()
{
    // Sizes first: a label is as large as its caption in its font.
    Sizes.clear();
    struct WindowDC { // released even when a font cannot be made
        HWND hwnd;
        HDC dc;
        ~WindowDC() { ReleaseDC(hwnd, dc); }
    } window{Hwnd, GetDC(Hwnd)};
    const HDC dc = window.dc;
    for (const ControlDef& d : Controls) {
        SIZE s{d.width, d.height};
        if (d.kind == Kind::Label && d.width == 0) {
            HGDIOBJ old = SelectObject(dc, FontFor(d.look));
            GetTextExtentPoint32A(dc, d.caption, static_cast<int>(strlen(d.caption)), &s);
            SelectObject(dc, old);
        }
        Sizes.push_back(s);
    }

    // The window list is the tab order: controls that take the focus by their place in it
    // (within their panel's place), then the rest, frames and panels at the bottom.
    std::vector<std::size_t> order(Controls.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    auto rank = [&](std::size_t i) {
        const ControlDef& d = Controls[i];
        const bool focus = TakesFocus(d.kind) && d.tab >= 0;
        const int group = !focus ? 2 + LiesUnderneath(d.kind) : 0;
        const int outer = d.parent >= 0 ? Controls[static_cast<std::size_t>(d.parent)].tab : d.tab;
        const int inner = d.parent >= 0 ? d.tab : -1;
        return std::tuple{group, focus ? outer : 0, focus ? inner : 0};
    };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return rank(a) < rank(b); });

    bool previousWasRadio = false;
    for (std::size_t i : order) {
        const ControlDef& d = Controls[i];
        const bool radio = d.kind == Kind::RadioButton;
        CreateControl(d, !(radio && previousWasRadio));
        previousWasRadio = radio;
    }

    // Anchored controls keep their distances to the parent as designed; the form has its
    // designed size now.
    RECT client;
    GetClientRect(Hwnd, &client);
    DesignedParent.assign(Controls.size(), SIZE{});
    Arrange(client.right, client.bottom, &DesignedParent);
    Realign();
}

HWND FormBase::CreateControl(const ControlDef& d, bool startsGroup)
{
    const char* cls = "STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (startsGroup ? WS_GROUP : 0);
    DWORD exStyle = 0;
    switch (d.kind) {
    case Kind::Panel:
    case Kind::Image: style |= SS_OWNERDRAW; break;
    case Kind::Label: style |= SS_LEFT | SS_NOPREFIX; break;
    case Kind::Bevel: style |= SS_ETCHEDFRAME; break;
    case Kind::GlyphButton: cls = "BUTTON"; style |= BS_OWNERDRAW | WS_TABSTOP; break;
    case Kind::PushButton:
        cls = "BUTTON";
        style |= (d.look == Look::Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
        break;
    case Kind::GroupBox: cls = "BUTTON"; style |= BS_GROUPBOX; break;
    case Kind::RadioButton: cls = "BUTTON"; style |= BS_AUTORADIOBUTTON | WS_TABSTOP; break;
    case Kind::Edit: cls = "EDIT"; style |= ES_AUTOHSCROLL | WS_TABSTOP; exStyle = WS_EX_CLIENTEDGE; break;
    case Kind::ListBox:
        cls = "LISTBOX";
        style |= LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case Kind::StatusBar:
        cls = STATUSCLASSNAMEA;
        style |= SBARS_SIZEGRIP | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
        break;
    }
    HWND h = CreateWindowExA(exStyle, cls, d.caption, style, 0, 0, 0, 0, Hwnd,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(d.id)), App->Instance(), nullptr);
    if (!h) throw Exception("CreateWindowEx " + std::string(d.name));
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(d.look)), FALSE);

    if (d.kind == Kind::ListBox) SendMessageA(h, LB_SETITEMHEIGHT, 0, 12);
    if (d.kind == Kind::StatusBar) SendMessageA(h, SB_SIMPLE, TRUE, 0);
    if (d.image) {
        Bitmap bitmap(static_cast<HBITMAP>(LoadImageA(App->Instance(), MAKEINTRESOURCEA(d.image), IMAGE_BITMAP, 0, 0, 0)));
        ImageList images(ImageList_Create(GlyphSize, GlyphSize, ILC_COLOR24 | ILC_MASK, 2, 0));
        if (!bitmap || !images) throw Exception("glyph " + std::string(d.name));
        ImageList_AddMasked(images.get(), bitmap.get(), Olive);
        Glyphs.push_back({d.id, std::move(images)});
    }
    return h;
}

std::vector<RECT> FormBase::Arrange(int clientWidth, int clientHeight, std::vector<SIZE>* parentSizes) const
{
    const RECT client{0, 0, clientWidth, clientHeight};
    std::vector<RECT> placed(Controls.size()), room(Controls.size());
    RECT formRoom = client;
    for (std::size_t i = 0; i < Controls.size(); ++i) {
        const ControlDef& d = Controls[i];
        const auto p = static_cast<std::size_t>(d.parent);
        const RECT parent = d.parent < 0 ? client : placed[p];
        RECT& free = d.parent < 0 ? formRoom : room[p];
        const SIZE parentSize{parent.right - parent.left, parent.bottom - parent.top};
        const SIZE s = Sizes[i];
        RECT r{};
        switch (d.align) {
        case Align::Bottom:
            r = {free.left, free.bottom - s.cy, free.right, free.bottom};
            free.bottom = r.top;
            break;
        case Align::Right:
            r = {free.right - s.cx, free.top, free.right, free.bottom};
            free.right = r.left;
            break;
        case Align::Client: r = free; break;
        case Align::None: {
            const SIZE designed = DesignedParent.empty() || parentSizes ? parentSize : DesignedParent[i];
            int left = d.left, top = d.top, width = s.cx, height = s.cy;
            if (d.anchors & akRight) (d.anchors & akLeft ? width : left) += parentSize.cx - designed.cx;
            if (d.anchors & akBottom) (d.anchors & akTop ? height : top) += parentSize.cy - designed.cy;
            r = {parent.left + left, parent.top + top, parent.left + left + width, parent.top + top + height};
            break;
        }
        }
        placed[i] = r;
        if (d.kind == Kind::Panel)
            room[i] = {r.left + PanelBevel, r.top + PanelBevel, r.right - PanelBevel, r.bottom - PanelBevel};
        if (parentSizes) (*parentSizes)[i] = parentSize;
    }
    return placed;
}

void FormBase::Realign()
{
    if (!Hwnd || Sizes.size() != Controls.size() || DesignedParent.size() != Controls.size()) return;
    RECT client;
    GetClientRect(Hwnd, &client);
    const std::vector<RECT> placed = Arrange(client.right, client.bottom, nullptr);
    for (std::size_t i = 0; i < Controls.size(); ++i) {
        const RECT& r = placed[i];
        if (HWND h = Control(Controls[i].id)) MoveWindow(h, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
}

HFONT FormBase::FontFor(Look look)
{
    Font& font = Fonts[static_cast<std::size_t>(FontIndex(look))];
    if (!font) {
        const char* face = "ＭＳ Ｐゴシック";
        int height = -12, weight = FW_NORMAL;
        BYTE charset = SHIFTJIS_CHARSET;
        switch (FontIndex(look)) {
        case 1: height = -16; weight = FW_BOLD; break;
        case 2: height = -16; break;
        case 3: face = "Arial Black"; charset = DEFAULT_CHARSET; break;
        }
        font.reset(CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
        if (!font) throw Exception("CreateFont");
    }
    return font.get();
}

void FormBase::DrawItem(const DRAWITEMSTRUCT& item)
{
    const auto row = std::find_if(Controls.begin(), Controls.end(),
                                  [&](const ControlDef& d) { return d.id == static_cast<int>(item.CtlID); });
    if (row == Controls.end()) return;
    HDC dc = item.hDC;
    RECT rc = item.rcItem;

    if (row->kind == Kind::Panel) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        if (row->look == Look::FramedPanel) {
            DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
            DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
        } else {
            DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
        }
        return;
    }
    if (row->kind == Kind::Image) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        HICON icon = LoadIconA(App->Instance(), MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
        DrawIconEx(dc, rc.left, rc.top, icon, rc.right - rc.left, rc.bottom - rc.top, 0, nullptr, DI_NORMAL);
        return;
    }
    if (row->kind != Kind::GlyphButton) return;

    // A glyph button: the glyph (greyed when disabled) and the caption side by side, centred.
    const bool pressed = item.itemState & ODS_SELECTED;
    const bool disabled = item.itemState & ODS_DISABLED;
    const int shift = pressed ? 1 : 0;
    DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

    char caption[256] = {};
    GetWindowTextA(item.hwndItem, caption, sizeof caption);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
    SIZE textSize{};
    GetTextExtentPoint32A(dc, caption, static_cast<int>(strlen(caption)), &textSize);
    const int total = GlyphSize + (caption[0] ? GlyphSpacing + textSize.cx : 0);
    const int x = rc.left + (rc.right - rc.left - total) / 2 + shift;
    const int y = rc.top + (rc.bottom - rc.top - GlyphSize) / 2 + shift;

    const auto glyph = std::find_if(Glyphs.begin(), Glyphs.end(), [&](const Glyph& g) { return g.id == row->id; });
    if (glyph != Glyphs.end()) ImageList_Draw(glyph->images.get(), disabled ? 1 : 0, dc, x, y, ILD_TRANSPARENT);

    SetBkMode(dc, TRANSPARENT);
    RECT text{x + GlyphSize + GlyphSpacing, rc.top + shift, rc.right, rc.bottom + shift};
    if (disabled) {
        RECT embossed{text.left + 1, text.top + 1, text.right + 1, text.bottom + 1};
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, caption, -1, &embossed, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    }
    DrawTextA(dc, caption, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    SelectObject(dc, oldFont);

    if (item.itemState & ODS_FOCUS) {
        RECT focus{rc.left + 3, rc.top + 3, rc.right - 3, rc.bottom - 3};
        DrawFocusRect(dc, &focus);
    }
}

LRESULT FormBase::ColorStatic(HDC dc, HWND control)
{
    const int id = GetDlgCtrlID(control);
    for (const ControlDef& d : Controls) {
        if (d.id != id) continue;
        switch (d.look) {
        case Look::RedBold16:
        case Look::Red16: SetTextColor(dc, RGB(255, 0, 0)); break;
        case Look::BlueArialBlack12: SetTextColor(dc, RGB(0, 0, 255)); break;
        default: SetTextColor(dc, GetSysColor(COLOR_BTNTEXT)); break;
        }
        break;
    }
    // Labels, frames and radio buttons lie on the form's button-face colour.
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT FormBase::DefaultHandling(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) Realign();
        return 0;
    case WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return ColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE:
        // The focus comes back to the control that had it, as in a dialog.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(Hwnd, focus)) FocusTarget = focus;
        } else if (!HIWORD(wParam)) {
            SetFocus(FocusTarget ? FocusTarget : GetNextDlgTabItem(Hwnd, nullptr, FALSE));
        }
        return 0;
    case WM_SETFOCUS:
        if (FocusTarget) SetFocus(FocusTarget);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            App->Minimize();
            return 0;
        }
        break;
    case WM_CLOSE:
        CloseWith(mrCancel);
        return 0;
    }
    return DefWindowProcA(Hwnd, msg, wParam, lParam);
}

void FormBase::CloseWith(int result)
{
    ModalResult = result;
    if (!InModal && Hwnd) ShowWindow(Hwnd, SW_HIDE);
}

int FormBase::ShowModal()
{
    if (InModal || !Hwnd) return mrCancel;
    ModalResult = mrNone;
    std::optional<TaskWindowsDisabled> others(std::in_place, *App, Hwnd);
    InModal = true;
    ShowWindow(Hwnd, SW_SHOW);
    SetForegroundWindow(Hwnd);
    MSG msg;
    while (ModalResult == mrNone) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the quit belongs to the outer loop.
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            ModalResult = mrCancel;
            break;
        }
        net::DispatchOne(msg);
    }
    InModal = false;
    // The others first, so that the activation goes back to them and not to another program.
    others.reset();
    if (Hwnd) ShowWindow(Hwnd, SW_HIDE);
    return ModalResult;
}

} // namespace pelto::win
