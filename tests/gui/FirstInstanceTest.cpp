// The first instance in a process: building the editor decodes no picture (hosts create far
// more instances than they open editors), yet every control gets its picture's real size, and
// drawing the panel decodes exactly the pictures it draws. A program of its own, so that no
// other test has drawn a picture of the process-wide cache before.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Brask.h"
#include "gui/EmbeddedPictures.h"
#include "gui/IBitmapControl.h"
#include "gui/IGraphics.h"
#include "gui/IKnobMultiControl.h"
#include "gui/LICE_DecodePng.h"
#include "gui/LazyPngSurface.h"

namespace {

const IBitmapStrip& StripOf(IControl* control) {
  if (auto* knob = dynamic_cast<IKnobMultiControl*>(control)) return knob->Strip();
  return dynamic_cast<IBitmapControl*>(control)->Strip();
}

// The size the picture really has, from a decoder run of its own.
void DecodedSize(int resourceId, int* width, int* height) {
  const unsigned char* bytes = nullptr;
  size_t length = 0;
  ASSERT_TRUE(FindEmbeddedPicture(resourceId, &bytes, &length)) << resourceId;
  std::unique_ptr<LICE_MemBitmap> decoded(LICE_DecodePngMemory(bytes, length));
  ASSERT_TRUE(decoded) << resourceId;
  *width = decoded->GetWidth();
  *height = decoded->GetHeight();
}

}  // namespace

TEST(FirstInstance, BuildsTheEditorWithoutDecodingAndDrawingDecodesWhatItDraws) {
  Brask plug(nullptr);
  IGraphics* editor = plug.Editor();
  ASSERT_NE(editor, nullptr);
  ASSERT_EQ(editor->NControls(), 10);
  std::vector<LazyPngSurface*> pictures;
  for (int i = 0; i < editor->NControls(); ++i) {
    const IBitmapStrip& strip = StripOf(editor->GetControl(i));
    auto* picture = dynamic_cast<LazyPngSurface*>(strip.surface);
    ASSERT_NE(picture, nullptr) << "control " << i;
    EXPECT_FALSE(picture->IsDecoded()) << "control " << i << " decoded when it was built";
    pictures.push_back(picture);
  }
  // Sizes from the headers equal the decoded pictures'; ids 101..110 are the panel's.
  int width = 0, height = 0;
  DecodedSize(103, &width, &height);
  EXPECT_EQ(StripOf(editor->GetControl(0)).width, width);
  EXPECT_EQ(StripOf(editor->GetControl(0)).height, height);

  LICE_MemBitmap panel;
  panel.Resize(editor->Width(), editor->Height());
  ASSERT_TRUE(editor->DrawControlsInto(&panel, 1));
  for (size_t i = 0; i < pictures.size(); ++i) {
    EXPECT_TRUE(pictures[i]->IsDecoded()) << "control " << i << " drawn without decoding";
    EXPECT_EQ(pictures[i]->GetWidth(), StripOf(editor->GetControl(int(i))).width);
  }
}
