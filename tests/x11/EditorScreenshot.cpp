// x11_editor_screenshot <out.png> [scale]: embeds a built module's editor in a top-level X
// window, as a Linux host does, lets it paint, and saves the window's pixels as an RGB PNG.
// Without a scale it is the VST 2 module's (effEditOpen with the window, effEditIdle from the
// loop); with one, the VST 3 module's view at that content scale factor, driven through the
// frame's run loop. scripts/screenshot-linux runs it on a virtual display.

#include <X11/Xlib.h>
#include <png.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "../vst2/HostedEffect.h"
#include "../vst2/RecordingHost.h"
#include "../vst2/VstModule.h"
#include "../vst3/Vst3Plugin.h"
#include "RunLoopFrame.h"
#include "X11TestHost.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

namespace {

bool WritePng(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool written = false;
  if (info && !setjmp(png_jmpbuf(png))) {
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(size_t(width) * 3);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const uint32_t p = pixels[size_t(y) * size_t(width) + size_t(x)];
        row[size_t(x) * 3] = png_byte(p >> 16);
        row[size_t(x) * 3 + 1] = png_byte(p >> 8);
        row[size_t(x) * 3 + 2] = png_byte(p);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    written = true;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && written;
}

bool Save(const char* path, const std::vector<uint32_t>& pixels, int width, int height) {
  if (pixels.size() != size_t(width) * size_t(height) || !WritePng(path, pixels, width, height)) {
    std::fprintf(stderr, "cannot write %s\n", path);
    return false;
  }
  std::printf("%s: %d x %d\n", path, width, height);
  return true;
}

// The VST 3 view at a content scale factor, attached to a host window of its size.
int ShootVst3(const char* path, float scale) {
  using namespace Steinberg;
  Vst3Plugin plug;
  if (!plug.Valid()) {
    std::fprintf(stderr, "cannot load the VST 3 module\n");
    return 1;
  }
  plug.Prepare(44100.0, 512, Vst::kSample32);
  IPlugView* view = plug.controller->createView("editor");
  IPlugViewContentScaleSupport* scaling = nullptr;
  if (!view || view->queryInterface(IPlugViewContentScaleSupport::iid,
                                    reinterpret_cast<void**>(&scaling)) != kResultOk) {
    std::fprintf(stderr, "the module has no scalable editor\n");
    return 1;
  }
  scaling->release();
  ViewRect size;
  if (scaling->setContentScaleFactor(scale) != kResultOk || view->getSize(&size) != kResultOk) {
    std::fprintf(stderr, "the editor refuses the scale %g\n", double(scale));
    return 1;
  }
  X11TestHost host(size.getWidth(), size.getHeight());
  RunLoopFrame frame(true);
  view->setFrame(&frame);
  if (!host.Ready() ||
      view->attached(host.ParentHandle(), kPlatformTypeX11EmbedWindowID) != kResultOk) {
    std::fprintf(stderr, "the editor did not open (no X display with XTEST?)\n");
    return 1;
  }
  PumpFor([&] { frame.RunOnce(); }, 500);
  const std::vector<uint32_t> pixels =
      host.Grab(host.TopLevel(), 0, 0, size.getWidth(), size.getHeight());
  view->removed();
  view->setFrame(nullptr);
  view->release();
  return Save(path, pixels, size.getWidth(), size.getHeight()) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s <out.png> [scale]\n", argv[0]);
    return 2;
  }
  if (argc == 3) return ShootVst3(argv[1], std::strtof(argv[2], nullptr));
  VstModule module(BuiltModulePath());
  if (!module.IsLoaded()) {
    std::fprintf(stderr, "cannot load the VST 2 module: %s\n", module.Error().c_str());
    return 1;
  }
  RecordingHost recorder;
  HostedEffect plug(recorder.Create(module.Entry("VSTPluginMain")));
  ERect* rect = nullptr;
  if (!plug || plug.Dispatch(effEditGetRect, 0, 0, &rect) != 1 || !rect) {
    std::fprintf(stderr, "the module has no editor\n");
    return 1;
  }
  plug.Start(44100.0f, 512);
  const int width = rect->right - rect->left, height = rect->bottom - rect->top;
  X11TestHost host(width, height);
  if (!host.Ready()) {
    std::fprintf(stderr, "no X display (with XTEST): run this under Xvfb\n");
    return 1;
  }
  if (plug.Dispatch(effEditOpen, 0, 0, host.ParentHandle()) != 1) {
    std::fprintf(stderr, "the editor did not open\n");
    return 1;
  }
  PumpFor([&] { plug.Dispatch(effEditIdle); }, 500);
  const std::vector<uint32_t> pixels = host.Grab(host.TopLevel(), 0, 0, width, height);
  plug.Dispatch(effEditClose);
  return Save(argv[1], pixels, width, height) ? 0 : 1;
}
