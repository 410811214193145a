// The About box TAboutBox: the program's name and version; shown modally from "情報".
#pragma once
#include "form.h"

namespace pelto::win {

class TAboutBox : public Form<TAboutBox> {
public:
    // Creates the box hidden, owned by the application.
    void Create(Application& app);

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    bool Placed = false;
};

extern TAboutBox AboutBox;

} // namespace pelto::win
