#include "gui/ComposedFrames.h"

#include "gui/LICE_BlendBlit.h"

ComposedFrames::Key ComposedFrames::KeyOf(const Blit& b) {
  return Key{b.picture, b.srcX, b.srcY, b.dest.L, b.dest.T, b.dest.R, b.dest.B, b.mode, b.weight};
}

LICE_IBitmap* ComposedFrames::Find(const Blit& blit) const {
  auto found = mFrames.find(KeyOf(blit));
  return found == mFrames.end() ? nullptr : found->second.get();
}

void ComposedFrames::Keep(const Blit& blit, LICE_IBitmap* surface, const IRectangle& area) {
  if (!surface || area.W() < 1 || area.H() < 1 || area.L < 0 || area.T < 0 ||
      area.R > surface->GetWidth() || area.B > surface->GetHeight()) {
    return;
  }
  const size_t bytes = size_t(area.W()) * size_t(area.H()) * sizeof(LICE_pixel);
  if (mBytes + bytes > kBudgetBytes) return;
  auto frame = std::make_unique<LICE_MemBitmap>();
  frame->Resize(area.W(), area.H());
  if (frame->GetWidth() != area.W() || frame->GetHeight() != area.H()) return;
  LICE_BlendBlit(frame.get(), surface, 0, 0, &area, 1.0f, kBlitCopy);
  mBytes += bytes;
  mFrames[KeyOf(blit)] = std::move(frame);
}

void ComposedFrames::Forget() {
  mFrames.clear();
  mBytes = 0;
}
