#pragma once
// ParamReport: the parameter list as info and state print it, as an aligned table for people
// and as a JSON array for scripts.

#include <string>
#include <vector>

#include "HostedPlugin.h"

std::string ParamsAsText(const std::vector<HostParam>& params);
std::string ParamsAsJson(const std::vector<HostParam>& params);
