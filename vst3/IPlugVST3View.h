#pragma once
// IPlugVST3View: the view a VST 3 host embeds the editor with. It draws nothing itself: it
// hands the host's native parent window to the plug-in's editor, reports the editor's size in
// window pixels, takes the host's content scale factor, and remembers that the plug-in asked
// the host for a new size until the host answers with onSize. It holds one reference on the
// plug-in for its lifetime.
//
// The SDK's CPluginView answers everything else (keys, wheel, focus, frame, resizing
// constraints); the run-time class name stays the base's.

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "public.sdk/source/common/pluginview.h"

class IPlugVST3;

class IPlugVST3View : public Steinberg::CPluginView,
                      public Steinberg::IPlugViewContentScaleSupport {
 public:
  explicit IPlugVST3View(IPlugVST3* plugin);
  ~IPlugVST3View() override;

  //---from IPlugView---
  Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) override;
  Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) override;
  Steinberg::tresult PLUGIN_API removed() override;
  Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) override;
  Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) override;

  //---from IPlugViewContentScaleSupport---
  // Factors from 1 to 3 scale the editor's window (gui/WindowScale.h); the host is asked
  // through its frame to follow an open window's new size. Anything else is refused.
  Steinberg::tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) override;

  DEFINE_INTERFACES
  DEF_INTERFACE(Steinberg::IPlugViewContentScaleSupport)
  END_DEFINE_INTERFACES(CPluginView)
  REFCOUNT_METHODS(CPluginView)

  // The plug-in asked the host to resize this view; the next onSize completes it.
  void ExpectResize() { expectResize = true; }
  Steinberg::IPlugFrame* Frame() const { return plugFrame; }

 private:
  IPlugVST3* plugin;          ///< referenced for the view's lifetime
  bool expectResize = false;  ///< set between ResizeEditor and the host's onSize

#if defined(BRASK_X11)
  // ---Linux: the host's run loop drives the X11 editor window---
  // After the window opened: registers with the frame's IRunLoop, when the host has one.
  void AttachRunLoop();
  void DetachRunLoop();
  class X11RunLoopLink* runLoopLink = nullptr;  ///< owned reference while registered
#endif
};
