// What the main window's logic needs of the window itself.
#pragma once
#include <string>

#include "settings.h"

namespace pelto {

class MainView : public MainSettingsTarget {
public:
    // Replaces the whole text of the status line.
    virtual void SetStatus(const std::string& text) = 0;

    // The list of display names, kept in step with the queue.
    virtual void AddItem(const std::string& name) = 0;
    virtual void DeleteItem(int index) = 0;
    virtual void ClearItems() = 0;
    // Index of the first selected item, or -1.
    virtual int FirstSelected() const = 0;

    virtual std::string ButtonCaption(int printer) const = 0;

    // A modal box with one OK button and no icon; all of the program's windows wait for it.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
};

} // namespace pelto
