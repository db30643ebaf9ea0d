// The Windows editor's value prompts and menus, on the Brask panel built over the test
// adaptor and opened inside a host window: the in-place text entry with its key filter and
// its commit and cancel through the timer tick, and pop-up menu choices across submenus.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Brask.h"
#include "WinTestHost.h"
#include "gui/IChoiceMenu.h"
#include "gui/IControl.h"
#include "gui/win/IGraphicsWin.h"

namespace {

std::string WindowText(HWND window) {
  char text[64] = {};
  GetWindowTextA(window, text, int(sizeof text));
  return text;
}

class EditorPrompt : public ::testing::Test {
 protected:
  void SetUp() override {
    editor = static_cast<IGraphicsWin*>(plug.Editor());
    ASSERT_NE(editor, nullptr);
    window = static_cast<HWND>(editor->OpenEditorWindow(host.Handle()));
    ASSERT_NE(window, nullptr);
    PumpMessages(100);
    plug.calls.clear();
  }

  void TearDown() override { editor->CloseEditorWindow(); }

  // Opens the value entry of the control over its centre; answers the entry window.
  HWND Prompt(int controlIdx) {
    IControl* control = editor->GetControl(controlIdx);
    const IRectangle& r = control->Rect();
    const IRectangle area{CenterX(r) - 20, CenterY(r) - 8, CenterX(r) + 20, CenterY(r) + 8};
    editor->PromptForParameter(control, control->ParamIdx(), area);
    return static_cast<HWND>(editor->TextEntryWindow());
  }

  void Type(HWND entry, const char* text) {
    for (const char* c = text; *c; ++c) SendMessageA(entry, WM_CHAR, WPARAM(*c), 0);
  }

  void Tick() { SendMessageA(window, WM_TIMER, IGraphicsWin::kTimerId, 0); }

  HostWindow host;
  Brask plug{nullptr};
  IGraphicsWin* editor = nullptr;
  HWND window = nullptr;
};

TEST_F(EditorPrompt, EntryShowsTheValueAndTakesTheKeyboard) {
  plug.ParamAt(kParamAttack)->SetValueClamped(12.5);
  HWND entry = Prompt(kAttackKnob);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(GetParent(entry), window);
  EXPECT_EQ(GetDlgCtrlID(entry), IGraphicsWin::kEntryChildId);
  EXPECT_EQ(WindowText(entry), "12.50");
  EXPECT_EQ(GetFocus(), entry);
  EXPECT_EQ(editor->TextEntryStateNow(), IGraphicsWin::EntryFocused);
  // A second prompt while one is open changes nothing.
  EXPECT_EQ(Prompt(kOutputKnob), entry);
}

TEST_F(EditorPrompt, DoubleParameterRefusesLettersAndCommitsOnEnter) {
  HWND entry = Prompt(kAttackKnob);
  ASSERT_NE(entry, nullptr);
  Type(entry, "x");
  EXPECT_EQ(WindowText(entry), "10.00");  // the selection survives a refused key
  Type(entry, "2a5.b5");
  EXPECT_EQ(WindowText(entry), "25.5");
  SendMessageA(entry, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(editor->TextEntryStateNow(), IGraphicsWin::EntryCommit);
  Tick();
  EXPECT_EQ(editor->TextEntryWindow(), nullptr);
  EXPECT_FALSE(IsWindow(entry));
  EXPECT_DOUBLE_EQ(plug.ParamAt(kParamAttack)->Value(), 25.5);
  EXPECT_EQ(plug.CallsOf(AdaptorCall::InformValue).size(), 1u);
}

TEST_F(EditorPrompt, IntegerParameterRefusesTheDecimalPoint) {
  HWND entry = Prompt(kBypassSwitch);
  ASSERT_NE(entry, nullptr);
  Type(entry, "-0.7");
  EXPECT_EQ(WindowText(entry), "-07");
  SendMessageA(entry, WM_KEYDOWN, VK_RETURN, 0);
  Tick();
  EXPECT_DOUBLE_EQ(plug.ParamAt(kParamBypass)->Value(), 0.0);  // -7 clamped into 0..1
}

TEST_F(EditorPrompt, EscapeCancelsOnTheNextTickAndKeepsTheValue) {
  HWND entry = Prompt(kAttackKnob);
  ASSERT_NE(entry, nullptr);
  Type(entry, "40");
  SendMessageA(entry, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(IsWindow(entry));  // closed by the tick, not by the key
  Tick();
  EXPECT_FALSE(IsWindow(entry));
  EXPECT_EQ(editor->TextEntryStateNow(), IGraphicsWin::EntryNone);
  EXPECT_DOUBLE_EQ(plug.ParamAt(kParamAttack)->Value(), 10.0);
  EXPECT_TRUE(plug.CallsOf(AdaptorCall::InformValue).empty());
}

TEST_F(EditorPrompt, TextThatIsNoNumberCommitsZeroClampedIntoTheRange) {
  HWND entry = Prompt(kAttackKnob);
  ASSERT_NE(entry, nullptr);
  Type(entry, "-");
  SendMessageA(entry, WM_KEYDOWN, VK_RETURN, 0);
  Tick();
  EXPECT_DOUBLE_EQ(plug.ParamAt(kParamAttack)->Value(), plug.ParamAt(kParamAttack)->Min());
}

TEST_F(EditorPrompt, PressInTheEditorWhileTheEntryIsFocusedCancelsAndReachesNoControl) {
  HWND entry = Prompt(kAttackKnob);
  ASSERT_NE(entry, nullptr);
  Type(entry, "33");
  const IRectangle knob = editor->GetControl(kInputKnob)->Rect();
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(CenterX(knob), CenterY(knob)));
  SendMessageA(window, WM_LBUTTONUP, 0, PointParam(CenterX(knob), CenterY(knob)));
  EXPECT_EQ(editor->TextEntryStateNow(), IGraphicsWin::EntryCancel);
  Tick();
  EXPECT_FALSE(IsWindow(entry));
  EXPECT_DOUBLE_EQ(plug.ParamAt(kParamAttack)->Value(), 10.0);
  EXPECT_TRUE(plug.CallsOf(AdaptorCall::BeginGesture).empty());
}

TEST_F(EditorPrompt, LosingFocusCommitsAndAPressThenReachesNoControl) {
  HWND entry = Prompt(kAttackKnob);
  ASSERT_NE(entry, nullptr);
  Type(entry, "20");
  SetFocus(window);  // the entry loses the keyboard: commit at the next tick
  EXPECT_EQ(editor->TextEntryStateNow(), IGraphicsWin::EntryCommit);
  const IRectangle knob = editor->GetControl(kInputKnob)->Rect();
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(CenterX(knob), CenterY(knob)));
  EXPECT_TRUE(plug.CallsOf(AdaptorCall::BeginGesture).empty());
  Tick();
  EXPECT_DOUBLE_EQ(plug.ParamAt(kParamAttack)->Value(), 20.0);
}

TEST_F(EditorPrompt, CancelTextEntryDropsTheEntry) {
  HWND entry = Prompt(kAttackKnob);
  ASSERT_NE(entry, nullptr);
  Type(entry, "44");
  editor->CancelTextEntry();
  Tick();
  EXPECT_FALSE(IsWindow(entry));
  EXPECT_DOUBLE_EQ(plug.ParamAt(kParamAttack)->Value(), 10.0);
}

// Keys are queued before the menu opens; the menu's own loop reads them.
void QueueKeys(HWND window, std::initializer_list<WPARAM> keys) {
  for (WPARAM key : keys) {
    PostMessageA(window, WM_KEYDOWN, key, 0);
    PostMessageA(window, WM_KEYUP, key, 0);
  }
}

// "A", "Sub" with "x", "y", "z", then "C".
IChoiceMenu* MenuWithSubmenu() {
  auto* menu = new IChoiceMenu();
  menu->AddItem("A");
  auto* sub = new IChoiceMenu();
  sub->AddItem("x");
  sub->AddItem("y");
  sub->AddItem("z");
  menu->AddSubmenu("Sub", sub);
  menu->AddItem("C");
  return menu;
}

TEST_F(EditorPrompt, PopupMenuAnswersTheSubmenuHoldingTheChoice) {
  std::unique_ptr<IChoiceMenu> menu(MenuWithSubmenu());
  QueueKeys(window, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
  IChoiceMenu* chosen = editor->RunPopupMenu(menu.get(), IRectangle{10, 10, 50, 30});
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(chosen, menu->ItemAt(1)->submenu.get());
  EXPECT_EQ(chosen->ChosenIndex(), 1);
  EXPECT_EQ(menu->ChosenIndex(), -1);
}

TEST_F(EditorPrompt, PopupMenuAnswersTheTopMenuForItsOwnItems) {
  std::unique_ptr<IChoiceMenu> menu(MenuWithSubmenu());
  QueueKeys(window, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
  IChoiceMenu* chosen = editor->RunPopupMenu(menu.get(), IRectangle{10, 10, 50, 30});
  ASSERT_EQ(chosen, menu.get());
  EXPECT_EQ(chosen->ChosenIndex(), 2);
}

TEST_F(EditorPrompt, DismissedOrEmptyMenuAnswersNone) {
  std::unique_ptr<IChoiceMenu> menu(MenuWithSubmenu());
  QueueKeys(window, {VK_ESCAPE});
  EXPECT_EQ(editor->RunPopupMenu(menu.get(), IRectangle{10, 10, 50, 30}), nullptr);
  IChoiceMenu empty;
  EXPECT_EQ(editor->RunPopupMenu(&empty, IRectangle{10, 10, 50, 30}), nullptr);
  EXPECT_EQ(editor->CaptureIndex(), -1);
}

// Reads the labels of the menu on screen, then dismisses it.
std::vector<std::string> gShownLabels;

void CALLBACK ReadShownMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND shown = FindWindowA("#32768", nullptr);
  if (!shown) return;
  KillTimer(nullptr, timer);
  auto menu = reinterpret_cast<HMENU>(SendMessageA(shown, MN_GETHMENU, 0, 0));
  for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
    char label[64] = {};
    GetMenuStringA(menu, UINT(i), label, int(sizeof label), MF_BYPOSITION);
    gShownLabels.push_back(label);
  }
  PostMessageA(shown, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(EditorPrompt, NumberedMenuShowsPositionsZeroPadded) {
  IChoiceMenu menu(IChoiceMenu::kNumberTwoDigits);
  for (const char* text : {"a", "b", "c", "d", "e"}) menu.AddItem(text);
  gShownLabels.clear();
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, &ReadShownMenu);
  EXPECT_EQ(editor->RunPopupMenu(&menu, IRectangle{10, 10, 50, 30}), nullptr);
  KillTimer(nullptr, timer);
  ASSERT_EQ(gShownLabels.size(), 5u);
  EXPECT_EQ(gShownLabels[0], "01: a");
  EXPECT_EQ(gShownLabels[4], "05: e");
}

TEST_F(EditorPrompt, FoldersEndWithTheirSeparatorOrNot) {
  std::string folder;
  editor->GetHostFolder(&folder);
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  editor->GetPluginFolder(&folder);
  EXPECT_EQ(folder.back(), '\\');  // the test program is the module here
  editor->GetAppDataFolder(&folder, false);
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  std::string userData;
  editor->GetUserDataFolder(&userData, true);
  EXPECT_EQ(userData, folder);
}

TEST_F(EditorPrompt, ClipboardTextArrivesAsUtf8) {
  const wchar_t text[] = L"Gr\u00fc\u00dfe";
  ASSERT_TRUE(OpenClipboard(window));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
  std::memcpy(GlobalLock(memory), text, sizeof text);
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
  std::string read = "stale";
  EXPECT_TRUE(editor->ReadClipboardText(&read));
  EXPECT_EQ(read,
            "Gr\xc3\xbc\xc3\x9f"
            "e");
  ASSERT_TRUE(OpenClipboard(window));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_FALSE(editor->ReadClipboardText(&read));
  EXPECT_TRUE(read.empty());
}

// The message box in front while the test waits: who owns it, and it is answered with OK.
HWND gBoxOwner = nullptr;
bool gBoxSeen = false;

void CALLBACK AnswerMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowA("#32770", "Brask question");
  if (!box) return;
  KillTimer(nullptr, timer);
  gBoxSeen = true;
  gBoxOwner = GetWindow(box, GW_OWNER);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(EditorPrompt, MessageBoxBelongsToTheHostsMainWindow) {
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, &AnswerMessageBox);
  const int answer = editor->PresentMessageBox("Go on?", "Brask question", MB_OKCANCEL);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(gBoxSeen);
  EXPECT_EQ(answer, IDOK);
  EXPECT_EQ(gBoxOwner, host.Handle());
}

TEST_F(EditorPrompt, ResizeUnderVst3GrowsOnlyTheEditorAndAsksTheHost) {
  RECT hostBefore = {};
  GetWindowRect(host.Handle(), &hostBefore);
  editor->Resize(796, 472);  // unchanged: nothing happens
  EXPECT_TRUE(plug.CallsOf(AdaptorCall::Resize).empty());
  editor->Resize(806, 492);
  RECT client = {};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 806);
  EXPECT_EQ(client.bottom, 492);
  RECT hostAfter = {};
  GetWindowRect(host.Handle(), &hostAfter);
  EXPECT_EQ(hostAfter.right - hostAfter.left, hostBefore.right - hostBefore.left);
  const std::vector<AdaptorCall> asked = plug.CallsOf(AdaptorCall::Resize);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].index, 806);
  EXPECT_EQ(asked[0].value, 492.0);
}

TEST(EditorResize, UnderVst2TheHostWindowGrowsAlong) {
  const IPlugIdentity identity{"T", "T", "T",  FourCharCode("Test"), FourCharCode("Test"), 1,
                               0,   0,   "2-2"};
  TestAdaptorVst2 plug(nullptr, identity);
  IGraphicsWin editor(&plug, 100, 50, 25);
  HostWindow host;
  RECT before = {};
  GetWindowRect(host.Handle(), &before);
  ASSERT_NE(editor.OpenEditorWindow(host.Handle()), nullptr);
  editor.Resize(130, 40);
  RECT after = {};
  GetWindowRect(host.Handle(), &after);
  EXPECT_EQ(after.right - after.left, before.right - before.left + 30);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top - 10);
  editor.CloseEditorWindow();
  SetWindowPos(host.Handle(), nullptr, 0, 0, before.right - before.left, before.bottom - before.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// An editor whose monitor density the test sets, as a move to another monitor changes it.
class DensityEditor : public IGraphicsWin {
 public:
  using IGraphicsWin::IGraphicsWin;
  double SystemWindowScale() override { return density; }
  double density = 1.0;
};

TEST(EditorDensity, UnderVst2AMoveToAnotherDensityResizesWindowAndHostAtTheNextTick) {
  const IPlugIdentity identity{"T", "T", "T",  FourCharCode("Test"), FourCharCode("Test"), 1,
                               0,   0,   "2-2"};
  TestAdaptorVst2 plug(nullptr, identity);
  DensityEditor editor(&plug, 100, 50, 25);
  editor.CreateDrawSurfaces();
  HostWindow host;
  RECT before = {};
  GetWindowRect(host.Handle(), &before);
  auto* window = static_cast<HWND>(editor.OpenEditorWindow(host.Handle()));
  ASSERT_NE(window, nullptr);
  editor.density = 1.5;
  SendMessageA(window, WM_TIMER, IGraphicsWin::kTimerId, 0);
  RECT client = {};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 150);
  EXPECT_EQ(client.bottom, 75);
  RECT after = {};
  GetWindowRect(host.Handle(), &after);
  EXPECT_EQ(after.right - after.left, before.right - before.left + 50);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 25);
  const std::vector<AdaptorCall> told = plug.CallsOf(AdaptorCall::Resize);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].index, 150);
  EXPECT_EQ(told[0].value, 75.0);
  // Once a host has chosen a scale, the monitor's no longer counts.
  ASSERT_TRUE(editor.SetWindowScale(1.0));
  editor.density = 2.0;
  SendMessageA(window, WM_TIMER, IGraphicsWin::kTimerId, 0);
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 100);
  EXPECT_EQ(client.bottom, 50);
  editor.CloseEditorWindow();
  SetWindowPos(host.Handle(), nullptr, 0, 0, before.right - before.left, before.bottom - before.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST(EditorWindowClass, CountsOpenWindowsAcrossEditors) {
  HostWindow host;
  Brask first{nullptr};
  Brask second{nullptr};
  const int before = IGraphicsWin::OpenWindowCount();
  ASSERT_NE(first.Editor()->OpenEditorWindow(host.Handle()), nullptr);
  ASSERT_NE(second.Editor()->OpenEditorWindow(host.Handle()), nullptr);
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), before + 2);
  // Reopening keeps the count and the window's place.
  ASSERT_NE(first.Editor()->OpenEditorWindow(host.Handle()), nullptr);
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), before + 2);
  first.Editor()->CloseEditorWindow();
  first.Editor()->CloseEditorWindow();  // a second close does nothing
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), before + 1);
  // The host destroys its window without closing the editor first.
  DestroyWindow(host.Handle());
  EXPECT_FALSE(second.Editor()->IsWindowOpen());
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), before);
  HostWindow another;
  EXPECT_NE(second.Editor()->OpenEditorWindow(another.Handle()), nullptr);
}

}  // namespace
