// Pop-up menus of the Windows editor. A menu model becomes a native pop-up menu whose
// command ids are handed out depth first: each menu reserves ids for all of its items before
// its submenus are built, so an id identifies the model menu and item it came from.

#include <windows.h>

#include <cstdio>
#include <string>

#include "gui/IChoiceMenu.h"
#include "gui/win/IGraphicsWin.h"

namespace {

// The text an item shows: with numbering, its 1-based position in front.
std::string ItemLabel(const IChoiceMenu& menu, int position, const std::string& text) {
  const char* format = nullptr;
  switch (menu.Numbering()) {
    case IChoiceMenu::kNumberPlain:
      format = "%1d: %s";
      break;
    case IChoiceMenu::kNumberTwoDigits:
      format = "%02d: %s";
      break;
    case IChoiceMenu::kNumberThreeDigits:
      format = "%03d: %s";
      break;
    default:
      return text;
  }
  char label[512] = {};
  std::snprintf(label, sizeof label, format, position, text.c_str());
  return label;
}

// Builds the native menu for model, whose items get ids from *nextId on; submenus continue
// from where the menu's own reservation ends.
HMENU BuildNativeMenu(const IChoiceMenu& model, int* nextId) {
  HMENU native = CreatePopupMenu();
  const int base = *nextId;
  *nextId += model.NItems();
  for (int i = 0; i < model.NItems(); ++i) {
    const IChoiceMenu::Item* item = model.ItemAt(i);
    const std::string label = ItemLabel(model, i + 1, item->text);
    if (item->flags & IChoiceMenu::kItemSeparator) {
      AppendMenuA(native, MF_SEPARATOR, 0, nullptr);
    } else if (item->submenu) {
      HMENU sub = BuildNativeMenu(*item->submenu, nextId);
      AppendMenuA(native, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), label.c_str());
    } else {
      UINT flags = MF_STRING;
      if (item->flags & IChoiceMenu::kItemGreyed) flags |= MF_GRAYED;
      if (item->flags & IChoiceMenu::kItemDisabled) flags |= MF_DISABLED;
      if (item->flags & IChoiceMenu::kItemChecked) flags |= MF_CHECKED;
      AppendMenuA(native, flags, UINT_PTR(base + i), label.c_str());
    }
  }
  return native;
}

// Finds the model menu whose id range holds id, with the reservation BuildNativeMenu used;
// records the choice in it and answers it, or null.
IChoiceMenu* MenuHoldingId(IChoiceMenu* model, int id, int* nextId) {
  const int base = *nextId;
  *nextId += model->NItems();
  if (id >= base && id < base + model->NItems()) {
    model->SetChosenIndex(id - base);
    return model;
  }
  for (int i = 0; i < model->NItems(); ++i) {
    const IChoiceMenu::Item* item = model->ItemAt(i);
    if (!item->submenu || (item->flags & IChoiceMenu::kItemSeparator)) continue;
    IChoiceMenu* found = MenuHoldingId(item->submenu.get(), id, nextId);
    if (found) return found;
  }
  return nullptr;
}

}  // namespace

IChoiceMenu* IGraphicsWin::RunPopupMenu(IChoiceMenu* menu, const IRectangle& area) {
  ForgetMouseCapture();  // the press that led here is over
  if (!menu || !mWindow || menu->NItems() == 0) return nullptr;
  int nextId = 0;
  HMENU native = BuildNativeMenu(*menu, &nextId);
  const IRectangle shown = WindowArea(area);
  POINT corner = {shown.L, shown.B};
  ClientToScreen(mWindow, &corner);
  TrackPopupMenu(native, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, corner.x, corner.y, 0,
                 mWindow, nullptr);
  MSG command = {};
  IChoiceMenu* chosen = nullptr;
  if (PeekMessageA(&command, mWindow, WM_COMMAND, WM_COMMAND, PM_REMOVE) &&
      HIWORD(command.wParam) == 0) {
    int reserved = 0;
    chosen = MenuHoldingId(menu, int(LOWORD(command.wParam)), &reserved);
  }
  DestroyMenu(native);
  const RECT all = {0, 0, WindowWidth(), WindowHeight()};
  InvalidateRect(mWindow, &all, FALSE);
  return chosen;
}
