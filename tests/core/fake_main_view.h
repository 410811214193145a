// A main window that records what the logic shows, for tests of the window's state.
#pragma once
#include <set>
#include <string>
#include <vector>

#include "core/main_view.h"

namespace pelto::test {

class FakeMainView : public MainView {
public:
    void SetStatus(const std::string& text) override { Statuses.push_back(text); }
    void AddItem(const std::string& name) override { Items.push_back(name); }
    void DeleteItem(int index) override
    {
        Items.erase(Items.begin() + index);
        std::set<int> kept; // as a list box keeps the selection of the others
        for (int s : Selected)
            if (s != index) kept.insert(s < index ? s : s - 1);
        Selected = kept;
    }
    void ClearItems() override
    {
        Items.clear();
        Selected.clear();
    }
    int FirstSelected() const override { return Selected.empty() ? -1 : *Selected.begin(); }
    std::string ButtonCaption(int printer) const override { return Captions[printer]; }
    void SetButtonCaption(int printer, const std::string& caption) override { Captions[printer] = caption; }
    Rect Bounds() const override { return Window; }
    void SetBounds(const Rect& r) override
    {
        Window = r;
        BoundsHistory.push_back(r);
    }
    void ShowMessage(const std::string& text, const std::string& caption) override
    {
        Messages.push_back(caption + "|" + text);
    }

    std::vector<std::string> Statuses, Items, Messages;
    std::set<int> Selected;
    std::string Captions[2] = {"A1 A2", "A3 A4"};
    Rect Window{219, 118, 250, 259};
    std::vector<Rect> BoundsHistory;
};

} // namespace pelto::test
