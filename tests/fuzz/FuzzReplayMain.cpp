// Replays fuzz inputs without libFuzzer: every file named on the command line, and every file
// inside every directory named there, goes once through the target. Builds whose compiler has
// no libFuzzer (GCC, the sanitizer build) run the committed seeds and regression inputs this
// way, so the inputs that once broke something keep being checked everywhere.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int RunFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
    return 1;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int failures = 0;
  int runs = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path arg(argv[i]);
    if (std::filesystem::is_directory(arg)) {
      for (const auto& entry : std::filesystem::directory_iterator(arg)) {
        if (!entry.is_regular_file()) continue;
        failures += RunFile(entry.path());
        ++runs;
      }
    } else {
      failures += RunFile(arg);
      ++runs;
    }
  }
  std::printf("replayed %d inputs\n", runs);
  return failures == 0 && runs > 0 ? 0 : 1;
}
