// The settings window TSettingForm: both printers' settings, their button captions and the
// transfer type, edited on the main window's state; shown modally from "設定".
#pragma once
#include "form.h"

namespace pelto::win {

class TSettingForm : public Form<TSettingForm> {
public:
    // Creates the window hidden, owned by the application.
    void Create(Application& app);

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void FormShow();
    void OKBitBtnClick();
    void CancelBitBtnClick();
    void FormClose();

    bool Shown = false;
};

extern TSettingForm SettingForm;

} // namespace pelto::win
