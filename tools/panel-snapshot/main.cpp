// panel-snapshot: renders Brask's whole panel off-screen, through the real plug-in object, at
// chosen parameter values and meter level, and saves it as a PNG.
//
//   panel-snapshot OUT.png [--set NAME=VALUE ...] [--meter V]
//
// NAME is a parameter name as hosts show it ("Attack"), VALUE a value in its own units; V is
// the meter's display value, 0 (needle at 0 VU) to 1.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "Brask.h"
#include "PngWriter.h"
#include "gui/IControl.h"
#include "gui/IGraphics.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: panel-snapshot OUT.png [--set NAME=VALUE ...] [--meter V]\n");
  return 2;
}

bool ReadNumber(const char* text, double* value) {
  char* end = nullptr;
  *value = std::strtod(text, &end);
  return end != text && *end == '\0';
}

int ParamIndexByName(Brask* plug, const std::string& name) {
  for (int i = 0; i < plug->ParamCount(); ++i) {
    if (name == plug->ParamAt(i)->Name()) return i;
  }
  return -1;
}

// "NAME=VALUE": sets the parameter as host automation would, editor included.
bool ApplySetting(Brask* plug, const char* setting) {
  const char* equals = std::strchr(setting, '=');
  double value = 0.0;
  if (!equals || !ReadNumber(equals + 1, &value)) return false;
  const int idx = ParamIndexByName(plug, std::string(setting, equals));
  if (idx < 0) return false;
  std::lock_guard<std::recursive_mutex> lock(plug->Mutex());
  plug->ParamAt(idx)->SetValueClamped(value);
  plug->OnParamChanged(idx);
  plug->Editor()->ReflectParameter(idx, plug->ParamAt(idx)->Value(), false);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  Brask plug(nullptr);
  IGraphics* editor = plug.Editor();
  if (!editor || !editor->GetControl(plug.MeterControlIndex())) {
    std::fprintf(stderr, "panel-snapshot: the plug-in built no editor\n");
    return 1;
  }
  for (int i = 2; i < argc; ++i) {
    double meter = 0.0;
    if (!std::strcmp(argv[i], "--set") && i + 1 < argc) {
      if (!ApplySetting(&plug, argv[++i])) {
        std::fprintf(stderr, "panel-snapshot: cannot set \"%s\"\n", argv[i]);
        return 2;
      }
    } else if (!std::strcmp(argv[i], "--meter") && i + 1 < argc && ReadNumber(argv[++i], &meter)) {
      editor->GetControl(plug.MeterControlIndex())->SetValueFromCore(meter);
    } else {
      return Usage();
    }
  }
  editor->PaintRegion(IRectangle{0, 0, editor->Width(), editor->Height()});
  if (!WritePng(editor->DrawSurface(), argv[1])) {
    std::fprintf(stderr, "panel-snapshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
