#include "gui/IChoiceMenu.h"

void IChoiceMenu::AddItem(const char* text, int flags) {
  Item item;
  item.text = text ? text : "";
  item.flags = flags;
  mItems.push_back(std::move(item));
}

void IChoiceMenu::AddSubmenu(const char* text, IChoiceMenu* submenu) {
  Item item;
  item.text = text ? text : "";
  item.submenu.reset(submenu);
  mItems.push_back(std::move(item));
}

const IChoiceMenu::Item* IChoiceMenu::ItemAt(int idx) const {
  if (idx < 0 || idx >= NItems()) return nullptr;
  return &mItems[size_t(idx)];
}
