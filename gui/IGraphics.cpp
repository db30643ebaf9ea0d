#include "gui/IGraphics.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "core/IPlugBase.h"
#include "gui/BitmapCache.h"
#include "gui/EmbeddedPictures.h"
#include "gui/IBitmapStrip.h"
#include "gui/IBlend.h"
#include "gui/IChoiceMenu.h"
#include "gui/IControl.h"
#include "gui/LICE_BlitStrip.h"
#include "gui/LICE_MemBitmap.h"
#include "gui/LICE_SysBitmap.h"
#include "gui/StripFrame.h"
#include "gui/WindowScale.h"

IGraphics::IGraphics(IPlugBase* plug, int width, int height, int frameRate)
    : mPlug(plug), mWidth(width), mHeight(height), mFrameRate(frameRate) {}

IGraphics::~IGraphics() {
  delete mKeyCatcher;
  mKeyCatcher = nullptr;
  DestroyControls();
  DestroySurfaces();
}

bool IGraphics::MeasureText(ITextStyle*, const char*, IRectangle*) { return false; }

void IGraphics::Resize(int width, int height) {
  mWidth = width;
  mHeight = height;
  mLastMouseX = -1;
  mLastMouseY = -1;
  mCaptureIdx = -1;
  DestroyControls();
  DestroySurfaces();
  CreateDrawSurfaces();
  if (mPlug) mPlug->ResizeEditor(WindowWidth(), WindowHeight());
}

bool IGraphics::IsWindowOpen() { return GetNativeWindow() != nullptr; }

double IGraphics::SystemWindowScale() { return 1.0; }

void IGraphics::ApplyWindowScale() {}

int IGraphics::WindowWidth() const { return WindowCoordinate(mWidth, mWindowScale); }

int IGraphics::WindowHeight() const { return WindowCoordinate(mHeight, mWindowScale); }

int IGraphics::EditorX(int windowX) const { return EditorCoordinate(windowX, mWindowScale); }

int IGraphics::EditorY(int windowY) const { return EditorCoordinate(windowY, mWindowScale); }

IRectangle IGraphics::WindowArea(const IRectangle& editorArea) const {
  return WindowRectangle(editorArea, mWindowScale);
}

bool IGraphics::SetWindowScale(double scale) {
  if (!IsWindowScale(scale)) return false;
  mScaleChosenByHost = true;
  return ChangeWindowScale(scale);
}

void IGraphics::FollowSystemScale() {
  if (!mScaleChosenByHost) ChangeWindowScale(SystemWindowScale());
}

bool IGraphics::ChangeWindowScale(double scale) {
  if (!IsWindowScale(scale)) return false;
  if (scale == mWindowScale) return true;
  mWindowScale = scale;
  mResampledFrames.Forget();
  mComposedFrames.Forget();
  if (mDrawSurface) mDrawSurface->Resize(WindowWidth(), WindowHeight());
  for (IControl* control : mControls) control->MarkDirty(false);
  if (IsWindowOpen()) {
    ApplyWindowScale();
    if (mPlug) mPlug->ResizeEditor(WindowWidth(), WindowHeight());
  }
  return true;
}

const char* IGraphics::DrawingApiName() { return ""; }

int IGraphics::AddControl(IControl* control) {
  mControls.push_back(control);
  return NControls() - 1;
}

IControl* IGraphics::AddBackdrop(IControl* control) {
  mControls.insert(mControls.begin(), control);
  return control;
}

IControl* IGraphics::GetControl(int idx) {
  if (idx < 0 || idx >= NControls()) return nullptr;
  return mControls[size_t(idx)];
}

void IGraphics::SetKeyCatcher(IControl* control) {
  if (control == mKeyCatcher) return;
  delete mKeyCatcher;
  mKeyCatcher = control;
}

void IGraphics::ReflectParameter(int paramIdx, double value, bool isNormalized) {
  if (!isNormalized) {
    IParamRecord* param = mPlug ? mPlug->ParamAt(paramIdx) : nullptr;
    if (!param) return;
    value = param->NormalizedFromPlain(value);
  }
  for (IControl* control : mControls) {
    if (control->ParamIdx() == paramIdx) control->SetValueFromCore(value);
    const int auxIdx = control->AuxIndexOfParam(paramIdx);
    if (auxIdx >= 0) control->SetAuxValueFromCore(auxIdx, value);
  }
}

IRectangle IGraphics::CollectDirtyArea(bool* anyDirty) {
  IRectangle area;
  bool found = false;
  for (IControl* control : mControls) {
    if (!control->NeedsRedraw()) continue;
    found = true;
    const IRectangle& r = control->Rect();
    if (area.Empty()) {
      area = r;
    } else if (!r.Empty()) {
      area = RectangleUnion(area, r);
    }
  }
  if (anyDirty) *anyDirty = found;
  return area;
}

std::vector<IRectangle> IGraphics::DirtyAreas() {
  std::vector<IRectangle> areas;
  if (mWindowScale == 1.0) {
    bool anyDirty = false;
    const IRectangle area = CollectDirtyArea(&anyDirty);
    if (anyDirty) areas.push_back(area);
    return areas;
  }
  for (IControl* control : mControls) {
    if (!control->NeedsRedraw() || control->Rect().Empty()) continue;
    IRectangle area = control->Rect();
    // Merging can make an area overlap one merged before: repeat until none does.
    for (size_t i = 0; i < areas.size();) {
      if (RectanglesOverlap(areas[i], area)) {
        area = RectangleUnion(area, areas[i]);
        areas.erase(areas.begin() + std::ptrdiff_t(i));
        i = 0;
      } else {
        ++i;
      }
    }
    areas.push_back(area);
  }
  return areas;
}

void IGraphics::DrawRegion(const IRectangle& rect) {
  if (mControls.empty()) return;
  if (mStrictDrawing) {
    PaintStrict(rect);
  } else {
    PaintLoose();
  }
}

bool IGraphics::PaintRegion(const IRectangle& rect) {
  if (mControls.empty()) return true;
  DrawRegion(rect);
  return PresentRegion(rect);
}

void IGraphics::PaintStrict(const IRectangle& rect) {
  mDrawRect = rect;
  const bool composing = mWindowScale != 1.0;
  for (size_t i = 0; i < mControls.size(); ++i) {
    IControl* control = mControls[i];
    if (!control->IsHidden() && RectanglesOverlap(control->Rect(), rect)) {
      mComposeNextBlit = composing && StandsOnBackgroundAlone(i);
      control->Draw(this);
      mComposeNextBlit = false;
    }
    control->MarkClean();
  }
}

bool IGraphics::StandsOnBackgroundAlone(size_t idx) const {
  const IControl* background = mControls.front();
  if (idx == 0 || background->IsHidden() || background->ParamIdx() >= 0) return false;
  const IRectangle& area = mControls[idx]->Rect();
  const IRectangle& under = background->Rect();
  if (area.L < under.L || area.T < under.T || area.R > under.R || area.B > under.B) return false;
  for (size_t j = 1; j < mControls.size(); ++j) {
    if (j == idx || mControls[j]->IsHidden()) continue;
    if (RectanglesOverlap(mControls[j]->Rect(), area)) return false;
  }
  return true;
}

void IGraphics::PaintLoose() {
  IControl* background = mControls.front();
  if (background->NeedsRedraw()) {
    mDrawRect = background->Rect();
    for (size_t i = 0; i < mControls.size(); ++i) {
      IControl* control = mControls[i];
      if (i > 0 && control->IsHidden()) continue;
      control->Draw(this);
      control->MarkClean();
    }
    return;
  }
  for (size_t i = 1; i < mControls.size(); ++i) {
    IControl* dirty = mControls[i];
    if (!dirty->NeedsRedraw()) continue;
    mDrawRect = dirty->Rect();
    for (size_t j = 0; j < mControls.size(); ++j) {
      IControl* control = mControls[j];
      if (control->IsHidden()) continue;
      if (j == i || RectanglesOverlap(control->Rect(), mDrawRect)) control->Draw(this);
    }
    dirty->MarkClean();
  }
}

int IGraphics::TopmostHitIndex(int x, int y) {
  for (int i = NControls() - 1; i >= 0; --i) {
    IControl* control = mControls[size_t(i)];
    if (!control->IsHidden() && !control->IsGreyed() && control->HitTest(x, y)) return i;
  }
  return -1;
}

void IGraphics::ForgetMouseCapture() {
  mCaptureIdx = -1;
  mLastMouseX = -1;
  mLastMouseY = -1;
}

void IGraphics::HandleMouseDown(int x, int y, const IMouseState& mods) {
  ForgetMouseCapture();
  const int idx = TopmostHitIndex(x, y);
  if (idx < 0) return;
  IControl* control = mControls[size_t(idx)];
  mCaptureIdx = idx;
  mLastMouseX = x;
  mLastMouseY = y;
  const int paramIdx = control->ParamIdx();
  if (mPlug && mPlug->GetPluginApi() == kApiVST3 && mods.right && paramIdx >= 0) {
    // VST 3 hosts offer their own parameter menu on a right click.
    ForgetMouseCapture();
    mPlug->OpenHostParamMenu(paramIdx, x, y);
    return;
  }
  if (mPlug && paramIdx >= 0) mPlug->BeginParamGesture(paramIdx);
  control->MouseDown(x, y, mods);
}

void IGraphics::HandleMouseUp(int x, int y, const IMouseState& mods) {
  int idx = mCaptureIdx;
  if (idx < 0) idx = TopmostHitIndex(x, y);
  ForgetMouseCapture();
  IControl* control = GetControl(idx);
  if (!control) return;
  control->MouseUp(x, y, mods);
  if (mPlug && control->ParamIdx() >= 0) mPlug->EndParamGesture(control->ParamIdx());
}

void IGraphics::HandleMouseDrag(int x, int y, const IMouseState& mods) {
  IControl* control = GetControl(mCaptureIdx);
  if (!control) return;
  const int dX = x - mLastMouseX;
  const int dY = y - mLastMouseY;
  if (dX == 0 && dY == 0) return;
  mLastMouseX = x;
  mLastMouseY = y;
  control->MouseDrag(x, y, dX, dY, mods);
}

void IGraphics::HandleDoubleClick(int x, int y, const IMouseState& mods) {
  ForgetMouseCapture();
  const int idx = TopmostHitIndex(x, y);
  if (idx < 0) return;
  IControl* control = mControls[size_t(idx)];
  if (control->DoubleClickAsClick()) {
    mCaptureIdx = idx;
    mLastMouseX = x;
    mLastMouseY = y;
    control->MouseDown(x, y, mods);
    return;
  }
  control->MouseDoubleClick(x, y, mods);
}

void IGraphics::HandleWheel(int x, int y, const IMouseState& mods, int clicks) {
  const int idx = mCaptureIdx >= 0 ? mCaptureIdx : TopmostHitIndex(x, y);
  IControl* control = GetControl(idx);
  if (control) control->MouseWheel(x, y, mods, clicks);
}

bool IGraphics::HandleKeyDown(int x, int y, int key) {
  const int idx = mCaptureIdx >= 0 ? mCaptureIdx : TopmostHitIndex(x, y);
  IControl* control = GetControl(idx);
  if (!control || idx == 0) return mKeyCatcher ? mKeyCatcher->KeyDown(x, y, key) : false;
  return control->KeyDown(x, y, key);
}

bool IGraphics::HandleMouseOver(int x, int y, const IMouseState& mods) {
  if (!mHandleMouseOver) return false;
  int idx = mCaptureIdx;
  if (idx < 0) {
    for (int i = NControls() - 1; i >= 0; --i) {
      IControl* control = mControls[size_t(i)];
      if (control->IsHidden() || !control->HitTest(x, y)) continue;
      if (control->IsGreyed() && !control->HoverWhenGreyed()) continue;
      idx = i;
      break;
    }
  }
  IControl* target = GetControl(idx);
  if (!target) return true;
  mLastMouseX = x;
  mLastMouseY = y;
  target->MouseOver(x, y, mods);
  IControl* previous = GetControl(mMouseOverIdx);
  if (previous && mMouseOverIdx != idx) previous->MouseOut();
  mMouseOverIdx = idx;
  return true;
}

void IGraphics::HandleMouseOut() {
  for (IControl* control : mControls) control->MouseOut();
  mMouseOverIdx = -1;
}

void IGraphics::SetPointerHidden(bool hidden, int x, int y) {
  mPointerHidden = hidden;
  mSavedPointerX = x;
  mSavedPointerY = y;
}

void IGraphics::DestroyControls() {
  mComposedFrames.Forget();
  while (!mControls.empty()) {
    delete mControls.back();
    mControls.pop_back();
  }
}

IBitmapStrip IGraphics::LoadBitmapStrip(int resourceId, const char* name, int frameCount) {
  LICE_IBitmap* surface = LookUpOrLoadBitmap(
      resourceId, name, [this](int id, const char* n) { return LoadPlatformBitmap(id, n); });
  if (surface) mLoadedPictures.push_back(LoadedPicture{surface, resourceId, name ? name : ""});
  return IBitmapStrip(surface, frameCount);
}

namespace {

IRectangle Doubled(const IRectangle& r) { return IRectangle{2 * r.L, 2 * r.T, 2 * r.R, 2 * r.B}; }

}  // namespace

bool IGraphics::BlitBitmap(const IBitmapStrip& strip, const IRectangle& destRect, int srcX,
                           int srcY, const IBlend* blend) {
  if (PixelScale() == 1.0) {
    LICE_BlitStrip(DrawSurface(), mDrawRect, strip, destRect, srcX, srcY, blend);
    return true;
  }
  if (mPassTarget) {
    // An off-screen 2x pass draws the 2x pictures only, and says when one is missing.
    LICE_IBitmap* doubled = DoubleResolutionSurface(strip.surface);
    if (doubled) {
      BlitDoubled(doubled, strip, destRect, srcX, srcY, blend);
    } else {
      mPassComplete = false;
    }
    return true;
  }
  const bool compose = mComposeNextBlit;
  mComposeNextBlit = false;
  const ComposedFrames::Blit blit{
      strip.surface, srcX, srcY, destRect, BlitModeForBlend(blend), BlitWeightForBlend(blend)};
  if (compose && CopyComposed(blit)) return true;
  LICE_IBitmap* doubled = DoubleResolutionSurface(strip.surface);
  if (mWindowScale == 2.0 && doubled) {
    BlitDoubled(doubled, strip, destRect, srcX, srcY, blend);
  } else {
    BlitResampled(strip, doubled, destRect, srcX, srcY, blend);
  }
  // Kept only when the whole frame was drawn in this pass, over the background alone.
  const IRectangle& clip = mDrawRect;
  if (compose && destRect.L >= clip.L && destRect.T >= clip.T && destRect.R <= clip.R &&
      destRect.B <= clip.B) {
    mComposedFrames.Keep(blit, DrawSurface(), WindowArea(destRect));
  }
  return true;
}

void IGraphics::BlitDoubled(LICE_IBitmap* doubled, const IBitmapStrip& strip,
                            const IRectangle& destRect, int srcX, int srcY, const IBlend* blend) {
  // Frames are whole multiples of the frame size at both resolutions, so twice a 1x offset
  // is the same frame's 2x offset.
  IBitmapStrip strip2x(doubled, strip.frameCount);
  strip2x.framesSideBySide = strip.framesSideBySide;
  LICE_BlitStrip(DrawSurface(), Doubled(mDrawRect), strip2x, Doubled(destRect), 2 * srcX, 2 * srcY,
                 blend);
}

bool IGraphics::CopyComposed(const ComposedFrames::Blit& blit) {
  LICE_IBitmap* kept = mComposedFrames.Find(blit);
  if (!kept) return false;
  const IBlend copy{Replace, 1.0f};
  LICE_BlitStrip(DrawSurface(), WindowArea(mDrawRect), IBitmapStrip(kept, 1), WindowArea(blit.dest),
                 0, 0, &copy);
  return true;
}

void IGraphics::BlitResampled(const IBitmapStrip& strip, LICE_IBitmap* doubled,
                              const IRectangle& destRect, int srcX, int srcY, const IBlend* blend) {
  const int n = strip.frameCount < 1 ? 1 : strip.frameCount;
  const IRectangle frameRect = StripFrameRect(strip, 0, 0);
  const int frameW = frameRect.W(), frameH = frameRect.H();
  if (!strip.surface || frameW < 1 || frameH < 1) return;
  const int offset = strip.framesSideBySide ? srcX : srcY;
  const int frame = std::clamp(offset / (strip.framesSideBySide ? frameW : frameH), 0, n - 1);
  const int frameX = strip.framesSideBySide ? frame * frameW : 0;
  const int frameY = strip.framesSideBySide ? 0 : frame * frameH;
  // Where the whole frame lies in the editor; its window rectangle is the size it is
  // resampled to, so that its edges fall where the window rectangles of the controls do.
  const int left = destRect.L - (srcX - frameX), top = destRect.T - (srcY - frameY);
  const IRectangle placed =
      WindowRectangle(IRectangle{left, top, left + frameW, top + frameH}, mWindowScale);
  const int f = doubled ? 2 : 1;
  const IRectangle area{f * frameX, f * frameY, f * (frameX + frameW), f * (frameY + frameH)};
  LICE_IBitmap* resampled =
      mResampledFrames.Frame(doubled ? doubled : strip.surface, area, placed.W(), placed.H());
  if (!resampled) return;
  const IRectangle dest = WindowRectangle(destRect, mWindowScale);
  LICE_BlitStrip(DrawSurface(), WindowRectangle(mDrawRect, mWindowScale),
                 IBitmapStrip(resampled, 1), dest, dest.L - placed.L, dest.T - placed.T, blend);
}

LICE_IBitmap* IGraphics::DoubleResolutionSurface(LICE_IBitmap* surface) {
  if (!surface) return nullptr;
  for (const LoadedPicture& picture : mLoadedPictures) {
    if (picture.surface != surface) continue;
    const int id = DoubleResolutionPictureId(picture.resourceId);
    if (!id) return nullptr;
    LICE_IBitmap* doubled =
        LookUpOrLoadBitmap(id, picture.name.c_str(),
                           [this](int i, const char* n) { return LoadPlatformBitmap(i, n); });
    const bool twiceTheSize = doubled && doubled->GetWidth() == 2 * surface->GetWidth() &&
                              doubled->GetHeight() == 2 * surface->GetHeight();
    return twiceTheSize ? doubled : nullptr;
  }
  return nullptr;
}

bool IGraphics::DrawControlsInto(LICE_IBitmap* target, int pixelsPerUnit) {
  if (!target || mPassTarget || (pixelsPerUnit != 1 && pixelsPerUnit != 2)) return false;
  if (target->GetWidth() < mWidth * pixelsPerUnit ||
      target->GetHeight() < mHeight * pixelsPerUnit) {
    return false;
  }
  const IRectangle savedDrawRect = mDrawRect;
  const IRectangle whole{0, 0, mWidth, mHeight};
  mPassTarget = target;
  mPassScale = pixelsPerUnit;
  mPassComplete = true;
  mDrawRect = whole;
  // The controls a strict paint of the whole editor draws, in the same order.
  for (IControl* control : mControls) {
    if (!control->IsHidden() && RectanglesOverlap(control->Rect(), whole)) control->Draw(this);
  }
  mDrawRect = savedDrawRect;
  mPassTarget = nullptr;
  mPassScale = 1;
  return mPassComplete;
}

void IGraphics::CreateDrawSurfaces() {
  // Callers are expected to have freed earlier surfaces; freeing them here as well makes a
  // repeated call harmless instead of a leak.
  DestroySurfaces();
  mCompanionSurface = new LICE_MemBitmap();
  mDrawSurfaceWanted = true;
}

LICE_IBitmap* IGraphics::DrawSurface() {
  if (mPassTarget) return mPassTarget;
  // Made when first drawn into: most instances never show an editor, and the surface is the
  // size of the whole window (a device context and a DIB section on Windows).
  if (!mDrawSurface && mDrawSurfaceWanted) {
    mDrawSurface = new (std::nothrow) LICE_SysBitmap(WindowWidth(), WindowHeight());
  }
  return mDrawSurface;
}

void IGraphics::DestroySurfaces() {
  delete mDrawSurface;
  mDrawSurface = nullptr;
  mDrawSurfaceWanted = false;
  delete mCompanionSurface;
  mCompanionSurface = nullptr;
}

void IGraphics::PromptForParameter(IControl* control, int paramIdx, const IRectangle& area) {
  IParamRecord* param = mPlug ? mPlug->ParamAt(paramIdx) : nullptr;
  if (!control || !param || area.Empty()) return;
  const ParamKind kind = param->Kind();
  if (kind == ParamKindEnum || (kind == ParamKindBool && param->DisplayTextCount() > 0)) {
    PromptWithMenu(control, param, area);
  } else {
    PromptWithTextEntry(control, param, paramIdx, area);
  }
}

void IGraphics::PromptWithMenu(IControl* control, IParamRecord* param, const IRectangle& area) {
  char current[IParamRecord::kTextSize] = {};
  param->FormatForHost(param->Value(), false, current, int(sizeof current), true);
  IChoiceMenu menu;
  for (int i = 0; i < param->DisplayTextCount(); ++i) {
    const char* text = param->FindDisplayText(i);
    menu.AddItem(text, std::strcmp(text, current) == 0 ? IChoiceMenu::kItemChecked : 0);
  }
  if (RunPopupMenu(&menu, area)) {
    control->SetValueFromUser(param->NormalizedFromPlain(double(menu.ChosenIndex())));
  }
}

void IGraphics::PromptWithTextEntry(IControl* control, IParamRecord* param, int paramIdx,
                                    const IRectangle& area) {
  double value = param->Value();
  if (param->NegateDisplay()) value = -value;
  char text[64] = {};
  const int precision = param->DisplayPrecision();
  if (precision == 0) {
    std::snprintf(text, sizeof text, "%d", int(value));
  } else {
    std::snprintf(text, sizeof text, "%.*f", precision, value);
  }
  OpenTextEntry(control, control->TextStyle(), area, text, paramIdx);
}
