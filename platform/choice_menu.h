#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace murmora {

// A part of a menu of choices: a heading over entries, of which one is the present choice. A
// part without a heading holds commands rather than choices: none of them is checked.
struct MenuPart {
    std::string heading;
    std::vector<std::string> entries;
    std::optional<std::size_t> checked; // the entry chosen now, if any
    bool operator==(const MenuPart&) const = default;
};

// An entry the user chose: its part and its place in that part.
struct MenuChoice {
    std::size_t part = 0;
    std::size_t entry = 0;
    bool operator==(const MenuChoice&) const = default;
};

// The panel's menu of choices, which the user opens with a click of the right mouse button on a
// free spot of the panel (a right-button drag moves the panel instead) or with the keyboard's
// menu key; and the panel's tooltip, which says what is chosen.
class ChoiceMenu {
public:
    virtual ~ChoiceMenu() = default;
    // Runs when the user asks for the menu.
    virtual void setOpenHandler(std::function<void()> onOpen) = 0;
    // Shows the menu where it was asked for and returns once it has closed: the entry the user
    // chose, or nothing when the menu was closed otherwise.
    virtual std::optional<MenuChoice> show(const std::vector<MenuPart>& parts) = 0;
    virtual void setToolTip(const std::string& text) = 0;
};

} // namespace murmora
