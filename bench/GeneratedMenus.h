#pragma once

// Menus as applications have them, for the benchmarks of keys a designer would choose: some
// common commands, the rest a verb and a noun, some with an ellipsis or a shortcut.

#include "KeyCosts.h"

#include <random>
#include <set>
#include <string>
#include <vector>

inline const std::vector<std::string> Verbs = {
    "Add",       "Align",   "Apply",   "Arrange", "Attach", "Build", "Check",   "Clear",
    "Collapse",  "Compare", "Compile", "Convert", "Create", "Debug", "Detach",  "Download",
    "Duplicate", "Expand",  "Filter",  "Flip",    "Freeze", "Group", "Hide",    "Join",
    "Lock",      "Manage",  "Mark",    "Merge",   "Move",   "Play",  "Publish", "Record",
    "Reload",    "Remove",  "Reset",   "Restore", "Rotate", "Run",   "Scan",    "Share",
    "Show",      "Sort",    "Split",   "Start",   "Stop",   "Sync",  "Toggle",  "Track",
    "Unlock",    "Update",  "Upload",  "Verify",  "Wrap",
};
inline const std::vector<std::string> Nouns = {
    "Bookmarks", "Branch",  "Cells", "Changes", "Chart",  "Columns", "Comment",   "Document",
    "Files",     "Folder",  "Font",  "Frame",   "Grid",   "Guides",  "History",   "Image",
    "Layer",     "Layout",  "Links", "Macro",   "Notes",  "Objects", "Page",      "Panel",
    "Picture",   "Project", "Query", "Rows",    "Rulers", "Section", "Selection", "Shape",
    "Sheet",     "Slide",   "Style", "Table",   "Tabs",   "Task",    "Text",      "Theme",
    "Track",     "Window",  "Zoom",
};

// A menu as applications have them: some common commands, the rest a verb and a noun, some
// with an ellipsis or a shortcut, no caption twice.
inline std::vector<std::string> GeneratedMenu(std::mt19937& random, std::size_t size)
{
    static const std::vector<RStandardKey> standard = DefaultPreferences().StandardKeys;
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<std::size_t> verb(0, Verbs.size() - 1);
    std::uniform_int_distribution<std::size_t> noun(0, Nouns.size() - 1);
    std::uniform_int_distribution<std::size_t> common(0, standard.size() - 1);
    std::set<std::string> seen;
    std::vector<std::string> menu;
    while (menu.size() < size) {
        const int roll = percent(random);
        std::string caption = roll < 25   ? standard[common(random)].Text
                              : roll < 35 ? Verbs[verb(random)]
                                          : Verbs[verb(random)] + " " + Nouns[noun(random)];
        if (percent(random) < 15)
            caption += "...";
        else if (percent(random) < 10)
            caption += "\tCtrl+" + std::string(1, static_cast<char>('A' + percent(random) % 26));
        if (seen.insert(caption).second)
            menu.push_back(caption);
    }
    return menu;
}

inline std::vector<std::vector<std::string>>
GeneratedApplication(std::size_t menus, std::size_t least, std::size_t most, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> size(least, most);
    std::vector<std::vector<std::string>> application;
    for (std::size_t i = 0; i < menus; ++i)
        application.push_back(GeneratedMenu(random, size(random)));
    return application;
}

// Forty captions, more than the alphabet has keys: a generated menu, ten numbered entries and
// six that need a punctuation key; of the first seed whose menu `assigns` can give keys to.
template <typename Assigns> std::vector<std::string> FortyMenuItems(const Assigns& assigns)
{
    for (unsigned seed = 40; seed < 1040; ++seed) {
        std::mt19937 random(seed);
        std::vector<std::string> menu = GeneratedMenu(random, 24);
        for (char digit = '0'; digit <= '9'; ++digit)
            menu.push_back(std::string("Layout ") + digit);
        for (const char* caption : {"Ask?", "Price $", "Mail @", "Less <", "More >", "Equal ="})
            menu.push_back(caption);
        if (assigns(menu))
            return menu;
    }
    return {};
}
