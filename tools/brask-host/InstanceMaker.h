#pragma once
// InstanceMaker: creates instances of one module, the way a host creates one per insert, and
// keeps every one alive until the maker goes. It measures what hosts pay when they scan
// plug-ins or open sessions: the module's first instance in a fresh process and every one
// after it.
//
// VST 3 and VST 2 modules go through LoadPlugin, as every other brask-host command does. An
// LV2 bundle (a folder holding manifest.ttl) is instantiated through its descriptor alone, at
// 48 kHz and with no host features, which is all an LV2 plug-in may ask of a minimal host.

#include <memory>
#include <string>

class InstanceMaker {
 public:
  virtual ~InstanceMaker() = default;
  // The module's path, or null with a message in *error when it cannot be made.
  static std::unique_ptr<InstanceMaker> For(const std::string& path, std::string* error);

  // The binary a host loads for this module, which holds the plug-in's code.
  virtual std::string Binary() const = 0;
  // "VST 3", "VST 2" or "LV2"; known once an instance exists.
  virtual std::string Format() const = 0;
  // One more instance; false with a message in *error when the module refuses.
  virtual bool Make(std::string* error) = 0;
};
