#include "ReferencePanel.h"

#include "Brask.h"
#include "core/IParamRecord.h"
#include "gui/IControl.h"
#include "gui/IGraphics.h"
#include "gui/LICE_IBitmap.h"
#include "gui/PanelAtScale.h"

ReferencePanel::ReferencePanel() : mPlug(std::make_unique<Brask>(nullptr)) {}

ReferencePanel::~ReferencePanel() = default;

int ReferencePanel::Width() const { return mPlug->Editor()->Width(); }

int ReferencePanel::Height() const { return mPlug->Editor()->Height(); }

namespace {

std::vector<uint32_t> PixelsOf(LICE_IBitmap* surface) {
  std::vector<uint32_t> pixels;
  pixels.reserve(size_t(surface->GetWidth()) * size_t(surface->GetHeight()));
  for (int y = 0; y < surface->GetHeight(); ++y) {
    for (int x = 0; x < surface->GetWidth(); ++x) {
      pixels.push_back(surface->GetPixels()[y * surface->GetStride() + x] & 0xffffffu);
    }
  }
  return pixels;
}

}  // namespace

std::vector<uint32_t> ReferencePanel::Render(const std::vector<double>& normalized) {
  return RenderAtScale(normalized, 1.0);
}

std::vector<uint32_t> ReferencePanel::RenderAtScale(const std::vector<double>& normalized,
                                                    double scale) {
  IGraphics* editor = mPlug->Editor();
  for (int p = 0; p < int(normalized.size()); ++p)
    editor->ReflectParameter(p, normalized[size_t(p)], true);
  if (scale == 2.0) {
    std::unique_ptr<LICE_MemBitmap> panel(DrawPanelAtScale(editor, scale));
    return panel ? PixelsOf(panel.get()) : std::vector<uint32_t>{};
  }
  editor->SetWindowScale(scale);
  editor->PaintRegion(IRectangle{0, 0, Width(), Height()});
  std::vector<uint32_t> pixels = PixelsOf(editor->DrawSurface());
  editor->SetWindowScale(1.0);
  return pixels;
}

std::vector<uint32_t> ReferencePanel::RenderDefaults() {
  std::vector<double> defaults;
  for (int p = 0; p < kPanelParamCount; ++p) {
    const IParamRecord* param = mPlug->ParamAt(p);
    defaults.push_back(param->NormalizedFromPlain(param->Default()));
  }
  return Render(defaults);
}

IRectangle ReferencePanel::ControlRect(int controlIdx) {
  IControl* control = mPlug->Editor()->GetControl(controlIdx);
  return control ? control->Rect() : IRectangle{};
}

void ReferencePanel::ControlCentre(int controlIdx, int* x, int* y) {
  const IRectangle r = ControlRect(controlIdx);
  *x = (r.L + r.R) / 2;
  *y = (r.T + r.B) / 2;
}

int PixelDifferences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width,
                     const IRectangle& ignored) {
  if (a.size() != b.size() || a.empty() || width <= 0) return -1;
  int differences = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const int x = int(i % size_t(width)), y = int(i / size_t(width));
    const bool skipped = x >= ignored.L && x < ignored.R && y >= ignored.T && y < ignored.B;
    differences += !skipped && a[i] != b[i];
  }
  return differences;
}
