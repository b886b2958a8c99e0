// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/checked_output.h"
#include "cli/cli.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  // Standard output is written through a buffer that checks every write and the final close:
  // a full disk or a closed file makes the command fail instead of reporting success.
  cadenzo::cli::CheckedOutput output(STDOUT_FILENO);
  std::ostream out(&output);
  int code = cadenzo::cli::Run(args, out, std::cerr);
  out.flush();
  if (const int error = output.Close(); error != 0) {
    std::cerr << "cadenzo-cli: " << cadenzo::cli::WriteFailureText(error) << "\n";
    if (code == 0) code = 1;
  }
  return code;
}
