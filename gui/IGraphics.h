#pragma once
// IGraphics: the editor object of one plug-in instance. It owns the ordered control list
// (index 0 is the background; list order is drawing order, reverse list order is hit order),
// the off-screen draw surface and the mouse interaction state. It turns parameter changes from
// the core into control values, routes mouse and key events from the window layer to the right
// control, and repaints exactly the controls that changed.
//
// It knows nothing of windows: presenting pixels, opening the window, dialogs and the pointer
// are the pure virtual operations below, implemented by a platform subclass
// (IGraphicsPlatform, see gui/PlatformGraphics.h).
//
// Threads: everything runs on the editor thread except ReflectParameter, which hosts call from
// automation and state threads, and the meter feed from the audio thread; both only touch the
// controls' atomic values and redraw flags.

#include <string>
#include <vector>

#include "gui/ComposedFrames.h"
#include "gui/IGraphicsTypes.h"
#include "gui/ResampledFrames.h"

class IPlugBase;
class IControl;
class IParamRecord;
class IChoiceMenu;
struct IBitmapStrip;
class LICE_IBitmap;
class LICE_SysBitmap;
class LICE_MemBitmap;

class IGraphics {
 public:
  IGraphics(IPlugBase* plug, int width, int height, int frameRate);
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // ---virtual operations, in table order---
  virtual bool PresentRegion(const IRectangle& rect) = 0;
  virtual bool MeasureText(ITextStyle* style, const char* text, IRectangle* rect);
  virtual void CancelTextEntry() = 0;
  virtual void Resize(int width, int height);
  virtual bool IsWindowOpen();
  virtual const char* DrawingApiName();
  virtual int PresentMessageBox(const char* text, const char* caption, int type) = 0;
  virtual IChoiceMenu* RunPopupMenu(IChoiceMenu* menu, const IRectangle& area) = 0;
  virtual void OpenTextEntry(IControl* control, const ITextStyle& style, const IRectangle& area,
                             const char* text, int paramIdx) = 0;
  virtual void GetHostFolder(std::string* folder) = 0;
  virtual void GetPluginFolder(std::string* folder) = 0;
  virtual void GetDesktopFolder(std::string* folder) = 0;
  virtual void GetAppDataFolder(std::string* folder, bool systemWide) = 0;
  virtual void GetUserDataFolder(std::string* folder, bool flag) = 0;
  virtual void AskForFile(std::string* fileName, int action, std::string* folder,
                          const char* extensions) = 0;
  virtual bool AskForColour(IArgb* colour, const char* prompt) = 0;
  virtual bool OpenWebAddress(const char* address, const char* title, const char* question,
                              const char* failureText) = 0;
  virtual void* OpenEditorWindow(void* parent) = 0;
  virtual void CloseEditorWindow() = 0;
  virtual void* GetNativeWindow() = 0;
  virtual bool ReadClipboardText(std::string* text) = 0;
  virtual ~IGraphics();
  virtual void HidePointer() = 0;
  virtual void RestorePointer() = 0;
  virtual LICE_IBitmap* LoadPlatformBitmap(int resourceId, const char* name) = 0;
  // The window scale the system asks for where the window is, or would open: 1 unless the
  // platform knows the screen's pixel density.
  virtual double SystemWindowScale();
  // Gives an open window the size WindowWidth() x WindowHeight() after a scale change.
  virtual void ApplyWindowScale();

  // ---control list---
  int AddControl(IControl* control);         // takes ownership; answers the new index
  IControl* AddBackdrop(IControl* control);  // takes ownership; inserts at index 0
  int NControls() const { return int(mControls.size()); }
  IControl* GetControl(int idx);  // null outside 0..NControls()-1

  // ---pictures---
  IBitmapStrip LoadBitmapStrip(int resourceId, const char* name, int frameCount);
  bool BlitBitmap(const IBitmapStrip& strip, const IRectangle& destRect, int srcX, int srcY,
                  const IBlend* blend);

  // ---drawing---
  void CreateDrawSurfaces();
  // The surface the current pass draws into: an off-screen target during DrawControlsInto,
  // otherwise the draw surface (null until CreateDrawSurfaces; made at the first call after it).
  LICE_IBitmap* DrawSurface();
  const IRectangle& DrawRect() const { return mDrawRect; }
  // Union of the rectangles of every control that needs redrawing; empty when none does.
  IRectangle CollectDirtyArea(bool* anyDirty);
  // The areas a tick repaints, in editor pixels: at 1 the union of the controls that need
  // redrawing, as always; at other scales, where every control covers four or more times its
  // pixels, their own rectangles (those that overlap merged), so that the panel between two
  // far-apart controls is not redrawn. Empty when nothing needs it.
  std::vector<IRectangle> DirtyAreas();
  // Draws rect as PaintRegion does, without presenting it.
  void DrawRegion(const IRectangle& rect);
  bool PaintRegion(const IRectangle& rect);
  // Draws text in style inside *rect on the draw surface, or with measure sets *rect to the
  // text's extent (placed by the style's alignment). False when no font exists for the style.
  bool DrawStyledText(ITextStyle* style, const char* text, IRectangle* rect, bool measure);
  // The draw pass of a paint of the whole editor, into target instead of the draw surface and
  // at pixelsPerUnit pixels per editor pixel: 1 draws the pictures as a paint does, 2 draws
  // each strip's 2x picture (see DoubleResolutionPictureId) at twice every coordinate. Nothing
  // is marked clean. False, with nothing drawn, for another scale or a target smaller than the
  // editor at that scale; false, with the rest drawn, when a 2x pass met a strip without a 2x
  // picture or text (which has no 2x rendering).
  bool DrawControlsInto(LICE_IBitmap* target, int pixelsPerUnit);
  bool StrictDrawing() const { return mStrictDrawing; }
  void SetStrictDrawing(bool strict) { mStrictDrawing = strict; }

  // ---window scale (gui/WindowScale.h)---
  // Controls, hit tests and gestures stay in editor pixels; the window, its mouse positions
  // and the draw surface are in window pixels, WindowScale() of them per editor pixel. At 1
  // the window shows the pictures as they are, at 2 their 2x pictures pixel for pixel, and at
  // any other scale frames resampled from the 2x pictures once per scale.
  double WindowScale() const { return mWindowScale; }
  int WindowWidth() const;
  int WindowHeight() const;
  // The host's choice of scale: from now on the system's is no longer followed. The draw
  // surface takes the new size and every control is redrawn; an open window takes the size
  // (ApplyWindowScale) and the host is told (IPlugBase::ResizeEditor). False, with nothing
  // changed, for a scale that IsWindowScale refuses.
  bool SetWindowScale(double scale);
  // Takes SystemWindowScale(), as SetWindowScale does, unless the host has chosen a scale.
  void FollowSystemScale();
  bool ScaleChosenByHost() const { return mScaleChosenByHost; }
  // Editor coordinates of a window pixel, and the window pixels of an editor area.
  int EditorX(int windowX) const;
  int EditorY(int windowY) const;
  IRectangle WindowArea(const IRectangle& editorArea) const;
  // Frames resampled for the current scale (none at 1 and 2), and frames kept composed over
  // the background (none at 1).
  size_t ResampledFrameCount() const { return mResampledFrames.Count(); }
  size_t ComposedFrameCount() const { return mComposedFrames.Count(); }

  // ---values from the core---
  void ReflectParameter(int paramIdx, double value, bool isNormalized);
  // Shows and edits a parameter's value in place (a menu or a text entry).
  void PromptForParameter(IControl* control, int paramIdx, const IRectangle& area);

  // ---events from the window layer---
  void HandleMouseDown(int x, int y, const IMouseState& mods);
  void HandleMouseUp(int x, int y, const IMouseState& mods);
  void HandleMouseDrag(int x, int y, const IMouseState& mods);
  void HandleDoubleClick(int x, int y, const IMouseState& mods);
  void HandleWheel(int x, int y, const IMouseState& mods, int clicks);
  bool HandleKeyDown(int x, int y, int key);
  bool HandleMouseOver(int x, int y, const IMouseState& mods);
  void HandleMouseOut();

  // ---state---
  IPlugBase* Plug() const { return mPlug; }
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int FrameRate() const { return mFrameRate; }
  int CaptureIndex() const { return mCaptureIdx; }
  int MouseOverIndex() const { return mMouseOverIdx; }
  int LastMouseX() const { return mLastMouseX; }
  int LastMouseY() const { return mLastMouseY; }
  bool HandlesMouseOver() const { return mHandleMouseOver; }
  void SetHandleMouseOver(bool handle) { mHandleMouseOver = handle; }
  bool TooltipsEnabled() const { return mTooltipsEnabled; }
  void SetKeyCatcher(IControl* control);  // takes ownership

 protected:
  // Forgets which control holds the mouse, as the window layer must when it loses the pointer.
  void ForgetMouseCapture();
  bool PointerHidden() const { return mPointerHidden; }
  void SetPointerHidden(bool hidden, int x, int y);
  int SavedPointerX() const { return mSavedPointerX; }
  int SavedPointerY() const { return mSavedPointerY; }

 private:
  // Index of the last-added control at (x, y) that is neither hidden nor greyed, or -1.
  int TopmostHitIndex(int x, int y);
  void PaintStrict(const IRectangle& rect);
  void PromptWithMenu(IControl* control, IParamRecord* param, const IRectangle& area);
  void PromptWithTextEntry(IControl* control, IParamRecord* param, int paramIdx,
                           const IRectangle& area);
  void PaintLoose();
  void DestroyControls();
  void DestroySurfaces();
  // The cached 2x picture of a surface that LoadBitmapStrip loaded, or null.
  LICE_IBitmap* DoubleResolutionSurface(LICE_IBitmap* surface);
  // Window pixels per editor pixel of the drawing under way: an off-screen pass's, or the
  // window's.
  double PixelScale() const { return mPassTarget ? double(mPassScale) : mWindowScale; }
  // A blit at a scale other than 1 and 2: the frame srcX, srcY fall in, resampled to its
  // size in window pixels (from the 2x picture when there is one).
  void BlitResampled(const IBitmapStrip& strip, LICE_IBitmap* doubled, const IRectangle& destRect,
                     int srcX, int srcY, const IBlend* blend);
  bool ChangeWindowScale(double scale);
  // True when control idx shares its area with nothing but a background that never changes,
  // so that its frames can be kept composed over it.
  bool StandsOnBackgroundAlone(size_t idx) const;
  // Copies the kept composition of a blit, clipped to the draw rectangle; false when none
  // is kept.
  bool CopyComposed(const ComposedFrames::Blit& blit);
  // A blit from the strip's 2x picture at twice every coordinate.
  void BlitDoubled(LICE_IBitmap* doubled, const IBitmapStrip& strip, const IRectangle& destRect,
                   int srcX, int srcY, const IBlend* blend);

  // A picture LoadBitmapStrip handed out, so that a 2x pass can find its 2x picture.
  struct LoadedPicture {
    LICE_IBitmap* surface;  // not owned; the bitmap cache's
    int resourceId;
    std::string name;
  };

  std::vector<IControl*> mControls;  // owned
  IPlugBase* mPlug;                  // not owned
  IRectangle mDrawRect;
  bool mPointerHidden = false;
  int mSavedPointerX = -1;
  int mSavedPointerY = -1;
  LICE_SysBitmap* mDrawSurface = nullptr;       // owned; made by the first DrawSurface call
  bool mDrawSurfaceWanted = false;              // CreateDrawSurfaces has run
  LICE_MemBitmap* mCompanionSurface = nullptr;  // owned; nothing draws into it
  int mWidth;
  int mHeight;
  int mFrameRate;
  int mCaptureIdx = -1;
  int mMouseOverIdx = -1;
  int mLastMouseX = 0;
  int mLastMouseY = 0;
  bool mHandleMouseOver = false;
  bool mStrictDrawing = true;
  bool mTooltipsEnabled = false;
  IControl* mKeyCatcher = nullptr;  // owned
  std::vector<LoadedPicture> mLoadedPictures;
  LICE_IBitmap* mPassTarget = nullptr;  // not owned; set only during DrawControlsInto
  int mPassScale = 1;
  bool mPassComplete = true;
  double mWindowScale = 1.0;
  bool mScaleChosenByHost = false;
  ResampledFrames mResampledFrames;
  ComposedFrames mComposedFrames;
  bool mComposeNextBlit = false;
};
