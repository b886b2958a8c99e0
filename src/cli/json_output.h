// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "mfd/processing_pass.h"

namespace cadenzo::cli {

// Keys stay in the order they are set, as a person reading the document expects.
using Json = nlohmann::ordered_json;

// A text of the core (Windows-1252) as a JSON string.
Json Text(std::string_view cp1252);

// The document as printed: indented, with a line break at the end. Bytes of a file name that
// are no UTF-8 are replaced, never passed on.
std::string JsonText(const Json& document);

// The figures of a save plan: what is written and what is left out, by kind.
Json PlanFigures(const SavePlan& plan);

// The records a save changes or leaves out.
Json ChangesJson(const std::vector<PlanChange>& changes);

// The rows of a delimited export text (its header line, then one line per row) as objects keyed
// by the header names.
Json RowsJson(std::string_view delimitedText);

}  // namespace cadenzo::cli
