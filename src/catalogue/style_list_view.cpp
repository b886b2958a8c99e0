// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/style_list_view.h"

#include "charset/cp1252.h"
#include "textio/info_views.h"

namespace cadenzo {

std::string StyleListViewText(std::string_view model, const std::vector<StyleListEntry>& styles) {
  std::string text = "    " + UpperCp1252(std::string(model) + " Styles") + "\r\n";
  for (const StyleListEntry& style : styles) {
    text += TrimBlanks(style.name);
    text += "\r\n";
  }
  return text;
}

RtfDocument StyleListViewDocument(const std::string& text) {
  RtfDocument document = PlainTextDocument(text);
  AddParagraphIndents(document, kInfoIndentTwips, kInfoIndentTwips, 1);
  return document;
}

std::optional<RtfDocument> StyleListView(const AppState& state, Dialogs& dialogs) {
  if (state.TargetInstrument.empty()) {
    dialogs.Show("Please select a Target Instrument first");
    return std::nullopt;
  }
  return StyleListViewDocument(StyleListViewText(
      state.TargetInstrument, ReadStyleList(StyleFoldersOf(state), state.TargetInstrument)));
}

}  // namespace cadenzo
