// brask-host instantiate: what creating instances costs, in time and resident memory, each
// module measured in fresh processes as a host scanning plug-ins or opening a session meets
// it. Every run starts one child process per module (this program again, with --one); runs go
// round-robin over the modules, so a change in machine load hits all alike, and each cell
// reports the median run.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "CommandLine.h"
#include "Commands.h"
#include "InstanceMaker.h"
#include "JsonText.h"
#include "SharedLibrary.h"

namespace {

const char kUsage[] =
    "usage: brask-host instantiate MODULE [MODULE ...] [--runs R] [--instances N] [--json]\n";

// What one child process measured; the keys are printed as "key value" lines.
using Measurement = std::map<std::string, double>;
const char* const kKeys[] = {"load_ms", "first_ms", "next_ms", "module_mb", "first_mb", "all_mb"};

double ResidentMegabytes() {
  long pages = 0, resident = 0;
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (!statm) return 0.0;
  const bool read = std::fscanf(statm, "%ld %ld", &pages, &resident) == 2;
  std::fclose(statm);
  return read ? double(resident) * double(sysconf(_SC_PAGESIZE)) / 1048576.0 : 0.0;
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// The child's work: load the binary, then the first instance, the next, and the rest.
int MeasureInThisProcess(const std::string& path, long instances) {
  std::string error;
  std::unique_ptr<InstanceMaker> maker = InstanceMaker::For(path, &error);
  if (!maker) return Fail(error);
  const double baseline = ResidentMegabytes();
  auto start = std::chrono::steady_clock::now();
  SharedLibrary module;  // held, so the instances' own loading only finds it
  if (!module.Open(maker->Binary(), &error)) return Fail(maker->Binary() + ": " + error);
  const double loadMs = MillisecondsSince(start);
  const double loaded = ResidentMegabytes();
  start = std::chrono::steady_clock::now();
  if (!maker->Make(&error)) return Fail(error);
  const double firstMs = MillisecondsSince(start);
  const double first = ResidentMegabytes();
  start = std::chrono::steady_clock::now();
  if (instances > 1 && !maker->Make(&error)) return Fail(error);
  const double nextMs = MillisecondsSince(start);
  for (long i = 2; i < instances; ++i) {
    if (!maker->Make(&error)) return Fail(error);
  }
  const double all = ResidentMegabytes();
  std::printf("format %s\nload_ms %.4f\nfirst_ms %.4f\nnext_ms %.4f\n", maker->Format().c_str(),
              loadMs, firstMs, nextMs);
  std::printf("module_mb %.3f\nfirst_mb %.3f\nall_mb %.3f\n", loaded - baseline, first - loaded,
              all - loaded);
  return kExitOk;
}

// Runs this program again as "instantiate --one PATH --instances N" and reads its lines.
bool MeasureInChild(const std::string& path, long instances, Measurement* out, std::string* format,
                    std::string* error) {
  int fds[2];
  if (pipe(fds) != 0) return *error = "cannot make a pipe", false;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    const std::string count = std::to_string(instances);
    execl("/proc/self/exe", "brask-host", "instantiate", "--one", path.c_str(), "--instances",
          count.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string text;
  char buffer[512];
  ssize_t got = 0;
  while ((got = read(fds[0], buffer, sizeof buffer)) > 0) text.append(buffer, size_t(got));
  close(fds[0]);
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    return *error = "measuring " + path + " failed", false;
  }
  std::istringstream lines(text);
  std::string key, value;
  while (lines >> key >> std::ws && std::getline(lines, value)) {
    if (key == "format") {
      *format = value;
    } else {
      (*out)[key] = std::stod(value);
    }
  }
  return true;
}

struct ModuleRow {
  std::string path;
  std::string format;
  std::vector<Measurement> runs;

  double Median(const char* key) const {
    std::vector<double> values;
    for (const Measurement& run : runs) values.push_back(run.at(key));
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
  }
};

void PrintText(const std::vector<ModuleRow>& rows, long runs, long instances) {
  std::printf("Instantiation: a fresh process per module and run, median of %ld runs\n", runs);
  const std::string all = std::to_string(instances) + " inst MB";
  std::printf("%-44s %-6s %9s %9s %9s %10s %9s %12s\n", "module", "format", "load ms", "first ms",
              "next ms", "module MB", "first MB", all.c_str());
  for (const ModuleRow& row : rows) {
    std::string name = row.path;
    if (name.size() > 44) name = "..." + name.substr(name.size() - 41);
    std::printf("%-44s %-6s %9.2f %9.2f %9.3f %10.2f %9.2f %12.2f\n", name.c_str(),
                row.format.c_str(), row.Median("load_ms"), row.Median("first_ms"),
                row.Median("next_ms"), row.Median("module_mb"), row.Median("first_mb"),
                row.Median("all_mb"));
  }
}

void PrintJson(const std::vector<ModuleRow>& rows, long runs, long instances) {
  std::printf("{\"runs\": %ld, \"instances\": %ld, \"modules\": [", runs, instances);
  for (size_t r = 0; r < rows.size(); ++r) {
    std::printf("%s\n  {\"module\": %s, \"format\": %s", r ? "," : "",
                JsonQuote(rows[r].path).c_str(), JsonQuote(rows[r].format).c_str());
    for (const char* key : kKeys) {
      std::printf(", \"%s\": %s", key, JsonNumber(rows[r].Median(key)).c_str());
    }
    std::printf("}");
  }
  std::printf("\n]}\n");
}

}  // namespace

int RunInstantiate(int argc, char** argv) {
  CommandLine line({"--runs", "--instances", "--one"}, {"--json"});
  std::string error;
  if (!line.Parse(argc, argv, &error)) return UsageError(error, kUsage);
  long runs = 5, instances = 64;
  if (!ParseInteger(line.Value("--runs", "5"), 1, 1000, &runs) ||
      !ParseInteger(line.Value("--instances", "64"), 1, 100000, &instances)) {
    return UsageError("--runs takes 1 to 1000 and --instances 1 to 100000", kUsage);
  }
  if (line.Has("--one")) return MeasureInThisProcess(line.Value("--one"), instances);
  if (line.Positional().empty()) return UsageError("no MODULE given", kUsage);

  std::vector<ModuleRow> rows;
  for (const std::string& path : line.Positional()) rows.push_back(ModuleRow{path, "", {}});
  for (long run = 0; run < runs; ++run) {
    for (ModuleRow& row : rows) {
      Measurement measured;
      if (!MeasureInChild(row.path, instances, &measured, &row.format, &error)) return Fail(error);
      row.runs.push_back(measured);
    }
  }
  if (line.Has("--json")) {
    PrintJson(rows, runs, instances);
  } else {
    PrintText(rows, runs, instances);
  }
  return kExitOk;
}
