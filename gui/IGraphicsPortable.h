#pragma once
// IGraphicsPortable: an editor with no window. It keeps the whole editor model (controls,
// values, dirty tracking, event dispatch, the off-screen draw surface and the embedded
// pictures) and answers every window operation with "no window": no native window, nothing
// opened, nothing presented, no dialog, empty folders. It is the editor on systems without a
// native window layer, and the one tests and tools render through.

#include "gui/IGraphics.h"

class IGraphicsPortable : public IGraphics {
 public:
  IGraphicsPortable(IPlugBase* plug, int width, int height, int frameRate);
  ~IGraphicsPortable() override;

  // ---from IGraphics---
  bool PresentRegion(const IRectangle& rect) override;
  void CancelTextEntry() override {}
  int PresentMessageBox(const char* text, const char* caption, int type) override;
  IChoiceMenu* RunPopupMenu(IChoiceMenu* menu, const IRectangle& area) override;
  void OpenTextEntry(IControl* control, const ITextStyle& style, const IRectangle& area,
                     const char* text, int paramIdx) override;
  void GetHostFolder(std::string* folder) override;
  void GetPluginFolder(std::string* folder) override;
  void GetDesktopFolder(std::string* folder) override;
  void GetAppDataFolder(std::string* folder, bool systemWide) override;
  void GetUserDataFolder(std::string* folder, bool flag) override;
  void AskForFile(std::string* fileName, int action, std::string* folder,
                  const char* extensions) override;
  bool AskForColour(IArgb* colour, const char* prompt) override;
  bool OpenWebAddress(const char* address, const char* title, const char* question,
                      const char* failureText) override;
  void* OpenEditorWindow(void* parent) override;
  void CloseEditorWindow() override {}
  void* GetNativeWindow() override { return nullptr; }
  bool ReadClipboardText(std::string* text) override;
  void HidePointer() override {}
  void RestorePointer() override {}
  // The picture embedded under resourceId, decoded; null unless name ends in ".png".
  LICE_IBitmap* LoadPlatformBitmap(int resourceId, const char* name) override;
};
