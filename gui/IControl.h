#pragma once
// IControl: one rectangle of the editor that shows a normalized value (0..1) and reacts to the
// mouse. It holds the value, the rectangles, the link to a parameter of the core and the two
// redraw flags. Subclasses draw and interpret the mouse; the editor (IGraphics) owns controls,
// routes events to them and repaints the dirty ones.
//
// Thread hand-off: the value, the default and the redraw flags are written from the audio
// thread (meter) and from host automation while the editor thread draws, so they are atomics.
// Both flags live in one atomic byte changed only by read-modify-write operations, so a change
// made while a paint is in progress is never lost: it shows on the next tick.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "gui/IGraphicsTypes.h"

class IPlugBase;
class IGraphics;

class IControl {
 public:
  // A second parameter a control may follow besides its own; none in this editor.
  struct AuxParam {
    double value = 0.0;
    int32_t paramIdx = -1;
  };

  IControl(IPlugBase* plug, const IRectangle& rect, int paramIdx, int blendMethod);
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // ---virtual operations, in table order---
  virtual ~IControl();
  virtual void MouseDown(int x, int y, const IMouseState& mods);
  virtual void MouseUp(int x, int y, const IMouseState& mods);
  virtual void MouseDrag(int x, int y, int dX, int dY, const IMouseState& mods);
  virtual void MouseDoubleClick(int x, int y, const IMouseState& mods);
  virtual void MouseWheel(int x, int y, const IMouseState& mods, int clicks);
  virtual bool KeyDown(int x, int y, int key);
  virtual void MouseOver(int x, int y, const IMouseState& mods);
  virtual void MouseOut();
  virtual bool Draw(IGraphics* graphics) = 0;
  virtual void SetValueFromCore(double value);
  virtual void SetValueFromUser(double value);
  virtual void SetTextFromEntry(const char* text);
  virtual void SetHidden(bool hidden);
  virtual void SetGreyed(bool greyed);
  virtual bool HitTest(int x, int y);
  virtual void MarkDirty(bool pushToCore);
  virtual void MarkClean();
  virtual bool NeedsRedraw();
  virtual void SetAuxValueFromCore(int auxIdx, double value);

  // Opens a value prompt for the parameter when prompts are enabled (they are off by default).
  void PromptForValue();

  // ---accessors---
  IPlugBase* Plug() const { return mPlug; }
  const IRectangle& Rect() const { return mRect; }
  const IRectangle& TargetRect() const { return mTargetRect; }
  void SetTargetRect(const IRectangle& rect) { mTargetRect = rect; }
  int ParamIdx() const { return mParamIdx; }
  double Value() const { return mValue.load(std::memory_order_acquire); }
  double DefaultValue() const { return mDefaultValue.load(std::memory_order_acquire); }
  void SetDefaultValue(double value) { mDefaultValue.store(value, std::memory_order_release); }
  void SetClamp(double low, double high);
  bool IsHidden() const { return mHidden; }
  bool IsGreyed() const { return mGreyed; }
  bool RedrawRequested() const { return (mFlags.load() & kFlagRedraw) != 0; }
  void RequestRedraw() { RaiseFlags(kFlagRedraw); }
  bool PromptDisabled() const { return mPromptDisabled; }
  void SetPromptDisabled(bool disabled) { mPromptDisabled = disabled; }
  bool DoubleClickAsClick() const { return mDoubleClickAsClick; }
  void SetDoubleClickAsClick(bool asClick) { mDoubleClickAsClick = asClick; }
  bool HoverWhenGreyed() const { return mHoverWhenGreyed; }
  void SetHoverWhenGreyed(bool hover) { mHoverWhenGreyed = hover; }
  const IBlend& Blend() const { return mBlend; }
  ITextStyle& TextStyle() { return mTextStyle; }
  int TextEntryLength() const { return mTextEntryLength; }
  int AuxParamCount() const { return int(mAuxParams.size()); }
  // Index of the first auxiliary entry following paramIdx, or -1.
  int AuxIndexOfParam(int paramIdx) const;
  void AddAuxParam(int paramIdx) { mAuxParams.push_back(AuxParam{0.0, paramIdx}); }
  const AuxParam* AuxParamAt(int auxIdx) const;
  const std::string& Tooltip() const { return mTooltip; }
  void SetTooltip(const char* text) { mTooltip = text ? text : ""; }

 protected:
  // Stores a value without the dirty bookkeeping, for subclasses that step it themselves.
  void StoreValue(double value) { mValue.store(value, std::memory_order_release); }

 private:
  static constexpr uint8_t kFlagDirty = 1;
  static constexpr uint8_t kFlagRedraw = 2;

  // The meter raises its flags from the audio thread every block, and an atomic
  // read-modify-write costs tens of cycles: flags already raised stay as they are.
  void RaiseFlags(uint8_t flags) {
    if ((mFlags.load(std::memory_order_relaxed) & flags) != flags) mFlags.fetch_or(flags);
  }

  int32_t mTextEntryLength = 32;
  ITextStyle mTextStyle;
  IPlugBase* mPlug;  // not owned
  IRectangle mRect;
  IRectangle mTargetRect;
  int32_t mParamIdx;
  std::vector<AuxParam> mAuxParams;
  std::atomic<double> mValue{0.0};
  std::atomic<double> mDefaultValue{-1.0};  // negative: no default known yet
  double mClampLow = 0.0;
  double mClampHigh = 1.0;
  std::atomic<uint8_t> mFlags{kFlagDirty};  // every control is painted once
  bool mHidden = false;
  bool mGreyed = false;
  bool mPromptDisabled = true;
  bool mDoubleClickAsClick = false;
  bool mHoverWhenGreyed = false;
  IBlend mBlend;
  std::string mTooltip;
};
