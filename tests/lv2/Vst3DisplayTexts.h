#pragma once
// What the built VST 3 module shows for a parameter's plain value, asked through its edit
// controller as a host asks (plain to normalized, then the display string). Kept apart from the
// tests that build the plug-in class, whose parameter names the VST 3 test headers share.

#include <memory>
#include <string>

class Vst3Plugin;

class Vst3DisplayTexts {
 public:
  Vst3DisplayTexts();
  ~Vst3DisplayTexts();
  bool Valid() const;
  std::string Text(int paramIdx, double plain);

 private:
  std::unique_ptr<Vst3Plugin> mPlugin;
};
