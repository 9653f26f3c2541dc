// check_core_includes <src/core folder> <subsystems.txt>
// Prints every #include of the core that breaks the subsystem graph or reaches
// outside the C++ standard library, one "file:line: #include ...: why" a line.
// Exits 0 when there is none, 1 when there are, 2 when it cannot check.
#include <fstream>
#include <iostream>
#include <sstream>

#include "include_checker.h"

int main(int argc, char** argv) {
  using namespace korvex48::core_includes;
  if (argc != 3) {
    std::cerr << "usage: check_core_includes <src/core folder> <subsystems.txt>\n";
    return 2;
  }
  const std::filesystem::path core_dir = argv[1];
  std::ifstream table_file(argv[2], std::ios::binary);
  if (!table_file.is_open()) {
    std::cerr << argv[2] << ": cannot open\n";
    return 2;
  }
  std::ostringstream table;
  table << table_file.rdbuf();
  std::string error;
  const std::optional<Graph> graph = ParseGraph(table.str(), &error);
  if (!graph) {
    std::cerr << argv[2] << ": " << error << "\n";
    return 2;
  }
  if (!std::filesystem::is_directory(core_dir)) {
    std::cerr << core_dir.string() << ": not a folder\n";
    return 2;
  }

  const TreeResult result = CheckTree(core_dir, *graph);
  for (const Finding& finding : result.findings) std::cout << Format(finding, core_dir) << "\n";
  std::cout << result.files << " files, " << result.includes << " includes checked, "
            << result.findings.size() << " breaking the rules\n";
  if (result.files == 0) {
    std::cerr << core_dir.string() << ": no source files\n";
    return 2;
  }
  return result.findings.empty() ? 0 : 1;
}
