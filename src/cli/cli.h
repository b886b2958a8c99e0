// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cadenzo::cli {

// Runs cadenzo-cli with its arguments. Exit codes: 0 success, 1 file or data error, 2 usage.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cadenzo::cli
