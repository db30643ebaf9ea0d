#include "gui/IGraphicsPortable.h"

#include "gui/EmbeddedPictures.h"

IGraphicsPortable::IGraphicsPortable(IPlugBase* plug, int width, int height, int frameRate)
    : IGraphics(plug, width, height, frameRate) {}

IGraphicsPortable::~IGraphicsPortable() = default;

bool IGraphicsPortable::PresentRegion(const IRectangle&) { return false; }

int IGraphicsPortable::PresentMessageBox(const char*, const char*, int) { return 0; }

IChoiceMenu* IGraphicsPortable::RunPopupMenu(IChoiceMenu*, const IRectangle&) { return nullptr; }

void IGraphicsPortable::OpenTextEntry(IControl*, const ITextStyle&, const IRectangle&, const char*,
                                      int) {}

void IGraphicsPortable::GetHostFolder(std::string* folder) {
  if (folder) folder->clear();
}

void IGraphicsPortable::GetPluginFolder(std::string* folder) {
  if (folder) folder->clear();
}

void IGraphicsPortable::GetDesktopFolder(std::string* folder) {
  if (folder) folder->clear();
}

void IGraphicsPortable::GetAppDataFolder(std::string* folder, bool) {
  if (folder) folder->clear();
}

void IGraphicsPortable::GetUserDataFolder(std::string* folder, bool) {
  if (folder) folder->clear();
}

void IGraphicsPortable::AskForFile(std::string* fileName, int, std::string*, const char*) {
  if (fileName) fileName->clear();
}

bool IGraphicsPortable::AskForColour(IArgb*, const char*) { return false; }

bool IGraphicsPortable::OpenWebAddress(const char*, const char*, const char*, const char*) {
  return false;
}

void* IGraphicsPortable::OpenEditorWindow(void*) { return nullptr; }

bool IGraphicsPortable::ReadClipboardText(std::string* text) {
  if (text) text->clear();
  return false;
}

LICE_IBitmap* IGraphicsPortable::LoadPlatformBitmap(int resourceId, const char* name) {
  return LoadEmbeddedPicture(resourceId, name);
}
