// Runs a fuzz target's entry point over the files and folders named on the
// command line, once each, without the fuzzing engine. Built with any
// compiler, so the ordinary build and its tests keep every target compiling
// and its seeds passing; a seed that crashes or aborts fails the run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool RunFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return false;
  }
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::size_t runs = 0;
  for (int i = 1; i < argc; ++i) {
    const fs::path arg(argv[i]);
    std::error_code ec;
    if (fs::is_directory(arg, ec)) {
      std::vector<fs::path> files;
      for (const auto& entry : fs::directory_iterator(arg, ec))
        if (entry.is_regular_file()) files.push_back(entry.path());
      std::sort(files.begin(), files.end());
      for (const fs::path& file : files) {
        if (!RunFile(file)) return 1;
        ++runs;
      }
    } else {
      if (!RunFile(arg)) return 1;
      ++runs;
    }
  }
  // An empty input is always a case worth running: every target must take it.
  LLVMFuzzerTestOneInput(nullptr, 0);
  std::printf("%zu inputs ran\n", runs + 1);
  return 0;
}
