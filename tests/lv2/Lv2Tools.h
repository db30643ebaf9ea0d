#pragma once
// The lilv command-line tools (lv2info, lv2apply, lv2bench) and sord_validate run on the built
// bundle, as a user would run them. Lv2World is an LV2 search path that holds the built bundle
// and the LV2 schemas installed on the system, and nothing else.

#include <string>
#include <vector>

#include "HostProcess.h"

constexpr char kSystemLv2Dir[] = "/usr/lib/lv2";

class Lv2World {
 public:
  Lv2World();
  bool Ready() const { return linked; }
  // The LV2_PATH environment entry for the tools.
  std::string PathEntry() const;

 private:
  ScratchDir dir;
  bool linked = false;
};

HostRun RunLv2Tool(const std::string& program, const std::vector<std::string>& args,
                   const Lv2World& world);
// The Turtle files of the LV2 schema bundles (core, ui, units and what they import).
std::vector<std::string> SchemaTurtle();
std::string BundleFile(const std::string& name);
