#include "cli/cli.h"

namespace cadenzo::cli {
namespace {

constexpr const char* kUsage =
    "Usage: cadenzo-cli [--app-dir DIR] [--user-dir DIR] COMMAND ARGS\n"
    "       cadenzo-cli --help | --version\n";

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && args[0] == "--version") {
    out << "cadenzo-cli " << CADENZO_VERSION << "\n";
    return 0;
  }
  if (args.size() == 1 && args[0] == "--help") {
    out << kUsage;
    return 0;
  }
  err << kUsage;
  return 2;
}

}  // namespace cadenzo::cli
