// The in-place text entry of the Windows editor: an "EDIT" child window over the control,
// whose keys are filtered by the parameter's kind and whose result is applied or dropped by
// the editor's next timer tick.

#include <windows.h>

#include <cstdlib>

#include "core/IPlugBase.h"
#include "gui/IControl.h"
#include "gui/WindowScale.h"
#include "gui/win/IGraphicsWin.h"

namespace {

constexpr int kEntryTextSize = 32;  // at most 31 characters are read back

// Whether a typed character may enter a value of this kind.
bool CharacterAllowed(ParamKind kind, WPARAM character) {
  if (character == '+' || character == '-' || (character >= '0' && character <= '9')) {
    return true;
  }
  if (kind == ParamKindDouble) return character == '.';
  return kind == ParamKindNone;
}

DWORD AlignmentStyle(int align) {
  switch (align) {
    case ITextStyle::kAlignCenter:
      return ES_CENTER;
    case ITextStyle::kAlignRight:
      return ES_RIGHT;
    default:
      return ES_LEFT;
  }
}

}  // namespace

void IGraphicsWin::OpenTextEntry(IControl* control, const ITextStyle& style, const IRectangle& area,
                                 const char* text, int paramIdx) {
  if (!control || mEntryWindow || !mWindow) return;
  const DWORD styles =
      WS_VISIBLE | WS_CHILD | ES_MULTILINE | ES_AUTOHSCROLL | AlignmentStyle(style.align);
  const IRectangle shown = WindowArea(area);
  HWND entry = CreateWindowExA(0, "EDIT", text ? text : "", styles, shown.L, shown.T,
                               shown.R - shown.L + 1, shown.B - shown.T + 1, mWindow,
                               reinterpret_cast<HMENU>(INT_PTR(kEntryChildId)), mModule, nullptr);
  if (!entry) return;
  // The entry's text grows with the window, as the panel around it does.
  const int height = WindowCoordinate(style.size, WindowScale());
  HFONT font =
      CreateFontA(height, 0, 0, 0, style.style == ITextStyle::kStyleBold ? FW_BOLD : 0,
                  style.style == ITextStyle::kStyleItalic, 0, 0, 0, 0, 0, 0, 0, style.font);
  mEntryWindow = entry;
  mEntryFont = font;
  mEntryControl = control;
  mEntryParamIdx = paramIdx;
  mEntryState = EntryNone;
  SendMessageA(entry, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  SendMessageA(entry, EM_LIMITTEXT, WPARAM(control->TextEntryLength()), 0);
  SendMessageA(entry, EM_SETSEL, 0, -1);
  mEntryPreviousProc =
      SetWindowLongPtrA(entry, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IGraphicsWin::EntryProc));
  SetFocus(entry);
}

LRESULT CALLBACK IGraphicsWin::EntryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND parent = GetParent(window);
  auto* editor = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrA(parent, GWLP_USERDATA));
  if (!editor || editor->mEntryWindow != window || editor->mWindow != parent) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  return editor->DispatchEntry(window, message, wParam, lParam);
}

LRESULT IGraphicsWin::DispatchEntry(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HideTooltip();
  auto previous = reinterpret_cast<WNDPROC>(mEntryPreviousProc);
  IParamRecord* param = Plug() ? Plug()->ParamAt(mEntryParamIdx) : nullptr;
  switch (message) {
    case WM_SETFOCUS:
      mEntryState = EntryFocused;
      break;
    case WM_KILLFOCUS:
      mEntryState = EntryCommit;
      break;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        mEntryState = EntryCommit;
        return 0;
      }
      if (wParam == VK_ESCAPE) {
        mEntryState = EntryCancel;
        return 0;
      }
      break;
    case WM_CHAR:
      if (param && wParam != VK_BACK && !CharacterAllowed(param->Kind(), wParam)) return 0;
      // Enter and Escape were acted on as keys; the edit box must not see them as text.
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) return 0;
      break;
    case WM_GETDLGCODE:
      if (!param) {
        LRESULT code = CallWindowProcA(previous, window, message, wParam, lParam);
        auto* queried = reinterpret_cast<const MSG*>(lParam);
        if (queried && queried->message == WM_KEYDOWN && queried->wParam == VK_RETURN) {
          code |= DLGC_WANTALLKEYS;
        }
        return code;
      }
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == 1) {
        mEntryState = EntryCommit;
        return 0;
      }
      break;
    default:
      break;
  }
  return CallWindowProcA(previous, window, message, wParam, lParam);
}

void IGraphicsWin::EntryStep() {
  if (mEntryState == EntryCommit) {
    CommitTextEntry();
    CloseTextEntry();
  } else if (mEntryState == EntryCancel) {
    CloseTextEntry();
  } else {
    mEntryState = EntryNone;
  }
}

void IGraphicsWin::CommitTextEntry() {
  char text[kEntryTextSize] = {};
  SendMessageA(mEntryWindow, WM_GETTEXT, WPARAM(kEntryTextSize), reinterpret_cast<LPARAM>(text));
  IParamRecord* param = Plug() ? Plug()->ParamAt(mEntryParamIdx) : nullptr;
  if (!mEntryControl) return;
  if (!param) {
    mEntryControl->SetTextFromEntry(text);
    return;
  }
  double value = 0.0;
  const ParamKind kind = param->Kind();
  if (kind == ParamKindBool || kind == ParamKindEnum) {
    value = param->ValueForDisplayText(text);
  } else {
    value = std::strtod(text, nullptr);  // 0 when the text is not a number
    if (param->NegateDisplay()) value = -value;
  }
  mEntryControl->SetValueFromUser(param->NormalizedFromPlain(value));
}

void IGraphicsWin::CloseTextEntry() {
  if (mEntryWindow) {
    if (IsWindow(mEntryWindow)) {
      SetWindowLongPtrA(mEntryWindow, GWLP_WNDPROC, mEntryPreviousProc);
      DestroyWindow(mEntryWindow);
    }
  }
  if (mEntryFont) DeleteObject(static_cast<HFONT>(mEntryFont));
  mEntryFont = nullptr;
  mEntryWindow = nullptr;
  mEntryControl = nullptr;
  mEntryParamIdx = -1;
  mEntryPreviousProc = 0;
  mEntryState = EntryNone;
}

LRESULT IGraphicsWin::EntryColours(void* deviceContext, HWND control) {
  if (!mEntryWindow || control != mEntryWindow || !mEntryControl) return 0;
  HDC dc = static_cast<HDC>(deviceContext);
  const ITextStyle& style = mEntryControl->TextStyle();
  const COLORREF paper =
      RGB(style.entryBackground.R, style.entryBackground.G, style.entryBackground.B);
  SetBkColor(dc, paper);
  SetTextColor(dc, RGB(style.entryText.R, style.entryText.G, style.entryText.B));
  SetBkMode(dc, OPAQUE);
  SetDCBrushColor(dc, paper);
  return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}
