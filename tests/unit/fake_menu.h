// A menu that remembers check marks, the console radio item and enabled items by command id.
#pragma once

#include <map>
#include <set>

#include "app/commands.h"

namespace brennic::test {

class FakeMenu : public MenuView {
public:
    std::map<int, bool> checked;
    std::set<int> enabled;
    int radio = 0;
    int radioFirst = 0;
    int radioLast = 0;

    void setChecked(int id, bool on) override { checked[id] = on; }
    void checkRadio(int first, int last, int id) override {
        radioFirst = first;
        radioLast = last;
        radio = id;
    }
    void enable(int id) override { enabled.insert(id); }
    void gray(int id) override { enabled.erase(id); }
};

}  // namespace brennic::test
