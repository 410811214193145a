// The main window TPelto_Form: buttons, queue list, status line, menus; the state it holds
// for the whole run is the program's MainForm.
#pragma once
#include "core/main_form.h"
#include "core/main_view.h"
#include "form.h"
#include "handles.h"

namespace pelto::win {

class TPelto_Form : public Form<TPelto_Form>, public MainView {
public:
    TPelto_Form() : State(*this) {}

    // Creates the window, owned by the application; queues the command-line files.
    void Create(Application& app);

    MainForm State;

    // MainView: safe to call after the window has gone (they do nothing then).
    void SetStatus(const std::string& text) override;
    void AddItem(const std::string& name) override;
    void DeleteItem(int index) override;
    void ClearItems() override;
    int FirstSelected() const override;
    std::string ButtonCaption(int printer) const override;
    void SetButtonCaption(int printer, const std::string& caption) override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
    Rect Bounds() const override { return FormBase::Bounds(); }
    void SetBounds(const Rect& r) override { FormBase::SetBounds(r); }

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void FormShow();
    void FormClose();
    void Exit1Click();
    void SettingClick();
    void SendClick(int printer);
    void CancelBitBtnClick();
    void ClearBitBtnClick();
    void DeletePopClick();
    void WMDropFiles(HDROP drop);
    void ShowHelpClick();
    void About2Click();
    bool ListBoxContextMenu(LPARAM where);

    struct Command {
        int id;
        void (*handler)(TPelto_Form&);
    };
    static const Command Commands[];

    Menu MainMenu1;
    Menu PopupMenu1;
};

extern TPelto_Form Pelto_Form;

} // namespace pelto::win
