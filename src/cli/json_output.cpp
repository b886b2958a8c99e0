// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/json_output.h"

#include "charset/cp1252.h"

namespace cadenzo::cli {
namespace {

const char* FateName(RecordFate fate) {
  switch (fate) {
    case RecordFate::kUnchanged:
      return "unchanged";
    case RecordFate::kStyleChanged:
      return "renumbered";
    case RecordFate::kDefaultStyle:
      return "defaultStyle";
    case RecordFate::kUserStyle:
      return "userStyle";
    case RecordFate::kMediaReference:
      return "mediaReference";
    case RecordFate::kLeftOutMedia:
      return "leftOutMedia";
    case RecordFate::kLeftOutNoDefault:
      return "leftOutNoDefault";
    case RecordFate::kLeftOutNoStyle:
      return "leftOutNoStyle";
  }
  return "?";
}

// The fields of a line of the delimited text.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

}  // namespace

Json Text(std::string_view cp1252) { return Cp1252ToUtf8(cp1252); }

std::string JsonText(const Json& document) {
  return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

Json PlanFigures(const SavePlan& plan) {
  Json figures;
  figures["recordsRead"] = plan.recordsRead;
  figures["written"] = plan.written;
  figures["unchanged"] = plan.unchanged;
  figures["renumbered"] = plan.styleChanged;
  figures["givenDefaultStyle"] = plan.givenDefault;
  figures["userStyles"] = plan.userStyles;
  figures["mediaReferences"] = plan.mediaReferences;
  figures["leftOut"] = {{"total", plan.deleted + plan.unchecked + plan.dropped},
                        {"deleted", plan.deleted},
                        {"notChecked", plan.unchecked},
                        {"mediaTargetCannotKeep", plan.leftOutMedia},
                        {"needMissingDefaultStyle", plan.needsMissingDefault},
                        {"styleMissing", plan.leftOutNoStyle}};
  return figures;
}

Json ChangesJson(const std::vector<PlanChange>& changes) {
  Json list = Json::array();
  for (const PlanChange& change : changes) {
    Json item;
    item["record"] = change.record;
    item["song"] = Text(change.song);
    item["fate"] = FateName(change.fate);
    item["from"] = Text(change.from);
    if (change.why.empty()) {
      item["to"] = Text(change.to);
    } else {
      item["leftOut"] = Text(change.why);
    }
    list.push_back(std::move(item));
  }
  return list;
}

Json RowsJson(std::string_view delimitedText) {
  Json rows = Json::array();
  std::vector<std::string> header;
  for (std::size_t start = 0; start < delimitedText.size();) {
    std::size_t end = delimitedText.find("\r\n", start);
    if (end == std::string_view::npos) end = delimitedText.size();
    const std::vector<std::string_view> fields = Fields(delimitedText.substr(start, end - start));
    start = end + 2;
    if (header.empty()) {
      for (std::string_view name : fields) header.emplace_back(TrimBlanks(name));
      continue;
    }
    Json row;
    for (std::size_t i = 0; i < fields.size() && i < header.size(); ++i) {
      row[header[i]] = Text(fields[i]);
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace cadenzo::cli
