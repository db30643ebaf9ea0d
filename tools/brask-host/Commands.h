#pragma once
// The brask-host commands. Each takes the words after its name and answers the process exit
// code: 0 done, 1 refused or failed (with a message on standard error), 2 wrong usage.

#include <string>

int RunInfo(int argc, char** argv);
int RunRender(int argc, char** argv);
int RunState(int argc, char** argv);
int RunBench(int argc, char** argv);
int RunInstantiate(int argc, char** argv);
int RunGenerateDemo(int argc, char** argv);
int RunPresets(int argc, char** argv);

// Exit codes shared by the commands.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Prints "brask-host: message" to standard error and answers kExitFailed.
int Fail(const std::string& message);
// Prints the message and the command's usage to standard error and answers kExitUsage.
int UsageError(const std::string& message, const char* usage);
