// The thin window layer: a form built from its control table, with the common handling of
// layout, fonts, glyph buttons, colours, focus and modal showing. Each window class derives
// from Form<T>, whose one static trampoline stores `this` at WM_NCCREATE and hands every
// message to T::HandleMessage; an exception escaping a handler ends in the standard error box.
#pragma once
#include <windows.h>

#include <array>
#include <cstring>
#include <tuple>
#include <string>
#include <vector>

#include "application.h"
#include "control_table.h"
#include "core/settings.h"
#include "handles.h"

namespace pelto::win {

inline constexpr int mrNone = 0, mrOk = 1, mrCancel = 2;

// A form's own description: class, caption, frame, designed outer rectangle, controls.
struct FormDef {
    const char* className;
    const char* caption;
    DWORD style;
    DWORD exStyle;
    int left, top, width, height; // outer; with clientSize, width and height are the client's
    bool clientSize;
    ControlTable controls;
};

class FormBase {
public:
    FormBase() = default;
    FormBase(const FormBase&) = delete;
    FormBase& operator=(const FormBase&) = delete;
    virtual ~FormBase() = default;

    HWND Handle() const { return Hwnd; }
    HWND Control(int id) const { return Hwnd ? GetDlgItem(Hwnd, id) : nullptr; }
    std::string Text(int id) const;
    void SetText(int id, const std::string& text);

    // The outer rectangle in screen pixels; a maximised window gives its maximised one.
    Rect Bounds() const;
    void SetBounds(const Rect& r);

    // Shows the form with every other window of the program disabled and returns its
    // modal result when it closes.
    int ShowModal();

protected:
    void CreateForm(Application& app, HWND owner, const FormDef& def, WNDPROC proc, HMENU menu = nullptr);
    // Messages every form handles alike; the rest go to DefWindowProc.
    LRESULT DefaultHandling(UINT msg, WPARAM wParam, LPARAM lParam);
    // Ends the modal loop with a result (a modal form closes, a modeless one hides).
    void CloseWith(int result);
    // The control that gets the focus when the form is next activated.
    void SetFocusTarget(int id) { FocusTarget = Control(id); }
    void ShowException(const std::exception& e) { App->ShowException(e); }

    Application* App = nullptr;
    HWND Hwnd = nullptr;
    int ModalResult = mrNone;
    bool InModal = false;

    template <class T>
    friend class Form;

private:
    void CreateControls();
    HWND CreateControl(const ControlDef& d, bool startsGroup);
    void Realign();
    std::vector<RECT> Arrange(int clientWidth, int clientHeight, std::vector<SIZE>* parentSizes) const;
    HFONT FontFor(Look look);
    void DrawItem(const DRAWITEMSTRUCT& item);
    LRESULT ColorStatic(HDC dc, HWND control);

    ControlTable Controls;
    std::vector<SIZE> Sizes;          // per row: designed size, or measured for labels
    std::vector<SIZE> DesignedParent; // per row: the parent's size as designed
    std::array<Font, 6> Fonts;        // per Look that has a font of its own, made on first use
    struct Glyph {
        int id;
        ImageList images; // normal, greyed
    };
    std::vector<Glyph> Glyphs;
    HWND FocusTarget = nullptr;
};

template <class T>
class Form : public FormBase {
protected:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        T* self;
        if (msg == WM_NCCREATE) {
            self = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->Hwnd = hwnd;
        } else {
            self = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        }
        if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
        LRESULT result = 0;
        try {
            result = self->HandleMessage(msg, wParam, lParam);
        } catch (const std::exception& e) {
            self->ShowException(e);
        }
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            self->Hwnd = nullptr;
        }
        return result;
    }
};

} // namespace pelto::win
