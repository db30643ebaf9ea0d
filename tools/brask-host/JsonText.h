#pragma once
// JSON text pieces for the --json outputs: quoted strings with escapes, and numbers written so
// that they read back to the same double (non-finite values become null).

#include <string>

std::string JsonQuote(const std::string& text);
std::string JsonNumber(double value);
