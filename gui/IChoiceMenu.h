#pragma once
// IChoiceMenu: the model of a pop-up menu that a caller builds and the window layer shows
// (RunPopupMenu). Items carry a text, flags and an optional owned submenu; after the menu ran,
// the menu holding the choice reports which of its items was chosen.

#include <memory>
#include <string>
#include <vector>

class IChoiceMenu {
 public:
  enum Numbering {
    kNumberNone = 0,
    kNumberPlain = 1,
    kNumberTwoDigits = 2,
    kNumberThreeDigits = 3
  };
  enum ItemFlags { kItemGreyed = 1, kItemDisabled = 2, kItemChecked = 4, kItemSeparator = 8 };

  struct Item {
    std::string text;
    std::unique_ptr<IChoiceMenu> submenu;  // owned; null for a plain item
    int flags = 0;
  };

  explicit IChoiceMenu(int numbering = kNumberNone) : mNumbering(numbering) {}

  void AddItem(const char* text, int flags = 0);
  // Adds an item that opens submenu; takes ownership of it.
  void AddSubmenu(const char* text, IChoiceMenu* submenu);
  int NItems() const { return int(mItems.size()); }
  const Item* ItemAt(int idx) const;  // null outside range

  int Numbering() const { return mNumbering; }
  int ChosenIndex() const { return mChosenIndex; }
  void SetChosenIndex(int idx) { mChosenIndex = idx; }

 private:
  int mNumbering;
  int mChosenIndex = -1;  // -1 until a choice is made
  std::vector<Item> mItems;
};
